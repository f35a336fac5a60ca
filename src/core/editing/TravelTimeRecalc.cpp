#include "editing/TravelTimeRecalc.h"

#include <cstddef>
#include <set>

#include "Errors.h"
#include "editing/ElementEditing.h"
#include "intensity/IntensityDatabase.h"
#include "store/Connection.h"
#include "store/ProjectSetup.h"
#include "store/TypedTc.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

enum class Scope { SheetFlow, Everything };

// What a change of rainfall does with an area whose inputs cannot be computed.
enum class Uncomputable { Refuse, Keep };

std::string KindWords(ElementKind kind) {
    switch (kind) {
        case ElementKind::Overland:
            return "Overland flow area";
        case ElementKind::Shallow:
            return "Shallow concentrated flow";
        case ElementKind::Channel:
            break;
    }
    return "Channel";
}

// Runs one element's Calculate; a refusal names the element, so the engineer
// knows which one to open, and says that nothing was stored.
template <class Calculate>
void CalculateNamed(ElementKind kind, const std::string& tag, const std::string& name,
                    Calculate&& calculate) {
    try {
        calculate();
    } catch (const InputError& e) {
        throw InputError(KindWords(kind) + " \"" + name + "\" (" + tag +
                         "): its travel time cannot be recalculated. " + e.what() +
                         " No travel time was changed.");
    }
}

void RecalculateOverland(const std::string& projectPath, const std::string& appFolder,
                         TravelTimeRecalc& recalc, Uncomputable uncomputable) {
    const auto rows = ReadLiveElements<BasinRow>(projectPath);
    if (rows.empty()) {
        return;
    }
    const std::set<std::string> typed = ReadTypedTc(projectPath);
    recalc.p2 = TwoYearRainfall(appFolder, recalc.table);
    for (BasinRow row : rows) {
        const std::string oldTc = row.Tc;
        const TcChange kept{ElementKind::Overland, row.BasinTag, row.BasinName, oldTc, oldTc};
        if (IsTypedTc(row, typed)) {
            recalc.keptTyped.push_back(kept);
            continue;
        }
        // Calculated once; an area that cannot be is kept or, calculated
        // again, refused with its reason.
        const std::string tc = OverlandTcWith(row, recalc.p2);
        if (tc.empty() && uncomputable == Uncomputable::Keep) {
            recalc.keptUncomputable.push_back(kept);
            continue;
        }
        if (tc.empty()) {
            CalculateNamed(ElementKind::Overland, row.BasinTag, row.BasinName,
                           [&] { CalculateOverland(row, recalc.p2); });
        }
        ++recalc.overlandCount;
        row.Tc = tc;
        if (row.Tc != oldTc) {
            UpdateElementRow(projectPath, row.BasinTag, row);
            recalc.changes.push_back(
                {ElementKind::Overland, row.BasinTag, row.BasinName, oldTc, row.Tc});
        }
    }
}

void RecalculateShallow(const std::string& projectPath, TravelTimeRecalc& recalc) {
    for (SurfaceRow row : ReadLiveElements<SurfaceRow>(projectPath)) {
        const SurfaceRow old = row;
        CalculateNamed(ElementKind::Shallow, row.SurfTag, row.SurfName,
                       [&] { CalculateShallow(row); });
        if (row.SurfTc != old.SurfTc || row.SurfVelocity != old.SurfVelocity) {
            UpdateElementRow(projectPath, row.SurfTag, row);
        }
        if (row.SurfTc != old.SurfTc) {
            recalc.changes.push_back(
                {ElementKind::Shallow, row.SurfTag, row.SurfName, old.SurfTc, row.SurfTc});
        }
    }
}

void RecalculateChannel(const std::string& projectPath, TravelTimeRecalc& recalc) {
    for (ChannelRow row : ReadLiveElements<ChannelRow>(projectPath)) {
        const ChannelRow old = row;
        CalculateNamed(ElementKind::Channel, row.ChannelTag, row.ChannelName,
                       [&] { CalculateChannel(row); });
        if (row.ChannelTc != old.ChannelTc || row.ChannelVelocity != old.ChannelVelocity) {
            UpdateElementRow(projectPath, row.ChannelTag, row);
        }
        if (row.ChannelTc != old.ChannelTc) {
            recalc.changes.push_back({ElementKind::Channel, row.ChannelTag, row.ChannelName,
                                      old.ChannelTc, row.ChannelTc});
        }
    }
}

TravelTimeRecalc Recalculate(const std::string& projectPath, const std::string& appFolder,
                             Scope scope) {
    WriteTransaction transaction(projectPath, "Cannot recalculate the travel times");
    TravelTimeRecalc recalc;
    recalc.table = ReadNode(projectPath).value_or(NodeRow{}).IntensityTable;
    RecalculateOverland(projectPath, appFolder, recalc,
                        scope == Scope::Everything ? Uncomputable::Refuse : Uncomputable::Keep);
    if (scope == Scope::Everything) {
        RecalculateShallow(projectPath, recalc);
        RecalculateChannel(projectPath, recalc);
    }
    transaction.Commit();
    return recalc;
}

std::string Areas(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " overland area" : " overland areas");
}

std::string Joined(const std::string& first, const std::string& second, const char* between) {
    return first.empty() || second.empty() ? first + second : first + between + second;
}

}  // namespace

TravelTimeRecalc ChangeProjectTable(const std::string& projectPath, const std::string& appFolder,
                                    const std::string& table) {
    if (!IntensityTableExists(appFolder, table)) {
        throw IntensityError("The intensity table \"" + table +
                             "\" does not exist in the intensity database.");
    }
    WriteTransaction transaction(projectPath, "Cannot change the project's intensity table");
    TravelTimeRecalc recalc;
    recalc.table = table;
    SetNodeIntensityTable(projectPath, table);
    SetProjectIntensityTable(projectPath, table);
    RecalculateOverland(projectPath, appFolder, recalc, Uncomputable::Keep);
    transaction.Commit();
    return recalc;
}

TravelTimeRecalc RecalculateSheetFlowTimes(const std::string& projectPath,
                                           const std::string& appFolder) {
    return Recalculate(projectPath, appFolder, Scope::SheetFlow);
}

TravelTimeRecalc RecalculateTravelTimes(const std::string& projectPath,
                                        const std::string& appFolder) {
    return Recalculate(projectPath, appFolder, Scope::Everything);
}

std::string SheetFlowRecalcSentence(const TravelTimeRecalc& recalc) {
    std::string text;
    if (recalc.overlandCount > 0) {
        text = "Sheet-flow travel times of " +
               Areas(static_cast<std::size_t>(recalc.overlandCount)) +
               " were recalculated with the 2-year 24-hour rainfall of " + recalc.table + " (" +
               FormatFixed(recalc.p2, 2) + " in).";
    }
    return Joined(text, KeptTcText(recalc), " ");
}

std::string TravelTimeChangesText(const TravelTimeRecalc& recalc) {
    std::string text;
    for (const TcChange& change : recalc.changes) {
        text += (text.empty() ? "" : "\n") + change.name + " (" + change.tag +
                "): " + change.oldTc + " to " + change.newTc + " min";
    }
    return Joined(text.empty() ? "No travel time changed." : text, KeptTcText(recalc), "\n");
}

std::string OverlandTcWith(const BasinRow& row, double p2) {
    BasinRow copy = row;
    try {
        CalculateOverland(copy, p2);
    } catch (const InputError&) {
        return "";
    }
    return copy.Tc;
}

std::string KeptTcText(const TravelTimeRecalc& recalc) {
    const auto listed = [](const std::vector<TcChange>& kept) {
        std::string names;
        for (const TcChange& area : kept) {
            names += (names.empty() ? "" : ", ") + area.name + " (" + area.oldTc + " min)";
        }
        return names;
    };
    std::string text;
    if (!recalc.keptTyped.empty()) {
        text = "Kept the typed Tc of " + Areas(recalc.keptTyped.size()) + ": " +
               listed(recalc.keptTyped) + ".";
    }
    if (!recalc.keptUncomputable.empty()) {
        text = Joined(text,
                      "Kept the stored Tc of " + Areas(recalc.keptUncomputable.size()) +
                          " whose slope, n or length cannot be computed with: " +
                          listed(recalc.keptUncomputable) + ".",
                      " ");
    }
    return text;
}

}  // namespace torrenta
