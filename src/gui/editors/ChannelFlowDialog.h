#pragma once

#include <QString>

#include "editors/ElementDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace torrenta::gui {

// A channel flow element: section area, wetted perimeter, slope and Manning's
// n give the velocity, the channel length the travel time. The add and the
// update dialog are this one window; they differ in start-up, in what OK does
// and in their captions.
class ChannelFlowDialog : public ElementDialog {
    Q_OBJECT
  public:
    // The trapezoidal section calculator hands over its two results as shown.
    void SetSection(const QString& area, const QString& wettedPerimeter);

  protected:
    ChannelFlowDialog(QWidget* parent, Purpose purpose, ElementCanvas* canvas);

  private:
    void BuildLayout();
    ChannelRow RowFromBoxes() const;
    std::vector<DesignFinding> Checks() const override;
    void ShowResults(const ChannelRow& row);

    bool LoadRow(const std::string& projectPath, const std::string& tag) override;
    bool FieldsFilled() const override;
    void Calculate() override;
    void Save(bool stale) override;

    void CmbN_Activated(int index);

    QLineEdit* txtChannelName_;
    QLineEdit* txtArea_;
    QPushButton* cmdArea_;
    QLineEdit* txtWP_;
    QLineEdit* txtSlope_;
    QComboBox* cmbN_;
    QLineEdit* txtN_;
    QLineEdit* txtLength_;
    QLineEdit* txtVelocity_;
    QLineEdit* txtTc_;
};

// "Channel Information": places a new icon on the canvas and inserts its row.
class FrmChannelAddInfo : public ChannelFlowDialog {
    Q_OBJECT
  public:
    FrmChannelAddInfo(QWidget* parent, ElementCanvas* canvas);
};

// "Channel Update Information": rewrites the row of the icon pressed when it
// opened.
class FrmChannelUpdateInfo : public ChannelFlowDialog {
    Q_OBJECT
  public:
    explicit FrmChannelUpdateInfo(QWidget* parent);
};

}  // namespace torrenta::gui
