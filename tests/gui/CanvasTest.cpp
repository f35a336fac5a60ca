#include <SQLiteCpp/SQLiteCpp.h>
#include <QGraphicsLineItem>
#include <QGraphicsView>
#include <QTest>
#include <QTextEdit>
#include <memory>

#include "DesktopRun.h"
#include "Errors.h"
#include "GuiTestSupport.h"
#include "SampleRows.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"
#include "editors/ChannelFlowDialog.h"
#include "editors/OverlandFlowDialog.h"
#include "editors/ShallowFlowDialog.h"
#include "intensity/FrmNodeInfo.h"
#include "report/FrmViewReport.h"
#include "report/ReportComposer.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"
#include "text/NumberText.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

class CanvasTest : public DesktopRunTest {
    Q_OBJECT

    void Exec(const std::string& sql) {
        SQLite::Database(project_, SQLite::OPEN_READWRITE).exec(sql);
    }

    // A complete overland flow element, so a solve has numbers to work on.
    void InsertBasin(const std::string& tag, const std::string& deleted,
                     const std::string& left = "1000", const std::string& top = "1000") {
        BasinRow row = SampleBasin(tag);
        row.BasinName = "Area " + tag;
        row.BasinX = left;
        row.BasinY = top;
        row.Deleted = deleted;
        InsertElementRow(project_, row);
    }

    void InsertChannel(const std::string& tag, const std::string& deleted) {
        ChannelRow row = SampleChannel(tag);
        row.ChannelName = "Ditch " + tag;
        row.ChannelLeft = "3000";
        row.ChannelTop = "3000";
        row.Deleted = deleted;
        InsertElementRow(project_, row);
    }

    void OpenCanvas() {
        if (Canvas() != nullptr) {
            main_->FileClose();
            Settle();
        }
        main_->ShowCanvas();
        QVERIFY(Canvas() != nullptr);
        Canvas()->View()->viewport()->resize(1000, 700);
    }

    QPoint PixelOf(QPointF scenePoint) const { return Canvas()->View()->mapFromScene(scenePoint); }

    QWidget* Viewport() const { return Canvas()->View()->viewport(); }

    void RightClick(const IconItem* icon, const QString& choice) {
        prompts_->menuChoices.append(choice);
        const QPoint at = PixelOf(icon->Centre());
        QTest::mousePress(Viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(Viewport(), Qt::RightButton, {}, at);
    }

    // Exactly one line per visible element, each from its centre to the node's.
    void VerifyLines() {
        const FrmDraw* canvas = Canvas();
        int visible = 0;
        for (ElementKind kind :
             {ElementKind::Overland, ElementKind::Shallow, ElementKind::Channel}) {
            visible += canvas->VisibleCount(kind);
        }
        QCOMPARE(canvas->Lines().size(), visible + 1);
        QVERIFY(!canvas->Lines()[0]->isVisible());
        for (qsizetype i = 1; i < canvas->Lines().size(); ++i) {
            QCOMPARE(canvas->Lines()[i]->line().p2(), canvas->NodeIcon()->Centre());
        }
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
    }

    void cleanup() { EndRun(main_, prompts_, folder_); }

    void newIconsFollowThePlacementCursor() {
        OpenCanvas();
        QCOMPARE(Canvas()->ArrayCount(ElementKind::Overland), 1);
        const FrmDraw::NewIcon first = Canvas()->PlaceNewIcon(ElementKind::Overland);
        QCOMPARE(first.tag, QStringLiteral("Basin1"));
        QCOMPARE(first.left, 650);
        QCOMPARE(first.top, 840);
        const FrmDraw::NewIcon second = Canvas()->PlaceNewIcon(ElementKind::Overland);
        QCOMPARE(second.tag, QStringLiteral("Basin2"));
        // Clear of the first icon's picture and name, not 100 twips over.
        QVERIFY2(second.left >= first.left + 690, qPrintable(QString::number(second.left)));
        QCOMPARE(second.top, 840);
        const FrmDraw::NewIcon channel = Canvas()->PlaceNewIcon(ElementKind::Channel);
        QCOMPARE(channel.tag, QStringLiteral("Channel1"));
        QCOMPARE(channel.left, 650);
        QCOMPARE(channel.top, 2520);
        QCOMPARE(Canvas()->ArrayCount(ElementKind::Overland), 3);
        VerifyLines();
    }

    // A reopened project's cursor starts over: the new icon goes clear of the
    // icons near its spot, a hidden one too.
    void aReopenedProjectPlacesPastItsIcons_data() {
        QTest::addColumn<QString>("deleted");
        QTest::newRow("live") << "False";
        QTest::newRow("deleted") << "True";
    }

    void aReopenedProjectPlacesPastItsIcons() {
        QFETCH(QString, deleted);
        InsertBasin("Basin1", "False", "650", "840");
        InsertBasin("Basin2", FromQ(deleted), "750", "840");
        OpenCanvas();
        QVERIFY(Canvas()->PlaceNewIcon(ElementKind::Overland).left >= 750 + 690);
    }

    void anIconWhoseRowIsRefusedIsWithdrawn() {
        OpenCanvas();
        for (ElementKind kind :
             {ElementKind::Overland, ElementKind::Shallow, ElementKind::Channel}) {
            bool refused = false;
            try {
                Canvas()->PlaceAndInsert(kind, [](const FrmDraw::NewIcon&) {
                    throw DatabaseError("the disk refused the row");
                });
            } catch (const DatabaseError&) {
                refused = true;
            }
            QVERIFY(refused);
            QCOMPARE(Canvas()->ArrayCount(kind), 2);
            QCOMPARE(Canvas()->VisibleCount(kind), 0);
            std::string written;
            Canvas()->PlaceAndInsert(
                kind, [&](const FrmDraw::NewIcon& icon) { written = FromQ(icon.tag); });
            QCOMPARE(Canvas()->VisibleCount(kind), 1);
            QVERIFY(written.back() == '2');
        }
        VerifyLines();
    }

    void loadingShowsLiveRowsOnlyWithOneLineEach() {
        InsertBasin("Basin1", "False", "650", "840");
        InsertBasin("Basin2", "True");
        InsertBasin("Basin3", "false");
        InsertChannel("Channel1", "False");
        Exec("UPDATE TblNodeInfo SET NodeX = '7000.5', NodeY = '2000'");
        OpenCanvas();
        const auto& basins = Canvas()->Icons(ElementKind::Overland);
        QCOMPARE(basins.size(), 4);
        QVERIFY(!basins[0]->isVisible());
        QVERIFY(basins[1]->isVisible());
        QVERIFY(!basins[2]->isVisible());
        QVERIFY(!basins[3]->isVisible());
        QCOMPARE(basins[1]->Tag(), QStringLiteral("Basin1"));
        QCOMPARE(basins[1]->pos(), QPointF(650, 840));
        QCOMPARE(Canvas()->NodeIcon()->pos(), QPointF(7000.5, 2000));
        QCOMPARE(Canvas()->VisibleCount(ElementKind::Overland), 1);
        VerifyLines();
        // Hidden icons count in the array: the next icon gets index 4.
        QCOMPARE(Canvas()->PlaceNewIcon(ElementKind::Overland).tag, QStringLiteral("Basin4"));
    }

    void theTwentyFirstElementIsRefusedUntilOneIsDeleted() {
        for (int i = 1; i <= 20; ++i) {
            InsertBasin("Basin" + std::to_string(i), "False");
        }
        InsertBasin("Basin21", "True");
        OpenCanvas();
        Trigger(Canvas(), QStringLiteral("MnuAddSubBasin"));
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->LastText(), QStringLiteral("Maximum 20 basins allowed"));
        QCOMPARE(prompts_->messages[0].title, QStringLiteral("Maximum Reached"));

        RightClick(Canvas()->Icons(ElementKind::Overland)[5], QStringLiteral("Mnu_Basin_Delete"));
        QCOMPARE(Canvas()->VisibleCount(ElementKind::Overland), 19);
        Trigger(Canvas(), QStringLiteral("MnuAddSubBasin"));
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(Canvas()->PlaceNewIcon(ElementKind::Overland).tag, QStringLiteral("Basin22"));
    }

    void otherKindsHaveTheirOwnLimitMessages() {
        for (int i = 1; i <= 20; ++i) {
            InsertChannel("Channel" + std::to_string(i), "False");
            SurfaceRow row;
            row.SurfTag = "Surface" + std::to_string(i);
            row.Deleted = "False";
            InsertElementRow(project_, row);
        }
        OpenCanvas();
        Trigger(Canvas(), QStringLiteral("TbDraw_Surface"));
        QCOMPARE(prompts_->LastText(), QStringLiteral("Maximum 20 Surface Flows allowed"));
        Trigger(Canvas(), QStringLiteral("TbDraw_Channel"));
        QCOMPARE(prompts_->LastText(), QStringLiteral("Maximum 20 Channel Flows allowed"));
    }

    void dragWritesTheExactPositionText() {
        InsertBasin("Basin1", "False", "650", "840");
        OpenCanvas();
        IconItem* icon = Canvas()->Icons(ElementKind::Overland)[1];
        const QPoint start = PixelOf(icon->pos() + QPointF(300, 200));
        QTest::mousePress(Viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(Viewport(), start + QPoint(20, 10));
        QTest::mouseMove(Viewport(), start + QPoint(40, 30));
        QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, start + QPoint(40, 30));
        const double twipsPerPixel = 1440.0 / Viewport()->logicalDpiX();
        QVERIFY(qAbs(icon->Left() - (650 + 40 * twipsPerPixel)) < 1);
        QVERIFY(qAbs(icon->Top() - (840 + 30 * twipsPerPixel)) < 1);
        const auto row = LoadElementRow<BasinRow>(project_, "Basin1");
        QCOMPARE(row->BasinX, SingleText(static_cast<float>(icon->Left())));
        QCOMPARE(row->BasinY, SingleText(static_cast<float>(icon->Top())));
        QCOMPARE(CurrentSession().SelectedIcon, QStringLiteral("Basin1"));
        QVERIFY(icon->Marked());
        VerifyLines();
    }

    void aClickWithoutMoveRewritesThePosition() {
        InsertBasin("Basin1", "False", "650.0", "840.00");
        InsertBasin("Basin2", "False", "3000", "840");
        OpenCanvas();
        IconItem* first = Canvas()->Icons(ElementKind::Overland)[1];
        IconItem* second = Canvas()->Icons(ElementKind::Overland)[2];
        QTest::mouseClick(Viewport(), Qt::LeftButton, {}, PixelOf(second->Centre()));
        QTest::mouseClick(Viewport(), Qt::LeftButton, {}, PixelOf(first->Centre()));
        const auto row = LoadElementRow<BasinRow>(project_, "Basin1");
        QCOMPARE(row->BasinX, std::string("650"));
        QCOMPARE(row->BasinY, std::string("840"));
        QVERIFY(first->Marked());
        QVERIFY(!second->Marked());
    }

    void draggingTheNodeMovesEveryLineEnd() {
        InsertBasin("Basin1", "False");
        InsertChannel("Channel1", "False");
        OpenCanvas();
        IconItem* node = Canvas()->NodeIcon();
        const QPoint start = PixelOf(node->Centre());
        QTest::mousePress(Viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(Viewport(), start + QPoint(-100, -50));
        QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, start + QPoint(-100, -50));
        QVERIFY(node->Left() < 5040);
        VerifyLines();
        const auto stored = ReadNode(project_);
        QCOMPARE(stored->NodeX, SingleText(static_cast<float>(node->Left())));
        QCOMPARE(stored->NodeY, SingleText(static_cast<float>(node->Top())));
    }

    void popupNamesTheElementAsStoredNow() {
        InsertBasin("Basin1", "False");
        OpenCanvas();
        Exec("UPDATE TblBasinInfo SET BasinName = 'Renamed {east}' WHERE BasinTag = 'Basin1'");
        RightClick(Canvas()->Icons(ElementKind::Overland)[1], QString());
        QCOMPARE(prompts_->menus.size(), 1);
        QCOMPARE(prompts_->menus[0].value(0), QStringLiteral("Renamed {east}"));
        QCOMPARE(prompts_->menus[0].value(2), QStringLiteral("Delete Overland"));
        QCOMPARE(prompts_->menus[0].value(3), QStringLiteral("Edit Data"));

        RightClick(Canvas()->NodeIcon(), QStringLiteral("Mnu_Node_Edit"));
        QCOMPARE(prompts_->menus[1].value(0), QStringLiteral("Outfall"));
        QCOMPARE(prompts_->menus[1].value(2), QStringLiteral("Edit Basin Data"));
        QVERIFY(Forms::Find<FrmNodeInfo>() != nullptr);
    }

    void editDataOpensTheKindsUpdateDialogOnThePressedRow() {
        InsertBasin("Basin1", "False");
        InsertBasin("Basin2", "False");
        InsertChannel("Channel1", "False");
        OpenCanvas();
        RightClick(Canvas()->Icons(ElementKind::Overland)[2], QStringLiteral("Mnu_Basin_Edit"));
        FrmBasUpdate* basin = Forms::Find<FrmBasUpdate>();
        QVERIFY(basin != nullptr);
        QCOMPARE(Text(basin, QStringLiteral("TxtBasinName")), QStringLiteral("Area Basin2"));
        RightClick(Canvas()->Icons(ElementKind::Channel)[1], QStringLiteral("MnuPopEditChannel"));
        FrmChannelUpdateInfo* channel = Forms::Find<FrmChannelUpdateInfo>();
        QVERIFY(channel != nullptr);
        QCOMPARE(Text(channel, QStringLiteral("TxtChannelName")), QStringLiteral("Ditch Channel1"));
        Trigger(Canvas(), QStringLiteral("MnuAddSCF"));
        QVERIFY(Forms::Find<FrmSurfaceAddInfo>() != nullptr);
        // Project dialogs go with the project.
        Trigger(Canvas(), QStringLiteral("MnuFileClose"));
        QVERIFY(Forms::Find<FrmBasUpdate>() == nullptr);
        QVERIFY(Forms::Find<FrmChannelUpdateInfo>() == nullptr);
        QVERIFY(Forms::Find<FrmSurfaceAddInfo>() == nullptr);
    }

    void deleteHidesAtOnceAndCloseRemovesTheRow() {
        InsertBasin("Basin1", "False");
        InsertBasin("Basin2", "False");
        OpenCanvas();
        IconItem* icon = Canvas()->Icons(ElementKind::Overland)[2];
        RightClick(icon, QStringLiteral("Mnu_Basin_Delete"));
        QVERIFY(!icon->isVisible());
        VerifyLines();
        QCOMPARE(LoadElementRow<BasinRow>(project_, "Basin2")->Deleted, std::string("True"));
        Trigger(Canvas(), QStringLiteral("MnuFileClose"));
        QVERIFY(!LoadElementRow<BasinRow>(project_, "Basin2").has_value());
        QVERIFY(LoadElementRow<BasinRow>(project_, "Basin1").has_value());
    }

    void solveWithoutLiveElementsHasNothingToSolve() {
        InsertBasin("Basin1", "True");
        OpenCanvas();
        Trigger(Canvas(), QStringLiteral("MnuSolve"));
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->LastText(), QStringLiteral("Nothing to Solve"));
        QCOMPARE(prompts_->messages[0].title, QStringLiteral("Error"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Warning);
        QVERIFY(Forms::Find<FrmViewReport>() == nullptr);
    }

    void solveOpensTheComposedReportOnce() {
        InsertBasin("Basin1", "False");
        OpenCanvas();
        Trigger(Canvas(), QStringLiteral("TbDraw_Solve"));
        QVERIFY(prompts_->messages.isEmpty());
        FrmViewReport* report = Forms::Find<FrmViewReport>();
        QVERIFY(report != nullptr);
        QVERIFY(CurrentSession().HasOverland);
        QVERIFY(!CurrentSession().HasChannel);
        NetworkFlags flags;
        flags.HasOverland = true;
        const std::string expected =
            ComposeReport({project_, folder_->AppFolder(), "Atlanta", flags}).document.PlainText();
        auto* box = Named<QTextEdit>(report, QStringLiteral("RtbReport"));
        QVERIFY(box != nullptr);
        QCOMPARE(box->toPlainText(), ToQ(expected));
        QVERIFY(ReadResults(project_).has_value());

        Trigger(Canvas(), QStringLiteral("MnuSolve"));
        QVERIFY(Forms::Find<FrmViewReport>() == report);
    }

    void solveWithAMissingTableShowsTheProblemAndNoReport() {
        InsertBasin("Basin1", "False");
        Exec("UPDATE TblNodeInfo SET IntensityTable = 'Nowhere'");
        OpenCanvas();
        Trigger(Canvas(), QStringLiteral("MnuSolve"));
        QCOMPARE(prompts_->messages.size(), 1);
        QVERIFY2(prompts_->LastText().contains(QStringLiteral("Nowhere")),
                 qPrintable(prompts_->LastText()));
        QVERIFY(Forms::Find<FrmViewReport>() == nullptr);
    }
};

QTEST_MAIN(CanvasTest)
#include "CanvasTest.moc"
