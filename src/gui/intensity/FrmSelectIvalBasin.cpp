#include "intensity/FrmSelectIvalBasin.h"

#include "app/Forms.h"
#include "app/QtText.h"
#include "app/Session.h"
#include "intensity/FrmIntensityTable.h"
#include "store/FrmInfo.h"
#include "store/ProjectSetup.h"

namespace torrenta::gui {

FrmSelectIvalBasin::FrmSelectIvalBasin(QWidget* parent) : TableSelectionDialog(parent) {
    setObjectName(QStringLiteral("FrmSelectIvalBasin"));
}

void FrmSelectIvalBasin::TakeSelection(const std::string& name) {
    Session& session = CurrentSession();
    session.IntensityTableName = name;
    if (tag_ == QStringLiteral("FrmInfo")) {
        if (FrmInfo* info = Forms::Find<FrmInfo>()) {
            info->SetIntensityTable(ToQ(name));
        }
        tag_.clear();
    } else {
        Forms::Reopen<FrmIntensityTable>();
    }
    SetProjectIntensityTable(session.ProjectPath, name);
}

}  // namespace torrenta::gui
