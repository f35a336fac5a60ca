#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

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
    QPalette palette = box->palette();
    const QPalette standard;
    palette.setColor(QPalette::Base, standard.color(locked ? QPalette::Button : QPalette::Base));
    box->setPalette(palette);
}

}  // namespace torrenta::gui
