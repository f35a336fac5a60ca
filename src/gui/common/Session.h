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
    // While a new project waits for Project Setup's OK: the file chosen for
    // it, which it replaces only then; ProjectPath is its draft beside that
    // file meanwhile. Empty otherwise.
    std::string NewProjectPath;
    std::string AppFolder;
    std::string IntensityTableName;
    QString SelectedIcon;
    bool HasOverland = false;
    bool HasShallow = false;
    bool HasChannel = false;

    // The project's file as the user knows it: the chosen name of a new
    // project, never its draft.
    const std::string& ShownProjectPath() const {
        return NewProjectPath.empty() ? ProjectPath : NewProjectPath;
    }
};

Session& CurrentSession();

}  // namespace torrenta::gui
