#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrenta {

// The shared rainfall database intensity.mdb in the application folder: the
// catalogue table BasinName and one values table per catalogue name, with the
// rows ID 1..10 (ascending duration) and the columns Duration, "1" ... "100".

inline constexpr std::array<std::string_view, 10> kDurationTexts = {
    "0.083333", "0.166667", "0.25", "0.50", "1.0", "2.0", "3.0", "6.0", "12.0", "24.0"};
inline constexpr std::array<std::string_view, 10> kDurationLabels = {
    "5 min", "10 min", "15 min", "30 min", "1 hr", "2 hr", "3 hr", "6 hr", "12 hr", "24 hr"};
inline constexpr std::string_view kDefaultIntensityTable = "Atlanta";

// Ten rows by seven return periods, cells as the text stored (or typed).
using IntensityGrid = std::array<std::array<std::string, 7>, 10>;

// One stored row as the solver reads it: the duration text and seven cells.
struct IntensityRow {
    std::string duration;
    std::array<std::string, 7> values;
};

// Catalogue names in insertion order.
std::vector<std::string> ListIntensityTables(const std::string& appFolder);

// True when the catalogue holds the name (compared without regard to case).
bool IntensityTableExists(const std::string& appFolder, std::string_view name);

// True when the two names find the same table: compared the way SQLite
// resolves table names, ASCII letters without regard to case.
bool SameIntensityTableName(std::string_view a, std::string_view b);

// The catalogue's own spelling of a name (the name itself when not listed), so
// a table typed in another case is named as stored.
std::string StoredIntensityTableName(const std::string& appFolder, std::string_view name);

// The catalogue's Source text for a table ("" when none is recorded).
std::string IntensityTableSource(const std::string& appFolder, std::string_view name);

// The first ten rows of a values table for the editor; IntensityError when the
// table is missing or has fewer than ten rows.
IntensityGrid ReadIntensityGrid(const std::string& appFolder, std::string_view name);

// Every row of a values table in ascending ID; IntensityError when the name is
// empty or the table or one of its columns is missing.
std::vector<IntensityRow> ReadIntensityRows(const std::string& appFolder, std::string_view name);

// The 2-year intensity of the row whose Duration is "24.0", as a number.
// IntensityError when the name is empty, the table, the row or the cell is
// missing, or the cell holds no positive number.
double TwoYear24HourIntensity(const std::string& appFolder, std::string_view name);
// The same from rows already read from the table `name`, so a solve reads the
// table once.
double TwoYear24HourIntensity(const std::vector<IntensityRow>& rows, std::string_view name);

// True when saving `grid` under `name` changes the stored 2-year 24-hour
// intensity (compared as numbers), or when there is no readable stored value
// to compare with: the sheet-flow travel times that rest on it are then due.
bool TwoYear24HourChanges(const std::string& appFolder, std::string_view name,
                          const IntensityGrid& grid);

// The Source a table saved from the editor carries. `source` is the Source
// shown; `described` the cells it was shown with (the stored table, an import,
// an equation), none after Add New Basin, where every cell is typed. When the
// saved cells differ from those, "Edited by hand on <isoDate>." is added after
// a "; ", the Source staying one line of text, and not a second time for the
// same day.
std::string SourceForSavedCells(std::string_view source,
                                const std::optional<IntensityGrid>& described,
                                const IntensityGrid& saved, std::string_view isoDate);

// Refuses (InputError) a name no table can carry: empty or blank, not one
// line of UTF-8 text (a TAB, a line break, another control character),
// "BasinName" in any case, or one that starts with "sqlite_".
void ValidateIntensityTableName(std::string_view name);

enum class SaveOutcome { Created, Updated };

// What a save does with a name the catalogue already holds: Update rewrites the
// values and, when a Source is given, the Source too; Replace rewrites both
// (an empty Source clears it); Refuse stops with IntensityError.
enum class ExistingTable { Update, Replace, Refuse };

// The editor's Update: a name not in the catalogue gets a catalogue row, its
// table and ten rows; a name already there gets its ten rows' values rewritten
// (Duration untouched). Either all of it happens or none (one transaction).
SaveOutcome SaveIntensityTable(const std::string& appFolder, std::string_view name,
                               const IntensityGrid& grid, std::string_view source = {},
                               ExistingTable existing = ExistingTable::Update);

}  // namespace torrenta
