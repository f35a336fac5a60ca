#include <gtest/gtest.h>

#include <SQLiteCpp/Database.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "CliApp.h"
#include "CliOutcome.h"
#include "TableFixture.h"
#include "TestFolder.h"

namespace torrenta {
namespace {

using test::TestFolder;

// Projects made through the command line on the shipped Atlanta table
// (P2 = 24 x 0.155 = 3.72 in) and on other tables of the same folder.
class CliTableChange : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteTableWithP2(folder_.AppFolder(), "Nashville TN", "0.1404");
        test::WriteTableWithP2(folder_.AppFolder(), "High Plains", "0.09");
    }

    test::CliOutcome Cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--app-folder", folder_.AppFolder()});
        return test::RunCliCaptured(args);
    }

    // Two overland areas and a swale; Tc calculated with the table's P2.
    std::string Project(const std::string& name, const std::string& table) {
        const std::string project = folder_.File(name);
        EXPECT_EQ(Cli({"new", project, "--node", "Outfall", "--table", table, "--project-name",
                       "Mill Creek", "--design-date", "3/14/2026"})
                      .code,
                  kExitDone);
        for (const auto& [basin, slope, n] :
             {std::tuple{"Parking Lot North", "0.005", "0.011"}, {"Back Lawn", "0.02", "0.24"}}) {
            EXPECT_EQ(Cli({"add", "overland", project, "--name", basin, "--area", "2", "--slope",
                           slope, "--land-use", "Lawn", "--c", "0.5", "--length", "150", "--n", n})
                          .code,
                      kExitDone);
        }
        EXPECT_EQ(Cli({"add", "shallow", project, "--name", "Swale", "--length", "300", "--slope",
                       "0.02"})
                      .code,
                  kExitDone);
        return project;
    }

    // Every stored row but the results row, the one a solve rewrites.
    static std::string Contents(const std::string& project) {
        SQLite::Database db(project);
        std::string text;
        for (const char* table : {"TblProjectInfo", "TblNodeInfo", "TblBasinInfo", "TblSurfaceInfo",
                                  "TblChannelInfo"}) {
            SQLite::Statement query(db, std::string("SELECT * FROM ") + table);
            while (query.executeStep()) {
                for (int k = 0; k < query.getColumnCount(); ++k) {
                    text += query.getColumn(k).getString() + "|";
                }
                text += "\n";
            }
        }
        return text;
    }

    TestFolder folder_;
};

// set-table puts a project where one built on that table from the start is:
// the same stored Tc and the same report. Back Lawn (n 0.24, L 150, S 0.02)
// under Nashville TN, P2 = 3.3696 in: 0.42 x 36^0.8 / (3.3696^0.5 x 0.02^0.4)
// = 0.42 x 17.584 / (1.8357 x 0.20913) = 19.2349 min.
TEST_F(CliTableChange, SetTableGivesTheTcAndReportOfAProjectBuiltOnTheTable) {
    struct Case {
        const char* table;
        const char* sentence;
        const char* backLawnTc;
    };
    const Case cases[] = {
        {"Nashville TN",
         "Sheet-flow travel times of 2 overland areas were recalculated with the 2-year 24-hour "
         "rainfall of Nashville TN (3.37 in).\n",
         "19.2349"},
        {"High Plains",
         "Sheet-flow travel times of 2 overland areas were recalculated with the 2-year 24-hour "
         "rainfall of High Plains (2.16 in).\n",
         "24.0244"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        const std::string switched = Project(std::string("switched ") + c.table, "Atlanta");
        const std::string built = Project(std::string("built ") + c.table, c.table);

        const auto set = Cli({"set-table", switched, c.table});
        EXPECT_EQ(set.code, kExitDone) << set.err;
        EXPECT_EQ(set.out, c.sentence);
        const auto list = Cli({"list", switched});
        EXPECT_EQ(list.out, Cli({"list", built}).out);
        EXPECT_NE(list.out.find(std::string("Back Lawn\t") + c.backLawnTc), std::string::npos)
            << list.out;
        const auto report = Cli({"solve", switched});
        EXPECT_EQ(report.out, Cli({"solve", built}).out);
        EXPECT_EQ(report.err, "");
    }
    const std::string project = Project("unknown.rmt", "Atlanta");
    const std::string before = Contents(project);
    const auto unknown = Cli({"set-table", project, "Memphis"});
    EXPECT_EQ(unknown.code, kExitIntensity);
    EXPECT_EQ(unknown.err,
              "torrenta-cli: The intensity table \"Memphis\" does not exist in the intensity "
              "database.\n");
    EXPECT_EQ(Contents(project), before);
}

// A Tc given with --tc, even in Calculate's own form, is the engineer's: a
// solve on another table and set-table keep it, and set-table says so.
TEST_F(CliTableChange, ATypedTcIsKeptBySolveOnAnotherTableAndBySetTable) {
    const std::string project = folder_.File("typed.rmt");
    ASSERT_EQ(Cli({"new", project, "--node", "Outfall"}).code, kExitDone);
    ASSERT_EQ(Cli({"add", "overland", project, "--name", "Lot", "--area", "1", "--slope", "0.02",
                   "--land-use", "Lawn", "--c", "0.5", "--length", "100", "--n", "0.24", "--tc",
                   "30.0000"})
                  .code,
              kExitDone);
    const auto json =
        nlohmann::json::parse(Cli({"solve", project, "--table", "Nashville TN", "--json"}).out);
    EXPECT_EQ(json.dump().find("19."), std::string::npos);
    EXPECT_NE(json.dump().find("30"), std::string::npos) << json.dump();
    const auto set = Cli({"set-table", project, "Nashville TN"});
    EXPECT_EQ(set.code, kExitDone) << set.err;
    EXPECT_EQ(set.out, "Kept the typed Tc of 1 overland area: Lot (30.0000 min).\n");
    EXPECT_NE(Cli({"list", project}).out.find("Lot\t30.0000"), std::string::npos);
}

// The project's table rewritten under it (another P2): every output of solve
// says so, numbers untouched, until recalc stores what the inputs give.
TEST_F(CliTableChange, ATableChangedUnderTheProjectIsQueriedUntilRecalc) {
    const std::string project = Project("site.rmt", "Atlanta");
    test::WriteTableWithP2(folder_.AppFolder(), "Atlanta", "0.1404");
    const std::string before = Contents(project);
    const std::string finding =
        "TC-RAINFALL: Overland flow area \"Back Lawn\": stored Tc 18.3066 min, but its inputs "
        "give 19.2349 min with the 2-year 24-hour rainfall P2 3.37 in.";

    struct Case {
        const char* name;
        std::vector<std::string> args;
        bool queriedOnOut;
    };
    const Case cases[] = {
        {"report", {"solve", project}, true},
        {"json", {"solve", project, "--json"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto solved = Cli(c.args);
        EXPECT_EQ(solved.code, kExitDone);
        EXPECT_NE(solved.err.find("torrenta-cli: check " + finding), std::string::npos)
            << solved.err;
        if (c.queriedOnOut) {
            EXPECT_NE(solved.out.find("Design Checks"), std::string::npos);
            EXPECT_NE(solved.out.find("Overland flow area \"Back Lawn\": stored Tc 18.3066 min"),
                      std::string::npos);
        } else {
            std::vector<std::string> codes;
            const nlohmann::json solution = nlohmann::json::parse(solved.out);
            for (const auto& check : solution["checks"]) {
                codes.push_back(check["code"].get<std::string>() + " " +
                                check["element"].get<std::string>());
            }
            EXPECT_EQ(codes,
                      (std::vector<std::string>{"TC-RAINFALL Basin1", "TC-RAINFALL Basin2"}));
        }
        EXPECT_EQ(Contents(project), before);
    }

    const auto recalc = Cli({"recalc", project});
    EXPECT_EQ(recalc.code, kExitDone) << recalc.err;
    EXPECT_EQ(recalc.out,
              "Basin1\tParking Lot North\t2.7063\t2.8435\n"
              "Basin2\tBack Lawn\t18.3066\t19.2349\n");
    const auto after = Cli({"solve", project, "--json"});
    EXPECT_EQ(after.err, "");
    EXPECT_TRUE(nlohmann::json::parse(after.out)["checks"].empty());
    EXPECT_EQ(Cli({"recalc", project}).out, "No travel time changed.\n");
}

// solve --table: the run's sheet-flow times come from that table's rainfall,
// so its report is the one of a project built on it, and nothing but the
// results row is written.
TEST_F(CliTableChange, SolveOnAnotherTableIsOnItsRainfallAndStoresNoTc) {
    const std::string project = Project("site.rmt", "Atlanta");
    const std::string built = Project("built.rmt", "Nashville TN");
    const std::string before = Contents(project);

    const auto other = Cli({"solve", project, "--table", "Nashville TN"});
    EXPECT_EQ(other.code, kExitDone);
    EXPECT_EQ(other.out, Cli({"solve", built}).out);
    EXPECT_EQ(other.err, "");
    const auto json =
        nlohmann::json::parse(Cli({"solve", project, "--table", "Nashville TN", "--json"}).out);
    EXPECT_EQ(json["elements"]["overland"][1]["Tc"], "19.2349");
    EXPECT_EQ(Contents(project), before);
}

}  // namespace
}  // namespace torrenta
