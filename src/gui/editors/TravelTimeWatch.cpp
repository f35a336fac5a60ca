#include "editors/TravelTimeWatch.h"

#include <QLineEdit>

namespace torrenta::gui {

TravelTimeWatch::TravelTimeWatch(QObject* parent, std::initializer_list<QLineEdit*> inputs,
                                 QLineEdit* tc)
    : QObject(parent) {
    // Any change counts, typed or handed over by a calculator or a list entry.
    for (QLineEdit* input : inputs) {
        connect(input, &QLineEdit::textChanged, this, [this] { stale_ = true; });
    }
    // Only the engineer's own typing: results written by Calculate do not count.
    connect(tc, &QLineEdit::textEdited, this, [this] {
        stale_ = false;
        typed_ = true;
    });
}

}  // namespace torrenta::gui
