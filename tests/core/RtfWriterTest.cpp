#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <regex>
#include <string>

#include "TestFolder.h"
#include "report/ReportComposer.h"
#include "report/RichText.h"
#include "report/RtfWriter.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"

namespace torrenta {
namespace {

const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\n"
    "\\paperw12240\\paperh15840\\margl450\\margr360\\margt360\\margb360\\deftab720\\uc1";
const std::string kPlainParagraph = "\\pard\\li0\\fi0\\ri0\\plain\\f0\\fs24\\cf1";

RichDocument Build(std::string_view text) {
    RichTextBuilder builder;
    builder.Append(text);
    return builder.Take();
}

struct EscapeCase {
    const char* text;
    const char* rtf;  // what follows the first run's character formatting
};

TEST(RtfWriter, EscapesSpecialAndNonAsciiCharacters) {
    const EscapeCase cases[] = {
        {"{", "\\{"},
        {"}", "\\}"},
        {"\\", "\\\\"},
        {"\\par{x}", "\\\\par\\{x\\}"},
        {"\xC3\xA9", "\\u233?"},                             // é
        {"\xC3\x98", "\\u216?"},                             // Ø
        {"\xC3\xBF", "\\u255?"},                             // ÿ
        {"\xE2\x82\xAC", "\\u8364?"},                        // €
        {"\xE6\x97\xA5\xE6\x9C\xAC", "\\u26085?\\u26412?"},  // 日本
        {"\xE8\x80\x80", "\\u-32768?"},                      // U+8000, the first negative one
        {"\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"},         // 😀 as a surrogate pair
        {"\xC3\xA9t\xC3\xA9", "\\u233?t\\u233?"},
        {"\xFF-", "\\u-3?-"},  // broken UTF-8 stands in as U+FFFD
        {"\xC3", "\\u-3?"},
        {"\"quote\"", " \"quote\""},
        {"O'Brien", " O'Brien"},
        {"-5", " -5"},  // would otherwise be read as \cf1-5
        {" lead", "  lead"},
        {"a\tb", " a\\tab b"},
        {"\t{", "\\tab\\{"},
        {"x\x01y\x1Bz\x7F", " xyz"},  // control characters dropped
        {"\xC2\x85x", " x"},          // so is a C1 control
        {"\xC2\x9Fx", " x"},          // up to the last, U+009F
        {"\xC2\xA0x", "\\u160?x"},    // the no-break space after them is text
    };
    for (const auto& c : cases) {
        const std::string rtf = WriteRtf(Build(c.text));
        EXPECT_EQ(rtf, kHeader + kPlainParagraph + c.rtf + "}") << c.text;
    }
}

struct SizeCase {
    double points;
    const char* control;
};

TEST(RtfWriter, WritesSizesInRoundedHalfPoints) {
    const SizeCase cases[] = {
        {12, "\\fs24\\cf1 "},   {10.5, "\\fs21\\cf1 "},   {10.25, "\\fs21\\cf1 "},
        {9.74, "\\fs19\\cf1 "}, {8, "\\fs16\\cf1 "},      {0, "\\fs1\\cf1 "},
        {-3, "\\fs1\\cf1 "},    {5000, "\\fs3276\\cf1 "},
    };
    for (const auto& c : cases) {
        RichTextBuilder builder;
        builder.SetSize(c.points);
        builder.Append("x");
        EXPECT_NE(WriteRtf(builder.Document()).find(c.control), std::string::npos) << c.points;
    }
}

TEST(RtfWriter, WritesParagraphsWithTheirOwnFormatAndOnlyChangedCharacterProperties) {
    RichTextBuilder builder;
    builder.SetIndents(200, 300, 200);
    builder.SetTabStops({1440, 2880});
    builder.SetSize(10.5);
    builder.SetBold(true);
    builder.Append("Q\t");
    builder.SetBold(false);
    builder.Append("12.5\r\n");
    builder.SetIndents(0, 0, 0);
    builder.SetTabStops({});
    builder.SetUnderline(true);
    builder.Append("\t\t");
    builder.SetUnderline(false);
    builder.SetColor(kPureBlue);
    builder.Append("blue\r");
    builder.SetColor(0x808080);
    builder.SetItalic(true);
    builder.Append("grey\n");
    builder.SetColor(kPureBlue);
    builder.SetSize(12);
    builder.Append("x");

    EXPECT_EQ(WriteRtf(builder.Document()),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n"
              "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;"
              "\\red128\\green128\\blue128;}\n"
              "\\paperw12240\\paperh15840\\margl450\\margr360\\margt360\\margb360\\deftab720"
              "\\uc1\\pard\\li500\\fi-300\\ri200\\tx1440\\tx2880"
              "\\plain\\f0\\fs21\\cf1\\b Q\\tab\\b0 12.5\\par\n"
              "\\pard\\li0\\fi0\\ri0\\ul\\tab\\tab\\cf2\\ulnone blue\\par\n"
              "\\pard\\li0\\fi0\\ri0\\cf3\\i grey\\par\n"
              "\\pard\\li0\\fi0\\ri0\\fs24\\cf2 x}");
}

struct EndingCase {
    const char* text;
    const char* ending;
};

TEST(RtfWriter, EndsWithTheLastParagraphOrTheLastBreak) {
    const EndingCase cases[] = {
        {"", "\\uc1}"},
        {"\n", "\\uc1\\pard\\li0\\fi0\\ri0\\par\n}"},
        {"a", "\\cf1 a}"},
        {"a\n", "\\cf1 a\\par\n}"},
        {"a\n\n", "\\cf1 a\\par\n\\pard\\li0\\fi0\\ri0\\par\n}"},
        {"a\r\nb", "\\cf1 a\\par\n\\pard\\li0\\fi0\\ri0 b}"},
    };
    for (const auto& c : cases) {
        const std::string rtf = WriteRtf(Build(c.text));
        const std::string ending = c.ending;
        ASSERT_GE(rtf.size(), ending.size());
        EXPECT_EQ(rtf.substr(rtf.size() - ending.size()), ending) << c.text;
    }
}

// A report's every page names its project and job and numbers itself with
// the word processor's own page fields; a document without a footer (a
// piece of the report copied on its own) states none.
TEST(RtfWriter, WritesThePageFooterWithPageFields) {
    const struct {
        std::optional<PageFooter> footer;
        const char* afterHeader;
    } cases[] = {
        {std::nullopt, kPlainParagraph.c_str()},
        {PageFooter{"Lot {A} caf\xC3\xA9", "J-1"},
         "\n{\\footer\\pard\\plain\\f0\\fs18\\cf1\\tqr\\tx11430 Lot \\{A\\} "
         "caf\\u233?    Job Number: J-1\\tab Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} "
         "of {\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}\\par}\n"},
        {PageFooter{"", "J-2"},
         "\n{\\footer\\pard\\plain\\f0\\fs18\\cf1\\tqr\\tx11430 Job Number: J-2\\tab "
         "Page "},
    };
    for (const auto& c : cases) {
        RichDocument document = Build("x");
        document.footer = c.footer;
        const std::string rtf = WriteRtf(document);
        const std::string header =
            c.footer ? std::regex_replace(kHeader, std::regex("margb360"), "margb360\\footery360")
                     : kHeader;
        EXPECT_EQ(rtf.substr(0, header.size()), header);
        EXPECT_EQ(rtf.substr(header.size(), std::strlen(c.afterHeader)), c.afterHeader);
    }
}

// The page-flow marks the composer set become \keepn in a report; a piece of
// it copied on its own is the reader's to lay out.
TEST(RtfWriter, WritesKeepWithNextOnlyForAReport) {
    const auto document = [](bool footed) {
        RichDocument built;
        built.paragraphs.assign(4, Paragraph{});
        for (std::size_t i = 0; i < built.paragraphs.size(); ++i) {
            built.paragraphs[i].runs.push_back({"line", CharFormat{}});
            built.paragraphs[i].keepWithNext = i < 2;
        }
        if (footed) {
            built.footer = PageFooter{"P", "J"};
        }
        return built;
    };
    const struct {
        bool footed;
        std::string kept;  // one mark a paragraph: k for \keepn
    } cases[] = {
        {true, "kk.."},
        {false, "...."},
    };
    for (const auto& c : cases) {
        const std::string rtf = WriteRtf(document(c.footed));
        std::string kept;
        for (std::size_t at = rtf.find("\\pard"); at != std::string::npos;
             at = rtf.find("\\pard", at + 1)) {
            kept += rtf.compare(at, 11, "\\pard\\keepn") == 0 ? 'k' : '.';
        }
        EXPECT_EQ(kept.substr(c.footed ? 1 : 0), c.kept) << rtf;
    }
}

// unrtf is an independent RTF reader: whatever it recovers from the output is
// what a word processor would find there.
class RtfWriterUnrtf : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(std::system("command -v unrtf >/dev/null 2>&1"), 0)
            << "unrtf is not installed; scripts/deps installs it (Debian package unrtf)";
        std::random_device random;
        file_ = std::filesystem::temp_directory_path() /
                ("torrenta-rtf-" + std::to_string(random()) + std::to_string(random()) + ".rtf");
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove(file_, ec);
    }

    std::string Unrtf(const std::string& rtf, const std::string& mode) {
        std::ofstream(file_, std::ios::binary) << rtf;
        const std::string command = "unrtf " + mode + " '" + file_.string() + "'";
        FILE* pipe = popen(command.c_str(), "r");
        EXPECT_NE(pipe, nullptr) << command;
        if (pipe == nullptr) {
            return {};
        }
        std::string output;
        char buffer[4096];
        while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) {
            output.append(buffer, read);
        }
        EXPECT_EQ(pclose(pipe), 0) << command;
        return output;
    }

    std::filesystem::path file_;
};

// Lines with runs of spaces folded into one and trailing spaces dropped: unrtf
// folds spaces and pads a tab to the next multiple of 8 columns, then breaks
// the line there.
std::string Normalized(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && !result.empty() && result.back() == ' ') {
            continue;
        }
        if (text[i] == '\n') {
            while (!result.empty() && result.back() == ' ') {
                result.pop_back();
            }
        }
        result += text[i];
    }
    while (!result.empty() && result.back() == ' ') {
        result.pop_back();
    }
    return result;
}

// The text as unrtf --text shows it: it prints the fallback '?' for every
// \uN, so one per UTF-16 unit, and a tab as a line break.
std::string AsUnrtfSeesIt(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\t') {
            result += '\n';
        } else if (byte >= 0xF0) {
            result += "??";
        } else if (byte >= 0xC0) {
            result += '?';
        } else if (byte < 0x80) {
            result += text[i];
        }
    }
    return Normalized(result);
}

// Drops the "###" comment lines and the "-----------------" banner. Tabs met
// before the first text come out ahead of the banner, so what precedes it is
// kept.
std::string UnrtfBody(const std::string& output) {
    std::size_t start = 0;
    while (output.compare(start, 3, "###") == 0) {
        start = output.find('\n', start);
        start = start == std::string::npos ? output.size() : start + 1;
    }
    std::string body = output.substr(start);
    const std::string banner = "\n-----------------\n";
    const std::size_t at = body.find(banner);
    if (at != std::string::npos) {
        body.erase(at, banner.size());
    }
    return Normalized(body);
}

struct ReaderCase {
    const char* name;
    std::function<void(RichTextBuilder&)> build;
};

TEST_F(RtfWriterUnrtf, RecoversTheDocumentText) {
    const ReaderCase cases[] = {
        {"escapes",
         [](RichTextBuilder& b) {
             b.Append("Braces {a} and \\ backslash\r\ncaf\xC3\xA9 \xC3\x98resund {\\}\n");
             b.Append("\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80 \"quote\" O'Brien -5");
         }},
        {"report",
         [](RichTextBuilder& b) {
             b.SetIndents(200, 300, 200);
             b.SetTabStops({1440, 2880, 4320});
             b.SetBold(true);
             b.Append("Basin\tArea\tC\r\n");
             b.SetBold(false);
             b.SetUnderline(true);
             b.Append("\t\t\t");
             b.SetUnderline(false);
             b.Append("\r");
             b.SetColor(kPureBlue);
             b.Append("B-1\t12.50\t0.83\n");
             b.SetColor(0x808080);
             b.SetSize(10.5);
             b.SetItalic(true);
             b.Append("Q = C i A\n\n");
         }},
        {"leading tabs", [](RichTextBuilder& b) { b.Append("\t\tx\n\ty"); }},
    };
    for (const auto& c : cases) {
        RichTextBuilder builder;
        c.build(builder);
        const RichDocument document = builder.Take();
        EXPECT_EQ(UnrtfBody(Unrtf(WriteRtf(document), "--text")),
                  AsUnrtfSeesIt(document.PlainText()))
            << c.name;
    }
}

TEST_F(RtfWriterUnrtf, ReadsTheUnicodeValues) {
    const std::string html = Unrtf(
        WriteRtf(Build("\xC3\xA9\xC3\x98\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80")), "--html");
    EXPECT_NE(html.find("&eacute;&Oslash;&#26085;&#26412;&#55357;&#56832;"), std::string::npos)
        << html;
}

// The whole composed report, with ordinary names and with names holding the
// characters RTF must escape, reads back through unrtf as the report's text.
TEST_F(RtfWriterUnrtf, RecoversComposedReports) {
    const std::string nameSets[][3] = {
        {"North Lots", "Rear Lot Swale", "Maple Street Ditch"},
        {"Lot {A} \\ caf\xC3\xA9", "Swale {\\}", "\xC3\x98stre Ditch {x}"},
    };
    for (const auto& names : nameSets) {
        test::TestFolder folder;
        const std::string project = folder.NewProjectFile();
        SaveProjectSetup(project, {names[0], "A. Rivera", "J. Okafor", "12/8/2026", "J-1", ""},
                         "Pond {1}", "Atlanta");
        InsertElementRow(
            project, BasinRow{"Basin1", names[0], "650", "840", "3", "Lawn \\ {x}", "0.4", "0.02",
                              "150", "False", "Grass, Dense grass", "0.24", "18.3066"});
        InsertElementRow(project, SurfaceRow{"Surface1", names[1], "650", "1680", "0.02", "500",
                                             "False", "2.2811", "Unpaved", "3.6532"});
        InsertElementRow(project,
                         ChannelRow{"Channel1", names[2], "650", "2520", "10", "8", "0.005", "1000",
                                    "Concrete Channel", "0.013", "False", "9.3792", "1.7770"});
        const RichDocument document =
            ComposeReport({project, folder.AppFolder(), "Atlanta", SolveNetwork(project)}).document;
        EXPECT_EQ(UnrtfBody(Unrtf(WriteRtf(document), "--text")),
                  AsUnrtfSeesIt(document.PlainText()))
            << names[0];
    }
}

}  // namespace
}  // namespace torrenta
