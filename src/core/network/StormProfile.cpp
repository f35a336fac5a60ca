#include "network/StormProfile.h"

#include <algorithm>
#include <map>

#include "Errors.h"
#include "network/DrainageNetwork.h"
#include "network/HydraulicGrade.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

constexpr double kInchesPerFoot = 12.0;

// Each point's way out: the pipe leaving it.
std::map<std::string, const PipeFlow*> PipesOut(const NetworkFlow& flow) {
    std::map<std::string, const PipeFlow*> out;
    for (const PipeFlow& pipe : flow.pipes) {
        out[pipe.from] = &pipe;
    }
    return out;
}

// The pipes from `point` to the outlet, or none when the way breaks off.
std::optional<std::vector<const PipeFlow*>> RunFrom(
    const std::map<std::string, const PipeFlow*>& out, const std::string& point) {
    std::vector<const PipeFlow*> run;
    for (std::string at = point; at != kOutletTag;) {
        const auto next = out.find(at);
        if (next == out.end() || run.size() > out.size()) {
            return std::nullopt;
        }
        run.push_back(next->second);
        at = next->second->to;
    }
    return run;
}

}  // namespace

StormProfile ProfileToOutlet(const DrainageLayout& layout, const NetworkFlow& flow,
                             const HydraulicGrade& grade, const std::string& outletName,
                             const std::string& fromPoint) {
    if (!grade.Computed()) {
        std::string tags;
        for (const std::string& tag : grade.missingInverts) {
            tags += " " + tag;
        }
        throw InputError(flow.pipes.empty()
                             ? std::string("The project has no pipes: there is no profile to draw.")
                             : "The profile needs the hydraulic grade line, and these pipes are "
                               "not laid by inverts:" +
                                   tags + ".");
    }
    std::map<std::string, const PointRow*> points;
    for (const PointRow& point : layout.points) {
        points[point.PointTag] = &point;
    }
    if (!points.contains(fromPoint)) {
        throw InputError("The project has no design point " + fromPoint + ".");
    }
    const std::optional<std::vector<const PipeFlow*>> run = RunFrom(PipesOut(flow), fromPoint);
    if (!run) {
        throw InputError(fromPoint +
                         " does not drain to the outlet through pipes alone: a profile runs "
                         "along pipes.");
    }
    // Each period's row of every pipe and structure, by tag.
    std::vector<std::map<std::string, const GradePipe*>> rows(grade.periods.size());
    StormProfile profile;
    for (std::size_t p = 0; p < grade.periods.size(); ++p) {
        profile.years.push_back(grade.periods[p].years);
        for (const GradePipe& row : grade.periods[p].pipes) {
            rows[p][row.tag] = &row;
        }
    }
    profile.title = "Storm Drain Profile: " + points.at(fromPoint)->PointName + " to the outlet";
    double station = 0.0;
    double lastInvert = 0.0;
    for (std::size_t i = 0; i < run->size(); ++i) {
        const PipeFlow& pipe = *(*run)[i];
        const PointRow& point = *points.at(pipe.from);
        ProfileStructure structure;
        structure.tag = point.PointTag;
        structure.name = point.PointName;
        structure.station = station;
        if (StartsWithNumber(point.RimElevation)) {
            structure.rim = LeadingNumber(point.RimElevation);
        }
        structure.invert = i == 0 ? *pipe.invertUp : std::min(*pipe.invertUp, lastInvert);
        ProfilePipe span;
        span.tag = pipe.tag;
        span.name = pipe.name;
        span.stationUp = station;
        span.stationDown = station + pipe.length;
        span.invertUp = *pipe.invertUp;
        span.invertDown = *pipe.invertDown;
        span.diameterFt = pipe.diameter / kInchesPerFoot;
        for (std::size_t p = 0; p < rows.size(); ++p) {
            const GradePipe& row = *rows[p].at(pipe.tag);
            structure.hgl.push_back(row.structureHgl);
            structure.egl.push_back(row.structureHgl + (row.eglUp - row.hglUp));
            span.hglUp.push_back(row.hglUp);
            span.hglDown.push_back(row.hglDown);
            span.eglUp.push_back(row.eglUp);
            span.eglDown.push_back(row.eglDown);
        }
        profile.structures.push_back(std::move(structure));
        profile.pipes.push_back(std::move(span));
        station += pipe.length;
        lastInvert = *pipe.invertDown;
    }
    ProfileStructure outlet;
    outlet.tag = std::string(kOutletTag);
    outlet.name = outletName;
    outlet.station = station;
    outlet.invert = lastInvert;
    for (std::size_t p = 0; p < rows.size(); ++p) {
        const GradePipe& last = *rows[p].at(run->back()->tag);
        outlet.hgl.push_back(last.downstreamLevel);
        outlet.egl.push_back(last.downstreamLevel + (last.eglDown - last.hglDown));
    }
    profile.structures.push_back(std::move(outlet));
    return profile;
}

std::vector<std::string> ProfileStarts(const NetworkFlow& flow, const HydraulicGrade& grade) {
    std::vector<std::string> starts;
    if (!grade.Computed()) {
        return starts;
    }
    const std::map<std::string, const PipeFlow*> out = PipesOut(flow);
    for (const PointFlow& point : flow.points) {
        if (point.tag != kOutletTag && RunFrom(out, point.tag)) {
            starts.push_back(point.tag);
        }
    }
    return starts;
}

std::optional<std::string> LongestRunStart(const NetworkFlow& flow, const HydraulicGrade& grade) {
    const std::map<std::string, const PipeFlow*> out = PipesOut(flow);
    std::optional<std::string> longest;
    double longestLength = -1.0;
    for (const std::string& start : ProfileStarts(flow, grade)) {
        double length = 0.0;
        const std::vector<const PipeFlow*> run = *RunFrom(out, start);
        for (const PipeFlow* pipe : run) {
            length += pipe->length;
        }
        if (length > longestLength) {
            longest = start;
            longestLength = length;
        }
    }
    return longest;
}

}  // namespace torrenta
