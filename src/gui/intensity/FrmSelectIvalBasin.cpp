#include "intensity/FrmSelectIvalBasin.h"

#include "common/Forms.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "intensity/FrmIntensityTable.h"
#include "store/ProjectSetup.h"

namespace torrenta::gui {

FrmSelectIvalBasin::FrmSelectIvalBasin(QWidget* parent) : TableSelectionDialog(parent) {
    setObjectName(QStringLiteral("FrmSelectIvalBasin"));
}

bool FrmSelectIvalBasin::TakeSelection(const std::string& name) {
    const bool forSetup = tag_ == QStringLiteral("FrmInfo");
    FrmIntensityTable* editor = Forms::Find<FrmIntensityTable>();
    if (!forSetup && editor != nullptr && !editor->MayDiscardEdits()) {
        return false;
    }
    Session& session = CurrentSession();
    session.IntensityTableName = name;
    SetProjectIntensityTable(session.ProjectPath, name);
    if (forSetup) {
        tag_.clear();
        emit ChosenForSetup(ToQ(name));
    } else {
        // The node row is what opening the project reads, so the choice holds
        // beyond this run. The setup dialog writes it with its own OK.
        SetNodeIntensityTable(session.ProjectPath, name);
        Forms::Reopen<FrmIntensityTable>(FormScope::Project);
    }
    return true;
}

}  // namespace torrenta::gui
