#include "store/ProjectFile.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>
#include <vector>

#include "Errors.h"
#include "store/Connection.h"
#include "store/DrainageStore.h"
#include "store/ElementRows.h"
#include "store/FileIdentity.h"
#include "store/TcPath.h"
#include "store/TypedTc.h"

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

[[noreturn]] void NotAProject(const std::string& path, const std::string& reason) {
    throw ProjectFileError("\"" + path + "\" is not a Torrenta project: " + reason);
}

// Hidden, so a file manager does not offer a project that is not made yet, and
// in the target's folder, so the last step is one atomic rename.
std::string UniqueSibling(const fs::path& target) {
    std::random_device random;
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    for (;;) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%06x.tmp", digits(random));
        const fs::path candidate =
            target.parent_path() / ("." + target.filename().string() + suffix);
        if (!fs::exists(candidate)) {
            return candidate.string();
        }
    }
}

[[noreturn]] void FileInTheWay(const std::string& projectPath) {
    throw FileExistsError("Cannot create \"" + projectPath +
                          "\": a file of that name already exists.");
}

// What File New refuses before copying anything.
void RequireNewProjectPossible(const std::string& appFolder, const std::string& projectPath,
                               ExistingFile existing) {
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
    // Not even --force replaces the shared databases or a database that holds
    // no project: one slip of a name would lose every intensity table.
    if (const std::string role = ApplicationDatabaseRole(target, appFolder); !role.empty()) {
        throw InputError("Cannot create \"" + projectPath + "\": it is " + role + ".");
    }
    if (IsSqliteButNotProject(target)) {
        throw InputError("Cannot create \"" + projectPath +
                         "\": it is a database that is not a project; choose another name.");
    }
    const bool present = fs::exists(fs::symlink_status(target, ec));
    // A link to nothing is neither a file in the way nor a read-only one.
    if (present && fs::is_symlink(fs::symlink_status(target, ec)) && !fs::exists(target, ec)) {
        throw InputError("Cannot create \"" + projectPath + "\": it is a symbolic link to \"" +
                         fs::read_symlink(target, ec).string() +
                         "\", which does not exist; remove the link or choose another name.");
    }
    // The rename below would replace a write-protected file all the same; the
    // protection is the owner's word that this project must not change.
    if (present && faccessat(AT_FDCWD, projectPath.c_str(), W_OK, AT_EACCESS) != 0) {
        throw ProjectFileError("Cannot create \"" + projectPath +
                               "\": a read-only file of that name is in the way.");
    }
    if (present && existing == ExistingFile::Keep) {
        FileInTheWay(projectPath);
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) {
        throw ProjectFileError("Cannot create \"" + projectPath + "\": the folder \"" +
                               folder.string() + "\" does not exist.");
    }
}

[[noreturn]] void CannotCreate(const std::string& projectPath, const std::error_code& code) {
    throw ProjectFileError("Cannot create \"" + projectPath + "\": " + code.message() + ".");
}

// A journal left beside an old file of this name would be rolled back into
// the new project the first time it is opened.
void RemoveLeftoverJournals(const std::string& projectPath) {
    for (const char* leftover : {"-journal", "-wal", "-shm"}) {
        fs::remove(projectPath + leftover);
    }
}

// Renames the draft to the project's name unless a file took that name since
// the checks; false then, and the draft stays.
bool PlaceDraftIfFree(const std::string& draftPath, const std::string& projectPath) {
    if (renameat2(AT_FDCWD, draftPath.c_str(), AT_FDCWD, projectPath.c_str(), RENAME_NOREPLACE) ==
        0) {
        return true;
    }
    const int reason = errno;
    if (reason == EEXIST) {
        return false;
    }
    if (reason != EINVAL && reason != ENOSYS && reason != ENOTSUP) {
        CannotCreate(projectPath, std::error_code(reason, std::generic_category()));
    }
    // A file system without that rename: a check, then the plain one.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(projectPath, ec))) {
        return false;
    }
    fs::rename(draftPath, projectPath, ec);
    if (ec) {
        CannotCreate(projectPath, ec);
    }
    return true;
}

}  // namespace

std::string TemplatePath(const std::string& appFolder) {
    return (fs::path(appFolder) / "empty.mdb").string();
}

void NewProject(const std::string& appFolder, const std::string& projectPath,
                ExistingFile existing) {
    RequireNewProjectPossible(appFolder, projectPath, existing);
    const std::string draft = NewProjectDraft(appFolder, projectPath);
    try {
        if (existing == ExistingFile::Replace) {
            CommitProjectDraft(draft, projectPath);
            return;
        }
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(projectPath, ec))) {
            RemoveLeftoverJournals(projectPath);
        }
        if (!PlaceDraftIfFree(draft, projectPath)) {
            FileInTheWay(projectPath);
        }
    } catch (const fs::filesystem_error& e) {
        DiscardProjectDraft(draft);
        CannotCreate(projectPath, e.code());
    } catch (...) {
        DiscardProjectDraft(draft);
        throw;
    }
}

std::string NewProjectDraft(const std::string& appFolder, const std::string& projectPath) {
    RequireNewProjectPossible(appFolder, projectPath, ExistingFile::Replace);
    const std::string draft = UniqueSibling(fs::path(projectPath));
    try {
        fs::copy_file(TemplatePath(appFolder), draft, fs::copy_options::overwrite_existing);
        fs::permissions(draft, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add);
    } catch (const fs::filesystem_error& e) {
        DiscardProjectDraft(draft);
        CannotCreate(projectPath, e.code());
    }
    return draft;
}

void CommitProjectDraft(const std::string& draftPath, const std::string& projectPath) {
    // The file may have been write-protected while the draft was set up.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(projectPath, ec)) &&
        faccessat(AT_FDCWD, projectPath.c_str(), W_OK, AT_EACCESS) != 0) {
        throw ProjectFileError("Cannot create \"" + projectPath +
                               "\": a read-only file of that name is in the way.");
    }
    try {
        RemoveLeftoverJournals(projectPath);
        fs::rename(draftPath, projectPath);
    } catch (const fs::filesystem_error& e) {
        CannotCreate(projectPath, e.code());
    }
}

void DiscardProjectDraft(const std::string& draftPath) noexcept {
    std::error_code ignored;
    fs::remove(draftPath, ignored);
    fs::remove(draftPath + "-journal", ignored);
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
            if (!TableExists(db, required.table)) {
                NotAProject(projectPath,
                            "the table " + std::string(required.table) + " is missing.");
            }
            for (const auto column : required.columns) {
                if (!ColumnExists(db, required.table, column)) {
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
              SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
              for (const char* table : {"TblBasinInfo", "TblChannelInfo", "TblSurfaceInfo"}) {
                  db.exec(std::string("DELETE FROM ") + table + " WHERE Deleted = 'True'");
              }
              PurgeOffTcPath(db);
              PurgeTypedTc(db);
              PurgeDrainage(db);
              transaction.commit();
          });
}

std::optional<ExistingProject> DescribeExistingProject(const std::string& path) {
    if (!IsSqliteDatabase(path)) {
        return std::nullopt;
    }
    try {
        SQLite::Database db(path, SQLite::OPEN_READONLY);
        if (!TableExists(db, "TblProjectInfo")) {
            return std::nullopt;
        }
        ExistingProject project;
        SQLite::Statement name(
            db, "SELECT ProjectName FROM TblProjectInfo ORDER BY rowid DESC LIMIT 1");
        if (name.executeStep()) {
            project.projectName = name.getColumn(0).getString();
        }
        for (const char* table : {"TblBasinInfo", "TblSurfaceInfo", "TblChannelInfo"}) {
            if (TableExists(db, table)) {
                project.elements += db.execAndGet(std::string("SELECT count(*) FROM ") + table +
                                                  " WHERE Deleted = 'False'")
                                        .getInt();
            }
        }
        return project;
    } catch (const SQLite::Exception&) {
        // A damaged project is still one: File New asks before replacing it.
        return ExistingProject{};
    }
}

}  // namespace torrenta
