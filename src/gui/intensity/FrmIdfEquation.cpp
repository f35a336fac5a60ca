#include "intensity/FrmIdfEquation.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Forms.h"
#include "common/Prompts.h"
#include "editors/NumericValidator.h"
#include "intensity/FrmIntensityTable.h"
#include "rainfall/IdfEquation.h"
#include "text/NumberText.h"

namespace torrenta::gui {

namespace {

constexpr std::array<const char*, 7> kPeriodLabels = {"1 yr",   "2 yrs",  "5 yrs",  "10 yrs",
                                                      "25 yrs", "50 yrs", "100 yrs"};
constexpr std::array<const char*, 3> kCoefficients = {"B", "D", "E"};

}  // namespace

FrmIdfEquation::FrmIdfEquation(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmIdfEquation"));
    setWindowTitle(QStringLiteral("From Equation"));

    auto* grid = new QGridLayout;
    for (int which = 0; which < 3; ++which) {
        auto* label = NamedLabel(this, QStringLiteral("LblCoefficient%1").arg(which),
                                 QString::fromLatin1(kCoefficients[which]).toLower());
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, 0, which + 1);
    }
    for (int column = 0; column < 7; ++column) {
        grid->addWidget(NamedLabel(this, QStringLiteral("LblPeriod%1").arg(column),
                                   QString::fromLatin1(kPeriodLabels[column])),
                        column + 1, 0);
        for (int which = 0; which < 3; ++which) {
            // TxtB1 ... TxtE7, numbered like the editor's columns Text1 ... Text7.
            QLineEdit* box = NamedBox(
                this,
                QStringLiteral("Txt%1%2").arg(QLatin1String(kCoefficients[which])).arg(column + 1));
            box->setAlignment(Qt::AlignRight);
            MakeNumericBox(box);
            grid->addWidget(box, column + 1, which + 1);
            boxes_[which][column] = box;
        }
    }

    QPushButton* ok = NamedButton(this, QStringLiteral("CmdOK"), QStringLiteral("OK"));
    QPushButton* cancel = NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        NamedLabel(this, QStringLiteral("LblEquation"),
                   QStringLiteral("i = b / (Tc + d)^e   (i in in/hr, Tc in minutes)")));
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &FrmIdfEquation::CmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

void FrmIdfEquation::CmdOK_Click() {
    for (const auto& row : boxes_) {
        for (const QLineEdit* box : row) {
            if (box->text().isEmpty()) {
                ShowMessage(this, QStringLiteral("Please fill all fields"),
                            QStringLiteral("Error"));
                return;
            }
        }
    }
    IdfEquation equation;
    for (int column = 0; column < 7; ++column) {
        equation[column] = {LeadingNumber(boxes_[0][column]->text().toStdString()),
                            LeadingNumber(boxes_[1][column]->text().toStdString()),
                            LeadingNumber(boxes_[2][column]->text().toStdString())};
    }
    const bool made = RunCommand(this, [&] {
        const RainfallTable table = TableFromEquation(equation);
        Forms::Show<FrmIntensityTable>(FormScope::Project)->ShowRainfallTable(table, windowTitle());
    });
    if (made) {
        close();
    }
}

}  // namespace torrenta::gui
