#include "editors/ShallowFlowDialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <initializer_list>
#include <string>

#include "Errors.h"
#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"
#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "editing/ElementEditing.h"
#include "editors/NumericValidator.h"
#include "hydraulics/TravelTime.h"

namespace torrenta::gui {
ShallowFlowDialog::ShallowFlowDialog(QWidget* parent, Purpose purpose)
    : QDialog(parent), purpose_(purpose) {
    const bool adding = purpose_ == Purpose::Add;
    setObjectName(adding ? QStringLiteral("FrmSurfaceAddInfo")
                         : QStringLiteral("FrmSurfaceUpdateInfo"));
    setWindowTitle(adding ? QStringLiteral("Add Surface Flow")
                          : QStringLiteral("Update Surface Flow"));

    txtSurfName_ = NamedBox(this, QStringLiteral("TxtSurfName"));
    txtLength_ = NamedBox(this, QStringLiteral("TxtLength"));
    txtSlope_ = NamedBox(this, QStringLiteral("TxtSlope"));
    cmbType_ = new QComboBox(this);
    cmbType_->setObjectName(QStringLiteral("CmbType"));
    txtVelocity_ = NamedBox(this, QStringLiteral("TxtVelocity"));
    txtTc_ = NamedBox(this, QStringLiteral("TxtTc"));
    cmdCalculate_ = NamedButton(this, QStringLiteral("CmdCalculate"), QStringLiteral("Calculate"));
    cmdOK_ = NamedButton(this, QStringLiteral("CmdOK"),
                         adding ? QStringLiteral("Add") : QStringLiteral("Update"));
    cmdCancel_ = NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));

    for (QLineEdit* box : {txtLength_, txtSlope_, txtTc_}) {
        MakeNumericBox(box);
    }
    MakeDisplayBox(txtVelocity_);
    for (SurfaceType type : {SurfaceType::Unpaved, SurfaceType::Paved}) {
        cmbType_->addItem(ToQ(SurfaceTypeText(type)));
    }
    cmbType_->setCurrentIndex(0);
    BuildLayout();

    connect(cmdCalculate_, &QPushButton::clicked, this, &ShallowFlowDialog::CmdCalculate_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &ShallowFlowDialog::CmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QWidget::close);

    // The default name carries the index the next icon gets, template included.
    const FrmDraw* canvas = OpenCanvas();
    const int arrayCount = canvas != nullptr ? canvas->ArrayCount(ElementKind::Shallow) : 1;
    txtSurfName_->setText(QStringLiteral("Surface ") + QString::number(arrayCount));

    if (!adding) {
        tag_ = CurrentSession().SelectedIcon;
        LoadSurfaceRow();
    }
}

void ShallowFlowDialog::BuildLayout() {
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& labelName, const QString& caption, QWidget* field) {
        grid->addWidget(NamedLabel(this, labelName, caption, field), row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    addRow(QStringLiteral("Label1"), QStringLiteral("Name"), txtSurfName_);
    addRow(QStringLiteral("Label2"), QStringLiteral("Length (ft)"), txtLength_);
    addRow(QStringLiteral("Label3"), QStringLiteral("Slope"), txtSlope_);
    addRow(QStringLiteral("Label4"), QStringLiteral("Type"), cmbType_);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, row++, 0, 1, 2);
    addRow(QStringLiteral("Label5"), QStringLiteral("Velocity (fps)"), txtVelocity_);
    addRow(QStringLiteral("Label6"), QStringLiteral("Tc (min)"), txtTc_);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCalculate_);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    SetTabChain(
        {txtSurfName_, txtLength_, txtSlope_, cmbType_, txtTc_, cmdCalculate_, cmdOK_, cmdCancel_});
}

SurfaceRow ShallowFlowDialog::RowFromBoxes() const {
    SurfaceRow row;
    row.SurfName = FromQ(txtSurfName_->text());
    row.SurfLength = FromQ(txtLength_->text());
    row.SurfSlope = FromQ(txtSlope_->text());
    row.SurfType = FromQ(cmbType_->currentText());
    row.SurfVelocity = FromQ(txtVelocity_->text());
    row.SurfTc = FromQ(txtTc_->text());
    return row;
}

void ShallowFlowDialog::ShowResults(const SurfaceRow& row) {
    txtVelocity_->setText(ToQ(row.SurfVelocity));
    txtTc_->setText(ToQ(row.SurfTc));
}

bool ShallowFlowDialog::ShallowFieldsFilled(const SurfaceRow& row) {
    if (MissingFields(row).empty()) {
        return true;
    }
    ShowMessage(this, QStringLiteral("Please fill all fields"), QStringLiteral("Error"),
                QMessageBox::Information);
    return false;
}

void ShallowFlowDialog::LoadSurfaceRow() {
    std::optional<SurfaceRow> stored;
    const bool read = RunCommand(parentWidget(), [&] {
        stored = LoadElementRow<SurfaceRow>(CurrentSession().ProjectPath, FromQ(tag_));
    });
    if (read && !stored) {
        ShowMessage(parentWidget(),
                    QStringLiteral("The element %1 is no longer in the project.").arg(tag_),
                    QStringLiteral("Error"), QMessageBox::Critical);
    }
    if (!stored) {
        // The dialog is still being made; it goes as soon as it has been shown.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    txtSurfName_->setText(ToQ(stored->SurfName));
    txtLength_->setText(ToQ(stored->SurfLength));
    txtSlope_->setText(ToQ(stored->SurfSlope));
    // A type text that is not in the list is read as unpaved by every
    // calculation, so the list shows it as such.
    cmbType_->setCurrentIndex(cmbType_->findText(ToQ(stored->SurfType)) == 1 ? 1 : 0);
    txtVelocity_->setText(ToQ(stored->SurfVelocity));
    txtTc_->setText(ToQ(stored->SurfTc));
}

void ShallowFlowDialog::AddSurfaceToCanvas(SurfaceRow& row) {
    FrmDraw* canvas = OpenCanvas();
    if (canvas == nullptr) {
        throw TorrentaError("No project is open on the canvas to place the element on.");
    }
    canvas->PlaceAndInsert(ElementKind::Shallow, [&](const FrmDraw::NewIcon& icon) {
        row.SurfTag = FromQ(icon.tag);
        row.SurfX = std::to_string(icon.left);
        row.SurfY = std::to_string(icon.top);
        row.Deleted = kLive;
        InsertElementRow(CurrentSession().ProjectPath, row);
    });
}

void ShallowFlowDialog::UpdateSurfaceRow(const SurfaceRow& row) {
    UpdateElementRow(CurrentSession().ProjectPath, FromQ(tag_), row);
}

void ShallowFlowDialog::CmdCalculate_Click() {
    SurfaceRow row = RowFromBoxes();
    if (!ShallowFieldsFilled(row)) {
        return;
    }
    if (RunCommand(this, [&] { CalculateShallow(row); })) {
        ShowResults(row);
    }
}

void ShallowFlowDialog::CmdOK_Click() {
    SurfaceRow row = RowFromBoxes();
    if (!ShallowFieldsFilled(row)) {
        return;
    }
    // Velocity and Tc are always recalculated, so a typed Tc is never stored.
    // A refused calculation stops before an icon is placed or a row written.
    const bool saved = RunCommand(this, [&] {
        CompleteForSave(row);
        ShowResults(row);
        if (purpose_ == Purpose::Add) {
            AddSurfaceToCanvas(row);
        } else {
            UpdateSurfaceRow(row);
        }
    });
    if (saved) {
        close();
    }
}

FrmSurfaceAddInfo::FrmSurfaceAddInfo(QWidget* parent) : ShallowFlowDialog(parent, Purpose::Add) {}

FrmSurfaceUpdateInfo::FrmSurfaceUpdateInfo(QWidget* parent)
    : ShallowFlowDialog(parent, Purpose::Update) {}

}  // namespace torrenta::gui
