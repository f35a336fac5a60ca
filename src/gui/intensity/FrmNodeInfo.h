#pragma once

#include <QDialog>

class QLineEdit;

namespace torrenta::gui {

// Basin Information: the outlet node's name and the table stored on it.
class FrmNodeInfo : public QDialog {
    Q_OBJECT
  public:
    explicit FrmNodeInfo(QWidget* parent);

    // True when the name shown is the one loaded, or the user agrees to lose
    // what was typed.
    bool MayDiscardEdits();

  private:
    void LoadNode();
    void SaveNodeName();
    void CmdUpdate_Click();

    QLineEdit* txtNodeName_;
    QLineEdit* txtIntensityTable_;
    QString loadedName_;
};

}  // namespace torrenta::gui
