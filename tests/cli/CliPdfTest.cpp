#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "CliOutcome.h"
#include "TestFolder.h"

namespace torrenta {
namespace {

using test::ProcessOutcome;
using test::TestFolder;

// What a tool printed, or "" when it could not run.
std::string ToolOutput(const std::string& program, const std::vector<std::string>& args) {
    const ProcessOutcome outcome = test::RunProgram(program, args);
    return outcome.exited && outcome.code == 0 ? outcome.out : "";
}

// The words of a report; a run of hyphens (how the text report draws an
// underline, and the report's own separator line) separates words.
std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(std::regex_replace(text, std::regex("-{2,}"), " "));
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

std::string InfoLine(const std::string& info, const std::string& key) {
    const std::size_t at = info.find(key);
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t end = info.find('\n', at);
    std::string value = info.substr(at + key.size(), end - at - key.size());
    return value.erase(0, value.find_first_not_of(' '));
}

class CliPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists("/usr/bin/pdftotext")) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        }
        std::filesystem::copy_file(TORRENTA_SAMPLE, project_);
    }

    ProcessOutcome Solve(const std::vector<std::string>& extra) {
        std::vector<std::string> args = {"--app-folder", folder_.AppFolder(), "solve", project_};
        args.insert(args.end(), extra.begin(), extra.end());
        return test::RunProgram(TORRENTA_CLI, args);
    }

    TestFolder folder_;
    std::string project_ = folder_.File("sample.rmt");
};

// With no display at all, and a desktop platform asked for in the
// environment, --pdf still writes the report: the words of the printed text,
// on Letter pages footed with the project and the page number, beside the
// same report on stdout.
TEST_F(CliPdf, WritesTheReportOnLetterPagesWithoutADisplay) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    const std::string pdf = folder_.File("sample.pdf");
    const ProcessOutcome withPdf = Solve({"--pdf", pdf});
    unsetenv("QT_QPA_PLATFORM");
    ASSERT_TRUE(withPdf.exited);
    ASSERT_EQ(withPdf.code, kExitDone) << withPdf.err;
    EXPECT_EQ(withPdf.err, "");  // the sample needs no second look
    EXPECT_EQ(withPdf.out, Solve({}).out);

    const std::string info = ToolOutput("/usr/bin/pdfinfo", {pdf});
    EXPECT_EQ(InfoLine(info, "Page size:"), "612 x 792 pts (letter)") << info;
    EXPECT_EQ(InfoLine(info, "Title:"), "Maple Ridge Subdivision \u2014 Torrenta report");
    const std::string text = ToolOutput("/usr/bin/pdftotext", {"-layout", pdf, "-"});
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(InfoLine(info, "Pages:"), "2");

    // Every page ends with its footer; the rest is the report's own words.
    std::string body;
    std::istringstream pages(text);
    int page = 0;
    for (std::string sheet; std::getline(pages, sheet, '\f') && !Words(sheet).empty();) {
        ++page;
        const std::size_t lastLine = sheet.find_last_not_of('\n');
        const std::size_t footerStart = sheet.rfind('\n', lastLine) + 1;
        EXPECT_EQ(Words(sheet.substr(footerStart)),
                  Words("Maple Ridge Subdivision Job Number: MR-2026-014 Page " +
                        std::to_string(page) + " of 2"));
        body += sheet.substr(0, footerStart);
    }
    EXPECT_EQ(page, 2);
    EXPECT_EQ(Words(body), Words(withPdf.out));
}

// Where the file cannot be written the reason is given and nothing is left
// behind; where the plugin is missing, the command says so.
TEST_F(CliPdf, FailuresNameTheirReason) {
    const std::string unwritable = folder_.File("no-such-folder") + "/r.pdf";
    const ProcessOutcome outcome = Solve({"--pdf", unwritable});
    EXPECT_EQ(outcome.code, kExitInvalidInput);
    EXPECT_EQ(outcome.err,
              "torrenta-cli: Cannot write \"" + unwritable + "\": No such file or directory.\n");

    const std::filesystem::path nowhere = folder_.File("empty-folder");
    std::filesystem::create_directory(nowhere);
    const test::CliOutcome missing = test::RunCliCaptured(
        {"--app-folder", folder_.AppFolder(), "solve", project_, "--pdf", folder_.File("x.pdf")},
        nowhere.string());
    EXPECT_EQ(missing.code, kExitProjectFile);
    EXPECT_NE(missing.err.find("PDF output is not available"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(folder_.File("x.pdf")));
}

}  // namespace
}  // namespace torrenta
