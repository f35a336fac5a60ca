#pragma once

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "intensity/IntensityDatabase.h"
#include "store/DrainageStore.h"
#include "store/ElementRows.h"
#include "store/PipeStore.h"

namespace torrenta {

// The network as one tree: every live element and design point with the one
// thing it drains to, ending at the outlet. A project that is not a network
// is read as the chain its flow path implies, so one walk serves both.
struct DrainageLayout {
    bool network = false;
    std::vector<PointRow> points;                 // live, in the order added
    std::vector<PipeRow> pipes;                   // live, in the order added
    DesignSettings settings;                      // what the pipes are designed by
    std::map<std::string, std::string> drainsTo;  // every live element, point and pipe
    // Elements that count for area but add no time: off the flow path in a
    // project that is not a network.
    std::set<std::string> areaOnly;
};

// The chain a project that is not a network stands for: the overland areas on
// the flow path in the order added, then the shallow reaches on it, then the
// channels, each draining to the next and the last to the outlet; elements
// off the path drain to the outlet.
std::map<std::string, std::string> ImpliedChain(const std::vector<BasinRow>& overland,
                                                const std::vector<SurfaceRow>& shallow,
                                                const std::vector<ChannelRow>& channel,
                                                const std::set<std::string>& offTcPath);

// The layout a solve walks: the file's links for a network, the implied chain
// otherwise (off-path elements then count for area only, as they always did).
DrainageLayout LayoutOf(const DrainageLinks& links, const std::vector<BasinRow>& overland,
                        const std::vector<SurfaceRow>& shallow,
                        const std::vector<ChannelRow>& channel,
                        const std::set<std::string>& offTcPath);

// Puts the pipes in: a point with a pipe drains through it to the pipe's
// lower end.
void AddPipes(DrainageLayout& layout, const std::vector<PipeRow>& pipes,
              const DesignSettings& settings);

// InputError naming both ends unless `from` may drain to `to`: both known (the
// outlet only as `to`), not the same, and no loop (`to` not upstream of
// `from`).
void RequireLink(const std::map<std::string, std::string>& drainsTo, const std::string& from,
                 const std::string& to);

// One design point (or the outlet, tag "Outlet") solved.
struct PointFlow {
    std::string tag;
    std::string name;
    std::string kind;      // "inlet", "junction"; "outlet" for the outlet
    std::string drainsTo;  // "" for the outlet
    double ownArea = 0.0;  // acres reaching the point without passing another
    double ownC = 0.0;     // their area-weighted C
    double totalArea = 0.0;
    double weightedC = 0.0;         // of the total area
    std::array<double, 7> sumCA{};  // sum of min(C Cf, 1) A, per period
    double tc = 0.0;                // minutes, along the longest path (design period's)
    // The longest time reaching the point other than through a pipe: its
    // inlet time (0 when nothing but pipes comes in).
    double inletTime = 0.0;
    std::array<double, 7> tcByPeriod{};  // with pipes, each period's own
    std::vector<std::string> path;       // tags from the start of that path, the point left out
    std::array<float, 7> intensity{};    // in/hr at Tc
    std::array<float, 7> peakFlow{};     // cfs
};

// An element or a point in flow order, with the time along the longest path
// at its downstream end.
struct FlowStep {
    std::string tag;
    std::string drainsTo;
    double travelTime = 0.0;  // minutes; 0 for a point
    double arrival = 0.0;     // minutes at its downstream end
    bool reached = false;     // some path passes it
};

// A part upstream of a point that alone peaks above the point itself.
struct PartialPeak {
    std::string pointTag;
    std::string partTag;  // an overland area or an upstream point
    int years = 0;
    float partFlow = 0.0f;
    float pointFlow = 0.0f;
};

// A pipe sized for the design period and run at every period's flow.
struct PipePeriod {
    double flow = 0.0;        // cfs
    double velocity = 0.0;    // ft/s at normal depth, or Q / Afull under pressure
    double depthRatio = 0.0;  // y / D
    double travelTime = 0.0;  // min
    bool pressure = false;
};
struct PipeFlow {
    std::string tag;
    std::string name;
    std::string from;
    std::string to;
    double length = 0.0;  // ft
    double slope = 0.0;   // ft/ft
    double n = 0.0;
    bool diameterGiven = false;
    double diameter = 0.0;                   // in, as given or chosen
    std::optional<double> diameterRequired;  // in; none at a slope of 0 or less
    double fullFlow = 0.0;                   // cfs
    double fullVelocity = 0.0;               // ft/s
    std::optional<double> invertUp;          // ft, where the pipe is laid by its inverts
    std::optional<double> invertDown;
    std::array<PipePeriod, 7> periods;
};

struct NetworkFlow {
    std::vector<FlowStep> order;    // every element and point, upstream first
    std::vector<PipeFlow> pipes;    // in flow order
    std::vector<PointFlow> points;  // design points in flow order, the outlet last
    std::vector<PartialPeak> partialPeaks;

    const PointFlow& Outlet() const { return points.back(); }
};

// Walks the tree once: each point's own and total area, its sums of C A, its
// time of concentration (the longest of the paths that start at an overland
// area upstream, or at any element when no area is upstream) with the path,
// and its intensities and peak flows from the table's rows.
NetworkFlow ComputeNetworkFlow(const DrainageLayout& layout, const std::vector<BasinRow>& overland,
                               const std::vector<SurfaceRow>& shallow,
                               const std::vector<ChannelRow>& channel,
                               const std::vector<IntensityRow>& intensityRows);

}  // namespace torrenta
