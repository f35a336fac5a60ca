#pragma once

#include <QString>

#include "editors/ElementDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace torrenta::gui {

// A shallow concentrated flow element: name, flow length, slope and surface
// type give the velocity and the travel time. The add and the update dialog
// are this one window; they differ in what OK does and in their captions.
class ShallowFlowDialog : public ElementDialog {
    Q_OBJECT
  protected:
    ShallowFlowDialog(QWidget* parent, Purpose purpose, ElementCanvas* canvas);

  private:
    void BuildLayout();
    SurfaceRow RowFromBoxes() const;
    std::vector<DesignFinding> Checks() const override;
    void ShowResults(const SurfaceRow& row);

    bool LoadRow(const std::string& projectPath, const std::string& tag) override;
    bool FieldsFilled() const override;
    void Calculate() override;
    void Save(bool stale) override;

    QLineEdit* txtSurfName_;
    QLineEdit* txtLength_;
    QLineEdit* txtSlope_;
    QComboBox* cmbType_;
    QLineEdit* txtVelocity_;
    QLineEdit* txtTc_;
};

// "Add Surface Flow": places a new icon on the canvas and inserts its row.
class FrmSurfaceAddInfo : public ShallowFlowDialog {
    Q_OBJECT
  public:
    FrmSurfaceAddInfo(QWidget* parent, ElementCanvas* canvas);
};

// "Update Surface Flow": rewrites the row of the icon pressed when it opened.
class FrmSurfaceUpdateInfo : public ShallowFlowDialog {
    Q_OBJECT
  public:
    explicit FrmSurfaceUpdateInfo(QWidget* parent);
};

}  // namespace torrenta::gui
