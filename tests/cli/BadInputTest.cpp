#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "TestFolder.h"
#include "intensity/IntensityDatabase.h"
#include "report/PlainTextWriter.h"
#include "report/ReportComposer.h"
#include "store/Connection.h"
#include "store/ElementRows.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"

// The built torrenta-cli run as its own process, as a script or a shell would
// run it: every argument arrives exactly as given, and what it prints, its exit
// code and the files it leaves are checked.
namespace torrenta {
namespace {

namespace fs = std::filesystem;
using test::ProcessOutcome;
using test::TestFolder;

IntensityGrid EvenGrid() {
    IntensityGrid grid;
    for (auto& row : grid) {
        row = {"2.0", "0.125", "3.0", "4.0", "5.0", "6.0", "7.0"};
    }
    return grid;
}

std::string Describe(const ProcessOutcome& outcome) {
    return (outcome.exited ? "exit " : "signal ") + std::to_string(outcome.code) +
           "\nstdout: " + outcome.out.substr(0, 400) + "\nstderr: " + outcome.err.substr(0, 400);
}

class CliBadInput : public ::testing::Test {
  protected:
    // Options go first, so a "--" before a positional value can end them.
    ProcessOutcome Cli(std::vector<std::string> args, bool asOrdinaryUser = false) {
        args.insert(args.begin(), "--app-folder=" + folder_.AppFolder());
        return test::RunProgram(TORRENTA_CLI, args, asOrdinaryUser);
    }

    std::string App() const { return folder_.AppFolder(); }

    TestFolder folder_;
};

std::string Option(const char* name, const std::string& value) {
    return std::string(name) + "=" + value;
}

// The text typed as every option that takes text: stored and read back
// exactly (list, --json, the file itself), the intensity table found by that
// name, and the report on stdout and in the RTF file exactly what the core
// composes from the file, which holds the text as typed. A text with a TAB or
// a line break is refused.
TEST_F(CliBadInput, TypedTextsTravelThroughEveryOption) {
    int index = 0;
    for (const auto& [label, text] : test::TypedTexts()) {
        SCOPED_TRACE(label);
        const std::string project = folder_.File("texts" + std::to_string(++index) + ".rmt");
        const std::string rtf = folder_.File("texts" + std::to_string(index) + ".rtf");
        if (test::HasControlCharacters(text)) {
            // Names are one line: the command refuses before it writes.
            const ProcessOutcome refused =
                Cli({"new", project, "--node=Outfall", Option("--project-name", text)});
            EXPECT_EQ(refused.code, kExitInvalidInput) << Describe(refused);
            EXPECT_FALSE(fs::exists(project));
            continue;
        }
        SaveIntensityTable(App(), text, EvenGrid());

        const ProcessOutcome tables = Cli({"tables"});
        EXPECT_EQ(tables.code, kExitDone) << Describe(tables);
        EXPECT_NE(("\n" + tables.out).find("\n" + text + "\n"), std::string::npos) << tables.out;
        const ProcessOutcome table = Cli({"table", "--", text});
        EXPECT_EQ(table.code, kExitDone) << Describe(table);
        EXPECT_EQ(table.out.substr(0, table.out.find("\n             1 yr")),
                  "Intensity (in/hr): " + text);

        const ProcessOutcome created = Cli(
            {"new", project, Option("--node", text), Option("--table", text),
             Option("--project-name", text), Option("--job-number", text),
             Option("--design-date", text), Option("--engineer", text), Option("--manager", text)});
        ASSERT_EQ(created.code, kExitDone) << Describe(created);
        const ProcessOutcome basin =
            Cli({"add", "overland", project, Option("--name", text), "--area=3", "--slope=0.02",
                 Option("--land-use", text), "--c=0.4", "--length=150", Option("--surface", text),
                 "--n=0.24"});
        EXPECT_EQ(basin.out, "Basin1\n") << Describe(basin);
        const ProcessOutcome surface = Cli({"add", "shallow", project, Option("--name", text),
                                            "--length=500", "--slope=0.02", "--type=Unpaved"});
        EXPECT_EQ(surface.out, "Surface1\n") << Describe(surface);
        const ProcessOutcome channel =
            Cli({"add", "channel", project, Option("--name", text), "--area=10", "--wp=8",
                 "--slope=0.005", "--length=1000", Option("--material", text), "--n=0.013"});
        EXPECT_EQ(channel.out, "Channel1\n") << Describe(channel);

        const auto info = ReadProjectInfo(project);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->ProjectName, text);
        EXPECT_EQ(info->DesignEngineer, text);
        EXPECT_EQ(info->ProjectManager, text);
        EXPECT_EQ(info->DesignDate, text);
        EXPECT_EQ(info->JobNumber, text);
        EXPECT_EQ(ReadNode(project)->NodeName, text);
        EXPECT_EQ(ReadNode(project)->IntensityTable, text);
        const auto basins = ReadAllElements<BasinRow>(project);
        const auto surfaces = ReadAllElements<SurfaceRow>(project);
        const auto channels = ReadAllElements<ChannelRow>(project);
        ASSERT_EQ(basins.size(), 1u);
        ASSERT_EQ(surfaces.size(), 1u);
        ASSERT_EQ(channels.size(), 1u);
        EXPECT_EQ(basins[0].BasinName, text);
        EXPECT_EQ(basins[0].SoilType, text);
        EXPECT_EQ(basins[0].BasinNType, text);
        EXPECT_EQ(surfaces[0].SurfName, text);
        EXPECT_EQ(channels[0].ChannelName, text);
        EXPECT_EQ(channels[0].ChannelMaterial, text);

        const ProcessOutcome list = Cli({"list", project});
        EXPECT_EQ(list.out, "overland\tBasin1\t" + text + "\t" + basins[0].Tc +
                                "\nshallow\tSurface1\t" + text + "\t" + surfaces[0].SurfTc +
                                "\nchannel\tChannel1\t" + text + "\t" + channels[0].ChannelTc +
                                "\n");

        const ProcessOutcome json = Cli({"solve", project, "--json"});
        ASSERT_EQ(json.code, kExitDone) << Describe(json);
        const auto parsed = nlohmann::json::parse(json.out);
        for (const char* field :
             {"ProjectName", "DesignEngineer", "ProjectManager", "DesignDate", "JobNumber"}) {
            EXPECT_EQ(parsed["project"][field], text) << field;
        }
        EXPECT_EQ(parsed["node"]["NodeName"], text);
        EXPECT_EQ(parsed["intensityTable"], text);
        EXPECT_EQ(parsed["elements"]["overland"][0]["BasinName"], text);
        EXPECT_EQ(parsed["elements"]["overland"][0]["SoilType"], text);
        EXPECT_EQ(parsed["elements"]["overland"][0]["BasinNType"], text);
        EXPECT_EQ(parsed["elements"]["shallow"][0]["SurfName"], text);
        EXPECT_EQ(parsed["elements"]["channel"][0]["ChannelMaterial"], text);

        const ProcessOutcome solved =
            Cli({"solve", project, Option("--table", text), "--rtf", rtf});
        ASSERT_EQ(solved.code, kExitDone) << Describe(solved);
        const RichDocument document =
            ComposeReport({project, App(), text, SolveNetwork(project)}).document;
        EXPECT_EQ(solved.out, WritePlainText(document));
        const std::string saved = test::ReadFileBytes(rtf);
        EXPECT_TRUE(test::IsSevenBit(saved));
        const std::string read = test::RtfText(saved);
        EXPECT_EQ(read, document.PlainText());
        EXPECT_NE(read.find("\nProject Name:\t" + test::ReportLines(text) + "\n"),
                  std::string::npos);
        EXPECT_TRUE(test::ShowsRow(read, {{text, 1738}, {"1000"}, {"0.013"}}, false));
        if (!test::HasControlCharacters(text)) {
            EXPECT_NE(solved.out.find(text), std::string::npos);
        }
        EXPECT_FALSE(fs::exists(rtf + ".tmp"));
    }
}

// File and folder names are typed too: a project, its folder and its report
// may carry any of the texts a file name can hold, and a message names the
// file exactly as given.
TEST_F(CliBadInput, FileNamesMayHoldTheTypedTexts) {
    for (const auto& [label, text] : test::TypedTexts()) {
        if (text.size() > 200 || text.find('/') != std::string::npos) {
            continue;  // beyond what a file name can hold
        }
        SCOPED_TRACE(label);
        const fs::path folder = fs::path(App()) / ("in " + text);
        fs::create_directory(folder);
        const std::string project = (folder / (text + ".rmt")).string();
        const std::string rtf = (folder / (text + ".rtf")).string();
        const ProcessOutcome created = Cli({"new", project, "--node=Outfall"});
        ASSERT_EQ(created.code, kExitDone) << Describe(created);
        EXPECT_EQ(Cli({"add", "shallow", project, "--name=S", "--length=500", "--slope=0.02"}).out,
                  "Surface1\n");
        const ProcessOutcome solved = Cli({"solve", project, "--rtf", rtf});
        EXPECT_EQ(solved.code, kExitDone) << Describe(solved);
        EXPECT_EQ(test::ReadFileBytes(rtf).substr(0, 6), "{\\rtf1");
        EXPECT_EQ(Cli({"list", project}).out.substr(0, 18), "shallow\tSurface1\tS");

        const std::string missing = (folder / (text + " missing.rmt")).string();
        const ProcessOutcome refused = Cli({"list", missing});
        EXPECT_EQ(refused.code, kExitProjectFile);
        EXPECT_EQ(refused.err, "torrenta-cli: Cannot open the project file \"" + missing +
                                   "\": the file does not exist.\n");
    }
}

struct EmptyCase {
    const char* label;
    std::vector<std::string> args;  // PROJECT stands for the project file
    int code;
    const char* message;
};

// An option given as "--name=" is an empty text, never the next argument.
// Where a dialog may be left empty the command stores ""; elsewhere it names
// what is missing and changes no file.
TEST_F(CliBadInput, EmptyTextsAreStoredWhereAllowedAndRefusedElsewhere) {
    const std::string project = folder_.File("empty.rmt");
    const ProcessOutcome created =
        Cli({"new", project, "--node=Outfall",
             "--project-name=", "--job-number=", "--design-date=", "--engineer=", "--manager="});
    ASSERT_EQ(created.code, kExitDone) << Describe(created);
    const auto info = ReadProjectInfo(project);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->ProjectName, "");
    EXPECT_EQ(info->JobNumber, "");
    EXPECT_EQ(info->DesignDate, "");
    EXPECT_EQ(info->DesignEngineer, "");
    EXPECT_EQ(info->ProjectManager, "");
    EXPECT_EQ(ReadNode(project)->IntensityTable, "Atlanta");
    EXPECT_EQ(Cli({"add", "overland", project, "--name=B", "--area=3", "--slope=0.02",
                   "--land-use=Lawn", "--c=0.4", "--length=150", "--surface=", "--n=0.24"})
                  .out,
              "Basin1\n");
    EXPECT_EQ(Cli({"add", "channel", project, "--name=C", "--area=10", "--wp=8", "--slope=0.005",
                   "--length=1000", "--material=", "--n=0.013"})
                  .out,
              "Channel1\n");
    EXPECT_EQ(LoadElementRow<BasinRow>(project, "Basin1")->BasinNType, "");
    EXPECT_EQ(LoadElementRow<ChannelRow>(project, "Channel1")->ChannelMaterial, "");

    const std::string other = folder_.File("other.rmt");
    const EmptyCase cases[] = {
        {"node",
         {"new", other, "--node="},
         kExitInvalidInput,
         "Please fill all fields: missing --node."},
        {"table",
         {"new", other, "--node=N", "--table="},
         kExitIntensity,
         "The intensity table \"\" does not exist in the intensity database."},
        {"element name",
         {"add", "overland", project, "--name=", "--area=3", "--slope=0.02", "--land-use=Lawn",
          "--c=0.4", "--length=150", "--n=0.24"},
         kExitInvalidInput,
         "Please fill all fields: missing --name."},
        {"land use",
         {"add", "overland", project, "--name=B", "--area=3", "--slope=0.02",
          "--land-use=", "--c=0.4", "--length=150", "--n=0.24"},
         kExitInvalidInput,
         "Please fill all fields: missing --land-use."},
        {"surface name",
         {"add", "shallow", project, "--name=", "--length=500", "--slope=0.02"},
         kExitInvalidInput,
         "Please fill all fields: missing --name."},
        {"channel name",
         {"add", "channel", project, "--name=", "--area=10", "--wp=8", "--slope=0.005",
          "--length=1000", "--n=0.013"},
         kExitInvalidInput,
         "Please fill all fields: missing --name."},
        {"a number",
         {"add", "shallow", project, "--name=S", "--length=", "--slope=0.02"},
         kExitInvalidInput,
         "Please fill all fields: missing --length."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto before = test::FolderFingerprint(App());
        const ProcessOutcome outcome = Cli(c.args);
        EXPECT_EQ(outcome.code, c.code) << Describe(outcome);
        EXPECT_EQ(outcome.err, std::string("torrenta-cli: ") + c.message + "\n");
        EXPECT_EQ(outcome.out, "");
        const auto after = test::FolderFingerprint(App());
        EXPECT_EQ(before, after) << test::FingerprintChanges(before, after);
    }
}

// Each command that reads a project, given a file that is no project, names
// the file and what is wrong, exits with 3 and leaves every file as it was.
TEST_F(CliBadInput, DamagedProjectsAreRefusedWithTheirReason) {
    for (const auto& damaged : test::DamagedProjects()) {
        SCOPED_TRACE(damaged.label);
        TestFolder folder;
        const std::string path = folder.File("site.rmt");
        test::MakeDamagedProject(damaged.damage, folder.AppFolder(), path);
        const std::string message = damaged.damage == test::Damage::Folder
                                        ? "torrenta-cli: Cannot open the project file \"" + path +
                                              "\": " + damaged.reason + "\n"
                                        : "torrenta-cli: \"" + path + "\" " + damaged.reason + "\n";
        const std::vector<std::string> commands[] = {
            {"list", path},
            {"solve", path},
            {"solve", path, "--json"},
            {"add", "shallow", path, "--name=S", "--length=500", "--slope=0.02"},
            {"add", "overland", path, "--name=B", "--area=3", "--slope=0.02", "--land-use=L",
             "--c=0.4", "--length=150", "--n=0.24"},
        };
        const auto before = test::FolderFingerprint(folder.AppFolder());
        for (auto args : commands) {
            SCOPED_TRACE(args[0]);
            args.insert(args.begin(), "--app-folder=" + folder.AppFolder());
            const ProcessOutcome outcome = test::RunProgram(TORRENTA_CLI, args);
            EXPECT_TRUE(outcome.exited) << Describe(outcome);
            EXPECT_EQ(outcome.code, kExitProjectFile) << Describe(outcome);
            EXPECT_EQ(outcome.err, message);
            EXPECT_EQ(outcome.out, "");
        }
        if (damaged.damage == test::Damage::Folder) {
            const ProcessOutcome outcome = test::RunProgram(
                TORRENTA_CLI, {"--app-folder=" + folder.AppFolder(), "new", path, "--node=N"});
            EXPECT_EQ(outcome.code, kExitProjectFile) << Describe(outcome);
            EXPECT_EQ(outcome.err,
                      "torrenta-cli: Cannot create \"" + path + "\": it is a folder.\n");
        }
        const auto after = test::FolderFingerprint(folder.AppFolder());
        EXPECT_EQ(before, after) << test::FingerprintChanges(before, after);
    }
}

// A project the user may only read is listed, but add, solve, detention and new refuse it
// before doing anything, saying why.
TEST_F(CliBadInput, ReadOnlyProjectIsListedButNotChanged) {
    const std::string project = folder_.File("site.rmt");
    test::MakeSampleProject(App(), project);
    if (!test::MakeReadOnly(project)) {
        GTEST_SKIP() << "cannot make a file read-only for an ordinary user here";
    }
    const auto before = test::FolderFingerprint(App());
    const ProcessOutcome list = Cli({"list", project}, true);
    if (list.exited && list.code == 126) {
        GTEST_SKIP() << "running as root and cannot start a program as the user nobody";
    }
    EXPECT_EQ(list.code, kExitDone) << Describe(list);
    EXPECT_EQ(list.out.substr(0, 27), "overland\tBasin1\tNorth Lots\t");

    const std::string readOnly = "torrenta-cli: The project file \"" + project +
                                 "\" is read-only; Torrenta saves every change into the project, "
                                 "so it needs a file it may write.\n";
    const std::vector<std::string> refused[] = {
        {"solve", project},
        {"solve", project, "--rtf", folder_.File("report.rtf")},
        {"add", "shallow", project, "--name=S", "--length=500", "--slope=0.02"},
        {"detention", project, "--release=2", "--store"},
        {"detention", project, "--clear"},
    };
    for (const auto& args : refused) {
        const ProcessOutcome outcome = Cli(args, true);
        EXPECT_EQ(outcome.code, kExitProjectFile) << Describe(outcome);
        EXPECT_EQ(outcome.err, readOnly);
        EXPECT_EQ(outcome.out, "");
    }
    const ProcessOutcome replaced = Cli({"new", project, "--node=N"}, true);
    EXPECT_EQ(replaced.code, kExitProjectFile) << Describe(replaced);
    EXPECT_EQ(replaced.err, "torrenta-cli: Cannot create \"" + project +
                                "\": a read-only file of that name is in the way.\n");
    const auto after = test::FolderFingerprint(App());
    EXPECT_EQ(before, after) << test::FingerprintChanges(before, after);
}

struct AppFolderCase {
    const char* label;
    std::function<bool(const TestFolder&)> damage;  // false: cannot be arranged here
    std::vector<std::string> args;                  // SITE stands for the sample project
    int code;
    std::string message;  // "" for success; "APP" stands for the application folder
    bool asOrdinaryUser;
    bool siteMayChange;  // a successful solve rewrites the results row
};

std::string Substituted(std::string text, const std::string& marker, const std::string& value) {
    for (std::size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + value.size())) {
        text.replace(at, marker.size(), value);
    }
    return text;
}

bool RunSql(const TestFolder& folder, const std::string& sql) {
    SQLite::Database(IntensityDatabasePath(folder.AppFolder()), SQLite::OPEN_READWRITE).exec(sql);
    return true;
}

// Damaged or missing databases of the application folder: each command that
// needs them says which file or table and exits with its code; reading a
// read-only intensity database still works; nothing else changes.
TEST_F(CliBadInput, DamagedApplicationFilesAreNamed) {
    const auto remove = [](const char* name) {
        return [name](const TestFolder& folder) {
            fs::remove(folder.File(name));
            return true;
        };
    };
    const auto sql = [](std::string statement) {
        return [statement](const TestFolder& folder) { return RunSql(folder, statement); };
    };
    const auto readOnlyIntensity = [](const TestFolder& folder) {
        return test::MakeReadOnly(folder.File("intensity.mdb"));
    };
    const std::string missingIntensity =
        "Cannot open the intensity database \"APP/intensity.mdb\": the file does not exist.";
    const std::vector<std::string> addOverland = {
        "add",          "overland",     "SITE",    "--name=B",     "--area=3",
        "--slope=0.02", "--land-use=L", "--c=0.4", "--length=150", "--n=0.24"};
    const AppFolderCase cases[] = {
        {"intensity.mdb missing: tables",
         remove("intensity.mdb"),
         {"tables"},
         kExitIntensity,
         missingIntensity,
         false,
         false},
        {"intensity.mdb missing: new",
         remove("intensity.mdb"),
         {"new", "APP/new.rmt", "--node=N"},
         kExitIntensity,
         missingIntensity,
         false,
         false},
        {"intensity.mdb missing: solve",
         remove("intensity.mdb"),
         {"solve", "SITE"},
         kExitIntensity,
         missingIntensity,
         false,
         false},
        {"intensity.mdb missing: add overland", remove("intensity.mdb"), addOverland,
         kExitIntensity, missingIntensity, false, false},
        {"intensity.mdb empty: tables",
         [](const TestFolder& folder) {
             test::WriteFileBytes(folder.File("intensity.mdb"), "");
             return true;
         },
         {"tables"},
         kExitIntensity,
         "Cannot read the list of intensity tables (the intensity database "
         "\"APP/intensity.mdb\"): no such table: BasinName",
         false,
         false},
        {"intensity.mdb random bytes: solve",
         [](const TestFolder& folder) {
             test::WriteFileBytes(folder.File("intensity.mdb"), std::string(4096, '\x9d'));
             return true;
         },
         {"solve", "SITE"},
         kExitIntensity,
         "Cannot read the intensity table \"Atlanta\" (the intensity database "
         "\"APP/intensity.mdb\"): file is not a database",
         false,
         false},
        {"intensity.mdb a folder: solve",
         [](const TestFolder& folder) {
             fs::remove(folder.File("intensity.mdb"));
             return fs::create_directory(folder.File("intensity.mdb"));
         },
         {"solve", "SITE"},
         kExitIntensity,
         "Cannot open the intensity database \"APP/intensity.mdb\": it is a folder, not a file.",
         false,
         false},
        {"intensity.mdb read-only: tables",
         readOnlyIntensity,
         {"tables"},
         kExitDone,
         "",
         true,
         false},
        {"intensity.mdb read-only: solve",
         readOnlyIntensity,
         {"solve", "SITE"},
         kExitDone,
         "",
         true,
         true},
        {"empty.mdb missing: new",
         remove("empty.mdb"),
         {"new", "APP/new.rmt", "--node=N"},
         kExitProjectFile,
         "Cannot create \"APP/new.rmt\": the project template \"APP/empty.mdb\" is missing.",
         false,
         false},
        {"table of seven rows: solve",
         sql("DELETE FROM Atlanta WHERE ID > 7"),
         {"solve", "SITE"},
         kExitIntensity,
         "The intensity table \"Atlanta\" has only 7 of its 10 rows.",
         false,
         false},
        {"table of seven rows: table",
         sql("DELETE FROM Atlanta WHERE ID > 7"),
         {"table", "Atlanta"},
         kExitIntensity,
         "The intensity table \"Atlanta\" has only 7 of its 10 rows.",
         false,
         false},
        {"a cell holding text: solve",
         sql("UPDATE Atlanta SET \"10\" = 'n/a' WHERE ID = 5"),
         {"solve", "SITE", "--json"},
         kExitIntensity,
         "The intensity table \"Atlanta\" holds \"n/a\" as the 10-year value of row 5 (1 hr), "
         "which is not a number.",
         false,
         false},
        {"a 24-hour cell holding text: add overland",
         sql("UPDATE Atlanta SET \"2\" = 'n/a' WHERE ID = 10"), addOverland, kExitIntensity,
         "The 2-year 24-hour intensity in the table \"Atlanta\" is not a positive number "
         "(\"n/a\").",
         false, false},
        {"a folder chosen as the report",
         [](const TestFolder& folder) { return fs::create_directory(folder.File("report.rtf")); },
         {"solve", "SITE", "--rtf", "APP/report.rtf"},
         kExitInvalidInput,
         "Cannot write \"APP/report.rtf\": Is a directory.",
         false,
         true},
        {"a report in a missing folder",
         [](const TestFolder&) { return true; },
         {"solve", "SITE", "--rtf", "APP/missing/report.rtf"},
         kExitInvalidInput,
         "Cannot write \"APP/missing/report.rtf\": No such file or directory.",
         false,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TestFolder folder;
        const std::string site = folder.File("site.rmt");
        test::MakeSampleProject(folder.AppFolder(), site);
        if (!c.damage(folder)) {
            // Only a read-only file can be beyond reach (root that may not
            // hand files to nobody); that row proves nothing here.
            EXPECT_TRUE(c.asOrdinaryUser) << "cannot arrange the case";
            continue;
        }
        auto before = test::FolderFingerprint(folder.AppFolder());
        std::vector<std::string> args = {"--app-folder=" + folder.AppFolder()};
        for (const auto& arg : c.args) {
            args.push_back(Substituted(Substituted(arg, "SITE", site), "APP", folder.AppFolder()));
        }
        const ProcessOutcome outcome = test::RunProgram(TORRENTA_CLI, args, c.asOrdinaryUser);
        if (c.asOrdinaryUser && outcome.exited && outcome.code == 126) {
            continue;  // root that cannot start a program as nobody: nothing to prove here
        }
        EXPECT_TRUE(outcome.exited) << Describe(outcome);
        EXPECT_EQ(outcome.code, c.code) << Describe(outcome);
        if (c.message.empty()) {
            EXPECT_EQ(outcome.err, "");
        } else {
            EXPECT_EQ(outcome.err,
                      "torrenta-cli: " + Substituted(c.message, "APP", folder.AppFolder()) + "\n");
            EXPECT_EQ(outcome.out, "");
        }
        auto after = test::FolderFingerprint(folder.AppFolder());
        if (c.siteMayChange) {
            before.erase("site.rmt");
            after.erase("site.rmt");
        }
        EXPECT_EQ(before, after) << test::FingerprintChanges(before, after);
    }
}

}  // namespace
}  // namespace torrenta
