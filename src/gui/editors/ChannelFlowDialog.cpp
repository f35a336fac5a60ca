#include "editors/ChannelFlowDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <initializer_list>
#include <string>

#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Forms.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "editing/ElementEditing.h"
#include "editors/FrmTrapezArea.h"
#include "editors/NumericValidator.h"
#include "hydraulics/Tables.h"

namespace torrenta::gui {
ChannelFlowDialog::ChannelFlowDialog(QWidget* parent, Purpose purpose, ElementCanvas* canvas)
    : ElementDialog(parent, ElementKind::Channel, purpose, canvas, QStringLiteral("OK"),
                    QMessageBox::NoIcon) {
    const bool adding = Adding();
    setObjectName(adding ? QStringLiteral("FrmChannelAddInfo")
                         : QStringLiteral("FrmChannelUpdateInfo"));
    setWindowTitle(adding ? QStringLiteral("Channel Information")
                          : QStringLiteral("Channel Update Information"));

    txtChannelName_ = NamedBox(this, QStringLiteral("TxtChannelName"));
    txtArea_ = NamedBox(this, QStringLiteral("TxtArea"));
    cmdArea_ = NamedButton(this, QStringLiteral("CmdArea"), QStringLiteral("?"));
    cmdArea_->setToolTip(QStringLiteral("Trapezoidal Channel Section"));
    txtWP_ = NamedBox(this, QStringLiteral("TxtWP"));
    txtSlope_ = NamedBox(this, QStringLiteral("TxtSlope"));
    cmbN_ = new QComboBox(this);
    cmbN_->setObjectName(QStringLiteral("CmbN"));
    txtN_ = NamedBox(this, QStringLiteral("TxtN"));
    txtLength_ = NamedBox(this, QStringLiteral("TxtLength"));
    txtVelocity_ = NamedBox(this, QStringLiteral("TxtVelocity"));
    txtTc_ = NamedBox(this, QStringLiteral("TxtTc"));

    for (QLineEdit* box : {txtArea_, txtWP_, txtSlope_, txtN_, txtLength_, txtTc_}) {
        MakeNumericBox(box);
    }
    MakeDisplayBox(txtVelocity_);

    // The material is a list entry or the engineer's own words, kept exactly
    // as typed: no completion, and typing never adds an entry.
    cmbN_->setEditable(true);
    cmbN_->setInsertPolicy(QComboBox::NoInsert);
    cmbN_->setCompleter(nullptr);
    for (const ChannelMaterial& material : kChannelMaterials) {
        cmbN_->addItem(ToQ(material.text));
    }
    cmbN_->setCurrentIndex(0);
    txtN_->setText(ToQ(kChannelMaterials[0].n));
    BuildLayout();

    connect(cmdArea_, &QPushButton::clicked, this,
            [] { Forms::Show<FrmTrapezArea>(FormScope::Project); });
    connect(cmbN_, &QComboBox::activated, this, &ChannelFlowDialog::CmbN_Activated);
    FollowTypedDescription(cmbN_, txtN_, [](int entry) {
        return entry < static_cast<int>(kChannelMaterials.size())
                   ? ToQ(kChannelMaterials[static_cast<std::size_t>(entry)].n)
                   : QString();
    });

    Start(txtChannelName_, QStringLiteral("Channel"),
          {txtArea_, txtWP_, txtSlope_, txtN_, txtLength_}, txtTc_);
}

void ChannelFlowDialog::SetSection(const QString& area, const QString& wettedPerimeter) {
    txtArea_->setText(area);
    txtWP_->setText(wettedPerimeter);
}

void ChannelFlowDialog::BuildLayout() {
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addLabel = [&](const QString& labelName, const QString& caption, QWidget* field) {
        grid->addWidget(NamedLabel(this, labelName, caption, field), row, 0);
    };
    const auto addRow = [&](const QString& labelName, const QString& caption, QWidget* field) {
        addLabel(labelName, caption, field);
        grid->addWidget(field, row, 1, 1, 2);
        ++row;
    };
    addRow(QStringLiteral("Label1"), QStringLiteral("Channel Name"), txtChannelName_);
    addLabel(QStringLiteral("Label2"), QStringLiteral("Section Area (sf)"), txtArea_);
    grid->addWidget(txtArea_, row, 1);
    cmdArea_->setFixedWidth(cmdArea_->sizeHint().height() + 8);
    grid->addWidget(cmdArea_, row, 2);
    ++row;
    addRow(QStringLiteral("Label3"), QStringLiteral("Wetted Perimeter"), txtWP_);
    addRow(QStringLiteral("Label4"), QStringLiteral("Slope (feet/foot)"), txtSlope_);
    addLabel(QStringLiteral("Label5"), QStringLiteral("n"), cmbN_);
    auto* material = new QHBoxLayout;
    material->addWidget(cmbN_, 3);
    material->addWidget(txtN_, 1);
    grid->addLayout(material, row, 1, 1, 2);
    ++row;
    addRow(QStringLiteral("Label6"), QStringLiteral("Travel Length (ft)"), txtLength_);
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, row++, 0, 1, 3);
    addRow(QStringLiteral("Label7"), QStringLiteral("Velocity (fps)"), txtVelocity_);
    addRow(QStringLiteral("Label8"), QStringLiteral("Tc (min)"), txtTc_);
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
    setMinimumWidth(400);

    SetTabChain({txtChannelName_, txtArea_, cmdArea_, txtWP_, txtSlope_, cmbN_, txtN_, txtLength_,
                 txtTc_, chkTcPath_, cmdCalculate_, cmdOK_, cmdCancel_});
}

std::vector<DesignFinding> ChannelFlowDialog::Checks() const {
    return CheckElement(RowFromBoxes());
}

ChannelRow ChannelFlowDialog::RowFromBoxes() const {
    ChannelRow row;
    row.ChannelName = FromQ(txtChannelName_->text());
    row.ChannelArea = FromQ(txtArea_->text());
    row.ChannelWP = FromQ(txtWP_->text());
    row.ChannelSlope = FromQ(txtSlope_->text());
    row.ChannelLength = FromQ(txtLength_->text());
    row.ChannelMaterial = FromQ(cmbN_->currentText());
    row.ChannelN = FromQ(txtN_->text());
    row.ChannelVelocity = FromQ(txtVelocity_->text());
    row.ChannelTc = FromQ(txtTc_->text());
    return row;
}

void ChannelFlowDialog::ShowResults(const ChannelRow& row) {
    txtVelocity_->setText(ToQ(row.ChannelVelocity));
    txtTc_->setText(ToQ(row.ChannelTc));
}

bool ChannelFlowDialog::FieldsFilled() const {
    return MissingFields(RowFromBoxes()).empty();
}

bool ChannelFlowDialog::LoadRow(const std::string& projectPath, const std::string& tag) {
    const std::optional<ChannelRow> stored = LoadElementRow<ChannelRow>(projectPath, tag);
    if (!stored) {
        return false;
    }
    txtChannelName_->setText(ToQ(stored->ChannelName));
    txtArea_->setText(ToQ(stored->ChannelArea));
    txtWP_->setText(ToQ(stored->ChannelWP));
    txtSlope_->setText(ToQ(stored->ChannelSlope));
    txtLength_->setText(ToQ(stored->ChannelLength));
    txtTc_->setText(ToQ(stored->ChannelTc));
    txtVelocity_->setText(ToQ(stored->ChannelVelocity));
    {
        // The stored n is shown even when it differs from the material's table
        // value. A stored material that is a list entry is made the current
        // entry quietly: otherwise the combo "selects" it when it loses focus
        // and its table n replaces the stored one.
        const QSignalBlocker quiet(cmbN_);
        const int entry = cmbN_->findText(ToQ(stored->ChannelMaterial), Qt::MatchExactly);
        if (entry >= 0) {
            cmbN_->setCurrentIndex(entry);
        }
        cmbN_->setEditText(ToQ(stored->ChannelMaterial));
    }
    txtN_->setText(ToQ(stored->ChannelN));
    return true;
}

void ChannelFlowDialog::CmbN_Activated(int index) {
    if (index >= 0 && index < static_cast<int>(kChannelMaterials.size())) {
        txtN_->setText(ToQ(kChannelMaterials[static_cast<std::size_t>(index)].n));
    }
}

void ChannelFlowDialog::Calculate() {
    ChannelRow row = RowFromBoxes();
    CalculateChannel(row);
    ShowResults(row);
}

void ChannelFlowDialog::Save(bool stale) {
    ChannelRow row = RowFromBoxes();
    // A velocity and Tc both present are saved as they stand, typed or not,
    // unless the inputs changed since: then both are calculated afresh.
    if (stale) {
        row.ChannelTc.clear();
    }
    const bool calculated = CompleteForSave(row);
    ShowResults(row);
    Store(row, calculated);
}

FrmChannelAddInfo::FrmChannelAddInfo(QWidget* parent, ElementCanvas* canvas)
    : ChannelFlowDialog(parent, Purpose::Add, canvas) {}

FrmChannelUpdateInfo::FrmChannelUpdateInfo(QWidget* parent)
    : ChannelFlowDialog(parent, Purpose::Update, nullptr) {}

}  // namespace torrenta::gui
