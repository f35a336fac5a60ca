#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "detention/DetentionInputs.h"
#include "intensity/IntensityDatabase.h"
#include "network/DrainageNetwork.h"
#include "network/HydraulicGrade.h"
#include "store/ElementRows.h"

namespace torrenta {

// Which element kinds have live rows; a network with none has nothing to solve.
struct NetworkFlags {
    bool HasOverland = false;
    bool HasChannel = false;
    bool HasShallow = false;

    bool Any() const { return HasOverland || HasChannel || HasShallow; }
};

// Solve's first step: looks for live elements of each kind.
NetworkFlags SolveNetwork(const std::string& projectPath);

// One return period of a solve: the number the solver computed (single
// precision), the text TblResults holds and the text the report shows.
struct PeriodResult {
    int years = 0;
    double frequencyFactor = 1.0;
    float intensity = 0.0f;  // in/hr
    std::string intensityStored;
    std::string intensityShown;
    float peakFlow = 0.0f;  // cfs
    std::string peakFlowStored;
    std::string peakFlowShown;
};

// A network solved once: what every output (the report, the JSON, a PDF, the
// chart, the design checks) reads, so none of them goes back to the database.
struct NetworkSolution {
    // The live rows of each kind, in the order they were added.
    std::vector<BasinRow> overland;
    std::vector<SurfaceRow> shallow;
    std::vector<ChannelRow> channel;

    // The tags of the elements taken off the Tc flow path. Area and C take
    // every overland area; the Tc sums take only the elements on the path.
    std::set<std::string> offTcPath;
    // The tags of the overland areas whose Tc the engineer typed: a solve on
    // another table keeps them, and no check compares them with a table.
    std::set<std::string> typedTc;

    double TotalArea = 0.0;  // acres
    double WeightedC = 0.0;  // area-weighted runoff coefficient
    double OverlandTcSum = 0.0;
    double ShallowTcSum = 0.0;
    double ChannelTcSum = 0.0;
    double PipeTcSum = 0.0;  // the pipes' travel time along the outlet's path, design period
    double TotalTc = 0.0;    // minutes

    std::string nodeName;                     // the outlet the network drains to
    std::string intensityTable;               // the table this solve read
    std::string intensitySource;              // where that table came from ("" when not recorded)
    std::vector<IntensityRow> intensityRows;  // that table's rows as read
    std::array<PeriodResult, 7> periods;

    // The sheet-flow rainfall of this solve: P2 (in) of the table read, 0 when
    // that table has no usable 2-year 24-hour cell.
    double rainfallP2 = 0.0;
    // Per overland row, the Tc its stored n, L and S give with rainfallP2
    // ("#0.0000" text; "" when they cannot be computed with, P2 is unknown or
    // the Tc was typed).
    std::vector<std::string> overlandTcWithP2;

    // Where everything drains (the implied chain for a project that is not a
    // network) and what the walk of that tree found at every design point,
    // the outlet last. In a network the Tc flow path is the outlet's longest
    // path: offTcPath then holds every element off it.
    DrainageLayout layout;
    NetworkFlow flow;
    // The storm drains' hydraulic grade line, where every pipe has inverts.
    HydraulicGrade grade;

    // The pond the stored detention inputs size on this solve's rainfall;
    // nothing for a project without detention inputs.
    std::optional<DetentionResult> detention;

    // Each element's share of the total area (0 for a network without area).
    double AreaShare(const BasinRow& row) const;

    bool OnTcPath(const std::string& tag) const { return !offTcPath.contains(tag); }
    // Whether the path leaves out any element, i.e. the report must say which form it.
    bool HasOffPathElement() const;
};

// Reads the live elements of the kinds flagged, adds up the totals, reads the
// intensity table, computes the seven peak flows and rewrites the project's
// results row, all in one transaction: a failure anywhere leaves the project
// as it was. A kind not flagged adds nothing.
//
// Sheet-flow Tc depend on the table's 2-year 24-hour rainfall P2. AsStored
// solves with the stored Tc (and keeps what the table's P2 would give, for the
// design checks); FromThisTable, for a solve on a table other than the
// project's for one run, recomputes every overland Tc in memory with this
// table's P2, so the solution stands on one rainfall basis and nothing but the
// results row is written. InputError naming the element when one cannot be
// recomputed.
enum class SheetFlowTimes { AsStored, FromThisTable };
//
// A project holding detention inputs gets its storage sized on the same
// solve (`detention`); a pre-development project it names that cannot be
// solved stops the solve with an InputError naming it, before anything is
// written. Leave solves without them, for a run that sizes other inputs: a
// stored pre-development project gone missing then cannot stand in the way
// of the inputs that replace it.
enum class StoredDetention { Size, Leave };
NetworkSolution SolveProject(const std::string& projectPath, const std::string& appFolder,
                             const std::string& intensityTableName,
                             const NetworkFlags& flags = {true, true, true},
                             SheetFlowTimes sheetFlow = SheetFlowTimes::AsStored,
                             StoredDetention detention = StoredDetention::Size);

// A project solved with `intensityTableName` and its stored travel times,
// with nothing written and no detention sized: another project's release is
// read from it, and the detention dialog sizes inputs not yet stored.
NetworkSolution SolveProjectReadOnly(const std::string& projectPath, const std::string& appFolder,
                                     const std::string& intensityTableName,
                                     const NetworkFlags& flags);

}  // namespace torrenta
