#include "intensity/FrmSelectNodeBasin.h"

#include "app/Forms.h"
#include "app/Session.h"
#include "intensity/FrmNodeInfo.h"
#include "store/ProjectSetup.h"

namespace torrenta::gui {

FrmSelectNodeBasin::FrmSelectNodeBasin(QWidget* parent) : TableSelectionDialog(parent) {
    setObjectName(QStringLiteral("FrmSelectNodeBasin"));
}

void FrmSelectNodeBasin::TakeSelection(const std::string& name) {
    Session& session = CurrentSession();
    session.IntensityTableName = name;
    SetNodeIntensityTable(session.ProjectPath, name);
    // The node dialog shows the stored row, so it opens again to show the new table.
    Forms::Reopen<FrmNodeInfo>();
}

}  // namespace torrenta::gui
