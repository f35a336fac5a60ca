#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "intensity/IntensityDatabase.h"
#include "solver/RationalMethod.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

namespace fs = std::filesystem;

using Values = std::array<float, 7>;

// The shipped Atlanta values, typed as the table holds them.
const std::array<std::array<const char*, 7>, 10> kAtlanta = {{
    {"5.30", "6.14", "7.20", "8.02", "9.08", "9.86", "10.6"},
    {"4.23", "4.91", "5.77", "6.41", "7.23", "7.83", "8.42"},
    {"3.53", "4.11", "4.86", "5.41", "6.11", "6.61", "7.09"},
    {"2.42", "2.84", "3.42", "3.86", "4.44", "4.87", "5.30"},
    {"1.51", "1.78", "2.18", "2.50", "2.93", "3.26", "3.59"},
    {"0.878", "1.04", "1.28", "1.48", "1.76", "1.98", "2.20"},
    {"0.626", "0.739", "0.914", "1.06", "1.27", "1.44", "1.61"},
    {"0.375", "0.442", "0.547", "0.638", "0.767", "0.872", "0.980"},
    {"0.220", "0.260", "0.324", "0.379", "0.458", "0.522", "0.589"},
    {"0.130", "0.155", "0.193", "0.225", "0.267", "0.290", "0.311"},
}};

std::vector<IntensityRow> AtlantaRows() {
    std::vector<IntensityRow> rows(kAtlanta.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].duration = std::string(kDurationTexts[i]);
        for (std::size_t k = 0; k < 7; ++k) {
            rows[i].values[k] = kAtlanta[i][k];
        }
    }
    return rows;
}

Values RowOf(std::size_t i) {
    Values values{};
    for (std::size_t k = 0; k < 7; ++k) {
        values[k] = static_cast<float>(LeadingNumber(kAtlanta[i][k]));
    }
    return values;
}

// Every period of a row holds the same text, so one number describes the row.
IntensityGrid UniformGrid(const std::array<const char*, 10>& rowValues) {
    IntensityGrid grid;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        grid[i].fill(rowValues[i]);
    }
    return grid;
}

// 4.0 in/hr at 15 minutes, 3.0 at 30 minutes: Tc 20 reads 3.666667.
const IntensityGrid kDropGrid =
    UniformGrid({"6.0", "5.0", "4.0", "3.0", "2.0", "1.5", "1.0", "0.5", "0.25", "0.1"});

struct TcCase {
    double tcMinutes;
    std::size_t loRow;
    std::size_t hiRow;
    double fraction;  // of the way from loRow to hiRow
    float tolerance;  // 0: bit-exact
};

TEST(InterpolateIntensities, FollowsTheDurationRows) {
    const TcCase cases[] = {
        {4.0, 0, 0, 0.0, 0.0f},     {-10.0, 0, 0, 0.0, 0.0f},  {0.0, 0, 0, 0.0, 0.0f},
        {5.0, 0, 1, 0.0, 1e-4f},    {10.0, 1, 1, 0.0, 1e-4f},  {15.0, 2, 2, 0.0, 0.0f},
        {22.5, 2, 3, 0.5, 1e-5f},   {30.0, 3, 3, 0.0, 0.0f},   {90.0, 4, 5, 0.5, 1e-5f},
        {1080.0, 8, 9, 0.5, 1e-5f}, {1440.0, 9, 9, 0.0, 0.0f}, {5000.0, 9, 9, 0.0, 0.0f},
    };
    const auto rows = AtlantaRows();
    for (const auto& c : cases) {
        const auto actual = InterpolateIntensities(rows, c.tcMinutes);
        const auto lo = RowOf(c.loRow);
        const auto hi = RowOf(c.hiRow);
        for (std::size_t k = 0; k < 7; ++k) {
            const float expected = static_cast<float>(lo[k] + (hi[k] - lo[k]) * c.fraction);
            if (c.tolerance == 0.0f) {
                EXPECT_EQ(actual[k], expected) << "Tc " << c.tcMinutes << " period " << k;
            } else {
                EXPECT_NEAR(actual[k], expected, c.tolerance)
                    << "Tc " << c.tcMinutes << " period " << k;
            }
        }
    }
}

TEST(InterpolateIntensities, DoesNotJumpAsTcPassesFiveMinutes) {
    const auto rows = AtlantaRows();
    const auto fiveMinute = RowOf(0);
    const auto tenMinute = RowOf(1);
    const auto before = InterpolateIntensities(rows, 4.9);
    const auto after = InterpolateIntensities(rows, 5.1);
    for (std::size_t k = 0; k < 7; ++k) {
        EXPECT_NEAR(before[k], fiveMinute[k], 1e-4f) << k;
        EXPECT_NEAR(after[k], fiveMinute[k], 0.06f) << k;
        EXPECT_LE(after[k], before[k]) << k;
        EXPECT_GT(after[k], tenMinute[k] + 0.5f) << k;
    }
}

TEST(InterpolateIntensities, ReadsShortAndUntidyTables) {
    // Durations and cells are read by their leading number; any count of rows works.
    const std::vector<IntensityRow> rows = {
        {"1 hr", {"2 in/hr", "2", "2", "2", "2", "2", "x"}},
        {"2.0", {"1", "1", "1", "1", "1", "1", "1"}},
    };
    const auto middle = InterpolateIntensities(rows, 90.0);
    EXPECT_FLOAT_EQ(middle[0], 1.5f);
    EXPECT_FLOAT_EQ(middle[6], 0.5f);
    EXPECT_FLOAT_EQ(InterpolateIntensities(rows, 30.0)[0], 2.0f);

    const std::vector<IntensityRow> single = {{"24.0", {"3", "3", "3", "3", "3", "3", "3"}}};
    EXPECT_FLOAT_EQ(InterpolateIntensities(single, 60.0)[3], 3.0f);
    EXPECT_FLOAT_EQ(InterpolateIntensities(single, 3000.0)[3], 3.0f);

    // A repeated duration: from that duration on, the later of the two rows counts.
    const std::vector<IntensityRow> repeated = {
        {"0.25", {"4", "4", "4", "4", "4", "4", "4"}},
        {"0.25", {"5", "5", "5", "5", "5", "5", "5"}},
        {"0.50", {"3", "3", "3", "3", "3", "3", "3"}},
    };
    EXPECT_FLOAT_EQ(InterpolateIntensities(repeated, 10.0)[1], 4.0f);
    EXPECT_FLOAT_EQ(InterpolateIntensities(repeated, 15.0)[1], 5.0f);
    EXPECT_FLOAT_EQ(InterpolateIntensities(repeated, 22.5)[1], 4.0f);

    EXPECT_THROW(InterpolateIntensities({}, 10.0), IntensityError);
}

TEST(FrequencyFactor, RaisesOnlyTheRareStorms) {
    const std::pair<std::int16_t, double> cases[] = {
        {1, 1.0},  {2, 1.0},    {5, 1.0}, {10, 1.0},  {25, 1.1},
        {50, 1.2}, {100, 1.25}, {0, 1.0}, {-25, 1.0}, {200, 1.0},
    };
    for (const auto& [period, factor] : cases) {
        EXPECT_EQ(FrequencyFactor(period), factor) << period;
    }
    EXPECT_EQ(MinValue(0.99, 1.0), 0.99);
    EXPECT_EQ(MinValue(1.08, 1.0), 1.0);
}

// A private application folder with copies of the built databases and a
// project made from the template.
class RationalMethodTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        folder_ = fs::temp_directory_path() /
                  ("torrenta-solver-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(folder_);
        const fs::path built(TORRENTA_TEST_APP_FOLDER);
        fs::copy_file(built / "intensity.mdb", folder_ / "intensity.mdb");
        fs::copy_file(built / "empty.mdb", folder_ / "project.mdb");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    void Reset() {
        TearDown();
        SetUp();
    }

    std::string App() const { return folder_.string(); }
    std::string Project() const { return (folder_ / "project.mdb").string(); }

    void ExecProject(const std::string& sql) {
        SQLite::Database db(Project(), SQLite::OPEN_READWRITE);
        db.exec(sql);
    }

    // One column of TblResults in row order; NULL reads as "<null>".
    std::vector<std::string> Column(const std::string& name) {
        SQLite::Database db(Project(), SQLite::OPEN_READONLY);
        SQLite::Statement query(db, "SELECT " + name + " FROM TblResults ORDER BY rowid");
        std::vector<std::string> texts;
        while (query.executeStep()) {
            texts.push_back(query.getColumn(0).isNull() ? "<null>"
                                                        : query.getColumn(0).getString());
        }
        return texts;
    }

    RationalResults Solve(const std::string& table, double area, double c, double tc) {
        return SolveRationalMethod(Project(), App(), table, area, c, tc);
    }

    fs::path folder_;
};

TEST_F(RationalMethodTest, WritesIntensitiesAndPeakFlows) {
    SaveIntensityTable(App(), "Drop", kDropGrid);
    const auto results = Solve("Drop", 10.0, 0.5, 20.0);
    const double coefficients[] = {0.5, 0.5, 0.5, 0.5, 0.55, 0.6, 0.625};
    for (std::size_t k = 0; k < 7; ++k) {
        EXPECT_NEAR(results.intensity[k], 3.666667f, 1e-5f) << k;
        EXPECT_NEAR(results.peakFlow[k], coefficients[k] * 36.66667, 1e-4) << k;
    }
    EXPECT_NEAR(results.peakFlow[1], 18.33333f, 1e-4f);

    EXPECT_EQ(Column("Ival_1"), std::vector<std::string>{"3.6667"});
    EXPECT_EQ(Column("Qpeak_1"), std::vector<std::string>{"18.3333"});
    for (std::size_t k = 1; k < 7; ++k) {
        const std::string period = std::to_string(kReturnPeriods[k]);
        const auto ival = Column("Ival_" + period);
        const auto qpeak = Column("Qpeak_" + period);
        ASSERT_EQ(ival.size(), 1u);
        ASSERT_EQ(qpeak.size(), 1u);
        EXPECT_EQ(ival[0], SingleText(results.intensity[k])) << period;
        EXPECT_EQ(std::stof(ival[0]), results.intensity[k]) << period;
        EXPECT_EQ(std::stof(qpeak[0]), results.peakFlow[k]) << period;
    }
}

TEST_F(RationalMethodTest, CapsTheAdjustedCoefficientAtOne) {
    SaveIntensityTable(App(), "Flat",
                       UniformGrid({"1", "1", "1", "1", "1", "1", "1", "1", "1", "1"}));
    const auto results = Solve("Flat", 1.0, 0.9, 15.0);
    const float expected[] = {0.9f, 0.9f, 0.9f, 0.9f, 0.99f, 1.0f, 1.0f};
    for (std::size_t k = 0; k < 7; ++k) {
        EXPECT_FLOAT_EQ(results.peakFlow[k], expected[k]) << kReturnPeriods[k];
    }
}

TEST_F(RationalMethodTest, ReadsTheShippedTableWhateverTheCase) {
    const auto results = Solve("atlanta", 2.0, 0.5, 15.0);
    EXPECT_FLOAT_EQ(results.intensity[1], 4.11f);
    EXPECT_FLOAT_EQ(results.peakFlow[1], 4.11f);
    EXPECT_EQ(Column("Ival_1"), std::vector<std::string>{"3.5300"});
}

TEST_F(RationalMethodTest, ZeroAreaGivesZeroFlows) {
    SaveIntensityTable(App(), "Drop", kDropGrid);
    const auto results = Solve("Drop", 0.0, 0.7, 20.0);
    for (const float q : results.peakFlow) {
        EXPECT_EQ(q, 0.0f);
    }
    EXPECT_EQ(Column("Qpeak_1"), std::vector<std::string>{"0.0000"});
    EXPECT_EQ(Column("Qpeak_100"), std::vector<std::string>{SingleText(0.0f)});
}

struct ExistingRowsCase {
    const char* label;
    const char* setup;
    std::vector<std::string> ival1After;
    std::vector<std::string> ival2After;
};

TEST_F(RationalMethodTest, WritesOnlyTheFirstResultsRow) {
    const ExistingRowsCase cases[] = {
        {"empty table", "", {"3.6667"}, {"x"}},
        {"one row",
         "INSERT INTO TblResults (Ival_1, Ival_2) VALUES ('old', 'old')",
         {"3.6667"},
         {"x"}},
        {"two rows",
         "INSERT INTO TblResults (Ival_1, Ival_2) VALUES ('old', 'old');"
         "INSERT INTO TblResults (Ival_1, Ival_2) VALUES ('second', 'second')",
         {"3.6667", "second"},
         {"x", "second"}},
        {"first row deleted earlier",
         "INSERT INTO TblResults (Ival_1) VALUES ('gone');"
         "INSERT INTO TblResults (Ival_1) VALUES ('old');"
         "INSERT INTO TblResults (Ival_1) VALUES ('third');"
         "DELETE FROM TblResults WHERE Ival_1 = 'gone'",
         {"3.6667", "third"},
         {"x", "<null>"}},
    };
    for (const auto& c : cases) {
        Reset();
        SaveIntensityTable(App(), "Drop", kDropGrid);
        if (*c.setup != '\0') {
            ExecProject(c.setup);
        }
        const auto results = Solve("Drop", 10.0, 0.5, 20.0);
        EXPECT_EQ(Column("Ival_1"), c.ival1After) << c.label;
        auto ival2 = c.ival2After;
        ival2[0] = SingleText(results.intensity[1]);
        EXPECT_EQ(Column("Ival_2"), ival2) << c.label;
    }
}

struct FailureCase {
    const char* label;
    const char* table;
};

TEST_F(RationalMethodTest, IntensityFailuresLeaveResultsUntouched) {
    const FailureCase cases[] = {
        {"no table chosen", ""},
        {"table not in the database", "Nowhere"},
        {"table without a return-period column", "Narrow"},
    };
    const char* setups[] = {"", "INSERT INTO TblResults (Ival_1, Qpeak_1) VALUES ('old', 'old')"};
    for (const auto& c : cases) {
        for (const char* setup : setups) {
            Reset();
            SaveIntensityTable(App(), "Narrow", kDropGrid);
            {
                SQLite::Database db((folder_ / "intensity.mdb").string(), SQLite::OPEN_READWRITE);
                db.exec("ALTER TABLE Narrow DROP COLUMN \"25\"");
            }
            if (*setup != '\0') {
                ExecProject(setup);
            }
            const auto before = Column("Ival_1");
            EXPECT_THROW(Solve(c.table, 10.0, 0.5, 20.0), IntensityError) << c.label;
            EXPECT_EQ(Column("Ival_1"), before) << c.label;
            EXPECT_EQ(Column("Qpeak_1"), before) << c.label;
        }
    }
}

}  // namespace
}  // namespace torrenta
