#include "editors/OverlandFlowDialog.h"

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

#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"
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

namespace torrenta::gui {

namespace {

QFrame* SeparatorLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

OverlandFlowDialog::OverlandFlowDialog(Mode mode, QWidget* parent) : QDialog(parent), mode_(mode) {
    const bool adding = mode_ == Mode::Add;
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
    cmdCalculate_ = NamedButton(this, QStringLiteral("CmdCalculate"), QStringLiteral("Calculate"));
    cmdOK_ = NamedButton(this, QStringLiteral("CmdOK"),
                         adding ? QStringLiteral("OK") : QStringLiteral("Update"));
    cmdCancel_ = NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));

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
    connect(cmdCalculate_, &QPushButton::clicked, this, &OverlandFlowDialog::CmdCalculate_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &OverlandFlowDialog::CmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::close);

    cmbN_->setCurrentIndex(0);
    if (adding) {
        StartNew();
    } else {
        LoadBasinRow();
    }
    tcWatch_ = new TravelTimeWatch(this, {txtN_, txtLength_, txtSlope_}, txtTc_);
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
    addRow(QStringLiteral("Label8"),
           mode_ == Mode::Add ? QStringLiteral("Tc (min)") : QStringLiteral("Tc"), txtTc_, tcRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addSpacing(6);
    layout->addWidget(SeparatorLine(this));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    QWidget* order[] = {txtBasinName_, txtArea_,  txtSoilType_, cmdSoilType_, txtC_,
                        txtLength_,    txtSlope_, cmbN_,        txtN_,        txtTc_,
                        cmdCalculate_, cmdOK_,    cmdCancel_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void OverlandFlowDialog::StartNew() {
    // The name is the index the new icon will get, fixed now even if other
    // elements are added while this dialog is open.
    if (const FrmDraw* canvas = OpenCanvas()) {
        txtBasinName_->setText(
            QStringLiteral("Basin %1").arg(canvas->ArrayCount(ElementKind::Overland)));
    }
}

void OverlandFlowDialog::LoadBasinRow() {
    const Session& session = CurrentSession();
    tag_ = session.SelectedIcon;
    std::optional<BasinRow> row;
    const bool read = RunCommand(
        parentWidget(), [&] { row = LoadElementRow<BasinRow>(session.ProjectPath, FromQ(tag_)); });
    if (!row) {
        if (read) {
            ShowMessage(parentWidget(),
                        QStringLiteral("The element %1 is no longer in the project.").arg(tag_),
                        QStringLiteral("Error"), QMessageBox::Warning);
        }
        // Forms::Show shows the dialog after building it; it goes right after.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
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
}

void OverlandFlowDialog::SetLandUse(const QString& landUse, const QString& c) {
    txtSoilType_->setText(landUse);
    txtC_->setText(c);
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

bool OverlandFlowDialog::CheckFields(const BasinRow& row) {
    if (MissingFields(row).empty()) {
        return true;
    }
    ShowMessage(this, QStringLiteral("Please fill all fields"), QStringLiteral("Error"));
    return false;
}

void OverlandFlowDialog::CmbN_Click(int index) {
    if (index >= 0 && index < static_cast<int>(kSheetFlowSurfaces.size())) {
        txtN_->setText(ToQ(kSheetFlowSurfaces[static_cast<std::size_t>(index)].n));
    }
}

void OverlandFlowDialog::CmdCalculate_Click() {
    BasinRow row = RowFromBoxes();
    if (!CheckFields(row)) {
        return;
    }
    const Session& session = CurrentSession();
    if (RunCommand(
            this, [&] { CalculateOverland(row, session.AppFolder, session.IntensityTableName); })) {
        txtTc_->setText(ToQ(row.Tc));
        tcWatch_->Calculated();
    }
}

void OverlandFlowDialog::CmdOK_Click() {
    BasinRow row = RowFromBoxes();
    if (!CheckFields(row)) {
        return;
    }
    // A Tc is kept as it stands unless the inputs changed since it was
    // calculated or typed. Everything that can refuse the input runs before
    // the canvas is touched.
    if (tcWatch_->Stale()) {
        row.Tc.clear();
    }
    const Session& session = CurrentSession();
    if (!RunCommand(this,
                    [&] { CompleteForSave(row, session.AppFolder, session.IntensityTableName); })) {
        return;
    }
    txtTc_->setText(ToQ(row.Tc));
    if (mode_ == Mode::Add) {
        if (!AddBasinToCanvas(row)) {
            return;
        }
    } else if (!RunCommand(this,
                           [&] { UpdateElementRow(session.ProjectPath, FromQ(tag_), row); })) {
        return;
    }
    close();
}

bool OverlandFlowDialog::AddBasinToCanvas(BasinRow& row) {
    FrmDraw* canvas = OpenCanvas();
    if (canvas == nullptr) {
        ShowMessage(this, QStringLiteral("No project is open to add the element to."),
                    QStringLiteral("Error"), QMessageBox::Warning);
        return false;
    }
    return RunCommand(this, [&] {
        canvas->PlaceAndInsert(ElementKind::Overland, [&](const FrmDraw::NewIcon& icon) {
            row.BasinTag = FromQ(icon.tag);
            row.BasinX = std::to_string(icon.left);
            row.BasinY = std::to_string(icon.top);
            InsertElementRow(CurrentSession().ProjectPath, row);
        });
    });
}

void OverlandFlowDialog::CmdSoilType_Click() {
    Forms::Show<FrmCCo>();
}

FrmBasInfo::FrmBasInfo(QWidget* parent) : OverlandFlowDialog(Mode::Add, parent) {
    setObjectName(QStringLiteral("FrmBasInfo"));
}

FrmBasUpdate::FrmBasUpdate(QWidget* parent) : OverlandFlowDialog(Mode::Update, parent) {
    setObjectName(QStringLiteral("FrmBasUpdate"));
}

}  // namespace torrenta::gui
