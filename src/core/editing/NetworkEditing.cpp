#include "editing/NetworkEditing.h"

#include <algorithm>
#include <cmath>

#include "Errors.h"
#include "store/Connection.h"
#include "store/DrainageStore.h"
#include "store/PipeStore.h"
#include "store/TcPath.h"
#include "text/NameText.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

// Where a new point goes when nothing says: a row of eight under the outlet
// node's usual place, one icon apart.
constexpr int kPointLeft = 720;
constexpr int kPointTop = 7200;
constexpr int kPointStep = 1200;
constexpr int kPointsPerRow = 8;

struct Elements {
    std::vector<BasinRow> overland;
    std::vector<SurfaceRow> shallow;
    std::vector<ChannelRow> channel;
    std::set<std::string> offTcPath;
};

Elements ReadElements(const std::string& projectPath) {
    return {ReadLiveElements<BasinRow>(projectPath), ReadLiveElements<SurfaceRow>(projectPath),
            ReadLiveElements<ChannelRow>(projectPath), ReadOffTcPath(projectPath)};
}

std::string Downstream(const std::string& to) {
    return to == kOutletTag ? std::string("the outlet") : to;
}

// What the conversion wrote, in words: the chain, the elements set beside it,
// and an area off the old path whose own time is longer than the whole chain
// (it now sets the time of concentration, as it should).
std::string ConversionSentence(const Elements& elements,
                               const std::map<std::string, std::string>& chain) {
    std::vector<std::string> links;
    std::vector<std::string> beside;
    double chainTime = 0.0;
    const auto note = [&](const std::string& tag, double time) {
        if (elements.offTcPath.contains(tag)) {
            beside.push_back(tag);
            return;
        }
        chainTime += time;
        links.push_back(tag + " drains to " + Downstream(chain.at(tag)));
    };
    for (const BasinRow& row : elements.overland) {
        note(row.BasinTag, LeadingNumber(row.Tc));
    }
    for (const SurfaceRow& row : elements.shallow) {
        note(row.SurfTag, LeadingNumber(row.SurfTc));
    }
    for (const ChannelRow& row : elements.channel) {
        note(row.ChannelTag, LeadingNumber(row.ChannelTc));
    }
    std::string sentence = "The project is now a drainage network";
    if (!links.empty()) {
        sentence += ", its flow path written out as links: ";
        for (std::size_t i = 0; i < links.size(); ++i) {
            sentence += (i > 0 ? ", " : "") + links[i];
        }
    }
    if (!beside.empty()) {
        sentence += "; off the path, draining to the outlet:";
        for (const std::string& tag : beside) {
            sentence += " " + tag;
        }
    }
    sentence += ".";
    for (const BasinRow& row : elements.overland) {
        if (elements.offTcPath.contains(row.BasinTag) && LeadingNumber(row.Tc) > chainTime) {
            sentence += " Overland flow area \"" + row.BasinName + "\" (" + row.BasinTag +
                        ") takes " + GeneralNumberText(LeadingNumber(row.Tc)) +
                        " min on its own, longer than the " + GeneralNumberText(chainTime) +
                        " min of the old flow path: it now sets the time of concentration.";
        }
    }
    return sentence;
}

// Inside the caller's write transaction.
std::string Convert(const std::string& projectPath) {
    if (ReadDrainageLinks(projectPath).network) {
        return "";
    }
    const Elements elements = ReadElements(projectPath);
    const std::map<std::string, std::string> chain =
        ImpliedChain(elements.overland, elements.shallow, elements.channel, elements.offTcPath);
    WriteNetworkTables(projectPath, chain);
    return ConversionSentence(elements, chain);
}

bool IsPoint(const DrainageLayout& layout, const std::string& tag) {
    return std::any_of(layout.points.begin(), layout.points.end(),
                       [&](const PointRow& point) { return point.PointTag == tag; });
}

}  // namespace

DrainageLayout ReadDrainageLayout(const std::string& projectPath) {
    const Elements elements = ReadElements(projectPath);
    DrainageLayout layout = LayoutOf(ReadDrainageLinks(projectPath), elements.overland,
                                     elements.shallow, elements.channel, elements.offTcPath);
    if (layout.network) {
        AddPipes(layout, ReadPipes(projectPath), ReadDesignSettings(projectPath));
    }
    return layout;
}

std::string ConvertToNetwork(const std::string& projectPath) {
    WriteTransaction transaction(projectPath, "Cannot make the project a drainage network");
    const std::string sentence = Convert(projectPath);
    transaction.Commit();
    return sentence;
}

NetworkChange AddDesignPoint(const std::string& projectPath, const std::string& name,
                             const std::string& kind, const std::string& drainsTo, int x, int y) {
    if (name.empty()) {
        throw InputError("A design point needs a name.");
    }
    RequireOneLineText(name, "The name");
    if (kind != kInletKind && kind != kJunctionKind) {
        throw InputError("A design point is an inlet or a junction, not \"" + kind + "\".");
    }
    WriteTransaction transaction(projectPath, "Cannot add the design point");
    const DrainageLayout layout = ReadDrainageLayout(projectPath);
    if (layout.points.size() >= kMaxPoints) {
        throw InputError("Maximum " + std::to_string(kMaxPoints) + " design points allowed");
    }
    if (drainsTo != kOutletTag && !layout.drainsTo.contains(drainsTo)) {
        throw InputError("The project has no element or design point " + drainsTo +
                         " for the new design point to drain to.");
    }
    NetworkChange change;
    change.conversion = Convert(projectPath);
    const int slot = static_cast<int>(layout.points.size());
    PointRow row;
    row.PointName = name;
    row.PointKind = kind;
    row.PointX = std::to_string(x >= 0 ? x : kPointLeft + (slot % kPointsPerRow) * kPointStep);
    row.PointY = std::to_string(y >= 0 ? y : kPointTop + (slot / kPointsPerRow) * kPointStep);
    row.DrainsTo = drainsTo;
    change.tag = InsertPointRow(projectPath, row);
    transaction.Commit();
    return change;
}

NetworkChange SetDrainsTo(const std::string& projectPath, const std::string& tag,
                          const std::string& to) {
    WriteTransaction transaction(projectPath, "Cannot change where it drains");
    const DrainageLayout layout = ReadDrainageLayout(projectPath);
    for (const PipeRow& pipe : layout.pipes) {
        if (pipe.FromPoint == tag) {
            throw InputError(tag + " drains through " + pipe.PipeTag +
                             "; delete the pipe to make it drain elsewhere.");
        }
        if (pipe.PipeTag == tag || pipe.PipeTag == to) {
            throw InputError(
                "A pipe runs from one design point to the next: nothing drains "
                "into " +
                pipe.PipeTag + " but its upper point, and it drains to its lower one.");
        }
    }
    RequireLink(layout.drainsTo, tag, to);
    NetworkChange change;
    change.tag = tag;
    change.conversion = Convert(projectPath);
    WriteDrainsTo(projectPath, tag, to, IsPoint(layout, tag));
    transaction.Commit();
    return change;
}

std::vector<std::string> DrainTargets(const DrainageLayout& layout, const std::string& tag) {
    std::set<std::string> pipes;
    for (const PipeRow& pipe : layout.pipes) {
        pipes.insert(pipe.PipeTag);
    }
    // Whatever reaches `tag` on its way down is upstream of it.
    const auto upstream = [&](const std::string& candidate) {
        std::string at = candidate;
        for (std::size_t steps = 0; steps <= layout.drainsTo.size() && at != kOutletTag; ++steps) {
            if (at == tag) {
                return true;
            }
            const auto next = layout.drainsTo.find(at);
            if (next == layout.drainsTo.end()) {
                return false;
            }
            at = next->second;
        }
        return false;
    };
    std::vector<std::string> targets = {std::string(kOutletTag)};
    const auto consider = [&](const std::string& candidate) {
        if (!pipes.contains(candidate) && (tag.empty() || !upstream(candidate))) {
            targets.push_back(candidate);
        }
    };
    // The elements by tag, then the points as added.
    for (const auto& link : layout.drainsTo) {
        if (!IsPoint(layout, link.first)) {
            consider(link.first);
        }
    }
    for (const PointRow& point : layout.points) {
        consider(point.PointTag);
    }
    return targets;
}

std::vector<std::string> DeleteDesignPoint(const std::string& projectPath, const std::string& tag) {
    WriteTransaction transaction(projectPath, "Cannot delete the design point");
    const DrainageLayout layout = ReadDrainageLayout(projectPath);
    if (!IsPoint(layout, tag)) {
        throw InputError("The project has no design point " + tag + ".");
    }
    for (const PipeRow& pipe : layout.pipes) {
        if (pipe.FromPoint == tag || pipe.ToPoint == tag) {
            throw InputError(tag + " is an end of " + pipe.PipeTag + ": delete its pipes first.");
        }
    }
    std::vector<std::string> rerouted = RerouteAround(projectPath, tag);
    SetPointDeleted(projectPath, tag, true);
    transaction.Commit();
    return rerouted;
}

void RestoreDesignPoint(const std::string& projectPath, const std::string& tag,
                        const std::vector<std::string>& rerouted) {
    WriteTransaction transaction(projectPath, "Cannot restore the design point");
    SetPointDeleted(projectPath, tag, false);
    const DrainageLayout layout = ReadDrainageLayout(projectPath);
    for (const std::string& item : rerouted) {
        if (layout.drainsTo.contains(item)) {
            WriteDrainsTo(projectPath, item, tag, IsPoint(layout, item));
        }
    }
    transaction.Commit();
}

namespace {

// The fields of a pipe, as a new one or a changed one must have them; n
// defaults to concrete's 0.013.
void RequirePipeFields(PipeRow& row) {
    const std::string name = row.PipeName.empty() ? std::string("The pipe") : row.PipeName;
    RequireOneLineText(row.PipeName, "The name");
    const auto number = [&](const std::string& text, const char* what, bool positive) {
        if (!StartsWithNumber(text) || !std::isfinite(LeadingNumber(text)) ||
            (positive && !(LeadingNumber(text) > 0.0))) {
            throw InputError(name + ": the " + what + " must be a number" +
                             (positive ? " above 0." : "."));
        }
    };
    number(row.PipeLength, "length", true);
    if (row.PipeSlope.empty()) {
        if (row.InvertUp.empty() || row.InvertDown.empty()) {
            throw InputError(name + " needs its slope or both its inverts.");
        }
        number(row.InvertUp, "upstream invert", false);
        number(row.InvertDown, "downstream invert", false);
    } else {
        number(row.PipeSlope, "slope", false);
    }
    if (!row.Diameter.empty()) {
        number(row.Diameter, "diameter", true);
    }
    if (row.PipeN.empty()) {
        row.PipeN = "0.013";
    }
    number(row.PipeN, "Manning's n", true);
}

// A pipe's ends in `layout`, `except` the pipe being changed: from a point
// with no other way out, to a point or the outlet, closing no loop.
void RequirePipeEnds(const DrainageLayout& layout, const PipeRow& row, const std::string& except) {
    if (!IsPoint(layout, row.FromPoint)) {
        throw InputError("A pipe starts at a design point; " + row.FromPoint +
                         " is not one of the project's.");
    }
    if (row.ToPoint != kOutletTag && !IsPoint(layout, row.ToPoint)) {
        throw InputError("A pipe ends at a design point or the outlet; " + row.ToPoint +
                         " is neither.");
    }
    std::map<std::string, std::string> drainsTo = layout.drainsTo;
    for (const PipeRow& pipe : layout.pipes) {
        if (pipe.PipeTag == except) {
            // Without it, its upper point drains straight to its lower one.
            drainsTo.erase(pipe.PipeTag);
            drainsTo[pipe.FromPoint] = pipe.ToPoint;
        } else if (pipe.FromPoint == row.FromPoint) {
            throw InputError(row.FromPoint + " drains through " + pipe.PipeTag +
                             " already: a point has one way out.");
        }
    }
    RequireLink(drainsTo, row.FromPoint, row.ToPoint);
}

}  // namespace

void EditDesignPoint(const std::string& projectPath, const std::string& tag,
                     const PointEdit& edit) {
    if (edit.name) {
        if (edit.name->empty()) {
            throw InputError("A design point needs a name.");
        }
        RequireOneLineText(*edit.name, "The name");
    }
    if (edit.kind && *edit.kind != kInletKind && *edit.kind != kJunctionKind) {
        throw InputError("A design point is an inlet or a junction, not \"" + *edit.kind + "\".");
    }
    const auto number = [](const std::optional<std::string>& text, const char* what,
                           bool notNegative) {
        if (!text || text->empty()) {
            return;
        }
        const double value = LeadingNumber(*text);
        if (!StartsWithNumber(*text) || !std::isfinite(value) || (notNegative && value < 0.0)) {
            throw InputError(std::string("The ") + what + " must be a number" +
                             (notNegative ? " of 0 or more." : "."));
        }
    };
    number(edit.rim, "rim elevation", false);
    number(edit.lossCoefficient, "loss coefficient K", true);
    WriteTransaction transaction(projectPath, "Cannot change the design point");
    const DrainageLayout layout = ReadDrainageLayout(projectPath);
    const auto found = std::find_if(layout.points.begin(), layout.points.end(),
                                    [&](const PointRow& point) { return point.PointTag == tag; });
    if (found == layout.points.end()) {
        throw InputError("The project has no design point " + tag + ".");
    }
    PointRow row = *found;
    row.PointName = edit.name.value_or(row.PointName);
    row.PointKind = edit.kind.value_or(row.PointKind);
    row.RimElevation = edit.rim.value_or(row.RimElevation);
    row.LossCoefficient = edit.lossCoefficient.value_or(row.LossCoefficient);
    WritePointFields(projectPath, row);
    transaction.Commit();
}

NetworkChange AddPipe(const std::string& projectPath, PipeRow row) {
    RequirePipeFields(row);
    WriteTransaction transaction(projectPath, "Cannot add the pipe");
    const DrainageLayout layout = ReadDrainageLayout(projectPath);
    RequirePipeEnds(layout, row, "");
    WriteDrainsTo(projectPath, row.FromPoint, row.ToPoint, true);
    NetworkChange change;
    change.tag = InsertPipeRow(projectPath, row);
    transaction.Commit();
    return change;
}

void EditPipe(const std::string& projectPath, const std::string& tag, const PipeEdit& edit) {
    WriteTransaction transaction(projectPath, "Cannot change the pipe");
    const DrainageLayout layout = ReadDrainageLayout(projectPath);
    const auto found = std::find_if(layout.pipes.begin(), layout.pipes.end(),
                                    [&](const PipeRow& pipe) { return pipe.PipeTag == tag; });
    if (found == layout.pipes.end()) {
        throw InputError("The project has no pipe " + tag + ".");
    }
    const PipeRow before = *found;
    PipeRow row = before;
    row.PipeName = edit.name.value_or(row.PipeName);
    row.FromPoint = edit.from.value_or(row.FromPoint);
    row.ToPoint = edit.to.value_or(row.ToPoint);
    row.PipeLength = edit.length.value_or(row.PipeLength);
    row.Diameter = edit.diameter.value_or(row.Diameter);
    row.PipeN = edit.n.value_or(row.PipeN);
    const bool laidByInverts = before.PipeSlope.empty();
    if (edit.invertUp || edit.invertDown) {
        if (!laidByInverts && !(edit.invertUp && edit.invertDown)) {
            throw InputError(tag + " is laid by its slope: give both its inverts.");
        }
        row.InvertUp = edit.invertUp.value_or(row.InvertUp);
        row.InvertDown = edit.invertDown.value_or(row.InvertDown);
        row.PipeSlope.clear();
    } else if (edit.slope) {
        if (laidByInverts && !edit.clearInverts) {
            throw InputError(tag + " is laid by its inverts " + before.InvertUp + " and " +
                             before.InvertDown +
                             " ft: change them to change its slope, or clear them to lay it by "
                             "a slope alone.");
        }
        row.PipeSlope = *edit.slope;
        row.InvertUp.clear();
        row.InvertDown.clear();
    } else if (edit.clearInverts) {
        throw InputError(tag + ": a pipe whose inverts are cleared needs its slope.");
    }
    RequirePipeFields(row);
    RequirePipeEnds(layout, row, tag);
    if (row.FromPoint != before.FromPoint || row.ToPoint != before.ToPoint) {
        WriteDrainsTo(projectPath, row.FromPoint, row.ToPoint, true);
    }
    WritePipeRow(projectPath, row);
    transaction.Commit();
}

void DeletePipe(const std::string& projectPath, const std::string& tag) {
    WriteTransaction transaction(projectPath, "Cannot delete the pipe");
    if (!SetPipeDeleted(projectPath, tag)) {
        throw InputError("The project has no pipe " + tag + ".");
    }
    transaction.Commit();
}

void RestorePipe(const std::string& projectPath, const std::string& tag) {
    WriteTransaction transaction(projectPath, "Cannot restore the pipe");
    const DrainageLayout layout = ReadDrainageLayout(projectPath);
    const std::vector<PipeRow> all = ReadPipes(projectPath, true);
    const auto pipe = std::find_if(all.begin(), all.end(),
                                   [&](const PipeRow& row) { return row.PipeTag == tag; });
    if (pipe == all.end()) {
        throw InputError("The project has no pipe " + tag + ".");
    }
    RequirePipeEnds(layout, *pipe, "");
    WriteDrainsTo(projectPath, pipe->FromPoint, pipe->ToPoint, true);
    SetPipeDeleted(projectPath, tag, false);
    transaction.Commit();
}

void SaveDesignSettings(const std::string& projectPath, const DesignSettings& settings) {
    WriteTransaction transaction(projectPath, "Cannot save the design settings");
    WriteDesignSettings(projectPath, settings);
    transaction.Commit();
}

std::string ReroutedSentence(const std::string& deleted, const std::vector<std::string>& rerouted,
                             const std::string& downstream) {
    if (rerouted.empty()) {
        return "";
    }
    std::string sentence =
        "What drained into " + deleted + " now drains to " + Downstream(downstream) + ":";
    for (const std::string& tag : rerouted) {
        sentence += " " + tag;
    }
    return sentence + ".";
}

}  // namespace torrenta
