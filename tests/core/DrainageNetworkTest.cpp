#include <gtest/gtest.h>

#include <SQLiteCpp/Database.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "Errors.h"
#include "TestFolder.h"
#include "checks/DesignChecks.h"
#include "editing/ElementAdding.h"
#include "editing/NetworkEditing.h"
#include "intensity/IntensityDatabase.h"
#include "solver/NetworkSolution.h"
#include "store/DrainageStore.h"
#include "store/ElementRows.h"
#include "store/PipeStore.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"
#include "store/TcPath.h"

namespace torrenta {
namespace {

using test::TestFolder;

// The 10-year column falls 6, 5, 4, 3, 2 ... in/hr down the durations 5, 10,
// 15, 30, 60 ... min; the other periods hold the same, so only Cf tells them
// apart.
IntensityGrid FallingGrid() {
    const char* values[] = {"6", "5", "4", "3", "2", "1.5", "1.2", "0.8", "0.5", "0.3"};
    IntensityGrid grid;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        grid[i].fill(values[i]);
    }
    return grid;
}

BasinRow Area(const std::string& tag, const std::string& area, const std::string& c,
              const std::string& tc) {
    return BasinRow{tag,    "Lot " + tag, "0",     "0",     area,   "Lawn", c,
                    "0.02", "100",        "False", "Grass", "0.15", tc};
}

class DrainageNetworkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SaveIntensityTable(folder_.AppFolder(), "Falling", FallingGrid());
        SaveProjectSetup(project_, {"Site", "", "", "", "", ""}, "Outlet", "Falling");
    }

    NetworkSolution Solve() { return SolveProject(project_, folder_.AppFolder(), "Falling"); }

    const PointFlow& At(const NetworkSolution& solution, const std::string& tag) {
        for (const PointFlow& point : solution.flow.points) {
            if (point.tag == tag) {
                return point;
            }
        }
        ADD_FAILURE() << "no point " << tag;
        return solution.flow.points.back();
    }

    TestFolder folder_;
    std::string project_ = folder_.NewProjectFile();
};

// Two lots side by side into Point1, a channel on to Point2; a third lot
// through a swale into Point3, which joins at Point2; Point2 to the outlet.
//   Point1: A = 2 + 3 = 5 ac; C = 0.4 x 0.8 + 0.6 x 0.5 = 0.62; CA = 3.1;
//           Tc = max(10, 15) = 15 min (the second lot), I = 4 in/hr (the
//           15-minute row exactly): Q10 = 3.1 x 4 = 12.4 cfs.
//   Point3: A = 4, C = 0.3, CA = 1.2; Tc = 20 + 8 = 28 min,
//           I = 4 + (3 - 4) x (28/60 - 0.25) / 0.25 = 3.13333: Q10 = 3.76.
//   Point2: own area none; A = 9, CA = 3.1 + 1.2 = 4.3; Tc = max(15 + 5, 28)
//           = 28 along lot 3, the swale and Point3: Q10 = 4.3 x 3.13333 =
//           13.4733; Q100 = 5.375 x 3.13333 = 16.8417. The outlet takes the same.
//   100-year at Point1: min(0.62 x 1.25, 1) x 5 = 3.875; x 4 = 15.5 cfs.
TEST_F(DrainageNetworkTest, SolvesEveryPointOfAHandWorkedNetwork) {
    InsertElementRow(project_, Area("Basin1", "2", "0.8", "10"));
    InsertElementRow(project_, Area("Basin2", "3", "0.5", "15"));
    InsertElementRow(project_, Area("Basin3", "4", "0.3", "20"));
    InsertElementRow(project_, SurfaceRow{"Surface1", "Swale", "0", "0", "0.01", "300", "False",
                                          "1.5", "Unpaved", "8"});
    InsertElementRow(project_, ChannelRow{"Channel1", "Ditch", "0", "0", "4.5", "7.2", "0.005",
                                          "600", "Concrete", "0.013", "False", "2.5", "5"});
    const std::string p1 = AddDesignPoint(project_, "Inlet A", "inlet", "Outlet", -1, -1).tag;
    const std::string p2 = AddDesignPoint(project_, "Confluence", "junction", "Outlet", -1, -1).tag;
    const std::string p3 = AddDesignPoint(project_, "Inlet B", "inlet", p2, -1, -1).tag;
    for (const auto& [from, to] :
         std::vector<std::pair<std::string, std::string>>{{"Basin1", p1},
                                                          {"Basin2", p1},
                                                          {p1, "Channel1"},
                                                          {"Channel1", p2},
                                                          {"Basin3", "Surface1"},
                                                          {"Surface1", p3}}) {
        SetDrainsTo(project_, from, to);
    }

    const NetworkSolution solution = Solve();
    const struct {
        std::string tag;
        double ownArea, totalArea, sumCA10, tc;
        std::vector<std::string> path;
        float q10, q100;
    } expected[] = {
        {p1, 5, 5, 3.1, 15, {"Basin2"}, 12.4f, 15.5f},
        {p3, 4, 4, 1.2, 28, {"Basin3", "Surface1"}, 3.76f, 4.7f},
        {p2, 0, 9, 4.3, 28, {"Basin3", "Surface1", p3}, 13.47333f, 16.84167f},
        {"Outlet", 0, 9, 4.3, 28, {"Basin3", "Surface1", p3, p2}, 13.47333f, 16.84167f},
    };
    ASSERT_EQ(solution.flow.points.size(), 4u);
    for (const auto& e : expected) {
        SCOPED_TRACE(e.tag);
        const PointFlow& point = At(solution, e.tag);
        EXPECT_DOUBLE_EQ(point.ownArea, e.ownArea);
        EXPECT_DOUBLE_EQ(point.totalArea, e.totalArea);
        EXPECT_NEAR(point.sumCA[3], e.sumCA10, 1e-12);
        EXPECT_DOUBLE_EQ(point.tc, e.tc);
        EXPECT_EQ(point.path, e.path);
        EXPECT_NEAR(point.peakFlow[3], e.q10, 1e-4);
        EXPECT_NEAR(point.peakFlow[6], e.q100, 1e-4);
    }
    EXPECT_EQ(solution.flow.points.back().tag, "Outlet");
    EXPECT_DOUBLE_EQ(solution.TotalTc, 28.0);
    EXPECT_FLOAT_EQ(solution.periods[3].peakFlow, solution.flow.Outlet().peakFlow[3]);
    // Off the outlet's path: the first branch, shown in parentheses.
    EXPECT_FALSE(solution.OnTcPath("Basin1"));
    EXPECT_TRUE(solution.OnTcPath("Surface1"));
}

// A small paved lot of short Tc beside a large lawn: alone it peaks above the
// point. Point1: CA = 0.95 x 1 + 0.2 x 5 = 1.95 at Tc 60 min (I 2): Q = 3.9;
// the lot alone: 0.95 x 6 (I at 5 min) = 5.7 cfs, at the point and at the
// outlet it drains to.
TEST_F(DrainageNetworkTest, APartThatPeaksAboveItsPointIsQueried) {
    InsertElementRow(project_, Area("Basin1", "1", "0.95", "5"));
    InsertElementRow(project_, Area("Basin2", "5", "0.2", "60"));
    const std::string p1 = AddDesignPoint(project_, "Inlet", "inlet", "Outlet", -1, -1).tag;
    SetDrainsTo(project_, "Basin1", p1);
    SetDrainsTo(project_, "Basin2", p1);
    std::vector<std::string> messages;
    for (const DesignFinding& finding : CheckDesign(Solve())) {
        if (finding.code == "PARTIAL-AREA") {
            messages.push_back(finding.message);
        }
    }
    EXPECT_EQ(messages,
              (std::vector<std::string>{
                  "Overland flow area \"Lot Basin1\" alone peaks at 5.70 cfs for the 1-year period "
                  "at design point \"Inlet\" (Point1), above its 3.90 cfs for the whole area: "
                  "design for the larger.",
                  "Overland flow area \"Lot Basin1\" alone peaks at 5.70 cfs for the 1-year period "
                  "at the outlet, above its 3.90 cfs for the whole area: design for the larger."}));
}

// Two inlets into a junction, each through its own pipe, the junction to the
// outlet through a third; concrete, sized for the 10-year flows.
//   Point1: 0.9 x 2 ac, Tc 5 min, the table's first duration: I = 6,
//           Q = 10.8 cfs, more than 18 in carries at 1 % (10.504): 21 in.
//   Point2: 0.5 x 3 ac, Tc 12 min: I = 5 - (12/60 - 1/6) / (1/12) = 4.6,
//           Q = 6.9 cfs: 18 in, the minimum.
//   Pipe1, 300 ft at 10.8 cfs: y/D 0.606, V 7.087 ft/s, 0.706 min;
//   Pipe2, 250 ft at 6.9 cfs: y/D 0.591, V 6.343 ft/s, 0.657 min.
//   Point3 (no area of its own): Tc = max(5 + 0.706, 12 + 0.657) = 12.657 by
//           the second inlet; I 4.4686, Q = 3.3 x 4.4686 = 14.746 cfs. At 3 %
//           an 18-in pipe would carry it (18.19), but Pipe1 comes in at 21 in:
//           21 in, y/D 0.522, V 11.615 ft/s, 0.287 min.
TEST_F(DrainageNetworkTest, SizesPipesDownAJunctionOfTwoBranches) {
    InsertElementRow(project_, Area("Basin1", "2", "0.9", "5"));
    InsertElementRow(project_, Area("Basin2", "3", "0.5", "12"));
    const std::string p1 = AddDesignPoint(project_, "Inlet 1", "inlet", "Outlet", -1, -1).tag;
    const std::string p2 = AddDesignPoint(project_, "Inlet 2", "inlet", "Outlet", -1, -1).tag;
    const std::string p3 = AddDesignPoint(project_, "Junction", "junction", "Outlet", -1, -1).tag;
    SetDrainsTo(project_, "Basin1", p1);
    SetDrainsTo(project_, "Basin2", p2);
    for (const auto& [from, to, length] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {p1, p3, "300"}, {p2, p3, "250"}, {p3, "Outlet", "200"}}) {
        PipeRow pipe;
        pipe.PipeName = from + " out";
        pipe.FromPoint = from;
        pipe.ToPoint = to;
        pipe.PipeLength = length;
        pipe.PipeSlope = to == "Outlet" ? "0.03" : "0.01";
        InsertPipeRow(project_, pipe);
    }
    const NetworkSolution solution = Solve();
    ASSERT_EQ(solution.flow.pipes.size(), 3u);
    const struct {
        std::string tag;
        double diameter, flow, depthRatio, velocity, travelTime;
    } pipes[] = {
        {"Pipe1", 21, 10.8, 0.6057, 7.0870, 0.7055},
        {"Pipe2", 18, 6.9, 0.5913, 6.3431, 0.6569},
        {"Pipe3", 21, 14.7465, 0.5219, 11.6150, 0.2870},
    };
    for (const auto& e : pipes) {
        const auto found = std::find_if(solution.flow.pipes.begin(), solution.flow.pipes.end(),
                                        [&](const PipeFlow& pipe) { return pipe.tag == e.tag; });
        ASSERT_NE(found, solution.flow.pipes.end()) << e.tag;
        const PipePeriod& ten = found->periods[3];
        EXPECT_EQ(found->diameter, e.diameter) << e.tag;
        EXPECT_NEAR(ten.flow, e.flow, 1e-3) << e.tag;
        EXPECT_NEAR(ten.depthRatio, e.depthRatio, 1e-4) << e.tag;
        EXPECT_NEAR(ten.velocity, e.velocity, 1e-4) << e.tag;
        EXPECT_NEAR(ten.travelTime, e.travelTime, 1e-4) << e.tag;
    }
    const PointFlow& junction = At(solution, p3);

    EXPECT_NEAR(junction.tc, 12.6569, 1e-4);
    EXPECT_EQ(junction.path, (std::vector<std::string>{"Basin2", p2, "Pipe2"}));
    EXPECT_NEAR(junction.peakFlow[3], 14.7465, 1e-3);
    // The outlet's Tc adds the last pipe's time: 12.657 + 0.287.
    EXPECT_NEAR(solution.TotalTc, 12.9439, 1e-4);
}

// Each pipe check on a two-pipe line: a flat pipe given 12 in (no slope, too
// small, smaller than the 18 in coming in), and a pipe whose full flow at a
// slope of 0.0005 is below the cleaning velocity.
TEST_F(DrainageNetworkTest, PipeChecksQueryCapacitySlopeVelocityAndSize) {
    InsertElementRow(project_, Area("Basin1", "5", "0.9", "10"));
    const std::string p1 = AddDesignPoint(project_, "Inlet", "inlet", "Outlet", -1, -1).tag;
    const std::string p2 = AddDesignPoint(project_, "Manhole", "junction", "Outlet", -1, -1).tag;
    SetDrainsTo(project_, "Basin1", p1);
    PipeRow slow;
    slow.PipeName = "Slow";
    slow.FromPoint = p1;
    slow.ToPoint = p2;
    slow.PipeLength = "100";
    slow.PipeSlope = "0.0005";
    AddPipe(project_, slow);
    PipeRow flat = slow;
    flat.PipeName = "Flat";
    flat.FromPoint = p2;
    flat.ToPoint = "Outlet";
    flat.PipeSlope = "0";
    flat.Diameter = "12";
    AddPipe(project_, flat);
    std::vector<std::string> codes;
    for (const DesignFinding& finding : CheckDesign(Solve())) {
        if (finding.code.rfind("PIPE-", 0) == 0) {
            codes.push_back(finding.code + " " + finding.element);
        }
    }
    EXPECT_EQ(codes, (std::vector<std::string>{"PIPE-VELOCITY-LOW Pipe1", "PIPE-SLOPE Pipe2",
                                               "PIPE-CAPACITY Pipe2", "PIPE-SIZE-DOWN Pipe2"}));
}

// The first link writes the chain the flow path stood for: the same Tc and
// peak flows as before, now from the drawn network.
TEST_F(DrainageNetworkTest, ConvertingAProjectChangesNoNumber) {
    InsertElementRow(project_, Area("Basin1", "2", "0.8", "10"));
    InsertElementRow(project_, Area("Basin2", "3", "0.5", "15"));
    InsertElementRow(project_, Area("Basin3", "1", "0.9", "12"));
    InsertElementRow(project_, SurfaceRow{"Surface1", "Swale", "0", "0", "0.01", "300", "False",
                                          "1.5", "Unpaved", "8"});
    SetOnTcPath(project_, "Basin3", false);
    const NetworkSolution before = Solve();
    const std::string sentence = ConvertToNetwork(project_);
    EXPECT_NE(sentence.find("Basin1 drains to Basin2, Basin2 drains to Surface1, Surface1 drains "
                            "to the outlet; off the path, draining to the outlet: Basin3."),
              std::string::npos)
        << sentence;
    const NetworkSolution after = Solve();
    EXPECT_EQ(after.TotalTc, before.TotalTc);
    for (std::size_t k = 0; k < 7; ++k) {
        EXPECT_EQ(after.periods[k].peakFlowStored, before.periods[k].peakFlowStored) << k;
    }
    EXPECT_EQ(ConvertToNetwork(project_), "");
}

// Refused links name both ends and leave the file as it was; deleting a point
// passes what drained into it on, and Undo puts it back.
TEST_F(DrainageNetworkTest, RefusesLoopsAndReroutesAroundADeletedPoint) {
    InsertElementRow(project_, Area("Basin1", "2", "0.8", "10"));
    const std::string p1 = AddDesignPoint(project_, "Inlet", "inlet", "Outlet", -1, -1).tag;
    const std::string p2 = AddDesignPoint(project_, "Junction", "junction", p1, -1, -1).tag;
    SetDrainsTo(project_, "Basin1", p2);
    const struct {
        std::string from, to, message;
    } refused[] = {
        {p1, p2, p1 + " cannot drain to " + p2 + ": " + p2 + " already drains to " + p1},
        {"Outlet", p1, "The outlet drains nowhere"},
        {"Basin9", p1, "no element or design point Basin9"},
        {p1, p1, "cannot drain to itself"},
    };
    for (const auto& c : refused) {
        try {
            SetDrainsTo(project_, c.from, c.to);
            ADD_FAILURE() << c.from << " -> " << c.to;
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    // Nothing upstream of an item is offered to it: p2 may drain to p1 but
    // not to itself nor Basin1 above it; p1, below both, only to the outlet.
    EXPECT_EQ(DrainTargets(ReadDrainageLayout(project_), p2),
              (std::vector<std::string>{"Outlet", p1}));
    EXPECT_EQ(DrainTargets(ReadDrainageLayout(project_), p1), (std::vector<std::string>{"Outlet"}));
    const std::vector<std::string> rerouted = DeleteDesignPoint(project_, p2);
    EXPECT_EQ(rerouted, std::vector<std::string>{"Basin1"});
    EXPECT_EQ(ReadDrainageLayout(project_).drainsTo.at("Basin1"), p1);
    RestoreDesignPoint(project_, p2, rerouted);
    EXPECT_EQ(ReadDrainageLayout(project_).drainsTo.at("Basin1"), p2);
    EXPECT_EQ(ReadDrainageLayout(project_).drainsTo.at(p2), p1);
}

// Deleting an element passes what drained into it on, and Undo Delete
// links it back; closing the project then drops the deleted point and the
// links of what is gone, so a later element of the same tag starts afresh.
TEST_F(DrainageNetworkTest, DeletingAnElementReroutesAndClosingPurges) {
    InsertElementRow(project_, Area("Basin1", "2", "0.8", "10"));
    InsertElementRow(project_, SurfaceRow{"Surface1", "Swale", "0", "0", "0.01", "300", "False",
                                          "1.5", "Unpaved", "8"});
    const std::string p1 = AddDesignPoint(project_, "Inlet", "inlet", "Outlet", -1, -1).tag;
    SetDrainsTo(project_, "Basin1", "Surface1");
    SetDrainsTo(project_, "Surface1", p1);
    const std::vector<std::string> rerouted =
        SoftDeleteElement(project_, ElementKind::Shallow, "Surface1");
    EXPECT_EQ(rerouted, std::vector<std::string>{"Basin1"});
    EXPECT_EQ(ReadDrainageLayout(project_).drainsTo.at("Basin1"), p1);
    UndeleteElement(project_, ElementKind::Shallow, "Surface1", rerouted);
    EXPECT_EQ(ReadDrainageLayout(project_).drainsTo.at("Basin1"), "Surface1");

    SoftDeleteElement(project_, ElementKind::Shallow, "Surface1");
    DeleteDesignPoint(project_, p1);
    CloseProject(project_);
    SQLite::Database db(project_);
    EXPECT_EQ(db.execAndGet("SELECT count(*) FROM TblPointInfo").getInt(), 0);
    EXPECT_EQ(db.execAndGet("SELECT group_concat(ElementTag) FROM TblDrainInfo").getString(),
              "Basin1");
}

// A network holds 200 live elements of a kind, a flow path 20.
TEST_F(DrainageNetworkTest, ANetworkHoldsTwoHundredOfAKind) {
    for (int i = 1; i <= 20; ++i) {
        InsertElementRow(project_, Area("Basin" + std::to_string(i), "1", "0.5", "10"));
    }
    BasinRow more = Area("", "1", "0.5", "10");
    const auto add = [&] { return AddElement(project_, more, 21, IconPosition{0, 0}); };
    EXPECT_THROW(
        {
            try {
                add();
            } catch (const InputError& e) {
                EXPECT_STREQ(e.what(), "Maximum 20 basins allowed");
                throw;
            }
        },
        InputError);
    ConvertToNetwork(project_);
    for (int i = 22; i <= 200; ++i) {
        InsertElementRow(project_, Area("Basin" + std::to_string(i), "1", "0.5", "10"));
    }
    EXPECT_EQ(add(), "Basin21");
    try {
        add();
        ADD_FAILURE() << "a 201st area was added";
    } catch (const InputError& e) {
        EXPECT_STREQ(e.what(), "Maximum 200 basins allowed");
    }
}

// A project that is not a network and has no area on its path still adds up
// the reaches on it; the conversion names an area off the old path that now
// sets the time of concentration.
TEST_F(DrainageNetworkTest, ThePathOfReachesAndAnAreaLongerThanThePath) {
    InsertElementRow(project_, Area("Basin1", "2", "0.8", "40"));
    InsertElementRow(project_, SurfaceRow{"Surface1", "Swale", "0", "0", "0.01", "300", "False",
                                          "1.5", "Unpaved", "8"});
    InsertElementRow(project_, ChannelRow{"Channel1", "Ditch", "0", "0", "4.5", "7.2", "0.005",
                                          "600", "Concrete", "0.013", "False", "2.5", "5"});
    SetOnTcPath(project_, "Basin1", false);
    EXPECT_DOUBLE_EQ(Solve().TotalTc, 13.0);
    const std::string sentence = ConvertToNetwork(project_);
    EXPECT_NE(sentence.find("Overland flow area \"Lot Basin1\" (Basin1) takes 40 min on its own, "
                            "longer than the 13 min of the old flow path: it now sets the time of "
                            "concentration."),
              std::string::npos)
        << sentence;
    EXPECT_DOUBLE_EQ(Solve().TotalTc, 40.0);
}

// A point's fields and a pipe's change one at a time, each refused before
// anything is written; a network saved before rims existed reads as before
// and gains the columns when a point is next written.
TEST_F(DrainageNetworkTest, EditsPointsAndPipesKeepingWhatIsNotGiven) {
    InsertElementRow(project_, Area("Basin1", "2", "0.9", "5"));
    const std::string p1 = AddDesignPoint(project_, "Inlet", "inlet", "Outlet", -1, -1).tag;
    const std::string p2 = AddDesignPoint(project_, "Manhole", "junction", "Outlet", -1, -1).tag;
    {
        SQLite::Database db(project_, SQLite::OPEN_READWRITE);
        db.exec(
            "CREATE TABLE Old AS SELECT PointTag, PointName, PointKind, PointX, PointY, "
            "DrainsTo, Deleted FROM TblPointInfo");
        db.exec("DROP TABLE TblPointInfo");
        db.exec("ALTER TABLE Old RENAME TO TblPointInfo");
    }
    EXPECT_EQ(ReadDrainageLayout(project_).points.size(), 2u);
    EditDesignPoint(project_, p1, {std::nullopt, std::nullopt, "102.5", std::nullopt});
    EditDesignPoint(project_, p1, {"Inlet A", std::nullopt, std::nullopt, "0.3"});
    const PointRow point = ReadDrainageLayout(project_).points.front();
    EXPECT_EQ(std::tie(point.PointName, point.PointKind, point.RimElevation, point.LossCoefficient),
              std::tie("Inlet A", "inlet", "102.5", "0.3"));

    PipeRow row;
    row.FromPoint = p1;
    row.ToPoint = p2;
    row.PipeLength = "100";
    row.InvertUp = "98";
    row.InvertDown = "97";
    const std::string pipe = AddPipe(project_, row).tag;
    PipeEdit toOutlet;
    toOutlet.to = "Outlet";
    toOutlet.diameter = "24";
    EditPipe(project_, pipe, toOutlet);
    const DrainageLayout layout = ReadDrainageLayout(project_);
    EXPECT_EQ(layout.pipes.front().ToPoint, "Outlet");
    EXPECT_EQ(layout.pipes.front().Diameter, "24");
    EXPECT_EQ(layout.pipes.front().InvertUp, "98");
    EXPECT_EQ(layout.drainsTo.at(p1), pipe);

    PipeEdit bySlope;
    bySlope.slope = "0.01";
    PipeEdit oneInvert;
    oneInvert.invertUp = "99";
    PipeEdit intoItself;
    intoItself.to = p1;
    const struct {
        std::string tag;
        PipeEdit edit;
        std::string message;
    } refusedPipes[] = {
        {pipe, bySlope, "is laid by its inverts 98 and 97 ft"},
        {pipe, intoItself, "cannot drain to itself"},
        {"Pipe9", oneInvert, "The project has no pipe Pipe9."},
    };
    for (const auto& c : refusedPipes) {
        try {
            EditPipe(project_, c.tag, c.edit);
            ADD_FAILURE() << c.message;
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    bySlope.clearInverts = true;
    EditPipe(project_, pipe, bySlope);
    const PipeRow bySlopeNow = ReadDrainageLayout(project_).pipes.front();
    EXPECT_EQ(std::tie(bySlopeNow.PipeSlope, bySlopeNow.InvertUp), std::tie("0.01", ""));

    const struct {
        PointEdit edit;
        std::string message;
    } refusedPoints[] = {
        {{"", std::nullopt, std::nullopt, std::nullopt}, "A design point needs a name."},
        {{std::nullopt, "manhole", std::nullopt, std::nullopt}, "an inlet or a junction"},
        {{std::nullopt, std::nullopt, "high", std::nullopt}, "rim elevation must be a number"},
        {{std::nullopt, std::nullopt, std::nullopt, "-1"}, "K must be a number of 0 or more"},
    };
    for (const auto& c : refusedPoints) {
        try {
            EditDesignPoint(project_, p1, c.edit);
            ADD_FAILURE() << c.message;
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(ReadDrainageLayout(project_).points.front().RimElevation, "102.5");
}

}  // namespace
}  // namespace torrenta
