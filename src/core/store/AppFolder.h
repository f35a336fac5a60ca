#pragma once

#include <string>

namespace torrenta {

// The application folder holds the template empty.mdb and the shared
// intensity.mdb. An explicit install path wins; otherwise the executable's own
// folder when it holds the template (a build tree), else ../share/torrenta
// beside the executable (an installed program).
std::string ResolveAppFolder(const std::string& installPath, const std::string& executableFolder);

// The folder of the running executable ("" when it cannot be told).
std::string ExecutableFolder(const char* argv0);

}  // namespace torrenta
