#include "store/ProjectFile.h"

#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string_view>
#include <vector>

#include "Errors.h"
#include "store/Connection.h"
#include "store/ElementRows.h"

namespace fs = std::filesystem;

namespace torrenta {
namespace {

struct TableColumns {
    std::string_view table;
    std::vector<std::string_view> columns;
};

template <class Row>
TableColumns ElementColumns() {
    TableColumns table{TableInfo(ElementTable<Row>::kKind).table, {}};
    for (const auto& column : ElementTable<Row>::kColumns) {
        table.columns.push_back(column.name);
    }
    return table;
}

// What Open requires of a file before calling it a project; extra tables or
// columns are tolerated.
const std::vector<TableColumns>& RequiredTables() {
    static const std::vector<TableColumns> tables = {
        {"TblProjectInfo",
         {"ProjectName", "DesignEngineer", "ProjectManager", "DesignDate", "JobNumber",
          "IValueBasinName"}},
        {"TblNodeInfo", {"NodeName", "IntensityTable", "NodeX", "NodeY"}},
        ElementColumns<BasinRow>(),
        ElementColumns<SurfaceRow>(),
        ElementColumns<ChannelRow>(),
        {"TblResults",
         {"Ival_1", "Ival_2", "Ival_5", "Ival_10", "Ival_25", "Ival_50", "Ival_100", "Qpeak_1",
          "Qpeak_2", "Qpeak_5", "Qpeak_10", "Qpeak_25", "Qpeak_50", "Qpeak_100"}},
    };
    return tables;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

[[noreturn]] void NotAProject(const std::string& path, const std::string& reason) {
    throw ProjectFileError("\"" + path + "\" is not a Torrenta project: " + reason);
}

std::string UniqueSibling(const fs::path& target) {
    std::random_device random;
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    for (;;) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%06x.tmp", digits(random));
        fs::path candidate = target;
        candidate += suffix;
        if (!fs::exists(candidate)) {
            return candidate.string();
        }
    }
}

}  // namespace

std::string TemplatePath(const std::string& appFolder) {
    return (fs::path(appFolder) / "empty.mdb").string();
}

void NewProject(const std::string& appFolder, const std::string& projectPath) {
    const std::string source = TemplatePath(appFolder);
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) {
        throw ProjectFileError("Cannot create \"" + projectPath + "\": the project template \"" +
                               source + "\" is missing.");
    }
    const fs::path target(projectPath);
    if (fs::is_directory(target, ec)) {
        throw ProjectFileError("Cannot create \"" + projectPath + "\": it is a folder.");
    }
    // The rename below would replace a write-protected file all the same; the
    // protection is the owner's word that this project must not change.
    if (fs::exists(target, ec) && faccessat(AT_FDCWD, projectPath.c_str(), W_OK, AT_EACCESS) != 0) {
        throw ProjectFileError("Cannot create \"" + projectPath +
                               "\": a read-only file of that name is in the way.");
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) {
        throw ProjectFileError("Cannot create \"" + projectPath + "\": the folder \"" +
                               folder.string() + "\" does not exist.");
    }
    const std::string temporary = UniqueSibling(target);
    try {
        fs::copy_file(source, temporary, fs::copy_options::overwrite_existing);
        fs::permissions(temporary, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add);
        // A journal left beside an old file of this name would be rolled back
        // into the new project the first time it is opened.
        for (const char* leftover : {"-journal", "-wal", "-shm"}) {
            fs::remove(projectPath + leftover);
        }
        fs::rename(temporary, target);
    } catch (const fs::filesystem_error& e) {
        fs::remove(temporary, ec);
        throw ProjectFileError("Cannot create \"" + projectPath + "\": " + e.code().message() +
                               ".");
    }
}

void OpenProject(const std::string& projectPath) {
    Connection connection = OpenProjectConnection(projectPath);
    std::error_code ec;
    if (fs::file_size(projectPath, ec) == 0 && !ec) {
        // SQLite would take an empty file for an empty database.
        NotAProject(projectPath, "the file is empty.");
    }
    try {
        SQLite::Database& db = connection.Db();
        const int applicationId = db.execAndGet("PRAGMA application_id").getInt();
        if (applicationId != kProjectApplicationId) {
            NotAProject(projectPath, "it is a database of another program.");
        }
        for (const auto& required : RequiredTables()) {
            SQLite::Statement info(db,
                                   "PRAGMA table_info(" + QuoteIdentifier(required.table) + ")");
            std::set<std::string> present;
            while (info.executeStep()) {
                present.insert(Lower(info.getColumn(1).getString()));
            }
            if (present.empty()) {
                NotAProject(projectPath,
                            "the table " + std::string(required.table) + " is missing.");
            }
            for (const auto column : required.columns) {
                if (!present.count(Lower(column))) {
                    NotAProject(projectPath, "the table " + std::string(required.table) +
                                                 " has no column " + std::string(column) + ".");
                }
            }
        }
    } catch (const TorrentaError&) {
        throw;
    } catch (const std::exception& e) {
        NotAProject(projectPath, std::string(e.what()) + ".");
    }
}

void RequireWritableProject(const std::string& projectPath) {
    Connection connection = OpenProjectConnection(projectPath);
    // The engine falls back to reading when the file refuses writing; it knows
    // best, whatever the reason (permissions, a read-only medium).
    if (sqlite3_db_readonly(connection.Db().getHandle(), "main") == 1) {
        throw ProjectFileError("The project file \"" + projectPath +
                               "\" is read-only; Torrenta saves every change into the project, "
                               "so it needs a file it may write.");
    }
}

void CloseProject(const std::string& projectPath) {
    RunOn(OpenProjectConnection(projectPath), "Cannot remove the deleted elements",
          [](SQLite::Database& db) {
              SQLite::Transaction transaction(db);
              for (const char* table : {"TblBasinInfo", "TblChannelInfo", "TblSurfaceInfo"}) {
                  db.exec(std::string("DELETE FROM ") + table + " WHERE Deleted = 'True'");
              }
              transaction.commit();
          });
}

}  // namespace torrenta
