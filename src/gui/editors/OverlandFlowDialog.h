#pragma once

#include <QDialog>
#include <QString>

#include "store/ElementRows.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace torrenta::gui {

class TravelTimeWatch;

// The inputs of one overland flow element (a sub-basin) and its sheet-flow
// travel time. The add and update dialogs are twins: the same boxes, n table,
// Tc and checks; they differ in how they start, in what OK does and in three
// captions.
class OverlandFlowDialog : public QDialog {
    Q_OBJECT
  public:
    // Where the runoff coefficient calculator hands its choice.
    void SetLandUse(const QString& landUse, const QString& c);

  protected:
    enum class Mode { Add, Update };
    OverlandFlowDialog(Mode mode, QWidget* parent);

  private:
    void BuildLayout();
    void StartNew();
    void LoadBasinRow();
    BasinRow RowFromBoxes() const;
    bool CheckFields(const BasinRow& row);
    bool AddBasinToCanvas(BasinRow& row);

    void CmbN_Click(int index);
    void CmdCalculate_Click();
    void CmdOK_Click();
    void CmdSoilType_Click();

    Mode mode_;
    // The row an update dialog rewrites: the icon pressed when it opened, not
    // whichever icon is pressed while it is open.
    QString tag_;
    TravelTimeWatch* tcWatch_ = nullptr;

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
    QPushButton* cmdCalculate_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
};

// Sub Basin Information: a new element, placed on the canvas when confirmed.
class FrmBasInfo : public OverlandFlowDialog {
    Q_OBJECT
  public:
    explicit FrmBasInfo(QWidget* parent);
};

// Sub Basin Information Update: the element of the icon pressed last.
class FrmBasUpdate : public OverlandFlowDialog {
    Q_OBJECT
  public:
    explicit FrmBasUpdate(QWidget* parent);
};

}  // namespace torrenta::gui
