#include "intensity/TableSelectionDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QShowEvent>
#include <QVBoxLayout>

#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "intensity/IntensityDatabase.h"
#include "store/Connection.h"

namespace torrenta::gui {

TableSelectionDialog::TableSelectionDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select Intensity Table"));
    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    cmdOK_ = NamedButton(this, QStringLiteral("CmdOK"), QStringLiteral("OK"));
    cmdOK_->setEnabled(false);
    QPushButton* cancel = NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        NamedLabel(this, QStringLiteral("Label1"), QStringLiteral("Select Basin"), list1_));
    layout->addWidget(list1_);
    layout->addLayout(buttons);

    SetConfirmButton(this, cmdOK_);

    // Until a name is picked there is nothing to take: an empty choice would
    // only make the next solve fail.
    connect(list1_, &QListWidget::itemSelectionChanged, this,
            [this] { cmdOK_->setEnabled(!list1_->selectedItems().isEmpty()); });
    connect(list1_, &QListWidget::itemDoubleClicked, this, &TableSelectionDialog::CmdOK_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &TableSelectionDialog::CmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);

    RunCommand(this, [this] { FillTableList(); });
}

void TableSelectionDialog::FillTableList() {
    const std::string& appFolder = CurrentSession().AppFolder;
    for (const std::string& name : ListIntensityTables(appFolder)) {
        list1_->addItem(ToQ(name));
    }
    if (list1_->count() == 0) {
        ShowMessage(this,
                    QStringLiteral("The intensity database \"%1\" holds no intensity tables. "
                                   "Add one with Intensity, Edit Table, Add New Basin.")
                        .arg(ToQ(IntensityDatabasePath(appFolder))),
                    QStringLiteral("Select Intensity Table"), QMessageBox::Information);
    }
}

std::string TableSelectionDialog::CurrentChoice() const {
    return CurrentSession().IntensityTableName;
}

// The list opens on the current choice, so OK alone keeps it.
void TableSelectionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (list1_->selectedItems().isEmpty()) {
        SelectCurrent(ToQ(CurrentChoice()));
    }
}

void TableSelectionDialog::SelectCurrent(const QString& name) {
    const QList<QListWidgetItem*> current = list1_->findItems(name, Qt::MatchFixedString);
    if (!current.isEmpty()) {
        list1_->setCurrentItem(current.constFirst());
        list1_->scrollToItem(current.constFirst());
    }
}

void TableSelectionDialog::CmdOK_Click() {
    const QList<QListWidgetItem*> selected = list1_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const std::string name = FromQ(selected.constFirst()->text());
    bool taken = false;
    if (RunCommand(this, [&] { taken = TakeSelection(name); }) && taken) {
        close();
    }
}

}  // namespace torrenta::gui
