#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "CliOutcome.h"
#include "TestFolder.h"
#include "intensity/IntensityDatabase.h"

namespace torrenta {
namespace {

using test::TestFolder;

const std::string kBentonville =
    std::string(TORRENTA_NOAA_FOLDER) + "/PF_Intensity_English_PDS_Bentonville_AR.csv";
const std::string kNashville =
    std::string(TORRENTA_NOAA_FOLDER) + "/All_Depth_English_PDS_Nashville_TN.csv";
const std::string kWasco =
    std::string(TORRENTA_NOAA_FOLDER) + "/UCL_Depth_English_PDS_Wasco_CA.csv";

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Replaced(const std::string& text, const std::string& from, const std::string& to) {
    return std::regex_replace(text, std::regex(from), to);
}

TEST(CliRainfall, ImportNoaaCreatesPrintsAndReplacesTables) {
    TestFolder folder;
    const auto app = folder.AppFolder();
    const auto created = test::RunCliCaptured(
        {"--app-folder", app, "import-noaa", kBentonville, "--name", "Bentonville AR"});
    EXPECT_EQ(created.code, kExitDone) << created.err;
    EXPECT_EQ(created.out,
              test::RunCliCaptured({"--app-folder", app, "table", "Bentonville AR"}).out);
    EXPECT_NE(created.out.find("5 min       4.800    5.500    6.620    7.570    8.900    9.940    "
                               "11.00"),
              std::string::npos)
        << created.out;

    const auto clash = test::RunCliCaptured(
        {"--app-folder", app, "import-noaa", kNashville, "--name", "bentonville ar"});
    EXPECT_EQ(clash.code, kExitIntensity);
    EXPECT_NE(clash.err.find("already holds a table named \"Bentonville AR\""), std::string::npos);

    const auto replaced =
        test::RunCliCaptured({"--app-folder", app, "import-noaa", kNashville, "--name",
                              "Bentonville AR", "--bound", "upper", "--replace"});
    EXPECT_EQ(replaced.code, kExitDone) << replaced.err;
    EXPECT_EQ(ReadIntensityGrid(app, "Bentonville AR")[9][1], "0.1496");  // 3.59 in / 24 hr
    EXPECT_NE(IntensityTableSource(app, "Bentonville AR").find("upper bound"), std::string::npos);
    EXPECT_EQ(ListIntensityTables(app), (std::vector<std::string>{"Atlanta", "Bentonville AR"}));
}

// A refused file or name is said on stderr with exit 5 and the intensity
// database is not touched at all.
TEST(CliRainfall, RefusedImportsLeaveTheDatabaseAsItWas) {
    TestFolder folder;
    const std::string raw = test::ReadFileBytes(kBentonville);
    const std::string amsHeader =
        "by duration for AEP:, '1/2,'1/5,'1/10,'1/25,'1/50,'1/100,'1/200,'1/500,'1/1000";
    const struct {
        std::string bytes;
        std::vector<std::string> extra;
        const char* message;
    } cases[] = {
        {Replaced(Replaced(raw, "Partial duration", "Annual maximum"),
                  "by duration for ARI \\(years\\):[^\n]*", amsHeader),
         {},
         "annual maximum series"},
        {Replaced(raw, "by duration for ARI \\(years\\):[^\n]*", amsHeader), {}, "partial"},
        {"Name,Value\nrain,3\n", {}, "is not a NOAA Atlas 14 precipitation frequency file"},
        {Replaced(raw, "\n2-hr:[^\n]*", ""), {}, "has no 2-hr row in its estimates"},
        {Replaced(raw, ",25,50,", ",20,50,"), {}, "has no 25-year column"},
        {Replaced(raw, "0\\.843", "abc"), {}, "the 2-hr, 1-year value \"abc\" is not a positive"},
        {Replaced(raw, "0\\.843", "0"), {}, "is not a positive number"},
        {Replaced(raw, "0\\.843", "-0.843"), {}, "is not a positive number"},
        {raw + std::string(1024 * 1024, ' '), {}, "larger than 1 MB"},
        {raw.substr(0, 40) + std::string(1, '\0') + raw.substr(40), {}, "not text"},
        {Replaced(raw, "inches/hour", "furlongs"), {}, "\"furlongs\""},
        {raw, {"--bound", "upper"}, "has no block of the upper bound"},
        {raw.substr(0, raw.find("0.158")) + "0.1",
         {},
         "line 24: the 24-hr row of the estimates has 2 values where the heading (line 14) names "
         "10"},
        {test::ReadFileBytes(kWasco),
         {},
         "download.csv holds no estimates, only the upper bound of the 90% confidence interval: "
         "it makes a table only when that bound is chosen. Give --bound upper to take it."},
        {test::ReadFileBytes(kWasco), {"--bound", "lower"}, "has no block of the lower bound"},
        {Replaced(test::ReadFileBytes(kNashville), "PRECIPITATION FREQUENCY ESTIMATES\n(.*\n)*?\n",
                  ""),
         {},
         "download.csv holds no estimates, only the upper bound of the 90% confidence interval "
         "and the lower bound of the 90% confidence interval: it makes a table only when one of "
         "them is chosen. Give --bound upper or --bound lower to take one."},
        {raw, {"--replace"}, "list of intensity tables"},
    };
    const std::string file = folder.File("download.csv");
    const std::string database = folder.File("intensity.mdb");
    const std::string before = test::ReadFileBytes(database);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Write(file, c.bytes);
        // The catalogue's own name is no table name, whatever the file.
        const bool badName = c.extra.size() == 1;
        std::vector<std::string> args = {"--app-folder", folder.AppFolder(),
                                         "import-noaa",  file,
                                         "--name",       badName ? "basinname" : "Refused"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const auto outcome = test::RunCliCaptured(args);
        EXPECT_EQ(outcome.code, kExitInvalidInput);
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_TRUE(outcome.out.empty()) << outcome.out;
        EXPECT_EQ(test::ReadFileBytes(database), before);
    }
    const auto missing = test::RunCliCaptured({"--app-folder", folder.AppFolder(), "import-noaa",
                                               folder.File("none.csv"), "--name", "X"});
    EXPECT_EQ(missing.code, kExitInvalidInput);
    EXPECT_EQ(test::ReadFileBytes(database), before);
}

// Intensities in the wrong order are stored, and said on standard error;
// a bound chosen explicitly imports without a word.
TEST(CliRainfall, TablesInTheWrongOrderAreStoredWithAWarning) {
    TestFolder folder;
    const std::string download = folder.File("download.csv");
    Write(download, Replaced(test::ReadFileBytes(kBentonville), "0\\.236", "0.400"));
    const std::string coefficients = folder.File("idf.csv");
    Write(coefficients,
          "1,120,0,1\n2,130,0,1\n5,140,0,1\n10,150,0,1\n25,160,0,1\n50,170,0,1\n100,175,0.2,1\n");
    const struct {
        std::vector<std::string> args;
        const char* cell;
        std::string warnings;
    } cases[] = {
        {{"import-noaa", download, "--name", "Uneven"},
         "0.4000",
         "torrenta-cli: warning: The 1-year intensity rises from 0.3910 in/hr at 6 hr to 0.4000 "
         "in/hr at 12 hr.\ntorrenta-cli: warning: The 12-hr intensity falls from 0.4000 in/hr "
         "(1-year) to 0.2650 in/hr (2-year).\n"},
        {{"table-from-equation", "--name", "Uneven", "--coefficients", coefficients},
         "0.1667",
         "torrenta-cli: warning: The 5-min intensity falls from 34.00 in/hr (50-year) to 33.65 "
         "in/hr (100-year).\n"},
        {{"import-noaa", kWasco, "--name", "Uneven", "--bound", "upper"}, "0.06742", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        std::vector<std::string> args = {"--app-folder", folder.AppFolder()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back("--replace");
        const auto outcome = test::RunCliCaptured(args);
        EXPECT_EQ(outcome.code, kExitDone) << outcome.err;
        EXPECT_EQ(outcome.err, c.warnings);
        EXPECT_EQ(ReadIntensityGrid(folder.AppFolder(), "Uneven")[8][0], c.cell);
    }
}

TEST(CliRainfall, TableFromEquationWritesTheTenDurations) {
    TestFolder folder;
    const std::string coefficients = folder.File("idf.csv");
    Write(coefficients,
          "period,b,d,e\n1,120,0,1\n2,130,0,1\n5,140,0,1\n10,150,0,1\n25,160,0,1\n50,170,0,1\n"
          "100,180,0,1\n");
    const auto made =
        test::RunCliCaptured({"--app-folder", folder.AppFolder(), "table-from-equation", "--name",
                              "County", "--coefficients", coefficients});
    EXPECT_EQ(made.code, kExitDone) << made.err;
    EXPECT_NE(made.out.find("1 hr        2.000    2.167    2.333    2.500    2.667    2.833    "
                            "3.000"),
              std::string::npos)
        << made.out;
    EXPECT_NE(IntensityTableSource(folder.AppFolder(), "County").find("100 yr: b 180, d 0, e 1"),
              std::string::npos);

    const std::string before = test::ReadFileBytes(folder.File("intensity.mdb"));
    Write(coefficients, "1,120,0,1\n");
    const auto refused =
        test::RunCliCaptured({"--app-folder", folder.AppFolder(), "table-from-equation", "--name",
                              "Other", "--coefficients", coefficients});
    EXPECT_EQ(refused.code, kExitInvalidInput);
    EXPECT_NE(refused.err.find("nothing for the 2-year"), std::string::npos) << refused.err;
    EXPECT_EQ(test::ReadFileBytes(folder.File("intensity.mdb")), before);
}

}  // namespace
}  // namespace torrenta
