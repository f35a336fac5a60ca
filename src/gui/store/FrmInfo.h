#pragma once

#include <QDialog>

class QLineEdit;

namespace torrenta::gui {

// Project Setup: the project's descriptive fields, the outlet node's name and
// the intensity table the project uses.
class FrmInfo : public QDialog {
    Q_OBJECT
  public:
    explicit FrmInfo(QWidget* parent);

    // Where the table selection dialog puts the chosen table.
    void SetIntensityTable(const QString& name);

  signals:
    // OK stored the project's setup: the project can be drawn now.
    void Saved();

  private:
    void CheckProjectInfo();
    void LoadProjectInfo();
    void CmdIList_Click();
    void CmdOK_Click();

    bool projectInfoExists_ = false;
    QLineEdit* txtProjectName_;
    QLineEdit* txtJobNumber_;
    QLineEdit* txtDesignDate_;
    QLineEdit* txtDesignEngineer_;
    QLineEdit* txtProjectManager_;
    QLineEdit* txtBasinName_;
    QLineEdit* txtITable_;
};

}  // namespace torrenta::gui
