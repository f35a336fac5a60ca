#pragma once

#include <string>

namespace torrenta::gui {

// The application folder for this run: the InstallPath setting of the system
// configuration (Quillmoor/Squallbox) when it names a folder, else the
// executable's folder when it holds the template, else ../share/torrenta
// beside the executable; when that folder is not writable, the user's own data
// folder seeded with copies of the two databases.
std::string DetermineAppFolder();

}  // namespace torrenta::gui
