#pragma once

#include <SQLiteCpp/Database.h>

#include <memory>
#include <string>
#include <string_view>

#include "Errors.h"

namespace torrenta {

// One database operation's connection: opened at the start of the operation and
// closed when the object goes out of scope, so nothing stays open between user
// actions and a failed operation never leaves a handle behind.
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

    // Closes now rather than at the end of the scope.
    void Close();

  private:
    std::string file_;
    Target target_;
    std::shared_ptr<SQLite::Database> db_;
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

// Runs one operation on a connection and closes it; engine failures become the
// core's typed errors, the core's own errors pass through unchanged.
template <class Work>
auto RunOn(Connection connection, std::string_view action, Work&& work)
    -> decltype(work(connection.Db())) {
    try {
        return work(connection.Db());
    } catch (const TorrentaError&) {
        throw;
    } catch (const std::exception& e) {
        ThrowDatabaseError(connection, action, e);
    }
}

}  // namespace torrenta
