#pragma once

#include <string>

namespace torrenta {

// The application folder holds the template empty.mdb and the shared
// intensity.mdb. An explicit install path wins; otherwise the executable's own
// folder when it holds the template (a build tree), else ../share/torrenta
// beside the executable (an installed program).
std::string ResolveAppFolder(const std::string& installPath, const std::string& executableFolder);

// As ResolveAppFolder, and when the folder found is not writable (an installed
// program's share/torrenta), the per-user folder instead, seeded with copies of
// the two databases it does not hold yet; intensity tables can be edited and
// saved there. An explicit install path still wins, writable or not. An empty
// user folder, or one that cannot be made, leaves the shared folder in use.
std::string ChooseAppFolder(const std::string& installPath, const std::string& executableFolder,
                            const std::string& userFolder);

// Makes the user folder and copies into it each database of the shared folder
// it does not hold yet (a user's own intensity tables are never overwritten).
// False when the folder cannot be made or written.
bool SeedUserAppFolder(const std::string& sharedFolder, const std::string& userFolder);

// The per-user data folder, $XDG_DATA_HOME/Quillmoor/Torrenta (by default
// ~/.local/share/Quillmoor/Torrenta); "" when neither variable is set.
std::string UserAppFolder();

// True when the program can write in the folder and to its intensity.mdb.
bool IsWritableAppFolder(const std::string& folder);

// The folder of the running executable ("" when it cannot be told).
std::string ExecutableFolder(const char* argv0);

}  // namespace torrenta
