#include "intensity/IntensityDatabase.h"

#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "store/Connection.h"
#include "text/NameText.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

constexpr std::string_view kCatalogueTable = "BasinName";
constexpr std::string_view kTwentyFourHourDuration = "24.0";

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string ColumnText(const SQLite::Column& column) {
    return column.isNull() ? std::string() : column.getString();
}

// The seven return-period column names, "1" ... "100".
std::array<std::string, 7> PeriodColumns() {
    std::array<std::string, 7> columns;
    for (std::size_t k = 0; k < kReturnPeriods.size(); ++k) {
        columns[k] = std::to_string(kReturnPeriods[k]);
    }
    return columns;
}

// `"Duration", "1", ..., "100"` for SELECT and INSERT lists.
std::string ValueColumnList() {
    std::string list = QuoteIdentifier("Duration");
    for (const auto& column : PeriodColumns()) {
        list += ", " + QuoteIdentifier(column);
    }
    return list;
}

// Values tables and their columns are looked up the way SQLite resolves
// names (ASCII case folded), so a name typed in another case finds the same
// table.
bool ValuesTableExists(SQLite::Database& db, std::string_view name) {
    return TableExists(db, name);
}

bool HasColumn(SQLite::Database& db, std::string_view table, std::string_view column) {
    return ColumnExists(db, table, column);
}

// The catalogue's own spelling of a name, when the catalogue lists it.
std::optional<std::string> CatalogueName(SQLite::Database& db, std::string_view name) {
    SQLite::Statement query(db,
                            "SELECT BasinName FROM BasinName WHERE BasinName = ? COLLATE NOCASE "
                            "ORDER BY rowid LIMIT 1");
    query.bind(1, std::string(name));
    if (!query.executeStep()) {
        return std::nullopt;
    }
    return ColumnText(query.getColumn(0));
}

void RequireChosen(std::string_view name) {
    if (name.empty()) {
        throw IntensityError("No intensity table is chosen for this project.");
    }
}

void RequireValuesTable(SQLite::Database& db, std::string_view name) {
    if (!ValuesTableExists(db, name)) {
        throw IntensityError("The intensity table " + Quoted(name) +
                             " does not exist in the intensity database.");
    }
}

// Reading by column name would otherwise fail with the engine's bare "no such
// column"; the engineer needs to know which return period is missing.
void RequireValueColumns(SQLite::Database& db, std::string_view name) {
    if (!HasColumn(db, name, "Duration")) {
        throw IntensityError("The intensity table " + Quoted(name) + " has no Duration column.");
    }
    for (const auto& column : PeriodColumns()) {
        if (!HasColumn(db, name, column)) {
            throw IntensityError("The intensity table " + Quoted(name) + " has no column for the " +
                                 column + "-year return period.");
        }
    }
}

std::vector<IntensityRow> ReadRows(Connection& connection, std::string_view name,
                                   std::optional<int> limit) {
    std::string sql =
        "SELECT " + ValueColumnList() + " FROM " + QuoteIdentifier(name) + " ORDER BY rowid";
    if (limit) {
        sql += " LIMIT " + std::to_string(*limit);
    }
    CachedStatement query = connection.Prepared(sql);
    std::vector<IntensityRow> rows;
    rows.reserve(kDurationTexts.size());
    while (query->executeStep()) {
        IntensityRow row;
        row.duration = ColumnText(query->getColumn(0));
        for (std::size_t k = 0; k < row.values.size(); ++k) {
            row.values[k] = ColumnText(query->getColumn(static_cast<int>(k + 1)));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// Every read of a values table checks it first, so a missing table or
// return period is named rather than reported as the engine's "no such".
std::vector<IntensityRow> ReadCheckedRows(Connection& connection, std::string_view name,
                                          std::optional<int> limit) {
    RequireValuesTable(connection.Db(), name);
    RequireValueColumns(connection.Db(), name);
    return ReadRows(connection, name, limit);
}

SaveOutcome CreateTable(SQLite::Database& db, std::string_view name, const IntensityGrid& grid,
                        std::string_view source) {
    if (ValuesTableExists(db, name)) {
        throw IntensityError("The intensity database already holds a table named " + Quoted(name) +
                             " that is not in its list of intensity tables; choose another name.");
    }
    // Databases made elsewhere may carry a catalogue without Source; the name
    // alone is enough to list the table.
    if (HasColumn(db, kCatalogueTable, "Source")) {
        SQLite::Statement insert(db, "INSERT INTO BasinName (BasinName, Source) VALUES (?, ?)");
        insert.bind(1, std::string(name));
        if (source.empty()) {
            insert.bind(2);
        } else {
            insert.bind(2, std::string(source));
        }
        insert.exec();
    } else {
        SQLite::Statement insert(db, "INSERT INTO BasinName (BasinName) VALUES (?)");
        insert.bind(1, std::string(name));
        insert.exec();
    }

    std::string create =
        "CREATE TABLE " + QuoteIdentifier(name) + " (ID INTEGER PRIMARY KEY, Duration TEXT NULL";
    for (const auto& column : PeriodColumns()) {
        create += ", " + QuoteIdentifier(column) + " TEXT NULL";
    }
    db.exec(create + ")");

    SQLite::Statement insert(db, "INSERT INTO " + QuoteIdentifier(name) + " (ID, " +
                                     ValueColumnList() + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < grid.size(); ++i) {
        insert.reset();
        insert.bind(1, static_cast<int>(i + 1));
        insert.bind(2, std::string(kDurationTexts[i]));
        for (std::size_t k = 0; k < grid[i].size(); ++k) {
            insert.bind(static_cast<int>(k + 3), grid[i][k]);
        }
        insert.exec();
    }
    return SaveOutcome::Created;
}

// The Source follows the values it describes; a catalogue without the column
// has nowhere to keep it.
void WriteSource(SQLite::Database& db, const std::string& storedName, std::string_view source) {
    if (!HasColumn(db, kCatalogueTable, "Source")) {
        return;
    }
    SQLite::Statement update(db, "UPDATE BasinName SET Source = ? WHERE BasinName = ?");
    if (source.empty()) {
        update.bind(1);
    } else {
        update.bind(1, std::string(source));
    }
    update.bind(2, storedName);
    update.exec();
}

SaveOutcome UpdateTable(SQLite::Database& db, const std::string& storedName,
                        const IntensityGrid& grid) {
    if (!ValuesTableExists(db, storedName)) {
        throw IntensityError("The intensity table " + Quoted(storedName) +
                             " is listed in the intensity database but its values table is "
                             "missing; its values were not saved.");
    }
    std::string sql = "UPDATE " + QuoteIdentifier(storedName) + " SET ";
    const auto columns = PeriodColumns();
    for (std::size_t k = 0; k < columns.size(); ++k) {
        sql += (k == 0 ? "" : ", ") + QuoteIdentifier(columns[k]) + " = ?";
    }
    sql += " WHERE ID = ?";
    SQLite::Statement update(db, sql);
    for (std::size_t i = 0; i < grid.size(); ++i) {
        update.reset();
        for (std::size_t k = 0; k < grid[i].size(); ++k) {
            update.bind(static_cast<int>(k + 1), grid[i][k]);
        }
        update.bind(static_cast<int>(columns.size() + 1), static_cast<int>(i + 1));
        // A missing row would silently drop the values typed for it.
        if (update.exec() == 0) {
            throw IntensityError("The intensity table " + Quoted(storedName) + " has no row " +
                                 std::to_string(i + 1) + " (" + std::string(kDurationLabels[i]) +
                                 "); its values were not saved.");
        }
    }
    return SaveOutcome::Updated;
}

}  // namespace

std::vector<std::string> ListIntensityTables(const std::string& appFolder) {
    auto connection = OpenIntensityConnection(appFolder);
    return RunOn(std::move(connection), "Cannot read the list of intensity tables",
                 [](SQLite::Database& db) {
                     SQLite::Statement query(db, "SELECT BasinName FROM BasinName ORDER BY rowid");
                     std::vector<std::string> names;
                     while (query.executeStep()) {
                         if (!query.getColumn(0).isNull()) {
                             names.push_back(query.getColumn(0).getString());
                         }
                     }
                     return names;
                 });
}

bool IntensityTableExists(const std::string& appFolder, std::string_view name) {
    auto connection = OpenIntensityConnection(appFolder);
    return RunOn(std::move(connection), "Cannot read the list of intensity tables",
                 [&](SQLite::Database& db) { return CatalogueName(db, name).has_value(); });
}

bool SameIntensityTableName(std::string_view a, std::string_view b) {
    return EqualsIgnoringCase(a, b);
}

std::string StoredIntensityTableName(const std::string& appFolder, std::string_view name) {
    auto connection = OpenIntensityConnection(appFolder);
    return RunOn(
        std::move(connection), "Cannot read the list of intensity tables",
        [&](SQLite::Database& db) { return CatalogueName(db, name).value_or(std::string(name)); });
}

std::string IntensityTableSource(const std::string& appFolder, std::string_view name) {
    auto connection = OpenIntensityConnection(appFolder);
    return RunOn(std::move(connection), "Cannot read the list of intensity tables",
                 [&](Connection& open) -> std::string {
                     if (!HasColumn(open.Db(), kCatalogueTable, "Source")) {
                         return {};
                     }
                     CachedStatement query = open.Prepared(
                         "SELECT Source FROM BasinName WHERE BasinName = ? "
                         "COLLATE NOCASE ORDER BY rowid LIMIT 1");
                     query->bind(1, std::string(name));
                     return query->executeStep() ? ColumnText(query->getColumn(0)) : std::string();
                 });
}

IntensityGrid ReadIntensityGrid(const std::string& appFolder, std::string_view name) {
    RequireChosen(name);
    auto connection = OpenIntensityConnection(appFolder);
    const auto action = "Cannot read the intensity table " + Quoted(name);
    return RunOn(std::move(connection), action, [&](Connection& open) {
        const auto rows = ReadCheckedRows(open, name, static_cast<int>(kDurationTexts.size()));
        if (rows.size() < kDurationTexts.size()) {
            throw IntensityError("The intensity table " + Quoted(name) + " has only " +
                                 std::to_string(rows.size()) + " of its " +
                                 std::to_string(kDurationTexts.size()) + " rows.");
        }
        IntensityGrid grid;
        for (std::size_t i = 0; i < grid.size(); ++i) {
            grid[i] = rows[i].values;
        }
        return grid;
    });
}

std::vector<IntensityRow> ReadIntensityRows(const std::string& appFolder, std::string_view name) {
    RequireChosen(name);
    auto connection = OpenIntensityConnection(appFolder);
    const auto action = "Cannot read the intensity table " + Quoted(name);
    return RunOn(std::move(connection), action,
                 [&](Connection& open) { return ReadCheckedRows(open, name, std::nullopt); });
}

double TwoYear24HourIntensity(const std::vector<IntensityRow>& rows, std::string_view name) {
    const auto row = std::find_if(rows.begin(), rows.end(), [](const IntensityRow& candidate) {
        return candidate.duration == kTwentyFourHourDuration;
    });
    if (row == rows.end()) {
        throw IntensityError("The intensity table " + Quoted(name) +
                             " has no 24-hour row (Duration 24.0).");
    }
    constexpr std::size_t kTwoYearPeriod = 1;
    const std::string& text = row->values[kTwoYearPeriod];
    const double value = LeadingNumber(text);
    if (!(value > 0.0)) {
        throw IntensityError(
            "The 2-year 24-hour intensity in the table " + Quoted(name) +
            " is not a positive number" +
            (text.empty() ? std::string(": the cell is empty.") : " (\"" + text + "\")."));
    }
    return value;
}

double TwoYear24HourIntensity(const std::string& appFolder, std::string_view name) {
    RequireChosen(name);
    auto connection = OpenIntensityConnection(appFolder);
    const auto action = "Cannot read the 2-year 24-hour intensity from " + Quoted(name);
    return RunOn(std::move(connection), action, [&](Connection& open) {
        return TwoYear24HourIntensity(ReadCheckedRows(open, name, std::nullopt), name);
    });
}

bool TwoYear24HourChanges(const std::string& appFolder, std::string_view name,
                          const IntensityGrid& grid) {
    constexpr std::size_t kTwentyFourHourRow = kDurationTexts.size() - 1;
    constexpr std::size_t kTwoYearPeriod = 1;
    try {
        return TwoYear24HourIntensity(appFolder, name) !=
               LeadingNumber(grid[kTwentyFourHourRow][kTwoYearPeriod]);
    } catch (const IntensityError&) {
        // A table missing or broken until now: whatever times rest on it were
        // computed from something else.
        return true;
    }
}

std::string SourceForSavedCells(std::string_view source,
                                const std::optional<IntensityGrid>& described,
                                const IntensityGrid& saved, std::string_view isoDate) {
    std::string result(source);
    if (!described || *described == saved) {
        return result;
    }
    const std::string line = "Edited by hand on " + std::string(isoDate) + ".";
    if (result.size() >= line.size() &&
        result.compare(result.size() - line.size(), line.size(), line) == 0) {
        return result;
    }
    // The Source is printed as one line of the report: a line break would
    // show as a blank there.
    return result.empty() ? line : result + "; " + line;
}

void ValidateIntensityTableName(std::string_view name) {
    if (name.find_first_not_of(' ') == std::string_view::npos) {
        throw InputError("An intensity table needs a name.");
    }
    // One name a line in every list of tables, and a name a report can print.
    RequireOneLineText(name, "The intensity table name");
    if (EqualsIgnoringCase(name, kCatalogueTable)) {
        throw InputError("\"" + std::string(name) +
                         "\" is the name of the list of intensity tables; choose another name.");
    }
    constexpr std::string_view kReservedPrefix = "sqlite_";
    if (name.size() >= kReservedPrefix.size() &&
        EqualsIgnoringCase(name.substr(0, kReservedPrefix.size()), kReservedPrefix)) {
        throw InputError(
            "An intensity table name cannot start with \"sqlite_\"; choose another "
            "name.");
    }
}

SaveOutcome SaveIntensityTable(const std::string& appFolder, std::string_view name,
                               const IntensityGrid& grid, std::string_view given,
                               ExistingTable existing) {
    ValidateIntensityTableName(name);
    // The Source prints on the report's one rainfall line, whoever wrote it.
    const std::string source = OneLineText(given, kMaxSourceCharacters);
    auto connection = OpenIntensityConnection(appFolder);
    const auto action = "Cannot save the intensity table " + Quoted(name);
    return RunOn(std::move(connection), action, [&](SQLite::Database& db) {
        // IMMEDIATE takes the write lock up front, so a second writer waits
        // instead of failing halfway through.
        SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
        const auto stored = CatalogueName(db, name);
        if (stored && existing == ExistingTable::Refuse) {
            throw IntensityError("The intensity database already holds a table named " +
                                 Quoted(*stored) + "; choose another name or replace it.");
        }
        const auto outcome =
            stored ? UpdateTable(db, *stored, grid) : CreateTable(db, name, grid, source);
        if (stored && (existing == ExistingTable::Replace || !source.empty())) {
            WriteSource(db, *stored, source);
        }
        transaction.commit();
        return outcome;
    });
}

}  // namespace torrenta
