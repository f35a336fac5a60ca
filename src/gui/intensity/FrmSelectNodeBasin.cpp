#include "intensity/FrmSelectNodeBasin.h"

#include "common/Forms.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "intensity/FrmNodeInfo.h"
#include "intensity/ProjectTableChange.h"

namespace torrenta::gui {

FrmSelectNodeBasin::FrmSelectNodeBasin(QWidget* parent) : TableSelectionDialog(parent) {
    setObjectName(QStringLiteral("FrmSelectNodeBasin"));
}

bool FrmSelectNodeBasin::TakeSelection(const std::string& name) {
    // Asked by the node dialog: the choice goes into its box and is stored
    // with its Update, so its Cancel leaves the project as it was.
    if (FrmNodeInfo* node = Forms::Find<FrmNodeInfo>()) {
        node->SetChosenTable(ToQ(name));
        return true;
    }
    ChangeOpenProjectTable(this, name);
    return true;
}

std::string FrmSelectNodeBasin::CurrentChoice() const {
    if (const FrmNodeInfo* node = Forms::Find<FrmNodeInfo>()) {
        return FromQ(node->ChosenTable());
    }
    return TableSelectionDialog::CurrentChoice();
}

}  // namespace torrenta::gui
