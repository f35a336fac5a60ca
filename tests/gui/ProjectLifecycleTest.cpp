#include <SQLiteCpp/SQLiteCpp.h>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <memory>

#include "BadInputSupport.h"
#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/FrmOpen.h"
#include "app/MDIFrmMain.h"
#include "app/RecentProjects.h"
#include "canvas/FrmDraw.h"
#include "common/FileLocations.h"
#include "intensity/FrmIntensityTable.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "intensity/IntensityDatabase.h"
#include "store/ElementRows.h"
#include "store/FrmInfo.h"
#include "store/ProjectSetup.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

class ProjectLifecycleTest : public DesktopRunTest {
    Q_OBJECT

    QString ProjectFile(const char* name) const { return ToQ(folder_->File(name)); }

    QToolBar* MainToolbar() const {
        for (QToolBar* bar : main_->findChildren<QToolBar*>(QStringLiteral("TbDraw"))) {
            if (bar->parent() == main_.get()) {
                return bar;
            }
        }
        return nullptr;
    }

    // File New from the main window, then the setup dialog filled and confirmed.
    void CreateProject(const QString& file, const QString& nodeName) {
        prompts_->fileNames.append(file);
        Trigger(main_.get(), QStringLiteral("MnuFileNew"));
        FrmInfo* info = Forms::Find<FrmInfo>();
        QVERIFY(info != nullptr);
        Type(info, QStringLiteral("TxtProjectName"), QStringLiteral("Pine Hollow"));
        Type(info, QStringLiteral("TxtJobNumber"), QStringLiteral("J-17"));
        Type(info, QStringLiteral("TxtDesignDate"), QStringLiteral("3/4/2026"));
        Type(info, QStringLiteral("TxtBasinName"), nodeName);
        Click(info, QStringLiteral("CmdIList"));
        FrmSelectIvalBasin* select = Forms::Find<FrmSelectIvalBasin>();
        QVERIFY(select != nullptr);
        Choose(select, QStringLiteral("Atlanta"));
        QCOMPARE(Text(info, QStringLiteral("TxtITable")), QStringLiteral("Atlanta"));
        Click(info, QStringLiteral("CmdOK"));
        Settle();
    }

    void OpenProjectFile(const QString& file) {
        prompts_->fileNames.append(file);
        Trigger(main_.get(), main_->Canvas() != nullptr ? QStringLiteral("MnuOpen")
                                                        : QStringLiteral("MnuFileOpen"));
        Settle();
    }

    void VerifyStartWindow() {
        QVERIFY(main_->Canvas() == nullptr);
        QVERIFY(main_->findChild<FrmOpen*>() != nullptr);
        QVERIFY(MainToolbar() != nullptr && !MainToolbar()->isHidden());
    }

    // A project with one live and one deleted element of each kind.
    static void AddElements(const std::string& project) {
        for (const char* tag : {"Basin1", "Basin2"}) {
            BasinRow row;
            row.BasinTag = tag;
            row.Deleted = "False";
            InsertElementRow(project, row);
        }
        for (const char* tag : {"Surface1", "Surface2"}) {
            SurfaceRow row;
            row.SurfTag = tag;
            row.Deleted = "False";
            InsertElementRow(project, row);
        }
        for (const char* tag : {"Channel1", "Channel2"}) {
            ChannelRow row;
            row.ChannelTag = tag;
            row.Deleted = "False";
            InsertElementRow(project, row);
        }
        SoftDeleteElement(project, ElementKind::Overland, "Basin2");
        SoftDeleteElement(project, ElementKind::Shallow, "Surface1");
        SoftDeleteElement(project, ElementKind::Channel, "Channel2");
    }

    static ProjectInfoRow HalfDoneInfo() {
        ProjectInfoRow info;
        info.ProjectName = "Half done";
        return info;
    }

    static void VerifyPurged(const std::string& project) {
        QCOMPARE(CountElementRows(project, ElementKind::Overland), 1);
        QCOMPARE(CountElementRows(project, ElementKind::Shallow), 1);
        QCOMPARE(CountElementRows(project, ElementKind::Channel), 1);
        QVERIFY(LoadElementRow<BasinRow>(project, "Basin1").has_value());
        QVERIFY(LoadElementRow<SurfaceRow>(project, "Surface2").has_value());
        QVERIFY(LoadElementRow<ChannelRow>(project, "Channel1").has_value());
    }

  private slots:
    void init() {
        StartRun(folder_, prompts_);
        main_ = std::make_unique<MDIFrmMain>();
        main_->show();
    }

    void cleanup() { EndRun(main_, prompts_, folder_); }

    void startsOnTheStartWindow() {
        QCOMPARE(main_->windowTitle(), QStringLiteral("Torrenta  - version 1.0"));
        VerifyStartWindow();
    }

    // The title names the open project; file dialogs start in its folder and
    // a report's Save As proposes its name, else the last folder used.
    void titlesAndFileDialogsFollowTheOpenProject() {
        QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        RememberFolder(ToQ(folder_->File("elsewhere/x.rmt")));
        // A folder that is gone is not offered.
        QVERIFY(DialogStartFolder() != ToQ(folder_->File("elsewhere")));
        QDir().mkpath(ToQ(folder_->File("elsewhere")));
        QCOMPARE(DialogStartFolder(), ToQ(folder_->File("elsewhere")));

        const QString file = ProjectFile("storm.rmt");
        CreateProject(file, QStringLiteral("Outfall 1"));
        QCOMPARE(main_->windowTitle(), QStringLiteral("storm.rmt \u2014 Torrenta"));
        QCOMPARE(DialogStartFolder(), QFileInfo(file).absolutePath());
        QCOMPARE(ProposedSavePath(QStringLiteral("rtf")),
                 QDir(QFileInfo(file).absolutePath()).filePath(QStringLiteral("storm.rtf")));

        Trigger(main_->Canvas(), QStringLiteral("MnuFileClose"));
        Settle();
        QCOMPARE(main_->windowTitle(), QStringLiteral("Torrenta  - version 1.0"));
    }

    void newProjectWritesOneProjectRowAndTheNodeAtItsStartPosition() {
        const QString file = ProjectFile("new.rmt");
        CreateProject(file, QStringLiteral("Outfall 1"));
        QVERIFY(prompts_->messages.isEmpty());
        QCOMPARE(prompts_->fileFilters.value(0), QStringLiteral("Rational File (*.rmt)"));

        const auto info = ReadProjectInfo(FromQ(file));
        QVERIFY(info.has_value());
        QCOMPARE(info->ProjectName, std::string("Pine Hollow"));
        QCOMPARE(info->JobNumber, std::string("J-17"));
        QCOMPARE(info->DesignDate, std::string("3/4/2026"));
        const auto node = ReadNode(FromQ(file));
        QVERIFY(node.has_value());
        QCOMPARE(node->NodeName, std::string("Outfall 1"));
        QCOMPARE(node->IntensityTable, std::string("Atlanta"));
        QCOMPARE(node->NodeX, std::string("5040"));
        QCOMPARE(node->NodeY, std::string("5160"));

        QVERIFY(main_->Canvas() != nullptr);
        QVERIFY(MainToolbar()->isHidden());
        QCOMPARE(CurrentSession().ProjectPath, FromQ(file));
        QCOMPARE(CurrentSession().IntensityTableName, std::string("Atlanta"));
    }

    void setupRefusesAnEmptyNodeNameOrTable_data() {
        QTest::addColumn<QString>("nodeName");
        QTest::addColumn<bool>("chooseTable");
        QTest::newRow("no node name") << QString() << true;
        QTest::newRow("no table") << QStringLiteral("Outfall") << false;
    }

    void setupRefusesAnEmptyNodeNameOrTable() {
        QFETCH(QString, nodeName);
        QFETCH(bool, chooseTable);
        const QString file = ProjectFile("refused.rmt");
        prompts_->fileNames.append(file);
        Trigger(main_.get(), QStringLiteral("MnuFileNew"));
        FrmInfo* info = Forms::Find<FrmInfo>();
        QVERIFY(info != nullptr);
        Type(info, QStringLiteral("TxtBasinName"), nodeName);
        if (chooseTable) {
            Click(info, QStringLiteral("CmdIList"));
            Choose(Forms::Find<FrmSelectIvalBasin>(), QStringLiteral("Atlanta"));
        }
        Click(info, QStringLiteral("CmdOK"));
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->messages[0].text,
                 QStringLiteral("Please Fill in Basin Information Fields"));
        QCOMPARE(prompts_->messages[0].title, QStringLiteral("Error"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Information);
        QVERIFY(Forms::Find<FrmInfo>() == info);
        // Nothing is stored, in the new project's draft or under its name.
        QVERIFY(!ReadProjectInfo(CurrentSession().ProjectPath).has_value());
        QVERIFY(!ReadNode(CurrentSession().ProjectPath).has_value());
        QVERIFY(!std::filesystem::exists(FromQ(file)));
        QVERIFY(main_->Canvas() == nullptr);
    }

    void reopeningShowsTheStoredValuesAndOkKeepsTheNodePosition() {
        const QString file = ProjectFile("again.rmt");
        CreateProject(file, QStringLiteral("Outfall 1"));
        UpdateNodePosition(FromQ(file), "7000", "2000");
        Trigger(main_->Canvas(), QStringLiteral("MnuFileClose"));
        Settle();
        VerifyStartWindow();

        OpenProjectFile(file);
        QVERIFY(main_->Canvas() != nullptr);
        Trigger(main_->Canvas(), QStringLiteral("MnuProjectInfo"));
        FrmInfo* info = Forms::Find<FrmInfo>();
        QVERIFY(info != nullptr);
        QCOMPARE(Text(info, QStringLiteral("TxtProjectName")), QStringLiteral("Pine Hollow"));
        QCOMPARE(Text(info, QStringLiteral("TxtDesignDate")), QStringLiteral("3/4/2026"));
        QCOMPARE(Text(info, QStringLiteral("TxtBasinName")), QStringLiteral("Outfall 1"));
        QCOMPARE(Text(info, QStringLiteral("TxtITable")), QStringLiteral("Atlanta"));

        Type(info, QStringLiteral("TxtBasinName"), QStringLiteral("Creek 'B'"));
        Click(info, QStringLiteral("CmdOK"));
        const auto node = ReadNode(FromQ(file));
        QCOMPARE(node->NodeName, std::string("Creek 'B'"));
        QCOMPARE(node->NodeX, std::string("7000"));
        QCOMPARE(node->NodeY, std::string("2000"));
    }

    // The setup dialog shows the node row its OK rewrites (the last), and a
    // table list it opened keeps serving it when Change Table brings it up.
    void setupDialogKeepsToItsNodeRowAndItsTableList() {
        const QString file = ProjectFile("two-nodes.rmt");
        CreateProject(file, QStringLiteral("Outfall A"));
        SaveIntensityTable(folder_->AppFolder(), "Second",
                           ReadIntensityGrid(folder_->AppFolder(), "Atlanta"));
        SQLite::Database(FromQ(file), SQLite::OPEN_READWRITE)
            .exec(
                "INSERT INTO TblNodeInfo (NodeName, IntensityTable, NodeX, NodeY) "
                "VALUES ('Outfall B', 'Atlanta', '100', '200')");

        Trigger(main_->Canvas(), QStringLiteral("MnuProjectInfo"));
        FrmInfo* info = Forms::Find<FrmInfo>();
        QVERIFY(info != nullptr);
        QCOMPARE(Text(info, QStringLiteral("TxtBasinName")), QStringLiteral("Outfall B"));
        Click(info, QStringLiteral("CmdIList"));
        Trigger(main_->Canvas(), QStringLiteral("MnuChangeTable"));
        FrmSelectIvalBasin* select = Forms::Find<FrmSelectIvalBasin>();
        QCOMPARE(select->Tag(), QStringLiteral("FrmInfo"));
        Choose(select, QStringLiteral("Second"));
        Settle();
        QCOMPARE(Text(info, QStringLiteral("TxtITable")), QStringLiteral("Second"));
        QVERIFY(Forms::Find<FrmIntensityTable>() == nullptr);

        Click(info, QStringLiteral("CmdOK"));
        const auto first = ReadNode(FromQ(file));
        QCOMPARE(first->NodeName, std::string("Outfall A"));
        QCOMPARE(first->IntensityTable, std::string("Atlanta"));
        const auto last = ReadLastNode(FromQ(file));
        QCOMPARE(last->NodeName, std::string("Outfall B"));
        QCOMPARE(last->IntensityTable, std::string("Second"));
        QVERIFY(prompts_->messages.isEmpty());
    }

    void openingAProjectWithoutNodeRowAsksForTheSetup() {
        // A project written with its information rows but no node row.
        const std::string bare = folder_->NewProjectFile("bare.rmt");
        SaveProjectSetup(bare, HalfDoneInfo(), "x", "Atlanta");
        SQLite::Database(bare, SQLite::OPEN_READWRITE).exec("DELETE FROM TblNodeInfo");

        OpenProjectFile(ToQ(bare));
        QVERIFY(main_->Canvas() == nullptr);
        FrmInfo* info = Forms::Find<FrmInfo>();
        QVERIFY(info != nullptr);
        QCOMPARE(Text(info, QStringLiteral("TxtProjectName")), QStringLiteral("Half done"));
        QCOMPARE(Text(info, QStringLiteral("TxtBasinName")), QString());
        QCOMPARE(Text(info, QStringLiteral("TxtITable")), QString());

        Type(info, QStringLiteral("TxtBasinName"), QStringLiteral("Outfall 9"));
        Click(info, QStringLiteral("CmdIList"));
        Choose(Forms::Find<FrmSelectIvalBasin>(), QStringLiteral("Atlanta"));
        Click(info, QStringLiteral("CmdOK"));
        Settle();
        const auto node = ReadNode(bare);
        QVERIFY(node.has_value());
        QCOMPARE(node->NodeName, std::string("Outfall 9"));
        QCOMPARE(node->NodeX, std::string("5040"));
        QVERIFY(main_->Canvas() != nullptr);
        QVERIFY(prompts_->messages.isEmpty());
    }

    void closeAndExitPurgeTheDeletedRows_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("File Close") << QStringLiteral("MnuFileClose");
        QTest::newRow("canvas toolbar Close") << QStringLiteral("TbDraw_Close");
        QTest::newRow("File Exit") << QStringLiteral("MnuExit");
        QTest::newRow("canvas New") << QStringLiteral("MnuNew");
        QTest::newRow("canvas Open") << QStringLiteral("MnuOpen");
    }

    void closeAndExitPurgeTheDeletedRows() {
        QFETCH(QString, command);
        const QString file = ProjectFile("purge.rmt");
        CreateProject(file, QStringLiteral("Outfall"));
        AddElements(FromQ(file));
        const std::string other = folder_->NewProjectFile("other.rmt");
        SaveProjectSetup(other, {}, "Other", "Atlanta");
        prompts_->fileNames.append(command == QStringLiteral("MnuNew") ? ProjectFile("next.rmt")
                                                                       : ToQ(other));
        Trigger(main_->Canvas(), command);
        Settle();
        VerifyPurged(FromQ(file));
        QVERIFY(ReadNode(FromQ(file)).has_value());
        if (command == QStringLiteral("MnuExit")) {
            QVERIFY(!main_->isVisible());
        }
    }

    void failedOpenOrNewNamesTheFileAndTheReason_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("random bytes")
            << QStringLiteral("MnuFileOpen") << QByteArray("this is no database at all, just text")
            << QStringLiteral("is not a Torrenta project");
        QTest::newRow("empty file") << QStringLiteral("MnuFileOpen") << QByteArray()
                                    << QStringLiteral("is not a Torrenta project");
        QTest::newRow("template missing")
            << QStringLiteral("MnuFileNew") << QByteArray() << QStringLiteral("template");
    }

    void failedOpenOrNewNamesTheFileAndTheReason() {
        QFETCH(QString, action);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const std::string path = folder_->File("broken.rmt");
        if (action == QStringLiteral("MnuFileOpen")) {
            std::ofstream(path, std::ios::binary) << content.toStdString();
        } else {
            std::filesystem::remove(folder_->File("empty.mdb"));
        }
        prompts_->fileNames.append(ToQ(path));
        Trigger(main_.get(), action);
        Settle();
        QCOMPARE(prompts_->messages.size(), 1);
        QVERIFY2(prompts_->LastText().contains(ToQ(path)), qPrintable(prompts_->LastText()));
        QVERIFY2(prompts_->LastText().contains(reason), qPrintable(prompts_->LastText()));
        QVERIFY(Forms::Find<FrmInfo>() == nullptr);
        VerifyStartWindow();
        QCOMPARE(CurrentSession().ProjectPath, std::string());
    }

    void cancelledFileDialogsChangeNothing() {
        const QString file = ProjectFile("kept.rmt");
        CreateProject(file, QStringLiteral("Outfall"));
        AddElements(FromQ(file));
        for (const char* action : {"MnuNew", "MnuOpen"}) {
            Trigger(main_->Canvas(), QString::fromLatin1(action));
        }
        QVERIFY(prompts_->messages.isEmpty());
        QVERIFY(main_->Canvas() != nullptr);
        QCOMPARE(CountElementRows(FromQ(file), ElementKind::Overland), 2);
        QCOMPARE(CurrentSession().ProjectPath, FromQ(file));
    }

    // File New onto a file that is there (the save dialog confirmed it) sets
    // the new project up in a draft: the file is replaced only by Project
    // Setup's OK, and Cancel or Esc leave it byte for byte with no draft
    // beside it. The open project's own file closes that project first.
    void newOverAFileKeepsItUntilSetupOk_data() {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("ending");
        for (const char* existing : {"no file", "closed project", "text file", "open project"}) {
            for (const char* ending : {"CmdOK", "CmdCancel", "Esc"}) {
                // Row names built as text: g++ -O3 cannot prove a %s argument
                // taken from a list non-null.
                QTest::newRow(QByteArray(existing).append(", ").append(ending).constData())
                    << QString::fromLatin1(existing) << QString::fromLatin1(ending);
            }
        }
        // A project in the way is named in the question; No keeps everything.
        for (const char* existing : {"closed project", "open project"}) {
            QTest::newRow(QByteArray(existing).append(", No").constData())
                << QString::fromLatin1(existing) << QStringLiteral("No");
        }
    }

    void newOverAFileKeepsItUntilSetupOk() {
        QFETCH(QString, existing);
        QFETCH(QString, ending);
        QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        const QString file = ProjectFile("site.rmt");
        const std::string path = FromQ(file);
        if (existing == QStringLiteral("text file")) {
            WriteFileBytes(path, "Survey notes, lot 7: keep.\n");
        } else if (existing != QStringLiteral("no file")) {
            folder_->NewProjectFile("site.rmt");
            SaveProjectSetup(path, HalfDoneInfo(), "Old outfall", "Atlanta");
            BasinRow basin;
            basin.BasinTag = "Basin1";
            basin.Deleted = "False";
            InsertElementRow(path, basin);
        }
        if (existing == QStringLiteral("open project")) {
            OpenProjectFile(file);
            QVERIFY(main_->Canvas() != nullptr);
        }
        Fingerprint before = FolderFingerprint(folder_->AppFolder());
        const QString bytesBefore = ToQ(ReadFileBytes(path));
        const QStringList recentBefore = RecentProjects::List();

        prompts_->fileNames.append(file);
        const bool aProject = existing.endsWith(QStringLiteral("project"));
        if (ending == QStringLiteral("No")) {
            prompts_->answers.append(QMessageBox::No);
        }
        const bool wasOpen = main_->Canvas() != nullptr;
        Trigger(wasOpen ? static_cast<QObject*>(main_->Canvas()) : main_.get(),
                wasOpen ? QStringLiteral("MnuNew") : QStringLiteral("MnuFileNew"));
        Settle();
        if (aProject) {
            QCOMPARE(prompts_->messages.value(0).text,
                     QStringLiteral("site.rmt is a Torrenta project (Half done, 1 element). "
                                    "Replace it with a new project?"));
            prompts_->messages.clear();
        }
        if (ending == QStringLiteral("No")) {
            QVERIFY(Forms::Find<FrmInfo>() == nullptr);
            QCOMPARE(main_->Canvas() != nullptr, wasOpen);
            QCOMPARE(ToQ(ReadFileBytes(path)), bytesBefore);
            const Fingerprint after = FolderFingerprint(folder_->AppFolder());
            QVERIFY2(after == before, FingerprintChanges(before, after).c_str());
            return;
        }
        FrmInfo* info = Forms::Find<FrmInfo>();
        QVERIFY(info != nullptr);
        QVERIFY(main_->Canvas() == nullptr);
        QCOMPARE(ToQ(ReadFileBytes(path)), bytesBefore);
        QCOMPARE(std::filesystem::exists(path), existing != QStringLiteral("no file"));
        QCOMPARE(main_->windowTitle(), QStringLiteral("site.rmt \u2014 Torrenta"));
        QCOMPARE(Text(info, QStringLiteral("TxtProjectName")), QString());
        QCOMPARE(Text(info, QStringLiteral("TxtBasinName")), QString());

        if (ending != QStringLiteral("CmdOK")) {
            if (ending == QStringLiteral("Esc")) {
                QTest::keyClick(info, Qt::Key_Escape);
            } else {
                Click(info, QStringLiteral("CmdCancel"));
            }
            Settle();
            const Fingerprint after = FolderFingerprint(folder_->AppFolder());
            QVERIFY2(after == before, FingerprintChanges(before, after).c_str());
            QCOMPARE(main_->windowTitle(), QStringLiteral("Torrenta  - version 1.0"));
            QCOMPARE(CurrentSession().ProjectPath, std::string());
            QCOMPARE(RecentProjects::List(), recentBefore);
            VerifyStartWindow();
            return;
        }
        Type(info, QStringLiteral("TxtBasinName"), QStringLiteral("New outfall"));
        Click(info, QStringLiteral("CmdIList"));
        Choose(Forms::Find<FrmSelectIvalBasin>(), QStringLiteral("Atlanta"));
        Click(info, QStringLiteral("CmdOK"));
        Settle();
        QVERIFY(prompts_->messages.isEmpty());
        QVERIFY(main_->Canvas() != nullptr);
        QCOMPARE(main_->windowTitle(), QStringLiteral("site.rmt \u2014 Torrenta"));
        QCOMPARE(CurrentSession().ProjectPath, path);
        QCOMPARE(RecentProjects::List().value(0), file);
        QCOMPARE(ReadNode(path)->NodeName, std::string("New outfall"));
        QCOMPARE(ReadProjectInfo(path)->ProjectName, std::string());
        QCOMPARE(CountElementRows(path, ElementKind::Overland), 0);
        Fingerprint after = FolderFingerprint(folder_->AppFolder());
        after.erase("site.rmt");
        before.erase("site.rmt");
        QVERIFY2(after == before, FingerprintChanges(before, after).c_str());
    }

    void eachDialogOpensOnce_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("form");
        QTest::newRow("Project Info")
            << QStringLiteral("MnuProjectInfo") << QStringLiteral("FrmInfo");
        QTest::newRow("Edit Table")
            << QStringLiteral("MnuEditTable") << QStringLiteral("FrmIntensityTable");
        QTest::newRow("Change Table")
            << QStringLiteral("MnuChangeTable") << QStringLiteral("FrmSelectIvalBasin");
        QTest::newRow("Edit Basin")
            << QStringLiteral("MnuEditBasin") << QStringLiteral("FrmNodeInfo");
        QTest::newRow("Submit Comments")
            << QStringLiteral("mnuHelpReportBug") << QStringLiteral("FrmBugReport");
        QTest::newRow("About") << QStringLiteral("MnuHelpAbout") << QStringLiteral("FrmAbout");
        QTest::newRow("toolbar Intensity")
            << QStringLiteral("TbDraw_Intensity") << QStringLiteral("FrmIntensityTable");
        QTest::newRow("toolbar Project")
            << QStringLiteral("TbDraw_Project") << QStringLiteral("FrmInfo");
    }

    void eachDialogOpensOnce() {
        QFETCH(QString, action);
        QFETCH(QString, form);
        CreateProject(ProjectFile("once.rmt"), QStringLiteral("Outfall"));
        Trigger(main_->Canvas(), action);
        QWidget* first = main_->findChild<QWidget*>(form);
        QVERIFY(first != nullptr && first->isVisible());
        auto* box = first->findChild<QLineEdit*>();
        if (box != nullptr) {
            box->setText(QStringLiteral("typed, not saved"));
        }
        Trigger(main_->Canvas(), action);
        QCOMPARE(main_->findChildren<QWidget*>(form).size(), 1);
        QVERIFY(main_->findChild<QWidget*>(form) == first);
        if (box != nullptr) {
            QCOMPARE(box->text(), QStringLiteral("typed, not saved"));
        }
    }

    void inertCommandsAreShownDisabled() {
        CreateProject(ProjectFile("inert.rmt"), QStringLiteral("Outfall"));
        for (const char* name : {"MnuTorrentaHelp", "mnuHelpWish", "TbDraw_Report"}) {
            QAction* action = Named<QAction>(main_->Canvas(), QString::fromLatin1(name));
            QVERIFY(action != nullptr);
            QVERIFY2(!action->isEnabled(), name);
        }
        QVERIFY(Named<QAction>(main_->Canvas(), QStringLiteral("MnuChangeTable"))->isEnabled());
    }
};

QTEST_MAIN(ProjectLifecycleTest)
#include "ProjectLifecycleTest.moc"
