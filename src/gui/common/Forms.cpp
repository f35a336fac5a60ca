#include "common/Forms.h"

#include <QHash>

namespace torrenta::gui {

namespace {

struct OpenForm {
    QPointer<QWidget> form;
    FormScope scope = FormScope::Program;
};

QPointer<QWidget>& HostSlot() {
    static QPointer<QWidget> host;
    return host;
}

QHash<QByteArray, OpenForm>& OpenForms() {
    static QHash<QByteArray, OpenForm> forms;
    return forms;
}

void CloseWhere(bool (*chosen)(const OpenForm&)) {
    const auto forms = OpenForms().values();
    for (const OpenForm& open : forms) {
        if (open.form != nullptr && chosen(open)) {
            open.form->close();
        }
    }
}

}  // namespace

void Forms::SetHost(QWidget* host) {
    HostSlot() = host;
}

QWidget* Forms::Host() {
    return HostSlot();
}

void Forms::Register(const QByteArray& name, QWidget* form, FormScope scope) {
    OpenForm& open = OpenForms()[name];
    if (open.form != form) {
        open = {form, scope};
    } else if (scope == FormScope::Project) {
        open.scope = scope;
    }
}

QWidget* Forms::Lookup(const QByteArray& name) {
    QWidget* form = OpenForms().value(name).form;
    // A closed form may wait for its deletion; it no longer counts as open.
    return (form != nullptr && form->isVisible()) ? form : nullptr;
}

void Forms::Raise(QWidget* form) {
    form->show();
    form->raise();
    form->activateWindow();
}

void Forms::CloseProjectForms() {
    CloseWhere([](const OpenForm& open) { return open.scope == FormScope::Project; });
}

void Forms::CloseAll() {
    CloseWhere([](const OpenForm&) { return true; });
}

}  // namespace torrenta::gui
