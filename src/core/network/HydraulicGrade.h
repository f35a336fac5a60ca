#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "network/DrainageNetwork.h"

namespace torrenta {

// The hydraulic grade line of the storm drains, from the outfall up through
// every pipe and structure, by the approximate method: friction in a full
// pipe, the pipe's slope in a part-full subcritical one, normal depth where
// the flow is supercritical, and K Vo^2 / 2g at each structure. Elevations in
// feet.

// Default structure loss coefficients: a point no pipe comes into, an inlet,
// a junction (access hole, straight run).
inline constexpr double kTerminalLoss = 1.0;
inline constexpr double kInletLoss = 0.50;
inline constexpr double kJunctionLoss = 0.15;

// How the water stands at a pipe's upper end.
enum class GradeState {
    Full,           // at or above the crown
    Backwater,      // part full, held up from below
    NormalDepth,    // part full at its own normal depth
    Supercritical,  // part full, reset to normal depth: losses not carried up
};
const char* GradeStateWord(GradeState state);

// One pipe of the sheet, as the water goes up it.
struct GradePipe {
    std::string tag;
    std::string name;
    std::string from;                   // its upper point
    std::string to;                     // its lower point, or the outlet
    double diameter = 0.0;              // in
    double flow = 0.0;                  // cfs
    double length = 0.0;                // ft
    std::optional<double> normalDepth;  // ft; none under pressure
    double criticalDepth = 0.0;         // ft
    double invertUp = 0.0;              // ft
    double invertDown = 0.0;            // ft
    double downstreamLevel = 0.0;       // W: the water below its lower end
    double hglDown = 0.0;               // HGL at its lower end
    double frictionSlope = 0.0;         // ft/ft, what the line rises by along it
    double frictionLoss = 0.0;          // ft
    double hglUp = 0.0;                 // HGL at its upper end
    double eglDown = 0.0;
    double eglUp = 0.0;
    GradeState state = GradeState::Full;
    bool plunging = false;            // enters above the water below it
    double velocityUp = 0.0;          // Vo, ft/s at its upper end
    double lossCoefficient = 0.0;     // K of its upper structure
    double structureLoss = 0.0;       // K Vo^2 / 2g
    double structureHgl = 0.0;        // the upper structure's water level
    std::optional<double> rim;        // of the upper structure
    std::optional<double> freeboard;  // rim minus the structure's HGL
};

// A structure's water and energy levels.
struct GradePoint {
    std::string tag;
    double hgl = 0.0;
    double egl = 0.0;
    std::optional<double> rim;
    std::optional<double> freeboard;
};

struct GradePeriod {
    int years = 0;
    double outfallLevel = 0.0;       // where the line starts, below the outlet's pipes
    std::vector<GradePipe> pipes;    // from the outlet upward
    std::vector<GradePoint> points;  // the pipes' upper structures, in the same order
};

struct HydraulicGrade {
    // The pipes not laid by their inverts: the line is computed only when
    // every pipe has both.
    std::vector<std::string> missingInverts;
    std::vector<GradePeriod> periods;  // the design period, then the check period

    bool Computed() const { return !periods.empty(); }
};

// The K a point's structure takes: its own where typed, else its kind's, or
// the terminal one where no pipe comes in.
double StructureLoss(const PointRow& point, bool pipeComesIn);

// The grade line of every pipe of `flow` for the design and the check
// periods of the layout's settings (one period when the two are the same).
HydraulicGrade ComputeHydraulicGrade(const DrainageLayout& layout, const NetworkFlow& flow);

}  // namespace torrenta
