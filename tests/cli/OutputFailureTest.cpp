#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "TestFolder.h"

namespace torrenta {
namespace {

using test::TestFolder;

// Standard output on a full disk or a closed pipe: every write fails. It
// holds nothing, so flushing nothing succeeds.
class RefusingBuffer : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

struct OutputCase {
    const char* label;
    std::vector<std::string> args;  // APP stands for the test folder, SITE for a solved project
    int code;                       // kExitDone: the command prints nothing
    const char* change = "";        // what a command that changed a file says it changed
};

std::vector<std::string> Substituted(const std::vector<std::string>& args,
                                     const TestFolder& folder) {
    std::vector<std::string> result = {"--app-folder", folder.AppFolder()};
    for (std::string arg : args) {
        if (arg == "SITE") {
            arg = folder.File("site.rmt");
        } else if (arg.rfind("APP/", 0) == 0) {
            arg = folder.File(arg.substr(4));
        }
        result.push_back(arg);
    }
    return result;
}

const std::string kRainfall =
    std::string(TORRENTA_NOAA_FOLDER) + "/PF_Intensity_English_PDS_Bentonville_AR.csv";

// Each command that prints something fails when what it printed could not
// be written, with a message on standard error; one that prints nothing
// still succeeds.
TEST(OutputFailure, EveryCommandFailsWhenItsOutputIsLost) {
    const std::vector<OutputCase> cases = {
        {"tables", {"tables"}, kExitOutput},
        {"table", {"table", "Atlanta"}, kExitOutput},
        {"new", {"new", "APP/new.rmt", "--node=Outfall"}, kExitDone},
        {"add overland",
         {"add", "overland", "SITE", "--name=B", "--area=2", "--slope=0.02", "--land-use=Lawn",
          "--c=0.3", "--length=100", "--n=0.24"},
         kExitOutput,
         "added Basin"},
        {"add shallow",
         {"add", "shallow", "SITE", "--name=S", "--length=500", "--slope=0.02"},
         kExitOutput,
         "added Surface"},
        {"add channel",
         {"add", "channel", "SITE", "--name=C", "--area=10", "--wp=8", "--slope=0.005",
          "--length=1000", "--n=0.013"},
         kExitOutput,
         "added Channel"},
        {"list", {"list", "SITE"}, kExitOutput},
        {"solve", {"solve", "SITE"}, kExitOutput},
        {"solve --json", {"solve", "SITE", "--json"}, kExitOutput},
        {"detention", {"detention", "SITE", "--release=2"}, kExitOutput},
        {"detention --clear", {"detention", "SITE", "--clear"}, kExitDone},
        {"import-noaa",
         {"import-noaa", kRainfall, "--name=Bentonville"},
         kExitOutput,
         "saved the intensity table \"Bentonville\""},
        {"set-table",
         {"set-table", "SITE", "Atlanta"},
         kExitOutput,
         "made \"Atlanta\" the intensity table of"},
        {"detention --store",
         {"detention", "SITE", "--release=2", "--store"},
         kExitOutput,
         "stored the detention inputs"},
        {"table-from-equation",
         {"table-from-equation", "--name=County", "--coefficients", "APP/idf.csv"},
         kExitOutput,
         "saved the intensity table \"County\""},
        {"--help", {"--help"}, kExitOutput},
    };
    for (const OutputCase& c : cases) {
        SCOPED_TRACE(c.label);
        TestFolder folder;
        test::MakeSampleProject(folder.AppFolder(), folder.File("site.rmt"));
        test::WriteFileBytes(folder.File("idf.csv"),
                             "1,120,0,1\n2,130,0,1\n5,140,0,1\n10,150,0,1\n25,160,0,1\n"
                             "50,170,0,1\n100,180,0,1\n");
        RefusingBuffer refusing;
        std::ostream out(&refusing);
        std::ostringstream err;
        const int code = RunCli(Substituted(c.args, folder), "", out, err);
        EXPECT_EQ(code, c.code) << err.str();
        const bool told =
            err.str().find("torrenta-cli: cannot write the output\n") != std::string::npos;
        EXPECT_EQ(told, c.code != kExitDone) << err.str();
        // A change made is said, so the engineer does not make it twice.
        const std::string made = "the change was made all the same: ";
        EXPECT_EQ(err.str().find(made + c.change) != std::string::npos, *c.change != '\0')
            << err.str();
    }
}

// The program itself, its standard output on a full device: the reason is
// the system's.
TEST(OutputFailure, TheProgramOnAFullDeviceSaysSo) {
    TestFolder folder;
    test::MakeSampleProject(folder.AppFolder(), folder.File("site.rmt"));
    const std::vector<std::vector<std::string>> commands = {
        {"solve", "SITE"},
        {"table", "Atlanta"},
        {"tables"},
        {"import-noaa", kRainfall, "--name=Bentonville", "--replace"},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.front());
        std::string line = TORRENTA_CLI;
        for (const std::string& arg : Substituted(command, folder)) {
            line += " '" + arg + "'";
        }
        const std::string errFile = folder.File("err.txt");
        const int status = std::system((line + " > /dev/full 2> '" + errFile + "'").c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), kExitOutput);
        EXPECT_EQ(test::ReadFileBytes(errFile).substr(0, 63),
                  "torrenta-cli: cannot write the output: No space left on device\n");
    }
}

}  // namespace
}  // namespace torrenta
