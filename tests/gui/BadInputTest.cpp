#include <SQLiteCpp/SQLiteCpp.h>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGraphicsView>
#include <QInputMethodEvent>
#include <QTest>
#include <QTextEdit>
#include <filesystem>
#include <functional>
#include <memory>

#include "BadInputSupport.h"
#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/FrmOpen.h"
#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"
#include "editors/ChannelFlowDialog.h"
#include "editors/OverlandFlowDialog.h"
#include "editors/ShallowFlowDialog.h"
#include "intensity/FrmIntensityTable.h"
#include "intensity/FrmNodeInfo.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "intensity/IntensityDatabase.h"
#include "report/FrmViewReport.h"
#include "report/ReportComposer.h"
#include "store/Connection.h"
#include "store/ElementRows.h"
#include "store/FrmInfo.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

namespace {

// Puts `text` into a box the way a user would: typed key by key, or pasted
// when it holds a tab or a line break (keys that would move the focus or press
// a button) or is too long to type in reasonable time.
void Enter(QLineEdit* box, const QString& text) {
    QVERIFY(box != nullptr);
    box->setFocus();
    box->selectAll();
    if (text.isEmpty()) {
        box->del();
    } else if (HasControlCharacters(FromQ(text)) || text.size() > 200) {
        QGuiApplication::clipboard()->setText(text);
        box->paste();
    } else {
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(box, c.toLatin1());
            } else if (c.unicode() < 0x100) {
                // A key of a European layout: the event carries the letter.
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            } else {
                // Japanese arrives through the input method, committed text.
                QInputMethodEvent event;
                event.setCommitString(QString(c));
                QApplication::sendEvent(box, &event);
            }
        }
    }
    QCOMPARE(box->text(), text);
}

void Enter(QWidget* form, const char* box, const QString& text) {
    Enter(Named<QLineEdit>(form, QString::fromLatin1(box)), text);
}

void EnterDescription(QWidget* form, const QString& text) {
    auto* combo = Named<QComboBox>(form, QStringLiteral("CmbN"));
    QVERIFY(combo != nullptr);
    Enter(combo->lineEdit(), text);
    QCOMPARE(combo->currentText(), text);
}

// A menu caption as the menu shows it: "&&" is an ampersand, a single "&"
// only marks the access key.
QString AsMenuShows(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            ++i;
            if (i == caption.size()) {
                break;
            }
        }
        shown += caption[i];
    }
    return shown;
}

QString ComboText(QWidget* form) {
    auto* combo = Named<QComboBox>(form, QStringLiteral("CmbN"));
    return combo != nullptr ? combo->currentText() : QStringLiteral("<missing>");
}

// The report's rows of the elements the test adds, each named `text`; the
// names cut as they fit their columns (see ExpectedCell).
std::vector<std::vector<ExpectedCell>> ElementRows(const std::string& text) {
    return {
        {{text, 1240}, {"3"}, {"0.02"}, {"150"}, {text, 1340}, {"0.24"}, {"…"}},
        {{text, 1740}, {text, 1940}, {"3"}, {"1.000"}, {"0.4"}, {"0.4000"}},
        {{text, 1073}, {"Unpaved"}, {"0.02"}, {"500"}, {"…"}},
        {{text, 1738}, {"1000"}, {"0.013"}, {text, 1272}, {"0.005"}, {"10"}, {"8"}, {"…"}},
    };
}

}  // namespace

class BadInputTest : public DesktopRunTest {
    Q_OBJECT

    std::filesystem::path App() const { return folder_->AppFolder(); }

    QString MessagesText() const {
        QStringList texts;
        for (const auto& shown : prompts_->messages) {
            texts.append(shown.text);
        }
        return texts.join(QStringLiteral(" | "));
    }

    // Intensity, Edit Table, Add New Basin: a table named `name` with a value
    // in every cell, rising with return period so the editor has nothing to
    // warn about.
    void CreateTable(const QString& name) {
        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        Click(editor, QStringLiteral("CmdAdd"));
        Enter(editor, "TxtBasinName", name);
        for (int column = 0; column < 7; ++column) {
            for (int row = 0; row < 10; ++row) {
                QLineEdit* cell = editor->Cell(column, row);
                cell->setFocus();
                QTest::keyClicks(cell, column == 0   ? QStringLiteral("0.1")
                                       : column == 1 ? QStringLiteral("0.125")
                                                     : QStringLiteral("%1.0").arg(column + 1));
            }
        }
        Click(editor, QStringLiteral("CmdUpdate"));
        Settle();
    }

    // File New, then the setup dialog with `text` in every project box.
    void CreateProject(const QString& file, const QString& text, const QString& node,
                       const QString& table) {
        prompts_->fileNames.append(file);
        Trigger(main_.get(), QStringLiteral("MnuFileNew"));
        FrmInfo* info = Forms::Find<FrmInfo>();
        QVERIFY(info != nullptr);
        for (const char* box : {"TxtProjectName", "TxtJobNumber", "TxtDesignDate",
                                "TxtDesignEngineer", "TxtProjectManager"}) {
            Enter(info, box, text);
        }
        Enter(info, "TxtBasinName", node);
        Click(info, QStringLiteral("CmdIList"));
        Choose(Forms::Find<FrmSelectIvalBasin>(), table);
        QCOMPARE(Text(info, QStringLiteral("TxtITable")), table);
        Click(info, QStringLiteral("CmdOK"));
        Settle();
    }

    void AddOverland(const QString& name, const QString& landUse, const QString& surface) {
        Trigger(Canvas(), QStringLiteral("MnuAddSubBasin"));
        auto* dialog = Forms::Find<FrmBasInfo>();
        QVERIFY(dialog != nullptr);
        Enter(dialog, "TxtBasinName", name);
        Enter(dialog, "TxtArea", QStringLiteral("3"));
        Enter(dialog, "TxtSoilType", landUse);
        Enter(dialog, "TxtC", QStringLiteral("0.4"));
        Enter(dialog, "TxtLength", QStringLiteral("150"));
        Enter(dialog, "TxtSlope", QStringLiteral("0.02"));
        EnterDescription(dialog, surface);
        Enter(dialog, "TxtN", QStringLiteral("0.24"));
        Click(dialog, QStringLiteral("CmdOK"));
        Settle();
    }

    void AddShallow(const QString& name) {
        Trigger(Canvas(), QStringLiteral("MnuAddSCF"));
        auto* dialog = Forms::Find<FrmSurfaceAddInfo>();
        QVERIFY(dialog != nullptr);
        Enter(dialog, "TxtSurfName", name);
        Enter(dialog, "TxtLength", QStringLiteral("500"));
        Enter(dialog, "TxtSlope", QStringLiteral("0.02"));
        Click(dialog, QStringLiteral("CmdOK"));
        Settle();
    }

    void AddChannel(const QString& name, const QString& material) {
        Trigger(Canvas(), QStringLiteral("MnuAddChanelFlow"));
        auto* dialog = Forms::Find<FrmChannelAddInfo>();
        QVERIFY(dialog != nullptr);
        Enter(dialog, "TxtChannelName", name);
        Enter(dialog, "TxtArea", QStringLiteral("10"));
        Enter(dialog, "TxtWP", QStringLiteral("8"));
        Enter(dialog, "TxtSlope", QStringLiteral("0.005"));
        Enter(dialog, "TxtLength", QStringLiteral("1000"));
        EnterDescription(dialog, material);
        Enter(dialog, "TxtN", QStringLiteral("0.013"));
        Click(dialog, QStringLiteral("CmdOK"));
        Settle();
    }

    void RenameNode(const QString& name) {
        Trigger(Canvas(), QStringLiteral("MnuEditBasin"));
        auto* dialog = Forms::Find<FrmNodeInfo>();
        QVERIFY(dialog != nullptr);
        Enter(dialog, "TxtNodeName", name);
        Click(dialog, QStringLiteral("CmdUpdate"));
        Settle();
    }

    // An update dialog opened on the element with `tag`, as Edit Data would.
    template <class Form>
    Form* OpenUpdate(const char* tag) {
        CurrentSession().SelectedIcon = QString::fromLatin1(tag);
        return Forms::Show<Form>();
    }

    // A set-up project with one element of each kind, open on the canvas.
    std::string OpenSampleProject() {
        const std::string site = folder_->File("site.rmt");
        MakeSampleProject(folder_->AppFolder(), site);
        CurrentSession().ProjectPath = site;
        main_->ShowCanvas();
        return site;
    }

    void VerifyStartWindow() {
        QVERIFY(Canvas() == nullptr);
        QVERIFY(main_->findChild<FrmOpen*>() != nullptr);
    }

  private slots:
    void init() {
        StartRun(folder_, prompts_);
        main_ = std::make_unique<MDIFrmMain>();
        main_->resize(1200, 900);
        main_->show();
    }

    void cleanup() { EndRun(main_, prompts_, folder_); }

    void typedTextsAreStoredShownAndReported_data() {
        QTest::addColumn<QString>("text");
        for (const auto& typed : TypedTexts()) {
            QTest::newRow(typed.label) << ToQ(typed.text);
        }
    }

    // The text goes into every box that takes text: the table name, the
    // project setup, the node's name, the element names and descriptions
    // (only the table name when the text is more than one line). It
    // is stored exactly, the dialogs show it again exactly, and the report
    // window and its RTF file show it as the report composes it.
    void typedTextsAreStoredShownAndReported() {
        QFETCH(QString, text);
        const std::string typed = FromQ(text);
        CreateTable(text);
        if (HasControlCharacters(typed)) {
            // A name is one line: the editor refuses a pasted TAB or line
            // break and stores nothing.
            QCOMPARE(MessagesText(),
                     QStringLiteral("The intensity table name holds a TAB, a line break or "
                                    "another control character; enter it as one line of text."));
            QVERIFY(!IntensityTableExists(folder_->AppFolder(), typed));
            return;
        }
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(MessagesText()));
        QVERIFY(IntensityTableExists(folder_->AppFolder(), typed));
        QCOMPARE(ReadIntensityGrid(folder_->AppFolder(), typed)[9][1], std::string("0.125"));
        auto* editor = Forms::Show<FrmIntensityTable>();
        QCOMPARE(Text(editor, QStringLiteral("TxtBasinName")), text);
        QCOMPARE(editor->Cell(1, 9)->text(), QStringLiteral("0.125"));
        editor->close();
        Settle();
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(MessagesText()));

        const QString file = ToQ(folder_->File("texts.rmt"));
        CreateProject(file, text, text, text);
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(MessagesText()));
        QVERIFY(Canvas() != nullptr);
        const std::string project = FromQ(file);
        const auto info = ReadProjectInfo(project);
        QVERIFY(info.has_value());
        QCOMPARE(info->ProjectName, typed);
        QCOMPARE(info->JobNumber, typed);
        QCOMPARE(info->DesignDate, typed);
        QCOMPARE(info->DesignEngineer, typed);
        QCOMPARE(info->ProjectManager, typed);
        QCOMPARE(ReadNode(project)->NodeName, typed);
        QCOMPARE(ReadNode(project)->IntensityTable, typed);

        RenameNode(QStringLiteral("Outfall"));
        QCOMPARE(ReadNode(project)->NodeName, std::string("Outfall"));
        RenameNode(text);
        QCOMPARE(ReadNode(project)->NodeName, typed);
        auto* node = Forms::Show<FrmNodeInfo>();
        QCOMPARE(Text(node, QStringLiteral("TxtNodeName")), text);
        QCOMPARE(Text(node, QStringLiteral("TxtIntensityTable")), text);
        node->close();

        AddOverland(text, text, text);
        AddShallow(text);
        AddChannel(text, text);
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(MessagesText()));
        const auto basin = LoadElementRow<BasinRow>(project, "Basin1");
        QVERIFY(basin.has_value());
        QCOMPARE(basin->BasinName, typed);
        QCOMPARE(basin->SoilType, typed);
        QCOMPARE(basin->BasinNType, typed);
        QCOMPARE(basin->BasinN, std::string("0.24"));
        QCOMPARE(LoadElementRow<SurfaceRow>(project, "Surface1")->SurfName, typed);
        const auto channel = LoadElementRow<ChannelRow>(project, "Channel1");
        QVERIFY(channel.has_value());
        QCOMPARE(channel->ChannelName, typed);
        QCOMPARE(channel->ChannelMaterial, typed);
        QCOMPARE(channel->ChannelN, std::string("0.013"));

        // Shown again exactly by the dialogs that read the rows back.
        Trigger(Canvas(), QStringLiteral("MnuProjectInfo"));
        auto* setup = Forms::Find<FrmInfo>();
        for (const char* box :
             {"TxtProjectName", "TxtJobNumber", "TxtDesignDate", "TxtDesignEngineer",
              "TxtProjectManager", "TxtBasinName", "TxtITable"}) {
            QCOMPARE(Text(setup, QString::fromLatin1(box)), text);
        }
        setup->close();
        auto* basinUpdate = OpenUpdate<FrmBasUpdate>("Basin1");
        QCOMPARE(Text(basinUpdate, QStringLiteral("TxtBasinName")), text);
        QCOMPARE(Text(basinUpdate, QStringLiteral("TxtSoilType")), text);
        QCOMPARE(ComboText(basinUpdate), text);
        Click(basinUpdate, QStringLiteral("CmdOK"));
        QCOMPARE(LoadElementRow<BasinRow>(project, "Basin1")->BasinNType, typed);
        auto* surfaceUpdate = OpenUpdate<FrmSurfaceUpdateInfo>("Surface1");
        QCOMPARE(Text(surfaceUpdate, QStringLiteral("TxtSurfName")), text);
        surfaceUpdate->close();
        auto* channelUpdate = OpenUpdate<FrmChannelUpdateInfo>("Channel1");
        QCOMPARE(Text(channelUpdate, QStringLiteral("TxtChannelName")), text);
        QCOMPARE(ComboText(channelUpdate), text);
        Click(channelUpdate, QStringLiteral("CmdOK"));
        QCOMPARE(LoadElementRow<ChannelRow>(project, "Channel1")->ChannelMaterial, typed);
        Settle();
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(MessagesText()));

        // The pop-up menus name the element and the node as stored.
        Canvas()->View()->viewport()->resize(1000, 700);
        for (const IconItem* icon :
             {Canvas()->Icons(ElementKind::Overland).value(1), Canvas()->NodeIcon()}) {
            QVERIFY(icon != nullptr);
            const QPoint at = Canvas()->View()->mapFromScene(icon->Centre());
            QTest::mousePress(Canvas()->View()->viewport(), Qt::RightButton, {}, at);
            QTest::mouseRelease(Canvas()->View()->viewport(), Qt::RightButton, {}, at);
        }
        QCOMPARE(prompts_->menus.size(), 2);
        QCOMPARE(AsMenuShows(prompts_->menus[0].value(0)), text);
        QCOMPARE(AsMenuShows(prompts_->menus[1].value(0)), text);

        Trigger(Canvas(), QStringLiteral("MnuSolve"));
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(MessagesText()));
        auto* report = Forms::Find<FrmViewReport>();
        QVERIFY(report != nullptr);
        const QString shown = Named<QTextEdit>(report, QStringLiteral("RtbReport"))->toPlainText();
        const QString lines = ToQ(ReportLines(typed));
        for (const char* label : {"Project Name:", "Design Engineer:", "Project Manager:",
                                  "Design Date:", "Job Number:"}) {
            QVERIFY2(shown.contains(QString::fromLatin1(label) + u'\t' + lines + u'\n'), label);
        }
        for (const auto& row : ElementRows(typed)) {
            // The Tc values the dialogs compute are left out: "…" ends a row early.
            auto cells = row;
            const bool whole = cells.back().text != "…";
            if (!whole) {
                cells.pop_back();
            }
            QVERIFY2(ShowsRow(FromQ(shown), cells, whole), row.front().text.c_str());
        }

        const QString rtf = ToQ(folder_->File("texts.rtf"));
        prompts_->fileNames = {rtf};
        Trigger(report, QStringLiteral("TbSaveAs"));
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(MessagesText()));
        const std::string saved = ReadFileBytes(FromQ(rtf));
        QVERIFY(IsSevenBit(saved));
        const std::string composed =
            ComposeReport({project, folder_->AppFolder(), typed, SolveNetwork(project)})
                .document.PlainText();
        QCOMPARE(ToQ(RtfText(saved)), ToQ(composed));
        QCOMPARE(shown, ToQ(composed));
    }

    // Project Setup's own boxes and the element descriptions may stay empty;
    // the node's name, the element names, the land use and a table's name may
    // not, and an empty one is refused with the dialog's message and nothing
    // stored.
    void emptyTextIsStoredWhereAllowedAndRefusedElsewhere() {
        const QString file = ToQ(folder_->File("empty.rmt"));
        const std::string project = FromQ(file);
        prompts_->fileNames.append(file);
        Trigger(main_.get(), QStringLiteral("MnuFileNew"));
        FrmInfo* info = Forms::Find<FrmInfo>();
        QVERIFY(info != nullptr);
        Click(info, QStringLiteral("CmdIList"));
        Choose(Forms::Find<FrmSelectIvalBasin>(), QStringLiteral("Atlanta"));
        Enter(info, "TxtBasinName", QString());
        Click(info, QStringLiteral("CmdOK"));
        QCOMPARE(MessagesText(), QStringLiteral("Please Fill in Basin Information Fields"));
        // Nothing is saved, so nothing is written under the new project's name.
        QVERIFY(!std::filesystem::exists(project));
        prompts_->messages.clear();

        CreateProject(file, QString(), QStringLiteral("Outfall"), QStringLiteral("Atlanta"));
        QVERIFY(Canvas() != nullptr);
        const auto stored = ReadProjectInfo(project);
        QVERIFY(stored.has_value());
        QCOMPARE(stored->ProjectName, std::string());
        QCOMPARE(stored->DesignDate, std::string());
        QCOMPARE(stored->ProjectManager, std::string());

        RenameNode(QString());
        QCOMPARE(MessagesText(), QStringLiteral("Please fill all fields"));
        QCOMPARE(ReadNode(project)->NodeName, std::string("Outfall"));
        Forms::Close<FrmNodeInfo>();
        prompts_->messages.clear();

        struct Refused {
            const char* label;
            std::function<void()> add;
            const char* form;
        };
        const Refused refused[] = {
            {"overland name", [&] { AddOverland({}, QStringLiteral("Lawn"), QStringLiteral("x")); },
             "FrmBasInfo"},
            {"land use", [&] { AddOverland(QStringLiteral("B"), {}, QStringLiteral("x")); },
             "FrmBasInfo"},
            {"shallow name", [&] { AddShallow({}); }, "FrmSurfaceAddInfo"},
            {"channel name", [&] { AddChannel({}, QStringLiteral("x")); }, "FrmChannelAddInfo"},
        };
        for (const Refused& r : refused) {
            r.add();
            QVERIFY2(MessagesText() == QStringLiteral("Please fill all fields"), r.label);
            auto* open = main_->findChild<QWidget*>(QString::fromLatin1(r.form));
            QVERIFY2(open != nullptr && open->isVisible(), r.label);
            open->close();
            Settle();
            prompts_->messages.clear();
        }
        QCOMPARE(CountElementRows(project, ElementKind::Overland), 0);
        QCOMPARE(CountElementRows(project, ElementKind::Shallow), 0);
        QCOMPARE(CountElementRows(project, ElementKind::Channel), 0);

        AddOverland(QStringLiteral("B"), QStringLiteral("Lawn"), QString());
        AddChannel(QStringLiteral("C"), QString());
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(MessagesText()));
        QCOMPARE(LoadElementRow<BasinRow>(project, "Basin1")->BasinNType, std::string());
        QCOMPARE(LoadElementRow<BasinRow>(project, "Basin1")->BasinN, std::string("0.24"));
        QCOMPARE(LoadElementRow<ChannelRow>(project, "Channel1")->ChannelMaterial, std::string());

        CreateTable(QString());
        QCOMPARE(MessagesText(), QStringLiteral("Please fill all fields"));
        QCOMPARE(ListIntensityTables(folder_->AppFolder()), std::vector<std::string>{"Atlanta"});
    }

    void damagedProjectsAreRefusedOnOpen_data() {
        QTest::addColumn<int>("damage");
        for (const auto& damaged : DamagedProjects()) {
            QTest::newRow(damaged.label) << static_cast<int>(damaged.damage);
        }
        QTest::newRow("a read-only project") << -1;
    }

    // File Open on a file that is no project, or one the user may not write:
    // one message naming the file and the reason, the start window stays, no
    // file in the folder changes, and a good project opens afterwards.
    void damagedProjectsAreRefusedOnOpen() {
        QFETCH(int, damage);
        const std::string path = folder_->File("site.rmt");
        QString expected;
        std::unique_ptr<ActingAsOrdinaryUser> user;
        if (damage >= 0) {
            const DamagedProject& damaged = DamagedProjects()[static_cast<std::size_t>(damage)];
            MakeDamagedProject(damaged.damage, folder_->AppFolder(), path);
            expected = damaged.damage == Damage::Folder
                           ? QStringLiteral("Cannot open the project file \"%1\": %2")
                                 .arg(ToQ(path), QString::fromLatin1(damaged.reason))
                           : QStringLiteral("\"%1\" %2")
                                 .arg(ToQ(path), QString::fromLatin1(damaged.reason));
        } else {
            MakeSampleProject(folder_->AppFolder(), path);
            if (!MakeReadOnly(path)) {
                QSKIP("cannot make a file read-only for an ordinary user here");
            }
            user = std::make_unique<ActingAsOrdinaryUser>();
            if (!user->Active()) {
                QSKIP("running as root and cannot act as the user nobody");
            }
            expected = QStringLiteral(
                           "The project file \"%1\" is read-only; Torrenta saves every change into "
                           "the project, so it needs a file it may write.")
                           .arg(ToQ(path));
        }
        const Fingerprint before = FolderFingerprint(App());
        prompts_->fileNames.append(ToQ(path));
        Trigger(main_.get(), QStringLiteral("MnuFileOpen"));
        Settle();
        QCOMPARE(MessagesText(), expected);
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Critical);
        VerifyStartWindow();
        if (damage == static_cast<int>(Damage::Folder) || damage < 0) {
            prompts_->messages.clear();
            prompts_->fileNames.append(ToQ(path));
            Trigger(main_.get(), QStringLiteral("MnuFileNew"));
            Settle();
            QCOMPARE(MessagesText(),
                     damage < 0
                         ? QStringLiteral("Cannot create \"%1\": a read-only file of that "
                                          "name is in the way.")
                               .arg(ToQ(path))
                         : QStringLiteral("Cannot create \"%1\": it is a folder.").arg(ToQ(path)));
            QVERIFY(Forms::Find<FrmInfo>() == nullptr);
        }
        user.reset();
        const Fingerprint after = FolderFingerprint(App());
        QVERIFY2(before == after, FingerprintChanges(before, after).c_str());

        prompts_->messages.clear();
        const std::string good = folder_->File("good 'O\"Brien' \u00E9 \u65E5\u672C;#%1.rmt");
        MakeSampleProject(folder_->AppFolder(), good);
        prompts_->fileNames.append(ToQ(good));
        Trigger(main_.get(), QStringLiteral("MnuFileOpen"));
        Settle();
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(MessagesText()));
        QVERIFY(Canvas() != nullptr);
        QCOMPARE(Canvas()->VisibleCount(ElementKind::Overland), 1);
    }

    void damagedApplicationFilesAreNamed_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("projectMayChange");
        const QString missingIntensity = QStringLiteral(
            "Cannot open the intensity database \"APP/intensity.mdb\": the file does not exist.");
        const QString sevenRows =
            QStringLiteral("The intensity table \"Atlanta\" has only 7 of its 10 rows.");
        QTest::newRow("intensity.mdb missing: Edit Table")
            << "remove intensity.mdb"
            << "MnuEditTable" << missingIntensity << false;
        QTest::newRow("intensity.mdb missing: Change Table")
            << "remove intensity.mdb"
            << "MnuChangeTable" << missingIntensity << false;
        QTest::newRow("intensity.mdb missing: Solve") << "remove intensity.mdb"
                                                      << "MnuSolve" << missingIntensity << false;
        QTest::newRow("intensity.mdb missing: overland Calculate")
            << "remove intensity.mdb"
            << "Calculate" << missingIntensity << false;
        QTest::newRow("intensity.mdb read-only: table Update")
            << "read-only intensity.mdb"
            << "UpdateTable"
            << "Cannot save the intensity table \"Atlanta\" (the intensity database "
               "\"APP/intensity.mdb\"): attempt to write a readonly database"
            << false;
        QTest::newRow("empty.mdb missing: New")
            << "remove empty.mdb"
            << "MnuNew"
            << "Cannot create \"APP/new.rmt\": the project template \"APP/empty.mdb\" is missing."
            << false;
        QTest::newRow("a folder chosen as a new project")
            << "folder new.rmt"
            << "MnuNew"
            << "Cannot create \"APP/new.rmt\": it is a folder." << false;
        QTest::newRow("table of seven rows: Edit Table") << "DELETE FROM Atlanta WHERE ID > 7"
                                                         << "MnuEditTable" << sevenRows << false;
        QTest::newRow("table of seven rows: Solve") << "DELETE FROM Atlanta WHERE ID > 7"
                                                    << "MnuSolve" << sevenRows << false;
        QTest::newRow("a cell holding text: Solve")
            << "UPDATE Atlanta SET \"10\" = 'n/a' WHERE ID = 5"
            << "MnuSolve"
            << "The intensity table \"Atlanta\" holds \"n/a\" as the 10-year value of row 5 (1 "
               "hr), which is not a number."
            << false;
        QTest::newRow("a folder chosen as the report")
            << "folder report.rtf"
            << "SaveAs"
            << "The report could not be saved as APP/report.rtf." << true;
    }

    // With a project open: a damaged or missing file of the application
    // folder gives one message naming it, the canvas stays open, and no other
    // file changes.
    void damagedApplicationFilesAreNamed() {
        QFETCH(QString, damage);
        QFETCH(QString, action);
        QFETCH(QString, expected);
        QFETCH(bool, projectMayChange);
        OpenSampleProject();
        QVERIFY(Canvas() != nullptr);
        FrmViewReport* report = nullptr;
        if (action == QStringLiteral("SaveAs")) {
            Trigger(Canvas(), QStringLiteral("MnuSolve"));
            report = Forms::Find<FrmViewReport>();
            QVERIFY(report != nullptr);
        }
        FrmIntensityTable* editor = nullptr;
        if (action == QStringLiteral("UpdateTable")) {
            Trigger(Canvas(), QStringLiteral("MnuEditTable"));
            editor = Forms::Find<FrmIntensityTable>();
            QVERIFY(editor != nullptr);
            Enter(editor->Cell(3, 4), QStringLiteral("2.75"));
        }
        if (damage.startsWith(QStringLiteral("remove "))) {
            std::filesystem::remove(folder_->File(FromQ(damage.mid(7))));
        } else if (damage.startsWith(QStringLiteral("folder "))) {
            std::filesystem::create_directory(folder_->File(FromQ(damage.mid(7))));
        } else if (damage == QStringLiteral("read-only intensity.mdb")) {
            if (!MakeReadOnly(folder_->File("intensity.mdb"))) {
                QSKIP("cannot make a file read-only for an ordinary user here");
            }
        } else {
            SQLite::Database(IntensityDatabasePath(folder_->AppFolder()), SQLite::OPEN_READWRITE)
                .exec(FromQ(damage));
        }
        Fingerprint before = FolderFingerprint(App());
        prompts_->messages.clear();

        if (action == QStringLiteral("Calculate")) {
            Trigger(Canvas(), QStringLiteral("MnuAddSubBasin"));
            auto* dialog = Forms::Find<FrmBasInfo>();
            QVERIFY(dialog != nullptr);
            Enter(dialog, "TxtArea", QStringLiteral("3"));
            Enter(dialog, "TxtSoilType", QStringLiteral("Lawn"));
            Enter(dialog, "TxtC", QStringLiteral("0.4"));
            Enter(dialog, "TxtLength", QStringLiteral("150"));
            Enter(dialog, "TxtSlope", QStringLiteral("0.02"));
            Click(dialog, QStringLiteral("CmdCalculate"));
            QCOMPARE(Text(dialog, QStringLiteral("TxtTc")), QString());
        } else if (action == QStringLiteral("UpdateTable")) {
            ActingAsOrdinaryUser user;
            if (!user.Active()) {
                QSKIP("running as root and cannot act as the user nobody");
            }
            Click(editor, QStringLiteral("CmdUpdate"));
            QVERIFY(Forms::Find<FrmIntensityTable>() == editor);
        } else if (action == QStringLiteral("MnuNew")) {
            prompts_->fileNames.append(ToQ(folder_->File("new.rmt")));
            Trigger(Canvas(), action);
        } else if (action == QStringLiteral("SaveAs")) {
            prompts_->fileNames.append(ToQ(folder_->File("report.rtf")));
            Trigger(report, QStringLiteral("TbSaveAs"));
        } else {
            Trigger(Canvas(), action);
        }
        Settle();

        QCOMPARE(prompts_->messages.size(), 1);
        const QString text = prompts_->messages[0].text;
        const QString wanted =
            QString(expected).replace(QStringLiteral("APP"), ToQ(folder_->AppFolder()));
        QVERIFY2(text.startsWith(wanted), qPrintable(text));
        QVERIFY(Canvas() != nullptr);
        QVERIFY(main_->isVisible());
        QVERIFY(Forms::Find<FrmViewReport>() == report);
        QVERIFY(Forms::Find<FrmInfo>() == nullptr);
        Fingerprint after = FolderFingerprint(App());
        if (projectMayChange) {
            before.erase("site.rmt");
            after.erase("site.rmt");
        }
        QVERIFY2(before == after, FingerprintChanges(before, after).c_str());
    }
};

QTEST_MAIN(BadInputTest)
#include "BadInputTest.moc"
