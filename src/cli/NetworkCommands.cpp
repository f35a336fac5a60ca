#include "NetworkCommands.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "ChangeNote.h"
#include "Errors.h"
#include "ProjectCommands.h"
#include "ReturnPeriods.h"
#include "editing/NetworkEditing.h"
#include "solver/NetworkSolution.h"
#include "store/DrainageStore.h"
#include "store/ElementRows.h"
#include "store/PipeStore.h"
#include "text/NameText.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

void SayConversion(const std::string& sentence, std::ostream& err) {
    if (!sentence.empty()) {
        err << "torrenta-cli: " << sentence << "\n";
    }
}

// The kind whose table holds a live element of this tag.
std::optional<ElementKind> KindOf(const std::string& projectPath, const std::string& tag) {
    for (const BasinRow& row : ReadLiveElements<BasinRow>(projectPath)) {
        if (row.BasinTag == tag) {
            return ElementKind::Overland;
        }
    }
    for (const SurfaceRow& row : ReadLiveElements<SurfaceRow>(projectPath)) {
        if (row.SurfTag == tag) {
            return ElementKind::Shallow;
        }
    }
    for (const ChannelRow& row : ReadLiveElements<ChannelRow>(projectPath)) {
        if (row.ChannelTag == tag) {
            return ElementKind::Channel;
        }
    }
    return std::nullopt;
}

}  // namespace

void RequireDrainTarget(const std::string& projectPath, const std::string& to) {
    if (to != kOutletTag && !ReadDrainageLayout(projectPath).drainsTo.contains(to)) {
        throw InputError("The project has no element or design point " + to + " to drain to.");
    }
}

void RunDrain(const std::string& projectPath, const std::string& tag, const std::string& to,
              std::ostream& err) {
    RequireSetUpProject(projectPath);
    const NetworkChange change = SetDrainsTo(projectPath, tag, to);
    NoteChange("made " + tag + " drain to " + to + " in \"" + projectPath + "\"");
    SayConversion(change.conversion, err);
}

void RunAddPoint(const std::string& projectPath, const std::string& name, const std::string& kind,
                 const std::string& drainsTo, std::ostream& out, std::ostream& err) {
    RequireSetUpProject(projectPath);
    const NetworkChange change = AddDesignPoint(projectPath, name, kind, drainsTo, -1, -1);
    NoteChange("added " + change.tag + " to \"" + projectPath + "\"");
    out << change.tag << "\n";
    SayConversion(change.conversion, err);
}

void RunDelete(const std::string& projectPath, const std::string& tag, std::ostream& out) {
    RequireSetUpProject(projectPath);
    const DrainageLayout layout = ReadDrainageLayout(projectPath);
    const auto link = layout.drainsTo.find(tag);
    const std::string downstream =
        link == layout.drainsTo.end() ? std::string(kOutletTag) : link->second;
    std::vector<std::string> rerouted;
    const auto pipes = ReadPipes(projectPath);
    if (std::any_of(pipes.begin(), pipes.end(),
                    [&](const PipeRow& pipe) { return pipe.PipeTag == tag; })) {
        DeletePipe(projectPath, tag);
        NoteChange("deleted " + tag + " from \"" + projectPath + "\"");
        return;
    }
    if (const auto kind = KindOf(projectPath, tag)) {
        rerouted = SoftDeleteElement(projectPath, *kind, tag);
    } else {
        rerouted = DeleteDesignPoint(projectPath, tag);
    }
    NoteChange("deleted " + tag + " from \"" + projectPath + "\"");
    if (const std::string sentence = ReroutedSentence(tag, rerouted, downstream);
        !sentence.empty()) {
        out << sentence << "\n";
    }
}

void RunListPoints(const std::string& projectPath, std::ostream& out) {
    for (const PointRow& point : ReadDrainageLinks(projectPath).points) {
        out << "point\t" << point.PointTag << "\t" << ControlsAsSpaces(point.PointName) << "\t"
            << point.PointKind << "\t" << point.DrainsTo << "\n";
    }
    for (const PipeRow& pipe : ReadPipes(projectPath)) {
        out << "pipe\t" << pipe.PipeTag << "\t" << ControlsAsSpaces(pipe.PipeName) << "\t"
            << pipe.FromPoint << "\t" << pipe.ToPoint << "\t" << pipe.Diameter << "\n";
    }
}

void RunAddPipe(const std::string& projectPath, const PipeRow& row, std::ostream& out) {
    RequireSetUpProject(projectPath);
    const NetworkChange change = AddPipe(projectPath, row);
    NoteChange("added " + change.tag + " to \"" + projectPath + "\"");
    out << change.tag << "\n";
}

void RunSetDesign(const std::string& projectPath, const DesignChanges& changes) {
    RequireSetUpProject(projectPath);
    DesignSettings settings = ReadDesignSettings(projectPath);
    const auto positive = [](const std::optional<double>& value, const char* option) {
        if (value && !(*value > 0.0 && std::isfinite(*value))) {
            throw InputError(std::string(option) + " must be a number above 0.");
        }
    };
    positive(changes.minimumDiameter, "--min-diameter");
    positive(changes.maximumVelocity, "--max-velocity");
    if (changes.minimumDuration && !(*changes.minimumDuration >= 0.0)) {
        throw InputError("--min-duration must be 0 or more minutes.");
    }
    if (changes.period && std::find(kReturnPeriods.begin(), kReturnPeriods.end(),
                                    *changes.period) == kReturnPeriods.end()) {
        throw InputError("--period must be one of 1, 2, 5, 10, 25, 50 and 100.");
    }
    if (changes.sizes) {
        if (changes.sizes->empty() ||
            std::any_of(changes.sizes->begin(), changes.sizes->end(),
                        [](double size) { return !(size > 0.0 && std::isfinite(size)); })) {
            throw InputError("--sizes must list diameters above 0 (in), separated by commas.");
        }
        settings.sizes = *changes.sizes;
    }
    settings.designYears = changes.period.value_or(settings.designYears);
    settings.minimumDiameter = changes.minimumDiameter.value_or(settings.minimumDiameter);
    settings.minimumDuration = changes.minimumDuration.value_or(settings.minimumDuration);
    settings.minimumVelocity = changes.minimumVelocity.value_or(settings.minimumVelocity);
    settings.maximumVelocity = changes.maximumVelocity.value_or(settings.maximumVelocity);
    settings.minimumCover = changes.minimumCover.value_or(settings.minimumCover);
    SaveDesignSettings(projectPath, settings);
    NoteChange("saved the design settings of \"" + projectPath + "\"");
}

void RunNetwork(const std::string& appFolder, const std::string& projectPath, std::ostream& out) {
    const NodeRow node = RequireSetUpProject(projectPath);
    const NetworkSolution solution = SolveProjectReadOnly(
        projectPath, appFolder, node.IntensityTable, SolveNetwork(projectPath));
    std::map<std::string, std::string> names;
    for (const BasinRow& row : solution.overland) {
        names[row.BasinTag] = row.BasinName;
    }
    for (const SurfaceRow& row : solution.shallow) {
        names[row.SurfTag] = row.SurfName;
    }
    for (const ChannelRow& row : solution.channel) {
        names[row.ChannelTag] = row.ChannelName;
    }
    for (const PointRow& point : solution.layout.points) {
        names[point.PointTag] = point.PointName;
    }
    for (const PipeRow& pipe : solution.layout.pipes) {
        names[pipe.PipeTag] = pipe.PipeName;
    }
    std::map<std::string, std::vector<const FlowStep*>> upstream;
    std::map<std::string, const FlowStep*> steps;
    for (const FlowStep& step : solution.flow.order) {
        upstream[step.drainsTo].push_back(&step);
        steps[step.tag] = &step;
    }
    std::map<std::string, double> pointTc;
    for (const PointFlow& point : solution.flow.points) {
        pointTc[point.tag] = point.tc;
    }
    out << kOutletTag << "\t" << ControlsAsSpaces(solution.nodeName) << "\t0\t"
        << GeneralNumberText(solution.flow.Outlet().tc) << "\n";
    const std::function<void(const std::string&, int)> print = [&](const std::string& tag,
                                                                   int depth) {
        for (const FlowStep* step : upstream[tag]) {
            const auto tc = pointTc.find(step->tag);
            out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << step->tag << "\t"
                << ControlsAsSpaces(names[step->tag]) << "\t" << GeneralNumberText(step->travelTime)
                << "\t" << GeneralNumberText(tc != pointTc.end() ? tc->second : step->arrival)
                << "\n";
            print(step->tag, depth + 1);
        }
    };
    print(std::string(kOutletTag), 1);
}

}  // namespace torrenta
