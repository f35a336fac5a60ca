#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "checks/DesignChecks.h"
#include "common/ElementCanvas.h"
#include "store/ElementRows.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace torrenta::gui {

class TravelTimeWatch;

// What the three element dialogs share, whatever the kind: an add dialog
// names the new element after the icon it will get and has the canvas place
// it; an update dialog loads the row of the icon pressed when it opened and
// rewrites that row, whichever icon is pressed meanwhile. Calculate and OK
// check the fields first ("Please fill all fields"); OK calculates what the
// kind calculates before saving, and always when an input the travel time
// depends on changed since it was loaded, calculated or typed; anything that
// refuses the input stops before an icon is placed or a row written.
class ElementDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Purpose { Add, Update };

  protected:
    // `canvas` is the canvas an add dialog adds to.
    ElementDialog(QWidget* parent, ElementKind kind, Purpose purpose, ElementCanvas* canvas,
                  const QString& okCaption, QMessageBox::Icon missingFieldsIcon);

    bool Adding() const { return purpose_ == Purpose::Add; }

    // Run by the kind's constructor once its boxes are laid out: the default
    // name of a new element or the stored row, then the watch on the travel
    // time's inputs.
    void Start(QLineEdit* name, const QString& nameWord, std::initializer_list<QLineEdit*> tcInputs,
               QLineEdit* tc);

    // A typed description of a surface or material that is no list entry
    // leaves Manning's n for the engineer to fill; typing an entry's text
    // gives that entry's n.
    static void FollowTypedDescription(QComboBox* combo, QLineEdit* n,
                                       std::function<QString(int entry)> nOfEntry);

    // The kind's part.
    virtual bool LoadRow(const std::string& projectPath, const std::string& tag) = 0;
    virtual bool FieldsFilled() const = 0;
    virtual void Calculate() = 0;
    // Completes the row for saving (calculating what needs it) with the
    // travel time forgotten when `stale`, shows the results and stores it.
    virtual void Save(bool stale) = 0;
    // The design checks of the inputs as the boxes hold them.
    virtual std::vector<DesignFinding> Checks() const = 0;

    // Inserts a new element through the canvas, or rewrites the loaded row.
    // When OK's own calculation (`calculated`) finds design checks the note
    // does not show yet, asks first; going back stores nothing.
    template <class Row>
    void Store(Row& row, bool calculated);

    QPushButton* cmdCalculate_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
    // The note under the travel time that Calculate fills with what a
    // reviewer would query; the kind places it below its Tc row.
    QLabel* lblChecks_;
    // "On the Tc flow path", on for a new element; the kind places it above
    // the note.
    QCheckBox* chkTcPath_;
    // Whether the Tc to be stored is the engineer's own (overland only; the
    // other kinds always calculate). Set by the kind's LoadRow and Save.
    bool loadedTcTyped_ = false;
    std::optional<bool> tcTyped_;
    TravelTimeWatch* tcWatch_ = nullptr;

  private:
    void ShowChecks(const std::vector<DesignFinding>& findings);
    bool SaveDespiteChecks(const std::vector<DesignFinding>& findings);
    void LoadStoredRow();
    bool OnTcPathChecked() const;
    bool CheckFields();
    void CmdCalculate_Click();
    void CmdOK_Click();
    void StoreNew(const ElementCanvas::AddRow& add);
    void StoreUpdate(
        const std::function<void(const std::string& projectPath, const std::string& tag)>& update);

    ElementKind kind_;
    Purpose purpose_;
    ElementCanvas* canvas_;
    QMessageBox::Icon missingFieldsIcon_;
    // The row an update dialog rewrites: the icon pressed when it opened.
    QString tag_;
    // Whether the loaded element was on the path: an update writes the flag
    // only when the engineer changed it.
    bool loadedOnTcPath_ = true;
    // What the note under the travel time shows now.
    std::vector<DesignFinding> shownChecks_;
    // Set when the engineer chose to go back instead of saving past a check.
    bool wentBack_ = false;
};

}  // namespace torrenta::gui

#include "common/Session.h"
#include "editing/ElementAdding.h"
#include "editing/ElementEditing.h"
#include "store/Connection.h"
#include "store/TcPath.h"
#include "store/TypedTc.h"

namespace torrenta::gui {

template <class Row>
void ElementDialog::Store(Row& row, bool calculated) {
    // Before the canvas places an icon for a row it would refuse.
    RequireOneLineTexts(row);
    if (calculated && !SaveDespiteChecks(CheckElement(row))) {
        return;
    }
    const bool onPath = OnTcPathChecked();
    if (Adding()) {
        StoreNew([&](int index, IconPosition position) {
            return AddElement(CurrentSession().ProjectPath, row, index, position, onPath,
                              tcTyped_.value_or(false));
        });
    } else {
        StoreUpdate([&](const std::string& projectPath, const std::string& tag) {
            WriteTransaction transaction(projectPath, "Cannot save the element");
            UpdateElementRow(projectPath, tag, row);
            if (onPath != loadedOnTcPath_) {
                SetOnTcPath(projectPath, tag, onPath);
            }
            if (tcTyped_) {
                SetTcTyped(projectPath, tag, *tcTyped_);
            }
            transaction.Commit();
        });
    }
}

}  // namespace torrenta::gui
