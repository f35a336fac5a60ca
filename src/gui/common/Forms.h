#pragma once

#include <QByteArray>
#include <QPointer>
#include <QWidget>
#include <utility>

namespace torrenta::gui {

// Whether a form lives with the open project (it reads or writes the bound
// project, so it goes when the project closes) or with the program.
enum class FormScope { Program, Project };

// Every dialog exists at most once. Showing a form creates it when it is not
// open (it deletes itself when closed) and otherwise brings the open one to
// the front unchanged. Dialogs are children of the host (the main window), so
// they stay above it and go when it goes.
class Forms {
  public:
    static void SetHost(QWidget* host);
    static QWidget* Host();

    // Shows the form; `arguments` follow the host in its constructor when it
    // has to be made. A form shown once for the project stays a project form.
    template <class F, class... Arguments>
    static F* Show(FormScope scope, Arguments&&... arguments) {
        F* form = Find<F>();
        if (form == nullptr) {
            form = new F(Host(), std::forward<Arguments>(arguments)...);
            form->setAttribute(Qt::WA_DeleteOnClose);
        }
        Register(F::staticMetaObject.className(), form, scope);
        Raise(form);
        return form;
    }

    template <class F>
    static F* Show() {
        return Show<F>(FormScope::Program);
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
    template <class F, class... Arguments>
    static F* Reopen(FormScope scope, Arguments&&... arguments) {
        Close<F>();
        return Show<F>(scope, std::forward<Arguments>(arguments)...);
    }

    // Closes every open form shown for the project (the project closes).
    static void CloseProjectForms();

    // Closes every open form (program exit).
    static void CloseAll();

  private:
    static void Register(const QByteArray& name, QWidget* form, FormScope scope);
    static QWidget* Lookup(const QByteArray& name);
    static void Raise(QWidget* form);
};

}  // namespace torrenta::gui
