#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "Errors.h"
#include "TableFixture.h"
#include "TestFolder.h"
#include "editing/TravelTimeRecalc.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"
#include "store/TypedTc.h"

namespace torrenta {
namespace {

using test::TestFolder;

// Worked by hand for Back Lawn (n 0.24, L 150 ft, S 0.02) under Nashville TN,
// P2 = 24 x 0.1404 = 3.3696 in: (n L)^0.8 = 36^0.8 = 17.584,
// P2^0.5 = 1.8357, S^0.4 = 0.20913, Tc = 0.42 x 17.584 / (1.8357 x 0.20913)
// = 19.235 min. Under Atlanta (P2 3.72 in) the same inputs give 18.3066.
struct Network {
    std::string project;
    explicit Network(const TestFolder& folder) : project(folder.NewProjectFile()) {
        SaveProjectSetup(project, ProjectInfoRow{"Mill Creek", "", "", "", "", "Atlanta"},
                         "Outfall", "Atlanta");
        SetProjectIntensityTable(project, "Atlanta");
        InsertElementRow(project,
                         BasinRow{"Basin1", "Parking Lot North", "480", "480", "2", "Paved", "0.9",
                                  "0.005", "150", "False", "Smooth Surfaces", "0.011", "2.7063"});
        InsertElementRow(project,
                         BasinRow{"Basin2", "Back Lawn", "960", "480", "3", "Lawn", "0.3", "0.02",
                                  "150", "False", "Grass, Dense grass", "0.24", "18.3066"});
        // A deleted area keeps whatever it holds.
        InsertElementRow(project, BasinRow{"Basin3", "Old Lot", "960", "480", "3", "Lawn", "0.3",
                                           "0", "150", "True", "Range", "0.13", "7.0000"});
        InsertElementRow(project, SurfaceRow{"Surface1", "Rear Swale", "480", "960", "0.02", "300",
                                             "False", "2.2811", "Unpaved", "2.1919"});
        // Velocity and Tc typed by the engineer, not what the inputs give.
        InsertElementRow(project, ChannelRow{"Channel1", "Ditch", "480", "1440", "12", "10", "0.01",
                                             "500", "Earth", "0.035", "False", "5.0000", "1.6667"});
    }
};

TEST(TravelTimeRecalc, StoresTheRecomputedTimesAndListsWhatChanged) {
    using Operation = std::function<TravelTimeRecalc(const std::string&, const std::string&)>;
    struct Case {
        const char* name;
        Operation operation;
        const char* nodeTable;
        std::vector<std::string> storedTc;  // Basin1, Basin2, Basin3, Surface1, Channel1
        std::vector<std::string> changedTags;
        const char* sentence;
    };
    const std::vector<Case> cases = {
        {"change to Nashville TN",
         [](const std::string& p, const std::string& a) {
             return ChangeProjectTable(p, a, "Nashville TN");
         },
         "Nashville TN",
         {"2.8435", "19.2349", "7.0000", "2.1919", "1.6667"},
         {"Basin1", "Basin2"},
         "Sheet-flow travel times of 2 overland areas were recalculated with the 2-year "
         "24-hour rainfall of Nashville TN (3.37 in)."},
        {"change to the table it has",
         [](const std::string& p, const std::string& a) {
             return ChangeProjectTable(p, a, "Atlanta");
         },
         "Atlanta",
         {"2.7063", "18.3066", "7.0000", "2.1919", "1.6667"},
         {},
         "Sheet-flow travel times of 2 overland areas were recalculated with the 2-year "
         "24-hour rainfall of Atlanta (3.72 in)."},
        {"its table's P2 edited",
         [](const std::string& p, const std::string& a) {
             test::WriteTableWithP2(a, "Atlanta", "0.1404");
             return RecalculateSheetFlowTimes(p, a);
         },
         "Atlanta",
         {"2.8435", "19.2349", "7.0000", "2.1919", "1.6667"},
         {"Basin1", "Basin2"},
         "Sheet-flow travel times of 2 overland areas were recalculated with the 2-year "
         "24-hour rainfall of Atlanta (3.37 in)."},
        {"recalculate every element",
         [](const std::string& p, const std::string& a) { return RecalculateTravelTimes(p, a); },
         "Atlanta",
         // Ditch: V = 1.486 (12/10)^(2/3) 0.01^0.5 / 0.035 = 4.7944 ft/s, 500 / (60 V).
         {"2.7063", "18.3066", "7.0000", "2.1919", "1.7381"},
         {"Channel1"},
         "Sheet-flow travel times of 2 overland areas were recalculated with the 2-year "
         "24-hour rainfall of Atlanta (3.72 in)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder folder;
        test::WriteTableWithP2(folder.AppFolder(), "Nashville TN", "0.1404");
        const Network network(folder);
        const TravelTimeRecalc recalc = c.operation(network.project, folder.AppFolder());

        EXPECT_EQ(ReadNode(network.project)->IntensityTable, c.nodeTable);
        EXPECT_EQ(ReadProjectInfo(network.project)->IValueBasinName, c.nodeTable);
        std::vector<std::string> stored;
        for (const auto& row : ReadAllElements<BasinRow>(network.project)) {
            stored.push_back(row.Tc);
        }
        stored.push_back(ReadAllElements<SurfaceRow>(network.project)[0].SurfTc);
        stored.push_back(ReadAllElements<ChannelRow>(network.project)[0].ChannelTc);
        EXPECT_EQ(stored, c.storedTc);
        std::vector<std::string> changed;
        for (const TcChange& change : recalc.changes) {
            changed.push_back(change.tag);
            EXPECT_NE(change.oldTc, change.newTc);
        }
        EXPECT_EQ(changed, c.changedTags);
        EXPECT_EQ(SheetFlowRecalcSentence(recalc), c.sentence);
    }
}

// An element whose inputs cannot be computed with refuses a recalculation of
// every element, and a table that is not there refuses the change of table:
// the file keeps every byte.
TEST(TravelTimeRecalc, ARefusalNamesTheCauseAndLeavesTheFileAsItWas) {
    struct Case {
        const char* name;
        bool zeroSlope;
        const char* table;
        bool intensityError;
        const char* messagePart;
    };
    const std::vector<Case> cases = {
        {"zero slope", true, "Nashville TN", false,
         "Overland flow area \"Back Lawn\" (Basin2): its travel time cannot be recalculated."},
        {"unknown table", false, "Memphis", true,
         "The intensity table \"Memphis\" does not exist in the intensity database."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder folder;
        test::WriteTableWithP2(folder.AppFolder(), "Nashville TN", "0.1404");
        const Network network(folder);
        if (c.zeroSlope) {
            BasinRow row = *LoadElementRow<BasinRow>(network.project, "Basin2");
            row.Slope = "0";
            UpdateElementRow(network.project, "Basin2", row);
        }
        const std::string before = test::ReadFileBytes(network.project);
        try {
            if (c.zeroSlope) {
                RecalculateTravelTimes(network.project, folder.AppFolder());
            } else {
                ChangeProjectTable(network.project, folder.AppFolder(), c.table);
            }
            ADD_FAILURE() << "not refused";
        } catch (const IntensityError& e) {
            EXPECT_TRUE(c.intensityError);
            EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos) << e.what();
        } catch (const InputError& e) {
            EXPECT_FALSE(c.intensityError);
            EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos) << e.what();
        }
        EXPECT_EQ(test::ReadFileBytes(network.project), before);
    }
}

// A stored velocity that is not what the inputs give is rewritten even when
// the Tc text stays the same, and no Tc change is listed for it.
TEST(TravelTimeRecalc, AVelocityAloneIsRewrittenToo) {
    TestFolder folder;
    const Network network(folder);
    SurfaceRow swale = *LoadElementRow<SurfaceRow>(network.project, "Surface1");
    swale.SurfVelocity = "9.9999";
    UpdateElementRow(network.project, "Surface1", swale);
    const TravelTimeRecalc recalc = RecalculateTravelTimes(network.project, folder.AppFolder());
    const SurfaceRow stored = *LoadElementRow<SurfaceRow>(network.project, "Surface1");
    EXPECT_EQ(stored.SurfVelocity, "2.2811");
    EXPECT_EQ(stored.SurfTc, "2.1919");
    for (const TcChange& change : recalc.changes) {
        EXPECT_NE(change.tag, "Surface1");
    }
}

// A Tc the engineer typed is kept by every change of rainfall and by a
// recalculation of every element, and the message names it; recorded as
// typed, or in a file without the record, written in another form than
// Calculate's. On a change of rainfall an area whose stored inputs cannot be
// computed with keeps its Tc too, named; a recalculation of everything
// refuses it rather than storing 0.0000.
TEST(TravelTimeRecalc, KeepsTypedTcAndNamesWhatItKept) {
    using Operation = std::function<TravelTimeRecalc(const std::string&, const std::string&)>;
    const struct {
        const char* name;
        Operation operation;
    } operations[] = {
        {"change of table",
         [](const std::string& p, const std::string& a) {
             return ChangeProjectTable(p, a, "Nashville TN");
         }},
        {"P2 edited",
         [](const std::string& p, const std::string& a) {
             test::WriteTableWithP2(a, "Atlanta", "0.1404");
             return RecalculateSheetFlowTimes(p, a);
         }},
        {"every element",
         [](const std::string& p, const std::string& a) { return RecalculateTravelTimes(p, a); }},
    };
    const struct {
        const char* name;
        std::string tc;
        bool recorded;
        std::string field;  // a stored input spoiled: "length" or "n"; "" for none
        bool keptOnEveryPath;
        std::string kept;
    } areas[] = {
        {"typed and recorded", "30.0000", true, "", true,
         "Kept the typed Tc of 1 overland area: Back Lawn (30.0000 min)."},
        {"typed in a file without the record", "30", false, "", true,
         "Kept the typed Tc of 1 overland area: Back Lawn (30 min)."},
        {"no length", "18.3066", false, "length", false,
         "Kept the stored Tc of 1 overland area whose slope, n or length cannot be computed "
         "with: Back Lawn (18.3066 min)."},
        {"an n that is no number", "18.3066", false, "n", false,
         "Kept the stored Tc of 1 overland area whose slope, n or length cannot be computed "
         "with: Back Lawn (18.3066 min)."},
    };
    for (const auto& operation : operations) {
        for (const auto& area : areas) {
            SCOPED_TRACE(std::string(operation.name) + ", " + area.name);
            TestFolder folder;
            test::WriteTableWithP2(folder.AppFolder(), "Nashville TN", "0.1404");
            const Network network(folder);
            BasinRow row = *LoadElementRow<BasinRow>(network.project, "Basin2");
            row.Tc = area.tc;
            if (area.field == "length") {
                row.TravelLength = "";
            } else if (area.field == "n") {
                row.BasinN = "grass";
            }
            UpdateElementRow(network.project, "Basin2", row);
            if (area.recorded) {
                SetTcTyped(network.project, "Basin2", true);
            }
            const bool refused =
                !area.keptOnEveryPath && std::string(operation.name) == "every element";
            if (refused) {
                EXPECT_THROW(operation.operation(network.project, folder.AppFolder()), InputError);
                continue;
            }
            const TravelTimeRecalc recalc =
                operation.operation(network.project, folder.AppFolder());
            EXPECT_EQ(LoadElementRow<BasinRow>(network.project, "Basin2")->Tc, area.tc);
            EXPECT_EQ(KeptTcText(recalc), area.kept);
            EXPECT_NE(SheetFlowRecalcSentence(recalc).find("of 1 overland area were"),
                      std::string::npos)
                << SheetFlowRecalcSentence(recalc);
        }
    }
}

TEST(TravelTimeRecalc, TheSentenceCountsInTheSingularAndIsEmptyWithoutAreas) {
    TravelTimeRecalc recalc{"Nashville TN", 3.3696, 1, {}, {}, {}};
    EXPECT_EQ(SheetFlowRecalcSentence(recalc),
              "Sheet-flow travel times of 1 overland area were recalculated with the 2-year "
              "24-hour rainfall of Nashville TN (3.37 in).");
    recalc.overlandCount = 0;
    EXPECT_EQ(SheetFlowRecalcSentence(recalc), "");
}

}  // namespace
}  // namespace torrenta
