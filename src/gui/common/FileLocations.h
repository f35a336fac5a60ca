#pragma once

#include <QString>

namespace torrenta::gui {

// Where a file dialog starts: the open project's folder, else the last folder
// a file was chosen in, else the user's documents; never the program's own
// folder.
QString DialogStartFolder();

// What a save dialog proposes for a file of `suffix` ("rtf", "pdf"): the open
// project's name with that suffix, in the start folder. Without a project,
// the folder alone.
QString ProposedSavePath(const QString& suffix);

// Keeps the folder of a file the user chose, for the next dialog.
void RememberFolder(const QString& file);

// The open project's file name ("storm.rmt"), "" when none is open.
QString ProjectFileName();

}  // namespace torrenta::gui
