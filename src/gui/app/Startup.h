#pragma once

#include <QString>
#include <QStringList>

namespace torrenta::gui {

class MDIFrmMain;

// The program's start up to its event loop, in the order it runs; shared by
// torrenta's main() and the start-up benchmark, so both measure one start.

// Names the application (settings, data folders), registers its pictures and
// gives every window the program icon.
void IdentifyApplication();

// The project named on the command line ("" when none); handles --help and
// --version like any Qt program.
QString ProjectArgument(const QStringList& arguments);

// Shows the main window filling the screen, finds the application folder and
// opens `project` when one is named.
void ShowMainWindow(MDIFrmMain& window, const QString& project);

}  // namespace torrenta::gui
