#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "CliOutcome.h"
#include "TestFolder.h"
#include "store/ElementRows.h"

namespace torrenta {
namespace {

namespace fs = std::filesystem;
using test::ProcessOutcome;
using test::TestFolder;

const char* const kNotUtf8 =
    " is not UTF-8 text; enter it again from a program or terminal that "
    "uses UTF-8.\n";
const char* const kNotOneLine =
    " holds a TAB, a line break or another control character; enter it as one line of text.\n";

// Text that is not one line of UTF-8 is refused with exit 5 before anything
// is written: the project, the new project's file and intensity.mdb stay as
// they were. PROJECT stands for a set-up project, NEW for a file not yet made,
// IDF for a coefficients file.
TEST(CliText, RefusesTextThatIsNotOneLineOfUtf8) {
    TestFolder folder;
    const std::string project = folder.File("site.rmt");
    const std::string made = folder.File("made.rmt");
    const std::string idf = folder.File("idf.csv");
    test::WriteFileBytes(idf,
                         "1,120,0,1\n2,130,0,1\n5,140,0,1\n10,150,0,1\n25,160,0,1\n"
                         "50,170,0,1\n100,180,0,1\n");
    const auto cli = [&](std::vector<std::string> args) {
        for (auto& arg : args) {
            arg = arg == "PROJECT" ? project : arg == "NEW" ? made : arg == "IDF" ? idf : arg;
        }
        args.insert(args.begin(), {"--app-folder", folder.AppFolder()});
        return test::RunCliCaptured(args);
    };
    ASSERT_EQ(cli({"new", "PROJECT", "--node", "Outfall"}).code, kExitDone);

    const struct {
        const char* label;
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {"Latin-1 name",
         {"add", "shallow", "PROJECT", "--name", "Caf\xE9", "--length", "500", "--slope", "0.02"},
         std::string("The value of --name") + kNotUtf8},
        {"overlong sequence in a name",
         {"add", "channel", "PROJECT", "--name", "C\xC0\xAF", "--area", "10", "--wp", "8",
          "--slope", "0.005", "--length", "1000", "--n", "0.013"},
         std::string("The value of --name") + kNotUtf8},
        {"TAB in a name",
         {"add", "shallow", "PROJECT", "--name", "Lot\t7", "--length", "500", "--slope", "0.02"},
         std::string("The value of --name") + kNotOneLine},
        {"line feed in a land use",
         {"add", "overland", "PROJECT", "--name", "B", "--area", "3", "--slope", "0.02",
          "--land-use", "Lawn\nPark", "--c", "0.4", "--length", "150", "--n", "0.24"},
         std::string("The value of --land-use") + kNotOneLine},
        {"line feed in the node name",
         {"new", "NEW", "--node", "Out\nfall"},
         std::string("The value of --node") + kNotOneLine},
        {"surrogate in a project field",
         {"new", "NEW", "--node", "Outfall", "--engineer", "J\xED\xA0\x80"},
         std::string("The value of --engineer") + kNotUtf8},
        {"Latin-1 table for one solve",
         {"solve", "PROJECT", "--table", "M\xFCnchen"},
         std::string("The value of --table") + kNotUtf8},
        {"line feed in a table name",
         {"table-from-equation", "--name", "County\nEast", "--coefficients", "IDF"},
         std::string("The value of --name") + kNotOneLine},
        {"escape in a table name",
         {"table-from-equation", "--name", "County\x1B", "--coefficients", "IDF"},
         std::string("The value of --name") + kNotOneLine},
        {"blank table name",
         {"table-from-equation", "--name", "   ", "--coefficients", "IDF"},
         "An intensity table needs a name.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto before = test::FolderFingerprint(folder.AppFolder());
        const auto refused = cli(c.args);
        EXPECT_EQ(refused.code, kExitInvalidInput) << refused.out;
        EXPECT_EQ(refused.err, "torrenta-cli: " + c.message);
        EXPECT_EQ(test::FingerprintChanges(before, test::FolderFingerprint(folder.AppFolder())),
                  "");
    }
}

// A file written before input was checked may hold a name that is not UTF-8
// or holds a line break: the JSON carries U+FFFD for the bad byte, the solve
// succeeds, and the design check naming the element stays on one line.
TEST(CliText, JsonShowsStoredTextThatIsNotUtf8WithReplacementCharacters) {
    TestFolder folder;
    const std::string project = folder.File("old.rmt");
    const auto cli = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--app-folder", folder.AppFolder()});
        return test::RunCliCaptured(args);
    };
    ASSERT_EQ(cli({"new", project, "--node", "Outfall"}).code, kExitDone);
    ASSERT_EQ(
        cli({"add", "shallow", project, "--name", "S", "--length", "500", "--slope", "0.02"}).code,
        kExitDone);
    auto row = *LoadElementRow<SurfaceRow>(project, "Surface1");
    row.SurfName = "Swale\nCaf\xE9";
    row.SurfSlope = "0.6";  // steep enough for a design check
    UpdateElementRow(project, "Surface1", row);

    const auto solved = cli({"solve", project, "--json"});
    ASSERT_EQ(solved.code, kExitDone) << solved.err;
    const auto json = nlohmann::json::parse(solved.out);
    EXPECT_EQ(json["elements"]["shallow"][0]["SurfName"], "Swale\nCaf\uFFFD");
    EXPECT_EQ(solved.err.find("torrenta-cli: check SHALLOW-SLOPE"), 0u) << solved.err;
    std::istringstream lines(solved.err);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.rfind("torrenta-cli: check ", 0), 0u) << line;
    }
}

// Qt, loaded for --pdf, sets the process's locale from the environment. Under
// a locale whose decimal point is a comma every output still reads exactly as
// under the C locale: the JSON's numbers, the text report, the RTF file and
// the PDF's text.
TEST(CliText, OutputsAreTheSameUnderACommaDecimalLocale) {
    constexpr const char* kCommaLocale = "de_DE.UTF-8";
    const bool available = std::setlocale(LC_ALL, kCommaLocale) != nullptr;
    std::setlocale(LC_ALL, "C");
    if (!available) {
        GTEST_SKIP() << kCommaLocale << " is not installed (scripts/deps test generates it)";
    }
    if (!fs::exists("/usr/bin/pdftotext")) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    TestFolder folder;
    struct Outputs {
        std::string json, text, rtf, pdfText;
    };
    const auto run = [&](const std::string& locale) {
        const std::string project = folder.File(locale + ".rmt");
        const std::string rtf = folder.File(locale + ".rtf");
        const std::string pdf = folder.File(locale + ".pdf");
        fs::copy_file(TORRENTA_SAMPLE, project);
        setenv("LC_ALL", locale.c_str(), 1);
        const std::vector<std::string> solve = {"--app-folder", folder.AppFolder(), "solve",
                                                project};
        std::vector<std::string> json = solve;
        json.insert(json.end(), {"--pdf", pdf, "--json"});
        const ProcessOutcome jsonRun = test::RunProgram(TORRENTA_CLI, json);
        std::vector<std::string> text = solve;
        text.insert(text.end(), {"--pdf", pdf, "--rtf", rtf});
        const ProcessOutcome textRun = test::RunProgram(TORRENTA_CLI, text);
        unsetenv("LC_ALL");
        EXPECT_EQ(jsonRun.code, kExitDone) << locale << ": " << jsonRun.err;
        EXPECT_EQ(textRun.code, kExitDone) << locale << ": " << textRun.err;
        const ProcessOutcome pdfText = test::RunProgram("/usr/bin/pdftotext", {pdf, "-"});
        return Outputs{jsonRun.out, textRun.out, test::ReadFileBytes(rtf), pdfText.out};
    };
    const Outputs c = run("C");
    const Outputs comma = run(kCommaLocale);
    // Every digit the solver computed, not what a comma locale leaves of it.
    const double intensity = nlohmann::json::parse(c.json)["results"][0]["intensity"];
    EXPECT_NE(intensity, std::floor(intensity));
    EXPECT_EQ(comma.json, c.json);
    EXPECT_EQ(comma.text, c.text);
    EXPECT_EQ(comma.rtf, c.rtf);
    EXPECT_FALSE(c.pdfText.empty());
    EXPECT_EQ(comma.pdfText, c.pdfText);
}

}  // namespace
}  // namespace torrenta
