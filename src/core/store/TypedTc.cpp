#include "store/TypedTc.h"

#include "store/TagList.h"

namespace torrenta {

std::set<std::string> ReadTypedTc(const std::string& projectPath) {
    return ReadTagList(projectPath, kTypedTcTable, "Cannot read which travel times were typed");
}

void SetTcTyped(const std::string& projectPath, const std::string& tag, bool typed) {
    SetTagListed(projectPath, kTypedTcTable, tag, typed,
                 "Cannot save whether the travel time was typed");
}

void PurgeTypedTc(SQLite::Database& db) {
    PurgeTagList(db, kTypedTcTable);
}

bool CalculatedForm(const std::string& tc) {
    const auto point = tc.find('.');
    return point != std::string::npos && point > 0 && tc.size() == point + 5 &&
           tc.find_first_not_of("0123456789", 0) == point &&
           tc.find_first_not_of("0123456789", point + 1) == std::string::npos;
}

bool IsTypedTc(const BasinRow& row, const std::set<std::string>& typedTags) {
    if (row.Tc.empty()) {
        return false;
    }
    return typedTags.count(row.BasinTag) > 0 || !CalculatedForm(row.Tc);
}

}  // namespace torrenta
