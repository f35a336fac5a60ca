#include "editors/OverlandFlowDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMetaObject>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <iterator>
#include <optional>
#include <string>

#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Forms.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "editing/ElementEditing.h"
#include "editors/FrmCCo.h"
#include "editors/NumericValidator.h"
#include "editors/TravelTimeWatch.h"
#include "hydraulics/Tables.h"
#include "store/TypedTc.h"

namespace torrenta::gui {

namespace {

QFrame* SeparatorLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

OverlandFlowDialog::OverlandFlowDialog(QWidget* parent, Purpose purpose, ElementCanvas* canvas)
    : ElementDialog(parent, ElementKind::Overland, purpose, canvas,
                    purpose == Purpose::Add ? QStringLiteral("OK") : QStringLiteral("Update"),
                    QMessageBox::NoIcon) {
    const bool adding = Adding();
    setWindowTitle(adding ? QStringLiteral("Sub Basin Information")
                          : QStringLiteral("Sub Basin Information Update"));

    txtBasinName_ = NamedBox(this, QStringLiteral("TxtBasinName"));
    txtArea_ = NamedBox(this, QStringLiteral("TxtArea"));
    txtSoilType_ = NamedBox(this, QStringLiteral("TxtSoilType"));
    cmdSoilType_ = NamedButton(this, QStringLiteral("CmdSoilType"), QStringLiteral("?"));
    txtC_ = NamedBox(this, QStringLiteral("TxtC"));
    txtSlope_ = NamedBox(this, QStringLiteral("TxtSlope"));
    txtLength_ = NamedBox(this, QStringLiteral("TxtLength"));
    cmbN_ = new QComboBox(this);
    cmbN_->setObjectName(QStringLiteral("CmbN"));
    txtN_ = NamedBox(this, QStringLiteral("TxtN"));
    txtTc_ = NamedBox(this, QStringLiteral("TxtTc"));

    for (QLineEdit* box : {txtArea_, txtC_, txtLength_, txtN_, txtSlope_, txtTc_}) {
        MakeNumericBox(box);
    }

    // A description of the user's own is stored as typed: no completion that
    // would turn it into a list entry, and Enter adds nothing to the list.
    cmbN_->setEditable(true);
    cmbN_->setInsertPolicy(QComboBox::NoInsert);
    cmbN_->setCompleter(nullptr);
    for (const SheetFlowSurface& surface : kSheetFlowSurfaces) {
        cmbN_->addItem(ToQ(surface.text));
    }
    cmbN_->setCurrentIndex(-1);

    BuildLayout();

    connect(cmbN_, &QComboBox::currentIndexChanged, this, &OverlandFlowDialog::CmbN_Click);
    // Picking the entry already current (after typing over it) restores its n.
    connect(cmbN_, &QComboBox::activated, this, &OverlandFlowDialog::CmbN_Click);
    connect(cmdSoilType_, &QPushButton::clicked, this, &OverlandFlowDialog::CmdSoilType_Click);
    FollowTypedDescription(cmbN_, txtN_, [](int entry) {
        return entry < static_cast<int>(kSheetFlowSurfaces.size())
                   ? ToQ(kSheetFlowSurfaces[static_cast<std::size_t>(entry)].n)
                   : QString();
    });

    cmbN_->setCurrentIndex(0);
    Start(txtBasinName_, QStringLiteral("Basin"), {txtN_, txtLength_, txtSlope_}, txtTc_);
}

void OverlandFlowDialog::BuildLayout() {
    cmdSoilType_->setFixedWidth(cmdSoilType_->sizeHint().height() + 8);
    cmdSoilType_->setToolTip(QStringLiteral("Run-off Coefficients"));
    auto* landUseRow = new QHBoxLayout;
    landUseRow->addWidget(txtSoilType_, 1);
    landUseRow->addWidget(cmdSoilType_);

    // Wide enough to read the longest surface whole.
    cmbN_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    txtN_->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("0.0000")) + 24);
    auto* nRow = new QHBoxLayout;
    nRow->addWidget(cmbN_, 1);
    nRow->addWidget(txtN_);

    auto* tcRow = new QHBoxLayout;
    tcRow->addWidget(txtTc_, 1);
    tcRow->addWidget(cmdCalculate_);

    auto* rows = new QFormLayout;
    rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    rows->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const auto addRow = [&](const QString& name, const QString& caption, QWidget* buddy,
                            auto field) {
        rows->addRow(NamedLabel(this, name, caption, buddy), field);
    };
    addRow(QStringLiteral("Label1"), QStringLiteral("Basin Name"), txtBasinName_, txtBasinName_);
    addRow(QStringLiteral("Label2"), QStringLiteral("Area (Ac)"), txtArea_, txtArea_);
    addRow(QStringLiteral("Label3"), QStringLiteral("Land Use"), txtSoilType_, landUseRow);
    addRow(QStringLiteral("Label4"), QStringLiteral("C"), txtC_, txtC_);
    rows->addRow(SeparatorLine(this));
    addRow(QStringLiteral("Label5"), QStringLiteral("Travel Length (ft)"), txtLength_, txtLength_);
    addRow(QStringLiteral("Label6"), QStringLiteral("Slope (feet/foot)"), txtSlope_, txtSlope_);
    addRow(QStringLiteral("Label7"), QStringLiteral("n"), cmbN_, nRow);
    addRow(QStringLiteral("Label8"), Adding() ? QStringLiteral("Tc (min)") : QStringLiteral("Tc"),
           txtTc_, tcRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addWidget(chkTcPath_);
    layout->addWidget(lblChecks_);
    layout->addSpacing(6);
    layout->addWidget(SeparatorLine(this));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    QWidget* order[] = {txtBasinName_, txtArea_,      txtSoilType_, cmdSoilType_, txtC_,
                        txtLength_,    txtSlope_,     cmbN_,        txtN_,        txtTc_,
                        chkTcPath_,    cmdCalculate_, cmdOK_,       cmdCancel_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

bool OverlandFlowDialog::LoadRow(const std::string& projectPath, const std::string& tag) {
    const std::optional<BasinRow> row = LoadElementRow<BasinRow>(projectPath, tag);
    if (!row) {
        return false;
    }
    txtBasinName_->setText(ToQ(row->BasinName));
    txtArea_->setText(ToQ(row->Area));
    txtSoilType_->setText(ToQ(row->SoilType));
    txtC_->setText(ToQ(row->CVal));
    txtSlope_->setText(ToQ(row->Slope));
    txtLength_->setText(ToQ(row->TravelLength));
    txtTc_->setText(ToQ(row->Tc));
    {
        // The stored surface is shown as stored; making a matching entry
        // current keeps the combo from "selecting" it again when it loses
        // focus, which would replace the stored n.
        const QSignalBlocker quiet(cmbN_);
        const int entry = cmbN_->findText(ToQ(row->BasinNType), Qt::MatchExactly);
        if (entry >= 0) {
            cmbN_->setCurrentIndex(entry);
        }
        cmbN_->setEditText(ToQ(row->BasinNType));
        cmbN_->lineEdit()->setCursorPosition(0);
    }
    txtN_->setText(ToQ(row->BasinN));
    loadedTcTyped_ = IsTypedTc(*row, ReadTypedTc(projectPath));
    return true;
}

void OverlandFlowDialog::SetLandUse(const QString& landUse, const QString& c) {
    txtSoilType_->setText(landUse);
    txtC_->setText(c);
}

std::vector<DesignFinding> OverlandFlowDialog::Checks() const {
    return CheckElement(RowFromBoxes());
}

BasinRow OverlandFlowDialog::RowFromBoxes() const {
    BasinRow row;
    row.BasinName = FromQ(txtBasinName_->text());
    row.Area = FromQ(txtArea_->text());
    row.SoilType = FromQ(txtSoilType_->text());
    row.CVal = FromQ(txtC_->text());
    row.Slope = FromQ(txtSlope_->text());
    row.TravelLength = FromQ(txtLength_->text());
    row.Deleted = std::string(kLive);
    row.BasinNType = FromQ(cmbN_->currentText());
    row.BasinN = FromQ(txtN_->text());
    row.Tc = FromQ(txtTc_->text());
    return row;
}

bool OverlandFlowDialog::FieldsFilled() const {
    return MissingFields(RowFromBoxes()).empty();
}

void OverlandFlowDialog::CmbN_Click(int index) {
    if (index >= 0 && index < static_cast<int>(kSheetFlowSurfaces.size())) {
        txtN_->setText(ToQ(kSheetFlowSurfaces[static_cast<std::size_t>(index)].n));
    }
}

void OverlandFlowDialog::Calculate() {
    BasinRow row = RowFromBoxes();
    const Session& session = CurrentSession();
    CalculateOverland(row, session.AppFolder, session.IntensityTableName);
    txtTc_->setText(ToQ(row.Tc));
}

void OverlandFlowDialog::Save(bool stale) {
    BasinRow row = RowFromBoxes();
    // A Tc is kept as it stands unless its inputs changed since.
    if (stale) {
        row.Tc.clear();
    }
    const Session& session = CurrentSession();
    const bool calculated = CompleteForSave(row, session.AppFolder, session.IntensityTableName);
    txtTc_->setText(ToQ(row.Tc));
    // A Tc typed into the box and saved as it stands is the engineer's own.
    tcTyped_ = !stale && !calculated && tcWatch_->Typed();
    Store(row, calculated);
}

void OverlandFlowDialog::CmdSoilType_Click() {
    Forms::Show<FrmCCo>(FormScope::Project);
}

FrmBasInfo::FrmBasInfo(QWidget* parent, ElementCanvas* canvas)
    : OverlandFlowDialog(parent, Purpose::Add, canvas) {
    setObjectName(QStringLiteral("FrmBasInfo"));
}

FrmBasUpdate::FrmBasUpdate(QWidget* parent) : OverlandFlowDialog(parent, Purpose::Update, nullptr) {
    setObjectName(QStringLiteral("FrmBasUpdate"));
}

}  // namespace torrenta::gui
