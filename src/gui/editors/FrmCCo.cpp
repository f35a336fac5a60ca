#include "editors/FrmCCo.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/FormWidgets.h"
#include "common/Forms.h"
#include "common/QtText.h"
#include "editors/NumericValidator.h"
#include "editors/OverlandFlowDialog.h"
#include "hydraulics/Tables.h"

namespace torrenta::gui {

namespace {

const QColor kLinkBlue(0, 0, 255);

QGroupBox* Frame(QWidget* parent, const QString& name, const QString& title) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    return frame;
}

QLabel* Bound(QGroupBox* frame, const QString& name) {
    QLabel* label = NamedLabel(frame, name, QString());
    label->setAlignment(Qt::AlignCenter);
    label->setCursor(Qt::PointingHandCursor);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0.000")) + 16);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(label);
    return label;
}

}  // namespace

FrmCCo::FrmCCo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmCCo"));
    setWindowTitle(QStringLiteral("Run-off Coefficients"));

    QGroupBox* frame1 = Frame(this, QStringLiteral("Frame1"), QStringLiteral("Land Use"));
    combo1_ = new QComboBox(frame1);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    for (const LandUse& landUse : kLandUses) {
        combo1_->addItem(ToQ(landUse.text));
    }
    combo1_->setCurrentIndex(-1);
    auto* frame1Layout = new QVBoxLayout(frame1);
    frame1Layout->addWidget(combo1_);

    frame2_ = Frame(this, QStringLiteral("Frame2"), QStringLiteral("Min"));
    label2_ = Bound(frame2_, QStringLiteral("Label2"));
    frame3_ = Frame(this, QStringLiteral("Frame3"), QStringLiteral("Max"));
    label3_ = Bound(frame3_, QStringLiteral("Label3"));
    auto* bounds = new QHBoxLayout;
    bounds->addWidget(frame2_);
    bounds->addWidget(frame3_);

    txtCVal_ = NamedBox(this, QStringLiteral("TxtCVal"));
    MakeNumericBox(txtCVal_);
    txtCVal_->setFixedWidth(txtCVal_->fontMetrics().horizontalAdvance(QStringLiteral("0.0000")) +
                            24);
    QLabel* label1 =
        NamedLabel(this, QStringLiteral("Label1"), QStringLiteral("Average C"), txtCVal_);
    command1_ = NamedButton(this, QStringLiteral("Command1"), QStringLiteral("Add"));
    auto* result = new QHBoxLayout;
    result->addWidget(label1);
    result->addWidget(txtCVal_);
    result->addStretch(1);
    result->addWidget(command1_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame1);
    layout->addLayout(bounds);
    layout->addLayout(result);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QWidget* watched :
         std::initializer_list<QWidget*>{this, frame2_, frame3_, label2_, label3_}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
    setTabOrder(combo1_, txtCVal_);
    setTabOrder(txtCVal_, command1_);

    SetConfirmButton(this, command1_);

    connect(combo1_, &QComboBox::currentIndexChanged, this, &FrmCCo::Combo1_Click);
    connect(command1_, &QPushButton::clicked, this, &FrmCCo::Command1_Click);
    combo1_->setCurrentIndex(kDefaultLandUse);
}

bool FrmCCo::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove:
            // A move the label or frame does not take would travel on to its
            // parents and undo the marking, so each one stops where it is handled.
            if (watched == label2_ || watched == label3_) {
                MarkBound(static_cast<QLabel*>(watched), true);
                return true;
            }
            if (watched == frame2_ || watched == frame3_) {
                MarkBound(watched == frame2_ ? label2_ : label3_, false);
                return true;
            }
            if (watched == this) {
                MarkBound(label2_, false);
                MarkBound(label3_, false);
            }
            break;
        case QEvent::Leave:
            if (watched == label2_ || watched == label3_) {
                MarkBound(static_cast<QLabel*>(watched), false);
            }
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                if (watched == label2_) {
                    Label2_Click();
                } else if (watched == label3_) {
                    Label3_Click();
                }
            }
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void FrmCCo::MarkBound(QLabel* label, bool marked) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     marked ? kLinkBlue : QApplication::palette().color(QPalette::WindowText));
    label->setPalette(palette);
}

void FrmCCo::Combo1_Click(int index) {
    if (index < 0 || index >= static_cast<int>(kLandUses.size())) {
        return;
    }
    const LandUse& landUse = kLandUses[static_cast<std::size_t>(index)];
    label2_->setText(ToQ(landUse.lower));
    label3_->setText(ToQ(landUse.upper));
    txtCVal_->setText(ToQ(ProposedC(landUse)));
}

void FrmCCo::Label2_Click() {
    txtCVal_->setText(label2_->text());
}

void FrmCCo::Label3_Click() {
    txtCVal_->setText(label3_->text());
}

void FrmCCo::Command1_Click() {
    OverlandFlowDialog* target = Forms::Find<FrmBasInfo>();
    if (target == nullptr) {
        target = Forms::Find<FrmBasUpdate>();
    }
    if (target != nullptr) {
        target->SetLandUse(combo1_->currentText(), txtCVal_->text());
    }
    close();
}

}  // namespace torrenta::gui
