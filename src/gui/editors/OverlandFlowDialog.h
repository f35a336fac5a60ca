#pragma once

#include <QString>

#include "editors/ElementDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace torrenta::gui {

// The inputs of one overland flow element (a sub-basin) and its sheet-flow
// travel time. The add and update dialogs are twins: the same boxes, n table,
// Tc and checks; they differ in how they start, in what OK does and in three
// captions.
class OverlandFlowDialog : public ElementDialog {
    Q_OBJECT
  public:
    // Where the runoff coefficient calculator hands its choice.
    void SetLandUse(const QString& landUse, const QString& c);

  protected:
    OverlandFlowDialog(QWidget* parent, Purpose purpose, ElementCanvas* canvas);

  private:
    void BuildLayout();
    BasinRow RowFromBoxes() const;
    std::vector<DesignFinding> Checks() const override;

    bool LoadRow(const std::string& projectPath, const std::string& tag) override;
    bool FieldsFilled() const override;
    void Calculate() override;
    void Save(bool stale) override;

    void CmbN_Click(int index);
    void CmdSoilType_Click();

    QLineEdit* txtBasinName_;
    QLineEdit* txtArea_;
    QLineEdit* txtSoilType_;
    QPushButton* cmdSoilType_;
    QLineEdit* txtC_;
    QLineEdit* txtSlope_;
    QLineEdit* txtLength_;
    QComboBox* cmbN_;
    QLineEdit* txtN_;
    QLineEdit* txtTc_;
};

// Sub Basin Information: a new element, placed on the canvas when confirmed.
class FrmBasInfo : public OverlandFlowDialog {
    Q_OBJECT
  public:
    FrmBasInfo(QWidget* parent, ElementCanvas* canvas);
};

// Sub Basin Information Update: the element of the icon pressed last.
class FrmBasUpdate : public OverlandFlowDialog {
    Q_OBJECT
  public:
    explicit FrmBasUpdate(QWidget* parent);
};

}  // namespace torrenta::gui
