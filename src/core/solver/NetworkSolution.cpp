#include "solver/NetworkSolution.h"

#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "detention/ProjectDetention.h"
#include "editing/ElementEditing.h"
#include "editing/TravelTimeRecalc.h"
#include "hydraulics/TravelTime.h"
#include "intensity/IntensityDatabase.h"
#include "solver/RationalMethod.h"
#include "store/Connection.h"
#include "store/DrainageStore.h"
#include "store/PipeStore.h"
#include "store/ProjectSetup.h"
#include "store/TcPath.h"
#include "store/TypedTc.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

constexpr int kShownDecimals = 2;

// Each total is a plain sum in row order, as the report prints it.
template <class Row, class Member>
double Sum(const std::vector<Row>& rows, Member member) {
    double total = 0.0;
    for (const Row& row : rows) {
        total += LeadingNumber(row.*member);
    }
    return total;
}

// The travel times of the elements on the Tc flow path, in row order.
template <class Row, class Member>
double PathSum(const NetworkSolution& solution, const std::vector<Row>& rows, Member member) {
    double total = 0.0;
    for (const Row& row : rows) {
        if (solution.OnTcPath(row.*ElementTable<Row>::kTag)) {
            total += LeadingNumber(row.*member);
        }
    }
    return total;
}

// What the overland rows' stored inputs give with the solve's table: kept for
// the design checks, and used in place of the stored Tc when the solve runs on
// a table that is not the project's.
void RecomputeSheetFlow(NetworkSolution& solution, SheetFlowTimes sheetFlow) {
    if (solution.overland.empty()) {
        return;
    }
    const bool otherTable = sheetFlow == SheetFlowTimes::FromThisTable;
    try {
        // P2 comes from the table's rows the solve has read already.
        solution.rainfallP2 =
            TwoYearDepth(TwoYear24HourIntensity(solution.intensityRows, solution.intensityTable));
    } catch (const TorrentaError&) {
        if (otherTable) {
            throw;
        }
        // The solve reads the table on its own terms; a table without a usable
        // 2-year 24-hour cell only leaves nothing to compare stored Tc with.
        return;
    }
    for (BasinRow& row : solution.overland) {
        if (IsTypedTc(row, solution.typedTc)) {
            solution.overlandTcWithP2.emplace_back();
            continue;
        }
        const std::string tc = OverlandTcWith(row, solution.rainfallP2);
        if (otherTable) {
            if (tc.empty()) {
                throw InputError("Overland flow area \"" + row.BasinName + "\" (" + row.BasinTag +
                                 "): its sheet-flow travel time cannot be computed with the "
                                 "rainfall of " +
                                 solution.intensityTable +
                                 "; check its slope, n and length. Nothing was solved.");
            }
            row.Tc = tc;
        }
        solution.overlandTcWithP2.push_back(tc);
    }
}

}  // namespace

double NetworkSolution::AreaShare(const BasinRow& row) const {
    // With no area at all every share is 0 rather than a division by zero.
    return TotalArea == 0.0 ? 0.0 : LeadingNumber(row.Area) / TotalArea;
}

bool NetworkSolution::HasOffPathElement() const {
    const auto off = [&](const auto& rows) {
        return std::any_of(rows.begin(), rows.end(), [&](const auto& row) {
            using Row = std::decay_t<decltype(row)>;
            return !OnTcPath(row.*ElementTable<Row>::kTag);
        });
    };
    return off(overland) || off(shallow) || off(channel);
}

NetworkFlags SolveNetwork(const std::string& projectPath) {
    return RunOn(OpenProjectConnection(projectPath), "Cannot read the project's elements",
                 [](Connection& open) {
                     // One statement for the three kinds.
                     CachedStatement query = open.Prepared(
                         "SELECT EXISTS (SELECT 1 FROM TblBasinInfo WHERE Deleted = 'False'), "
                         "EXISTS (SELECT 1 FROM TblSurfaceInfo WHERE Deleted = 'False'), "
                         "EXISTS (SELECT 1 FROM TblChannelInfo WHERE Deleted = 'False')");
                     query->executeStep();
                     NetworkFlags flags;
                     flags.HasOverland = query->getColumn(0).getInt() != 0;
                     flags.HasShallow = query->getColumn(1).getInt() != 0;
                     flags.HasChannel = query->getColumn(2).getInt() != 0;
                     return flags;
                 });
}

namespace {

enum class Writing { Results, ResultsAndDetention, Nothing };

NetworkSolution Solve(const std::string& projectPath, const std::string& appFolder,
                      const std::string& intensityTableName, const NetworkFlags& flags,
                      SheetFlowTimes sheetFlow, Writing writing) {
    const SharedConnections oneConnectionPerFile;
    Connection project = OpenProjectConnection(projectPath);
    // A solve that writes takes the write lock first, so runs at the same
    // moment wait their turn instead of failing when a read would have to
    // become a write. A file that cannot be written is read all the same
    // (deferred), and the write below then fails with its own reason.
    std::optional<SQLite::Transaction> transaction;
    try {
        if (writing == Writing::Nothing) {
            transaction.emplace(project.Db());
        } else {
            try {
                transaction.emplace(project.Db(), SQLite::TransactionBehavior::IMMEDIATE);
            } catch (const SQLite::Exception& e) {
                if ((e.getErrorCode() & 0xFF) != SQLITE_READONLY) {
                    throw;
                }
                transaction.emplace(project.Db());
            }
        }
    } catch (const std::exception& e) {
        ThrowDatabaseError(project, "Cannot read the project's elements", e);
    }
    // The table's reads (its rows, P2, its Source) share one read
    // transaction: one lock and one look for a journal, not one per
    // statement. A database that cannot be opened is left to those reads,
    // which say what is wrong with it.
    std::optional<Connection> intensity;
    std::optional<SQLite::Transaction> intensityReads;
    try {
        intensity.emplace(OpenIntensityConnection(appFolder));
        intensityReads.emplace(intensity->Db());
    } catch (const std::exception&) {
        intensityReads.reset();
        intensity.reset();
    }

    NetworkSolution solution;
    solution.intensityTable = intensityTableName;
    solution.nodeName = ReadNode(projectPath).value_or(NodeRow{}).NodeName;
    if (flags.HasOverland) {
        solution.overland = ReadLiveElements<BasinRow>(projectPath);
    }
    if (flags.HasShallow) {
        solution.shallow = ReadLiveElements<SurfaceRow>(projectPath);
    }
    if (flags.HasChannel) {
        solution.channel = ReadLiveElements<ChannelRow>(projectPath);
    }

    solution.offTcPath = ReadOffTcPath(projectPath);
    if (flags.HasOverland) {
        solution.typedTc = ReadTypedTc(projectPath);
    }

    solution.intensityRows = ReadIntensityRows(appFolder, intensityTableName);
    RecomputeSheetFlow(solution, sheetFlow);
    RequireCompleteTable(solution.intensityRows, intensityTableName);
    solution.layout = LayoutOf(ReadDrainageLinks(projectPath), solution.overland, solution.shallow,
                               solution.channel, solution.offTcPath);
    if (solution.layout.network) {
        AddPipes(solution.layout, ReadPipes(projectPath), ReadDesignSettings(projectPath));
    }
    solution.flow = ComputeNetworkFlow(solution.layout, solution.overland, solution.shallow,
                                       solution.channel, solution.intensityRows);
    if (solution.layout.network) {
        // The drawn network decides: what the outlet's longest path passes is
        // on the path, everything else off it.
        const std::vector<std::string>& path = solution.flow.Outlet().path;
        const std::set<std::string> onPath(path.begin(), path.end());
        solution.offTcPath.clear();
        for (const auto& [tag, to] : solution.layout.drainsTo) {
            if (!onPath.contains(tag)) {
                solution.offTcPath.insert(tag);
            }
        }
    }

    solution.TotalArea = Sum(solution.overland, &BasinRow::Area);
    solution.OverlandTcSum = PathSum(solution, solution.overland, &BasinRow::Tc);
    solution.ShallowTcSum = PathSum(solution, solution.shallow, &SurfaceRow::SurfTc);
    solution.ChannelTcSum = PathSum(solution, solution.channel, &ChannelRow::ChannelTc);
    for (const BasinRow& row : solution.overland) {
        solution.WeightedC += solution.AreaShare(row) * LeadingNumber(row.CVal);
    }
    solution.TotalTc = solution.ShallowTcSum + solution.OverlandTcSum + solution.ChannelTcSum;
    if (!solution.layout.pipes.empty()) {
        solution.grade = ComputeHydraulicGrade(solution.layout, solution.flow);
        // The time in the pipes along the outlet's path counts too.
        solution.TotalTc = solution.flow.Outlet().tc;
        solution.PipeTcSum = solution.TotalTc - solution.ShallowTcSum - solution.OverlandTcSum -
                             solution.ChannelTcSum;
    }

    // The outlet's flow is the project's: for a project whose areas all reach
    // the outlet without passing a design point it is min(C Cf, 1) I A of the
    // totals above, to the last digit.
    const RationalResults results{solution.flow.Outlet().intensity,
                                  solution.flow.Outlet().peakFlow};
    solution.intensitySource = IntensityTableSource(appFolder, intensityTableName);
    const std::array<std::string, 14> stored = ResultTexts(results);

    // The report shows what the file holds, read as a number again.
    for (std::size_t k = 0; k < solution.periods.size(); ++k) {
        PeriodResult& period = solution.periods[k];
        period.years = kReturnPeriods[k];
        period.frequencyFactor = FrequencyFactor(static_cast<std::int16_t>(period.years));
        period.intensity = results.intensity[k];
        period.intensityStored = stored[k];
        period.intensityShown = FormatFixed(LeadingNumber(stored[k]), kShownDecimals);
        period.peakFlow = results.peakFlow[k];
        period.peakFlowStored = stored[7 + k];
        period.peakFlowShown = FormatFixed(LeadingNumber(stored[7 + k]), kShownDecimals);
    }
    if (writing == Writing::Nothing) {
        return solution;
    }

    // Sized before the results row is written, so a pre-development project
    // that cannot be solved leaves this project as it was.
    const auto inputs =
        writing == Writing::ResultsAndDetention ? ReadDetentionInputs(projectPath) : std::nullopt;
    if (inputs) {
        solution.detention = ComputeProjectDetention(solution, *inputs, projectPath, appFolder);
    }
    try {
        WriteResultsRow(project.Db(), stored);
        transaction->commit();
    } catch (const TorrentaError&) {
        throw;
    } catch (const std::exception& e) {
        ThrowDatabaseError(project, "Cannot write the peak-flow results", e);
    }
    return solution;
}

}  // namespace

NetworkSolution SolveProject(const std::string& projectPath, const std::string& appFolder,
                             const std::string& intensityTableName, const NetworkFlags& flags,
                             SheetFlowTimes sheetFlow, StoredDetention detention) {
    return Solve(
        projectPath, appFolder, intensityTableName, flags, sheetFlow,
        detention == StoredDetention::Size ? Writing::ResultsAndDetention : Writing::Results);
}

NetworkSolution SolveProjectReadOnly(const std::string& projectPath, const std::string& appFolder,
                                     const std::string& intensityTableName,
                                     const NetworkFlags& flags) {
    return Solve(projectPath, appFolder, intensityTableName, flags, SheetFlowTimes::AsStored,
                 Writing::Nothing);
}

}  // namespace torrenta
