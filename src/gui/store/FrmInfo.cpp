#include "store/FrmInfo.h"

#include <QDate>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QVBoxLayout>
#include <algorithm>

#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Forms.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "intensity/ProjectTableChange.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"

namespace torrenta::gui {

namespace {

QGroupBox* Frame(QWidget* parent, const QString& name, const QString& title) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    return frame;
}

}  // namespace

FrmInfo::FrmInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmInfo"));
    setWindowTitle(QStringLiteral("Project Setup"));

    txtProjectName_ = NamedBox(this, QStringLiteral("TxtProjectName"));
    txtJobNumber_ = NamedBox(this, QStringLiteral("TxtJobNumber"));
    txtDesignDate_ = NamedBox(this, QStringLiteral("TxtDesignDate"));
    txtDesignEngineer_ = NamedBox(this, QStringLiteral("TxtDesignEngineer"));
    txtProjectManager_ = NamedBox(this, QStringLiteral("TxtProjectManager"));
    txtBasinName_ = NamedBox(this, QStringLiteral("TxtBasinName"));
    txtITable_ = NamedBox(this, QStringLiteral("TxtITable"));
    LockBox(txtITable_, true);

    QGroupBox* project =
        Frame(this, QStringLiteral("Frame1"), QStringLiteral("Project Information"));
    auto* projectRows = new QFormLayout(project);
    projectRows->addRow(NamedLabel(project, QStringLiteral("Label1"),
                                   QStringLiteral("Project Name"), txtProjectName_),
                        txtProjectName_);
    projectRows->addRow(
        NamedLabel(project, QStringLiteral("Label2"), QStringLiteral("Job Number"), txtJobNumber_),
        txtJobNumber_);

    QGroupBox* design = Frame(this, QStringLiteral("Frame2"), QStringLiteral("Design Information"));
    auto* designRows = new QFormLayout(design);
    designRows->addRow(
        NamedLabel(design, QStringLiteral("Label3"), QStringLiteral("Design Date"), txtDesignDate_),
        txtDesignDate_);
    designRows->addRow(NamedLabel(design, QStringLiteral("Label4"),
                                  QStringLiteral("Design Engineer"), txtDesignEngineer_),
                       txtDesignEngineer_);
    designRows->addRow(NamedLabel(design, QStringLiteral("Label5"),
                                  QStringLiteral("Project Manager"), txtProjectManager_),
                       txtProjectManager_);

    QGroupBox* basin = Frame(this, QStringLiteral("Frame3"), QStringLiteral("Basin Information"));
    auto* basinRows = new QFormLayout(basin);
    basinRows->addRow(
        NamedLabel(basin, QStringLiteral("Label6"), QStringLiteral("Basin Name"), txtBasinName_),
        txtBasinName_);
    QPushButton* list = NamedButton(basin, QStringLiteral("CmdIList"), QStringLiteral("?"));
    list->setFixedWidth(list->sizeHint().height() + 8);
    auto* tableRow = new QHBoxLayout;
    tableRow->addWidget(txtITable_);
    tableRow->addWidget(list);
    basinRows->addRow(
        NamedLabel(basin, QStringLiteral("Label7"), QStringLiteral("Intensity Table"), txtITable_),
        tableRow);

    QPushButton* ok = NamedButton(this, QStringLiteral("CmdOK"), QStringLiteral("OK"));
    QPushButton* cancel = NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    // One label column across the three frames, so the boxes line up.
    int labelWidth = 0;
    for (const QLabel* label : findChildren<QLabel*>()) {
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    }
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setMinimumWidth(labelWidth);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(project);
    layout->addWidget(design);
    layout->addWidget(basin);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    SetConfirmButton(this, ok);

    connect(list, &QPushButton::clicked, this, &FrmInfo::CmdIList_Click);
    connect(ok, &QPushButton::clicked, this, &FrmInfo::CmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);

    txtDesignDate_->setText(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    RunCommand(this, [this] {
        CheckProjectInfo();
        if (projectInfoExists_) {
            LoadProjectInfo();
        }
    });
}

void FrmInfo::CheckProjectInfo() {
    projectInfoExists_ = ReadProjectInfo(CurrentSession().ProjectPath).has_value();
}

void FrmInfo::LoadProjectInfo() {
    Session& session = CurrentSession();
    const std::optional<ProjectInfoRow> info = ReadProjectInfo(session.ProjectPath);
    if (info) {
        txtProjectName_->setText(ToQ(info->ProjectName));
        txtDesignEngineer_->setText(ToQ(info->DesignEngineer));
        txtProjectManager_->setText(ToQ(info->ProjectManager));
        txtDesignDate_->setText(ToQ(info->DesignDate));
        txtJobNumber_->setText(ToQ(info->JobNumber));
    }
    // A project saved without its node row keeps the node fields empty; OK
    // then adds the row. The row shown is the one OK rewrites.
    if (const std::optional<NodeRow> node = ReadLastNode(session.ProjectPath)) {
        txtBasinName_->setText(ToQ(node->NodeName));
        txtITable_->setText(ToQ(node->IntensityTable));
        session.IntensityTableName = node->IntensityTable;
    }
}

void FrmInfo::SetIntensityTable(const QString& name) {
    txtITable_->setText(name);
}

void FrmInfo::CmdIList_Click() {
    FrmSelectIvalBasin* select = Forms::Show<FrmSelectIvalBasin>(FormScope::Project);
    select->SetTag(QStringLiteral("FrmInfo"));
    select->SelectCurrent(txtITable_->text());
    connect(select, &FrmSelectIvalBasin::ChosenForSetup, this, &FrmInfo::SetIntensityTable,
            Qt::UniqueConnection);
}

void FrmInfo::CmdOK_Click() {
    if (txtBasinName_->text().isEmpty() || txtITable_->text().isEmpty()) {
        ShowMessage(this, QStringLiteral("Please Fill in Basin Information Fields"),
                    QStringLiteral("Error"), QMessageBox::Information);
        return;
    }
    Session& session = CurrentSession();
    const ProjectInfoRow info{FromQ(txtProjectName_->text()),    FromQ(txtDesignEngineer_->text()),
                              FromQ(txtProjectManager_->text()), FromQ(txtDesignDate_->text()),
                              FromQ(txtJobNumber_->text()),      {}};
    const bool saved = RunCommand(this, [&] {
        RequireOneLineSetup(info, FromQ(txtBasinName_->text()));
        // A set-up project whose table changes has its sheet-flow times
        // recalculated first: when one cannot be, nothing is saved. The table
        // the project reads is its first node row's; a file holding more than
        // one node row keeps that one as it is (OK rewrites the last).
        const std::string table = FromQ(txtITable_->text());
        if (session.NewProjectPath.empty()) {
            const std::optional<NodeRow> read = ReadNode(session.ProjectPath);
            const std::optional<NodeRow> shown = ReadLastNode(session.ProjectPath);
            const auto same = [](const NodeRow& a, const NodeRow& b) {
                return a.NodeName == b.NodeName && a.IntensityTable == b.IntensityTable &&
                       a.NodeX == b.NodeX && a.NodeY == b.NodeY;
            };
            if (read && shown && same(*read, *shown) && read->IntensityTable != table) {
                ChangeOpenProjectTable(this, table);
            }
        }
        SaveProjectSetup(session.ProjectPath, info, FromQ(txtBasinName_->text()),
                         FromQ(txtITable_->text()));
        // A new project replaces the file chosen for it only now, set up.
        if (!session.NewProjectPath.empty()) {
            CommitProjectDraft(session.ProjectPath, session.NewProjectPath);
            session.ProjectPath = session.NewProjectPath;
            session.NewProjectPath.clear();
        }
    });
    if (!saved) {
        return;
    }
    session.IntensityTableName = FromQ(txtITable_->text());
    close();
    emit Saved();
}

}  // namespace torrenta::gui
