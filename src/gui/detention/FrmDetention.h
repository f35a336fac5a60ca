#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "detention/DetentionInputs.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace torrenta::gui {

class DetentionCharts;

// Detention: the allowable release and the method the open project's pond is
// sized with. Calculate shows the storage of every return period for the
// inputs as typed, without storing them; OK stores them, so the report and
// the command line size the same pond; Remove takes them out of the project.
class FrmDetention : public QDialog {
    Q_OBJECT
  public:
    explicit FrmDetention(QWidget* parent);

    DetentionCharts* Charts() const { return charts_; }

  private:
    void LoadInputs();
    void ShowInputs(const DetentionInputs& inputs);
    // The inputs as the boxes hold them; InputError naming an empty box of
    // the chosen source.
    DetentionInputs TypedInputs() const;
    void EnableSourceBoxes();
    void ForgetResults();
    void ShowResults();
    void ShowChosenPeriod();

    void CmdBrowse_Click();
    void CmdCalculate_Click();
    void CmdSave_Click();
    void CmdCopy_Click();
    void CmdOK_Click();
    void CmdRemove_Click();

    QRadioButton* optSingle_;
    QRadioButton* optPerPeriod_;
    QRadioButton* optPreDevelopment_;
    QRadioButton* optRising_;
    QRadioButton* optConstant_;
    QLineEdit* txtRelease_;
    std::array<QLineEdit*, 7> txtReleases_{};
    QLineEdit* txtPreDevelopment_;
    QPushButton* cmdBrowse_;
    QLineEdit* txtFactor_;
    QTableWidget* grdResults_;
    QLabel* lblTableEnd_;
    QComboBox* cmbPeriod_;
    DetentionCharts* charts_;
    QPushButton* cmdSave_;
    QPushButton* cmdCopy_;
    QPushButton* cmdRemove_;

    // What Calculate found for the inputs shown; nothing once they change.
    std::optional<DetentionResult> result_;
};

}  // namespace torrenta::gui
