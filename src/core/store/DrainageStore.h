#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace SQLite {
class Database;
}

namespace torrenta {

// Where each element and design point drains. A project becomes a drainage
// network with its first link or design point: from then on two tables of
// its own say where everything drains (an element without a row drains to
// the outlet); a project that never had one keeps its file as it was.
inline constexpr std::string_view kPointTable = "TblPointInfo";
inline constexpr std::string_view kDrainTable = "TblDrainInfo";
// The outlet node, named in links by this tag.
inline constexpr std::string_view kOutletTag = "Outlet";
inline constexpr std::string_view kInletKind = "inlet";
inline constexpr std::string_view kJunctionKind = "junction";

// A design point: where flow is collected and reported (a confluence, an
// inlet, a culvert entrance). Every column holds text, as elsewhere.
struct PointRow {
    std::string PointTag;
    std::string PointName;
    std::string PointKind;  // "inlet" or "junction"
    std::string PointX;
    std::string PointY;
    std::string DrainsTo;  // a tag, "Outlet" for the outlet
    std::string Deleted;   // "False" / "True"
    // Ground (rim) elevation (ft) and the structure's loss coefficient K,
    // "" where not given; files from before storm drains have no such columns.
    std::string RimElevation;
    std::string LossCoefficient;
};

// The links as the file holds them.
struct DrainageLinks {
    bool network = false;
    std::vector<PointRow> points;                      // live ones, in the order added
    std::map<std::string, std::string> elementDrains;  // element tag -> downstream tag
};

DrainageLinks ReadDrainageLinks(const std::string& projectPath);

// Creates the two tables (a project becomes a network) and writes where each
// element drains. Runs inside the caller's write transaction.
void WriteNetworkTables(const std::string& projectPath,
                        const std::map<std::string, std::string>& elementDrains);

// Adds a live point (the tag is made here: Point + the next number) and
// returns its tag. The project must be a network already.
std::string InsertPointRow(const std::string& projectPath, PointRow row);

// Writes a live point's name, kind, rim elevation and loss coefficient,
// adding the last two columns to a file made before them. No checks (see
// EditDesignPoint); false when no live point has the tag.
bool WritePointFields(const std::string& projectPath, const PointRow& row);

// Moves a point's icon: its top-left corner in twips, as the text of a
// single-precision number like the elements'.
void WritePointPosition(const std::string& projectPath, const std::string& tag,
                        const std::string& x, const std::string& y);

// Sets where an element or a point drains; no checks (see SetDrainsTo).
void WriteDrainsTo(const std::string& projectPath, const std::string& tag, const std::string& to,
                   bool isPoint);

// Soft-deletes a point or takes an element out of the network: whatever drained
// into it now drains where it drained. Returns the tags re-routed, for Undo.
std::vector<std::string> RerouteAround(const std::string& projectPath, const std::string& tag);
void SetPointDeleted(const std::string& projectPath, const std::string& tag, bool deleted);

// Closing the project: deleted points go for good, with the links of anything
// no longer in the project.
void PurgeDrainage(SQLite::Database& db);

}  // namespace torrenta
