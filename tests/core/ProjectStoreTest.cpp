#include <gtest/gtest.h>

#include <SQLiteCpp/Database.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "BadInputSupport.h"
#include "Errors.h"
#include "TestFolder.h"
#include "network/IconPlacement.h"
#include "store/ElementRows.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"
#include "store/TcPath.h"

namespace torrenta {
namespace {

namespace fs = std::filesystem;
using test::TestFolder;

int CountRows(const std::string& project, const std::string& table) {
    SQLite::Database db(project);
    return db.execAndGet("SELECT count(*) FROM " + table).getInt();
}

BasinRow Basin(const std::string& tag, const std::string& name, const char* deleted = "False") {
    return BasinRow{tag,    name,  "650",   "840",   "2.5",  "Lawn",   "0.35",
                    "0.02", "150", deleted, "Range", "0.13", "12.3000"};
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ProjectFile, NewOverAnExistingProjectLeavesEmptyTables) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    SaveProjectSetup(project, {}, "Outlet", "Atlanta");
    InsertElementRow(project, Basin("Basin1", "North"));

    NewProject(folder.AppFolder(), project);

    for (const char* table : {"TblProjectInfo", "TblNodeInfo", "TblBasinInfo", "TblSurfaceInfo",
                              "TblChannelInfo", "TblResults"}) {
        EXPECT_EQ(CountRows(project, table), 0) << table;
    }
    EXPECT_NO_THROW(OpenProject(project));
}

// New never replaces the shared databases, under any of their names, nor any
// database that holds no project, whether or not replacing was asked for; the
// file is left byte for byte, and no draft is left beside it.
TEST(ProjectFile, NewRefusesTheSharedDatabasesAndDatabasesThatAreNotProjects) {
    TestFolder folder;
    fs::copy_file(folder.File("intensity.mdb"), folder.File("copy.rmt"));
    fs::create_hard_link(folder.File("intensity.mdb"), folder.File("linked.rmt"));
    for (const std::string name :
         {"intensity.mdb", "empty.mdb", "./intensity.mdb", "copy.rmt", "linked.rmt"}) {
        const std::string target = folder.File(name);
        const std::string before = test::ReadFileBytes(target);
        for (const ExistingFile existing : {ExistingFile::Replace, ExistingFile::Keep}) {
            SCOPED_TRACE(name);
            EXPECT_THROW(NewProject(folder.AppFolder(), target, existing), InputError);
        }
        EXPECT_THROW(NewProjectDraft(folder.AppFolder(), target), InputError);
        EXPECT_EQ(test::ReadFileBytes(target), before) << name;
    }
    for (const auto& entry : fs::directory_iterator(folder.AppFolder())) {
        EXPECT_NE(entry.path().extension().string(), ".tmp") << entry.path();
    }
}

// What File New says it would replace: a project's name and live elements,
// read without a change; nothing for a file that is no project.
TEST(ProjectFile, DescribesAnExistingProjectAndNothingElse) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    ProjectInfoRow info;
    info.ProjectName = "Pine Hollow";
    SaveProjectSetup(project, info, "Outlet", "Atlanta");
    InsertElementRow(project, Basin("Basin1", "North"));
    InsertElementRow(project, Basin("Basin2", "South", "True"));
    const auto described = DescribeExistingProject(project);
    ASSERT_TRUE(described.has_value());
    EXPECT_EQ(described->projectName, "Pine Hollow");
    EXPECT_EQ(described->elements, 1);
    WriteFile(folder.File("notes.txt"), "Survey notes");
    for (const std::string other : {"intensity.mdb", "notes.txt", "missing.rmt"}) {
        EXPECT_FALSE(DescribeExistingProject(folder.File(other)).has_value()) << other;
    }
}

TEST(ProjectFile, NewRemovesALeftoverJournalThatWouldRollBackIntoTheNewFile) {
    TestFolder folder;
    const std::string project = folder.File("p.rmt");
    WriteFile(project + "-journal", "stale journal of an old file");
    NewProject(folder.AppFolder(), project);
    EXPECT_FALSE(fs::exists(project + "-journal"));
    EXPECT_NO_THROW(OpenProject(project));
}

TEST(ProjectFile, FailedNewNamesTheReasonAndLeavesNoFileBehind) {
    TestFolder folder;
    fs::remove(folder.File("empty.mdb"));
    EXPECT_THROW(NewProject(folder.AppFolder(), folder.File("a.rmt")), ProjectFileError);
    EXPECT_FALSE(fs::exists(folder.File("a.rmt")));

    TestFolder other;
    EXPECT_THROW(NewProject(other.AppFolder(), other.File("missing/a.rmt")), ProjectFileError);
    fs::create_directory(other.File("dir.rmt"));
    EXPECT_THROW(NewProject(other.AppFolder(), other.File("dir.rmt")), ProjectFileError);
    // A link to nothing is named as such, not as a read-only file.
    fs::create_symlink(other.File("gone/p.rmt"), other.File("dangling.rmt"));
    try {
        NewProject(other.AppFolder(), other.File("dangling.rmt"));
        ADD_FAILURE() << "made";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("a symbolic link to"), std::string::npos) << e.what();
    }
    for (const auto& entry : fs::directory_iterator(other.AppFolder())) {
        EXPECT_EQ(entry.path().extension().string() == ".tmp", false) << entry.path();
    }
}

TEST(ProjectFile, OpenRefusesFilesThatAreNotProjects) {
    TestFolder folder;
    const auto make = [&](const std::string& name, auto&& fill) {
        const std::string path = folder.File(name);
        fill(path);
        return path;
    };
    const std::string cases[] = {
        folder.File("missing.rmt"),
        make("empty.rmt", [](const std::string& p) { WriteFile(p, ""); }),
        make("text.rmt", [](const std::string& p) { WriteFile(p, "Project: North Ridge\n"); }),
        make("random.rmt", [](const std::string& p) { WriteFile(p, std::string(4096, '\x9c')); }),
        make("other.rmt",
             [](const std::string& p) {
                 SQLite::Database db(p, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
                 db.exec("CREATE TABLE Customers (Name TEXT)");
             }),
        make("notable.rmt",
             [&](const std::string& p) {
                 NewProject(folder.AppFolder(), p);
                 SQLite::Database(p, SQLite::OPEN_READWRITE).exec("DROP TABLE TblResults");
             }),
        make("nocolumn.rmt",
             [&](const std::string& p) {
                 NewProject(folder.AppFolder(), p);
                 SQLite::Database(p, SQLite::OPEN_READWRITE)
                     .exec("ALTER TABLE TblBasinInfo DROP COLUMN CVal");
             }),
        make("truncated.rmt",
             [&](const std::string& p) {
                 NewProject(folder.AppFolder(), p);
                 fs::resize_file(p, 1000);
             }),
    };
    for (const auto& path : cases) {
        const auto sizeBefore = fs::exists(path) ? fs::file_size(path) : 0;
        try {
            OpenProject(path);
            ADD_FAILURE() << path << " opened as a project";
        } catch (const ProjectFileError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
        EXPECT_EQ(fs::exists(path) ? fs::file_size(path) : 0, sizeBefore) << path;
    }
    EXPECT_NO_THROW(OpenProject(folder.NewProjectFile()));
}

TEST(ProjectFile, ClosePurgesDeletedRowsOnly) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    SaveProjectSetup(project, {"Ridge", "", "", "", "", ""}, "Outlet", "Atlanta");
    InsertElementRow(project, Basin("Basin1", "Keep"));
    InsertElementRow(project, Basin("Basin2", "Gone", "True"));
    InsertElementRow(project, Basin("Basin3", "Odd flag", "false"));
    InsertElementRow(project, SurfaceRow{"Surface1", "S", "1", "2", "0.02", "500", "True", "2.2811",
                                         "Unpaved", "3.6532"});
    InsertElementRow(project, ChannelRow{"Channel1", "C", "1", "2", "10", "8", "0.005", "1000",
                                         "Concrete Channel", "0.013", "True", "9.3792", "1.7770"});
    SQLite::Database(project, SQLite::OPEN_READWRITE)
        .exec("INSERT INTO TblResults (Ival_1) VALUES ('5.3000')");

    CloseProject(project);

    const auto basins = ReadAllElements<BasinRow>(project);
    ASSERT_EQ(basins.size(), 2u);
    EXPECT_EQ(basins[0].BasinName, "Keep");
    EXPECT_EQ(basins[1].Deleted, "false");
    EXPECT_TRUE(ReadAllElements<SurfaceRow>(project).empty());
    EXPECT_TRUE(ReadAllElements<ChannelRow>(project).empty());
    EXPECT_EQ(CountRows(project, "TblResults"), 1);
    EXPECT_EQ(ReadNode(project)->NodeName, "Outlet");
    EXPECT_EQ(ReadProjectInfo(project)->ProjectName, "Ridge");
}

// The flag lives in its own table, made only when an element first leaves the
// path; the close that purges an element also forgets its flag.
TEST(TcPath, StoredOnlyOnceSetAndForgottenWithItsElement) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    InsertElementRow(project, Basin("Basin1", "North Lots"));
    InsertElementRow(project, Basin("Basin2", "South Lots"));
    const auto hasTable = [&] {
        return SQLite::Database(project).tableExists(std::string(kOffTcPathTable));
    };
    using Tags = std::set<std::string>;
    struct Step {
        const char* name;
        std::function<void()> act;
        Tags off;
        bool table;
    };
    const Step steps[] = {
        {"on the path by default", [] {}, {}, false},
        {"put on the path again", [&] { SetOnTcPath(project, "Basin2", true); }, {}, false},
        {"taken off", [&] { SetOnTcPath(project, "Basin2", false); }, {"Basin2"}, true},
        {"taken off twice", [&] { SetOnTcPath(project, "Basin2", false); }, {"Basin2"}, true},
        {"another off", [&] { SetOnTcPath(project, "Basin1", false); }, {"Basin1", "Basin2"}, true},
        {"back on", [&] { SetOnTcPath(project, "Basin1", true); }, {"Basin2"}, true},
        {"deleted, still undoable",
         [&] { SoftDeleteElement(project, ElementKind::Overland, "Basin2"); },
         {"Basin2"},
         true},
        {"purged on close", [&] { CloseProject(project); }, {}, true},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(ReadOffTcPath(project), step.off) << step.name;
        EXPECT_EQ(hasTable(), step.table) << step.name;
        EXPECT_NO_THROW(OpenProject(project)) << step.name;
    }
}

TEST(ElementRows, TextsRoundTripExactly) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    const std::string names[] = {
        "O'Brien's Lot",
        "say \"hi\"",
        "a; DROP TABLE TblBasinInfo; --",
        "back\\slash",
        "{braces}",
        "Prés Ø 日本",
        "tab\there",
        "two\nlines",
        "",
        std::string(5000, 'x'),
    };
    int index = 1;
    for (const auto& name : names) {
        const std::string tag = "Basin" + std::to_string(index++);
        BasinRow row = Basin(tag, name);
        row.SoilType = name;
        InsertElementRow(project, row);
        EXPECT_EQ(LoadElementRow<BasinRow>(project, tag)->BasinName, name);

        row.BasinName = name + "'";
        UpdateElementRow(project, tag, row);
        const auto loaded = LoadElementRow<BasinRow>(project, tag);
        EXPECT_EQ(loaded->BasinName, name + "'");
        EXPECT_EQ(loaded->SoilType, name);
    }
    EXPECT_EQ(ReadLiveElements<BasinRow>(project).size(), std::size(names));
}

TEST(ElementRows, UpdateKeepsPositionTagAndFlagAndRefusesAMissingRow) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    InsertElementRow(project,
                     ChannelRow{"Channel1", "Ditch", "530", "480", "10", "8", "0.005", "1000",
                                "Concrete Channel", "0.013", "False", "9.3792", "1.7770"});
    UpdateElementRow(project, "Channel1",
                     ChannelRow{"X", "Main Street Ditch", "1", "1", "12", "9", "0.004", "900",
                                "Earth Channel", "0.025", "True", "3.0000", "5.0000"});
    const auto row = LoadElementRow<ChannelRow>(project, "Channel1");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->ChannelName, "Main Street Ditch");
    EXPECT_EQ(row->ChannelLeft, "530");
    EXPECT_EQ(row->ChannelTop, "480");
    EXPECT_EQ(row->Deleted, "False");
    EXPECT_EQ(row->ChannelTc, "5.0000");

    EXPECT_THROW(UpdateElementRow(project, "Channel9", *row), DatabaseError);
    EXPECT_FALSE(LoadElementRow<ChannelRow>(project, "Channel9"));
}

TEST(ElementRows, SoftDeleteHidesFromLiveReadersAndPositionsAreStoredAsGiven) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    InsertElementRow(project, Basin("Basin1", "A"));
    InsertElementRow(project, Basin("Basin2", "B"));
    SoftDeleteElement(project, ElementKind::Overland, "Basin1");
    UpdateElementPosition(project, ElementKind::Overland, "Basin2", "1234.5", "777");

    const auto live = ReadLiveElements<BasinRow>(project);
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].BasinTag, "Basin2");
    EXPECT_EQ(live[0].BasinX, "1234.5");
    EXPECT_EQ(live[0].BasinY, "777");
    EXPECT_EQ(ReadAllElements<BasinRow>(project)[0].Deleted, "True");
    EXPECT_EQ(CountElementRows(project, ElementKind::Overland), 2);
}

TEST(ElementRows, UndeleteRevivesTheRowUntilTheCloseHasPurgedIt) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    InsertElementRow(project, Basin("Basin1", "A"));
    InsertElementRow(project, Basin("Basin2", "B"));
    SoftDeleteElement(project, ElementKind::Overland, "Basin1");
    SoftDeleteElement(project, ElementKind::Overland, "Basin2");
    UndeleteElement(project, ElementKind::Overland, "Basin1");

    const auto live = ReadLiveElements<BasinRow>(project);
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].BasinName, "A");
    CloseProject(project);
    EXPECT_THROW(UndeleteElement(project, ElementKind::Overland, "Basin2"), DatabaseError);
    EXPECT_EQ(CountElementRows(project, ElementKind::Overland), 1);
}

TEST(ElementRows, NewTagsStayUniqueAfterPurgedRowsShiftTheIndexes) {
    struct Case {
        std::vector<std::string> tags;  // rows left in the table
        int index;                      // array index the new icon gets
        std::string expected;
    };
    const Case cases[] = {
        {{}, 1, "Basin1"},
        {{"Basin1", "Basin2"}, 3, "Basin3"},
        {{"Basin1", "Basin3"}, 3, "Basin4"},  // Basin2 purged on an earlier close
        {{"Basin2", "Basin3"}, 3, "Basin4"},
        {{"Basin5", "Basin9"}, 3, "Basin3"},  // index free: keep the plain rule
        {{"Basin1", "Basin12", "Basin2"}, 2, "Basin13"},
        {{"Basin1", "Basinx", "Lot7"}, 1, "Basin2"},
    };
    for (const auto& c : cases) {
        TestFolder folder;
        const std::string project = folder.NewProjectFile();
        for (const auto& tag : c.tags) {
            InsertElementRow(project, Basin(tag, tag));
        }
        EXPECT_EQ(NextElementTag(project, ElementKind::Overland, c.index), c.expected)
            << c.expected;
    }
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    EXPECT_EQ(NextElementTag(project, ElementKind::Shallow, 1), "Surface1");
    EXPECT_EQ(NextElementTag(project, ElementKind::Channel, 4), "Channel4");
}

// A new icon's picture and name never overlap another's: the cursor's spot
// when it is free, else the first free one along the kind's rows. Placed one
// after another, 20 icons of each kind and the node all stand apart.
TEST(IconPlacement, ANewIconNeverCoversAnotherOrItsName) {
    const IconBox node = NodeExtent({5040, 5160});
    const IconBox wholeRow{0, 0, 20000, 1500};
    const struct {
        const char* label;
        ElementKind kind;
        std::vector<IconBox> taken;
        std::vector<IconPosition> placed;  // for array counts 1, 2, 3 ..., each then taken
    } cases[] = {
        // 650 is free; 750 would print its name over the first's: 2100, 3500.
        {"fresh", ElementKind::Overland, {node}, {{650, 840}, {2100, 840}, {3500, 840}}},
        {"a row taken", ElementKind::Overland, {node, wholeRow}, {{600, 3360}}},
        {"no room anywhere", ElementKind::Shallow, {{0, 0, 20000, 20000}}, {{650, 1680}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        IconPlacement placement(c.kind);
        std::vector<IconBox> taken = c.taken;
        for (std::size_t k = 0; k < c.placed.size(); ++k) {
            const IconPosition spot = placement.NextFree(static_cast<int>(k) + 1, taken);
            EXPECT_EQ(std::vector<int>({spot.left, spot.top}),
                      std::vector<int>({c.placed[k].left, c.placed[k].top}))
                << k;
            taken.push_back(IconExtent(c.kind, spot));
        }
    }
    std::vector<IconBox> taken = {node};
    for (ElementKind kind : {ElementKind::Overland, ElementKind::Shallow, ElementKind::Channel}) {
        IconPlacement placement(kind);
        for (int count = 1; count <= 20; ++count) {
            const IconBox box = IconExtent(kind, placement.NextFree(count, taken));
            for (const IconBox& other : taken) {
                EXPECT_FALSE(box.Overlaps(other)) << count;
            }
            taken.push_back(box);
        }
    }
    // Every icon of the file is taken, deleted ones too, and the node.
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    SaveProjectSetup(project, ProjectInfoRow{}, "Outfall", "Atlanta");
    InsertElementRow(project, Basin("Basin1", "Lot B", "True"));
    const std::vector<IconBox> boxes = IconPlacement::TakenBoxes(project);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(std::vector<int>({boxes[0].left, boxes[0].top, boxes[1].left, boxes[1].top}),
              std::vector<int>({650 + 345 - 700, 840, node.left, 5160}));
}

TEST(ProjectSetup, InsertsOnceThenRewritesAndKeepsTheNodePosition) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    EXPECT_FALSE(ReadNode(project));
    EXPECT_FALSE(ReadProjectInfo(project));

    SaveProjectSetup(project, {"", "", "", "", "", ""}, "Outlet A", "Atlanta");
    auto node = ReadNode(project);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->NodeX, "5040");
    EXPECT_EQ(node->NodeY, "5160");
    EXPECT_EQ(node->IntensityTable, "Atlanta");

    UpdateNodePosition(project, "6000.5", "4000");
    SetProjectIntensityTable(project, "Nashville");
    SaveProjectSetup(project, {"Ridge", "Ann O'Neil", "Bo", "12/8/2026", "J-7", "ignored"},
                     "Outlet B", "Macon");
    node = ReadNode(project);
    EXPECT_EQ(node->NodeName, "Outlet B");
    EXPECT_EQ(node->IntensityTable, "Macon");
    EXPECT_EQ(node->NodeX, "6000.5");
    const auto info = ReadProjectInfo(project);
    EXPECT_EQ(info->DesignEngineer, "Ann O'Neil");
    EXPECT_EQ(info->IValueBasinName, "Nashville");
    EXPECT_EQ(CountRows(project, "TblProjectInfo"), 1);
    EXPECT_EQ(CountRows(project, "TblNodeInfo"), 1);
}

TEST(ProjectSetup, AProjectWithInformationButNoNodeGetsItsNodeRow) {
    TestFolder folder;
    const std::string project = folder.NewProjectFile();
    SQLite::Database(project, SQLite::OPEN_READWRITE)
        .exec("INSERT INTO TblProjectInfo (ProjectName) VALUES ('Ridge')");
    SaveProjectSetup(project, {"Ridge 2", "", "", "", "", ""}, "Outlet", "Atlanta");
    EXPECT_EQ(ReadNode(project)->NodeX, "5040");
    EXPECT_EQ(ReadProjectInfo(project)->ProjectName, "Ridge 2");

    TestFolder other;
    const std::string fresh = other.NewProjectFile();
    SetNodeName(fresh, "Pond");
    SetNodeIntensityTable(fresh, "Atlanta");
    EXPECT_EQ(ReadNode(fresh)->NodeName, "Pond");
    EXPECT_EQ(ReadNode(fresh)->NodeY, "5160");
    EXPECT_EQ(CountRows(fresh, "TblNodeInfo"), 1);
}

}  // namespace
}  // namespace torrenta
