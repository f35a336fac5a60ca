#include "common/Prompts.h"

#include <QFileDialog>
#include <QPushButton>

#include "common/FileLocations.h"

namespace torrenta::gui {

namespace {

Prompts* installed = nullptr;

}  // namespace

QMessageBox::StandardButton DialogPrompts::Message(QWidget* parent, const QString& text,
                                                   const QString& title, QMessageBox::Icon icon,
                                                   QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

int DialogPrompts::Choose(QWidget* parent, const QString& text, const QString& title,
                          const QStringList& choices) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Cancel, parent);
    QList<QAbstractButton*> buttons;
    for (const QString& choice : choices) {
        buttons.append(box.addButton(choice, QMessageBox::AcceptRole));
    }
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

QString DialogPrompts::SaveFileName(QWidget* parent, const QString& filter,
                                    const QString& defaultSuffix) {
    // A new project starts in the current folder; a report proposes the
    // project's own name.
    const QString start = defaultSuffix == QStringLiteral("rmt") ? DialogStartFolder()
                                                                 : ProposedSavePath(defaultSuffix);
    QFileDialog dialog(parent, QString(), start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    RememberFolder(dialog.selectedFiles().constFirst());
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::OpenFileName(QWidget* parent, const QString& filter) {
    QFileDialog dialog(parent, QString(), DialogStartFolder(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    RememberFolder(dialog.selectedFiles().constFirst());
    return dialog.selectedFiles().constFirst();
}

QAction* DialogPrompts::PopupMenu(QMenu* menu, const QPoint& globalPosition) {
    return menu->exec(globalPosition);
}

Prompts& CurrentPrompts() {
    static DialogPrompts dialogs;
    return installed != nullptr ? *installed : dialogs;
}

void InstallPrompts(Prompts* prompts) {
    installed = prompts;
}

void ShowMessage(QWidget* parent, const QString& text, const QString& title,
                 QMessageBox::Icon icon) {
    CurrentPrompts().Message(parent, text, title, icon, QMessageBox::Ok);
}

bool ConfirmDiscardEdits(QWidget* form) {
    const QString title = form->windowTitle();
    return CurrentPrompts().Message(
               form,
               QStringLiteral("The changes made in \"%1\" are not saved. Discard them?").arg(title),
               title, QMessageBox::Question,
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace torrenta::gui
