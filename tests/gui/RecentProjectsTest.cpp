#include <QDir>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MDIFrmMain.h"
#include "app/RecentProjects.h"
#include "canvas/FrmDraw.h"
#include "common/Forms.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "store/FrmInfo.h"
#include "store/ProjectSetup.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

// The File menus' list of the projects last opened or created.
class RecentProjectsTest : public DesktopRunTest {
    Q_OBJECT

    QTemporaryDir settingsFolder_;

    QString Project(int number) const {
        return ToQ(folder_->File("p" + std::to_string(number) + ".rmt"));
    }

    void MakeProject(int number) {
        const std::string file = FromQ(Project(number));
        NewProject(folder_->AppFolder(), file);
        SaveProjectSetup(file, ProjectInfoRow{}, "Outfall", "Atlanta");
    }

    void Open(int number) {
        prompts_->fileNames.append(Project(number));
        Trigger(main_.get(), main_->Canvas() != nullptr ? QStringLiteral("MnuOpen")
                                                        : QStringLiteral("MnuFileOpen"));
        Settle();
    }

    // The entries a File menu shows now, as their captions.
    static QStringList Entries(QMenu* recent) {
        emit recent->aboutToShow();
        QStringList captions;
        for (const QAction* action : recent->actions()) {
            captions.append(action->text());
        }
        return captions;
    }

    QMenu* MainRecent() const {
        return main_->menuBar()->findChild<QMenu*>(QStringLiteral("MnuRecentProjects"));
    }
    QMenu* CanvasRecent() const {
        return main_->Canvas()->findChild<QMenu*>(QStringLiteral("MnuRecentProjects"));
    }

  private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder_.path());
    }

    void init() {
        QSettings(QSettings::UserScope, QStringLiteral("Quillmoor"), QStringLiteral("Torrenta"))
            .clear();
        StartRun(folder_, prompts_);
        main_ = std::make_unique<MDIFrmMain>();
        main_->show();
    }

    void cleanup() { EndRun(main_, prompts_, folder_); }

    void theLastEightOpenedOrCreatedComeMostRecentFirst() {
        QCOMPARE(Entries(MainRecent()), QStringList{QStringLiteral("No Recent Projects")});
        for (int number = 1; number <= 9; ++number) {
            MakeProject(number);
        }
        for (int number = 1; number <= 9; ++number) {
            Open(number);
        }
        Open(4);  // opened again: moves up, not in twice
        prompts_->fileNames.append(Project(10));
        Trigger(main_.get(), QStringLiteral("MnuNew"));
        Settle();
        // A new project joins the list once its setup is saved under its name.
        QCOMPARE(RecentProjects::List().constFirst(), Project(4));
        FrmInfo* info = Forms::Find<FrmInfo>();
        QVERIFY(info != nullptr);
        Type(info, QStringLiteral("TxtBasinName"), QStringLiteral("Outfall"));
        Click(info, QStringLiteral("CmdIList"));
        Choose(Forms::Find<FrmSelectIvalBasin>(), QStringLiteral("Atlanta"));
        Click(info, QStringLiteral("CmdOK"));
        Settle();

        const QStringList expected = {"&1 p10.rmt", "&2 p4.rmt", "&3 p9.rmt", "&4 p8.rmt",
                                      "&5 p7.rmt",  "&6 p6.rmt", "&7 p5.rmt", "&8 p3.rmt"};
        QCOMPARE(Entries(MainRecent()), expected);
        QCOMPARE(RecentProjects::List().constFirst(), Project(10));

        // Chosen from the canvas's File menu, an entry opens its project.
        Open(1);
        QCOMPARE(Entries(CanvasRecent()).constFirst(), QStringLiteral("&1 p1.rmt"));
        CanvasRecent()->findChild<QAction*>(QStringLiteral("MnuRecentProject3"))->trigger();
        Settle();
        QCOMPARE(ToQ(CurrentSession().ProjectPath), Project(4));
        QVERIFY(main_->Canvas() != nullptr);
        QVERIFY(prompts_->messages.isEmpty());
    }

    void aVanishedFileLeavesTheListWithAMessage() {
        for (int number : {1, 2}) {
            MakeProject(number);
            Open(number);
        }
        std::filesystem::remove(FromQ(Project(1)));
        Entries(CanvasRecent());
        CanvasRecent()->findChild<QAction*>(QStringLiteral("MnuRecentProject2"))->trigger();
        Settle();

        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->messages[0].title, QStringLiteral("Recent Projects"));
        QVERIFY(prompts_->LastText().contains(QDir::toNativeSeparators(Project(1))));
        QCOMPARE(RecentProjects::List(), QStringList{Project(2)});
        // The open project stays open.
        QVERIFY(main_->Canvas() != nullptr);
        QCOMPARE(ToQ(CurrentSession().ProjectPath), Project(2));
    }
};

QTEST_MAIN(RecentProjectsTest)
#include "RecentProjectsTest.moc"
