#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "GuiTestSupport.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"

namespace torrenta::test {

// A fresh run of the desktop program for one test: its own application
// folder, scripted answers to every prompt, no project bound.
inline void StartRun(std::unique_ptr<TestFolder>& folder,
                     std::unique_ptr<ScriptedPrompts>& prompts) {
    folder = std::make_unique<TestFolder>();
    prompts = std::make_unique<ScriptedPrompts>();
    ResetSession(folder->AppFolder());
}

// Ends the run: the main window first (its forms close and delete), then the
// prompts and the folder.
inline void EndRun(std::unique_ptr<gui::MDIFrmMain>& main,
                   std::unique_ptr<ScriptedPrompts>& prompts, std::unique_ptr<TestFolder>& folder) {
    main.reset();
    Settle();
    prompts.reset();
    folder.reset();
}

// The members a window test keeps for its run: the folder, the scripted
// prompts, the main window and, once made, the project file.
class DesktopRunTest : public QObject {
  protected:
    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<gui::MDIFrmMain> main_;
    std::string project_;

    gui::FrmDraw* Canvas() const { return main_->Canvas(); }
};

}  // namespace torrenta::test
