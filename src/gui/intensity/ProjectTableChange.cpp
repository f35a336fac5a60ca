#include "intensity/ProjectTableChange.h"

#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "editing/TravelTimeRecalc.h"

namespace torrenta::gui {

void ShowSheetFlowRecalc(QWidget* parent, const TravelTimeRecalc& recalc) {
    const std::string sentence = SheetFlowRecalcSentence(recalc);
    if (!sentence.empty()) {
        ShowMessage(parent, ToQ(sentence), QStringLiteral("Intensity Table"),
                    QMessageBox::Information);
    }
}

void ChangeOpenProjectTable(QWidget* parent, const std::string& table) {
    Session& session = CurrentSession();
    const TravelTimeRecalc recalc =
        ChangeProjectTable(session.ProjectPath, session.AppFolder, table);
    session.IntensityTableName = table;
    ShowSheetFlowRecalc(parent, recalc);
}

}  // namespace torrenta::gui
