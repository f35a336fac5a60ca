#pragma once

#include <set>
#include <string>
#include <string_view>

namespace SQLite {
class Database;
}

namespace torrenta {

// A fact kept about some elements (off the Tc flow path, a typed Tc) is a
// table of their tags, created only when the first tag is listed: the element
// tables keep their columns, a project that never used the fact keeps its
// bytes, and an older program opening the file passes over a table it does
// not know. `failure` starts the message of a DatabaseError.

// The tags listed (deleted elements' included); empty when there is no table.
std::set<std::string> ReadTagList(const std::string& projectPath, std::string_view table,
                                  const std::string& failure);

// Lists the tag or takes it off. Taking a tag off never creates the table.
void SetTagListed(const std::string& projectPath, std::string_view table, const std::string& tag,
                  bool listed, const std::string& failure);

// Drops the tags whose element is no longer in any element table (after the
// deleted rows are removed), so a later element given the same tag starts
// without the fact.
void PurgeTagList(SQLite::Database& db, std::string_view table);

}  // namespace torrenta
