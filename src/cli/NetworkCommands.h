#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "store/PipeStore.h"

namespace torrenta {

// The drainage network from the command line. Each refusal (an unknown tag, a
// loop, the outlet as the upstream end) is an InputError and leaves the file
// as it was; the sentence of a conversion goes to `err`, so `out` keeps to
// what scripts read.

// InputError unless `to` names an element or a point of the project, or the
// outlet: checked before an element is added to drain there.
void RequireDrainTarget(const std::string& projectPath, const std::string& to);

// Sets where TAG drains.
void RunDrain(const std::string& projectPath, const std::string& tag, const std::string& to,
              std::ostream& err);

// Adds a design point and prints its tag.
void RunAddPoint(const std::string& projectPath, const std::string& name, const std::string& kind,
                 const std::string& drainsTo, std::ostream& out, std::ostream& err);

// Deletes an element or a design point; says what now drains elsewhere.
void RunDelete(const std::string& projectPath, const std::string& tag, std::ostream& out);

// The design points, one line each: "point", tag, name, kind, drains to; then
// the pipes: "pipe", tag, name, from, to, diameter (in; "" when sized).
void RunListPoints(const std::string& projectPath, std::ostream& out);

// Adds a pipe and prints its tag.
void RunAddPipe(const std::string& projectPath, const PipeRow& row, std::ostream& out);

// Changes the given design settings, keeping the others.
struct DesignChanges {
    std::optional<int> period;
    std::optional<double> minimumDiameter;
    std::optional<std::vector<double>> sizes;
    std::optional<double> minimumDuration;
    std::optional<double> minimumVelocity;
    std::optional<double> maximumVelocity;
    std::optional<double> minimumCover;
};
void RunSetDesign(const std::string& projectPath, const DesignChanges& changes);

// The network as a tree from the outlet upward, one line per element and point
// (indented two spaces a level): tag, name, travel time and the time at its
// downstream end (for a point, its Tc).
void RunNetwork(const std::string& appFolder, const std::string& projectPath, std::ostream& out);

}  // namespace torrenta
