#include "store/Connection.h"

#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <utility>

#include "Errors.h"

namespace torrenta {
namespace {

constexpr int kBusyTimeoutMs = 5000;

}  // namespace

struct Connection::Handle {
    // Never OPEN_CREATE: a missing file must stay missing, not become an
    // empty database that later reads as "no such table".
    explicit Handle(const std::string& file) : db(file, SQLite::OPEN_READWRITE, kBusyTimeoutMs) {}

    SQLite::Database db;
    // Declared after the database, so finalized before it closes.
    std::map<std::string, std::unique_ptr<SQLite::Statement>, std::less<>> statements;
};

namespace {

struct SharedScope {
    int depth = 0;
    std::map<std::string, std::shared_ptr<Connection::Handle>> open;
};
thread_local SharedScope sharedScope;

std::shared_ptr<Connection::Handle> OpenDatabase(const std::string& file) {
    return std::make_shared<Connection::Handle>(file);
}

// The metadata lookup answers SQLITE_ERROR for a name it does not find; any
// other failure (a damaged file, a lock) is the engine's own.
bool Found(SQLite::Database& db, int result) {
    if (result == SQLITE_OK) {
        return true;
    }
    if (result != SQLITE_ERROR) {
        throw SQLite::Exception(db.getHandle(), result);
    }
    return false;
}

[[noreturn]] void ThrowFor(Connection::Target target, const std::string& message) {
    if (target == Connection::Target::Intensity) {
        throw IntensityError(message);
    }
    throw ProjectFileError(message);
}

std::string Describe(Connection::Target target, const std::string& file) {
    return (target == Connection::Target::Intensity ? "the intensity database \""
                                                    : "the project file \"") +
           file + "\"";
}

}  // namespace

Connection::Connection(const std::string& file, Target target) : file_(file), target_(target) {
    // A file already open in this scope was looked at when it was opened.
    if (sharedScope.depth > 0) {
        if (const auto open = sharedScope.open.find(file); open != sharedScope.open.end()) {
            handle_ = open->second;
            return;
        }
    }
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (ec || !std::filesystem::exists(status)) {
        ThrowFor(target, "Cannot open " + Describe(target, file) + ": the file does not exist.");
    }
    if (std::filesystem::is_directory(status)) {
        ThrowFor(target, "Cannot open " + Describe(target, file) + ": it is a folder, not a file.");
    }
    try {
        if (sharedScope.depth == 0) {
            handle_ = OpenDatabase(file);
        } else {
            auto& shared = sharedScope.open[file];
            if (!shared) {
                shared = OpenDatabase(file);
            }
            handle_ = shared;
        }
    } catch (const std::exception& e) {
        ThrowFor(target, "Cannot open " + Describe(target, file) + ": " + e.what());
    }
}

Connection::Connection(Connection&&) noexcept = default;
Connection& Connection::operator=(Connection&&) noexcept = default;
Connection::~Connection() = default;

SQLite::Database& Connection::Db() {
    if (!handle_) {
        ThrowFor(target_, "The connection to " + Describe(target_, file_) + " is closed.");
    }
    return handle_->db;
}

CachedStatement Connection::Prepared(const std::string& sql) {
    SQLite::Database& db = Db();
    auto found = handle_->statements.find(sql);
    if (found == handle_->statements.end()) {
        found =
            handle_->statements.emplace(sql, std::make_unique<SQLite::Statement>(db, sql)).first;
    } else {
        found->second->tryReset();
        found->second->clearBindings();
    }
    return CachedStatement(*found->second);
}

void Connection::Close() {
    handle_.reset();
}

bool TableExists(SQLite::Database& db, std::string_view table) {
    const std::string name(table);
    return Found(db, sqlite3_table_column_metadata(db.getHandle(), "main", name.c_str(), nullptr,
                                                   nullptr, nullptr, nullptr, nullptr, nullptr));
}

bool ColumnExists(SQLite::Database& db, std::string_view table, std::string_view column) {
    const std::string tableName(table);
    const std::string columnName(column);
    return Found(db, sqlite3_table_column_metadata(db.getHandle(), "main", tableName.c_str(),
                                                   columnName.c_str(), nullptr, nullptr, nullptr,
                                                   nullptr, nullptr));
}

SharedConnections::SharedConnections() {
    ++sharedScope.depth;
}

SharedConnections::~SharedConnections() {
    if (--sharedScope.depth == 0) {
        sharedScope.open.clear();
    }
}

WriteTransaction::WriteTransaction(const std::string& projectPath, std::string_view action)
    : connection_(OpenProjectConnection(projectPath)), action_(action) {
    try {
        connection_.Db().exec("BEGIN IMMEDIATE");
    } catch (const TorrentaError&) {
        throw;
    } catch (const std::exception& e) {
        ThrowDatabaseError(connection_, action_, e);
    }
    open_ = true;
}

WriteTransaction::~WriteTransaction() {
    if (!open_) {
        return;
    }
    try {
        connection_.Db().exec("ROLLBACK");
    } catch (const std::exception&) {
        // The engine has rolled back already when a statement failed badly
        // enough to end the transaction; the connection closes either way.
    }
}

void WriteTransaction::Commit() {
    try {
        connection_.Db().exec("COMMIT");
    } catch (const TorrentaError&) {
        throw;
    } catch (const std::exception& e) {
        ThrowDatabaseError(connection_, action_, e);
    }
    open_ = false;
}

Connection OpenProjectConnection(const std::string& projectPath) {
    return Connection(projectPath, Connection::Target::Project);
}

std::string IntensityDatabasePath(const std::string& appFolder) {
    return (std::filesystem::path(appFolder) / "intensity.mdb").string();
}

Connection OpenIntensityConnection(const std::string& appFolder) {
    return Connection(IntensityDatabasePath(appFolder), Connection::Target::Intensity);
}

std::string QuoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

void ThrowDatabaseError(const Connection& connection, std::string_view action,
                        const std::exception& cause) {
    std::string message = std::string(action) + " (" +
                          Describe(connection.Kind(), connection.File()) + "): " + cause.what();
    // The lock outlasted the wait: say why, not only what SQLite calls it.
    const auto* engine = dynamic_cast<const SQLite::Exception*>(&cause);
    if (engine != nullptr && (engine->getErrorCode() & 0xFF) == SQLITE_BUSY) {
        message += "; another program is using the file: try again once it has finished";
    }
    if (connection.Kind() == Connection::Target::Intensity) {
        throw IntensityError(message);
    }
    throw DatabaseError(message);
}

}  // namespace torrenta
