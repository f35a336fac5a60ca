#include "intensity/FrmNodeInfo.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Forms.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "intensity/FrmSelectNodeBasin.h"
#include "intensity/ProjectTableChange.h"
#include "store/ProjectSetup.h"
#include "text/NameText.h"

namespace torrenta::gui {

FrmNodeInfo::FrmNodeInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmNodeInfo"));
    setWindowTitle(QStringLiteral("Basin Information"));
    txtNodeName_ = NamedBox(this, QStringLiteral("TxtNodeName"));
    txtIntensityTable_ = NamedBox(this, QStringLiteral("TxtIntensityTable"));
    LockBox(txtIntensityTable_, true);
    QPushButton* tableList = NamedButton(this, QStringLiteral("CmdTableList"), QStringLiteral("?"));
    tableList->setFixedWidth(tableList->sizeHint().height() + 8);
    QPushButton* update = NamedButton(this, QStringLiteral("CmdUpdate"), QStringLiteral("Update"));
    QPushButton* cancel = NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));

    auto* rows = new QFormLayout;
    rows->addRow(
        NamedLabel(this, QStringLiteral("Label1"), QStringLiteral("Basin Name"), txtNodeName_),
        txtNodeName_);
    auto* tableRow = new QHBoxLayout;
    tableRow->addWidget(txtIntensityTable_);
    tableRow->addWidget(tableList);
    rows->addRow(NamedLabel(this, QStringLiteral("Label2"), QStringLiteral("Intensity Table"),
                            txtIntensityTable_),
                 tableRow);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(update);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    SetConfirmButton(this, update);

    connect(tableList, &QPushButton::clicked, this,
            [] { Forms::Show<FrmSelectNodeBasin>(FormScope::Project); });
    connect(update, &QPushButton::clicked, this, &FrmNodeInfo::CmdUpdate_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);

    RunCommand(this, [this] { LoadNode(); });
}

void FrmNodeInfo::LoadNode() {
    Session& session = CurrentSession();
    if (const std::optional<NodeRow> node = ReadNode(session.ProjectPath)) {
        txtNodeName_->setText(ToQ(node->NodeName));
        session.IntensityTableName = node->IntensityTable;
        txtIntensityTable_->setText(ToQ(session.IntensityTableName));
    }
    loadedName_ = txtNodeName_->text();
    loadedTable_ = txtIntensityTable_->text();
}

bool FrmNodeInfo::MayDiscardEdits() {
    return (txtNodeName_->text() == loadedName_ && txtIntensityTable_->text() == loadedTable_) ||
           ConfirmDiscardEdits(this);
}

void FrmNodeInfo::SetChosenTable(const QString& name) {
    txtIntensityTable_->setText(name);
}

QString FrmNodeInfo::ChosenTable() const {
    return txtIntensityTable_->text();
}

void FrmNodeInfo::SaveNodeName() {
    Session& session = CurrentSession();
    RequireOneLineText(FromQ(txtNodeName_->text()), "The node name");
    // The table first: when its recalculation is refused, nothing is saved.
    if (txtIntensityTable_->text() != loadedTable_) {
        ChangeOpenProjectTable(this, FromQ(txtIntensityTable_->text()));
    }
    SetNodeName(session.ProjectPath, FromQ(txtNodeName_->text()));
}

void FrmNodeInfo::CmdUpdate_Click() {
    if (txtNodeName_->text().isEmpty() || txtIntensityTable_->text().isEmpty()) {
        ShowMessage(this, QStringLiteral("Please fill all fields"), QStringLiteral("Error"));
        return;
    }
    if (RunCommand(this, [this] { SaveNodeName(); })) {
        close();
    }
}

}  // namespace torrenta::gui
