#pragma once

#include <QMenu>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "common/Prompts.h"

namespace torrenta::bench {

// A measured run must never wait on a modal window: every message box is
// answered at once and kept, so the program can report it as a failure, and
// every file dialog is cancelled. Installed for its lifetime.
class BenchPrompts : public gui::Prompts {
  public:
    BenchPrompts() { gui::InstallPrompts(this); }
    ~BenchPrompts() override { gui::InstallPrompts(nullptr); }
    BenchPrompts(const BenchPrompts&) = delete;
    BenchPrompts& operator=(const BenchPrompts&) = delete;

    QStringList messages;

    QMessageBox::StandardButton Message(QWidget*, const QString& text, const QString& title,
                                        QMessageBox::Icon,
                                        QMessageBox::StandardButtons buttons) override {
        messages.append(title + QStringLiteral(": ") + text);
        for (auto button : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Retry}) {
            if (buttons.testFlag(button)) {
                return button;
            }
        }
        return QMessageBox::NoButton;
    }
    // A question with several answers is cancelled, as a file dialog is.
    int Choose(QWidget*, const QString& text, const QString& title, const QStringList&) override {
        messages.append(title + QStringLiteral(": ") + text);
        return -1;
    }
    QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString OpenFileName(QWidget*, const QString&) override { return {}; }
    QAction* PopupMenu(QMenu*, const QPoint&) override { return nullptr; }
};

}  // namespace torrenta::bench
