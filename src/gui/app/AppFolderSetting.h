#pragma once

#include <string>

namespace torrenta::gui {

// The application folder for this run: the InstallPath setting of the system
// configuration (Quillmoor/Squallbox) when it names a folder, else the
// executable's folder when it holds the template, else ../share/torrenta
// beside the executable.
std::string DetermineAppFolder();

}  // namespace torrenta::gui
