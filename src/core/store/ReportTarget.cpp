#include "store/ReportTarget.h"

#include <filesystem>
#include <fstream>
#include <string_view>

#include "Errors.h"

namespace fs = std::filesystem;

namespace torrenta {
namespace {

// The first 16 bytes of every SQLite 3 database file.
constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

// Two names of one file: the same inode when both exist, otherwise the same
// place once links and "." or ".." are resolved.
bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec) && !ec) {
        return true;
    }
    const fs::path resolvedA = fs::weakly_canonical(a, ec);
    if (ec) {
        return false;
    }
    const fs::path resolvedB = fs::weakly_canonical(b, ec);
    return !ec && resolvedA == resolvedB;
}

// Only a regular file is opened: reading a FIFO would wait for a writer.
bool IsSqliteDatabase(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    char header[kSqliteHeader.size()] = {};
    in.read(header, sizeof header);
    return in.gcount() == static_cast<std::streamsize>(sizeof header) &&
           std::string_view(header, sizeof header) == kSqliteHeader;
}

}  // namespace

std::string ReportTargetRefusal(const std::string& target, const std::string& projectPath,
                                const std::string& appFolder) {
    const std::string refused = "The report is not saved as \"" + target + "\": ";
    const fs::path file(target);
    if (!projectPath.empty() && SameFile(file, projectPath)) {
        return refused + "it is the project being solved.";
    }
    if (!appFolder.empty()) {
        if (SameFile(file, fs::path(appFolder) / "intensity.mdb")) {
            return refused + "it is the intensity database of the application folder.";
        }
        if (SameFile(file, fs::path(appFolder) / "empty.mdb")) {
            return refused + "it is the project template of the application folder.";
        }
    }
    if (IsSqliteDatabase(file)) {
        return refused + "it is a database (a project or an intensity database).";
    }
    return "";
}

void RequireReportTarget(const std::string& target, const std::string& projectPath,
                         const std::string& appFolder) {
    const std::string refusal = ReportTargetRefusal(target, projectPath, appFolder);
    if (!refusal.empty()) {
        throw InputError(refusal);
    }
}

}  // namespace torrenta
