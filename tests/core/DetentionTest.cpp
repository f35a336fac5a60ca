#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "Errors.h"
#include "TestFolder.h"
#include "detention/DetentionInputs.h"
#include "detention/DetentionStorage.h"
#include "detention/ProjectDetention.h"
#include "report/PlainTextWriter.h"
#include "report/ReportComposer.h"
#include "solver/NetworkSolution.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"

namespace torrenta {
namespace {

using test::TestFolder;
constexpr auto kRising = DetentionMethod::RisingRelease;
constexpr auto kConstant = DetentionMethod::ConstantRelease;

// The area between two flows over a storm, ft3, by the midpoint rule on a
// fine grid: no knowledge of where the lines meet.
double AreaBetween(const std::function<double(double)>& inflow,
                   const std::function<double(double)>& outflow, double end) {
    constexpr int kSteps = 200000;
    const double step = end / kSteps;
    double area = 0.0;
    for (int i = 0; i < kSteps; ++i) {
        const double t = (i + 0.5) * step;
        area += (inflow(t) - outflow(t)) * step;
    }
    return 60.0 * area;
}

// A drawn polyline read at t (0 outside it).
double Along(const std::vector<HydrographPoint>& line, double t) {
    for (std::size_t i = 1; i < line.size(); ++i) {
        const HydrographPoint& a = line[i - 1];
        const HydrographPoint& b = line[i];
        if (t >= a.minutes && t < b.minutes) {
            return a.flow + (b.flow - a.flow) * (t - a.minutes) / (b.minutes - a.minutes);
        }
    }
    return 0.0;
}

TEST(DetentionStorage, TheVolumeIsTheAreaBetweenInflowAndOutflow) {
    const struct {
        DetentionMethod method;
        double qi, qo, td, tc;
    } cases[] = {
        {kRising, 10.0, 4.0, 30.0, 10.0},   {kRising, 10.0, 4.0, 10.0, 10.0},
        {kRising, 10.0, 10.0, 45.0, 8.0},   {kRising, 6.5, 0.5, 200.0, 23.4},
        {kConstant, 10.0, 4.0, 30.0, 10.0}, {kConstant, 6.5, 0.5, 200.0, 23.4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.qi) + " / " + std::to_string(c.qo));
        // The trapezoid and the method's outflow, from their geometry alone.
        const auto inflow = [&](double t) {
            return t < c.tc ? c.qi * t / c.tc : t < c.td ? c.qi : c.qi * (c.td + c.tc - t) / c.tc;
        };
        const double meets = c.td + c.tc - c.qo * c.tc / c.qi;
        const auto outflow = [&](double t) {
            if (c.method == kConstant) {
                return t < c.td ? c.qo : 0.0;
            }
            return t < meets ? c.qo * t / meets : inflow(t);
        };
        const double end = c.td + c.tc;
        const double expected = AreaBetween(inflow, outflow, end);
        const double volume = StorageVolume(c.method, c.qi, c.qo, c.td, c.tc);
        EXPECT_NEAR(volume, expected, 1e-6 * expected);

        // The chart draws the same two hydrographs.
        const StormHydrographs drawn = DetentionHydrographs(c.method, c.tc, c.td, c.qi, c.qo);
        const double shaded = AreaBetween([&](double t) { return Along(drawn.inflow, t); },
                                          [&](double t) { return Along(drawn.outflow, t); }, end);
        EXPECT_NEAR(shaded, expected, 1e-6 * expected);
    }
}

// i = a / (Td + b) for every period: with Q = C A i the storage curve peaks
// where its slope is 0, Td* = sqrt(2 C A a b / Qo) - b for the rising release
// and sqrt(C A a b / Qo) - b for the constant one (C times Cf, capped at 1).
TEST(DetentionSweep, FindsTheCriticalDurationOfAnIdfEquation) {
    const struct {
        DetentionMethod method;
        double c, area, a, b, qo, tc;
    } cases[] = {
        {kRising, 0.5, 10.0, 120.0, 15.0, 3.0, 10.0},
        {kConstant, 0.5, 10.0, 120.0, 15.0, 3.0, 10.0},
        {kRising, 0.8, 40.0, 200.0, 20.0, 10.0, 25.0},
        {kConstant, 0.9, 5.0, 90.0, 10.0, 1.0, 5.0},
    };
    const double cf[] = {1.0, 1.0, 1.0, 1.0, 1.1, 1.2, 1.25};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(DetentionMethodWord(c.method)) + " C " + std::to_string(c.c));
        const StormIntensity idf = [&](double minutes) {
            std::array<double, 7> i{};
            i.fill(c.a / (minutes + c.b));
            return i;
        };
        std::array<double, 7> releases{};
        releases.fill(c.qo);
        const DetentionSweep sweep =
            SweepDetention({c.area, c.c, c.tc, 1440.0}, idf, c.method, releases);
        for (std::size_t k = 0; k < 7; ++k) {
            const DetentionPeriod& period = sweep.periods[k];
            const double ca = std::min(c.c * cf[k], 1.0) * c.area;
            const double factor = c.method == kRising ? 2.0 : 1.0;
            const double expected = std::sqrt(factor * ca * c.a * c.b / c.qo) - c.b;
            EXPECT_NEAR(period.criticalDuration, expected, 1.0) << period.years << "-year";
            EXPECT_TRUE(period.storageNeeded);
            EXPECT_FALSE(period.atTableEnd);
            EXPECT_NEAR(period.inflowPeak, ca * c.a / (period.criticalDuration + c.b), 1e-5);
            EXPECT_DOUBLE_EQ(period.storageAcreFeet, period.storage / 43560.0);
            EXPECT_EQ(period.curve.size(), 1440u - static_cast<std::size_t>(c.tc) + 1);
        }
    }
}

// The ends of the sweep: a release at or above every inflow needs no pond, and
// no release at all keeps filling it to the table's last duration.
TEST(DetentionSweep, ReleasesAboveThePeakOrNoneAtAll) {
    const StormIntensity steady = [](double) {
        std::array<double, 7> i{};
        i.fill(4.0);
        return i;
    };
    const DetentionBasis basis{2.0, 0.5, 12.3, 1440.0};  // Qi 4 cfs up to 10 years
    const struct {
        DetentionMethod method;
        double release;
        bool needed;
        bool atEnd;
        double criticalDuration;
    } cases[] = {
        {kRising, 4.01, false, false, 0.0},   {kConstant, 4.0, false, false, 0.0},
        {kRising, 0.0, true, true, 1440.0},   {kConstant, 0.0, true, true, 1440.0},
        {kConstant, 3.0, true, true, 1440.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(DetentionMethodWord(c.method)) + " " + std::to_string(c.release));
        std::array<double, 7> releases{};
        releases.fill(c.release);
        const DetentionPeriod period = SweepDetention(basis, steady, c.method, releases).periods[3];
        EXPECT_EQ(period.storageNeeded, c.needed);
        EXPECT_EQ(period.atTableEnd, c.atEnd);
        EXPECT_DOUBLE_EQ(period.criticalDuration, c.criticalDuration);
        EXPECT_EQ(period.storage > 0.0, c.needed);
        EXPECT_DOUBLE_EQ(period.curve.front().duration, 12.3);
        EXPECT_DOUBLE_EQ(period.curve.back().duration, 1440.0);
    }
}

// Every duration row holds 1 ... 7 in/hr for the periods 1 ... 100 years; the
// "Double" table twice that.
IntensityGrid Grid(int scale) {
    IntensityGrid grid;
    for (auto& row : grid) {
        for (int k = 0; k < 7; ++k) {
            row[k] = std::to_string(scale * (k + 1));
        }
    }
    return grid;
}

BasinRow Basin(const std::string& area, const std::string& c) {
    return BasinRow{"Basin1", "Lot", "650",   "840",   area,   "Lawn",   c,
                    "0.02",   "150", "False", "Range", "0.13", "12.3000"};
}

class ProjectDetentionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SaveIntensityTable(folder_.AppFolder(), "Even", Grid(1));
        SaveIntensityTable(folder_.AppFolder(), "Double", Grid(2));
        SaveProjectSetup(project_, {"Ridge", "", "", "", "J-1", ""}, "Pond", "Double");
        InsertElementRow(project_, Basin("2", "0.5"));
        SaveProjectSetup(before_, {"Meadow", "", "", "", "", ""}, "Outlet", "Even");
        InsertElementRow(before_, Basin("2", "0.2"));
    }

    NetworkSolution Solve(const std::string& table = "Double") {
        return SolveProject(project_, folder_.AppFolder(), table);
    }

    TestFolder folder_;
    std::string project_ = folder_.NewProjectFile();
    std::string before_ = folder_.NewProjectFile("before.rmt");
};

// The pre-development release is that project's own Q (its own table, Even:
// 1 ... 7 in/hr on 2 acres at C 0.2) times the factor, and that file is read,
// never written.
TEST_F(ProjectDetentionTest, ThePreDevelopmentReleaseIsItsPeakFlowTimesTheFactor) {
    DetentionInputs inputs;
    inputs.source = ReleaseSource::PreDevelopment;
    inputs.preDevelopmentProject = "before.rmt";
    inputs.releaseFactor = 0.85;
    StoreDetentionInputs(project_, inputs);
    const std::string untouched = test::ReadFileBytes(before_);

    const NetworkSolution solution = Solve();

    ASSERT_TRUE(solution.detention.has_value());
    const double q[] = {0.4, 0.8, 1.2, 1.6, 0.22 * 2 * 5, 0.24 * 2 * 6, 0.25 * 2 * 7};
    for (std::size_t k = 0; k < 7; ++k) {
        EXPECT_NEAR(solution.detention->sweep.periods[k].release, q[k] * 0.85, 1e-6) << k;
    }
    EXPECT_EQ(solution.detention->preDevelopmentTable, "Even");
    EXPECT_EQ(test::ReadFileBytes(before_), untouched);
}

// A pre-development project that cannot give a release stops the solve with
// its name, before this project's results row is written.
TEST_F(ProjectDetentionTest, APreDevelopmentProjectThatCannotBeSolvedIsNamed) {
    const struct {
        std::string stored;
        std::string words;
    } cases[] = {
        {"gone.rmt", "\"gone.rmt\" does not exist"},
        {"folder.rmt", "\"folder.rmt\" is a folder"},
        {"project.rmt", "\"project.rmt\" is this project itself"},
        {"empty.rmt", "\"empty.rmt\" cannot be solved: it has no element to solve"},
        {"notes.rmt", "\"notes.rmt\" cannot be solved"},
    };
    folder_.NewProjectFile("empty.rmt");
    std::ofstream(folder_.File("notes.rmt")) << "not a project";
    std::filesystem::create_directory(folder_.File("folder.rmt"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        DetentionInputs inputs;
        inputs.source = ReleaseSource::PreDevelopment;
        inputs.preDevelopmentProject = c.stored;
        StoreDetentionInputs(project_, inputs);
        const std::string untouched = test::ReadFileBytes(project_);
        try {
            Solve();
            ADD_FAILURE() << "solved";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
        }
        EXPECT_EQ(test::ReadFileBytes(project_), untouched);
    }
}

// A factor that is a number but makes the release overflow is refused before
// anything is sized, so no run stores it and no table holds an empty release.
TEST_F(ProjectDetentionTest, AFactorWhoseReleaseOverflowsIsRefused) {
    DetentionInputs inputs;
    inputs.source = ReleaseSource::PreDevelopment;
    inputs.preDevelopmentProject = "before.rmt";
    inputs.releaseFactor = 1e308;
    try {
        FindAllowableRelease(inputs, project_, folder_.AppFolder());
        ADD_FAILURE() << "a release was found";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("release factor"), std::string::npos) << e.what();
    }
}

// A stored number that is no number is damage, named with the project and
// the value, never a release of 0.
TEST_F(ProjectDetentionTest, DamagedStoredInputsAreRefusedNamingTheValue) {
    DetentionInputs single;
    single.release = 2.5;
    DetentionInputs perPeriod;
    perPeriod.source = ReleaseSource::PerPeriod;
    perPeriod.releases = {1, 2, 3, 4, 5, 6, 7};
    DetentionInputs factor;
    factor.source = ReleaseSource::PreDevelopment;
    factor.preDevelopmentProject = "before.rmt";
    factor.releaseFactor = 0.85;
    const struct {
        const char* label;
        DetentionInputs inputs;
        const char* column;
        const char* words;
    } columns[] = {
        {"single", single, "Release", "the allowable release reads"},
        {"per period", perPeriod, "Release_25", "the 25-year allowable release reads"},
        {"factor", factor, "ReleaseFactor", "the release factor reads"},
    };
    for (const auto& c : columns) {
        for (const char* value : {"'abc'", "''", "NULL", "'1e999'", "' 2'"}) {
            SCOPED_TRACE(std::string(c.label) + " " + value);
            StoreDetentionInputs(project_, c.inputs);
            SQLite::Database(project_, SQLite::OPEN_READWRITE)
                .exec(std::string("UPDATE \"") + std::string(kDetentionTable) + "\" SET \"" +
                      c.column + "\" = " + value);
            try {
                ReadDetentionInputs(project_);
                ADD_FAILURE() << "read";
            } catch (const InputError& e) {
                const std::string message = e.what();
                EXPECT_NE(message.find(c.words), std::string::npos) << message;
                EXPECT_NE(message.find(project_), std::string::npos) << message;
            }
        }
    }
}

TEST_F(ProjectDetentionTest, StoredInputsReadBackAsGivenAndCanBeCleared) {
    EXPECT_FALSE(ReadDetentionInputs(project_).has_value());
    DetentionInputs perPeriod;
    perPeriod.method = kConstant;
    perPeriod.source = ReleaseSource::PerPeriod;
    perPeriod.releases = {0.1, 2.5, 3.75, 1e-5, 12.345678901, 0.0, 100.0};
    DetentionInputs preDevelopment;
    preDevelopment.source = ReleaseSource::PreDevelopment;
    preDevelopment.preDevelopmentProject = "../site/before.rmt";
    preDevelopment.releaseFactor = 0.85;
    for (const DetentionInputs& inputs : {perPeriod, preDevelopment}) {
        StoreDetentionInputs(project_, inputs);
        EXPECT_EQ(ReadDetentionInputs(project_), inputs);
    }
    ClearDetentionInputs(project_);
    EXPECT_FALSE(ReadDetentionInputs(project_).has_value());
    EXPECT_FALSE(Solve().detention.has_value());

    // A path given from anywhere is kept relative to the project's folder.
    const std::filesystem::path folder = std::filesystem::path(project_).parent_path();
    EXPECT_EQ(StoredPreDevelopmentPath(project_, (folder / "before.rmt").string()), "before.rmt");
    EXPECT_EQ(StoredPreDevelopmentPath(project_, (folder / "old" / "a.rmt").string()), "old/a.rmt");
    EXPECT_EQ(PreDevelopmentPath(project_, "old/a.rmt"), (folder / "old" / "a.rmt").string());

    // Opened through a link to its folder, "../pre" is the real folder's
    // neighbour, as the system resolves it, and a path given is stored so.
    namespace fs = std::filesystem;
    fs::create_directories(folder / "real" / "site");
    fs::create_directories(folder / "real" / "pre");
    fs::create_directories(folder / "links");
    fs::create_directory_symlink(folder / "real" / "site", folder / "links" / "site");
    const std::string linked = (folder / "links" / "site" / "p.rmt").string();
    EXPECT_EQ(PreDevelopmentPath(linked, "../pre/pre.rmt"),
              (folder / "real" / "pre" / "pre.rmt").string());
    EXPECT_EQ(StoredPreDevelopmentPath(linked, (folder / "real" / "pre" / "pre.rmt").string()),
              "../pre/pre.rmt");
}

TEST_F(ProjectDetentionTest, RefusesReleasesThatAreNoFlow) {
    DetentionInputs negative;
    negative.release = -1.0;
    DetentionInputs perPeriod;
    perPeriod.source = ReleaseSource::PerPeriod;
    perPeriod.releases[4] = NAN;
    DetentionInputs factor;
    factor.source = ReleaseSource::PreDevelopment;
    factor.preDevelopmentProject = "before.rmt";
    factor.releaseFactor = 0.0;
    DetentionInputs noProject;
    noProject.source = ReleaseSource::PreDevelopment;
    const struct {
        DetentionInputs inputs;
        const char* words;
    } cases[] = {
        {negative, "The allowable release must be a number of 0 cfs or more."},
        {perPeriod, "The 25-year allowable release must be a number of 0 cfs or more."},
        {factor, "The release factor must be a number above 0."},
        {noProject, "Choose the pre-development project"},
    };
    for (const auto& c : cases) {
        try {
            StoreDetentionInputs(project_, c.inputs);
            ADD_FAILURE() << "stored";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
        }
        EXPECT_FALSE(ReadDetentionInputs(project_).has_value());
    }
}

// Worked by hand: Qi = min(0.5 Cf, 1) x 2 ac x (2 ... 14 in/hr) = 2, 4, 6, 8,
// 11, 14.4, 17.5 cfs at every duration, Qo 4 cfs, Tc 12.3 min. With a steady
// inflow the storage grows to the last duration, 1440 min:
// V = 60 [Qi 1440 - 4 (1440 + 12.3) / 2].
TEST_F(ProjectDetentionTest, TheReportPrintsTheSectionAfterThePeakFlows) {
    DetentionInputs inputs;
    inputs.release = 4.0;
    StoreDetentionInputs(project_, inputs);

    const std::string text = WritePlainText(
        ComposeReport({project_, folder_.AppFolder(), "Double", {true, true, true}}).document);

    const std::string section =
        "Detention Storage (Modified Rational Method)\n"
        "\n"
        "  Method:            Rising release: V = 60 [Qi Td - Qo (Td + Tc) / 2]\n"
        "  Allowable release: 4 cfs for every return period\n"
        "  Storm durations:   Tc (12.3 min) to 1440 min in steps of 1 min\n";
    EXPECT_NE(text.find(section), std::string::npos) << text;
    EXPECT_LT(text.find("Q(cfs)"), text.find("Detention Storage"));
    for (const char* row : {
             "  1Yr    4.00      No storage needed\n",
             "  2Yr    4.00      1440.00*  4.00      4.00      171324    3.933\n",
             "  10Yr   4.00      1440.00*  8.00      8.00      516924    11.867\n",
             "  100Yr  4.00      1440.00*  14.00     17.50     1337724   30.710\n",
         }) {
        EXPECT_NE(text.find(row), std::string::npos) << row << "\n" << text;
    }
    EXPECT_NE(text.find("* The critical duration is the table's longest duration"),
              std::string::npos);
}

// A Tc past the table's 24 hours is one storm of Tc, said plainly, with no
// claim that the table's end was reached; and that storm's I and Qi read as
// the peak-flow table prints them: a 1-year cell of 0.835 in/hr is stored
// "0.8350" and printed 0.84 there, so 0.84 here too, not 0.83 from the
// single-precision 0.83499998.
TEST_F(ProjectDetentionTest, AStormOfTcPastTheTableIsSizedOnceAndShowsThePeakFlowTexts) {
    IntensityGrid grid = Grid(1);
    for (auto& row : grid) {
        row[0] = "0.835";
    }
    SaveIntensityTable(folder_.AppFolder(), "Tie", grid);
    BasinRow basin = Basin("2", "0.5");
    basin.Tc = "2000.0000";
    const std::string project = folder_.NewProjectFile("long.rmt");
    SaveProjectSetup(project, {"Long", "", "", "", "", ""}, "Pond", "Tie");
    InsertElementRow(project, basin);
    DetentionInputs inputs;
    inputs.release = 0.1;
    StoreDetentionInputs(project, inputs);

    const std::string text = WritePlainText(
        ComposeReport({project, folder_.AppFolder(), "Tie", {true, false, false}}).document);

    EXPECT_NE(text.find("Storm durations:   Tc (2000 min) only: Tc exceeds the table's longest "
                        "duration (1440 min)"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("in steps of"), std::string::npos);
    EXPECT_EQ(text.find("* The critical duration"), std::string::npos);
    EXPECT_NE(text.find("  1Yr    0.10      2000.00   0.84      0.84 "), std::string::npos) << text;
}

}  // namespace
}  // namespace torrenta
