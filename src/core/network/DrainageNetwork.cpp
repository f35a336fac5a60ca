#include "network/DrainageNetwork.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <unordered_map>
#include <utility>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "hydraulics/CircularPipe.h"
#include "solver/RationalMethod.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

constexpr std::size_t kPeriods = kReturnPeriods.size();

// The first four are what a path's time adds up by; the order of the kinds
// is the order of the report's tables.
enum class NodeKind { Overland, Shallow, Channel, Pipe, Point, Outlet };
constexpr std::size_t kTimedKinds = 4;
constexpr double kInchesPerFoot = 12.0;

struct Node {
    std::string tag;
    NodeKind kind = NodeKind::Outlet;
    std::size_t row = 0;  // index in its own table
    double time = 0.0;
    bool countsForTime = false;
    int down = -1;
    std::vector<int> up;
};

// The longest arrival at a node's downstream end by one kind of path, and
// which upstream node it came through (-1: the path starts here).
struct Arrival {
    std::optional<double> time;
    int from = -1;
};

// Where the longest paths reach: from an overland area, or from any element
// (for points no area drains to).
struct Arrivals {
    Arrival fromArea;
    Arrival fromAny;
};

// The part of a point's total that reaches it as one area of one C: its own
// area, or an upstream point's parts passed on. The peak flow adds the parts
// as C Cf I A each, so a point with one part gives the solver's Q exactly.
struct Part {
    std::array<double, kPeriods> capped{};
    double area = 0.0;
    double weighted = 0.0;  // C A
};

class Walk {
  public:
    Walk(const DrainageLayout& layout, const std::vector<BasinRow>& overland,
         const std::vector<SurfaceRow>& shallow, const std::vector<ChannelRow>& channel)
        : overland_(overland) {
        for (std::size_t i = 0; i < overland.size(); ++i) {
            Add(overland[i].BasinTag, NodeKind::Overland, i, LeadingNumber(overland[i].Tc), layout);
        }
        for (std::size_t i = 0; i < shallow.size(); ++i) {
            Add(shallow[i].SurfTag, NodeKind::Shallow, i, LeadingNumber(shallow[i].SurfTc), layout);
        }
        for (std::size_t i = 0; i < channel.size(); ++i) {
            Add(channel[i].ChannelTag, NodeKind::Channel, i, LeadingNumber(channel[i].ChannelTc),
                layout);
        }
        for (std::size_t i = 0; i < layout.points.size(); ++i) {
            Add(layout.points[i].PointTag, NodeKind::Point, i, 0.0, layout);
        }
        for (std::size_t i = 0; i < layout.pipes.size(); ++i) {
            Add(layout.pipes[i].PipeTag, NodeKind::Pipe, i, 0.0, layout);
        }
        Add(std::string(kOutletTag), NodeKind::Outlet, 0, 0.0, layout);
        outlet_ = static_cast<int>(nodes_.size()) - 1;
        Link(layout);
        Order();
    }

    NetworkFlow Solve(const DrainageLayout& layout, const std::vector<IntensityRow>& rows) {
        Collect();
        const IntensityLookup lookup(rows);
        if (layout.pipes.empty()) {
            NetworkFlow flow = Pass(layout, lookup, std::nullopt);
            for (PointFlow& point : flow.points) {
                point.tcByPeriod.fill(point.tc);
            }
            if (layout.network) {
                FindPartialPeaks(flow, lookup);
            }
            return flow;
        }
        // Pipes are sized for the design period, then every period runs its own
        // flows through them: travel times, and so Tc downstream, differ.
        const std::size_t design = DesignPeriod(layout.settings.designYears);
        pipeFlows_.assign(layout.pipes.size(), {});
        sizing_ = true;
        light_ = true;
        Pass(layout, lookup, design);
        sizing_ = false;
        NetworkFlow flow;
        for (std::size_t k = 0; k < kPeriods; ++k) {
            // Only the design period's walk keeps the paths and the order;
            // the others give their times and flows.
            light_ = k != design;
            NetworkFlow one = Pass(layout, lookup, k);
            if (k == design) {
                const std::vector<PointFlow> kept = flow.points;
                flow.order = one.order;
                flow.points = one.points;
                for (std::size_t i = 0; i < kept.size(); ++i) {
                    for (std::size_t j = 0; j < k; ++j) {
                        flow.points[i].intensity[j] = kept[i].intensity[j];
                        flow.points[i].peakFlow[j] = kept[i].peakFlow[j];
                        flow.points[i].tcByPeriod[j] = kept[i].tcByPeriod[j];
                    }
                }
            } else if (flow.points.empty()) {
                flow.points = one.points;
            }
            for (std::size_t i = 0; i < one.points.size(); ++i) {
                flow.points[i].intensity[k] = one.points[i].intensity[k];
                flow.points[i].peakFlow[k] = one.points[i].peakFlow[k];
                flow.points[i].tcByPeriod[k] = one.points[i].tc;
            }
        }
        for (const int v : order_) {
            if (nodes_[v].kind == NodeKind::Pipe) {
                flow.pipes.push_back(pipeFlows_[nodes_[v].row]);
            }
        }
        return flow;
    }

  private:
    void Add(const std::string& tag, NodeKind kind, std::size_t row, double time,
             const DrainageLayout& layout) {
        Node node;
        node.tag = tag;
        node.kind = kind;
        node.row = row;
        node.time = time;
        node.countsForTime =
            static_cast<std::size_t>(kind) < kTimedKinds && !layout.areaOnly.contains(tag);
        index_[tag] = static_cast<int>(nodes_.size());
        nodes_.push_back(std::move(node));
    }

    // What a node drains to; anything unknown drains to the outlet, so a
    // damaged link never loses an area.
    void Link(const DrainageLayout& layout) {
        for (int v = 0; v < outlet_; ++v) {
            int down = outlet_;
            const auto link = layout.drainsTo.find(nodes_[v].tag);
            if (link != layout.drainsTo.end()) {
                const auto target = index_.find(link->second);
                if (target != index_.end() && target->second != v) {
                    down = target->second;
                }
            }
            nodes_[v].down = down;
        }
        // A loop written outside the program is cut where it closes: the
        // node whose way down comes back to itself drains to the outlet. Each
        // node is walked once: 1 while on the way being followed, 2 once its
        // way is known to reach the outlet.
        std::vector<char> state(nodes_.size(), 0);
        state[outlet_] = 2;
        std::vector<int> way;
        for (int v = 0; v < outlet_; ++v) {
            way.clear();
            int at = v;
            while (state[at] == 0) {
                state[at] = 1;
                way.push_back(at);
                at = nodes_[at].down;
            }
            if (state[at] == 1) {
                nodes_[way.back()].down = outlet_;
            }
            for (const int node : way) {
                state[node] = 2;
            }
        }
        for (int v = 0; v < outlet_; ++v) {
            nodes_[nodes_[v].down].up.push_back(v);
        }
    }

    // Upstream first: each node after everything that drains into it.
    void Order() {
        std::vector<std::pair<int, std::size_t>> stack = {{outlet_, 0}};
        while (!stack.empty()) {
            auto& [v, next] = stack.back();
            if (next < nodes_[v].up.size()) {
                const int child = nodes_[v].up[next++];
                stack.push_back({child, 0});
                continue;
            }
            order_.push_back(v);
            stack.pop_back();
        }
    }

    static const Arrival& Best(const Arrivals& arrivals) {
        return arrivals.fromArea.time ? arrivals.fromArea : arrivals.fromAny;
    }

    // The latest of the upstream arrivals of one kind; the first in the
    // order added on a tie.
    template <class Pick>
    Arrival Latest(int v, Pick pick) const {
        Arrival latest;
        for (const int u : nodes_[v].up) {
            const Arrival& arrival = pick(arrivals_[u]);
            if (arrival.time && (!latest.time || *arrival.time > *latest.time)) {
                latest = {arrival.time, u};
            }
        }
        return latest;
    }

    static std::size_t DesignPeriod(int years) {
        for (std::size_t k = 0; k < kPeriods; ++k) {
            if (kReturnPeriods[k] == years) {
                return k;
            }
        }
        return 3;  // the 10-year period
    }

    // One walk down the tree: arrivals, each point's flow, and each pipe's
    // time from the flow of the point above it (`period`: whose flow; none
    // for a network without pipes, whose times do not depend on it).
    NetworkFlow Pass(const DrainageLayout& layout, const IntensityLookup& lookup,
                     std::optional<std::size_t> period) {
        arrivals_.assign(nodes_.size(), {});
        parts_.clear();
        pointPeaks_.assign(nodes_.size(), {});
        NetworkFlow flow;
        for (const int v : order_) {
            Node& node = nodes_[v];
            if (node.kind == NodeKind::Pipe) {
                node.time = PipeTime(v, layout, *period);
            }
            ArriveAt(v);
            if (node.kind == NodeKind::Point || node.kind == NodeKind::Outlet) {
                flow.points.push_back(PointAt(v, layout, lookup));
                pointPeaks_[v] = flow.points.back().peakFlow;
            }
        }
        if (light_) {
            return flow;
        }
        for (const int v : order_) {
            const Node& node = nodes_[v];
            if (node.kind == NodeKind::Outlet) {
                continue;
            }
            const Arrival& best = Best(arrivals_[v]);
            flow.order.push_back({node.tag, nodes_[node.down].tag,
                                  node.kind == NodeKind::Point ? 0.0 : node.time,
                                  best.time.value_or(0.0), best.time.has_value()});
        }
        return flow;
    }

    // A pipe's travel time at the flow of the point above it; in the sizing
    // walk it is given its diameter first.
    double PipeTime(int v, const DrainageLayout& layout, std::size_t period) {
        const PipeRow& row = layout.pipes[nodes_[v].row];
        PipeFlow& pipe = pipeFlows_[nodes_[v].row];
        const int from = nodes_[v].up.empty() ? -1 : nodes_[v].up.front();
        const double flow = from >= 0 ? static_cast<double>(pointPeaks_[from][period]) : 0.0;
        if (sizing_) {
            pipe = SizePipe(row, v, flow, layout.settings);
        }
        const PartFullFlow design =
            DesignFlow(flow, pipe.diameter / kInchesPerFoot, pipe.n, pipe.slope);
        const double time = design.velocity > 0.0 ? pipe.length / design.velocity / 60.0 : 0.0;
        pipe.periods[period] = {flow, design.velocity, design.depthRatio, time, design.pressure};
        return time;
    }

    PipeFlow SizePipe(const PipeRow& row, int v, double flow, const DesignSettings& settings) {
        PipeFlow pipe;
        pipe.tag = row.PipeTag;
        pipe.name = row.PipeName;
        pipe.from = row.FromPoint;
        pipe.to = row.ToPoint;
        pipe.length = LeadingNumber(row.PipeLength);
        pipe.slope =
            StartsWithNumber(row.PipeSlope)
                ? LeadingNumber(row.PipeSlope)
                : (LeadingNumber(row.InvertUp) - LeadingNumber(row.InvertDown)) / pipe.length;
        pipe.n = StartsWithNumber(row.PipeN) ? LeadingNumber(row.PipeN) : 0.013;
        if (StartsWithNumber(row.InvertUp) && StartsWithNumber(row.InvertDown)) {
            pipe.invertUp = LeadingNumber(row.InvertUp);
            pipe.invertDown = LeadingNumber(row.InvertDown);
        }
        if (pipe.slope > 0.0) {
            pipe.diameterRequired = RequiredDiameterFt(flow, pipe.n, pipe.slope) * kInchesPerFoot;
        }
        if (StartsWithNumber(row.Diameter)) {
            pipe.diameterGiven = true;
            pipe.diameter = LeadingNumber(row.Diameter);
        } else {
            if (!(pipe.slope > 0.0)) {
                throw InputError("Pipe \"" + row.PipeName + "\" (" + row.PipeTag +
                                 ") has a slope of 0 or less and cannot be sized: give its "
                                 "diameter or a slope above 0.");
            }
            // Never smaller than a pipe coming into its upper point.
            double atLeast = 0.0;
            const int from = nodes_[v].up.empty() ? -1 : nodes_[v].up.front();
            for (const int u : from >= 0 ? nodes_[from].up : std::vector<int>{}) {
                if (nodes_[u].kind == NodeKind::Pipe) {
                    atLeast = std::max(atLeast, pipeFlows_[nodes_[u].row].diameter);
                }
            }
            const std::optional<double> chosen = ChooseDiameterIn(
                flow, pipe.n, pipe.slope, settings.sizes, settings.minimumDiameter, atLeast);
            if (!chosen) {
                throw InputError("Pipe \"" + row.PipeName + "\" (" + row.PipeTag + ") needs " +
                                 FormatFixed(*pipe.diameterRequired, 1) +
                                 " in, more than the largest standard size.");
            }
            pipe.diameter = *chosen;
        }
        const FullFlow full = FullPipeFlow(pipe.diameter / kInchesPerFoot, pipe.n, pipe.slope);
        pipe.fullFlow = full.capacity;
        pipe.fullVelocity = full.velocity;
        return pipe;
    }

    void ArriveAt(int v) {
        {
            const Node& node = nodes_[v];
            Arrival area =
                Latest(v, [](const Arrivals& a) -> const Arrival& { return a.fromArea; });
            Arrival any = Latest(v, [](const Arrivals& a) -> const Arrival& { return a.fromAny; });
            if (node.countsForTime) {
                if (area.time) {
                    *area.time += node.time;
                } else if (node.kind == NodeKind::Overland) {
                    area = {node.time, -1};
                }
                if (any.time) {
                    *any.time += node.time;
                } else {
                    any = {node.time, -1};
                }
            }
            arrivals_[v] = {area, any};
        }
    }

    // The elements a point's flow path passes, from its start, and the time
    // they add: the kinds' sums in the order the tables list them, as the
    // report adds the travel times up.
    std::pair<std::vector<std::string>, double> PathTo(int v) const {
        const Arrivals& at = arrivals_[v];
        const bool byArea = at.fromArea.time.has_value();
        std::vector<int> nodes;
        // The point's own entry names the node its longest path comes through.
        int next = (byArea ? at.fromArea : at.fromAny).from;
        const bool reached = (byArea ? at.fromArea : at.fromAny).time.has_value();
        while (reached && next >= 0) {
            nodes.push_back(next);
            const Arrivals& step = arrivals_[next];
            next = (byArea ? step.fromArea : step.fromAny).from;
        }
        std::reverse(nodes.begin(), nodes.end());
        std::vector<std::string> tags;
        std::array<std::vector<std::size_t>, kTimedKinds> rowsByKind;
        for (const int n : nodes) {
            if (!light_) {
                tags.push_back(nodes_[n].tag);
            }
            if (nodes_[n].countsForTime) {
                rowsByKind[static_cast<int>(nodes_[n].kind)].push_back(static_cast<std::size_t>(n));
            }
        }
        std::array<double, kTimedKinds> sums{};
        for (std::size_t kind = 0; kind < kTimedKinds; ++kind) {
            std::sort(rowsByKind[kind].begin(), rowsByKind[kind].end());
            for (const std::size_t n : rowsByKind[kind]) {
                sums[kind] += nodes_[n].time;
            }
        }
        // Shallow, then overland, then channel: the order the totals always
        // had, so a project solves to the same last digit as before; the pipes
        // after them.
        return {tags, sums[1] + sums[0] + sums[2] + sums[3]};
    }

    // The latest arrival at a point other than through a pipe, by the same
    // preference as its Tc: from an area where one reaches it.
    double InletTime(int v) const {
        std::optional<double> fromArea;
        std::optional<double> fromAny;
        for (const int u : nodes_[v].up) {
            if (nodes_[u].kind == NodeKind::Pipe) {
                continue;
            }
            const Arrivals& at = arrivals_[u];
            if (at.fromArea.time) {
                fromArea = std::max(fromArea.value_or(0.0), *at.fromArea.time);
            }
            if (at.fromAny.time) {
                fromAny = std::max(fromAny.value_or(0.0), *at.fromAny.time);
            }
        }
        return fromArea.value_or(fromAny.value_or(0.0));
    }

    // The first point (or the outlet) each node's flow reaches.
    int CollectorOf(int v) const {
        int at = nodes_[v].down;
        while (at >= 0 && nodes_[at].kind != NodeKind::Point &&
               nodes_[at].kind != NodeKind::Outlet) {
            at = nodes_[at].down;
        }
        return at;
    }

    void Collect() {
        collector_.assign(nodes_.size(), -1);
        for (int v = 0; v < outlet_; ++v) {
            collector_[v] = CollectorOf(v);
        }
        ownAreas_.assign(nodes_.size(), {});
        for (int v = 0; v < outlet_; ++v) {
            if (nodes_[v].kind == NodeKind::Overland) {
                ownAreas_[collector_[v]].push_back(nodes_[v].row);
            }
        }
    }

    Part OwnPart(int v) {
        Part part;
        for (const std::size_t row : ownAreas_[v]) {
            part.area += LeadingNumber(overland_[row].Area);
        }
        // The weighted C as the report has always written it: each area's
        // share of the total times its C, added in row order.
        double c = 0.0;
        for (const std::size_t row : ownAreas_[v]) {
            const double share =
                part.area == 0.0 ? 0.0 : LeadingNumber(overland_[row].Area) / part.area;
            c += share * LeadingNumber(overland_[row].CVal);
        }
        part.weighted = c * part.area;
        for (std::size_t k = 0; k < kPeriods; ++k) {
            part.capped[k] = CappedCoefficient(c, kReturnPeriods[k]);
        }
        ownC_[v] = c;
        return part;
    }

    PointFlow PointAt(int v, const DrainageLayout& layout, const IntensityLookup& lookup) {
        const Node& node = nodes_[v];
        PointFlow point;
        point.tag = node.tag;
        point.name = node.kind == NodeKind::Point ? layout.points[node.row].PointName : "";
        point.kind = node.kind == NodeKind::Point ? layout.points[node.row].PointKind : "outlet";
        point.drainsTo = node.kind == NodeKind::Point ? nodes_[node.down].tag : "";
        ownC_.resize(nodes_.size(), 0.0);
        std::vector<Part>& parts = parts_[v];
        const Part own = OwnPart(v);
        parts.insert(parts.begin(), own);
        point.ownArea = own.area;
        point.ownC = ownC_[v];
        double weighted = 0.0;
        for (const Part& part : parts) {
            point.totalArea += part.area;
            weighted += part.weighted;
            for (std::size_t k = 0; k < kPeriods; ++k) {
                point.sumCA[k] += part.capped[k] * part.area;
            }
        }
        point.weightedC = parts.size() == 1        ? point.ownC
                          : point.totalArea == 0.0 ? 0.0
                                                   : weighted / point.totalArea;
        auto [path, tc] = PathTo(v);
        point.path = std::move(path);
        point.tc = tc;
        point.inletTime = InletTime(v);
        // A city may ask for the intensity of no storm shorter than a set
        // duration; the actual Tc is what goes on downstream.
        const double minimum = layout.settings.minimumDuration;
        point.intensity = lookup.At(minimum > 0.0 ? std::max(tc, minimum) : tc);
        for (std::size_t k = 0; k < kPeriods; ++k) {
            double q = 0.0;
            for (const Part& part : parts) {
                q += part.capped[k] * static_cast<double>(point.intensity[k]) * part.area;
            }
            point.peakFlow[k] = ToSingle(q);
        }
        // What this point collects goes on, part by part, to the next point.
        if (node.kind == NodeKind::Point) {
            std::vector<Part>& downstream = parts_[collector_[v]];
            downstream.insert(downstream.end(), parts.begin(), parts.end());
        }
        return point;
    }

    // HEC-22 3.2: a part with a short time can peak above the whole. Each
    // overland area alone, at the time of its own way down to the point, and
    // each upstream point alone, at its Tc plus the time from it on.
    void FindPartialPeaks(NetworkFlow& flow, const IntensityLookup& lookup) const {
        std::map<std::string, const PointFlow*> byTag;
        for (const PointFlow& point : flow.points) {
            byTag[point.tag] = &point;
        }
        const auto compare = [&](const PointFlow& at, const std::string& part, double area,
                                 const std::array<double, kPeriods>& capped, double time) {
            const std::array<float, kPeriods> intensity = lookup.At(time);
            for (std::size_t k = 0; k < kPeriods; ++k) {
                const float alone = ToSingle(capped[k] * static_cast<double>(intensity[k]) * area);
                // Judged as the report shows them, to the hundredth; most
                // parts are below the whole and need no formatting.
                if (alone > at.peakFlow[k] && LeadingNumber(FormatFixed(alone, 2)) >
                                                  LeadingNumber(FormatFixed(at.peakFlow[k], 2))) {
                    flow.partialPeaks.push_back(
                        {at.tag, part, kReturnPeriods[k], alone, at.peakFlow[k]});
                }
            }
        };
        for (int v = 0; v < outlet_; ++v) {
            const Node& node = nodes_[v];
            const bool isArea = node.kind == NodeKind::Overland;
            const bool isPoint = node.kind == NodeKind::Point;
            if (!isArea && !isPoint) {
                continue;
            }
            std::array<double, kPeriods> capped{};
            double area = 0.0;
            double time = 0.0;
            if (isArea) {
                area = LeadingNumber(overland_[node.row].Area);
                const double c = LeadingNumber(overland_[node.row].CVal);
                for (std::size_t k = 0; k < kPeriods; ++k) {
                    capped[k] = CappedCoefficient(c, kReturnPeriods[k]);
                }
                time = node.time;
            } else {
                const PointFlow& self = *byTag.at(node.tag);
                area = self.totalArea;
                for (std::size_t k = 0; k < kPeriods; ++k) {
                    capped[k] = area == 0.0 ? 0.0 : self.sumCA[k] / area;
                }
                time = self.tc;
            }
            if (area == 0.0) {
                continue;
            }
            // Down the one way the tree allows, adding each element's time,
            // and compared at every point met; an area is not judged at its
            // own point when it is that point's only part.
            for (int at = node.down; at >= 0; at = nodes_[at].down) {
                const Node& step = nodes_[at];
                if (step.kind == NodeKind::Point || step.kind == NodeKind::Outlet) {
                    const PointFlow& there = *byTag.at(step.tag);
                    if (there.totalArea > area) {
                        compare(there, node.tag, area, capped, time);
                    }
                } else if (step.countsForTime) {
                    time += step.time;
                }
            }
        }
    }

    const std::vector<BasinRow>& overland_;
    std::vector<Node> nodes_;
    std::unordered_map<std::string, int> index_;
    int outlet_ = -1;
    std::vector<int> order_;
    std::vector<Arrivals> arrivals_;
    std::vector<int> collector_;
    std::vector<std::vector<std::size_t>> ownAreas_;
    std::map<int, std::vector<Part>> parts_;
    std::vector<double> ownC_;
    std::vector<std::array<float, kPeriods>> pointPeaks_;
    std::vector<PipeFlow> pipeFlows_;
    bool sizing_ = false;
    bool light_ = false;  // a walk whose paths and order nobody reads
};

}  // namespace

std::map<std::string, std::string> ImpliedChain(const std::vector<BasinRow>& overland,
                                                const std::vector<SurfaceRow>& shallow,
                                                const std::vector<ChannelRow>& channel,
                                                const std::set<std::string>& offTcPath) {
    std::map<std::string, std::string> drainsTo;
    std::vector<std::string> chain;
    const auto place = [&](const std::string& tag) {
        if (offTcPath.contains(tag)) {
            drainsTo[tag] = std::string(kOutletTag);
        } else {
            chain.push_back(tag);
        }
    };
    for (const BasinRow& row : overland) {
        place(row.BasinTag);
    }
    for (const SurfaceRow& row : shallow) {
        place(row.SurfTag);
    }
    for (const ChannelRow& row : channel) {
        place(row.ChannelTag);
    }
    for (std::size_t i = 0; i < chain.size(); ++i) {
        drainsTo[chain[i]] = i + 1 < chain.size() ? chain[i + 1] : std::string(kOutletTag);
    }
    return drainsTo;
}

DrainageLayout LayoutOf(const DrainageLinks& links, const std::vector<BasinRow>& overland,
                        const std::vector<SurfaceRow>& shallow,
                        const std::vector<ChannelRow>& channel,
                        const std::set<std::string>& offTcPath) {
    DrainageLayout layout;
    layout.network = links.network;
    if (!links.network) {
        layout.drainsTo = ImpliedChain(overland, shallow, channel, offTcPath);
        for (const std::string& tag : offTcPath) {
            layout.areaOnly.insert(tag);
        }
        return layout;
    }
    layout.points = links.points;
    const auto linkOf = [&](const std::string& tag) {
        const auto found = links.elementDrains.find(tag);
        return found == links.elementDrains.end() ? std::string(kOutletTag) : found->second;
    };
    for (const BasinRow& row : overland) {
        layout.drainsTo[row.BasinTag] = linkOf(row.BasinTag);
    }
    for (const SurfaceRow& row : shallow) {
        layout.drainsTo[row.SurfTag] = linkOf(row.SurfTag);
    }
    for (const ChannelRow& row : channel) {
        layout.drainsTo[row.ChannelTag] = linkOf(row.ChannelTag);
    }
    for (const PointRow& point : links.points) {
        layout.drainsTo[point.PointTag] = point.DrainsTo;
    }
    return layout;
}

void RequireLink(const std::map<std::string, std::string>& drainsTo, const std::string& from,
                 const std::string& to) {
    if (from == kOutletTag) {
        throw InputError("The outlet drains nowhere: it is where the network ends, so \"" + from +
                         "\" cannot drain to " + to + ".");
    }
    if (!drainsTo.contains(from)) {
        throw InputError("The project has no element or design point " + from + ".");
    }
    if (to != kOutletTag && !drainsTo.contains(to)) {
        throw InputError("The project has no element or design point " + to + " for " + from +
                         " to drain to.");
    }
    if (to == from) {
        throw InputError(from + " cannot drain to itself.");
    }
    for (std::string at = to; at != kOutletTag;) {
        if (at == from) {
            throw InputError(from + " cannot drain to " + to + ": " + to + " already drains to " +
                             from + ", and the water would go round in a loop.");
        }
        const auto next = drainsTo.find(at);
        if (next == drainsTo.end()) {
            break;
        }
        at = next->second;
    }
}

void AddPipes(DrainageLayout& layout, const std::vector<PipeRow>& pipes,
              const DesignSettings& settings) {
    layout.pipes = pipes;
    layout.settings = settings;
    for (const PipeRow& pipe : pipes) {
        layout.drainsTo[pipe.PipeTag] = pipe.ToPoint;
        layout.drainsTo[pipe.FromPoint] = pipe.PipeTag;
    }
}

NetworkFlow ComputeNetworkFlow(const DrainageLayout& layout, const std::vector<BasinRow>& overland,
                               const std::vector<SurfaceRow>& shallow,
                               const std::vector<ChannelRow>& channel,
                               const std::vector<IntensityRow>& intensityRows) {
    Walk walk(layout, overland, shallow, channel);
    return walk.Solve(layout, intensityRows);
}

}  // namespace torrenta
