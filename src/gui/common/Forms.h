#pragma once

#include <QByteArray>
#include <QPointer>
#include <QWidget>

namespace torrenta::gui {

// Every dialog exists at most once. Showing a form creates it when it is not
// open (it deletes itself when closed) and otherwise brings the open one to
// the front unchanged. Dialogs are children of the host (the main window), so
// they stay above it and go when it goes.
class Forms {
  public:
    static void SetHost(QWidget* host);
    static QWidget* Host();

    template <class F>
    static F* Show() {
        F* form = Find<F>();
        if (form == nullptr) {
            form = new F(Host());
            form->setAttribute(Qt::WA_DeleteOnClose);
            Register(F::staticMetaObject.className(), form);
        }
        Raise(form);
        return form;
    }

    // The open form, or nullptr.
    template <class F>
    static F* Find() {
        return qobject_cast<F*>(Lookup(F::staticMetaObject.className()));
    }

    template <class F>
    static void Close() {
        if (F* form = Find<F>()) {
            form->close();
        }
    }

    // Closes and shows a form again, so it reloads what it shows.
    template <class F>
    static F* Reopen() {
        Close<F>();
        return Show<F>();
    }

    // Closes every open form (program exit).
    static void CloseAll();

  private:
    static void Register(const QByteArray& name, QWidget* form);
    static QWidget* Lookup(const QByteArray& name);
    static void Raise(QWidget* form);
};

}  // namespace torrenta::gui
