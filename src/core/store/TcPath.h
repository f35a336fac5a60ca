#pragma once

#include <set>
#include <string>
#include <string_view>

namespace SQLite {
class Database;
}

namespace torrenta {

// Every element is on the Tc flow path until the user takes it off. The tags
// taken off are listed in a table of their own (a tag list), created only
// when the first element leaves the path.
inline constexpr std::string_view kOffTcPathTable = "TblOffTcPath";

// The tags of the elements off the path (deleted ones included); empty when
// the project has no such table.
std::set<std::string> ReadOffTcPath(const std::string& projectPath);

// Puts the element with this tag on the path or takes it off. Putting an
// element on the path only removes its entry, so it never creates the table.
void SetOnTcPath(const std::string& projectPath, const std::string& tag, bool onPath);

// Drops the entries whose element is no longer in any element table (after
// the deleted rows are removed), so a later element given the same tag starts
// on the path.
void PurgeOffTcPath(SQLite::Database& db);

}  // namespace torrenta
