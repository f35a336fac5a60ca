#pragma once

#include <QString>
#include <string>

namespace torrenta::gui {

// The state the whole run shares: which project is bound, where the databases
// live, which intensity table a solve uses and which icon was pressed last.
// One instance for the run; windows read and write it, nothing else holds a
// copy.
struct Session {
    std::string ProjectPath;
    std::string AppFolder;
    std::string IntensityTableName;
    QString SelectedIcon;
    bool HasOverland = false;
    bool HasShallow = false;
    bool HasChannel = false;
};

Session& CurrentSession();

}  // namespace torrenta::gui
