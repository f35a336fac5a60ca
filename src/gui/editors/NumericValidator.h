#pragma once

#include <QValidator>

class QLineEdit;

namespace torrenta::gui {

// A numeric box takes digits and decimal points only, whether typed or pasted:
// a key the numeric key filter discards is dropped, and a paste holding such a
// character is refused whole rather than silently losing part of a number.
class NumericValidator : public QValidator {
    Q_OBJECT
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Makes `box` a numeric box.
void MakeNumericBox(QLineEdit* box);

}  // namespace torrenta::gui
