#include "intensity/FrmSelectIvalBasin.h"

#include "common/Forms.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "intensity/FrmIntensityTable.h"
#include "intensity/ProjectTableChange.h"

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
    // A choice for the setup dialog waits for that dialog's OK: Cancel there
    // leaves the project and the running table as they were.
    if (forSetup) {
        tag_.clear();
        emit ChosenForSetup(ToQ(name));
    } else {
        // The node row is what opening the project reads, so the choice holds
        // beyond this run. The setup dialog writes it with its own OK.
        ChangeOpenProjectTable(this, name);
        Forms::Reopen<FrmIntensityTable>(FormScope::Project);
    }
    return true;
}

}  // namespace torrenta::gui
