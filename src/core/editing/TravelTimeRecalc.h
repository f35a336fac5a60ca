#pragma once

#include <string>
#include <vector>

#include "store/ElementRows.h"

namespace torrenta {

// Sheet-flow travel times depend on the 2-year 24-hour rainfall P2 of the
// project's intensity table, so a project whose table changes must have its
// overland Tc recomputed, or its report would mix two rainfall bases. These
// operations recompute stored travel times from each element's stored inputs
// with the same code as the element dialogs' Calculate.
//
// Each is one write transaction. A Tc the engineer typed is kept (and listed).
// When one element's inputs cannot be computed with (a zero slope ...), a
// recalculation of every element is refused with an InputError naming the
// element, and the project is left exactly as it was; a change of rainfall
// keeps that area's stored Tc and lists it.

// One element whose stored Tc text changed.
struct TcChange {
    ElementKind kind;
    std::string tag, name, oldTc, newTc;
};

struct TravelTimeRecalc {
    std::string table;              // the table whose 2-year 24-hour rainfall was used
    double p2 = 0.0;                // that rainfall, inches (0 when no overland area needed it)
    int overlandCount = 0;          // live overland areas recalculated
    std::vector<TcChange> changes;  // elements whose stored Tc text changed, in report order
    // Overland areas whose stored Tc was kept as it stands (oldTc = newTc):
    // a Tc the engineer typed, and, on a change of rainfall, an area whose
    // stored inputs cannot be computed with (a slope of 0, no length).
    std::vector<TcChange> keptTyped;
    std::vector<TcChange> keptUncomputable;
};

// Makes `table` the project's table (the node row's IntensityTable and every
// project information row's IValueBasinName) and recalculates every live
// overland element's Tc with its P2, all in one write transaction.
// IntensityError when the table is not in the intensity database or its P2
// cannot be read.
TravelTimeRecalc ChangeProjectTable(const std::string& projectPath, const std::string& appFolder,
                                    const std::string& table);

// The project's own table's P2 changed (an edit of its 24-hour 2-year cell):
// sheet-flow Tc of live overland elements only.
TravelTimeRecalc RecalculateSheetFlowTimes(const std::string& projectPath,
                                           const std::string& appFolder);

// Every live element: overland with the project table's P2; shallow and
// channel velocity and Tc from their stored inputs, as Calculate computes them
// (a channel's typed velocity and Tc are replaced too).
TravelTimeRecalc RecalculateTravelTimes(const std::string& projectPath,
                                        const std::string& appFolder);

// "Sheet-flow travel times of 2 overland areas were recalculated with the
// 2-year 24-hour rainfall of Nashville TN (3.37 in)."; then what was kept
// ("Kept the typed Tc of 1 overland area: Lot (30 min)."); "" when there was
// no live overland area.
std::string SheetFlowRecalcSentence(const TravelTimeRecalc& recalc);

// What a recalculation of every element changed, one line per element:
// "Back Lawn (Basin2): 18.3066 to 19.2349 min"; "No travel time changed."
// when nothing did; then the typed Tc kept, as in SheetFlowRecalcSentence.
std::string TravelTimeChangesText(const TravelTimeRecalc& recalc);

// What a recalculation kept as stored: "Kept the typed Tc of 1 overland area:
// Lot (30 min)." and likewise the areas whose inputs cannot be computed with;
// "" when nothing was kept.
std::string KeptTcText(const TravelTimeRecalc& recalc);

// The Tc of one overland row with the rainfall P2, as "#0.0000" text; ""
// when its stored inputs cannot be computed with.
std::string OverlandTcWith(const BasinRow& row, double p2);

}  // namespace torrenta
