#include "store/TagList.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "store/Connection.h"

namespace torrenta {

std::set<std::string> ReadTagList(const std::string& projectPath, std::string_view table,
                                  const std::string& failure) {
    return RunOn(OpenProjectConnection(projectPath), failure, [&](Connection& open) {
        std::set<std::string> tags;
        if (!TableExists(open.Db(), table)) {
            return tags;
        }
        CachedStatement query = open.Prepared("SELECT Tag FROM " + QuoteIdentifier(table));
        while (query->executeStep()) {
            tags.insert(query->getColumn(0).getString());
        }
        return tags;
    });
}

void SetTagListed(const std::string& projectPath, std::string_view table, const std::string& tag,
                  bool listed, const std::string& failure) {
    RunOn(OpenProjectConnection(projectPath), failure, [&](SQLite::Database& db) {
        const std::string quoted = QuoteIdentifier(table);
        if (listed) {
            db.exec("CREATE TABLE IF NOT EXISTS " + quoted + " (Tag TEXT)");
        } else if (!TableExists(db, table)) {
            return;
        }
        SQLite::Statement remove(db, "DELETE FROM " + quoted + " WHERE Tag = ?");
        remove.bind(1, tag);
        remove.exec();
        if (listed) {
            SQLite::Statement insert(db, "INSERT INTO " + quoted + " (Tag) VALUES (?)");
            insert.bind(1, tag);
            insert.exec();
        }
    });
}

void PurgeTagList(SQLite::Database& db, std::string_view table) {
    if (!TableExists(db, table)) {
        return;
    }
    db.exec("DELETE FROM " + QuoteIdentifier(table) +
            " WHERE Tag NOT IN (SELECT BasinTag FROM TblBasinInfo WHERE BasinTag IS NOT NULL "
            "UNION SELECT SurfTag FROM TblSurfaceInfo WHERE SurfTag IS NOT NULL "
            "UNION SELECT ChannelTag FROM TblChannelInfo WHERE ChannelTag IS NOT NULL)");
}

}  // namespace torrenta
