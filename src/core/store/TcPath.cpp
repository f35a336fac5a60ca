#include "store/TcPath.h"

#include "store/TagList.h"

namespace torrenta {

std::set<std::string> ReadOffTcPath(const std::string& projectPath) {
    return ReadTagList(projectPath, kOffTcPathTable, "Cannot read the project's Tc flow path");
}

void SetOnTcPath(const std::string& projectPath, const std::string& tag, bool onPath) {
    SetTagListed(projectPath, kOffTcPathTable, tag, !onPath,
                 "Cannot save the element's Tc flow path");
}

void PurgeOffTcPath(SQLite::Database& db) {
    PurgeTagList(db, kOffTcPathTable);
}

}  // namespace torrenta
