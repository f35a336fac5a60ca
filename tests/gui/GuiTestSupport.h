#pragma once

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/Forms.h"
#include "common/QtText.h"
#include "common/Session.h"

namespace torrenta::test {

// Controls are found by the names users and tests know them by.
template <class T>
T* Named(QObject* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    if (child == nullptr) {
        qWarning("no %s named %s under %s", T::staticMetaObject.className(), qPrintable(name),
                 qPrintable(parent->objectName()));
    }
    return child;
}

inline void Click(QWidget* form, const QString& button) {
    QPushButton* target = Named<QPushButton>(form, button);
    QVERIFY(target != nullptr);
    QTest::mouseClick(target, Qt::LeftButton);
}

inline void Type(QWidget* form, const QString& box, const QString& text) {
    QLineEdit* target = Named<QLineEdit>(form, box);
    QVERIFY(target != nullptr);
    target->setFocus();
    target->selectAll();
    QTest::keyClicks(target, text);
}

inline QString Text(QWidget* form, const QString& box) {
    QLineEdit* target = Named<QLineEdit>(form, box);
    return target != nullptr ? target->text() : QStringLiteral("<missing>");
}

inline void Trigger(QObject* window, const QString& action) {
    QAction* target = Named<QAction>(window, action);
    QVERIFY(target != nullptr);
    target->trigger();
}

// Picks `name` in a selection dialog's list and confirms it.
inline void Choose(QWidget* dialog, const QString& name) {
    QListWidget* list = Named<QListWidget>(dialog, QStringLiteral("List1"));
    QVERIFY(list != nullptr);
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    list->setCurrentItem(found.constFirst());
    Click(dialog, QStringLiteral("CmdOK"));
}

// Lets closed forms delete themselves.
inline void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A fresh run: no project bound, the given application folder.
inline void ResetSession(const std::string& appFolder) {
    gui::CurrentSession() = gui::Session{};
    gui::CurrentSession().AppFolder = appFolder;
}

}  // namespace torrenta::test
