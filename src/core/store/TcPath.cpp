#include "store/TcPath.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "store/Connection.h"

namespace torrenta {
namespace {

std::string Table() {
    return QuoteIdentifier(kOffTcPathTable);
}

bool HasTable(SQLite::Database& db) {
    return db.tableExists(std::string(kOffTcPathTable));
}

}  // namespace

std::set<std::string> ReadOffTcPath(const std::string& projectPath) {
    return RunOn(OpenProjectConnection(projectPath), "Cannot read the project's Tc flow path",
                 [](SQLite::Database& db) {
                     std::set<std::string> tags;
                     if (!HasTable(db)) {
                         return tags;
                     }
                     SQLite::Statement query(db, "SELECT Tag FROM " + Table());
                     while (query.executeStep()) {
                         tags.insert(query.getColumn(0).getString());
                     }
                     return tags;
                 });
}

void SetOnTcPath(const std::string& projectPath, const std::string& tag, bool onPath) {
    RunOn(OpenProjectConnection(projectPath), "Cannot save the element's Tc flow path",
          [&](SQLite::Database& db) {
              if (!onPath) {
                  db.exec("CREATE TABLE IF NOT EXISTS " + Table() + " (Tag TEXT)");
              } else if (!HasTable(db)) {
                  return;
              }
              SQLite::Statement remove(db, "DELETE FROM " + Table() + " WHERE Tag = ?");
              remove.bind(1, tag);
              remove.exec();
              if (!onPath) {
                  SQLite::Statement insert(db, "INSERT INTO " + Table() + " (Tag) VALUES (?)");
                  insert.bind(1, tag);
                  insert.exec();
              }
          });
}

void PurgeOffTcPath(SQLite::Database& db) {
    if (!HasTable(db)) {
        return;
    }
    db.exec("DELETE FROM " + Table() +
            " WHERE Tag NOT IN (SELECT BasinTag FROM TblBasinInfo WHERE BasinTag IS NOT NULL "
            "UNION SELECT SurfTag FROM TblSurfaceInfo WHERE SurfTag IS NOT NULL "
            "UNION SELECT ChannelTag FROM TblChannelInfo WHERE ChannelTag IS NOT NULL)");
}

}  // namespace torrenta
