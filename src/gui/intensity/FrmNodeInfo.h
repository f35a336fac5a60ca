#pragma once

#include <QDialog>

class QLineEdit;

namespace torrenta::gui {

// Basin Information: the outlet node's name and the table stored on it.
class FrmNodeInfo : public QDialog {
    Q_OBJECT
  public:
    explicit FrmNodeInfo(QWidget* parent);

  private:
    void LoadNode();
    void SaveNodeName();
    void CmdUpdate_Click();

    QLineEdit* txtNodeName_;
    QLineEdit* txtIntensityTable_;
};

}  // namespace torrenta::gui
