#pragma once

#include <QDialog>

class QLineEdit;

namespace torrenta::gui {

// Trapezoidal Channel Section: the flow area and wetted perimeter of a
// trapezoid from its bottom width B, depth Y and side slope Z, handed to the
// open channel dialog by "Add".
class FrmTrapezArea : public QDialog {
    Q_OBJECT
  public:
    explicit FrmTrapezArea(QWidget* parent);

  private:
    bool Calculate();

    void CmdCalculate_Click();
    void CmdAdd_Click();

    QLineEdit* txtB_;
    QLineEdit* txtY_;
    QLineEdit* txtZ_;
    QLineEdit* txtArea_;
    QLineEdit* txtWp_;
    double area_ = 0.0;
    double wettedPerimeter_ = 0.0;
};

}  // namespace torrenta::gui
