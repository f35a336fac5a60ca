#pragma once

#include <QDialog>
#include <QString>

#include "store/ElementRows.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace torrenta::gui {

class TravelTimeWatch;

// A channel flow element: section area, wetted perimeter, slope and Manning's
// n give the velocity, the channel length the travel time. The add and the
// update dialog are this one window; they differ in start-up, in what OK does
// and in their captions.
class ChannelFlowDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Purpose { Add, Update };

    // The trapezoidal section calculator hands over its two results as shown.
    void SetSection(const QString& area, const QString& wettedPerimeter);

  protected:
    ChannelFlowDialog(QWidget* parent, Purpose purpose);

  private:
    void BuildLayout();
    ChannelRow RowFromBoxes() const;
    void ShowResults(const ChannelRow& row);
    // Shows the missing-field message when any input box is empty.
    bool ChannelFieldsFilled(const ChannelRow& row);
    void LoadChannelRow();
    void AddChannelToCanvas(ChannelRow& row);
    void UpdateChannelRow(const ChannelRow& row);

    void CmbN_Activated(int index);
    void CmdCalculate_Click();
    void CmdOK_Click();

    Purpose purpose_;
    // The element the update dialog edits, fixed when it opened: pressing
    // another icon meanwhile must not redirect the update.
    QString tag_;
    TravelTimeWatch* tcWatch_ = nullptr;

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
    QPushButton* cmdCalculate_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
};

// "Channel Information": places a new icon on the canvas and inserts its row.
class FrmChannelAddInfo : public ChannelFlowDialog {
    Q_OBJECT
  public:
    explicit FrmChannelAddInfo(QWidget* parent);
};

// "Channel Update Information": rewrites the row of the icon pressed when it
// opened.
class FrmChannelUpdateInfo : public ChannelFlowDialog {
    Q_OBJECT
  public:
    explicit FrmChannelUpdateInfo(QWidget* parent);
};

}  // namespace torrenta::gui
