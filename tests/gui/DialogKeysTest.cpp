#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "SampleRows.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"
#include "editors/ChannelFlowDialog.h"
#include "editors/FrmCCo.h"
#include "editors/FrmTrapezArea.h"
#include "editors/OverlandFlowDialog.h"
#include "editors/ShallowFlowDialog.h"
#include "intensity/FrmNodeInfo.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "intensity/FrmSelectNodeBasin.h"
#include "store/ElementRows.h"
#include "store/FrmInfo.h"
#include "store/ProjectSetup.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

namespace {

// A dialog as the user reaches it, the button that confirms it and the box
// (or list) the focus is in when Enter or Escape is pressed.
struct KeyedDialog {
    const char* name;
    std::function<QWidget*(FrmDraw*)> open;
    const char* confirm;
    const char* focus;
};

template <class F>
QWidget* Through(FrmDraw* canvas, const char* action) {
    Trigger(canvas, QString::fromLatin1(action));
    return Forms::Find<F>();
}

template <class F>
QWidget* Editing(const char* tag) {
    CurrentSession().SelectedIcon = QString::fromLatin1(tag);
    return Forms::Show<F>(FormScope::Project);
}

const KeyedDialog kDialogs[] = {
    {"Project Setup", [](FrmDraw* c) { return Through<FrmInfo>(c, "MnuProjectInfo"); }, "CmdOK",
     "TxtBasinName"},
    {"overland add", [](FrmDraw* c) { return Through<FrmBasInfo>(c, "MnuAddSubBasin"); }, "CmdOK",
     "TxtArea"},
    {"overland update", [](FrmDraw*) { return Editing<FrmBasUpdate>("Basin1"); }, "CmdOK",
     "TxtArea"},
    {"shallow add", [](FrmDraw* c) { return Through<FrmSurfaceAddInfo>(c, "MnuAddSCF"); }, "CmdOK",
     "TxtLength"},
    {"shallow update", [](FrmDraw*) { return Editing<FrmSurfaceUpdateInfo>("Surface1"); }, "CmdOK",
     "TxtLength"},
    {"channel add", [](FrmDraw* c) { return Through<FrmChannelAddInfo>(c, "MnuAddChanelFlow"); },
     "CmdOK", "TxtArea"},
    {"channel update", [](FrmDraw*) { return Editing<FrmChannelUpdateInfo>("Channel1"); }, "CmdOK",
     "TxtArea"},
    {"runoff coefficients", [](FrmDraw*) { return Forms::Show<FrmCCo>(FormScope::Project); },
     "Command1", "TxtCVal"},
    {"trapezoid", [](FrmDraw*) { return Forms::Show<FrmTrapezArea>(FormScope::Project); }, "CmdAdd",
     "TxtB"},
    {"node", [](FrmDraw* c) { return Through<FrmNodeInfo>(c, "MnuEditBasin"); }, "CmdUpdate",
     "TxtNodeName"},
    {"project table", [](FrmDraw* c) { return Through<FrmSelectIvalBasin>(c, "MnuChangeTable"); },
     "CmdOK", "List1"},
    {"node table", [](FrmDraw*) { return Forms::Show<FrmSelectNodeBasin>(FormScope::Project); },
     "CmdOK", "List1"},
};

}  // namespace

Q_DECLARE_METATYPE(const KeyedDialog*)

class DialogKeysTest : public DesktopRunTest {
    Q_OBJECT

    // The dialog of the row, its focus where the engineer would be typing.
    QWidget* Open(const KeyedDialog& dialog) {
        QWidget* form = dialog.open(main_->Canvas());
        if (form == nullptr) {
            return nullptr;
        }
        QWidget* focus = Named<QWidget>(form, QString::fromLatin1(dialog.focus));
        if (auto* list = qobject_cast<QListWidget*>(focus)) {
            list->setCurrentRow(0);
        }
        focus->setFocus();
        return focus;
    }

    static void KeyTable() {
        QTest::addColumn<const KeyedDialog*>("dialog");
        for (const KeyedDialog& dialog : kDialogs) {
            QTest::newRow(dialog.name) << &dialog;
        }
    }

  private slots:
    void init() {
        StartRun(folder_, prompts_);
        const std::string project = folder_->NewProjectFile();
        SaveProjectSetup(project, ProjectInfoRow{"Mill Run", "", "", "", "", ""}, "Outfall",
                         "Atlanta");
        InsertElementRow(project, SampleBasin());
        InsertElementRow(project, SampleSurface());
        InsertElementRow(project, SampleChannel());
        CurrentSession().ProjectPath = project;
        main_ = std::make_unique<MDIFrmMain>();
        main_->show();
        main_->ShowCanvas();
        QVERIFY(main_->Canvas() != nullptr);
    }

    void cleanup() {
        Forms::CloseAll();
        Settle();
        EndRun(main_, prompts_, folder_);
    }

    void enterConfirms_data() { KeyTable(); }

    // Enter in the box being typed into presses the dialog's OK, Add or Update.
    void enterConfirms() {
        QFETCH(const KeyedDialog*, dialog);
        QWidget* focus = Open(*dialog);
        QVERIFY(focus != nullptr);
        QSignalSpy confirmed(
            Named<QPushButton>(focus->window(), QString::fromLatin1(dialog->confirm)),
            &QPushButton::clicked);
        QTest::keyClick(focus, Qt::Key_Return);
        QCOMPARE(confirmed.count(), 1);
    }

    void escapeCancels_data() { KeyTable(); }

    // Escape closes the dialog without confirming it.
    void escapeCancels() {
        QFETCH(const KeyedDialog*, dialog);
        QWidget* focus = Open(*dialog);
        QVERIFY(focus != nullptr);
        QWidget* form = focus->window();
        QSignalSpy confirmed(Named<QPushButton>(form, QString::fromLatin1(dialog->confirm)),
                             &QPushButton::clicked);
        QTest::keyClick(focus, Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QCOMPARE(confirmed.count(), 0);
        QVERIFY(prompts_->messages.isEmpty());
    }

    void tabSkipsReadOnlyBoxes_data() {
        QTest::addColumn<const KeyedDialog*>("dialog");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("readOnly");
        QTest::newRow("Project Setup") << &kDialogs[0] << "TxtBasinName"
                                       << "TxtITable";
        QTest::newRow("node") << &kDialogs[9] << "TxtNodeName"
                              << "TxtIntensityTable";
        QTest::newRow("shallow velocity") << &kDialogs[4] << "TxtSlope"
                                          << "TxtVelocity";
        QTest::newRow("channel velocity") << &kDialogs[6] << "TxtLength"
                                          << "TxtVelocity";
        QTest::newRow("trapezoid area") << &kDialogs[8] << "TxtZ"
                                        << "TxtArea";
    }

    // Tab from the box before a read-only box passes over it.
    void tabSkipsReadOnlyBoxes() {
        QFETCH(const KeyedDialog*, dialog);
        QFETCH(QString, from);
        QFETCH(QString, readOnly);
        QWidget* form = dialog->open(main_->Canvas());
        QVERIFY(form != nullptr);
        QLineEdit* box = Named<QLineEdit>(form, readOnly);
        QVERIFY(box->isReadOnly());
        QWidget* start = Named<QWidget>(form, from);
        start->setFocus();
        QCOMPARE(form->focusWidget(), start);
        QTest::keyClick(start, Qt::Key_Tab);
        QVERIFY(form->focusWidget() != start);
        QVERIFY2(form->focusWidget() != box, qPrintable(form->focusWidget()->objectName()));
    }

    void typedDescriptionLeavesNToFill_data() {
        QTest::addColumn<const KeyedDialog*>("dialog");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("n");
        QTest::newRow("overland, own words") << &kDialogs[1] << "lawn, kept short"
                                             << "";
        QTest::newRow("overland, an entry typed") << &kDialogs[1] << "Woods, Dense underbrush"
                                                  << "0.80";
        QTest::newRow("overland update, own words") << &kDialogs[2] << "Meadow"
                                                    << "";
        QTest::newRow("channel, own words") << &kDialogs[5] << "Grass swale"
                                            << "";
        QTest::newRow("channel, an entry typed") << &kDialogs[5] << "Gravel Channel"
                                                 << "0.029";
    }

    // A typed Manning's n description that matches no entry empties the n box
    // for the engineer to fill, so OK refuses until it is filled; typing an
    // entry's text gives its n.
    void typedDescriptionLeavesNToFill() {
        QFETCH(const KeyedDialog*, dialog);
        QFETCH(QString, typed);
        QFETCH(QString, n);
        QWidget* form = dialog->open(main_->Canvas());
        QVERIFY(form != nullptr);
        QLineEdit* description = Named<QComboBox>(form, QStringLiteral("CmbN"))->lineEdit();
        description->setFocus();
        description->selectAll();
        QTest::keyClicks(description, typed);
        QCOMPARE(Text(form, QStringLiteral("TxtN")), n);
        if (n.isEmpty()) {
            Click(form, QStringLiteral("CmdOK"));
            QCOMPARE(prompts_->LastText(), QStringLiteral("Please fill all fields"));
            QVERIFY(form->isVisible());
        }
    }
};

QTEST_MAIN(DialogKeysTest)
#include "DialogKeysTest.moc"
