#pragma once

#include <string>

namespace torrenta::bench {

// The network every measurement runs on: 20 overland flow areas, 20 shallow
// concentrated flow reaches and 20 channel reaches draining to one node, made
// through the core exactly as the element dialogs would, in a temporary folder
// that also holds its own copies of the two databases. The folder goes with
// the object, unless TORRENTA_BENCH_KEEP is set (to profile on the same file).
class BenchProject {
  public:
    // `sourceAppFolder` holds the built empty.mdb and intensity.mdb.
    explicit BenchProject(const std::string& sourceAppFolder);
    ~BenchProject();
    BenchProject(const BenchProject&) = delete;
    BenchProject& operator=(const BenchProject&) = delete;

    const std::string& Folder() const { return folder_; }
    const std::string& AppFolder() const { return appFolder_; }
    const std::string& ProjectPath() const { return projectPath_; }
    const std::string& IntensityTable() const { return intensityTable_; }

  private:
    std::string folder_;
    std::string appFolder_;
    std::string projectPath_;
    std::string intensityTable_;
};

inline constexpr int kElementsPerKind = 20;

}  // namespace torrenta::bench
