#include "checks/DesignChecks.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "solver/RationalMethod.h"
#include "store/TypedTc.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

std::string Number(double value) {
    return GeneralNumberText(value);
}

// A value as its message prints it (general number text), read back: a limit
// is judged on what the reader sees, so a sum that lands a rounding error past
// a limit (areas 0.1 + 0.2 + 128.3 + 71.4 make 200.00000000000003 acres)
// prints as the limit and is no finding.
double AsPrinted(double value) {
    return LeadingNumber(GeneralNumberText(value));
}

// Printing rounds to fifteen significant digits, which moves a value by less
// than a part in 10^14: a value clear of a limit by more than that is on the
// same side printed, and need not be printed to tell.
bool ClearlyInside(double value, double low, double high) {
    constexpr double kPrintedMargin = 1e-14;
    const bool aboveLow =
        std::isinf(low) ? value > low : value > low + std::fabs(low) * kPrintedMargin;
    const bool belowHigh =
        std::isinf(high) ? value < high : value < high - std::fabs(high) * kPrintedMargin;
    return aboveLow && belowHigh;
}

bool Above(const DesignRule& rule, double value) {
    if (ClearlyInside(value, -kNoLimit, rule.high)) {
        return false;
    }
    return AsPrinted(value) > rule.high;
}

enum class Side { Within, Below, Above };

// Where a value lies against [low, high], printed once for both sides.
Side SideOf(const DesignRule& rule, double value) {
    if (ClearlyInside(value, rule.low, rule.high)) {
        return Side::Within;
    }
    const double printed = AsPrinted(value);
    return printed < rule.low ? Side::Below : printed > rule.high ? Side::Above : Side::Within;
}

DesignFinding Finding(const DesignRule& rule, std::string element, std::string message) {
    return {std::string(rule.code), std::move(element), std::move(message),
            std::string(rule.reference)};
}

// "Overland flow area "Basin 1"": the kind in words and the name the user gave.
std::string Named(const char* kind, const std::string& name) {
    return std::string(kind) + " \"" + name + "\"";
}

// A value that must stay within [low, high]: "... n 0.9 is outside 0.011 to 0.8."
// The words are put together only for a finding: most values are within.
template <class Subject>
void CheckRange(const DesignRule& rule, const std::string& tag, const Subject& subject,
                double value, const char* unit, std::vector<DesignFinding>& findings) {
    if (SideOf(rule, value) == Side::Within) {
        return;
    }
    findings.push_back(Finding(rule, tag,
                               subject() + " " + Number(value) + unit + " is outside " +
                                   Number(rule.low) + " to " + Number(rule.high) + unit + "."));
}

// A value with its own words for each side of [low, high]; silent within.
// `said` gives the words both sides start with.
template <class Said>
void CheckSides(const DesignRule& rule, const std::string& tag, double value, const Said& said,
                const char* below, const char* above, std::vector<DesignFinding>& findings) {
    const Side side = SideOf(rule, value);
    if (side != Side::Within) {
        findings.push_back(Finding(rule, tag, said() + (side == Side::Below ? below : above)));
    }
}

std::string PeriodList(const std::vector<int>& years) {
    std::string text;
    for (std::size_t k = 0; k < years.size(); ++k) {
        if (k > 0) {
            text += k + 1 == years.size() ? " and " : ", ";
        }
        text += std::to_string(years[k]) + "-year";
    }
    return text;
}

void CheckSheetFlowRainfall(const NetworkSolution& solution, std::size_t index,
                            std::vector<DesignFinding>& findings) {
    if (index >= solution.overlandTcWithP2.size() || solution.overlandTcWithP2[index].empty()) {
        return;
    }
    const BasinRow& row = solution.overland[index];
    const std::string& computed = solution.overlandTcWithP2[index];
    // Both texts carry the stored four decimals, so a difference smaller than
    // those digits can show is no finding.
    const double difference = LeadingNumber(row.Tc) - LeadingNumber(computed);
    if (!CalculatedForm(row.Tc) || row.Tc == computed ||
        SideOf(kTcRainfallRule, difference) == Side::Within) {
        return;
    }
    findings.push_back(Finding(kTcRainfallRule, row.BasinTag,
                               Named("Overland flow area", row.BasinName) + ": stored Tc " +
                                   row.Tc + " min, but its inputs give " + computed +
                                   " min with the 2-year 24-hour rainfall P2 " +
                                   FormatFixed(solution.rainfallP2, 2) + " in."));
}

// Only a path of more than one overland area: one area's own length is
// SHEET-LENGTH's, and the same number twice would say nothing new. Every new
// element starts on the path, so two lawns lying side by side are added in
// series until the engineer takes one off: the query speaks whether or not
// any element is off the path yet.
void CheckSheetFlowPath(const NetworkSolution& solution, std::vector<DesignFinding>& findings) {
    // In a network each design point's own path is judged; otherwise the
    // one Tc flow path.
    const auto judge = [&](const auto& onPath, const std::string& element, const std::string& path,
                           const char* advice) {
        double length = 0.0;
        int areas = 0;
        for (const BasinRow& row : solution.overland) {
            if (onPath(row.BasinTag)) {
                length += LeadingNumber(row.TravelLength);
                ++areas;
            }
        }
        if (areas > 1 && Above(kSheetFlowPathRule, length)) {
            findings.push_back(Finding(kSheetFlowPathRule, element,
                                       "Sheet flow along " + path + " is " + Number(length) +
                                           " ft (" + std::to_string(areas) +
                                           " overland flow areas), over 300 ft; " + advice));
        }
    };
    if (!solution.layout.network) {
        judge([&](const std::string& tag) { return solution.OnTcPath(tag); }, "",
              "the Tc flow path",
              "areas lying side by side belong off the path, only one of them on it.");
        return;
    }
    // A path holds its areas' tags: the lengths are looked up along it.
    std::map<std::string, double> lengths;
    for (const BasinRow& row : solution.overland) {
        lengths[row.BasinTag] = LeadingNumber(row.TravelLength);
    }
    for (const PointFlow& point : solution.flow.points) {
        double length = 0.0;
        int areas = 0;
        for (const std::string& tag : point.path) {
            if (const auto found = lengths.find(tag); found != lengths.end()) {
                length += found->second;
                ++areas;
            }
        }
        if (areas < 2 || !Above(kSheetFlowPathRule, length)) {
            continue;
        }
        const std::set<std::string> path(point.path.begin(), point.path.end());
        const bool outlet = point.tag == kOutletTag;
        judge([&](const std::string& tag) { return path.contains(tag); },
              outlet ? std::string() : point.tag,
              outlet ? std::string("the Tc flow path")
                     : "the flow path to design point \"" + point.name + "\" (" + point.tag + ")",
              "areas lying side by side drain to the point each on its own, not through one "
              "another.");
    }
}

// One finding per part and point, naming the first period it peaks above the
// point in.
void CheckPartialAreas(const NetworkSolution& solution, std::vector<DesignFinding>& findings) {
    std::map<std::string, std::string> names;
    for (const BasinRow& row : solution.overland) {
        names[row.BasinTag] = Named("Overland flow area", row.BasinName);
    }
    for (const PointFlow& point : solution.flow.points) {
        names[point.tag] = point.tag == kOutletTag
                               ? std::string("the outlet")
                               : Named("design point", point.name) + " (" + point.tag + ")";
    }
    std::set<std::pair<std::string, std::string>> said;
    for (const PartialPeak& peak : solution.flow.partialPeaks) {
        if (!said.insert({peak.pointTag, peak.partTag}).second) {
            continue;
        }
        findings.push_back(
            Finding(kPartialAreaRule, peak.partTag,
                    names[peak.partTag] + " alone peaks at " + FormatFixed(peak.partFlow, 2) +
                        " cfs for the " + std::to_string(peak.years) + "-year period at " +
                        names[peak.pointTag] + ", above its " + FormatFixed(peak.pointFlow, 2) +
                        " cfs for the whole area: design for the larger."));
    }
}

// Each pipe as sized or given: slope, capacity in the first period that
// exceeds it, full-flow velocity against the settings, and no pipe smaller
// than one coming into its upper point.
void CheckPipes(const NetworkSolution& solution, std::vector<DesignFinding>& findings) {
    const DesignSettings& settings = solution.layout.settings;
    std::map<std::string, double> largestIn;  // point -> largest pipe coming in
    for (const PipeFlow& pipe : solution.flow.pipes) {
        largestIn[pipe.to] = std::max(largestIn[pipe.to], pipe.diameter);
    }
    std::map<std::string, double> rims;
    for (const PointRow& point : solution.layout.points) {
        if (StartsWithNumber(point.RimElevation)) {
            rims[point.PointTag] = LeadingNumber(point.RimElevation);
        }
    }
    for (const PipeFlow& pipe : solution.flow.pipes) {
        const std::string name = "Pipe \"" + pipe.name + "\" (" + pipe.tag + ")";
        if (!(pipe.slope > 0.0)) {
            findings.push_back(Finding(kPipeSlopeRule, pipe.tag,
                                       name + ": slope " + Number(pipe.slope) +
                                           " ft/ft; it is taken to run full under pressure."));
        }
        for (std::size_t k = 0; k < pipe.periods.size(); ++k) {
            const double flow = pipe.periods[k].flow;
            if (pipe.fullFlow > 0.0 ? Above(kPipeCapacityRule, flow / pipe.fullFlow) : flow > 0.0) {
                findings.push_back(
                    Finding(kPipeCapacityRule, pipe.tag,
                            name + ": the " + std::to_string(solution.periods[k].years) +
                                "-year flow " + FormatFixed(flow, 2) + " cfs is above the " +
                                FormatFixed(pipe.fullFlow, 2) + " cfs a " + Number(pipe.diameter) +
                                "-in pipe carries full."));
                break;
            }
        }
        if (pipe.slope > 0.0 && AsPrinted(pipe.fullVelocity) < settings.minimumVelocity) {
            findings.push_back(Finding(kPipeVelocityLowRule, pipe.tag,
                                       name + ": full-flow velocity " +
                                           FormatFixed(pipe.fullVelocity, 2) + " ft/s is below " +
                                           Number(settings.minimumVelocity) +
                                           " ft/s; the pipe will not clean itself."));
        }
        if (AsPrinted(pipe.fullVelocity) > settings.maximumVelocity) {
            findings.push_back(Finding(kPipeVelocityHighRule, pipe.tag,
                                       name + ": full-flow velocity " +
                                           FormatFixed(pipe.fullVelocity, 2) + " ft/s is above " +
                                           Number(settings.maximumVelocity) + " ft/s."));
        }
        if (pipe.invertUp && pipe.invertDown) {
            for (const auto& [tag, invert, end] :
                 {std::tuple{pipe.from, *pipe.invertUp, "upper"},
                  std::tuple{pipe.to, *pipe.invertDown, "lower"}}) {
                const auto rim = rims.find(tag);
                if (rim == rims.end()) {
                    continue;
                }
                const double crown = invert + pipe.diameter / 12.0;
                const double cover = rim->second - crown;
                if (AsPrinted(cover) < settings.minimumCover) {
                    findings.push_back(
                        Finding(kPipeCoverRule, pipe.tag,
                                name + ": " + FormatFixed(cover, 2) + " ft of cover at its " + end +
                                    " end (rim " + Number(rim->second) + " ft at " + tag +
                                    ", crown " + FormatFixed(crown, 2) + " ft) is less than the " +
                                    Number(settings.minimumCover) + " ft asked for."));
                }
            }
        }
        const auto in = largestIn.find(pipe.from);
        if (in != largestIn.end() && pipe.diameter < in->second) {
            findings.push_back(Finding(kPipeSizeDownRule, pipe.tag,
                                       name + ": " + Number(pipe.diameter) +
                                           " in is smaller than the " + Number(in->second) +
                                           "-in pipe coming into " + pipe.from + "."));
        }
    }
}

// Judged as the sheet prints elevations, to the hundredth.
double Hundredths(double value) {
    return LeadingNumber(FormatFixed(value, 2));
}

// Each period's grade line: above a rim, within the freeboard of one, above a
// pipe's crown at either end (each pipe once, at the first period).
void CheckGradeLine(const NetworkSolution& solution, std::vector<DesignFinding>& findings) {
    std::map<std::string, std::string> names;
    for (const PointRow& point : solution.layout.points) {
        names[point.PointTag] = "\"" + point.PointName + "\" (" + point.PointTag + ")";
    }
    const double freeboard = solution.layout.settings.freeboard;
    std::set<std::string> surcharged;
    for (const GradePeriod& period : solution.grade.periods) {
        const std::string line =
            "the " + std::to_string(period.years) + "-year hydraulic grade line ";
        for (const GradePipe& pipe : period.pipes) {
            if (pipe.rim) {
                const double hgl = Hundredths(pipe.structureHgl);
                const double rim = Hundredths(*pipe.rim);
                if (hgl > rim) {
                    findings.push_back(
                        Finding(kGradeAboveRimRule, pipe.from,
                                names[pipe.from] + ": " + line + FormatFixed(pipe.structureHgl, 2) +
                                    " ft is above its rim " + FormatFixed(*pipe.rim, 2) +
                                    " ft: water leaves the structure."));
                } else if (rim - hgl < freeboard) {
                    findings.push_back(
                        Finding(kGradeFreeboardRule, pipe.from,
                                names[pipe.from] + ": " + line + FormatFixed(pipe.structureHgl, 2) +
                                    " ft is " + FormatFixed(rim - hgl, 2) + " ft below its rim " +
                                    FormatFixed(*pipe.rim, 2) + " ft, less than the " +
                                    Number(freeboard) + "-ft freeboard."));
                }
            }
            const double d = pipe.diameter / 12.0;
            for (const auto& [hgl, crown, end] :
                 {std::tuple{pipe.hglUp, pipe.invertUp + d, "upper"},
                  std::tuple{pipe.hglDown, pipe.invertDown + d, "lower"}}) {
                if (Hundredths(hgl) > Hundredths(crown) && !surcharged.contains(pipe.tag)) {
                    surcharged.insert(pipe.tag);
                    findings.push_back(Finding(kPipeSurchargeRule, pipe.tag,
                                               "Pipe \"" + pipe.name + "\" (" + pipe.tag +
                                                   "): " + line + FormatFixed(hgl, 2) +
                                                   " ft is above its crown " +
                                                   FormatFixed(crown, 2) + " ft at its " + end +
                                                   " end: it runs under pressure."));
                }
            }
        }
    }
}

void CheckNetwork(const NetworkSolution& solution, std::vector<DesignFinding>& findings) {
    CheckSheetFlowPath(solution, findings);
    CheckPartialAreas(solution, findings);
    CheckPipes(solution, findings);
    CheckGradeLine(solution, findings);
    CheckSides(
        kTotalTcRule, "", solution.TotalTc,
        [&] { return "Total Tc " + Number(solution.TotalTc) + " min is "; },
        "under 5 minutes: the 5-minute intensity is used.",
        "over 24 hours: the 24-hour intensity is used.", findings);

    // The product the solver caps, taken with C as the finding prints it:
    // two areas of C 0.8 weigh to 0.8000000000000002, which reads 0.8000 and
    // times 1.25 is 1, not over it.
    const double weightedC = LeadingNumber(FormatFixed(solution.WeightedC, 4));
    std::vector<int> capped;
    for (const PeriodResult& period : solution.periods) {
        const double factor = FrequencyFactor(static_cast<std::int16_t>(period.years));
        if (Above(kCappedCoefficientRule, weightedC * factor)) {
            capped.push_back(period.years);
        }
    }
    if (!capped.empty()) {
        findings.push_back(Finding(kCappedCoefficientRule, "",
                                   "Weighted C " + FormatFixed(solution.WeightedC, 4) +
                                       " times Cf is over 1 and is capped at 1 for the " +
                                       PeriodList(capped) +
                                       (capped.size() == 1 ? " period." : " periods.")));
    }

    if (Above(kTotalAreaRule, solution.TotalArea)) {
        findings.push_back(
            Finding(kTotalAreaRule, "",
                    "Total area " + Number(solution.TotalArea) + " acres is over 200 acres."));
    }
    if (solution.overland.empty()) {
        findings.push_back(Finding(kNoAreaRule, "",
                                   "The network has no overland flow area: every peak flow is 0."));
    } else if (AsPrinted(solution.TotalArea) <= kNoAreaRule.low) {
        findings.push_back(Finding(kNoAreaRule, "",
                                   "The overland flow areas add up to " +
                                       Number(solution.TotalArea) +
                                       " acres: every peak flow is 0."));
    }
    if (solution.detention && Above(kDetentionAreaRule, solution.TotalArea)) {
        findings.push_back(Finding(kDetentionAreaRule, "",
                                   "Detention storage is sized for " + Number(solution.TotalArea) +
                                       " acres, over 200 acres: route the pond with a "
                                       "hydrograph method instead."));
    }
}

}  // namespace

std::vector<DesignFinding> CheckElement(const BasinRow& row) {
    std::vector<DesignFinding> findings;
    const auto name = [&] { return Named("Overland flow area", row.BasinName); };
    const double length = LeadingNumber(row.TravelLength);
    if (Above(kSheetFlowLengthRule, length)) {
        findings.push_back(
            Finding(kSheetFlowLengthRule, row.BasinTag,
                    name() + ": sheet flow length " + Number(length) + " ft is over 300 ft."));
    }
    CheckRange(
        kSheetFlowNRule, row.BasinTag, [&] { return name() + ": sheet-flow Manning's n"; },
        LeadingNumber(row.BasinN), "", findings);
    return findings;
}

std::vector<DesignFinding> CheckElement(const SurfaceRow& row) {
    std::vector<DesignFinding> findings;
    CheckRange(
        kShallowSlopeRule, row.SurfTag,
        [&] { return Named("Shallow concentrated flow", row.SurfName) + ": slope"; },
        LeadingNumber(row.SurfSlope), " ft/ft", findings);
    return findings;
}

std::vector<DesignFinding> CheckElement(const ChannelRow& row) {
    std::vector<DesignFinding> findings;
    const double velocity = LeadingNumber(row.ChannelVelocity);
    CheckSides(
        kChannelVelocityRule, row.ChannelTag, velocity,
        [&] {
            return Named("Channel", row.ChannelName) + ": velocity " + Number(velocity) +
                   " ft/s is ";
        },
        "below 0.5 ft/s.", "above 20 ft/s.", findings);
    return findings;
}

std::vector<DesignFinding> CheckDesign(const NetworkSolution& solution) {
    std::vector<DesignFinding> findings;
    const auto add = [&](const std::vector<DesignFinding>& more) {
        findings.insert(findings.end(), more.begin(), more.end());
    };
    for (std::size_t k = 0; k < solution.overland.size(); ++k) {
        add(CheckElement(solution.overland[k]));
        CheckSheetFlowRainfall(solution, k, findings);
    }
    for (const SurfaceRow& row : solution.shallow) {
        add(CheckElement(row));
    }
    for (const ChannelRow& row : solution.channel) {
        add(CheckElement(row));
    }
    CheckNetwork(solution, findings);
    return findings;
}

}  // namespace torrenta
