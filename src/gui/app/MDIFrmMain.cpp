#include "app/MDIFrmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QToolBar>

#include "app/FrmOpen.h"
#include "app/RecentProjects.h"
#include "canvas/FrmDraw.h"
#include "common/CommandBoundary.h"
#include "common/FileLocations.h"
#include "common/Forms.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Resources.h"
#include "common/Session.h"
#include "common/SvgIcon.h"
#include "report/FrmViewReport.h"
#include "store/FrmInfo.h"
#include "store/ProjectFile.h"

namespace torrenta::gui {

namespace {

MDIFrmMain* instance = nullptr;

const QString kProjectFilter = QStringLiteral("Rational File (*.rmt)");

QAction* NamedAction(QObject* parent, const QString& name, const QIcon& icon, const QString& text) {
    auto* action = new QAction(icon, text, parent);
    action->setObjectName(name);
    return action;
}

}  // namespace

MDIFrmMain::MDIFrmMain(QWidget* parent) : QMainWindow(parent) {
    LoadResources();
    instance = this;
    setObjectName(QStringLiteral("MDIFrmMain"));
    setWindowTitle(QStringLiteral("Torrenta  - version 1.0"));
    setWindowIcon(SvgIcon(QStringLiteral(":/images/torrenta.svg")));
    Forms::SetHost(this);

    centre_ = new QStackedWidget(this);
    setCentralWidget(centre_);
    CreateMenu();
    CreateToolbar();
    ShowStartWindow();
}

MDIFrmMain::~MDIFrmMain() {
    DiscardNewProject();
    if (instance == this) {
        instance = nullptr;
    }
}

MDIFrmMain* MDIFrmMain::Instance() {
    return instance;
}

FrmDraw* MDIFrmMain::Canvas() const {
    return canvas_;
}

void MDIFrmMain::CreateMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("MnuFile"));
    QAction* fileNew = NamedAction(this, QStringLiteral("MnuFileNew"), {}, QStringLiteral("New"));
    QAction* fileOpen =
        NamedAction(this, QStringLiteral("MnuFileOpen"), {}, QStringLiteral("Open"));
    QAction* fileExit =
        NamedAction(this, QStringLiteral("MnuFileExit"), {}, QStringLiteral("Exit"));
    file->addAction(fileNew);
    file->addAction(fileOpen);
    QAction* separator = file->addSeparator();
    separator->setObjectName(QStringLiteral("MnuFileSeperator1"));
    file->addAction(fileExit);
    AddRecentProjectsMenu(file, separator);
    connect(fileNew, &QAction::triggered, this, &MDIFrmMain::FileNew);
    connect(fileOpen, &QAction::triggered, this, &MDIFrmMain::FileOpen);
    connect(fileExit, &QAction::triggered, this, &MDIFrmMain::FileExit);
}

void MDIFrmMain::CreateToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar"));
    toolbar_->setObjectName(QStringLiteral("TbDraw"));
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->addSeparator();
    struct Button {
        const char* name;
        const char* icon;
        const char* tip;
        void (MDIFrmMain::*command)();
    };
    const Button buttons[] = {
        {"TbDraw_New", ":/icons/new.svg", "Start a New File", &MDIFrmMain::FileNew},
        {"TbDraw_Open", ":/icons/open.svg", "Open an Existing File", &MDIFrmMain::FileOpen},
        {nullptr, nullptr, nullptr, nullptr},
        {"TbDraw_Exit", ":/icons/exit.svg", "Exit", &MDIFrmMain::FileExit},
    };
    for (const Button& button : buttons) {
        if (button.name == nullptr) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* action =
            NamedAction(toolbar_, QString::fromLatin1(button.name),
                        SvgIcon(QString::fromLatin1(button.icon)), QString::fromLatin1(button.tip));
        action->setToolTip(QString::fromLatin1(button.tip));
        toolbar_->addAction(action);
        connect(action, &QAction::triggered, this, button.command);
    }
}

void MDIFrmMain::AddRecentProjectsMenu(QMenu* file, QAction* before) {
    auto* recent = new QMenu(QStringLiteral("Recent Projects"), file);
    recent->setObjectName(QStringLiteral("MnuRecentProjects"));
    recent->setToolTipsVisible(true);
    file->insertMenu(before, recent);
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { FillRecentProjects(recent); });
}

void MDIFrmMain::FillRecentProjects(QMenu* menu) {
    menu->clear();
    const QStringList files = RecentProjects::List();
    if (files.isEmpty()) {
        menu->addAction(QStringLiteral("No Recent Projects"))->setEnabled(false);
        return;
    }
    QStringList names;
    for (const QString& file : files) {
        names.append(QFileInfo(file).fileName());
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = QDir::toNativeSeparators(files[i]);
        // Two projects of the same name in different folders are told apart
        // by their folders.
        const QString shown = names.count(names[i]) > 1 ? path : names[i];
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QString(shown).replace(u'&', QStringLiteral("&&"))));
        entry->setObjectName(QStringLiteral("MnuRecentProject%1").arg(i + 1));
        entry->setToolTip(path);
        entry->setStatusTip(path);
        entry->setData(files[i]);
        const QString file = files[i];
        connect(entry, &QAction::triggered, this, [this, file] { OpenRecentProject(file); });
    }
}

void MDIFrmMain::OpenRecentProject(const QString& file) {
    if (!QFileInfo(file).isFile()) {
        RecentProjects::Remove(file);
        ShowMessage(this,
                    QStringLiteral("The project %1 is no longer there. It has been removed from "
                                   "the recent projects.")
                        .arg(QDir::toNativeSeparators(file)),
                    QStringLiteral("Recent Projects"), QMessageBox::Warning);
        return;
    }
    OpenProjectFile(file);
}

void MDIFrmMain::SetCentre(QWidget* widget) {
    while (centre_->count() > 0) {
        QWidget* old = centre_->widget(0);
        centre_->removeWidget(old);
        old->deleteLater();
    }
    // The new window is first laid out at about the size it will have, not
    // at a new widget's 100 by 30 pixels: before the main window shows, that
    // is the screen, which the maximized main window nearly fills.
    widget->resize(centre_->isVisible() ? centre_->size() : screen()->availableGeometry().size());
    centre_->addWidget(widget);
    centre_->setCurrentWidget(widget);
}

void MDIFrmMain::ShowStartWindow() {
    if (start_ == nullptr) {
        start_ = new FrmOpen(centre_);
        SetCentre(start_);
    }
    menuBar()->show();
    toolbar_->show();
}

void MDIFrmMain::ShowProjectSetup() {
    FrmInfo* info = Forms::Show<FrmInfo>(FormScope::Project);
    connect(info, &FrmInfo::Saved, this, &MDIFrmMain::ShowCanvas, Qt::UniqueConnection);
    if (canvas_ != nullptr) {
        canvas_->FollowEdits(info);
    }
}

void MDIFrmMain::FileNew() {
    const QString file = CurrentPrompts().SaveFileName(this, kProjectFilter, QStringLiteral("rmt"));
    if (file.isEmpty() || !ReportLetsGo()) {
        return;
    }
    // The new project is set up in a draft beside the chosen file, which
    // stays as it is until Project Setup's OK. A failed copy leaves the open
    // project as it was.
    std::string draft;
    if (!RunCommand(this,
                    [&] { draft = NewProjectDraft(CurrentSession().AppFolder, FromQ(file)); })) {
        return;
    }
    // Asked once the file is known to be one a new project may replace.
    if (!ConfirmReplacingProject(file)) {
        DiscardProjectDraft(draft);
        return;
    }
    FileClose();
    Forms::CloseProjectForms();
    Session& session = CurrentSession();
    session.ProjectPath = draft;
    session.NewProjectPath = FromQ(file);
    ShowProjectInTitle(true);
    ShowProjectSetup();
    FrmInfo* info = Forms::Find<FrmInfo>();
    connect(info, &FrmInfo::Saved, this, [file] { RecentProjects::Add(file); });
    // Closed without OK (Cancel, Esc, the window's close box): the draft goes.
    connect(info, &QDialog::finished, this, &MDIFrmMain::DiscardNewProject);
}

bool MDIFrmMain::ConfirmReplacingProject(const QString& file) {
    // The file dialog's own question does not say that a project's work,
    // perhaps another project's pre-development release, would go.
    const std::optional<ExistingProject> existing = DescribeExistingProject(FromQ(file));
    if (!existing) {
        return true;
    }
    const QString name = existing->projectName.empty() ? QStringLiteral("no project name")
                                                       : ToQ(existing->projectName);
    const QString elements = existing->elements == 1
                                 ? QStringLiteral("1 element")
                                 : QStringLiteral("%1 elements").arg(existing->elements);
    const QString question =
        QStringLiteral("%1 is a Torrenta project (%2, %3). Replace it with a new project?")
            .arg(QFileInfo(file).fileName(), name, elements);
    return CurrentPrompts().Message(this, question, QStringLiteral("New Project"),
                                    QMessageBox::Question,
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MDIFrmMain::DiscardNewProject() {
    Session& session = CurrentSession();
    if (session.NewProjectPath.empty()) {
        return;
    }
    DiscardProjectDraft(session.ProjectPath);
    session.ProjectPath.clear();
    session.NewProjectPath.clear();
    ShowProjectInTitle(false);
}

void MDIFrmMain::FileOpen() {
    const QString file = CurrentPrompts().OpenFileName(this, kProjectFilter);
    if (!file.isEmpty()) {
        OpenProjectFile(file);
    }
}

void MDIFrmMain::OpenProjectFile(const QString& file) {
    if (!ReportLetsGo()) {
        return;
    }
    FileClose();
    if (!RunCommand(this, [&] { OpenProject(FromQ(file)); })) {
        return;
    }
    RecentProjects::Add(file);
    CurrentSession().ProjectPath = FromQ(file);
    ShowCanvas();
}

void MDIFrmMain::FileClose() {
    if (canvas_ == nullptr) {
        // A new project still in its setup has nothing to keep.
        if (!CurrentSession().NewProjectPath.empty()) {
            Forms::CloseProjectForms();
            DiscardNewProject();
        }
        return;
    }
    if (!ReportLetsGo()) {
        return;
    }
    Forms::CloseProjectForms();
    // The canvas goes even when the purge fails; the message says why.
    RunCommand(this, [] { CloseProject(CurrentSession().ProjectPath); });
    canvas_ = nullptr;
    ShowProjectInTitle(false);
    ShowStartWindow();
}

// The open project's file name leads the title, as desktop programs show
// their document: "storm.rmt — Torrenta".
void MDIFrmMain::ShowProjectInTitle(bool open) {
    const QString file = open ? ProjectFileName() : QString();
    setWindowTitle(file.isEmpty() ? QStringLiteral("Torrenta  - version 1.0")
                                  : file + QStringLiteral(" \u2014 Torrenta"));
}

void MDIFrmMain::FileExit() {
    close();
}

void MDIFrmMain::ShowCanvas() {
    if (canvas_ != nullptr) {
        canvas_->raise();
        return;
    }
    auto* canvas = new FrmDraw(centre_);
    connect(canvas, &FrmDraw::NewRequested, this, &MDIFrmMain::FileNew);
    connect(canvas, &FrmDraw::OpenRequested, this, &MDIFrmMain::FileOpen);
    connect(canvas, &FrmDraw::CloseRequested, this, &MDIFrmMain::FileClose);
    connect(canvas, &FrmDraw::ExitRequested, this, &MDIFrmMain::FileExit);
    connect(canvas, &FrmDraw::ProjectInfoRequested, this, &MDIFrmMain::ShowProjectSetup);
    AddRecentProjectsMenu(canvas->FileMenu(), canvas->FileMenuEnd());
    FrmDraw::LoadOutcome outcome = FrmDraw::LoadOutcome::Loaded;
    if (!RunCommand(this, [&] { outcome = canvas->LoadNetwork(); })) {
        delete canvas;
        // No canvas, no bound project: nothing may write into the refused file.
        CurrentSession().ProjectPath.clear();
        ShowStartWindow();
        return;
    }
    if (outcome == FrmDraw::LoadOutcome::NeedsSetup) {
        delete canvas;
        RunCommand(this, [] { CloseProject(CurrentSession().ProjectPath); });
        ShowStartWindow();
        Forms::Close<FrmInfo>();
        ShowProjectSetup();
        return;
    }
    canvas_ = canvas;
    start_ = nullptr;
    ShowProjectInTitle(true);
    SetCentre(canvas);
    // The canvas brings its own menus and toolbar.
    toolbar_->hide();
    menuBar()->hide();
}

bool MDIFrmMain::ReportLetsGo() {
    FrmViewReport* report = Forms::Find<FrmViewReport>();
    return report == nullptr || report->close();
}

void MDIFrmMain::closeEvent(QCloseEvent* event) {
    if (!ReportLetsGo()) {
        event->ignore();
        return;
    }
    Forms::CloseAll();
    FileClose();
    event->accept();
}

}  // namespace torrenta::gui
