#pragma once

#include <QObject>
#include <initializer_list>

class QLineEdit;

namespace torrenta::gui {

// Whether the travel time in an element dialog still follows from its inputs.
// It goes stale when an input it depends on changes after the dialog loaded or
// after the last Calculate, and is fresh again after Calculate or once the
// engineer types a Tc by hand. OK calculates a stale one before saving, so no
// row keeps a travel time its own inputs do not give.
class TravelTimeWatch : public QObject {
    Q_OBJECT
  public:
    TravelTimeWatch(QObject* parent, std::initializer_list<QLineEdit*> inputs, QLineEdit* tc);

    bool Stale() const { return stale_; }
    void Calculated() {
        stale_ = false;
        typed_ = false;
    }
    // The Tc box holds the engineer's own figure: typed into it, or loaded
    // from a row whose Tc was typed, and not calculated since.
    bool Typed() const { return typed_; }
    void SetTyped(bool typed) { typed_ = typed; }

  private:
    bool stale_ = false;
    bool typed_ = false;
};

}  // namespace torrenta::gui
