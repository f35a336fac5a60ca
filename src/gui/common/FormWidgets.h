#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <initializer_list>

namespace torrenta::gui {

// Small builders for the named controls every dialog is made of.

inline QLineEdit* NamedBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

inline QPushButton* NamedButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

inline QLabel* NamedLabel(QWidget* parent, const QString& name, const QString& caption,
                          QWidget* buddy = nullptr) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    if (buddy != nullptr) {
        label->setBuddy(buddy);
    }
    return label;
}

// A box the user cannot type into, shown on the button face so it reads as a
// value picked elsewhere (with "?"), not a field to fill.
inline void LockBox(QLineEdit* box, bool locked) {
    box->setReadOnly(locked);
    // Tab passes over it; a click still reaches it, to select and copy.
    box->setFocusPolicy(locked ? Qt::ClickFocus : Qt::StrongFocus);
    QPalette palette = box->palette();
    const QPalette standard;
    palette.setColor(QPalette::Base, standard.color(locked ? QPalette::Button : QPalette::Base));
    box->setPalette(palette);
}

// Results a dialog computes, never typed: they read as part of the window.
inline void MakeDisplayBox(QLineEdit* box) {
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
}

// Enter confirms and Escape cancels, as in every desktop dialog: `confirm`
// (OK, Add or Update) is the default button that Enter presses wherever the
// focus is, except on another button, which Enter then presses itself.
// Escape closes the dialog the way its Cancel button does, saving nothing.
inline void SetConfirmButton(QDialog* dialog, QPushButton* confirm) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        button->setAutoDefault(true);
    }
    confirm->setDefault(true);
}

// Tab moves through the widgets in the order given.
inline void SetTabChain(std::initializer_list<QWidget*> chain) {
    QWidget* previous = nullptr;
    for (QWidget* widget : chain) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

}  // namespace torrenta::gui
