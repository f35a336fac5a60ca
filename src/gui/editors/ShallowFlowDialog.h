#pragma once

#include <QDialog>
#include <QString>

#include "store/ElementRows.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace torrenta::gui {

// A shallow concentrated flow element: name, flow length, slope and surface
// type give the velocity and the travel time. The add and the update dialog
// are this one window; they differ in what OK does and in their captions.
class ShallowFlowDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Purpose { Add, Update };

  protected:
    ShallowFlowDialog(QWidget* parent, Purpose purpose);

  private:
    void BuildLayout();
    SurfaceRow RowFromBoxes() const;
    void ShowResults(const SurfaceRow& row);
    // Shows the missing-field message when name, slope or length is empty.
    bool ShallowFieldsFilled(const SurfaceRow& row);
    void LoadSurfaceRow();
    void AddSurfaceToCanvas(SurfaceRow& row);
    void UpdateSurfaceRow(const SurfaceRow& row);

    void CmdCalculate_Click();
    void CmdOK_Click();

    Purpose purpose_;
    // The element the update dialog edits, fixed when it opened: pressing
    // another icon meanwhile must not redirect the update.
    QString tag_;

    QLineEdit* txtSurfName_;
    QLineEdit* txtLength_;
    QLineEdit* txtSlope_;
    QComboBox* cmbType_;
    QLineEdit* txtVelocity_;
    QLineEdit* txtTc_;
    QPushButton* cmdCalculate_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
};

// "Add Surface Flow": places a new icon on the canvas and inserts its row.
class FrmSurfaceAddInfo : public ShallowFlowDialog {
    Q_OBJECT
  public:
    explicit FrmSurfaceAddInfo(QWidget* parent);
};

// "Update Surface Flow": rewrites the row of the icon pressed when it opened.
class FrmSurfaceUpdateInfo : public ShallowFlowDialog {
    Q_OBJECT
  public:
    explicit FrmSurfaceUpdateInfo(QWidget* parent);
};

}  // namespace torrenta::gui
