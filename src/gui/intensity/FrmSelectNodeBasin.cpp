#include "intensity/FrmSelectNodeBasin.h"

#include "common/Forms.h"
#include "common/Session.h"
#include "intensity/FrmNodeInfo.h"
#include "store/ProjectSetup.h"

namespace torrenta::gui {

FrmSelectNodeBasin::FrmSelectNodeBasin(QWidget* parent) : TableSelectionDialog(parent) {
    setObjectName(QStringLiteral("FrmSelectNodeBasin"));
}

bool FrmSelectNodeBasin::TakeSelection(const std::string& name) {
    FrmNodeInfo* node = Forms::Find<FrmNodeInfo>();
    if (node != nullptr && !node->MayDiscardEdits()) {
        return false;
    }
    Session& session = CurrentSession();
    session.IntensityTableName = name;
    SetNodeIntensityTable(session.ProjectPath, name);
    // The node dialog shows the stored row, so it opens again to show the new table.
    Forms::Reopen<FrmNodeInfo>(FormScope::Project);
    return true;
}

}  // namespace torrenta::gui
