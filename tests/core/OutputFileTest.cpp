#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "BadInputSupport.h"
#include "Errors.h"
#include "TestFolder.h"
#include "store/OutputFile.h"

namespace fs = std::filesystem;

namespace torrenta {
namespace {

using test::TestFolder;

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

struct WriteCase {
    const char* label;
    const char* name;                                   // in the test folder
    std::function<bool(const fs::path& file)> arrange;  // false: cannot be arranged here
    const char* reason;  // after "Cannot write "FILE": ", or "" when written
    unsigned mode;       // the file's permissions afterwards
    bool asOrdinaryUser;
};

bool Nothing(const fs::path&) {
    return true;
}

bool OldFile(const fs::path& file, fs::perms perms) {
    test::WriteFileBytes(file, "old");
    fs::permissions(file, perms);
    return true;
}

// A written file is complete and carries the permissions a new file of the
// user's gets, or those of the file it replaces; a refused or failed write
// leaves the old file and no temporary file behind.
TEST(OutputFile, WritesWholeFilesWithTheirPermissionsOrNothing) {
    const WriteCase cases[] = {
        {"a new file", "report.rtf", Nothing, "", 0644, false},
        {"a file of mode 0640", "report.rtf",
         [](const fs::path& file) {
             return OldFile(file,
                            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         },
         "", 0640, false},
        {"a read-only file", "report.rtf",
         [](const fs::path& file) {
             test::WriteFileBytes(file, "old");
             return test::MakeReadOnly(file);
         },
         "Permission denied.", 0444, true},
        {"a folder", "report.rtf", [](const fs::path& file) { return fs::create_directory(file); },
         "Is a directory.", 0755, false},
        {"a name in a missing folder", "missing/report.rtf", Nothing, "No such file or directory.",
         0, false},
        {"a loop of links", "report.rtf",
         [](const fs::path& file) {
             fs::create_symlink("loop-b", file);
             fs::create_symlink(file.filename(), file.parent_path() / "loop-b");
             return true;
         },
         "Too many levels of symbolic links.", 0, false},
    };
    const mode_t umaskBefore = umask(022);
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.label);
        TestFolder folder;
        const fs::path file = folder.File(c.name);
        if (!c.arrange(file)) {
            continue;
        }
        std::set<std::string> before = Entries(folder.AppFolder());
        before.erase("report.rtf");
        std::string message;
        {
            std::optional<test::ActingAsOrdinaryUser> user;
            if (c.asOrdinaryUser && !user.emplace().Active()) {
                continue;
            }
            try {
                WriteOutputFile(file.string(), "{\\rtf1 new}");
            } catch (const InputError& e) {
                message = e.what();
            }
        }
        if (std::string(c.reason).empty()) {
            EXPECT_EQ(message, "");
            EXPECT_EQ(test::ReadFileBytes(file), "{\\rtf1 new}");
        } else {
            EXPECT_EQ(message, "Cannot write \"" + file.string() + "\": " + c.reason);
        }
        if (c.mode != 0) {
            struct stat info {};
            ASSERT_EQ(stat(file.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, c.mode);
        }
        std::set<std::string> after = Entries(folder.AppFolder());
        after.erase("report.rtf");
        EXPECT_TRUE(after == before);
    }
    umask(umaskBefore);
}

}  // namespace
}  // namespace torrenta
