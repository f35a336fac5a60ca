#pragma once

#include <string>

class QWidget;

namespace torrenta {
struct TravelTimeRecalc;
}

namespace torrenta::gui {

// The one information message after sheet-flow travel times were
// recalculated, whatever caused it; none when the project has no overland area.
void ShowSheetFlowRecalc(QWidget* parent, const TravelTimeRecalc& recalc);

// Every place the open project's table changes goes through here: the table
// becomes the project's (node row and project rows) and the running one, the
// sheet-flow travel times are recalculated with its rainfall, and one
// information message says so (none when the project has no overland area).
// Throws like ChangeProjectTable, leaving the project as it was: call it
// inside RunCommand.
void ChangeOpenProjectTable(QWidget* parent, const std::string& table);

}  // namespace torrenta::gui
