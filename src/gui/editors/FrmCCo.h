#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace torrenta::gui {

// Run-off Coefficients: proposes C for a land use, the mean of its lower and
// upper value, and hands land use and C to the open overland flow dialog.
class FrmCCo : public QDialog {
    Q_OBJECT
  public:
    explicit FrmCCo(QWidget* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Combo1_Click(int index);
    void Label2_Click();
    void Label3_Click();
    void Command1_Click();
    // The bounds look like links while the pointer is on them.
    static void MarkBound(QLabel* label, bool marked);

    QComboBox* combo1_;
    QGroupBox* frame2_;
    QGroupBox* frame3_;
    QLabel* label2_;
    QLabel* label3_;
    QLineEdit* txtCVal_;
    QPushButton* command1_;
};

}  // namespace torrenta::gui
