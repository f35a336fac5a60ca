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

// A drainage network of `points` design points in a binary tree (point i
// drains to point i / 2, the first to the outlet) and `elements` elements
// shared out among them, each point's own in a chain of overland area,
// shallow reach and channel, repeated, the last draining to the point. Made
// in `folder` beside the project's own copy of the databases; returns its
// path. The element limits of the program do not apply to it.
// With `pipes`, each point drains through a pipe (1 %, 200 ft, sized) instead.
std::string MakeNetworkProject(const BenchProject& project, int points, int elements,
                               bool pipes = false);

}  // namespace torrenta::bench
