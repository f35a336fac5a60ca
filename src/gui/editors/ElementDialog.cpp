#include "editors/ElementDialog.h"

#include <QLabel>
#include <QStringList>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>

#include "Errors.h"
#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "editors/TravelTimeWatch.h"
#include "store/TcPath.h"

namespace torrenta::gui {

ElementDialog::ElementDialog(QWidget* parent, ElementKind kind, Purpose purpose,
                             ElementCanvas* canvas, const QString& okCaption,
                             QMessageBox::Icon missingFieldsIcon)
    : QDialog(parent),
      kind_(kind),
      purpose_(purpose),
      canvas_(canvas),
      missingFieldsIcon_(missingFieldsIcon) {
    cmdCalculate_ = NamedButton(this, QStringLiteral("CmdCalculate"), QStringLiteral("Calculate"));
    cmdOK_ = NamedButton(this, QStringLiteral("CmdOK"), okCaption);
    cmdCancel_ = NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));
    lblChecks_ = new QLabel(this);
    lblChecks_->setObjectName(QStringLiteral("LblChecks"));
    lblChecks_->setWordWrap(true);
    lblChecks_->setTextFormat(Qt::PlainText);
    lblChecks_->setStyleSheet(QStringLiteral("color: #8a5300;"));
    lblChecks_->hide();
    chkTcPath_ = new QCheckBox(QStringLiteral("On the Tc flow path"), this);
    chkTcPath_->setObjectName(QStringLiteral("ChkTcPath"));
    chkTcPath_->setChecked(true);
    connect(cmdCalculate_, &QPushButton::clicked, this, &ElementDialog::CmdCalculate_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &ElementDialog::CmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QWidget::close);
}

void ElementDialog::Start(QLineEdit* name, const QString& nameWord,
                          std::initializer_list<QLineEdit*> tcInputs, QLineEdit* tc) {
    SetConfirmButton(this, cmdOK_);
    if (Adding()) {
        // The name carries the index the new icon will get, fixed now even if
        // other elements are added while this dialog is open.
        const int arrayCount = canvas_ != nullptr ? canvas_->ArrayCount(kind_) : 1;
        name->setText(nameWord + QLatin1Char(' ') + QString::number(arrayCount));
    } else {
        tag_ = CurrentSession().SelectedIcon;
        LoadStoredRow();
    }
    tcWatch_ = new TravelTimeWatch(this, tcInputs, tc);
    tcWatch_->SetTyped(loadedTcTyped_);
}

void ElementDialog::LoadStoredRow() {
    bool found = false;
    const bool read = RunCommand(
        parentWidget(), [&] { found = LoadRow(CurrentSession().ProjectPath, FromQ(tag_)); });
    if (found) {
        RunCommand(parentWidget(), [&] {
            loadedOnTcPath_ = !ReadOffTcPath(CurrentSession().ProjectPath).contains(FromQ(tag_));
        });
        chkTcPath_->setChecked(loadedOnTcPath_);
        return;
    }
    if (read) {
        ShowMessage(parentWidget(),
                    QStringLiteral("The element %1 is no longer in the project.").arg(tag_),
                    QStringLiteral("Error"), QMessageBox::Warning);
    }
    // The dialog is still being made; it goes as soon as it has been shown.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void ElementDialog::FollowTypedDescription(QComboBox* combo, QLineEdit* n,
                                           std::function<QString(int entry)> nOfEntry) {
    // Only the engineer's typing: a stored description shown on loading keeps
    // its stored n.
    connect(combo->lineEdit(), &QLineEdit::textEdited, n,
            [combo, n, nOfEntry = std::move(nOfEntry)](const QString& text) {
                const int entry = combo->findText(text, Qt::MatchExactly);
                n->setText(entry >= 0 ? nOfEntry(entry) : QString());
            });
}

bool ElementDialog::OnTcPathChecked() const {
    return chkTcPath_->isChecked();
}

bool ElementDialog::CheckFields() {
    if (FieldsFilled()) {
        return true;
    }
    ShowMessage(this, QStringLiteral("Please fill all fields"), QStringLiteral("Error"),
                missingFieldsIcon_);
    return false;
}

void ElementDialog::CmdCalculate_Click() {
    if (!CheckFields()) {
        return;
    }
    if (RunCommand(this, [&] { Calculate(); })) {
        tcWatch_->Calculated();
        // A note, not a message box: Calculate never stops the engineer.
        ShowChecks(Checks());
    }
}

void ElementDialog::ShowChecks(const std::vector<DesignFinding>& findings) {
    QStringList lines;
    for (const DesignFinding& finding : findings) {
        lines << QStringLiteral("Check %1: %2").arg(ToQ(finding.code), ToQ(finding.message));
    }
    lblChecks_->setText(lines.join(u'\n'));
    lblChecks_->setVisible(!lines.isEmpty());
    shownChecks_ = findings;
}

bool ElementDialog::SaveDespiteChecks(const std::vector<DesignFinding>& findings) {
    // What the note already shows has been read: OK saves without asking.
    if (findings.empty() || findings == shownChecks_) {
        return true;
    }
    // The boxes hold OK's results now, so going back shows what was found.
    tcWatch_->Calculated();
    ShowChecks(findings);
    const QMessageBox::StandardButton answer = CurrentPrompts().Message(
        this,
        lblChecks_->text() +
            QStringLiteral("\n\nSave anyway (Yes), or go back to the dialog (No)?"),
        windowTitle(), QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
    wentBack_ = answer != QMessageBox::Yes;
    return !wentBack_;
}

void ElementDialog::CmdOK_Click() {
    if (!CheckFields()) {
        return;
    }
    wentBack_ = false;
    if (RunCommand(this, [&] { Save(tcWatch_->Stale()); }) && !wentBack_) {
        close();
    }
}

void ElementDialog::StoreNew(const ElementCanvas::AddRow& add) {
    if (canvas_ == nullptr) {
        throw TorrentaError("No project is open on the canvas to place the element on.");
    }
    canvas_->AddNewElement(kind_, add);
}

void ElementDialog::StoreUpdate(
    const std::function<void(const std::string& projectPath, const std::string& tag)>& update) {
    update(CurrentSession().ProjectPath, FromQ(tag_));
}

}  // namespace torrenta::gui
