#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

using Outcome = test::CliOutcome;

TEST(Cli, ListsAndPrintsIntensityTables) {
    TestFolder folder;
    IntensityGrid grid;
    for (auto& row : grid) {
        row = {"1", "2", "3", "4", "5", "6", "7"};
    }
    SaveIntensityTable(folder.AppFolder(), "O'Brien's \"Lot\"", grid);

    const Outcome list = test::RunCliCaptured({"tables", "--app-folder", folder.AppFolder()});
    EXPECT_EQ(list.code, kExitDone);
    EXPECT_EQ(list.out, "Atlanta\nO'Brien's \"Lot\"\n");

    const Outcome table =
        test::RunCliCaptured({"--app-folder", folder.AppFolder(), "table", "Atlanta"});
    EXPECT_EQ(table.code, kExitDone) << table.err;
    EXPECT_NE(
        table.out.find("5 min        5.30     6.14     7.20     8.02     9.08     9.86     10.6"),
        std::string::npos)
        << table.out;
    EXPECT_NE(
        table.out.find("24 hr       0.130    0.155    0.193    0.225    0.267    0.290    0.311"),
        std::string::npos)
        << table.out;
}

TEST(Cli, ReportsProblemsOnStderrWithTheirExitCodes) {
    TestFolder folder;
    const struct {
        std::vector<std::string> args;
        int code;
        std::string message;
    } cases[] = {
        {{}, kExitUsage, "A subcommand is required\nRun with --help for more information.\n"},
        {{"table"}, kExitUsage, "NAME is required\nRun with --help for more information.\n"},
        // A word that names no command leaves the command missing.
        {{"frobnicate"},
         kExitUsage,
         "A subcommand is required\nRun with --help for more information.\n"},
        {{"table", "Nowhere", "--app-folder", folder.AppFolder()},
         kExitIntensity,
         "torrenta-cli: The intensity table \"Nowhere\" does not exist in the intensity "
         "database.\n"},
        {{"tables", "--app-folder", folder.File("no-such-folder")},
         kExitIntensity,
         "torrenta-cli: Cannot open the intensity database \"" +
             folder.File("no-such-folder/intensity.mdb") + "\": the file does not exist.\n"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = test::RunCliCaptured(c.args);
        EXPECT_EQ(outcome.code, c.code) << outcome.err;
        EXPECT_EQ(outcome.err, c.message);
        EXPECT_TRUE(c.code == kExitUsage || outcome.out.empty()) << outcome.out;
    }
}

TEST(Cli, TheBuiltProgramFindsItsDatabasesBesideItself) {
    TestFolder folder;
    const std::string out = folder.File("out.txt");
    const std::string command = std::string(TORRENTA_CLI) + " tables > " + out + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << test::ReadFileBytes(out);
    EXPECT_EQ(test::ReadFileBytes(out), "Atlanta\n");
}

}  // namespace
}  // namespace torrenta
