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

struct SharedScope {
    int depth = 0;
    std::map<std::string, std::shared_ptr<SQLite::Database>> open;
};
thread_local SharedScope sharedScope;

std::shared_ptr<SQLite::Database> OpenDatabase(const std::string& file) {
    // Never OPEN_CREATE: a missing file must stay missing, not become an
    // empty database that later reads as "no such table".
    return std::make_shared<SQLite::Database>(file, SQLite::OPEN_READWRITE, kBusyTimeoutMs);
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
            db_ = OpenDatabase(file);
        } else {
            auto& shared = sharedScope.open[file];
            if (!shared) {
                shared = OpenDatabase(file);
            }
            db_ = shared;
        }
    } catch (const std::exception& e) {
        ThrowFor(target, "Cannot open " + Describe(target, file) + ": " + e.what());
    }
}

Connection::Connection(Connection&&) noexcept = default;
Connection& Connection::operator=(Connection&&) noexcept = default;
Connection::~Connection() = default;

SQLite::Database& Connection::Db() {
    if (!db_) {
        ThrowFor(target_, "The connection to " + Describe(target_, file_) + " is closed.");
    }
    return *db_;
}

void Connection::Close() {
    db_.reset();
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
