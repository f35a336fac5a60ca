#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Errors.h"
#include "checks/DesignChecks.h"
#include "hydraulics/CircularPipe.h"
#include "network/HydraulicGrade.h"
#include "network/StormProfile.h"

namespace torrenta {
namespace {

constexpr std::size_t kTenYear = 3;

struct Line {
    double flow, invertUp, invertDown;
};

// Point1 (an inlet, nothing coming in: K 1.0) drains through Pipe1, 100 ft,
// to Point2 (a junction: K 0.15), which drains through Pipe2, 200 ft, to the
// outlet; both 18-in concrete, n 0.013, the 10-year period alone.
struct TwoPipes {
    DrainageLayout layout;
    NetworkFlow flow;

    TwoPipes(Line upper, Line lower, std::optional<double> tailwater) {
        layout.points = {{"Point1", "Inlet 1", "inlet", "", "", "Point2", "False", "", ""},
                         {"Point2", "Manhole 2", "junction", "", "", "Outlet", "False", "", ""}};
        layout.settings.designYears = 10;
        layout.settings.checkYears = 10;
        layout.settings.tailwater = tailwater;
        flow.pipes = {Pipe("Pipe1", "Point1", "Point2", 100, upper),
                      Pipe("Pipe2", "Point2", "Outlet", 200, lower)};
    }

    static PipeFlow Pipe(const std::string& tag, const std::string& from, const std::string& to,
                         double length, Line line) {
        PipeFlow pipe;
        pipe.tag = tag;
        pipe.name = tag;
        pipe.from = from;
        pipe.to = to;
        pipe.length = length;
        pipe.slope = (line.invertUp - line.invertDown) / length;
        pipe.n = 0.013;
        pipe.diameter = 18;
        pipe.invertUp = line.invertUp;
        pipe.invertDown = line.invertDown;
        const PartFullFlow normal = DesignFlow(line.flow, 1.5, pipe.n, pipe.slope);
        pipe.periods[kTenYear] = {line.flow, normal.velocity, normal.depthRatio, 0.0,
                                  normal.pressure};
        return pipe;
    }
};

// Worked apart from the program, K' = 1.486 (pi/4) 4^(-2/3) = 0.4631646,
// 1.5^(8/3) = 2.948296, A full 1.767146 ft2. Pipe2 carries 6 cfs (full flow
// 7.43 at 0.5 %: yn 1.02213 above yc 0.94598), Pipe1 4 cfs (4.60 at 0.3 %:
// yn 0.92053 above yc 0.76536).
//
// High tailwater. Pipe2 (inverts 101.0 / 100.0): tailwater 103 over the
//   crown 101.5, full; Sf = (6 x 0.013 / (0.4631646 x 2.948296))^2 =
//   0.0032626, Hf 0.65252, HGL up 103.65252 above the crown 102.5: full;
//   Vo = 6 / 1.767146 = 3.39530, loss 0.15 x 3.39530^2 / 64.4 = 0.02685,
//   Manhole 2 at 103.67937. Pipe1 (101.8 / 101.5) starts under it, full:
//   Sf 0.0014500, HGL up 103.82438, Vo 2.26354, loss 1.0 x 0.07956, Inlet 1
//   at 103.90394.
// Part full. No tailwater: Pipe2 starts at 100 + (0.94598 + 1.5) / 2 =
//   101.22299, above its normal depth: + 0.005 x 200 = 102.22299, under the
//   crown and above 101.0 + 1.02213: held up from below (backwater); Vo at
//   1.22299 ft deep 3.88923, Manhole 2 at 102.25822. Pipe1: below it
//   normal depth 101.5 + 0.92053 = 102.42053 governs, + 0.003 x 100 =
//   102.72053, under 101.8 + 0.92053: normal depth, 102.72053; Vo 3.51757,
//   Inlet 1 at 102.91266.
// Supercritical. Pipe2 at 3 % (106.0 / 100.0): yn 0.59296 below yc 0.94598,
//   so nothing below is carried up: 106.59296; Vo 9.23442, Manhole 2 at
//   106.79158. Pipe1 at 1.8 % (108.0 / 106.2), yn 0.54682 below yc 0.76536:
//   108.54682, Vo 6.86611, Inlet 1 at 109.27886.
TEST(HydraulicGrade, ClimbsFullBackwaterNormalAndSupercriticalPipes) {
    const struct {
        const char* name;
        Line upper, lower;
        std::optional<double> tailwater;
        double start, hglUp2, structure2, hglUp1, structure1;
        GradeState state2, state1;
    } cases[] = {
        {"high tailwater",
         {4, 101.8, 101.5},
         {6, 101.0, 100.0},
         103.0,
         103.0,
         103.65252,
         103.67937,
         103.82438,
         103.90394,
         GradeState::Full,
         GradeState::Full},
        {"part full",
         {4, 101.8, 101.5},
         {6, 101.0, 100.0},
         std::nullopt,
         101.22299,
         102.22299,
         102.25822,
         102.72053,
         102.91266,
         GradeState::Backwater,
         GradeState::NormalDepth},
        {"supercritical",
         {4, 108.0, 106.2},
         {6, 106.0, 100.0},
         std::nullopt,
         101.22299,
         106.59296,
         106.79158,
         108.54682,
         109.27886,
         GradeState::Supercritical,
         GradeState::Supercritical},
    };
    for (const auto& c : cases) {
        const TwoPipes system(c.upper, c.lower, c.tailwater);
        const HydraulicGrade grade = ComputeHydraulicGrade(system.layout, system.flow);
        ASSERT_EQ(grade.periods.size(), 1u) << c.name;
        const GradePeriod& ten = grade.periods[0];
        ASSERT_EQ(ten.pipes.size(), 2u) << c.name;
        EXPECT_EQ(ten.pipes[0].tag, "Pipe2") << c.name;
        EXPECT_NEAR(ten.outfallLevel, c.start, 1e-5) << c.name;
        EXPECT_NEAR(ten.pipes[0].hglUp, c.hglUp2, 1e-5) << c.name;
        EXPECT_NEAR(ten.pipes[0].structureHgl, c.structure2, 1e-5) << c.name;
        EXPECT_NEAR(ten.pipes[1].downstreamLevel, c.structure2, 1e-5) << c.name;
        EXPECT_NEAR(ten.pipes[1].hglUp, c.hglUp1, 1e-5) << c.name;
        EXPECT_NEAR(ten.pipes[1].structureHgl, c.structure1, 1e-5) << c.name;
        EXPECT_EQ(ten.pipes[0].state, c.state2) << c.name;
        EXPECT_EQ(ten.pipes[1].state, c.state1) << c.name;
        EXPECT_EQ(ten.pipes[0].lossCoefficient, 0.15) << c.name;
        EXPECT_EQ(ten.pipes[1].lossCoefficient, 1.0) << c.name;
    }
}

// The high-tailwater line against the rims: Manhole 2's 103.68 is above its
// 103.5 rim, Inlet 1's 103.90 is 0.60 ft under its 104.5 (freeboard 1 ft),
// and both pipes run above their crowns.
TEST(HydraulicGrade, ChecksTheLineAgainstRimsAndCrowns) {
    TwoPipes system({4, 101.8, 101.5}, {6, 101.0, 100.0}, 103.0);
    system.layout.points[0].RimElevation = "104.5";
    system.layout.points[1].RimElevation = "103.5";
    NetworkSolution solution;
    solution.layout = system.layout;
    solution.flow = system.flow;
    solution.grade = ComputeHydraulicGrade(system.layout, system.flow);
    std::vector<std::string> messages;
    std::vector<std::string> cover;
    for (const DesignFinding& finding : CheckDesign(solution)) {
        if (finding.code.rfind("HGL-", 0) == 0 || finding.code == "PIPE-SURCHARGE") {
            messages.push_back(finding.code + ": " + finding.message);
        }
        if (finding.code == "PIPE-COVER") {
            cover.push_back(finding.message);
        }
    }
    // Rim minus crown: Pipe1 104.5 - 103.3 and 103.5 - 103.0 at its ends,
    // Pipe2 103.5 - 102.5 at its upper one (the outlet has no rim).
    EXPECT_EQ(cover, (std::vector<std::string>{
                         "Pipe \"Pipe1\" (Pipe1): 1.20 ft of cover at its upper end (rim 104.5 ft "
                         "at Point1, crown 103.30 ft) is less than the 3 ft asked for.",
                         "Pipe \"Pipe1\" (Pipe1): 0.50 ft of cover at its lower end (rim 103.5 ft "
                         "at Point2, crown 103.00 ft) is less than the 3 ft asked for.",
                         "Pipe \"Pipe2\" (Pipe2): 1.00 ft of cover at its upper end (rim 103.5 ft "
                         "at Point2, crown 102.50 ft) is less than the 3 ft asked for."}));
    EXPECT_EQ(messages,
              (std::vector<std::string>{
                  "HGL-RIM: \"Manhole 2\" (Point2): the 10-year hydraulic grade line 103.68 ft is "
                  "above its rim 103.50 ft: water leaves the structure.",
                  "PIPE-SURCHARGE: Pipe \"Pipe2\" (Pipe2): the 10-year hydraulic grade line "
                  "103.65 ft is above its crown 102.50 ft at its upper end: it runs under "
                  "pressure.",
                  "HGL-FREEBOARD: \"Inlet 1\" (Point1): the 10-year hydraulic grade line 103.90 "
                  "ft is 0.60 ft below its rim 104.50 ft, less than the 1-ft freeboard.",
                  "PIPE-SURCHARGE: Pipe \"Pipe1\" (Pipe1): the 10-year hydraulic grade line "
                  "103.82 ft is above its crown 103.30 ft at its upper end: it runs under "
                  "pressure."}));
}

// A pipe laid by its slope alone leaves the line uncomputed, naming it; the
// profile then refuses, as it does for a point not on the pipes.
TEST(HydraulicGrade, NeedsEveryPipesInverts) {
    TwoPipes system({4, 101.8, 101.2}, {6, 101.0, 100.0}, std::nullopt);
    const StormProfile profile =
        ProfileToOutlet(system.layout, system.flow,
                        ComputeHydraulicGrade(system.layout, system.flow), "Creek", "Point1");
    ASSERT_EQ(profile.structures.size(), 3u);
    EXPECT_EQ(profile.structures[2].name, "Creek");
    EXPECT_EQ(profile.structures[2].station, 300.0);
    EXPECT_EQ(profile.structures[1].invert, 101.0);  // the lower of 101.2 in and 101.0 out
    EXPECT_THROW(
        ProfileToOutlet(system.layout, system.flow,
                        ComputeHydraulicGrade(system.layout, system.flow), "Creek", "Point9"),
        InputError);

    system.flow.pipes[0].invertUp.reset();
    const HydraulicGrade grade = ComputeHydraulicGrade(system.layout, system.flow);
    EXPECT_FALSE(grade.Computed());
    EXPECT_EQ(grade.missingInverts, std::vector<std::string>{"Pipe1"});
    EXPECT_THROW(ProfileToOutlet(system.layout, system.flow, grade, "Creek", "Point1"), InputError);
}

// K by kind where none is typed; a typed one wins.
TEST(HydraulicGrade, StructureLossByKind) {
    PointRow point{"Point1", "P", "inlet", "", "", "Outlet", "False", "", ""};
    EXPECT_EQ(StructureLoss(point, true), kInletLoss);
    EXPECT_EQ(StructureLoss(point, false), kTerminalLoss);
    point.PointKind = "junction";
    EXPECT_EQ(StructureLoss(point, true), kJunctionLoss);
    point.LossCoefficient = "0.4";
    EXPECT_EQ(StructureLoss(point, false), 0.4);
}

}  // namespace
}  // namespace torrenta
