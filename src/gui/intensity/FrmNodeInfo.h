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

    // The table picked with "?": shown here, stored with Update.
    void SetChosenTable(const QString& name);
    QString ChosenTable() const;

  private:
    void LoadNode();
    void SaveNodeName();
    void CmdUpdate_Click();

    QLineEdit* txtNodeName_;
    QLineEdit* txtIntensityTable_;
    QString loadedName_;
    QString loadedTable_;
};

}  // namespace torrenta::gui
