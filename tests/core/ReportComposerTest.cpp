#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "BadInputSupport.h"
#include "Errors.h"
#include "TestFolder.h"
#include "intensity/IntensityDatabase.h"
#include "report/PageFlow.h"
#include "report/PlainTextWriter.h"
#include "report/ReportComposer.h"
#include "report/RichText.h"
#include "report/RtfWriter.h"
#include "store/ElementRows.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"
#include "store/TcPath.h"

namespace torrenta {
namespace {

using test::TestFolder;

// Every duration row holds 1 ... 7 in/hr for the periods 1 ... 100 years, so
// whatever the time of concentration the intensities read 1.00 ... 7.00.
constexpr const char* kEvenTable = "Even";

IntensityGrid EvenGrid() {
    IntensityGrid grid;
    for (auto& row : grid) {
        row = {"1", "2", "3", "4", "5", "6", "7"};
    }
    return grid;
}

BasinRow Basin(const std::string& name, const std::string& area, const std::string& c,
               const std::string& deleted = "False") {
    BasinRow row{"Basin", name,  "650",   "840",   area,   "Lawn",   c,
                 "0.02",  "150", deleted, "Range", "0.13", "12.3000"};
    row.BasinTag += name;
    return row;
}

SurfaceRow Surface(const std::string& name, const std::string& deleted = "False") {
    return SurfaceRow{"Surface" + name, name,  "100",     "200", "0.01", "300",
                      deleted,          "1.5", "Unpaved", "3.3"};
}

ChannelRow Channel(const std::string& name, const std::string& deleted = "False") {
    return ChannelRow{"Channel" + name, name,    "300",   "400", "4.5", "7.2", "0.005", "600",
                      "Concrete",       "0.013", deleted, "2.5", "4.4"};
}

std::string TextOf(const Paragraph& paragraph) {
    std::string text;
    for (const auto& run : paragraph.runs) {
        text += run.text;
    }
    return text;
}

std::vector<std::string> Lines(const RichDocument& document) {
    std::vector<std::string> lines;
    for (const auto& paragraph : document.paragraphs) {
        lines.push_back(TextOf(paragraph));
    }
    return lines;
}

bool HasLine(const RichDocument& document, std::string_view line) {
    const auto lines = Lines(document);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Index of the first paragraph that reads exactly `text`; fails the test when
// there is none.
std::size_t IndexOf(const RichDocument& document, std::string_view text) {
    for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
        if (TextOf(document.paragraphs[i]) == text) {
            return i;
        }
    }
    ADD_FAILURE() << "no paragraph reads \"" << text << "\"";
    return 0;
}

// The line of the report that starts with `prefix`, or "<none>".
std::string LineStartingWith(const RichDocument& document, std::string_view prefix) {
    for (const auto& line : Lines(document)) {
        if (line.starts_with(prefix)) {
            return line;
        }
    }
    return "<none>";
}

class ReportComposerTest : public ::testing::Test {
  protected:
    void SetUp() override { SaveIntensityTable(folder_.AppFolder(), kEvenTable, EvenGrid()); }

    ComposedReport Compose(const std::string& table = kEvenTable) {
        return ComposeReport({project_, folder_.AppFolder(), table, SolveNetwork(project_)});
    }

    void Exec(const std::string& sql) {
        SQLite::Database(project_, SQLite::OPEN_READWRITE).exec(sql);
    }

    TestFolder folder_;
    std::string project_ = folder_.NewProjectFile();
};

const std::string kHyphens(65, '-');

const std::string kFooter =
    "\n\n\n"
    "\t\t\t\t\t\t\t\t\n"
    "It's the engineer's responsibility to check the results of this software\n"
    "There are no warranties implied or expressed, including but not\n"
    "limited to implied warranties of merchantability and fitness for a particular purpose\n"
    "\n"
    "Copyright (c) 2026 Quillmoor Foundry. All rights reserved.\n"
    "Support: support@quillmoor.example - www.quillmoor.example\n"
    "";

TEST_F(ReportComposerTest, ComposesTheWholeReportForOneElementOfEachKind) {
    SaveProjectSetup(project_, {"Ridge Estates", "A. Banks", "C. Diaz", "03/14/2026", "J-17", ""},
                     "Outlet", kEvenTable);
    InsertElementRow(project_, Basin("North Lot", "2", "0.5"));
    InsertElementRow(project_, Surface("Swale"));
    InsertElementRow(project_, Channel("Ditch"));
    // A stale results row: the rates shown must be the ones this solve wrote.
    Exec("INSERT INTO TblResults (Ival_1, Qpeak_1) VALUES ('99', '99')");

    const auto report = Compose();

    const std::string expected =
        "TORRENTA  Version 1.0\n"
        "\n"
        "\n"
        "Project Name:\tRidge Estates\n"
        "Design Engineer:\tA. Banks\n"
        "Project Manager:\tC. Diaz\n"
        "Design Date:\t03/14/2026\n"
        "Job Number:\tJ-17\n"
        // Which outlet and which rainfall: the table has no Source here.
        "Outlet node:\tOutlet\n"
        "Intensity table:\tEven\n" +
        kHyphens +
        "\n"
        "\n"
        "\n"
        "Overland Flow\n"
        "\n"
        "\n"
        "Time Of Concentration\n"
        "\n"
        "Name\tArea\tSlope\tL\tType\tn\tTc\t\n"
        "North Lot\t2\t0.02\t150\tRange\t0.13\t12.3\n"
        "\t\t\t\t\t\t\t\t\n"
        "TOTAL\t2\t\t150\t\t\t12.3\n"
        "\n"
        "\n"
        "\n"
        " \n"
        "Average Runoff Coefficient\n"
        "\n"
        "Name\tUse\ta\ta/A\tC\tCA\t\n"
        "North Lot\tLawn\t2\t1.000\t0.5\t0.5000\n"
        "\t\t\t\t\t\t\t\t\n"
        "TOTAL\t\t2\t\t\t0.5000\n"
        "\n"
        "Shallow Concentrated Flow\n"
        "\n"
        "Name\tType\tSlope \tLength\tV(fps)\tTc(min)\n"
        "Swale\tUnpaved\t0.01\t300\t1.5\t3.3\n"
        "\t\t\t\t\t\t\t\n"
        "TOTAL\t\t\t300\t\t3.3\n"
        "\n"
        "\n"
        "Channel Flow\n"
        "\n"
        "Name\tL\tn\tMaterial\tS\tA\tWP\tV\tTc\n"
        // Ditch ends left of the 666 stop: one TAB more to reach L.
        "Ditch\t\t600\t0.013\tConcrete\t0.005\t4.5\t7.2\t2.50\t4.4\n"
        "\n"
        "\t\t\t\t\t\t\t\t\t\t\t\n"
        "TOTAL\t600\t\t\t\t\t\t\t4.4\n"
        "\n"
        "\n"
        "\n"
        "Runoff Rate Calculations\n"
        "\n"
        "Overland Flow Tc \t: 12.3\n"
        "Shallow Concentrated Flow Tc\t: 3.3\n"
        "Channel Flow Tc\t: 4.4\n"
        "TOTAL Tc (min)\t: 20\n"
        "\n"
        "\n"
        "Q = C * Cf * A * I\n"
        "\n"
        "\t\t1Yr\t2Yr\t5Yr\t10Yr\t25Yr\t50Yr\t100Yr\n"
        "I(in/hr)\t1.00\t2.00\t3.00\t4.00\t5.00\t6.00\t7.00\n"
        // C 0.5 and A 2: Cf raises the 25, 50 and 100 year flows by 1.1, 1.2, 1.25.
        "Q(cfs)\t1.00\t2.00\t3.00\t4.00\t5.50\t7.20\t8.75\n"
        // The stored 12.3000 min is not what n 0.13, L 150 ft and S 0.02 give
        // with this table's P2 = 24 x 2.00 = 48 in: 0.42 x 19.5^0.8 /
        // (48^0.5 x 0.02^0.4) = 0.42 x 10.765 / (6.9282 x 0.20913) = 3.1206.
        "\n\nDesign Checks\n\n"
        "TC-RAINFALL\tOverland flow area \"North Lot\": stored Tc 12.3000 min, but its inputs "
        "give 3.1206 min with the 2-year 24-hour rainfall P2 48.00 in. (TR-55 sheet flow: Tc "
        "depends on the 2-year 24-hour rainfall of the table used)\n" +
        kFooter + "\n";
    EXPECT_EQ(report.document.PlainText(), expected);

    EXPECT_DOUBLE_EQ(report.solution.TotalArea, 2.0);
    EXPECT_DOUBLE_EQ(report.solution.WeightedC, 0.5);
    EXPECT_DOUBLE_EQ(report.solution.OverlandTcSum, 12.3);
    EXPECT_DOUBLE_EQ(report.solution.ShallowTcSum, 3.3);
    EXPECT_DOUBLE_EQ(report.solution.ChannelTcSum, 4.4);
    EXPECT_DOUBLE_EQ(report.solution.TotalTc, 20.0);
    EXPECT_FLOAT_EQ(report.solution.periods[6].peakFlow, 8.75f);
    const auto stored = ReadResults(project_);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->qpeak[0], "1.0000");

    // What reads as a heading (underlined, its words bold) is what the page
    // flow is told is one, and the titles are the sections' and tables' names.
    std::vector<std::string> titles;
    for (const Paragraph& paragraph : report.document.paragraphs) {
        std::string text;
        bool looks = false;
        bool plain = false;
        for (const TextRun& run : paragraph.runs) {
            text += run.text;
            const bool blank = run.text.find_first_not_of(" \t") == std::string::npos;
            looks = looks || !run.text.empty();
            plain = plain || !run.format.underline || (!blank && !run.format.bold);
        }
        EXPECT_EQ(IsHeading(paragraph), looks && !plain) << text;
        if (IsTitle(paragraph)) {
            titles.push_back(text);
        }
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Overland Flow", "Time Of Concentration",
                                                "Average Runoff Coefficient",
                                                "Shallow Concentrated Flow", "Channel Flow",
                                                "Runoff Rate Calculations", "Design Checks"}));
}

TEST_F(ReportComposerTest, CarriesTheCharacterAndParagraphFormats) {
    SaveProjectSetup(project_, {"Ridge Estates", "A. Banks", "C. Diaz", "03/14/2026", "J-17", ""},
                     "Outlet", kEvenTable);
    InsertElementRow(project_, Basin("North Lot", "2", "0.5"));
    InsertElementRow(project_, Surface("Swale"));
    InsertElementRow(project_, Channel("Ditch"));
    const auto document = Compose().document;
    const auto& paragraphs = document.paragraphs;

    ASSERT_EQ(paragraphs[0].runs.size(), 2u);
    EXPECT_EQ(paragraphs[0].runs[0], (TextRun{"TORRENTA", {24.0, true, false, false, kBlack}}));
    EXPECT_EQ(paragraphs[0].runs[1],
              (TextRun{"  Version 1.0", {11.0, true, false, false, kBlack}}));

    const std::size_t info = IndexOf(document, "Project Name:\tRidge Estates");
    ASSERT_EQ(paragraphs[info].runs.size(), 2u);
    EXPECT_EQ(paragraphs[info].runs[0],
              (TextRun{"Project Name:", {12.0, true, false, false, kBlack}}));
    EXPECT_EQ(paragraphs[info].runs[1],
              (TextRun{"\tRidge Estates", {12.0, false, false, false, kBlack}}));

    // First lines 200 twips in, continuation lines 500, from the project
    // information to the end of the report.
    EXPECT_EQ(paragraphs[0].format.leftIndent, 0);
    // The intensity table's line wraps its Source under the value column.
    const std::size_t rainfall = IndexOf(document, "Intensity table:\tEven");
    for (std::size_t i = info; i < paragraphs.size(); ++i) {
        const auto& format = paragraphs[i].format;
        EXPECT_EQ(format.leftIndent, i == rainfall ? 4000 : 500) << i;
        EXPECT_EQ(format.firstLineIndent, i == rainfall ? -3800 : -300) << i;
        EXPECT_EQ(format.rightIndent, 200) << i;
    }

    const struct {
        const char* line;
        std::vector<int> stops;
    } tabCases[] = {
        {"Design Engineer:\tA. Banks", {720, 4000, 5440, 6880, 8320}},
        {"Name\tArea\tSlope\tL\tType\tn\tTc\t", {1500, 2700, 3900, 5100, 6500, 7500, 8500}},
        {"Name\tUse\ta\ta/A\tC\tCA\t", {2000, 4000, 4000, 5000, 6000, 7000}},
        {"Name\tType\tSlope \tLength\tV(fps)\tTc(min)", {1333, 2666, 3999, 5332, 6665, 7998}},
        {"Name\tL\tn\tMaterial\tS\tA\tWP\tV\tTc",
         {666, 1998, 1998, 2664, 3330, 4662, 4662, 5328, 5994, 6660, 7326, 7992}},
        {"\t\t1Yr\t2Yr\t5Yr\t10Yr\t25Yr\t50Yr\t100Yr",
         {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000}},
        {"Q(cfs)\t1.00\t2.00\t3.00\t4.00\t5.50\t7.20\t8.75",
         {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000}},
        // A finding's sentence starts at one stop, clear of the longest code.
        {"TC-RAINFALL\tOverland flow area", {2800}},
    };
    for (const auto& c : tabCases) {
        const std::string line = LineStartingWith(document, c.line);
        EXPECT_EQ(paragraphs[IndexOf(document, line)].format.tabStops, c.stops) << c.line;
    }

    // Of the Tc lines only the channel one is underlined, closing the sum.
    const struct {
        const char* line;
        bool underlined;
    } tcCases[] = {
        {"Overland Flow Tc \t: 12.3", false},
        {"Shallow Concentrated Flow Tc\t: 3.3", false},
        {"Channel Flow Tc\t: 4.4", true},
        {"TOTAL Tc (min)\t: 20", false},
    };
    for (const auto& c : tcCases) {
        for (const auto& run : paragraphs[IndexOf(document, c.line)].runs) {
            EXPECT_EQ(run.format.underline, c.underlined) << c.line;
        }
    }

    for (const char* line : {
             "It's the engineer's responsibility to check the results of this software",
             "There are no warranties implied or expressed, including but not",
             "limited to implied warranties of merchantability and fitness for a particular "
             "purpose",
             "Copyright (c) 2026 Quillmoor Foundry. All rights reserved.",
             "Support: support@quillmoor.example - www.quillmoor.example",
         }) {
        for (const auto& run : paragraphs[IndexOf(document, line)].runs) {
            EXPECT_EQ(run.format.color, kPureBlue) << line;
            EXPECT_EQ(run.format.size, 8.0) << line;
        }
    }
}

TEST_F(ReportComposerTest, ProjectInformationComesFromTheLastRow) {
    const struct {
        const char* label;
        const char* setup;
        std::vector<std::string> lines;
        PageFooter footer;  // what every page names
    } cases[] = {
        {"no information row",
         "",
         {"Project Name:\t", "Design Engineer:\t", "Project Manager:\t", "Design Date:\t",
          "Job Number:\t"},
         {"", ""}},
        {"two rows",
         "INSERT INTO TblProjectInfo (ProjectName, DesignEngineer, ProjectManager, DesignDate, "
         "JobNumber) VALUES ('Old', 'Old E', 'Old M', '01/01/2020', 'J-1');"
         "INSERT INTO TblProjectInfo (ProjectName, DesignEngineer, ProjectManager, DesignDate, "
         "JobNumber) VALUES ('New', 'New E', 'New M', '02/02/2026', 'J-2')",
         {"Project Name:\tNew", "Design Engineer:\tNew E", "Project Manager:\tNew M",
          "Design Date:\t02/02/2026", "Job Number:\tJ-2"},
         {"New", "J-2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        project_ = folder_.NewProjectFile(std::string(c.label) + ".rmt");
        if (*c.setup != '\0') {
            Exec(c.setup);
        }
        InsertElementRow(project_, Surface("Swale"));
        const RichDocument document = Compose().document;
        const auto lines = Lines(document);
        ASSERT_GE(lines.size(), 11u);
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.begin() + 8), c.lines);
        EXPECT_EQ(lines[10], kHyphens);
        EXPECT_EQ(document.footer, std::optional<PageFooter>(c.footer));
    }
}

TEST_F(ReportComposerTest, NamesAndTypesAreCutToFitTheirColumns) {
    // Each text is used as every name and type. A text that would run into
    // the next column in the report font is cut, letters with their accents
    // whole, and ends in an ellipsis inside the column; a name that ends left
    // of the hanging indent takes one TAB more (two before the channel
    // table's 666 stop). Texts beyond Latin-1 count an em a character.
    const struct {
        std::string text;
        std::vector<std::string> rows;  // Tc, C, shallow and channel rows, in order
    } cases[] = {
        {"North Parking Lot Area",
         {"North Parki\u2026\t2\t0.02\t150\tNorth Parkin\u2026\t0.13\t12.3",
          "North Parking Lo\u2026\tNorth Parking Lot\u2026\t2\t1.000\t0.5\t0.5000",
          "North Par\u2026\tNorth Parki\u2026\t0.01\t300\t1.5\t3.3",
          "North Parking Lo\u2026\t600\t0.013\tNorth Parki\u2026\t0.005\t4.5\t7.2\t2.50\t4.4"}},
        {"Main Street Ditch",
         {"Main Street\u2026\t2\t0.02\t150\tMain Street\u2026\t0.13\t12.3",
          "Main Street Ditch\tMain Street Ditch\t2\t1.000\t0.5\t0.5000",
          "Main Stre\u2026\tMain Street\u2026\t0.01\t300\t1.5\t3.3",
          "Main Street Ditch\t600\t0.013\tMain Street\u2026\t0.005\t4.5\t7.2\t2.50\t4.4"}},
        {"Lot",
         {"Lot\t\t2\t0.02\t150\tLot\t0.13\t12.3", "Lot\t\tLot\t2\t1.000\t0.5\t0.5000",
          "Lot\t\tLot\t0.01\t300\t1.5\t3.3",
          "Lot\t\t\t600\t0.013\tLot\t0.005\t4.5\t7.2\t2.50\t4.4"}},
        {"Überschwemmungsgebiet",
         {"Überschwe\u2026\t2\t0.02\t150\tÜberschwe\u2026\t0.13\t12.3",
          "Überschwemmu\u2026\tÜberschwemmung\u2026\t2\t1.000\t0.5\t0.5000",
          "Übersch\u2026\tÜberschwe\u2026\t0.01\t300\t1.5\t3.3",
          "Überschwemmu\u2026\t600\t0.013\tÜberschwe\u2026\t0.005\t4.5\t7.2\t2.50\t4.4"}},
        {"雨水排水路北側駐車場エリア東西南",
         {"雨水排水路\u2026\t2\t0.02\t150\t雨水排水路\u2026\t0.13\t12.3",
          "雨水排水路北側\u2026\t雨水排水路北側駐\u2026\t2\t1.000\t0.5\t0.5000",
          "雨水排水\u2026\t雨水排水路\u2026\t0.01\t300\t1.5\t3.3",
          "雨水排水路北側\u2026\t600\t0.013\t雨水排水路\u2026\t0.005\t4.5\t7.2\t2.50\t4.4"}},
        {"Río 🌧 Grande Norte",
         {"Río 🌧 Gra\u2026\t2\t0.02\t150\tRío 🌧 Gran\u2026\t0.13\t12.3",
          "Río 🌧 Grande N\u2026\tRío 🌧 Grande Norte\t2\t1.000\t0.5\t0.5000",
          "Río 🌧 Gr\u2026\tRío 🌧 Gran\u2026\t0.01\t300\t1.5\t3.3",
          "Río 🌧 Grande N\u2026\t600\t0.013\tRío 🌧 "
          "Gran\u2026\t0.005\t4.5\t7.2\t2.50\t4.4"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        project_ = folder_.NewProjectFile("cut" + std::to_string(++n) + ".rmt");
        auto basin = Basin(c.text, "2", "0.5");
        basin.BasinNType = c.text;
        basin.SoilType = c.text;
        InsertElementRow(project_, basin);
        auto surface = Surface(c.text);
        surface.SurfType = c.text;
        InsertElementRow(project_, surface);
        auto channel = Channel(c.text);
        channel.ChannelMaterial = c.text;
        InsertElementRow(project_, channel);

        const auto document = Compose().document;
        for (const auto& row : c.rows) {
            EXPECT_TRUE(HasLine(document, row)) << row;
        }
    }
}

// A number that runs past its column into an empty type cell (an element
// given a Manning's n but no surface or material): the empty cell is left
// empty, not cut, and noted nowhere.
TEST_F(ReportComposerTest, AnEmptyCellAfterANumberThatRunsPastItsColumnStaysEmpty) {
    auto basin = Basin("A", "1", "0.5");
    basin.Slope = "0.00523598776";
    basin.TravelLength = "1000.123456";
    basin.BasinNType = "";
    InsertElementRow(project_, basin);
    auto channel = Channel("B");
    channel.ChannelLength = "1000.123456";
    channel.ChannelMaterial = "";
    InsertElementRow(project_, channel);

    const auto lines = Lines(Compose().document);
    for (const auto& line : lines) {
        EXPECT_EQ(line.find("\u2026"), std::string::npos) << line;
        EXPECT_EQ(line.find("Full names"), std::string::npos) << line;
    }
}

// Two areas whose names start alike read the same once cut in the Tc table,
// and whole in the wider C table; the shallow reach is cut too. Each table
// that cut a name says, under its TOTAL, what the cuts stand for, once each
// and in row order; one that cut nothing has no such line.
TEST_F(ReportComposerTest, ATableThatCutsANameListsTheFullNamesUnderIt) {
    int n = 0;
    for (const char* name : {"Parking Lot North", "Parking Lot South"}) {
        BasinRow basin = Basin(name, "1", "0.5");
        basin.BasinTag = "Basin" + std::to_string(++n);
        InsertElementRow(project_, basin);
    }
    // Two reaches of one name are told apart by their tags.
    for (const char* tag : {"Surface1", "Surface2"}) {
        SurfaceRow surface = Surface("Roadside Ditch 2");
        surface.SurfTag = tag;
        InsertElementRow(project_, surface);
    }
    const RichDocument document = Compose().document;
    const std::string text = document.PlainText();

    const std::string expected =
        "Name\tArea\tSlope\tL\tType\tn\tTc\t\n"
        // 200 + "Parking Lot" 1012 + "\u2026" 200 + 60 twips of room stay left
        // of the Area column at 1500; "Parking Lot N" would not.
        "Parking Lot\u2026\t1\t0.02\t150\tRange\t0.13\t12.3\n"
        "Parking Lot\u2026\t1\t0.02\t150\tRange\t0.13\t12.3\n"
        "\t\t\t\t\t\t\t\t\n"
        "TOTAL\t2\t\t300\t\t\t24.6\n"
        "Full names: Parking Lot\u2026 Parking Lot North (Basin1); Parking Lot\u2026 Parking Lot "
        "South (Basin2)\n"
        "\n"
        "\n"
        "\n"
        " \n"
        "Average Runoff Coefficient\n"
        "\n"
        "Name\tUse\ta\ta/A\tC\tCA\t\n"
        "Parking Lot North\tLawn\t1\t0.500\t0.5\t0.2500\n"
        "Parking Lot South\tLawn\t1\t0.500\t0.5\t0.2500\n"
        "\t\t\t\t\t\t\t\t\n"
        "TOTAL\t\t2\t\t\t0.5000\n"
        "\n"
        "Shallow Concentrated Flow\n"
        "\n"
        "Name\tType\tSlope \tLength\tV(fps)\tTc(min)\n"
        "Roadside\u2026\tUnpaved\t0.01\t300\t1.5\t3.3\n"
        "Roadside\u2026\tUnpaved\t0.01\t300\t1.5\t3.3\n"
        "\t\t\t\t\t\t\t\n"
        "TOTAL\t\t\t600\t\t6.6\n"
        "Full names: Roadside\u2026 Roadside Ditch 2 (Surface1); Roadside\u2026 Roadside Ditch 2 "
        "(Surface2)\n"
        "\n"
        "\n"
        "\n"
        "Runoff Rate Calculations\n";
    const std::size_t from = text.find("Name\tArea");
    ASSERT_NE(from, std::string::npos);
    EXPECT_EQ(text.substr(from, expected.size()), expected);

    // The aligned text writer keeps the line whole under its table.
    const std::string aligned = WritePlainText(document);
    EXPECT_NE(aligned.find("\n  TOTAL"), std::string::npos) << aligned;
    EXPECT_NE(aligned.find("\n  Full names: Roadside\u2026 Roadside Ditch 2 (Surface1); "),
              std::string::npos)
        << aligned;
    // RTF names the ellipsis by its code, as every character past ASCII.
    EXPECT_NE(WriteRtf(document).find("Full names: Roadside\\u8230? Roadside Ditch 2 (Surface1)"),
              std::string::npos);
}

// Columns a terminal gives a text, counted apart from the program's own
// table: CJK ideographs two, the combining acute and grave none.
int TerminalColumns(std::string_view text) {
    int columns = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        columns += (c >= 0x300 && c <= 0x36F) ? 0 : (c >= 0x3000 && c <= 0x9FFF) ? 2 : 1;
        i += length;
    }
    return columns;
}

// A name stored with a TAB or a line break prints with a space in their
// place, a wide or accented name takes its true width in the text report, and
// a cut keeps each accent on its letter: in every case the shallow flow row's
// values stand under their headings.
TEST_F(ReportComposerTest, StoredNamesOfAnyKindKeepTheValuesUnderTheirHeadings) {
    const std::string acute = "\u0301";
    std::string accents;
    for (int k = 0; k < 20; ++k) {
        accents += "e" + acute;
    }
    const struct {
        const char* label;
        std::string stored;
        std::string shown;  // the name as the report shows it, before any cut
        bool fits;          // short enough to show whole
    } cases[] = {
        {"TAB", "Lot\t7", "Lot 7", true},
        {"line feed", "North\nLot", "North Lot", true},
        {"CR LF and a C1 control", "A\r\nB\u0085C", "A  B C", true},
        {"short CJK", "\u96E8\u6C34", "\u96E8\u6C34", true},
        {"long CJK", "\u96E8\u6C34\u6392\u6C34\u8DEF\u5317\u5074\u99D0\u8ECA\u5834",
         "\u96E8\u6C34\u6392\u6C34\u8DEF\u5317\u5074\u99D0\u8ECA\u5834", false},
        {"combining accents", "Cafe" + acute + " Ame" + acute + "lie",
         "Cafe" + acute + " Ame" + acute + "lie", false},
        {"accents at every cut", accents, accents, false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        project_ = folder_.NewProjectFile("names" + std::to_string(++n) + ".rmt");
        InsertElementRow(project_, Surface(c.stored));
        const RichDocument document = Compose().document;

        const std::string row = LineStartingWith(document, c.shown.substr(0, 2));
        const std::string cell = row.substr(0, row.find('\t'));
        const std::string ellipsis = "\u2026";
        ASSERT_EQ(cell.ends_with(ellipsis), !c.fits) << cell;
        const std::string kept = cell.substr(0, cell.size() - (c.fits ? 0 : ellipsis.size()));
        EXPECT_EQ(c.fits ? c.shown.compare(cell) : c.shown.compare(0, kept.size(), kept), 0)
            << cell;
        EXPECT_NE(c.shown.compare(kept.size(), acute.size(), acute), 0) << "accent cut off";

        const std::string text = WritePlainText(document);
        const std::size_t heading = text.find("Tc(min)");
        const std::size_t values = text.find("Unpaved");
        ASSERT_NE(values, std::string::npos);
        const std::size_t headingStart = text.rfind('\n', heading) + 1;
        const std::size_t valuesStart = text.rfind('\n', values) + 1;
        const std::string headingLine =
            text.substr(headingStart, text.find('\n', heading) - headingStart);
        const std::string valuesLine =
            text.substr(valuesStart, text.find('\n', values) - valuesStart);
        std::size_t from = valuesLine.find("Unpaved");
        for (const auto& [title, value] : {std::pair{"Type", "Unpaved"},
                                           {"Slope", "0.01"},
                                           {"Length", "300"},
                                           {"V(fps)", "1.5"},
                                           {"Tc(min)", "3.3"}}) {
            from = valuesLine.find(value, from);
            ASSERT_NE(from, std::string::npos) << valuesLine;
            EXPECT_EQ(TerminalColumns(valuesLine.substr(0, from)),
                      TerminalColumns(headingLine.substr(0, headingLine.find(title))))
                << title << "\n"
                << headingLine << "\n"
                << valuesLine;
        }
    }
}

TEST_F(ReportComposerTest, NamesTheOutletAndTheRainfallWithItsSource) {
    SaveIntensityTable(folder_.AppFolder(), "Fulton County", EvenGrid(),
                       "NOAA Atlas 14 Volume 2 Version 3");
    SaveProjectSetup(project_, ProjectInfoRow{}, "Pond 4", "Fulton County");
    InsertElementRow(project_, Surface("Swale"));
    const auto document = Compose("Fulton County").document;
    EXPECT_TRUE(HasLine(document, "Outlet node:\tPond 4"));
    EXPECT_TRUE(HasLine(document,
                        "Intensity table:\tFulton County \u2014 NOAA Atlas 14 Volume 2 Version 3"));
}

TEST_F(ReportComposerTest, WeightsTheRunoffCoefficientByArea) {
    InsertElementRow(project_, Basin("East", "3", "0.9"));
    InsertElementRow(project_, Basin("West", "1", "0.58"));
    const auto report = Compose();
    const auto& document = report.document;

    EXPECT_TRUE(HasLine(document, "East\tLawn\t3\t0.750\t0.9\t0.6750"));
    EXPECT_TRUE(HasLine(document, "West\tLawn\t1\t0.250\t0.58\t0.1450"));
    EXPECT_TRUE(HasLine(document, "TOTAL\t\t4\t\t\t0.8200"));
    EXPECT_TRUE(HasLine(document, "TOTAL\t4\t\t300\t\t\t24.6"));
    EXPECT_DOUBLE_EQ(report.solution.TotalArea, 4.0);
    EXPECT_NEAR(report.solution.WeightedC, 0.82, 1e-12);
    // The solver works on the weighted C and the total area. C Cf is 0.984 at
    // 50 years, and 1.025 at 100 years is capped at 1: 1 x 4 x 7 in/hr = 28,
    // not 28.70.
    EXPECT_EQ(LineStartingWith(document, "Q(cfs)"),
              "Q(cfs)\t3.28\t6.56\t9.84\t13.12\t18.04\t23.62\t28.00");
}

TEST_F(ReportComposerTest, SolvesForTheSumOfTheThreeTravelTimes) {
    // Intensity falls from 10 in/hr at 15 minutes to 7 at 30, so each partial
    // sum of the times (12.3, 16.6 ...) reads a different value than 20 minutes.
    IntensityGrid falling;
    const char* const rows[] = {"12", "11", "10", "7", "1", "1", "1", "1", "1", "1"};
    for (std::size_t i = 0; i < falling.size(); ++i) {
        falling[i].fill(rows[i]);
    }
    SaveIntensityTable(folder_.AppFolder(), "Falling", falling);
    InsertElementRow(project_, Basin("Lot", "2", "0.5"));
    InsertElementRow(project_, Surface("Swale"));
    InsertElementRow(project_, Channel("Ditch"));

    const auto report = Compose("Falling");
    EXPECT_DOUBLE_EQ(report.solution.TotalTc, 20.0);
    EXPECT_NEAR(report.solution.periods[0].intensity, 9.0f, 1e-5f);
    EXPECT_EQ(LineStartingWith(report.document, "I(in/hr)"),
              "I(in/hr)\t9.00\t9.00\t9.00\t9.00\t9.00\t9.00\t9.00");
    EXPECT_EQ(LineStartingWith(report.document, "Q(cfs)"),
              "Q(cfs)\t9.00\t9.00\t9.00\t9.00\t9.90\t10.80\t11.25");
}

// Side by side areas: only the elements on the flow path add their travel
// times; every overland area still adds its area and C.
TEST_F(ReportComposerTest, TheTcRunsAlongTheFlowPath) {
    struct Case {
        const char* name;
        std::set<std::string> off;
        double total;
        const char* totalText;
        const char* southRow;
        const char* overlandTotal;
        const char* path;
    };
    const Case cases[] = {
        {"all on the path",
         {},
         32.3,
         "32.3",
         "South\t1\t0.02\t150\tRange\t0.13\t12.3",
         "TOTAL\t3\t\t300\t\t\t24.6",
         "<none>"},
        {"one area off",
         {"BasinSouth"},
         20.0,
         "20",
         "South\t1\t0.02\t150\tRange\t0.13\t(12.3)",
         "TOTAL\t3\t\t300\t\t\t12.3",
         "Tc flow path: North, Swale, Ditch"},
        {"the reaches off",
         {"SurfaceSwale", "ChannelDitch"},
         24.6,
         "24.6",
         "South\t1\t0.02\t150\tRange\t0.13\t12.3",
         "TOTAL\t3\t\t300\t\t\t24.6",
         "Tc flow path: North, South"},
    };
    for (const Case& k : cases) {
        project_ = folder_.NewProjectFile();
        InsertElementRow(project_, Basin("North", "2", "0.5"));
        InsertElementRow(project_, Basin("South", "1", "0.8"));
        InsertElementRow(project_, Surface("Swale"));
        InsertElementRow(project_, Channel("Ditch"));
        for (const std::string& tag : k.off) {
            SetOnTcPath(project_, tag, false);
        }
        const auto report = Compose();
        EXPECT_NEAR(report.solution.TotalTc, k.total, 1e-9) << k.name;
        EXPECT_DOUBLE_EQ(report.solution.TotalArea, 3.0) << k.name;
        EXPECT_NEAR(report.solution.WeightedC, 0.6, 1e-12) << k.name;
        const auto& lines = Lines(report.document);
        EXPECT_NE(std::find(lines.begin(), lines.end(), k.southRow), lines.end()) << k.name;
        EXPECT_NE(std::find(lines.begin(), lines.end(), k.overlandTotal), lines.end()) << k.name;
        EXPECT_EQ(LineStartingWith(report.document, "TOTAL Tc (min)"),
                  std::string("TOTAL Tc (min)\t: ") + k.totalText)
            << k.name;
        EXPECT_EQ(LineStartingWith(report.document, "Tc flow path"), k.path) << k.name;
    }
}

// Opening and solving a project that never left an element off the path
// writes nothing but the results row: a second open and solve, giving the same
// results, leaves every byte but SQLite's change counters as they were.
TEST_F(ReportComposerTest, SolvingAnAllOnPathProjectAddsNothingToTheFile) {
    InsertElementRow(project_, Basin("North", "2", "0.5"));
    InsertElementRow(project_, Surface("Swale"));
    InsertElementRow(project_, Channel("Ditch"));
    const auto bytes = [&] {
        std::string data = test::ReadFileBytes(project_);
        // The file change counter and the version-valid-for number.
        for (const std::size_t at : {24u, 92u}) {
            data.replace(at, 4, 4, '\0');
        }
        return data;
    };
    OpenProject(project_);
    Compose();
    const std::string solved = bytes();
    OpenProject(project_);
    Compose();
    EXPECT_EQ(bytes(), solved);
    EXPECT_FALSE(SQLite::Database(project_).tableExists(std::string(kOffTcPathTable)));
}

TEST_F(ReportComposerTest, AShallowOnlyProjectHasNoOtherSectionsAndNoFlow) {
    InsertElementRow(project_, Surface("Swale"));
    const auto report = Compose();
    const auto& document = report.document;

    for (const char* heading :
         {"Overland Flow", "Time Of Concentration", "Average Runoff Coefficient", "Channel Flow"}) {
        EXPECT_FALSE(HasLine(document, heading)) << heading;
    }
    EXPECT_TRUE(HasLine(document, "Shallow Concentrated Flow"));
    for (const char* line : {"Overland Flow Tc \t: 0", "Shallow Concentrated Flow Tc\t: 3.3",
                             "Channel Flow Tc\t: 0", "TOTAL Tc (min)\t: 3.3"}) {
        EXPECT_TRUE(HasLine(document, line)) << line;
    }
    EXPECT_EQ(LineStartingWith(document, "I(in/hr)"),
              "I(in/hr)\t1.00\t2.00\t3.00\t4.00\t5.00\t6.00\t7.00");
    EXPECT_EQ(LineStartingWith(document, "Q(cfs)"),
              "Q(cfs)\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00");
    EXPECT_DOUBLE_EQ(report.solution.TotalTc, 3.3);
}

TEST_F(ReportComposerTest, StoredNumbersPrintInTheirColumnFormats) {
    const struct {
        const char* stored;
        const char* general;  // Tc columns
        const char* fixed2;   // channel velocity
    } cases[] = {
        {"12.3000", "12.3", "12.30"}, {"10", "10", "10.00"},      {"2.5000", "2.5", "2.50"},
        {"0.50", "0.5", "0.50"},      {"abc", "0", "0.00"},       {"", "0", "0.00"},
        {" 7.25ft", "7.25", "7.25"},  {"0.825", "0.825", "0.83"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        project_ = folder_.NewProjectFile("numbers" + std::to_string(++n) + ".rmt");
        auto basin = Basin("Lot", "2", "0.5");
        basin.Tc = c.stored;
        InsertElementRow(project_, basin);
        auto channel = Channel("Ditch");
        channel.ChannelVelocity = c.stored;
        channel.ChannelTc = c.stored;
        InsertElementRow(project_, channel);

        const auto document = Compose().document;
        const std::string general = c.general;
        EXPECT_TRUE(HasLine(document, "Lot\t\t2\t0.02\t150\tRange\t0.13\t" + general));
        EXPECT_TRUE(HasLine(document, "TOTAL\t2\t\t150\t\t\t" + general));
        EXPECT_TRUE(HasLine(document, "Ditch\t\t600\t0.013\tConcrete\t0.005\t4.5\t7.2\t" +
                                          std::string(c.fixed2) + "\t" + general));
        EXPECT_TRUE(HasLine(document, "Overland Flow Tc \t: " + general));
        EXPECT_TRUE(HasLine(document, "Channel Flow Tc\t: " + general));
    }
}

TEST_F(ReportComposerTest, DeletedElementsAreLeftOut) {
    InsertElementRow(project_, Basin("Kept", "2", "0.5"));
    InsertElementRow(project_, Basin("Gone", "8", "0.9", "True"));
    InsertElementRow(project_, Surface("Swale"));
    InsertElementRow(project_, Surface("Vanished", "True"));
    InsertElementRow(project_, Channel("Ditch"));
    InsertElementRow(project_, Channel("Removed", "True"));
    const auto report = Compose();
    const std::string text = report.document.PlainText();

    for (const char* name : {"Gone", "Vanished", "Removed"}) {
        EXPECT_EQ(text.find(name), std::string::npos) << name;
    }
    EXPECT_TRUE(HasLine(report.document, "TOTAL\t2\t\t150\t\t\t12.3"));
    EXPECT_TRUE(HasLine(report.document, "TOTAL\t\t2\t\t\t0.5000"));
    EXPECT_TRUE(HasLine(report.document, "TOTAL\t\t\t300\t\t3.3"));
    EXPECT_TRUE(HasLine(report.document, "TOTAL\t600\t\t\t\t\t\t\t4.4"));
    EXPECT_DOUBLE_EQ(report.solution.TotalArea, 2.0);
    EXPECT_DOUBLE_EQ(report.solution.WeightedC, 0.5);
}

TEST_F(ReportComposerTest, AKindWhoseRowsAreAllDeletedGetsNoSectionEvenWhenFlagged) {
    InsertElementRow(project_, Basin("Gone", "8", "0.9", "True"));
    InsertElementRow(project_, Channel("Removed", "True"));
    InsertElementRow(project_, Surface("Swale"));
    NetworkFlags flags;
    flags.HasOverland = flags.HasChannel = flags.HasShallow = true;
    const auto report = ComposeReport({project_, folder_.AppFolder(), kEvenTable, flags});

    for (const char* heading : {"Overland Flow", "Channel Flow"}) {
        EXPECT_FALSE(HasLine(report.document, heading)) << heading;
    }
    EXPECT_TRUE(HasLine(report.document, "Shallow Concentrated Flow"));
    EXPECT_DOUBLE_EQ(report.solution.TotalArea, 0.0);
}

TEST_F(ReportComposerTest, ASectionNeedsBothItsFlagAndALiveRow) {
    const struct {
        const char* label;
        bool liveOverland, liveChannel;  // otherwise only a deleted row of the kind
        bool flagOverland, flagChannel;
        bool overlandShown, channelShown;
    } cases[] = {
        {"flagged, live rows", true, true, true, true, true, true},
        {"flagged, only deleted rows", false, false, true, true, false, false},
        {"live rows, not flagged", true, true, false, false, false, false},
        {"only overland flagged", true, true, true, false, true, false},
        {"only channel flagged", true, true, false, true, false, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        project_ = folder_.NewProjectFile("flags" + std::to_string(++n) + ".rmt");
        InsertElementRow(project_, Basin("Lot", "2", "0.5", c.liveOverland ? "False" : "True"));
        InsertElementRow(project_, Channel("Ditch", c.liveChannel ? "False" : "True"));
        InsertElementRow(project_, Surface("Swale"));
        NetworkFlags flags;
        flags.HasOverland = c.flagOverland;
        flags.HasChannel = c.flagChannel;
        flags.HasShallow = true;
        const auto report = ComposeReport({project_, folder_.AppFolder(), kEvenTable, flags});

        EXPECT_EQ(HasLine(report.document, "Overland Flow"), c.overlandShown);
        EXPECT_EQ(HasLine(report.document, "Average Runoff Coefficient"), c.overlandShown);
        EXPECT_EQ(HasLine(report.document, "Channel Flow"), c.channelShown);
        EXPECT_TRUE(HasLine(report.document, "Shallow Concentrated Flow"));
        // A kind left out adds nothing to the totals the solver works on.
        EXPECT_DOUBLE_EQ(report.solution.TotalArea, c.overlandShown ? 2.0 : 0.0);
        EXPECT_DOUBLE_EQ(report.solution.OverlandTcSum, c.overlandShown ? 12.3 : 0.0);
        EXPECT_DOUBLE_EQ(report.solution.ChannelTcSum, c.channelShown ? 4.4 : 0.0);
    }
}

TEST_F(ReportComposerTest, ZeroOverlandAreaGivesZeroSharesNotADivisionByZero) {
    InsertElementRow(project_, Basin("Roof", "0", "0.9"));
    InsertElementRow(project_, Basin("Yard", "0", "0.3"));
    const auto report = Compose();

    EXPECT_TRUE(HasLine(report.document, "Roof\tLawn\t0\t0.000\t0.9\t0.0000"));
    EXPECT_TRUE(HasLine(report.document, "Yard\tLawn\t0\t0.000\t0.3\t0.0000"));
    EXPECT_TRUE(HasLine(report.document, "TOTAL\t\t0\t\t\t0.0000"));
    EXPECT_EQ(report.solution.WeightedC, 0.0);
    EXPECT_FALSE(std::isnan(report.solution.WeightedC));
    EXPECT_EQ(LineStartingWith(report.document, "Q(cfs)"),
              "Q(cfs)\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00");
}

TEST_F(ReportComposerTest, AMissingIntensityTableStopsTheReportAndKeepsTheResults) {
    InsertElementRow(project_, Basin("Lot", "2", "0.5"));

    // A project never solved keeps an empty results table.
    EXPECT_THROW(Compose("NoSuchTable"), IntensityError);
    EXPECT_FALSE(ReadResults(project_));

    // A solved project keeps the results of its last solve.
    Compose();
    const auto before = ReadResults(project_);
    ASSERT_TRUE(before);
    EXPECT_THROW(Compose("NoSuchTable"), IntensityError);
    const auto after = ReadResults(project_);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->ival, before->ival);
    EXPECT_EQ(after->qpeak, before->qpeak);
}

TEST_F(ReportComposerTest, ReadsTheShippedTable) {
    InsertElementRow(project_, Surface("Swale"));
    const auto report = Compose(std::string(kDefaultIntensityTable));
    // Tc 3.3 minutes is shorter than the first duration: the 5-minute row.
    EXPECT_EQ(LineStartingWith(report.document, "I(in/hr)"),
              "I(in/hr)\t5.30\t6.14\t7.20\t8.02\t9.08\t9.86\t10.60");
}

TEST(SolveNetwork, FlagsTheKindsThatHaveLiveRows) {
    const struct {
        const char* label;
        bool basin, surface, channel;      // a live row of the kind
        bool overland, shallow, channelF;  // the flags expected
    } cases[] = {
        {"nothing", false, false, false, false, false, false},
        {"overland", true, false, false, true, false, false},
        {"shallow", false, true, false, false, true, false},
        {"channel", false, false, true, false, false, true},
        {"all", true, true, true, true, true, true},
    };
    TestFolder folder;
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string project = folder.NewProjectFile("p" + std::to_string(++n) + ".rmt");
        // Deleted rows of every kind never count.
        InsertElementRow(project, Basin("Gone", "1", "0.5", "True"));
        InsertElementRow(project, Surface("Gone", "True"));
        InsertElementRow(project, Channel("Gone", "True"));
        if (c.basin) {
            InsertElementRow(project, Basin("Lot", "1", "0.5"));
        }
        if (c.surface) {
            InsertElementRow(project, Surface("Swale"));
        }
        if (c.channel) {
            InsertElementRow(project, Channel("Ditch"));
        }
        const auto flags = SolveNetwork(project);
        EXPECT_EQ(flags.HasOverland, c.overland);
        EXPECT_EQ(flags.HasShallow, c.shallow);
        EXPECT_EQ(flags.HasChannel, c.channelF);
        EXPECT_EQ(flags.Any(), c.overland || c.shallow || c.channelF);
    }

    const std::string untouched = folder.NewProjectFile("empty.rmt");
    EXPECT_FALSE(SolveNetwork(untouched).Any());
}

// The report of a solution made by hand: no project file, no database.
TEST(ComposeReportFromASolution, PrintsTheSolutionsNumbersAndTexts) {
    NetworkSolution solution;
    BasinRow basin;
    basin.BasinName = "Lot";
    basin.Area = "2";
    basin.CVal = "0.5";
    basin.Tc = "12.3000";
    solution.overland = {basin};
    solution.TotalArea = 2.0;
    solution.WeightedC = 0.5;
    solution.OverlandTcSum = solution.TotalTc = 12.3;
    for (std::size_t k = 0; k < solution.periods.size(); ++k) {
        solution.periods[k].intensityShown = std::to_string(k) + ".50";
        solution.periods[k].peakFlowShown = std::to_string(k) + ".25";
    }
    ProjectInfoRow info;
    info.ProjectName = "By Hand";

    const RichDocument document = ComposeReport(solution, info);
    EXPECT_TRUE(HasLine(document, "Project Name:\tBy Hand"));
    EXPECT_TRUE(HasLine(document, "TOTAL\t\t2\t\t\t0.5000"));
    EXPECT_TRUE(HasLine(document, "TOTAL Tc (min)\t: 12.3"));
    EXPECT_TRUE(HasLine(document, "I(in/hr)\t0.50\t1.50\t2.50\t3.50\t4.50\t5.50\t6.50"));
    EXPECT_TRUE(HasLine(document, "Q(cfs)\t0.25\t1.25\t2.25\t3.25\t4.25\t5.25\t6.25"));
    EXPECT_FALSE(HasLine(document, "Shallow Concentrated Flow"));
    EXPECT_FALSE(HasLine(document, "Channel Flow"));
}
}  // namespace
}  // namespace torrenta
