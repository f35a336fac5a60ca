#pragma once

#include <QDialog>

namespace torrenta::gui {

// About: the emblem, the version, what the program does and who makes it.
class FrmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit FrmAbout(QWidget* parent);

  private:
    void Command1_Click();
};

}  // namespace torrenta::gui
