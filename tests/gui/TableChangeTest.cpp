#include <QTest>
#include <QTextDocumentFragment>
#include <memory>

#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "SampleRows.h"
#include "ScriptedPrompts.h"
#include "TableFixture.h"
#include "TestFolder.h"
#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"
#include "common/QtText.h"
#include "intensity/FrmNodeInfo.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "intensity/FrmSelectNodeBasin.h"
#include "store/ElementRows.h"
#include "store/FrmInfo.h"
#include "store/ProjectSetup.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

// A project on Atlanta (P2 3.72 in) with two overland areas whose Tc were
// calculated there, and a "Nashville TN" table whose P2 is 24 x 0.1404 =
// 3.3696 in. North Lots (n 0.24, L 150 ft, S 0.02) then gives
// 0.42 x 36^0.8 / (3.3696^0.5 x 0.02^0.4) = 0.42 x 17.584 / (1.8357 x 0.20913)
// = 19.2349 min instead of 18.3066.
class TableChangeTest : public DesktopRunTest {
    Q_OBJECT

    QString ToolTip(int index) const {
        return QTextDocumentFragment::fromHtml(
                   Canvas()->Icons(ElementKind::Overland)[index]->toolTip())
            .toPlainText();
    }

  private slots:
    void init() {
        StartRun(folder_, prompts_);
        WriteTableWithP2(folder_->AppFolder(), "Nashville TN", "0.1404");
        project_ = folder_->NewProjectFile();
        SaveProjectSetup(project_, ProjectInfoRow{"Mill Run", "", "", "", "", "Atlanta"}, "Outfall",
                         "Atlanta");
        InsertElementRow(project_, SampleBasin("Basin1"));
        BasinRow second = SampleBasin("Basin2");
        second.BasinName = "South Lots";
        InsertElementRow(project_, second);
        InsertElementRow(project_, SampleSurface());
        CurrentSession().ProjectPath = project_;
        main_ = std::make_unique<MDIFrmMain>();
        main_->show();
        main_->ShowCanvas();
        QVERIFY(Canvas() != nullptr);
    }

    void cleanup() { EndRun(main_, prompts_, folder_); }

    // Wherever the table changes, the sheet-flow times follow it, one message
    // says so and the icons' tool tips show the new Tc.
    void aTableChangeRecalculatesAndSaysSo_data() {
        QTest::addColumn<QString>("where");
        QTest::newRow("Intensity > Change Table") << "change";
        QTest::newRow("Project Setup") << "setup";
        QTest::newRow("node dialog") << "node";
    }

    void aTableChangeRecalculatesAndSaysSo() {
        QFETCH(QString, where);
        QVERIFY(ToolTip(1).endsWith(QStringLiteral("Tc: 18.3066 min")));
        if (where == QStringLiteral("change")) {
            Trigger(Canvas(), QStringLiteral("MnuChangeTable"));
            Choose(Forms::Find<FrmSelectIvalBasin>(), QStringLiteral("Nashville TN"));
        } else if (where == QStringLiteral("setup")) {
            main_->ShowProjectSetup();
            FrmInfo* info = Forms::Find<FrmInfo>();
            Click(info, QStringLiteral("CmdIList"));
            Choose(Forms::Find<FrmSelectIvalBasin>(), QStringLiteral("Nashville TN"));
            Settle();
            QVERIFY(prompts_->messages.isEmpty());
            Click(info, QStringLiteral("CmdOK"));
        } else {
            Trigger(Canvas(), QStringLiteral("MnuEditBasin"));
            FrmNodeInfo* node = Forms::Find<FrmNodeInfo>();
            Click(node, QStringLiteral("CmdTableList"));
            Choose(Forms::Find<FrmSelectNodeBasin>(), QStringLiteral("Nashville TN"));
            Settle();
            Click(node, QStringLiteral("CmdUpdate"));
        }
        Settle();

        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->messages[0].text,
                 QStringLiteral("Sheet-flow travel times of 2 overland areas were recalculated "
                                "with the 2-year 24-hour rainfall of Nashville TN (3.37 in)."));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Information);
        QCOMPARE(ReadNode(project_)->IntensityTable, std::string("Nashville TN"));
        QCOMPARE(CurrentSession().IntensityTableName, std::string("Nashville TN"));
        for (const std::string tag : {"Basin1", "Basin2"}) {
            QCOMPARE(LoadElementRow<BasinRow>(project_, tag)->Tc, std::string("19.2349"));
        }
        QCOMPARE(LoadElementRow<SurfaceRow>(project_, "Surface1")->SurfTc, std::string("3.6532"));
        QVERIFY2(ToolTip(1).endsWith(QStringLiteral("Tc: 19.2349 min")), qPrintable(ToolTip(1)));
    }

    // Data > Recalculate Travel Times stores what the inputs give with the
    // project's table and lists what changed.
    void recalculateListsWhatChanged_data() {
        QTest::addColumn<QString>("atlanta24Hour2Year");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("nothing changed") << "0.155"
                                         << "No travel time changed."
                                         << "18.3066";
        QTest::newRow("the table's P2 changed under the project")
            << "0.1404"
            << "North Lots (Basin1): 18.3066 to 19.2349 min\n"
               "South Lots (Basin2): 18.3066 to 19.2349 min"
            << "19.2349";
    }

    void recalculateListsWhatChanged() {
        QFETCH(QString, atlanta24Hour2Year);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        WriteTableWithP2(folder_->AppFolder(), "Atlanta", FromQ(atlanta24Hour2Year));
        Trigger(Canvas(), QStringLiteral("MnuRecalculate"));
        Settle();
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->messages[0].text, shown);
        QCOMPARE(prompts_->messages[0].title, QStringLiteral("Recalculate Travel Times"));
        QCOMPARE(LoadElementRow<BasinRow>(project_, "Basin2")->Tc, FromQ(stored));
        QVERIFY2(ToolTip(2).endsWith(QStringLiteral("Tc: ") + stored + QStringLiteral(" min")),
                 qPrintable(ToolTip(2)));
    }
};

QTEST_MAIN(TableChangeTest)
#include "TableChangeTest.moc"
