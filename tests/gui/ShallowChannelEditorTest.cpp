#include <SQLiteCpp/Database.h>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>

#include <memory>
#include <set>

#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"
#include "editors/ChannelFlowDialog.h"
#include "editors/FrmTrapezArea.h"
#include "editors/ShallowFlowDialog.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"
#include "store/TcPath.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

namespace {

enum class Editor { Shallow, Channel };

}  // namespace

Q_DECLARE_METATYPE(Editor)

namespace {

// Inputs that compute without complaint: the worked examples of each kind.
void FillShallow(QWidget* dialog) {
    Type(dialog, QStringLiteral("TxtLength"), QStringLiteral("500"));
    Type(dialog, QStringLiteral("TxtSlope"), QStringLiteral("0.02"));
}

void FillChannel(QWidget* dialog) {
    Type(dialog, QStringLiteral("TxtArea"), QStringLiteral("10"));
    Type(dialog, QStringLiteral("TxtWP"), QStringLiteral("8"));
    Type(dialog, QStringLiteral("TxtSlope"), QStringLiteral("0.005"));
    Type(dialog, QStringLiteral("TxtLength"), QStringLiteral("1000"));
}

// Picks a list entry the way a click in the drop-down does.
void Pick(QWidget* dialog, const QString& combo, const QString& entry) {
    auto* box = Named<QComboBox>(dialog, combo);
    QVERIFY(box != nullptr);
    const int index = box->findText(entry);
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QString ComboText(QWidget* dialog, const QString& combo) {
    auto* box = Named<QComboBox>(dialog, combo);
    return box != nullptr ? box->currentText() : QStringLiteral("<missing>");
}

// What the engineer does to empty a box: select everything and delete it.
void Erase(QWidget* dialog, const QString& box) {
    QLineEdit* target = Named<QLineEdit>(dialog, box);
    QVERIFY(target != nullptr);
    target->setFocus();
    target->selectAll();
    QTest::keyClick(target, Qt::Key_Backspace);
    QVERIFY(target->text().isEmpty());
}

// Every column of a stored row, named in the failure.
template <class Row>
void VerifyRow(const Row& actual, const Row& expected) {
    for (const auto& column : ElementTable<Row>::kColumns) {
        const std::string& stored = actual.*column.member;
        const std::string& wanted = expected.*column.member;
        QVERIFY2(stored == wanted,
                 qPrintable(QStringLiteral("%1 is \"%2\", expected \"%3\"")
                                .arg(ToQ(column.name), ToQ(stored), ToQ(wanted))));
    }
}

// Results boxes cannot be typed into; tests put earlier results there directly.
void Put(QWidget* dialog, const QString& box, const QString& text) {
    QLineEdit* target = Named<QLineEdit>(dialog, box);
    QVERIFY(target != nullptr);
    target->setText(text);
}

}  // namespace

class ShallowChannelEditorTest : public DesktopRunTest {
    Q_OBJECT

    QWidget* OpenAdd(Editor editor) {
        return editor == Editor::Shallow
                   ? static_cast<QWidget*>(
                         Forms::Show<FrmSurfaceAddInfo>(FormScope::Project, Canvas()))
                   : Forms::Show<FrmChannelAddInfo>(FormScope::Project, Canvas());
    }

    static ElementKind KindOf(Editor editor) {
        return editor == Editor::Shallow ? ElementKind::Shallow : ElementKind::Channel;
    }

    std::size_t RowCount(Editor editor) const {
        return editor == Editor::Shallow ? ReadAllElements<SurfaceRow>(project_).size()
                                         : ReadAllElements<ChannelRow>(project_).size();
    }

    // The position the canvas gave the icon with this tag, as the row must hold it.
    std::pair<std::string, std::string> IconPosition(ElementKind kind, const QString& tag) const {
        for (const IconItem* icon : Canvas()->Icons(kind)) {
            if (icon->Tag() == tag) {
                return {std::to_string(static_cast<int>(icon->pos().x())),
                        std::to_string(static_cast<int>(icon->pos().y()))};
            }
        }
        return {"<no icon>", "<no icon>"};
    }

    SurfaceRow StoredSurface(const std::string& tag) const {
        std::optional<SurfaceRow> row = LoadElementRow<SurfaceRow>(project_, tag);
        return row ? *row : SurfaceRow{};
    }

    ChannelRow StoredChannel(const std::string& tag) const {
        std::optional<ChannelRow> row = LoadElementRow<ChannelRow>(project_, tag);
        return row ? *row : ChannelRow{};
    }

    void InsertSurface(const std::string& tag, const std::string& type) {
        SurfaceRow row{tag,   "Gutter " + tag, "1200", "2400", "0.02",
                       "500", "False",         "1.1",  type,   "42"};
        InsertElementRow(project_, row);
    }

    void InsertChannel(const std::string& tag) {
        ChannelRow row{tag,    "Ditch " + tag,     "3000",  "3100",  "10",     "8",     "0.005",
                       "1000", "Concrete Channel", "0.020", "False", "5.0000", "3.0000"};
        InsertElementRow(project_, row);
    }

  private slots:
    void init() {
        StartRun(folder_, prompts_);
        project_ = folder_->NewProjectFile();
        SaveProjectSetup(project_, ProjectInfoRow{}, "Outfall", "Atlanta");
        CurrentSession().ProjectPath = project_;
        main_ = std::make_unique<MDIFrmMain>();
        main_->resize(1200, 900);
        main_->show();
        main_->ShowCanvas();
        QVERIFY(Canvas() != nullptr);
    }

    void cleanup() {
        Forms::CloseAll();
        Settle();
        EndRun(main_, prompts_, folder_);
    }

    void shallowAddCalculatesAndOkAlwaysRecomputes_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("velocity");
        QTest::addColumn<QString>("tc");
        QTest::newRow("unpaved") << "Unpaved"
                                 << "2.2811"
                                 << "3.6532";
        QTest::newRow("paved") << "Paved"
                               << "2.8751"
                               << "2.8985";
    }

    void shallowAddCalculatesAndOkAlwaysRecomputes() {
        QFETCH(QString, type);
        QFETCH(QString, velocity);
        QFETCH(QString, tc);
        QWidget* dialog = Forms::Show<FrmSurfaceAddInfo>(FormScope::Project, Canvas());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Add Surface Flow"));
        QCOMPARE(Named<QPushButton>(dialog, QStringLiteral("CmdOK"))->text(),
                 QStringLiteral("Add"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtSurfName")), QStringLiteral("Surface 1"));
        QCOMPARE(ComboText(dialog, QStringLiteral("CmbType")), QStringLiteral("Unpaved"));
        FillShallow(dialog);
        Pick(dialog, QStringLiteral("CmbType"), type);

        Click(dialog, QStringLiteral("CmdCalculate"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtVelocity")), velocity);
        QCOMPARE(Text(dialog, QStringLiteral("TxtTc")), tc);

        Type(dialog, QStringLiteral("TxtTc"), QStringLiteral("99"));
        Click(dialog, QStringLiteral("CmdOK"));
        QVERIFY(prompts_->messages.isEmpty());
        Settle();
        QVERIFY(Forms::Find<FrmSurfaceAddInfo>() == nullptr);

        const SurfaceRow row = StoredSurface("Surface1");
        const auto [x, y] = IconPosition(ElementKind::Shallow, QStringLiteral("Surface1"));
        const SurfaceRow expected{"Surface1", "Surface 1",     x,           y,        "0.02", "500",
                                  "False",    FromQ(velocity), FromQ(type), FromQ(tc)};
        VerifyRow(row, expected);
        QCOMPARE(RowCount(Editor::Shallow), std::size_t{1});
    }

    void okWithoutCalculateComputesAndTheNextElementIsNumberTwo() {
        QWidget* dialog = Forms::Show<FrmSurfaceAddInfo>(FormScope::Project, Canvas());
        FillShallow(dialog);
        Click(dialog, QStringLiteral("CmdOK"));
        Settle();
        QCOMPARE(StoredSurface("Surface1").SurfTc, std::string("3.6532"));

        dialog = Forms::Show<FrmSurfaceAddInfo>(FormScope::Project, Canvas());
        QCOMPARE(Text(dialog, QStringLiteral("TxtSurfName")), QStringLiteral("Surface 2"));
        Type(dialog, QStringLiteral("TxtLength"), QStringLiteral("1000"));
        Type(dialog, QStringLiteral("TxtSlope"), QStringLiteral("0.02"));
        Pick(dialog, QStringLiteral("CmbType"), QStringLiteral("Paved"));
        Click(dialog, QStringLiteral("CmdOK"));
        Settle();
        const SurfaceRow second = StoredSurface("Surface2");
        QCOMPARE(second.SurfName, std::string("Surface 2"));
        QCOMPARE(second.SurfTc, std::string("5.7969"));
        const auto [x, y] = IconPosition(ElementKind::Shallow, QStringLiteral("Surface2"));
        QCOMPARE(second.SurfX, x);
        QCOMPARE(second.SurfY, y);
        QVERIFY(second.SurfX != StoredSurface("Surface1").SurfX);
    }

    // After Calculate a note under Tc says what a reviewer would query; it
    // never stops the dialog and is silent on the limit itself.
    void calculateNotesTheDesignChecks_data() {
        QTest::addColumn<bool>("channel");
        QTest::addColumn<QString>("slope");
        QTest::addColumn<QString>("code");
        QTest::newRow("shallow slope past 0.50") << false << "0.6"
                                                 << "SHALLOW-SLOPE";
        QTest::newRow("shallow slope at 0.50") << false << "0.5"
                                               << "";
        QTest::newRow("channel faster than 20 ft/s") << true << "0.05"
                                                     << "CHANNEL-VELOCITY";
        QTest::newRow("channel at 9.38 ft/s") << true << "0.005"
                                              << "";
    }

    void calculateNotesTheDesignChecks() {
        QFETCH(bool, channel);
        QFETCH(QString, slope);
        QFETCH(QString, code);
        QWidget* dialog = channel ? static_cast<QWidget*>(Forms::Show<FrmChannelAddInfo>(
                                        FormScope::Project, Canvas()))
                                  : Forms::Show<FrmSurfaceAddInfo>(FormScope::Project, Canvas());
        channel ? FillChannel(dialog) : FillShallow(dialog);
        Type(dialog, QStringLiteral("TxtSlope"), slope);
        Click(dialog, QStringLiteral("CmdCalculate"));
        QVERIFY(prompts_->messages.isEmpty());
        const QLabel* note = Named<QLabel>(dialog, QStringLiteral("LblChecks"));
        QVERIFY(note != nullptr);
        QCOMPARE(note->isVisible(), !code.isEmpty());
        QVERIFY2(code.isEmpty() ? note->text().isEmpty()
                                : note->text().startsWith(QStringLiteral("Check ") + code + u':'),
                 qPrintable(note->text()));
    }

    // OK's own calculation finds a check the note does not show yet: it asks;
    // going back stores nothing and shows it in the note, and the next OK saves.
    void okAsksBeforeSavingPastACheck_data() {
        QTest::addColumn<bool>("channel");
        QTest::addColumn<QString>("slope");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("saveAnyway");
        QTest::newRow("shallow, Save Anyway") << false << "0.6"
                                              << "SHALLOW-SLOPE" << true;
        QTest::newRow("shallow, Go Back") << false << "0.6"
                                          << "SHALLOW-SLOPE" << false;
        QTest::newRow("channel, Save Anyway") << true << "0.3"
                                              << "CHANNEL-VELOCITY" << true;
        QTest::newRow("channel, Go Back") << true << "0.3"
                                          << "CHANNEL-VELOCITY" << false;
    }

    void okAsksBeforeSavingPastACheck() {
        QFETCH(bool, channel);
        QFETCH(QString, slope);
        QFETCH(QString, code);
        QFETCH(bool, saveAnyway);
        const Editor editor = channel ? Editor::Channel : Editor::Shallow;
        QWidget* dialog = OpenAdd(editor);
        channel ? FillChannel(dialog) : FillShallow(dialog);
        Type(dialog, QStringLiteral("TxtSlope"), slope);
        prompts_->answers = {saveAnyway ? QMessageBox::Yes : QMessageBox::No};
        Click(dialog, QStringLiteral("CmdOK"));
        QCOMPARE(prompts_->messages.size(), 1);
        QVERIFY(prompts_->LastText().startsWith(QStringLiteral("Check ") + code + u':'));
        QCOMPARE(prompts_->messages.first().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(RowCount(editor), std::size_t{saveAnyway ? 1u : 0u});
        if (!saveAnyway) {
            QVERIFY(prompts_->LastText().startsWith(
                Named<QLabel>(dialog, QStringLiteral("LblChecks"))->text()));
            Click(dialog, QStringLiteral("CmdOK"));
            QCOMPARE(prompts_->messages.size(), 1);
            QCOMPARE(RowCount(editor), std::size_t{1});
        }
    }

    void channelAddKeepsATypedTc() {
        QWidget* dialog = Forms::Show<FrmChannelAddInfo>(FormScope::Project, Canvas());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Channel Information"));
        QCOMPARE(Named<QPushButton>(dialog, QStringLiteral("CmdOK"))->text(), QStringLiteral("OK"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtChannelName")), QStringLiteral("Channel 1"));
        QCOMPARE(ComboText(dialog, QStringLiteral("CmbN")), QStringLiteral("Concrete Channel"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtN")), QStringLiteral("0.013"));
        FillChannel(dialog);

        Click(dialog, QStringLiteral("CmdCalculate"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtVelocity")), QStringLiteral("9.3792"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtTc")), QStringLiteral("1.7770"));

        Type(dialog, QStringLiteral("TxtTc"), QStringLiteral("2.5"));
        Click(dialog, QStringLiteral("CmdOK"));
        QVERIFY(prompts_->messages.isEmpty());
        Settle();
        QVERIFY(Forms::Find<FrmChannelAddInfo>() == nullptr);

        const ChannelRow row = StoredChannel("Channel1");
        const auto [x, y] = IconPosition(ElementKind::Channel, QStringLiteral("Channel1"));
        VerifyRow(row, ChannelRow{"Channel1", "Channel 1", x, y, "10", "8", "0.005", "1000",
                                  "Concrete Channel", "0.013", "False", "9.3792", "2.5"});
    }

    void channelOkRecomputesBothWhenTcWasEmptied() {
        QWidget* dialog = Forms::Show<FrmChannelAddInfo>(FormScope::Project, Canvas());
        FillChannel(dialog);
        Click(dialog, QStringLiteral("CmdCalculate"));
        // A steeper slope after Calculate: the velocity shown is stale now.
        Type(dialog, QStringLiteral("TxtSlope"), QStringLiteral("0.02"));
        Erase(dialog, QStringLiteral("TxtTc"));
        Click(dialog, QStringLiteral("CmdOK"));
        Settle();
        const ChannelRow row = StoredChannel("Channel1");
        QCOMPARE(row.ChannelVelocity, std::string("18.7585"));
        QCOMPARE(row.ChannelTc, std::string("0.8885"));
    }

    void materialEntriesSetNAndTypedMaterialsKeepIt() {
        QWidget* dialog = Forms::Show<FrmChannelAddInfo>(FormScope::Project, Canvas());
        Pick(dialog, QStringLiteral("CmbN"), QStringLiteral("Gravel Channel"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtN")), QStringLiteral("0.029"));
        Pick(dialog, QStringLiteral("CmbN"), QStringLiteral("Earth Channel"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtN")), QStringLiteral("0.025"));

        auto* combo = Named<QComboBox>(dialog, QStringLiteral("CmbN"));
        QVERIFY(combo != nullptr);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("Grass swale"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtN")), QString());
        FillChannel(dialog);
        Type(dialog, QStringLiteral("TxtN"), QStringLiteral("0.035"));
        Click(dialog, QStringLiteral("CmdOK"));
        Settle();
        const ChannelRow row = StoredChannel("Channel1");
        QCOMPARE(row.ChannelMaterial, std::string("Grass swale"));
        QCOMPARE(row.ChannelN, std::string("0.035"));
    }

    void shallowUpdateWritesTheRowItOpenedWith() {
        InsertSurface("Surface1", "Unpaved");
        InsertSurface("Surface2", "Paved");
        CurrentSession().SelectedIcon = QStringLiteral("Surface2");
        QWidget* dialog = Forms::Show<FrmSurfaceUpdateInfo>();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Update Surface Flow"));
        QCOMPARE(Named<QPushButton>(dialog, QStringLiteral("CmdOK"))->text(),
                 QStringLiteral("Update"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtSurfName")), QStringLiteral("Gutter Surface2"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtLength")), QStringLiteral("500"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtSlope")), QStringLiteral("0.02"));
        QCOMPARE(ComboText(dialog, QStringLiteral("CmbType")), QStringLiteral("Paved"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtVelocity")), QStringLiteral("1.1"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtTc")), QStringLiteral("42"));

        // The engineer presses another icon while the dialog is open.
        CurrentSession().SelectedIcon = QStringLiteral("Surface1");
        Type(dialog, QStringLiteral("TxtLength"), QStringLiteral("1000"));
        Click(dialog, QStringLiteral("CmdOK"));
        QVERIFY(prompts_->messages.isEmpty());
        Settle();

        const SurfaceRow updated = StoredSurface("Surface2");
        QCOMPARE(updated.SurfLength, std::string("1000"));
        QCOMPARE(updated.SurfVelocity, std::string("2.8751"));
        QCOMPARE(updated.SurfTc, std::string("5.7969"));
        QCOMPARE(updated.SurfX, std::string("1200"));
        QCOMPARE(updated.SurfY, std::string("2400"));
        QCOMPARE(updated.Deleted, std::string("False"));
        const SurfaceRow other = StoredSurface("Surface1");
        QCOMPARE(other.SurfLength, std::string("500"));
        QCOMPARE(other.SurfTc, std::string("42"));
    }

    void channelUpdateWritesTheRowItOpenedWith() {
        InsertChannel("Channel1");
        InsertChannel("Channel2");
        CurrentSession().SelectedIcon = QStringLiteral("Channel1");
        QWidget* dialog = Forms::Show<FrmChannelUpdateInfo>();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Channel Update Information"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtChannelName")), QStringLiteral("Ditch Channel1"));
        QCOMPARE(ComboText(dialog, QStringLiteral("CmbN")), QStringLiteral("Concrete Channel"));
        // The stored n, not the material's table value.
        QCOMPARE(Text(dialog, QStringLiteral("TxtN")), QStringLiteral("0.020"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtVelocity")), QStringLiteral("5.0000"));

        CurrentSession().SelectedIcon = QStringLiteral("Channel2");
        Type(dialog, QStringLiteral("TxtLength"), QStringLiteral("2000"));
        Click(dialog, QStringLiteral("CmdOK"));
        Settle();

        // The length feeds Tc, so OK calculated what the loaded results no longer give.
        const ChannelRow updated = StoredChannel("Channel1");
        QCOMPARE(updated.ChannelLength, std::string("2000"));
        QCOMPARE(updated.ChannelN, std::string("0.020"));
        QCOMPARE(updated.ChannelVelocity, std::string("6.0965"));
        QCOMPARE(updated.ChannelTc, std::string("5.4676"));
        QCOMPARE(updated.ChannelLeft, std::string("3000"));
        QCOMPARE(StoredChannel("Channel2").ChannelLength, std::string("1000"));
    }

    // OK calculates first when an input that feeds Tc changed since the
    // dialog loaded or since Calculate, unless a Tc was typed after that.
    void channelOkCalculatesWhatChangedInputsGive_data() {
        QTest::addColumn<bool>("update");
        QTest::addColumn<QString>("typedTc");
        QTest::addColumn<QString>("velocity");
        QTest::addColumn<QString>("tc");
        QTest::newRow("update: calculated") << true << QString() << "12.1930"
                                            << "1.3669";
        QTest::newRow("update, then a typed Tc: kept") << true << "4.5"
                                                       << "5.0000"
                                                       << "4.5";
        QTest::newRow("add, after Calculate: calculated") << false << QString() << "18.7585"
                                                          << "0.8885";
    }

    void channelOkCalculatesWhatChangedInputsGive() {
        QFETCH(bool, update);
        QFETCH(QString, typedTc);
        QFETCH(QString, velocity);
        QFETCH(QString, tc);
        QWidget* dialog = nullptr;
        if (update) {
            InsertChannel("Channel1");
            CurrentSession().SelectedIcon = QStringLiteral("Channel1");
            dialog = Forms::Show<FrmChannelUpdateInfo>();
        } else {
            dialog = OpenAdd(Editor::Channel);
            FillChannel(dialog);
            Click(dialog, QStringLiteral("CmdCalculate"));
        }
        Type(dialog, QStringLiteral("TxtSlope"), QStringLiteral("0.02"));
        if (!typedTc.isEmpty()) {
            Type(dialog, QStringLiteral("TxtTc"), typedTc);
        }
        Click(dialog, QStringLiteral("CmdOK"));
        QVERIFY(prompts_->messages.isEmpty());
        Settle();
        QCOMPARE(ToQ(StoredChannel("Channel1").ChannelVelocity), velocity);
        QCOMPARE(ToQ(StoredChannel("Channel1").ChannelTc), tc);
    }

    // A stored n differing from its material's table value survives focus
    // passing through the material box on the way to it.
    void channelUpdateKeepsTheStoredNPastTheMaterialBox() {
        ChannelRow stored{"Channel1", "Ditch",  "3000",  "3100",           "10",
                          "8",        "0.005",  "1000",  "Gravel Channel", "0.035",
                          "False",    "2.8000", "5.9524"};
        InsertElementRow(project_, stored);
        CurrentSession().SelectedIcon = QStringLiteral("Channel1");
        QWidget* dialog = Forms::Show<FrmChannelUpdateInfo>();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(ComboText(dialog, QStringLiteral("CmbN")), QStringLiteral("Gravel Channel"));
        Named<QLineEdit>(dialog, QStringLiteral("TxtSlope"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(Named<QComboBox>(dialog, QStringLiteral("CmbN"))->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Named<QWidget>(dialog, QStringLiteral("TxtN")));
        QCOMPARE(Text(dialog, QStringLiteral("TxtN")), QStringLiteral("0.035"));
        Click(dialog, QStringLiteral("CmdOK"));
        Settle();
        VerifyRow(StoredChannel("Channel1"), stored);
    }

    // "On the Tc flow path" is on for a new element, shows the stored flag on
    // update, and reaches the store with OK; a project never taken off the
    // path gets no table for it.
    void tcPathBoxReachesTheStore_data() {
        QTest::addColumn<Editor>("editor");
        QTest::addColumn<bool>("update");
        QTest::addColumn<bool>("storedOff");
        QTest::addColumn<bool>("toggle");
        QTest::addColumn<QString>("off");  // the tag off the path after OK, if any
        QTest::addColumn<bool>("table");
        QTest::newRow("shallow add, left on")
            << Editor::Shallow << false << false << false << QString() << false;
        QTest::newRow("channel add, cleared")
            << Editor::Channel << false << false << true << QStringLiteral("Channel1") << true;
        QTest::newRow("shallow update, put back")
            << Editor::Shallow << true << true << true << QString() << true;
        QTest::newRow("channel update, cleared")
            << Editor::Channel << true << false << true << QStringLiteral("Channel1") << true;
        QTest::newRow("channel update, kept off")
            << Editor::Channel << true << true << false << QStringLiteral("Channel1") << true;
    }

    void tcPathBoxReachesTheStore() {
        QFETCH(Editor, editor);
        QFETCH(bool, update);
        QFETCH(bool, storedOff);
        QFETCH(bool, toggle);
        QFETCH(QString, off);
        QFETCH(bool, table);
        const std::string tag = editor == Editor::Shallow ? "Surface1" : "Channel1";
        QWidget* dialog = nullptr;
        if (update) {
            editor == Editor::Shallow ? InsertSurface(tag, "Unpaved") : InsertChannel(tag);
            if (storedOff) {
                SetOnTcPath(project_, tag, false);
            }
            CurrentSession().SelectedIcon = ToQ(tag);
            dialog = editor == Editor::Shallow
                         ? static_cast<QWidget*>(Forms::Show<FrmSurfaceUpdateInfo>())
                         : Forms::Show<FrmChannelUpdateInfo>();
        } else {
            dialog = OpenAdd(editor);
            editor == Editor::Shallow ? FillShallow(dialog) : FillChannel(dialog);
        }
        auto* box = Named<QCheckBox>(dialog, QStringLiteral("ChkTcPath"));
        QVERIFY(box != nullptr);
        QCOMPARE(box->text(), QStringLiteral("On the Tc flow path"));
        QCOMPARE(box->isChecked(), !storedOff);
        if (toggle) {
            box->click();
        }
        Click(dialog, QStringLiteral("CmdOK"));
        Settle();
        QVERIFY(prompts_->messages.isEmpty());
        QCOMPARE(RowCount(editor), std::size_t{1});
        const std::set<std::string> expected =
            off.isEmpty() ? std::set<std::string>{} : std::set<std::string>{FromQ(off)};
        QCOMPARE(ReadOffTcPath(project_), expected);
        QCOMPARE(SQLite::Database(project_).tableExists(std::string(kOffTcPathTable)), table);
    }

    void cancelWritesNothing() {
        InsertChannel("Channel1");
        CurrentSession().SelectedIcon = QStringLiteral("Channel1");
        QWidget* dialog = Forms::Show<FrmChannelUpdateInfo>();
        Type(dialog, QStringLiteral("TxtChannelName"), QStringLiteral("Renamed"));
        Click(dialog, QStringLiteral("CmdCancel"));
        Settle();
        QVERIFY(Forms::Find<FrmChannelUpdateInfo>() == nullptr);
        QCOMPARE(StoredChannel("Channel1").ChannelName, std::string("Ditch Channel1"));

        dialog = Forms::Show<FrmSurfaceAddInfo>(FormScope::Project, Canvas());
        FillShallow(dialog);
        Click(dialog, QStringLiteral("CmdCancel"));
        Settle();
        QCOMPARE(RowCount(Editor::Shallow), std::size_t{0});
        QCOMPARE(Canvas()->ArrayCount(ElementKind::Shallow), 1);
    }

    void updateDialogWithoutItsRowSaysSoAndCloses_data() {
        QTest::addColumn<Editor>("editor");
        QTest::addColumn<QString>("tag");
        QTest::newRow("shallow") << Editor::Shallow << "Surface7";
        QTest::newRow("channel") << Editor::Channel << "Channel7";
    }

    void updateDialogWithoutItsRowSaysSoAndCloses() {
        QFETCH(Editor, editor);
        QFETCH(QString, tag);
        CurrentSession().SelectedIcon = tag;
        if (editor == Editor::Shallow) {
            Forms::Show<FrmSurfaceUpdateInfo>();
        } else {
            Forms::Show<FrmChannelUpdateInfo>();
        }
        QCOMPARE(prompts_->messages.size(), 1);
        QVERIFY(prompts_->LastText().contains(tag));
        Settle();
        Settle();
        QVERIFY(Forms::Find<FrmSurfaceUpdateInfo>() == nullptr);
        QVERIFY(Forms::Find<FrmChannelUpdateInfo>() == nullptr);
    }

    void missingFieldsAreRefused_data() {
        QTest::addColumn<Editor>("editor");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QMessageBox::Icon>("icon");
        for (const char* box : {"TxtSurfName", "TxtLength", "TxtSlope"}) {
            QTest::addRow("shallow %s", box) << Editor::Shallow << box << QMessageBox::Information;
        }
        for (const char* box :
             {"TxtChannelName", "TxtArea", "TxtWP", "TxtSlope", "TxtN", "TxtLength"}) {
            QTest::addRow("channel %s", box) << Editor::Channel << box << QMessageBox::NoIcon;
        }
    }

    void missingFieldsAreRefused() {
        QFETCH(Editor, editor);
        QFETCH(QString, box);
        QFETCH(QMessageBox::Icon, icon);
        QWidget* dialog = OpenAdd(editor);
        editor == Editor::Shallow ? FillShallow(dialog) : FillChannel(dialog);
        Erase(dialog, box);
        Put(dialog, QStringLiteral("TxtTc"), QString());

        for (const QString& button : {QStringLiteral("CmdCalculate"), QStringLiteral("CmdOK")}) {
            prompts_->messages.clear();
            Click(dialog, button);
            QCOMPARE(prompts_->messages.size(), 1);
            QCOMPARE(prompts_->messages[0].text, QStringLiteral("Please fill all fields"));
            QCOMPARE(prompts_->messages[0].title, QStringLiteral("Error"));
            QCOMPARE(prompts_->messages[0].icon, icon);
            QCOMPARE(prompts_->messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(Text(dialog, QStringLiteral("TxtTc")), QString());
        }
        Settle();
        QVERIFY(Forms::Find<FrmSurfaceAddInfo>() != nullptr ||
                Forms::Find<FrmChannelAddInfo>() != nullptr);
        QCOMPARE(RowCount(editor), std::size_t{0});
        QCOMPARE(Canvas()->ArrayCount(KindOf(editor)), 1);
    }

    void valuesThatCannotBeComputedAreRefused_data() {
        QTest::addColumn<Editor>("editor");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("problem");
        QTest::newRow("shallow zero slope") << Editor::Shallow << "TxtSlope"
                                            << "0"
                                            << "slope";
        QTest::newRow("shallow slope without digits") << Editor::Shallow << "TxtSlope"
                                                      << "."
                                                      << "slope";
        QTest::newRow("channel zero wetted perimeter") << Editor::Channel << "TxtWP"
                                                       << "0.0"
                                                       << "wetted perimeter";
        QTest::newRow("channel zero n") << Editor::Channel << "TxtN"
                                        << "0"
                                        << "Manning's n";
        QTest::newRow("channel zero slope") << Editor::Channel << "TxtSlope"
                                            << "0"
                                            << "slope";
    }

    void valuesThatCannotBeComputedAreRefused() {
        QFETCH(Editor, editor);
        QFETCH(QString, box);
        QFETCH(QString, value);
        QFETCH(QString, problem);
        QWidget* dialog = OpenAdd(editor);
        editor == Editor::Shallow ? FillShallow(dialog) : FillChannel(dialog);
        Type(dialog, box, value);
        Put(dialog, QStringLiteral("TxtVelocity"), QStringLiteral("1.0000"));
        Put(dialog, QStringLiteral("TxtTc"), QStringLiteral("5"));

        Click(dialog, QStringLiteral("CmdCalculate"));
        QCOMPARE(prompts_->messages.size(), 1);
        QVERIFY2(prompts_->LastText().contains(problem), qPrintable(prompts_->LastText()));
        QCOMPARE(Text(dialog, QStringLiteral("TxtVelocity")), QStringLiteral("1.0000"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtTc")), QStringLiteral("5"));

        // An empty Tc makes the channel's OK calculate too; the shallow one always does.
        Put(dialog, QStringLiteral("TxtTc"), QString());
        Click(dialog, QStringLiteral("CmdOK"));
        QCOMPARE(prompts_->messages.size(), 2);
        QVERIFY(prompts_->LastText().contains(problem));
        QCOMPARE(Text(dialog, QStringLiteral("TxtVelocity")), QStringLiteral("1.0000"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtTc")), QString());
        Settle();
        QVERIFY(dialog->isVisible());
        QCOMPARE(RowCount(editor), std::size_t{0});
        QCOMPARE(Canvas()->ArrayCount(KindOf(editor)), 1);
    }

    void numericBoxesTakeDigitsAndPointsOnly_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("box");
        for (const char* box : {"TxtLength", "TxtSlope", "TxtTc"}) {
            QTest::addRow("shallow %s", box) << 0 << box;
        }
        for (const char* box : {"TxtArea", "TxtWP", "TxtSlope", "TxtN", "TxtLength", "TxtTc"}) {
            QTest::addRow("channel %s", box) << 1 << box;
        }
        for (const char* box : {"TxtB", "TxtY", "TxtZ"}) {
            QTest::addRow("trapezoid %s", box) << 2 << box;
        }
    }

    void numericBoxesTakeDigitsAndPointsOnly() {
        QFETCH(int, form);
        QFETCH(QString, box);
        QWidget* dialog = form == 0   ? static_cast<QWidget*>(Forms::Show<FrmSurfaceAddInfo>(
                                          FormScope::Project, Canvas()))
                          : form == 1 ? static_cast<QWidget*>(Forms::Show<FrmChannelAddInfo>(
                                            FormScope::Project, Canvas()))
                                      : Forms::Show<FrmTrapezArea>();
        QLineEdit* target = Named<QLineEdit>(dialog, box);
        QVERIFY(target != nullptr);
        target->clear();
        target->setFocus();
        QTest::keyClicks(target, QStringLiteral("1a-2,5 e.5.2"));
        QCOMPARE(target->text(), QStringLiteral("125.5.2"));

        QGuiApplication::clipboard()->setText(QStringLiteral("3x"));
        target->paste();
        QCOMPARE(target->text(), QStringLiteral("125.5.2"));
        QGuiApplication::clipboard()->setText(QStringLiteral("0.5"));
        target->paste();
        QCOMPARE(target->text(), QStringLiteral("125.5.20.5"));
    }

    void resultBoxesAreDisplayOnly() {
        for (QWidget* dialog :
             {static_cast<QWidget*>(Forms::Show<FrmSurfaceAddInfo>(FormScope::Project, Canvas())),
              static_cast<QWidget*>(
                  Forms::Show<FrmChannelAddInfo>(FormScope::Project, Canvas()))}) {
            QVERIFY(Named<QLineEdit>(dialog, QStringLiteral("TxtVelocity"))->isReadOnly());
            QVERIFY(!Named<QLineEdit>(dialog, QStringLiteral("TxtTc"))->isReadOnly());
        }
        QWidget* trapezoid = Forms::Show<FrmTrapezArea>();
        QVERIFY(Named<QLineEdit>(trapezoid, QStringLiteral("TxtArea"))->isReadOnly());
        QVERIFY(Named<QLineEdit>(trapezoid, QStringLiteral("TxtWp"))->isReadOnly());
    }

    void namesAreStoredExactlyAsTyped_data() {
        QTest::addColumn<Editor>("editor");
        QTest::newRow("shallow") << Editor::Shallow;
        QTest::newRow("channel") << Editor::Channel;
    }

    void namesAreStoredExactlyAsTyped() {
        QFETCH(Editor, editor);
        const QString name = QStringLiteral("O'Brien's ditch, \"north\"; -- 2");
        QWidget* dialog = OpenAdd(editor);
        editor == Editor::Shallow ? FillShallow(dialog) : FillChannel(dialog);
        Type(dialog,
             editor == Editor::Shallow ? QStringLiteral("TxtSurfName")
                                       : QStringLiteral("TxtChannelName"),
             name);
        Click(dialog, QStringLiteral("CmdOK"));
        QVERIFY(prompts_->messages.isEmpty());
        Settle();
        const std::string stored = editor == Editor::Shallow
                                       ? StoredSurface("Surface1").SurfName
                                       : StoredChannel("Channel1").ChannelName;
        QCOMPARE(stored, FromQ(name));
    }

    void namesThatAreNotOneLineAreRefused_data() {
        QTest::addColumn<Editor>("editor");
        QTest::addColumn<bool>("update");
        QTest::addColumn<QString>("name");
        QTest::newRow("shallow add, TAB") << Editor::Shallow << false << QStringLiteral("Lot\t7");
        QTest::newRow("channel add, line feed")
            << Editor::Channel << false << QStringLiteral("North\nDitch");
        QTest::newRow("shallow update, carriage return")
            << Editor::Shallow << true << QStringLiteral("Gutter\r2");
    }

    // A pasted TAB or line break would move a report row's values under the
    // wrong headings: OK names the problem and stores nothing.
    void namesThatAreNotOneLineAreRefused() {
        QFETCH(Editor, editor);
        QFETCH(bool, update);
        QFETCH(QString, name);
        QWidget* dialog = nullptr;
        if (update) {
            InsertSurface("Surface1", "Unpaved");
            CurrentSession().SelectedIcon = QStringLiteral("Surface1");
            dialog = Forms::Show<FrmSurfaceUpdateInfo>();
        } else {
            dialog = OpenAdd(editor);
            editor == Editor::Shallow ? FillShallow(dialog) : FillChannel(dialog);
        }
        Put(dialog,
            editor == Editor::Shallow ? QStringLiteral("TxtSurfName")
                                      : QStringLiteral("TxtChannelName"),
            name);
        Click(dialog, QStringLiteral("CmdOK"));
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->messages[0].text,
                 QStringLiteral("The name holds a TAB, a line break or another control "
                                "character; enter it as one line of text."));
        Settle();
        if (update) {
            QCOMPARE(StoredSurface("Surface1").SurfName, std::string("Gutter Surface1"));
        } else {
            QCOMPARE(RowCount(editor), std::size_t{0});
            QCOMPARE(Canvas()->ArrayCount(KindOf(editor)), 1);
        }
    }

    void trapezoidSection_data() {
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("z");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("perimeter");
        QTest::newRow("B 4, Y 2, Z 2") << "4"
                                       << "2"
                                       << "2"
                                       << "16.00"
                                       << "12.94";
        QTest::newRow("rectangle") << "4"
                                   << "2"
                                   << "0"
                                   << "8.00"
                                   << "8.00";
        QTest::newRow("halves round up") << "3"
                                         << "1.5"
                                         << "1.5"
                                         << "7.88"
                                         << "8.41";
        QTest::newRow("all empty") << ""
                                   << ""
                                   << ""
                                   << "0.00"
                                   << "0.00";
    }

    void trapezoidSection() {
        QFETCH(QString, b);
        QFETCH(QString, y);
        QFETCH(QString, z);
        QFETCH(QString, area);
        QFETCH(QString, perimeter);
        QWidget* dialog = Forms::Show<FrmTrapezArea>();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Trapezoidal Channel Section"));
        QCOMPARE(Named<QLabel>(dialog, QStringLiteral("Label1"))->text(),
                 QStringLiteral(" Area = Y * (B + Z*Y)"));
        QCOMPARE(Named<QLabel>(dialog, QStringLiteral("Label2"))->text(),
                 QStringLiteral(" Wetted Perimeter = 2*(Y^2 + (Y*Z)^2)^(1/2) + B"));
        Type(dialog, QStringLiteral("TxtB"), b);
        Type(dialog, QStringLiteral("TxtY"), y);
        Type(dialog, QStringLiteral("TxtZ"), z);
        Click(dialog, QStringLiteral("CmdCalculate"));
        QCOMPARE(Text(dialog, QStringLiteral("TxtArea")), area);
        QCOMPARE(Text(dialog, QStringLiteral("TxtWp")), perimeter);
        QVERIFY(prompts_->messages.isEmpty());
    }

    void trapezoidAddFillsTheOpenChannelDialog_data() {
        QTest::addColumn<bool>("addOpen");
        QTest::addColumn<bool>("updateOpen");
        QTest::newRow("add dialog") << true << false;
        QTest::newRow("update dialog") << false << true;
        QTest::newRow("both: the add dialog") << true << true;
        QTest::newRow("none") << false << false;
    }

    void trapezoidAddFillsTheOpenChannelDialog() {
        QFETCH(bool, addOpen);
        QFETCH(bool, updateOpen);
        InsertChannel("Channel1");
        CurrentSession().SelectedIcon = QStringLiteral("Channel1");
        QWidget* update = updateOpen ? Forms::Show<FrmChannelUpdateInfo>() : nullptr;
        QWidget* add =
            addOpen ? Forms::Show<FrmChannelAddInfo>(FormScope::Project, Canvas()) : nullptr;
        QWidget* opener = add != nullptr ? add : update;
        if (opener != nullptr) {
            Click(opener, QStringLiteral("CmdArea"));
        } else {
            Forms::Show<FrmTrapezArea>();
        }
        QWidget* calculator = Forms::Find<FrmTrapezArea>();
        QVERIFY(calculator != nullptr);
        Type(calculator, QStringLiteral("TxtB"), QStringLiteral("4"));
        Type(calculator, QStringLiteral("TxtY"), QStringLiteral("2"));
        Type(calculator, QStringLiteral("TxtZ"), QStringLiteral("2"));
        Click(calculator, QStringLiteral("CmdAdd"));
        Settle();
        QVERIFY(Forms::Find<FrmTrapezArea>() == nullptr);

        if (add != nullptr) {
            QCOMPARE(Text(add, QStringLiteral("TxtArea")), QStringLiteral("16.00"));
            QCOMPARE(Text(add, QStringLiteral("TxtWP")), QStringLiteral("12.94"));
        }
        if (update != nullptr) {
            const bool target = add == nullptr;
            QCOMPARE(Text(update, QStringLiteral("TxtArea")),
                     target ? QStringLiteral("16.00") : QStringLiteral("10"));
            QCOMPARE(Text(update, QStringLiteral("TxtWP")),
                     target ? QStringLiteral("12.94") : QStringLiteral("8"));
        }
        QVERIFY(prompts_->messages.isEmpty());
    }
};

QTEST_MAIN(ShallowChannelEditorTest)
#include "ShallowChannelEditorTest.moc"
