#pragma once

#include <QList>
#include <QMenu>
#include <QMessageBox>
#include <QString>

#include "common/Prompts.h"

namespace torrenta::test {

// Answers the program's message boxes and file dialogs from a script and keeps
// what was asked, so a test never blocks on a modal window. Installed for its
// lifetime.
class ScriptedPrompts : public gui::Prompts {
  public:
    struct Shown {
        QString text;
        QString title;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    ScriptedPrompts() { gui::InstallPrompts(this); }
    ~ScriptedPrompts() override { gui::InstallPrompts(nullptr); }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    // Answers for the next message boxes, in order; without one the box gets
    // its first button among Ok, Yes, Retry.
    QList<QMessageBox::StandardButton> answers;
    // File names for the next file dialogs, in order; "" answers Cancel.
    QList<QString> fileNames;

    // The entry (by object name) to pick in the next pop-up menus; "" dismisses.
    QList<QString> menuChoices;
    // The entries' captions of each pop-up menu shown.
    QList<QStringList> menus;

    QList<Shown> messages;
    QList<QString> fileFilters;

    // Answers for the next choices asked, as indexes (-1 answers Cancel);
    // without one the first choice is taken. Each question asked is kept
    // with its choices.
    QList<int> choiceAnswers;
    struct Asked {
        QString text;
        QStringList choices;
    };
    QList<Asked> choicesAsked;

    int Choose(QWidget*, const QString& text, const QString&, const QStringList& choices) override {
        choicesAsked.append({text, choices});
        return choiceAnswers.isEmpty() ? 0 : choiceAnswers.takeFirst();
    }

    QMessageBox::StandardButton Message(QWidget*, const QString& text, const QString& title,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) override {
        messages.append({text, title, icon, buttons});
        if (!answers.isEmpty()) {
            return answers.takeFirst();
        }
        for (auto button : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Retry}) {
            if (buttons.testFlag(button)) {
                return button;
            }
        }
        return QMessageBox::NoButton;
    }

    QString SaveFileName(QWidget*, const QString& filter, const QString&) override {
        fileFilters.append(filter);
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }

    QString OpenFileName(QWidget*, const QString& filter) override {
        fileFilters.append(filter);
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }

    QAction* PopupMenu(QMenu* menu, const QPoint&) override {
        QStringList captions;
        for (const QAction* action : menu->actions()) {
            captions.append(action->text());
        }
        menus.append(captions);
        const QString choice = menuChoices.isEmpty() ? QString() : menuChoices.takeFirst();
        QAction* chosen = choice.isEmpty() ? nullptr : menu->findChild<QAction*>(choice);
        if (chosen != nullptr && chosen->isEnabled()) {
            chosen->trigger();
            return chosen;
        }
        return nullptr;
    }

    QString LastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
};

}  // namespace torrenta::test
