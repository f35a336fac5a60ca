#pragma once

#include <set>
#include <string>
#include <string_view>

#include "store/ElementRows.h"

namespace SQLite {
class Database;
}

namespace torrenta {

// An overland Tc the engineer typed is the engineer's own figure: no table
// change or recalculation replaces it. The tags of such areas are kept in a
// table of their own, created when the first Tc is typed.
inline constexpr std::string_view kTypedTcTable = "TblTypedTc";

// The tags of the areas whose Tc was typed (deleted ones included).
std::set<std::string> ReadTypedTc(const std::string& projectPath);

// Records that the area's Tc was typed, or that it was calculated.
void SetTcTyped(const std::string& projectPath, const std::string& tag, bool typed);

// Drops the entries of elements no longer in the project.
void PurgeTypedTc(SQLite::Database& db);

// A Tc in the form Calculate writes ("#0.0000": digits, a point, four
// decimals); an empty text is not.
bool CalculatedForm(const std::string& tc);

// The area's Tc is the engineer's own: recorded as typed, or, in a file from
// before typed Tc were recorded, stored in another form than Calculate's
// ("30", "12.3").
bool IsTypedTc(const BasinRow& row, const std::set<std::string>& typedTags);

}  // namespace torrenta
