#pragma once

#include <QMenu>
#include <QMessageBox>
#include <QString>
#include <QStringList>

namespace torrenta::gui {

// Every message box and file dialog of the program goes through this seam, so
// tests can answer them without a modal window blocking the run.
class Prompts {
  public:
    virtual ~Prompts() = default;

    virtual QMessageBox::StandardButton Message(QWidget* parent, const QString& text,
                                                const QString& title, QMessageBox::Icon icon,
                                                QMessageBox::StandardButtons buttons) = 0;

    // A question whose answer is one of `choices` (a button each, and
    // Cancel): the index of the one chosen, -1 for Cancel.
    virtual int Choose(QWidget* parent, const QString& text, const QString& title,
                       const QStringList& choices) = 0;

    // A save-file dialog that asks before replacing a file; "" when cancelled.
    virtual QString SaveFileName(QWidget* parent, const QString& filter,
                                 const QString& defaultSuffix) = 0;

    // An open-file dialog for an existing file; "" when cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& filter) = 0;

    // Shows a pop-up menu at a screen position and runs the chosen entry;
    // returns it (nullptr when the menu was dismissed).
    virtual QAction* PopupMenu(QMenu* menu, const QPoint& globalPosition) = 0;
};

// The modal Qt dialogs used by the running program.
class DialogPrompts : public Prompts {
  public:
    QMessageBox::StandardButton Message(QWidget* parent, const QString& text, const QString& title,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) override;
    int Choose(QWidget* parent, const QString& text, const QString& title,
               const QStringList& choices) override;
    QString SaveFileName(QWidget* parent, const QString& filter,
                         const QString& defaultSuffix) override;
    QString OpenFileName(QWidget* parent, const QString& filter) override;
    QAction* PopupMenu(QMenu* menu, const QPoint& globalPosition) override;
};

// The prompts in use (DialogPrompts unless a test installed its own).
Prompts& CurrentPrompts();
// Installs `prompts` (not owned); nullptr restores the dialogs.
void InstallPrompts(Prompts* prompts);

// Shorthands for the two kinds of box the program shows most.
void ShowMessage(QWidget* parent, const QString& text, const QString& title,
                 QMessageBox::Icon icon = QMessageBox::NoIcon);

// Asks whether what was typed into `form` and not saved may be thrown away
// (the form is about to be opened again to show other data); true for Yes.
bool ConfirmDiscardEdits(QWidget* form);

}  // namespace torrenta::gui
