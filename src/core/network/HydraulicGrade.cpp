#include "network/HydraulicGrade.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <map>
#include <utility>

#include "ReturnPeriods.h"
#include "hydraulics/CircularPipe.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

constexpr double kInchesPerFoot = 12.0;

double VelocityHead(double velocity) {
    return velocity * velocity / (2.0 * kGravityUs);
}

// The velocity of `flow` with the water `depth` above the invert.
double VelocityAt(double flow, double depth, double diameterFt) {
    const double area = SectionAtDepth(depth, diameterFt).area;
    return area > 0.0 ? flow / area : 0.0;
}

std::size_t PeriodIndex(int years) {
    for (std::size_t k = 0; k < kReturnPeriods.size(); ++k) {
        if (kReturnPeriods[k] == years) {
            return k;
        }
    }
    return 3;  // the 10-year period
}

std::optional<double> Rim(const PointRow* point) {
    if (point == nullptr || !StartsWithNumber(point->RimElevation)) {
        return std::nullopt;
    }
    return LeadingNumber(point->RimElevation);
}

// One pipe, from the water `below` its lower end up to its upper structure.
GradePipe Climb(const PipeFlow& pipe, std::size_t period, double below, const PointRow* upper,
                bool pipeComesIn) {
    const PipePeriod& at = pipe.periods[period];
    const double d = pipe.diameter / kInchesPerFoot;
    GradePipe row;
    row.tag = pipe.tag;
    row.name = pipe.name;
    row.from = pipe.from;
    row.to = pipe.to;
    row.diameter = pipe.diameter;
    row.flow = at.flow;
    row.length = pipe.length;
    row.invertUp = *pipe.invertUp;
    row.invertDown = *pipe.invertDown;
    row.downstreamLevel = below;
    // Under pressure or at a slope of 0 or less the pipe has no normal depth.
    if (!at.pressure && pipe.slope > 0.0) {
        row.normalDepth = at.depthRatio * d;
    }
    row.criticalDepth = CriticalDepthFt(at.flow, d);
    const double crownDown = row.invertDown + d;
    const double crownUp = row.invertUp + d;
    bool resetToNormal = false;
    if (below >= crownDown || !row.normalDepth) {
        row.hglDown = std::max(below, crownDown);
        row.frictionSlope = FullFrictionSlope(at.flow, d, pipe.n);
        row.frictionLoss = row.frictionSlope * pipe.length;
        row.hglUp = row.hglDown + row.frictionLoss;
    } else {
        row.plunging = below < row.invertDown;
        row.hglDown = std::max(below, row.invertDown + *row.normalDepth);
        row.frictionSlope = pipe.slope;
        row.frictionLoss = pipe.slope * pipe.length;
        // Supercritical: what happens below is not carried upstream.
        resetToNormal = *row.normalDepth <= row.criticalDepth;
        row.hglUp =
            resetToNormal ? row.invertUp + *row.normalDepth : row.hglDown + row.frictionLoss;
    }
    const double normal = row.normalDepth.value_or(d);
    if (row.hglUp >= crownUp) {
        row.state = GradeState::Full;
    } else if (!resetToNormal && row.hglUp > row.invertUp + std::max(normal, row.criticalDepth)) {
        row.state = GradeState::Backwater;
    } else {
        row.hglUp = row.invertUp + normal;
        row.state =
            normal <= row.criticalDepth ? GradeState::Supercritical : GradeState::NormalDepth;
    }
    row.velocityUp = VelocityAt(at.flow, row.hglUp - row.invertUp, d);
    const double velocityDown = VelocityAt(at.flow, row.hglDown - row.invertDown, d);
    row.eglDown = row.hglDown + VelocityHead(velocityDown);
    row.eglUp = row.hglUp + VelocityHead(row.velocityUp);
    row.lossCoefficient = upper != nullptr ? StructureLoss(*upper, pipeComesIn)
                                           : (pipeComesIn ? kJunctionLoss : kTerminalLoss);
    row.structureLoss = row.lossCoefficient * VelocityHead(row.velocityUp);
    row.structureHgl = row.hglUp + row.structureLoss;
    row.rim = Rim(upper);
    if (row.rim) {
        row.freeboard = *row.rim - row.structureHgl;
    }
    return row;
}

}  // namespace

const char* GradeStateWord(GradeState state) {
    switch (state) {
        case GradeState::Full:
            return "full";
        case GradeState::Backwater:
            return "backwater";
        case GradeState::NormalDepth:
            return "normal";
        case GradeState::Supercritical:
            return "supercritical";
    }
    return "";
}

double StructureLoss(const PointRow& point, bool pipeComesIn) {
    if (StartsWithNumber(point.LossCoefficient)) {
        return LeadingNumber(point.LossCoefficient);
    }
    if (!pipeComesIn) {
        return kTerminalLoss;
    }
    return point.PointKind == kInletKind ? kInletLoss : kJunctionLoss;
}

HydraulicGrade ComputeHydraulicGrade(const DrainageLayout& layout, const NetworkFlow& flow) {
    HydraulicGrade grade;
    if (flow.pipes.empty()) {
        return grade;
    }
    for (const PipeFlow& pipe : flow.pipes) {
        if (!pipe.invertUp || !pipe.invertDown) {
            grade.missingInverts.push_back(pipe.tag);
        }
    }
    if (!grade.missingInverts.empty()) {
        return grade;
    }
    std::map<std::string, const PointRow*> points;
    for (const PointRow& point : layout.points) {
        points[point.PointTag] = &point;
    }
    std::map<std::string, std::vector<const PipeFlow*>> incoming;  // by lower point
    for (const PipeFlow& pipe : flow.pipes) {
        incoming[pipe.to].push_back(&pipe);
    }
    std::vector<int> years = {layout.settings.designYears};
    if (layout.settings.checkYears != layout.settings.designYears) {
        years.push_back(layout.settings.checkYears);
    }
    for (const int period : years) {
        const std::size_t k = PeriodIndex(period);
        GradePeriod sheet;
        sheet.years = period;
        // Up from the outfall, a level of pipes at a time.
        std::deque<std::pair<const PipeFlow*, double>> climbing;
        bool first = true;
        for (const PipeFlow* pipe : incoming[std::string(kOutletTag)]) {
            const double d = pipe->diameter / kInchesPerFoot;
            const double critical = CriticalDepthFt(pipe->periods[k].flow, d);
            double start = *pipe->invertDown + (critical + d) / 2.0;
            if (layout.settings.tailwater) {
                start = std::max(start, *layout.settings.tailwater);
            }
            if (first) {
                sheet.outfallLevel = start;
                first = false;
            }
            climbing.emplace_back(pipe, start);
        }
        while (!climbing.empty()) {
            const auto [pipe, below] = climbing.front();
            climbing.pop_front();
            const auto upper = points.find(pipe->from);
            const std::vector<const PipeFlow*>& above = incoming[pipe->from];
            GradePipe row = Climb(*pipe, k, below, upper == points.end() ? nullptr : upper->second,
                                  !above.empty());
            sheet.points.push_back({row.from, row.structureHgl,
                                    row.structureHgl + VelocityHead(row.velocityUp), row.rim,
                                    row.freeboard});
            for (const PipeFlow* in : above) {
                climbing.emplace_back(in, row.structureHgl);
            }
            sheet.pipes.push_back(std::move(row));
        }
        grade.periods.push_back(std::move(sheet));
    }
    return grade;
}

}  // namespace torrenta
