#include "editors/ShallowFlowDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <initializer_list>
#include <string>

#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "editing/ElementEditing.h"
#include "editors/NumericValidator.h"
#include "hydraulics/TravelTime.h"

namespace torrenta::gui {
ShallowFlowDialog::ShallowFlowDialog(QWidget* parent, Purpose purpose, ElementCanvas* canvas)
    : ElementDialog(parent, ElementKind::Shallow, purpose, canvas,
                    purpose == Purpose::Add ? QStringLiteral("Add") : QStringLiteral("Update"),
                    QMessageBox::Information) {
    const bool adding = Adding();
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

    for (QLineEdit* box : {txtLength_, txtSlope_, txtTc_}) {
        MakeNumericBox(box);
    }
    MakeDisplayBox(txtVelocity_);
    for (SurfaceType type : {SurfaceType::Unpaved, SurfaceType::Paved}) {
        cmbType_->addItem(ToQ(SurfaceTypeText(type)));
    }
    cmbType_->setCurrentIndex(0);
    BuildLayout();

    Start(txtSurfName_, QStringLiteral("Surface"), {txtLength_, txtSlope_}, txtTc_);
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
    layout->addWidget(chkTcPath_);
    layout->addWidget(lblChecks_);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    SetTabChain({txtSurfName_, txtLength_, txtSlope_, cmbType_, txtTc_, chkTcPath_, cmdCalculate_,
                 cmdOK_, cmdCancel_});
}

std::vector<DesignFinding> ShallowFlowDialog::Checks() const {
    return CheckElement(RowFromBoxes());
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

bool ShallowFlowDialog::FieldsFilled() const {
    return MissingFields(RowFromBoxes()).empty();
}

bool ShallowFlowDialog::LoadRow(const std::string& projectPath, const std::string& tag) {
    const std::optional<SurfaceRow> stored = LoadElementRow<SurfaceRow>(projectPath, tag);
    if (!stored) {
        return false;
    }
    txtSurfName_->setText(ToQ(stored->SurfName));
    txtLength_->setText(ToQ(stored->SurfLength));
    txtSlope_->setText(ToQ(stored->SurfSlope));
    // A type text that is not in the list is read as unpaved by every
    // calculation, so the list shows it as such.
    cmbType_->setCurrentIndex(cmbType_->findText(ToQ(stored->SurfType)) == 1 ? 1 : 0);
    txtVelocity_->setText(ToQ(stored->SurfVelocity));
    txtTc_->setText(ToQ(stored->SurfTc));
    return true;
}

void ShallowFlowDialog::Calculate() {
    SurfaceRow row = RowFromBoxes();
    CalculateShallow(row);
    ShowResults(row);
}

void ShallowFlowDialog::Save(bool) {
    // Velocity and Tc are always recalculated, so a typed Tc is never stored.
    SurfaceRow row = RowFromBoxes();
    const bool calculated = CompleteForSave(row);
    ShowResults(row);
    Store(row, calculated);
}

FrmSurfaceAddInfo::FrmSurfaceAddInfo(QWidget* parent, ElementCanvas* canvas)
    : ShallowFlowDialog(parent, Purpose::Add, canvas) {}

FrmSurfaceUpdateInfo::FrmSurfaceUpdateInfo(QWidget* parent)
    : ShallowFlowDialog(parent, Purpose::Update, nullptr) {}

}  // namespace torrenta::gui
