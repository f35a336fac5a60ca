#pragma once

#include <QDialog>
#include <string>

class QShowEvent;

class QListWidget;
class QPushButton;

namespace torrenta::gui {

// The "Select Intensity Table" window both table choices share: the catalogue
// of intensity tables in a list, OK once a name is picked, Cancel.
class TableSelectionDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TableSelectionDialog(QWidget* parent);

    // Selects `name` in the list when it is there (the choice the asker holds).
    void SelectCurrent(const QString& name);

  protected:
    // What the choice of `name` does; runs inside the command boundary, and
    // the window closes when it succeeds. False when the user withdrew the
    // choice: nothing changed and the window stays open.
    virtual bool TakeSelection(const std::string& name) = 0;

    // The table chosen now, which the list selects when it opens.
    virtual std::string CurrentChoice() const;

    void showEvent(QShowEvent* event) override;

  private:
    void FillTableList();
    void CmdOK_Click();

    QListWidget* list1_;
    QPushButton* cmdOK_;
};

}  // namespace torrenta::gui
