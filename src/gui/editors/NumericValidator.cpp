#include "editors/NumericValidator.h"

#include <QLineEdit>

#include "text/NumericKeyFilter.h"

namespace torrenta::gui {

QValidator::State NumericValidator::validate(QString& input, int&) const {
    for (const QChar character : input) {
        if (NumericKeyFilter(character.unicode()) == 0) {
            return Invalid;
        }
    }
    return Acceptable;
}

void MakeNumericBox(QLineEdit* box) {
    box->setValidator(new NumericValidator(box));
}

}  // namespace torrenta::gui
