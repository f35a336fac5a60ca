#pragma once

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "Errors.h"

namespace torrenta {

// One database operation's connection: opened at the start of the operation and
// closed when the object goes out of scope, so nothing stays open between user
// actions and a failed operation never leaves a handle behind.
class CachedStatement;

class Connection {
  public:
    enum class Target { Project, Intensity };

    Connection(const std::string& file, Target target);
    Connection(Connection&&) noexcept;
    Connection& operator=(Connection&&) noexcept;
    ~Connection();

    SQLite::Database& Db();
    const std::string& File() const { return file_; }
    Target Kind() const { return target_; }

    // The statement for `sql`, prepared the first time this connection (or
    // the shared one it stands for) is asked for it and kept until it closes;
    // reset, its bindings cleared. Hold it only while reading its rows: a
    // second request for the same text resets it.
    CachedStatement Prepared(const std::string& sql);

    // Closes now rather than at the end of the scope.
    void Close();

    struct Handle;

  private:
    std::string file_;
    Target target_;
    std::shared_ptr<Handle> handle_;
};

// A statement lent by its connection; reset when it goes out of scope, so a
// read stopped after its first row does not keep the file's read lock for the
// rest of the operation.
class CachedStatement {
  public:
    explicit CachedStatement(SQLite::Statement& statement) : statement_(&statement) {}
    CachedStatement(CachedStatement&& other) noexcept
        : statement_(std::exchange(other.statement_, nullptr)) {}
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;
    CachedStatement& operator=(CachedStatement&&) = delete;
    ~CachedStatement() {
        if (statement_ != nullptr) {
            statement_->tryReset();
        }
    }

    SQLite::Statement* operator->() const { return statement_; }
    SQLite::Statement& operator*() const { return *statement_; }

  private:
    SQLite::Statement* statement_;
};

// While one is alive, the operations run on this thread share one connection
// per file instead of each opening its own: a command made of many reads
// (composing the report, a solve from the command line) reads each file's
// schema once. The connections close when the last scope ends.
class SharedConnections {
  public:
    SharedConnections();
    ~SharedConnections();
    SharedConnections(const SharedConnections&) = delete;
    SharedConnections& operator=(const SharedConnections&) = delete;
};

// One write transaction on a project (BEGIN IMMEDIATE): the operations run on
// this thread while it is alive share its connection, so what they read
// cannot change under them before their writes land. Another program writing
// the file waits its turn (the connection's busy timeout) instead of reading
// what this one is about to change. Rolled back unless committed.
class WriteTransaction {
  public:
    // `action` says what the transaction is for ("Cannot add the element to
    // the project") in the DatabaseError when the file stays locked.
    WriteTransaction(const std::string& projectPath, std::string_view action);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    void Commit();

  private:
    SharedConnections shared_;
    Connection connection_;
    std::string action_;
    bool open_ = false;
};

Connection OpenProjectConnection(const std::string& projectPath);
Connection OpenIntensityConnection(const std::string& appFolder);
inline void CloseConnection(Connection& connection) {
    connection.Close();
}

// The intensity database's path inside an application folder.
std::string IntensityDatabasePath(const std::string& appFolder);

// Identifiers that users choose (intensity table names) or that SQL would read
// as numbers (the columns "1" ... "100") always pass through here: double-quoted,
// inner quotes doubled, so no name can break or change a statement.
std::string QuoteIdentifier(std::string_view name);

// Turns an engine failure into the core's typed error for this connection's
// file, with `action` saying what was being done ("Cannot read the project").
[[noreturn]] void ThrowDatabaseError(const Connection& connection, std::string_view action,
                                     const std::exception& cause);

// Whether the schema holds a table (not a view) of that name, and that table
// a column of that name, both matched as SQLite matches names (ASCII case
// folded). Answered from the schema the connection has read, without a
// statement; an unreadable file is an engine error, not a missing table.
bool TableExists(SQLite::Database& db, std::string_view table);
bool ColumnExists(SQLite::Database& db, std::string_view table, std::string_view column);

// Runs one operation on a connection and closes it; engine failures become the
// core's typed errors, the core's own errors pass through unchanged. The work
// takes the connection itself when it reads through cached statements, its
// database otherwise.
template <class Work>
auto RunOn(Connection connection, std::string_view action, Work&& work) {
    try {
        if constexpr (std::is_invocable_v<Work&, Connection&>) {
            return work(connection);
        } else {
            return work(connection.Db());
        }
    } catch (const TorrentaError&) {
        throw;
    } catch (const std::exception& e) {
        ThrowDatabaseError(connection, action, e);
    }
}

}  // namespace torrenta
