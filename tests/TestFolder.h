#pragma once

#include <filesystem>
#include <random>
#include <string>

#include "store/ProjectFile.h"

namespace torrenta::test {

// A scratch folder seeded with copies of the built empty.mdb and intensity.mdb,
// removed again when the test ends; tests never touch the built files.
class TestFolder {
  public:
    TestFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("torrenta-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
        for (const char* file : {"empty.mdb", "intensity.mdb"}) {
            std::filesystem::copy_file(std::filesystem::path(TORRENTA_TEST_APP_FOLDER) / file,
                                       path_ / file);
        }
    }
    ~TestFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // The application folder: holds the two databases.
    std::string AppFolder() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

    // A new project made from the template, not yet set up.
    std::string NewProjectFile(const std::string& name = "project.rmt") const {
        const std::string project = File(name);
        NewProject(AppFolder(), project);
        return project;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace torrenta::test
