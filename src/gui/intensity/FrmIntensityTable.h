#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <string>

#include "intensity/IntensityDatabase.h"
#include "rainfall/RainfallTable.h"

class QLineEdit;
class QPlainTextEdit;

namespace torrenta::gui {

// Rainfall Intensity Table: shows one intensity table of the shared database,
// lets the user correct its values or enter a new named table.
class FrmIntensityTable : public QDialog {
    Q_OBJECT
  public:
    explicit FrmIntensityTable(QWidget* parent);

    // The cell of return-period column `column` (0 = 1 year ... 6 = 100
    // years) and duration row `row` (0 = 5 min ... 9 = 24 hr).
    QLineEdit* Cell(int column, int row) const { return cells_[column][row]; }

    // True when the name and cells are as loaded, or the user agrees to lose
    // what was typed.
    bool MayDiscardEdits();

    // Fills the grid and the Source with a table made from rainfall data and
    // readies it to be saved as a new table under its proposed name; its
    // warnings are shown in one message titled `title`.
    void ShowRainfallTable(const RainfallTable& table, const QString& title);

  private:
    void LoadTableGrid();
    void CmdAdd_Click();
    void CmdUpdate_Click();
    void CmdSelectBasin_Click();
    void CmdImportNoaa_Click();
    void CmdFromEquation_Click();
    void CmdRainfallCurves_Click();
    IntensityGrid GridText() const;
    bool MayReplaceTable(const std::string& name);
    void OfferTableToProject(const std::string& name, bool projectsOwn, bool p2Changed);

    QLineEdit* txtBasinName_;
    QPlainTextEdit* txtSource_;
    std::array<std::array<QLineEdit*, 10>, 7> cells_{};
    // What the grid showed when loaded, to tell unsaved typing from none.
    QString loadedName_;
    IntensityGrid loadedGrid_{};
    // The cells the Source describes: as loaded, imported or computed; none
    // after "Add New Basin". Saving other cells marks the Source as edited.
    std::optional<IntensityGrid> describedGrid_;
    // The cells whose warnings an import or equation has shown.
    std::optional<IntensityGrid> warnedGrid_;
    // After "Add New Basin", an import or an equation: Update then makes a new
    // table, and asks before it replaces one of the same name.
    bool adding_ = false;
};

}  // namespace torrenta::gui
