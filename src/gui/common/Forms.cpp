#include "common/Forms.h"

#include <QHash>

namespace torrenta::gui {

namespace {

QPointer<QWidget>& HostSlot() {
    static QPointer<QWidget> host;
    return host;
}

QHash<QByteArray, QPointer<QWidget>>& OpenForms() {
    static QHash<QByteArray, QPointer<QWidget>> forms;
    return forms;
}

}  // namespace

void Forms::SetHost(QWidget* host) {
    HostSlot() = host;
}

QWidget* Forms::Host() {
    return HostSlot();
}

void Forms::Register(const QByteArray& name, QWidget* form) {
    OpenForms().insert(name, form);
}

QWidget* Forms::Lookup(const QByteArray& name) {
    QWidget* form = OpenForms().value(name);
    // A closed form may wait for its deletion; it no longer counts as open.
    return (form != nullptr && form->isVisible()) ? form : nullptr;
}

void Forms::Raise(QWidget* form) {
    form->show();
    form->raise();
    form->activateWindow();
}

void Forms::CloseAll() {
    const auto forms = OpenForms().values();
    for (const QPointer<QWidget>& form : forms) {
        if (form != nullptr) {
            form->close();
        }
    }
}

}  // namespace torrenta::gui
