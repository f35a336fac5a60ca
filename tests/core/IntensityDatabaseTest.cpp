#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "Errors.h"
#include "intensity/IntensityDatabase.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

namespace fs = std::filesystem;

// A private application folder holding a copy of the built intensity.mdb, so
// tests may change it freely.
class IntensityDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        folder_ = fs::temp_directory_path() /
                  ("torrenta-intensity-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(folder_);
        fs::copy_file(fs::path(TORRENTA_TEST_APP_FOLDER) / "intensity.mdb",
                      folder_ / "intensity.mdb");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

    // A fresh copy for the next case of a table-driven test.
    void Reset() {
        TearDown();
        SetUp();
    }

    std::string App() const { return folder_.string(); }

    // Changes the copy behind the module's back, the way another program might.
    void Exec(const std::string& sql) {
        SQLite::Database db((folder_ / "intensity.mdb").string(), SQLite::OPEN_READWRITE);
        db.exec(sql);
    }

    int Count(const std::string& sql) {
        SQLite::Database db((folder_ / "intensity.mdb").string(), SQLite::OPEN_READONLY);
        return db.execAndGet(sql).getInt();
    }

    fs::path folder_;
};

// Every cell distinct, so a value landing in the wrong row or column shows.
IntensityGrid NumberedGrid(int base) {
    IntensityGrid grid;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        for (std::size_t k = 0; k < grid[i].size(); ++k) {
            grid[i][k] = std::to_string(base + static_cast<int>(i * 10 + k)) + ".5";
        }
    }
    return grid;
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const IntensityError& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("wrong error kind: ") + e.what();
    }
    return "no error";
}

TEST_F(IntensityDatabaseTest, ShippedAtlantaTableReadsAsTenRowsOfPositiveValues) {
    const auto names = ListIntensityTables(App());
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), kDefaultIntensityTable);

    const auto rows = ReadIntensityRows(App(), "Atlanta");
    ASSERT_EQ(rows.size(), kDurationTexts.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].duration, kDurationTexts[i]);
    }
    const auto grid = ReadIntensityGrid(App(), "Atlanta");
    EXPECT_DOUBLE_EQ(LeadingNumber(grid[0][0]), 5.30);
    EXPECT_DOUBLE_EQ(LeadingNumber(grid[9][6]), 0.311);
    EXPECT_DOUBLE_EQ(TwoYear24HourIntensity(App(), "Atlanta"), 0.155);
    // Names are found whatever the case they are typed in.
    EXPECT_TRUE(IntensityTableExists(App(), "ATLANTA"));
    EXPECT_DOUBLE_EQ(TwoYear24HourIntensity(App(), "atlanta"), 0.155);
    EXPECT_FALSE(IntensityTableExists(App(), "Atlant"));
}

TEST_F(IntensityDatabaseTest, SaveCreatesThenUpdatesTheSameTable) {
    const auto first = NumberedGrid(100);
    EXPECT_EQ(SaveIntensityTable(App(), "Macon", first, "County manual"), SaveOutcome::Created);
    EXPECT_EQ(ReadIntensityGrid(App(), "Macon"), first);
    EXPECT_EQ(IntensityTableSource(App(), "macon"), "County manual");
    const auto rows = ReadIntensityRows(App(), "Macon");
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[9].duration, "24.0");

    // Another case finds the stored table: values change, Duration and the
    // catalogue stay as they were.
    const auto second = NumberedGrid(500);
    EXPECT_EQ(SaveIntensityTable(App(), "MACON", second), SaveOutcome::Updated);
    EXPECT_EQ(ReadIntensityGrid(App(), "Macon"), second);
    EXPECT_EQ(ReadIntensityRows(App(), "Macon")[0].duration, "0.083333");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM BasinName WHERE BasinName = 'Macon' COLLATE NOCASE"), 1);
    EXPECT_EQ(IntensityTableSource(App(), "Macon"), "County manual");
    EXPECT_EQ(IntensityTableSource(App(), "Nowhere"), "");
}

TEST_F(IntensityDatabaseTest, ListKeepsInsertionOrder) {
    SaveIntensityTable(App(), "Zeta", NumberedGrid(1));
    SaveIntensityTable(App(), "Alpha", NumberedGrid(2));
    SaveIntensityTable(App(), "zeta", NumberedGrid(3));
    const std::vector<std::string> expected = {"Atlanta", "Zeta", "Alpha"};
    EXPECT_EQ(ListIntensityTables(App()), expected);
}

TEST_F(IntensityDatabaseTest, AnyNameThatIsNotReservedRoundTrips) {
    const char* names[] = {
        "O'Brien's \"Lot\"",
        "Caf\xC3\xA9 Basin",
        "  spaced  name ",
        "1",
        "select",
        "x\"; DROP TABLE BasinName; --",
        "Atlanta2",
        "BasinNames",
        "my sqlite_",
    };
    int base = 0;
    for (const char* name : names) {
        const auto grid = NumberedGrid(base += 1000);
        EXPECT_NO_THROW(ValidateIntensityTableName(name)) << name;
        ASSERT_EQ(SaveIntensityTable(App(), name, grid), SaveOutcome::Created) << name;
        EXPECT_EQ(ReadIntensityGrid(App(), name), grid) << name;
        EXPECT_TRUE(IntensityTableExists(App(), name)) << name;
    }
    EXPECT_EQ(ListIntensityTables(App()).size(), std::size(names) + 1);
    EXPECT_EQ(ListIntensityTables(App()).back(), "my sqlite_");
}

TEST_F(IntensityDatabaseTest, ReservedNamesAreRefusedAndNothingIsStored) {
    // Besides the reserved ones: a blank name, and names a list of tables
    // would split or a report would misalign.
    const char* names[] = {"",         "BasinName", "basinname", "BASINNAME",  "sqlite_master",
                           "SQLite_x", "sqlite_",   "   ",       "East\tWest", "North\nCounty",
                           "Caf\xE9",  "A\x1B"};
    for (const char* name : names) {
        EXPECT_THROW(ValidateIntensityTableName(name), InputError) << '"' << name << '"';
        EXPECT_THROW(SaveIntensityTable(App(), name, NumberedGrid(0)), InputError) << name;
    }
    EXPECT_EQ(ListIntensityTables(App()), std::vector<std::string>{"Atlanta"});
}

TEST_F(IntensityDatabaseTest, FailedCreationLeavesNeitherCatalogueRowNorTable) {
    // An index of the same name lets the catalogue insert succeed and then
    // makes CREATE TABLE fail, so only a rollback removes the catalogue row.
    Exec("CREATE INDEX \"Clash\" ON BasinName (Source)");
    EXPECT_THROW(SaveIntensityTable(App(), "Clash", NumberedGrid(0)), IntensityError);
    EXPECT_FALSE(IntensityTableExists(App(), "Clash"));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'Clash'"),
              0);

    // A table left without a catalogue row is not silently taken over.
    Exec("CREATE TABLE Orphan (ID INTEGER PRIMARY KEY, Duration TEXT)");
    EXPECT_NE(
        MessageOf([&] { SaveIntensityTable(App(), "orphan", NumberedGrid(0)); }).find("\"orphan\""),
        std::string::npos);
    EXPECT_FALSE(IntensityTableExists(App(), "Orphan"));
}

TEST_F(IntensityDatabaseTest, FailedUpdateChangesNoRow) {
    const auto original = NumberedGrid(100);
    SaveIntensityTable(App(), "Short", original);
    Exec("DELETE FROM \"Short\" WHERE ID > 7");
    EXPECT_THROW(SaveIntensityTable(App(), "Short", NumberedGrid(900)), IntensityError);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM \"Short\" WHERE \"1\" = '100.5'"), 1);

    Exec("INSERT INTO BasinName (BasinName) VALUES ('Listed')");
    const auto message = MessageOf([&] { SaveIntensityTable(App(), "Listed", original); });
    EXPECT_NE(message.find("\"Listed\""), std::string::npos) << message;
    EXPECT_NE(message.find("missing"), std::string::npos) << message;
}

TEST_F(IntensityDatabaseTest, CatalogueWithoutSourceColumnStillTakesNewTables) {
    Exec(
        "DROP TABLE BasinName; CREATE TABLE BasinName (BasinName TEXT);"
        "INSERT INTO BasinName VALUES ('Atlanta')");
    EXPECT_EQ(SaveIntensityTable(App(), "Plain", NumberedGrid(7), "ignored"), SaveOutcome::Created);
    EXPECT_EQ(IntensityTableSource(App(), "Plain"), "");
    EXPECT_EQ(ListIntensityTables(App()), (std::vector<std::string>{"Atlanta", "Plain"}));
}

TEST_F(IntensityDatabaseTest, NullCellsReadAsEmptyText) {
    SaveIntensityTable(App(), "Gaps", NumberedGrid(0));
    Exec("UPDATE Gaps SET \"50\" = NULL WHERE ID = 3");
    EXPECT_EQ(ReadIntensityGrid(App(), "Gaps")[2][5], "");
    EXPECT_EQ(ReadIntensityRows(App(), "Gaps")[2].values[5], "");
}

struct BrokenTableCase {
    const char* label;
    const char* setup;  // run on the copy after saving table "T"
    const char* name;   // table asked for
    const char* gridMessage;
    const char* rowsMessage;
};

TEST_F(IntensityDatabaseTest, BrokenTablesAreReportedByName) {
    const BrokenTableCase cases[] = {
        {"missing table", "", "Nowhere", "\"Nowhere\"", "\"Nowhere\""},
        {"seven rows", "DELETE FROM T WHERE ID > 7", "T",
         "The intensity table \"T\" has only 7 of its 10 rows.", nullptr},
        {"missing column", "ALTER TABLE T DROP COLUMN \"100\"", "T", "100-year", "100-year"},
        {"empty name", "", "", "No intensity table is chosen for this project.",
         "No intensity table is chosen for this project."},
    };
    for (const auto& c : cases) {
        Reset();
        SaveIntensityTable(App(), "T", NumberedGrid(0));
        if (*c.setup != '\0') {
            Exec(c.setup);
        }
        const auto gridMessage = MessageOf([&] { ReadIntensityGrid(App(), c.name); });
        EXPECT_NE(gridMessage.find(c.gridMessage), std::string::npos)
            << c.label << ": " << gridMessage;
        const auto rowsMessage = MessageOf([&] { ReadIntensityRows(App(), c.name); });
        if (c.rowsMessage == nullptr) {
            EXPECT_EQ(rowsMessage, "no error") << c.label;
        } else {
            EXPECT_NE(rowsMessage.find(c.rowsMessage), std::string::npos)
                << c.label << ": " << rowsMessage;
        }
    }
}

struct TwoYearCase {
    const char* label;
    const char* setup;
    const char* name;
    const char* message;  // nullptr: reads `value`
    double value;
};

TEST_F(IntensityDatabaseTest, TwoYear24HourIntensityNeedsAPositiveCell) {
    const TwoYearCase cases[] = {
        {"typed with a unit", "UPDATE T SET \"2\" = '.5 in/hr' WHERE ID = 10", "T", nullptr, 0.5},
        {"row found by Duration, not position",
         "UPDATE T SET Duration = '24.0', \"2\" = '3' WHERE ID = 1;"
         "UPDATE T SET Duration = '1.0' WHERE ID = 10",
         "T", nullptr, 3.0},
        {"missing table", "", "Nowhere", "\"Nowhere\"", 0},
        {"empty name", "", "", "No intensity table is chosen", 0},
        {"no 24-hour row", "UPDATE T SET Duration = '24' WHERE ID = 10", "T",
         "The intensity table \"T\" has no 24-hour row (Duration 24.0).", 0},
        {"null cell", "UPDATE T SET \"2\" = NULL WHERE ID = 10", "T", "2-year", 0},
        {"zero", "UPDATE T SET \"2\" = '0' WHERE ID = 10", "T", "not a positive number", 0},
        {"negative", "UPDATE T SET \"2\" = '-0.2' WHERE ID = 10", "T", "not a positive number", 0},
        {"text", "UPDATE T SET \"2\" = 'n/a' WHERE ID = 10", "T", "\"n/a\"", 0},
        {"empty", "UPDATE T SET \"2\" = '' WHERE ID = 10", "T", "not a positive number", 0},
    };
    for (const auto& c : cases) {
        Reset();
        SaveIntensityTable(App(), "T", NumberedGrid(0));
        if (*c.setup != '\0') {
            Exec(c.setup);
        }
        if (c.message == nullptr) {
            EXPECT_DOUBLE_EQ(TwoYear24HourIntensity(App(), c.name), c.value) << c.label;
        } else {
            const auto message = MessageOf([&] { TwoYear24HourIntensity(App(), c.name); });
            EXPECT_NE(message.find(c.message), std::string::npos) << c.label << ": " << message;
        }
    }
}

// The Source says when the saved cells are no longer those it describes, once
// a day, on one line.
TEST_F(IntensityDatabaseTest, SourceOfSavedCellsSaysWhenTheyWereEditedByHand) {
    const IntensityGrid described = NumberedGrid(0);
    IntensityGrid edited = described;
    edited[3][4] = "7.25";
    const std::optional<IntensityGrid> none;
    struct Case {
        const char* label;
        std::string source;
        std::optional<IntensityGrid> described;
        IntensityGrid saved;
        std::string expected;
    };
    const Case cases[] = {
        {"cells as described", "NOAA Atlas 14; Bentonville", described, described,
         "NOAA Atlas 14; Bentonville"},
        {"one cell edited", "NOAA Atlas 14; Bentonville", described, edited,
         "NOAA Atlas 14; Bentonville; Edited by hand on 2026-12-09."},
        {"edited again the same day", "NOAA Atlas 14; Edited by hand on 2026-12-09.", described,
         edited, "NOAA Atlas 14; Edited by hand on 2026-12-09."},
        {"edited again another day", "NOAA Atlas 14; Edited by hand on 2026-11-30.", described,
         edited, "NOAA Atlas 14; Edited by hand on 2026-11-30.; Edited by hand on 2026-12-09."},
        {"no Source before", "", described, edited, "Edited by hand on 2026-12-09."},
        {"typed after Add New Basin", "", none, edited, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SourceForSavedCells(c.source, c.described, c.saved, "2026-12-09"), c.expected)
            << c.label;
    }
}

// Sheet-flow times are due when the stored 2-year 24-hour value is not the
// one about to be saved, or cannot be read.
TEST_F(IntensityDatabaseTest, TwoYear24HourChangeIsTheNumberNotTheText) {
    struct Case {
        const char* label;
        const char* name;
        const char* cell;
        bool changes;
    };
    const Case cases[] = {
        {"same text", "Atlanta", "0.155", false},
        {"same number, other digits", "ATLANTA", "0.1550", false},
        {"other number", "Atlanta", "0.156", true},
        {"no such table", "Nowhere", "0.155", true},
    };
    for (const auto& c : cases) {
        IntensityGrid grid = ReadIntensityGrid(App(), "Atlanta");
        grid[9][1] = c.cell;
        EXPECT_EQ(TwoYear24HourChanges(App(), c.name, grid), c.changes) << c.label;
    }
    EXPECT_EQ(StoredIntensityTableName(App(), "aTLANTA"), "Atlanta");
    EXPECT_EQ(StoredIntensityTableName(App(), "Nowhere"), "Nowhere");
}

TEST_F(IntensityDatabaseTest, MissingDatabaseIsAnIntensityError) {
    fs::remove(folder_ / "intensity.mdb");
    EXPECT_THROW(ListIntensityTables(App()), IntensityError);
    EXPECT_THROW(ReadIntensityRows(App(), "Atlanta"), IntensityError);
    EXPECT_THROW(SaveIntensityTable(App(), "New", NumberedGrid(0)), IntensityError);
    EXPECT_FALSE(fs::exists(folder_ / "intensity.mdb"));
}

}  // namespace
}  // namespace torrenta
