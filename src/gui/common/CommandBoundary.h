#pragma once

#include <functional>

class QWidget;

namespace torrenta::gui {

// Runs one user action. A failure of the core (a database refusing a
// statement, a missing table, a file that is no project) is shown as a message
// box with the error's text; the window that ran the action stays as it is and
// the program goes on. Returns false when the action failed.
bool RunCommand(QWidget* parent, const std::function<void()>& action);

}  // namespace torrenta::gui
