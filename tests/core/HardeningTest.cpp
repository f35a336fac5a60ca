#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "BadInputSupport.h"
#include "Errors.h"
#include "TestFolder.h"
#include "editing/ElementEditing.h"
#include "intensity/IntensityDatabase.h"
#include "report/PlainTextWriter.h"
#include "report/ReportComposer.h"
#include "report/RtfWriter.h"
#include "store/Connection.h"
#include "store/ElementRows.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"

namespace torrenta {
namespace {

namespace fs = std::filesystem;
using test::TestFolder;

// Every duration holds the same intensities, so any Tc reads them; the 2-year
// 24-hour value gives a positive rainfall depth for sheet flow.
IntensityGrid EvenGrid() {
    IntensityGrid grid;
    for (auto& row : grid) {
        row = {"2.0", "0.125", "3.0", "4.0", "5.0", "6.0", "7.0"};
    }
    return grid;
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

int Count(const std::string& database, const std::string& table) {
    SQLite::Database db(database);
    return db.execAndGet("SELECT count(*) FROM " + QuoteIdentifier(table)).getInt();
}

std::string Unrtf(const std::string& rtf, const fs::path& file) {
    test::WriteFileBytes(file, rtf);
    const std::string command = "unrtf --text '" + file.string() + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    std::string output;
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, read);
    }
    pclose(pipe);
    return output;
}

// The line after the one that starts with `label`: unrtf ends the line at a
// tab after padding it with blanks.
std::string LineAfter(const std::string& text, const std::string& label) {
    const std::size_t at = text.find("\n" + label);
    if (at == std::string::npos) {
        return "<no line " + label + ">";
    }
    const std::size_t start = text.find('\n', at + 1);
    if (start == std::string::npos) {
        return "<nothing after " + label + ">";
    }
    return text.substr(start + 1, text.find('\n', start + 1) - start - 1);
}

bool IsPrintableAscii(const std::string& text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

// The report rows of the elements the test stores, each named `text`, with
// the room each name has in its table (see test::ExpectedCell).
std::vector<std::vector<test::ExpectedCell>> ElementRows(const std::string& text) {
    return {
        {{text, 1240}, {"3"}, {"0.02"}, {"150"}, {text, 1340}, {"0.24"}, {"18.3066"}},
        {{text, 1740}, {text, 1940}, {"3"}, {"1.000"}, {"0.4"}, {"0.4000"}},
        {{text, 1073}, {"Unpaved"}, {"0.02"}, {"500"}, {"2.2811"}, {"3.6532"}},
        {{text, 1738},
         {"1000"},
         {"0.013"},
         {text, 1272},
         {"0.005"},
         {"10"},
         {"8"},
         {"9.38"},
         {"1.777"}},
    };
}

// Every text goes into every text column and the intensity table name through
// the core, comes back exactly, leaves each table with the rows it should
// hold (no statement was cut short or extended), and shows in the report, in
// its plain text and in its RTF as typed, a TAB or a line break as a space.
// A table name is one line: a text with a TAB or a line break names its
// table only in the columns that store it.
TEST(HardeningTexts, AreStoredReadBackAndReportedExactly) {
    TestFolder folder;
    const fs::path unrtfFile = folder.File("read-back.rtf");
    const bool haveUnrtf = std::system("command -v unrtf >/dev/null 2>&1") == 0;
    int index = 0;
    for (const auto& [label, text] : test::TypedTexts()) {
        SCOPED_TRACE(label);
        const std::string project = folder.File("texts" + std::to_string(++index) + ".rmt");
        NewProject(folder.AppFolder(), project);
        const std::string table = test::HasControlCharacters(text) ? "Pasted" : text;
        const std::string shown = test::SpacedControls(text);

        if (test::HasControlCharacters(text)) {
            EXPECT_THROW(SaveIntensityTable(folder.AppFolder(), text, EvenGrid()), InputError);
        }
        const SaveOutcome first = IntensityTableExists(folder.AppFolder(), table)
                                      ? SaveOutcome::Updated
                                      : SaveOutcome::Created;
        ASSERT_EQ(SaveIntensityTable(folder.AppFolder(), table, EvenGrid()), first);
        EXPECT_TRUE(IntensityTableExists(folder.AppFolder(), table));
        EXPECT_EQ(ReadIntensityGrid(folder.AppFolder(), table), EvenGrid());
        EXPECT_EQ(SaveIntensityTable(folder.AppFolder(), table, EvenGrid()), SaveOutcome::Updated);

        SaveProjectSetup(project, {text, text, text, text, text, "ignored"}, "Outfall", text);
        SetProjectIntensityTable(project, text);
        SetNodeName(project, text);
        InsertElementRow(project, BasinRow{"Basin1", "first", "650", "840", "3", "Lawn", "0.4",
                                           "0.02", "150", "False", "Grass", "0.24", "18.3066"});
        InsertElementRow(project, SurfaceRow{"Surface1", "first", "650", "1680", "0.02", "500",
                                             "False", "2.2811", "Unpaved", "3.6532"});
        InsertElementRow(project,
                         ChannelRow{"Channel1", "first", "650", "2520", "10", "8", "0.005", "1000",
                                    "Concrete", "0.013", "False", "9.3792", "1.7770"});
        // The update dialogs' path: every data column rewritten by tag.
        UpdateElementRow(project, "Basin1",
                         BasinRow{"", text, "", "", "3", text, "0.4", "0.02", "150", "", text,
                                  "0.24", "18.3066"});
        UpdateElementRow(
            project, "Surface1",
            SurfaceRow{"", text, "", "", "0.02", "500", "", "2.2811", "Unpaved", "3.6532"});
        UpdateElementRow(project, "Channel1",
                         ChannelRow{"", text, "", "", "10", "8", "0.005", "1000", text, "0.013", "",
                                    "9.3792", "1.7770"});

        const auto info = ReadProjectInfo(project);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->ProjectName, text);
        EXPECT_EQ(info->DesignEngineer, text);
        EXPECT_EQ(info->ProjectManager, text);
        EXPECT_EQ(info->DesignDate, text);
        EXPECT_EQ(info->JobNumber, text);
        EXPECT_EQ(info->IValueBasinName, text);
        const auto node = ReadNode(project);
        ASSERT_TRUE(node);
        EXPECT_EQ(node->NodeName, text);
        EXPECT_EQ(node->IntensityTable, text);
        const auto basin = LoadElementRow<BasinRow>(project, "Basin1");
        ASSERT_TRUE(basin);
        EXPECT_EQ(basin->BasinName, text);
        EXPECT_EQ(basin->SoilType, text);
        EXPECT_EQ(basin->BasinNType, text);
        EXPECT_EQ(basin->Deleted, "False");
        EXPECT_EQ(LoadElementRow<SurfaceRow>(project, "Surface1")->SurfName, text);
        const auto channel = LoadElementRow<ChannelRow>(project, "Channel1");
        ASSERT_TRUE(channel);
        EXPECT_EQ(channel->ChannelName, text);
        EXPECT_EQ(channel->ChannelMaterial, text);

        EXPECT_NO_THROW(OpenProject(project));
        for (const char* table : {"TblProjectInfo", "TblNodeInfo", "TblBasinInfo", "TblSurfaceInfo",
                                  "TblChannelInfo"}) {
            EXPECT_EQ(Count(project, table), 1) << table;
        }
        EXPECT_EQ(Count(project, "TblResults"), 0);
        const auto names = ListIntensityTables(folder.AppFolder());
        EXPECT_EQ(std::count(names.begin(), names.end(), table), 1);
        EXPECT_EQ(ReadIntensityRows(folder.AppFolder(), table).size(), 10u);

        const RichDocument document =
            ComposeReport({project, folder.AppFolder(), table, SolveNetwork(project)}).document;
        const std::string reportText = document.PlainText();
        for (const char* label : {"Project Name:", "Design Engineer:", "Project Manager:",
                                  "Design Date:", "Job Number:"}) {
            const std::string line = std::string(label) + "\t" + shown + "\n";
            EXPECT_NE(reportText.find(line), std::string::npos) << label;
        }
        for (const auto& row : ElementRows(shown)) {
            EXPECT_TRUE(test::ShowsRow(reportText, row)) << row.front().text;
        }
        EXPECT_EQ(Count(project, "TblResults"), 1);

        const std::string rtf = WriteRtf(document);
        EXPECT_TRUE(test::IsSevenBit(rtf));
        EXPECT_EQ(test::RtfText(rtf), reportText);
        const std::string plain = WritePlainText(document);
        EXPECT_NE(plain.find(shown), std::string::npos);
        // An independent reader agrees where it can show the text: unrtf
        // prints '?' for characters beyond ASCII and breaks lines at tabs.
        if (haveUnrtf && IsPrintableAscii(text)) {
            EXPECT_EQ(LineAfter(Unrtf(rtf, unrtfFile), "Project Name:"), text);
        }
    }
}

// The boxes that may stay empty store "" and the report shows an empty value;
// the ones that may not are named as missing, and a table cannot be nameless.
TEST(HardeningTexts, EmptyTextIsStoredWhereAllowedAndRefusedElsewhere) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    SaveProjectSetup(project, {"", "", "", "", "", ""}, "Outfall", "Atlanta");
    const auto info = ReadProjectInfo(project);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->ProjectName, "");
    EXPECT_EQ(info->DesignDate, "");
    InsertElementRow(project, BasinRow{"Basin1", "B", "650", "840", "3", "Lawn", "0.4", "0.02",
                                       "150", "False", "", "0.24", "18.3066"});
    InsertElementRow(project, ChannelRow{"Channel1", "C", "650", "2520", "10", "8", "0.005", "1000",
                                         "", "0.013", "False", "9.3792", "1.7770"});
    EXPECT_EQ(LoadElementRow<BasinRow>(project, "Basin1")->BasinNType, "");
    EXPECT_EQ(LoadElementRow<ChannelRow>(project, "Channel1")->ChannelMaterial, "");
    const std::string reportText =
        ComposeReport({project, folder.AppFolder(), "Atlanta", SolveNetwork(project)})
            .document.PlainText();
    EXPECT_NE(reportText.find("\nProject Name:\t\nDesign Engineer:\t\n"), std::string::npos);
    EXPECT_NE(reportText.find("\nB\t\t3\t0.02\t150\t\t0.24\t18.3066\n"), std::string::npos);

    BasinRow basin{"", "", "", "", "3", "", "0.4", "0.02", "150", "", "", "0.24", ""};
    EXPECT_EQ(MissingFields(basin), (std::vector<std::string_view>{"BasinName", "SoilType"}));
    EXPECT_EQ(MissingFields(SurfaceRow{"", "", "", "", "0.02", "500", "", "", "", ""}),
              std::vector<std::string_view>{"SurfName"});
    EXPECT_EQ(
        MissingFields(ChannelRow{"", "", "", "", "1", "1", "1", "1", "", "0.013", "", "", ""}),
        std::vector<std::string_view>{"ChannelName"});
    EXPECT_EQ(MessageOf([] { ValidateIntensityTableName(""); }),
              "An intensity table needs a name.");
    EXPECT_THROW(SaveIntensityTable(folder.AppFolder(), "", EvenGrid()), InputError);
    EXPECT_EQ(ListIntensityTables(folder.AppFolder()), std::vector<std::string>{"Atlanta"});
}

// The gate every command passes first names the file and what is wrong with
// it, and reading it changes nothing in the folder.
TEST(HardeningFiles, DamagedProjectsAreRefusedByNameAndLeftAsTheyWere) {
    for (const auto& damaged : test::DamagedProjects()) {
        SCOPED_TRACE(damaged.label);
        TestFolder folder;
        const std::string path = folder.File("site.rmt");
        test::MakeDamagedProject(damaged.damage, folder.AppFolder(), path);
        const auto before = test::FolderFingerprint(folder.AppFolder());

        const std::string expected =
            damaged.damage == test::Damage::Folder
                ? "Cannot open the project file \"" + path + "\": " + damaged.reason
                : "\"" + path + "\" " + damaged.reason;
        EXPECT_EQ(MessageOf([&] { OpenProject(path); }), expected);
        EXPECT_THROW(OpenProject(path), ProjectFileError);
        if (damaged.damage == test::Damage::Folder) {
            EXPECT_EQ(MessageOf([&] { NewProject(folder.AppFolder(), path); }),
                      "Cannot create \"" + path + "\": it is a folder.");
        }
        const auto after = test::FolderFingerprint(folder.AppFolder());
        EXPECT_EQ(before, after) << test::FingerprintChanges(before, after);
    }
}

// A project the engineer may only read opens for reading, but whatever would
// change it is refused up front with the reason, and File New does not
// replace it.
TEST(HardeningFiles, ReadOnlyProjectIsReadButNotChanged) {
    TestFolder folder;
    const std::string project = folder.File("site.rmt");
    test::MakeSampleProject(folder.AppFolder(), project);
    if (!test::MakeReadOnly(project)) {
        GTEST_SKIP() << "cannot make a file read-only for an ordinary user here";
    }
    const auto before = test::FolderFingerprint(folder.AppFolder());
    {
        test::ActingAsOrdinaryUser user;
        if (!user.Active()) {
            GTEST_SKIP() << "running as root and cannot act as the user nobody";
        }
        EXPECT_NO_THROW(OpenProject(project));
        EXPECT_EQ(ReadNode(project)->NodeName, "Outfall");
        EXPECT_EQ(ReadLiveElements<BasinRow>(project).size(), 1u);
        EXPECT_EQ(MessageOf([&] { RequireWritableProject(project); }),
                  "The project file \"" + project +
                      "\" is read-only; Torrenta saves every change into the project, so it "
                      "needs a file it may write.");
        EXPECT_THROW(RequireWritableProject(project), ProjectFileError);
        EXPECT_EQ(
            MessageOf([&] { NewProject(folder.AppFolder(), project); }),
            "Cannot create \"" + project + "\": a read-only file of that name is in the way.");
        EXPECT_THROW(SoftDeleteElement(project, ElementKind::Overland, "Basin1"), DatabaseError);
    }
    const auto after = test::FolderFingerprint(folder.AppFolder());
    EXPECT_EQ(before, after) << test::FingerprintChanges(before, after);

    const std::string writable = folder.File("other.rmt");
    test::MakeSampleProject(folder.AppFolder(), writable);
    EXPECT_NO_THROW(RequireWritableProject(writable));
}

// A read-only intensity database still serves every reading (solving, the
// lists); only saving a table is refused, and the file stays as it was.
TEST(HardeningFiles, ReadOnlyIntensityDatabaseServesReadsAndRefusesSaves) {
    TestFolder folder;
    const std::string project = folder.File("site.rmt");
    test::MakeSampleProject(folder.AppFolder(), project);
    const fs::path intensity = IntensityDatabasePath(folder.AppFolder());
    if (!test::MakeReadOnly(intensity)) {
        GTEST_SKIP() << "cannot make a file read-only for an ordinary user here";
    }
    const std::string before = test::ReadFileBytes(intensity);
    test::ActingAsOrdinaryUser user;
    if (!user.Active()) {
        GTEST_SKIP() << "running as root and cannot act as the user nobody";
    }
    EXPECT_EQ(ListIntensityTables(folder.AppFolder()), std::vector<std::string>{"Atlanta"});
    const std::string report =
        ComposeReport({project, folder.AppFolder(), "Atlanta", SolveNetwork(project)})
            .document.PlainText();
    // Tc 23.7368 min reads Atlanta 58.2% of the way from its 15 to its 30
    // minute row; A 3, C 0.4, and Cf 1.1, 1.2, 1.25 for 25, 50, 100 years.
    EXPECT_NE(report.find("\nI(in/hr)\t2.88\t3.37\t4.02\t4.51\t5.14\t5.60\t6.05\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("\nQ(cfs)\t3.46\t4.04\t4.83\t5.41\t6.78\t8.06\t9.07\n"),
              std::string::npos)
        << report;
    const std::string message =
        MessageOf([&] { SaveIntensityTable(folder.AppFolder(), "Atlanta", EvenGrid()); });
    EXPECT_NE(message.find("Cannot save the intensity table \"Atlanta\""), std::string::npos)
        << message;
    EXPECT_NE(message.find(intensity.string()), std::string::npos) << message;
    EXPECT_NE(message.find("readonly"), std::string::npos) << message;
    EXPECT_THROW(SaveIntensityTable(folder.AppFolder(), "New", EvenGrid()), IntensityError);
    EXPECT_EQ(test::ReadFileBytes(intensity), before);
}

struct BrokenIntensityCase {
    const char* label;
    const char* sql;  // run on intensity.mdb after table "T" was saved; "" removes the file
    const char* message;
};

// A solve on a damaged intensity table stops with the table and the cell named
// instead of reporting flows computed from missing or unreadable values, and
// the project keeps its results row as it was. Good tables with untidy but
// readable cells still solve.
TEST(HardeningFiles, DamagedIntensityTablesStopTheSolve) {
    const BrokenIntensityCase cases[] = {
        {"intensity.mdb missing", "", "the file does not exist."},
        {"seven rows", "DELETE FROM T WHERE ID > 7",
         "The intensity table \"T\" has only 7 of its 10 rows."},
        {"no rows", "DELETE FROM T", "The intensity table \"T\" has only 0 of its 10 rows."},
        {"a cell holding text", "UPDATE T SET \"10\" = 'n/a' WHERE ID = 5",
         "The intensity table \"T\" holds \"n/a\" as the 10-year value of row 5 (1 hr), which is "
         "not a number."},
        {"an empty cell", "UPDATE T SET \"50\" = '' WHERE ID = 3",
         "The intensity table \"T\" has no 50-year value in row 3 (15 min)."},
        {"a NULL cell", "UPDATE T SET \"1\" = NULL WHERE ID = 10",
         "The intensity table \"T\" has no 1-year value in row 10 (24 hr)."},
        {"a duration holding text", "UPDATE T SET Duration = 'one hour' WHERE ID = 5",
         "The intensity table \"T\" holds \"one hour\" as the duration of row 5 (1 hr), which is "
         "not a number."},
        {"a sign alone", "UPDATE T SET \"100\" = '-' WHERE ID = 1",
         "holds \"-\" as the 100-year value of row 1 (5 min)"},
        // The durations are the ten fixed ones; another is a tampered table.
        {"a duration of 10,000 hours", "UPDATE T SET Duration = '10000' WHERE ID = 10",
         "holds \"10000\" as the duration of row 10 (24 hr), which should be 24.0 hours"},
        {"an eleventh row", "INSERT INTO T (ID, Duration) SELECT 11, '10000'",
         "holds more than its 10 rows (row 11, duration \"10000\")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TestFolder folder;
        const std::string project = folder.File("site.rmt");
        test::MakeSampleProject(folder.AppFolder(), project);
        SaveIntensityTable(folder.AppFolder(), "T", EvenGrid());
        if (*c.sql == '\0') {
            fs::remove(IntensityDatabasePath(folder.AppFolder()));
        } else {
            SQLite::Database(IntensityDatabasePath(folder.AppFolder()), SQLite::OPEN_READWRITE)
                .exec(c.sql);
        }
        const auto before = test::FolderFingerprint(folder.AppFolder());
        const std::string message = MessageOf([&] {
            ComposeReport({project, folder.AppFolder(), "T", SolveNetwork(project)});
        });
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_THROW(ComposeReport({project, folder.AppFolder(), "T", SolveNetwork(project)}),
                     IntensityError);
        const auto after = test::FolderFingerprint(folder.AppFolder());
        EXPECT_EQ(before, after) << test::FingerprintChanges(before, after);
    }

    TestFolder folder;
    const std::string project = folder.File("site.rmt");
    test::MakeSampleProject(folder.AppFolder(), project);
    IntensityGrid untidy = EvenGrid();
    untidy[4][3] = " 4.0 in/hr";
    untidy[0][0] = ".5";
    untidy[9][6] = "+7e0";
    SaveIntensityTable(folder.AppFolder(), "Untidy", untidy);
    // Numbers past the single-precision range are held at its ends.
    SQLite::Database(IntensityDatabasePath(folder.AppFolder()), SQLite::OPEN_READWRITE)
        .exec("UPDATE Untidy SET \"2\" = '1e39', \"5\" = '-1e39'");
    const auto solution =
        ComposeReport({project, folder.AppFolder(), "Untidy", SolveNetwork(project)}).solution;
    EXPECT_FLOAT_EQ(solution.periods[3].intensity, 4.0f);
    for (const auto& [k, end] : {std::pair{1, FLT_MAX}, std::pair{2, -FLT_MAX}}) {
        EXPECT_EQ(solution.periods[k].intensity, end) << k;
        EXPECT_EQ(solution.periods[k].peakFlow, end) << k;
    }
}

// File New without its template names the template and leaves no file.
TEST(HardeningFiles, MissingTemplateCreatesNothing) {
    TestFolder folder;
    fs::remove(TemplatePath(folder.AppFolder()));
    const std::string project = folder.File("new.rmt");
    const auto before = test::FolderFingerprint(folder.AppFolder());
    EXPECT_EQ(MessageOf([&] { NewProject(folder.AppFolder(), project); }),
              "Cannot create \"" + project + "\": the project template \"" +
                  TemplatePath(folder.AppFolder()) + "\" is missing.");
    EXPECT_EQ(before, test::FolderFingerprint(folder.AppFolder()));
}

}  // namespace
}  // namespace torrenta
