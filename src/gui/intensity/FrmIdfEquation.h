#pragma once

#include <QDialog>
#include <array>

class QLineEdit;

namespace torrenta::gui {

// From Equation: the coefficients b, d, e of i = b / (Tc + d)^e for each
// return period; OK fills the open table editor's grid and Source with the
// table they give.
class FrmIdfEquation : public QDialog {
    Q_OBJECT
  public:
    explicit FrmIdfEquation(QWidget* parent);

    // The box of coefficient `which` (0 = b, 1 = d, 2 = e) for return period
    // column `column` (0 = 1 year ... 6 = 100 years).
    QLineEdit* Box(int which, int column) const { return boxes_[which][column]; }

  private:
    void CmdOK_Click();

    std::array<std::array<QLineEdit*, 7>, 3> boxes_{};
};

}  // namespace torrenta::gui
