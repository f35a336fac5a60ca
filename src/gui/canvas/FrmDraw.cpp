#include "canvas/FrmDraw.h"

#include <QAction>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QMenuBar>
#include <QToolBar>

#include "app/Forms.h"
#include "app/MDIFrmMain.h"
#include "app/Session.h"
#include "feedback/FrmAbout.h"
#include "feedback/FrmBugReport.h"
#include "intensity/FrmIntensityTable.h"
#include "intensity/FrmNodeInfo.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "store/FrmInfo.h"
#include "store/ProjectSetup.h"

namespace torrenta::gui {

namespace {

QAction* Entry(QMenu* menu, const char* name, const char* text) {
    QAction* action = menu->addAction(QString::fromLatin1(text));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* title) {
    QMenu* menu = bar->addMenu(QString::fromLatin1(title));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

FrmDraw::FrmDraw(MDIFrmMain* host, QWidget* parent) : QMainWindow(parent), host_(host) {
    setObjectName(QStringLiteral("FrmDraw"));
    setWindowFlags(Qt::Widget);
    scene_ = new QGraphicsScene(this);
    view_ = new QGraphicsView(scene_, this);
    view_->setObjectName(QStringLiteral("DrawingArea"));
    view_->setBackgroundBrush(Qt::white);
    view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCentralWidget(view_);
    CreateMenus();
    CreateToolbar();
}

void FrmDraw::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);

    QMenu* file = AddMenu(bar, "MnuFile", "File");
    connect(Entry(file, "MnuNew", "New"), &QAction::triggered, host_, &MDIFrmMain::FileNew);
    connect(Entry(file, "MnuOpen", "Open"), &QAction::triggered, host_, &MDIFrmMain::FileOpen);
    connect(Entry(file, "MnuFileClose", "Close"), &QAction::triggered, host_,
            &MDIFrmMain::FileClose);
    file->addSeparator()->setObjectName(QStringLiteral("MnuSeperator1"));
    connect(Entry(file, "MnuExit", "Exit"), &QAction::triggered, host_, &MDIFrmMain::FileExit);

    QMenu* intensity = AddMenu(bar, "MnuIntensity", "Intensity");
    connect(Entry(intensity, "MnuChangeTable", "Change Table"), &QAction::triggered, this,
            &FrmDraw::MnuChangeTable_Click);
    connect(Entry(intensity, "MnuEditTable", "Edit Table"), &QAction::triggered, this,
            &FrmDraw::MnuEditTable_Click);

    QMenu* data = AddMenu(bar, "MnuData", "Data");
    connect(Entry(data, "MnuProjectInfo", "Project Info"), &QAction::triggered, this,
            &FrmDraw::MnuProjectInfo_Click);
    Entry(data, "MnuAddSubBasin", "Add Overland Flow");
    Entry(data, "MnuAddSCF", "Add Shallow Concentrated Flow");
    Entry(data, "MnuAddChanelFlow", "Add Channel Flow");
    connect(Entry(data, "MnuEditBasin", "Edit Basin"), &QAction::triggered, this,
            &FrmDraw::MnuEditBasin_Click);
    data->addSeparator()->setObjectName(QStringLiteral("MnuSeperator2"));
    Entry(data, "MnuSolve", "Solve");

    QMenu* help = AddMenu(bar, "mnuHelp", "About");
    // Help topics and the wish list have nothing behind them yet.
    Entry(help, "MnuTorrentaHelp", "Torrenta Help")->setEnabled(false);
    connect(Entry(help, "mnuHelpReportBug", "Submit Comments"), &QAction::triggered, this,
            &FrmDraw::MnuHelpReportBug_Click);
    Entry(help, "mnuHelpWish", "Submit to Wish List")->setEnabled(false);
    help->addSeparator()->setObjectName(QStringLiteral("mnuHelpSeperator1"));
    connect(Entry(help, "MnuHelpAbout", "About"), &QAction::triggered, this,
            &FrmDraw::MnuHelpAbout_Click);
}

void FrmDraw::CreateToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar"));
    toolbar_->setObjectName(QStringLiteral("TbDraw"));
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* name;
        const char* caption;
        const char* icon;
        const char* tip;
        const char* menuAction;  // the menu entry the button stands for
    };
    const Button buttons[] = {
        {"TbDraw_Open", "&Open", "open", "Open Existing Project", "MnuOpen"},
        {"TbDraw_New", "&New", "new", "Start a New Project", "MnuNew"},
        {"TbDraw_Close", "&Close", "close", "Close this Project", "MnuFileClose"},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"TbDraw_Overland", "O&verland", "overland", "Add Overland Flow", "MnuAddSubBasin"},
        {"TbDraw_Surface", "S&urface", "surface", "Add Shallow Concentrated Flow", "MnuAddSCF"},
        {"TbDraw_Channel", "C&hannel", "channel", "Add New Channel", "MnuAddChanelFlow"},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"TbDraw_Intensity", "&Intensity", "intensity", "Edit Intensity Table", "MnuEditTable"},
        {"TbDraw_Project", "&Project", "project", "Edit Project Information", "MnuProjectInfo"},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"TbDraw_Solve", "&Solve", "solve", "Solve System", "MnuSolve"},
        {"TbDraw_Report", "Report", "report", nullptr, nullptr},
    };
    for (const Button& button : buttons) {
        if (button.name == nullptr) {
            toolbar_->addSeparator();
            continue;
        }
        auto* action = new QAction(
            QIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(button.icon))),
            QString::fromLatin1(button.caption), toolbar_);
        action->setObjectName(QString::fromLatin1(button.name));
        toolbar_->addAction(action);
        if (button.menuAction == nullptr) {
            action->setEnabled(false);
            continue;
        }
        action->setToolTip(QString::fromLatin1(button.tip));
        // The caption's access key works from the keyboard as Alt+letter.
        action->setShortcut(QKeySequence::mnemonic(action->text()));
        auto* menuAction = findChild<QAction*>(QString::fromLatin1(button.menuAction));
        connect(action, &QAction::triggered, menuAction, &QAction::trigger);
    }
}

FrmDraw::LoadOutcome FrmDraw::LoadNetwork() {
    Session& session = CurrentSession();
    const std::optional<NodeRow> node = ReadNode(session.ProjectPath);
    if (!node) {
        return LoadOutcome::NeedsSetup;
    }
    session.IntensityTableName = node->IntensityTable;
    return LoadOutcome::Loaded;
}

void FrmDraw::MnuChangeTable_Click() {
    Forms::Show<FrmSelectIvalBasin>()->SetTag({});
}

void FrmDraw::MnuEditTable_Click() {
    Forms::Show<FrmIntensityTable>();
}

void FrmDraw::MnuProjectInfo_Click() {
    Forms::Show<FrmInfo>();
}

void FrmDraw::MnuEditBasin_Click() {
    Forms::Show<FrmNodeInfo>();
}

void FrmDraw::MnuHelpReportBug_Click() {
    Forms::Show<FrmBugReport>();
}

void FrmDraw::MnuHelpAbout_Click() {
    Forms::Show<FrmAbout>();
}

}  // namespace torrenta::gui
