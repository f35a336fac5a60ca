#pragma once

#include <optional>
#include <string>
#include <vector>

#include "network/DrainageNetwork.h"

namespace torrenta {

// Changes to where things drain. Each runs in one write transaction and
// refuses with an InputError naming the ends before anything is written.

// Live elements of each kind a project may hold: 20 until it is a network,
// 200 in one, and 200 design points.
inline constexpr std::size_t kMaxNetworkElements = 200;
inline constexpr std::size_t kMaxPoints = 200;

// Where a project's elements drain now (the chain for one that is not a
// network), with its design points.
DrainageLayout ReadDrainageLayout(const std::string& projectPath);

// Makes the project a network, writing the chain its flow path implies, so no
// number changes. Returns what was written, in a sentence ("" when the project
// already is one).
std::string ConvertToNetwork(const std::string& projectPath);

struct NetworkChange {
    std::string tag;         // the new point's tag, or the item changed
    std::string conversion;  // the conversion's sentence, when this change made the network
};

// Adds a design point draining to `drainsTo` (a tag or "Outlet") and returns
// its tag; the first point makes the project a network.
NetworkChange AddDesignPoint(const std::string& projectPath, const std::string& name,
                             const std::string& kind, const std::string& drainsTo, int x, int y);

// Sets where an element or a point drains; the first link makes the project a
// network.
NetworkChange SetDrainsTo(const std::string& projectPath, const std::string& tag,
                          const std::string& to);

// What `tag` may drain to without closing a loop, the outlet first, then the
// elements and points in the layout's order (neither itself, nor anything
// upstream of it, nor a pipe). An empty tag (a new item) may drain anywhere.
std::vector<std::string> DrainTargets(const DrainageLayout& layout, const std::string& tag);

// Deletes a design point; what drained into it now drains where it drained.
// Returns the tags re-routed, which RestoreDesignPoint puts back.
std::vector<std::string> DeleteDesignPoint(const std::string& projectPath, const std::string& tag);
void RestoreDesignPoint(const std::string& projectPath, const std::string& tag,
                        const std::vector<std::string>& rerouted);

// Changes to a design point's fields; each one not given is kept. An empty
// rim or K clears it (K then follows the point's kind).
struct PointEdit {
    std::optional<std::string> name;
    std::optional<std::string> kind;
    std::optional<std::string> rim;
    std::optional<std::string> lossCoefficient;
};
void EditDesignPoint(const std::string& projectPath, const std::string& tag, const PointEdit& edit);

// Adds a pipe from a design point down to a point or the outlet: the way that
// point drains from now on. `row` holds the name, the length, the slope or
// both inverts, the diameter (none: sized) and n (none: 0.013). InputError,
// before anything is written, when an end is not a point of the project, the
// upper point has a pipe already, the pipe would close a loop, or a number is
// missing or not a number.
NetworkChange AddPipe(const std::string& projectPath, PipeRow row);
void DeletePipe(const std::string& projectPath, const std::string& tag);
// Undo of DeletePipe; InputError when its upper point has found another way
// out through a pipe meanwhile.
void RestorePipe(const std::string& projectPath, const std::string& tag);

// Changes to a pipe's fields; each one not given is kept. Both inverts given
// lay the pipe by them (its slope follows); a slope given for a pipe laid by
// its inverts is refused unless `clearInverts`, so no typed elevation is
// lost unasked. The changed pipe is checked as a new one would be.
struct PipeEdit {
    std::optional<std::string> name;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::string> length;
    std::optional<std::string> slope;
    std::optional<std::string> invertUp;
    std::optional<std::string> invertDown;
    std::optional<std::string> diameter;  // "" sizes it
    std::optional<std::string> n;
    bool clearInverts = false;
};
void EditPipe(const std::string& projectPath, const std::string& tag, const PipeEdit& edit);

// Stores the design settings (the row is made on first use).
void SaveDesignSettings(const std::string& projectPath, const DesignSettings& settings);

// The sentence saying where things now drain after a deletion ("" for none).
std::string ReroutedSentence(const std::string& deleted, const std::vector<std::string>& rerouted,
                             const std::string& downstream);

}  // namespace torrenta
