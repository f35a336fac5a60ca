#include "store/FileIdentity.h"

#include <SQLiteCpp/Database.h>

#include <fstream>
#include <string_view>

#include "store/Connection.h"

namespace fs = std::filesystem;

namespace torrenta {
namespace {

// The first 16 bytes of every SQLite 3 database file.
constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

}  // namespace

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

std::string ApplicationDatabaseRole(const fs::path& file, const std::string& appFolder) {
    if (appFolder.empty()) {
        return "";
    }
    if (SameFile(file, fs::path(appFolder) / "intensity.mdb")) {
        return "the intensity database of the application folder";
    }
    if (SameFile(file, fs::path(appFolder) / "empty.mdb")) {
        return "the project template of the application folder";
    }
    return "";
}

bool IsSqliteButNotProject(const fs::path& file) {
    if (!IsSqliteDatabase(file)) {
        return false;
    }
    try {
        SQLite::Database db(file.string(), SQLite::OPEN_READONLY);
        return !TableExists(db, "TblProjectInfo");
    } catch (const SQLite::Exception&) {
        return true;
    }
}

}  // namespace torrenta
