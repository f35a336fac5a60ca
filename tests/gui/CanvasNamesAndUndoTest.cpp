#include <QGraphicsView>
#include <QTest>
#include <QTextDocumentFragment>
#include <QUndoStack>
#include <memory>

#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "SampleRows.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"
#include "editors/OverlandFlowDialog.h"
#include "intensity/FrmIntensityTable.h"
#include "intensity/FrmNodeInfo.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

// What the canvas tells about its icons (names, tool tips, double-click) and
// how deletes are taken back while the project is open.
class CanvasNamesAndUndoTest : public DesktopRunTest {
    Q_OBJECT

    void InsertBasin(const std::string& tag, const std::string& name, int left, int top = 1000) {
        BasinRow row = SampleBasin(tag);
        row.BasinName = name;
        row.BasinX = std::to_string(left);
        row.BasinY = std::to_string(top);
        InsertElementRow(project_, row);
    }

    void OpenCanvas() {
        main_->ShowCanvas();
        QVERIFY(Canvas() != nullptr);
        Canvas()->View()->viewport()->resize(1000, 700);
    }

    IconItem* Icon(ElementKind kind, int index) const { return Canvas()->Icons(kind)[index]; }

    QPoint PixelOf(const IconItem* icon) const {
        return Canvas()->View()->mapFromScene(icon->Centre());
    }

    void RightClick(const IconItem* icon, const QString& choice) {
        prompts_->menuChoices.append(choice);
        QTest::mousePress(Canvas()->View()->viewport(), Qt::RightButton, {}, PixelOf(icon));
        QTest::mouseRelease(Canvas()->View()->viewport(), Qt::RightButton, {}, PixelOf(icon));
    }

    // As a mouse does it: a click, the second press that makes it double, the
    // release (QTest's double click alone leaves the button held).
    void DoubleClick(const IconItem* icon) {
        QWidget* viewport = Canvas()->View()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, PixelOf(icon));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, PixelOf(icon));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, PixelOf(icon));
    }

    static QString PlainToolTip(const QGraphicsItem* item) {
        return QTextDocumentFragment::fromHtml(item->toolTip())
            .toPlainText()
            .replace(QChar::LineSeparator, u'\n');
    }

    std::string Deleted(const std::string& tag) const {
        const std::optional<BasinRow> row = LoadElementRow<BasinRow>(project_, tag);
        return row ? row->Deleted : "purged";
    }

  private slots:
    void init() {
        StartRun(folder_, prompts_);
        project_ = folder_->NewProjectFile();
        SaveProjectSetup(project_, ProjectInfoRow{}, "Outfall <East>", "Atlanta");
        CurrentSession().ProjectPath = project_;
        main_ = std::make_unique<MDIFrmMain>();
        main_->resize(1200, 900);
        main_->show();
    }

    void cleanup() { EndRun(main_, prompts_, folder_); }

    void eachIconShowsItsNameAndTellsKindTagAndTc() {
        InsertBasin("Basin1", "North Lots", 1000);
        InsertBasin("Basin2", "Basin near Cafe\u0301 X", 2000);
        SurfaceRow surface = SampleSurface();
        surface.SurfName = "Swale behind the school yard";
        InsertElementRow(project_, surface);
        ChannelRow channel = SampleChannel();
        channel.ChannelName = "Ditch A&B";
        channel.ChannelTc.clear();
        InsertElementRow(project_, channel);
        OpenCanvas();

        struct Case {
            const IconItem* icon;
            QString caption;
            QString toolTip;
        };
        const Case cases[] = {
            {Icon(ElementKind::Overland, 1), "North Lots",
             "North Lots\nOverland flow\nTag: Basin1\nTc: 18.3066 min"},
            // The accent that ends the 15th letter stays on it.
            {Icon(ElementKind::Overland, 2), QStringLiteral("Basin near Cafe\u0301\u2026"),
             QStringLiteral("Basin near Cafe\u0301 X\nOverland flow\nTag: Basin2\nTc: 18.3066 "
                            "min")},
            {Icon(ElementKind::Shallow, 1), QStringLiteral("Swale behind th\u2026"),
             "Swale behind the school yard\nShallow concentrated flow\nTag: Surface1\nTc: 3.6532 "
             "min"},
            {Icon(ElementKind::Channel, 1), "Ditch A&B",
             "Ditch A&B\nChannel flow\nTag: Channel1\nTc: not calculated"},
            {Canvas()->NodeIcon(), "Outfall <East>", "Outfall <East>\nOutlet node"},
        };
        for (const Case& c : cases) {
            QCOMPARE(c.icon->Caption(), c.caption);
            QCOMPARE(PlainToolTip(c.icon), c.toolTip);
            QVERIFY(c.icon->CaptionShown());
        }

        // View > Show Names hides every name and brings them back; the icons stay.
        Trigger(Canvas(), QStringLiteral("MnuViewNames"));
        for (const Case& c : cases) {
            QVERIFY(!c.icon->CaptionShown());
            QVERIFY(c.icon->isVisible());
        }
        Trigger(Canvas(), QStringLiteral("MnuViewNames"));
        QVERIFY(Canvas()->NodeIcon()->CaptionShown());

        // A new element's icon is named as soon as its row is written.
        Canvas()->PlaceAndInsert(ElementKind::Overland, [&](const FrmDraw::NewIcon& icon) {
            BasinRow row = SampleBasin(FromQ(icon.tag));
            row.BasinName = "South Lots";
            InsertElementRow(project_, row);
        });
        QCOMPARE(Icon(ElementKind::Overland, 3)->Caption(), QStringLiteral("South Lots"));
        QVERIFY(Icon(ElementKind::Overland, 3)->CaptionShown());
    }

    void doubleClickEditsAndTheNameFollowsTheEdit() {
        InsertBasin("Basin1", "North Lots", 1000);
        OpenCanvas();
        IconItem* basin = Icon(ElementKind::Overland, 1);
        const QPointF where = basin->pos();
        DoubleClick(basin);
        FrmBasUpdate* form = Forms::Find<FrmBasUpdate>();
        QVERIFY(form != nullptr);
        QCOMPARE(Text(form, QStringLiteral("TxtBasinName")), QStringLiteral("North Lots"));
        QCOMPARE(basin->pos(), where);
        Type(form, QStringLiteral("TxtBasinName"), QStringLiteral("Northern Parking Lots"));
        Click(form, QStringLiteral("CmdOK"));
        Settle();
        QVERIFY(Forms::Find<FrmBasUpdate>() == nullptr);
        QCOMPARE(basin->Caption(), QStringLiteral("Northern Parkin\u2026"));
        QVERIFY(PlainToolTip(basin).startsWith(QStringLiteral("Northern Parking Lots\n")));

        DoubleClick(Canvas()->NodeIcon());
        QVERIFY(Forms::Find<FrmNodeInfo>() != nullptr);
        QVERIFY(prompts_->messages.isEmpty());
    }

    // A new 24-hour 2-year value of the project's table gives the overland
    // areas new sheet-flow times; their tool tips show them once the editor
    // closes (18.3066 min at P2 3.72 in, 19.2624 min at 3.36 in).
    void tcShownFollowsTheProjectTableSaved() {
        InsertBasin("Basin1", "North Lots", 1000);
        OpenCanvas();
        Trigger(Canvas(), QStringLiteral("MnuEditTable"));
        auto* editor = Forms::Find<FrmIntensityTable>();
        QVERIFY(editor != nullptr);
        editor->Cell(1, 9)->setText(QStringLiteral("0.14"));
        Click(editor, QStringLiteral("CmdUpdate"));
        Settle();
        QVERIFY(PlainToolTip(Icon(ElementKind::Overland, 1))
                    .endsWith(QStringLiteral("Tc: 19.2624 min")));
    }

    void threeDeletesUndoneAndRedoneThenClosePurgesWhatIsStillDeleted() {
        InsertBasin("Basin1", "One", 1000);
        InsertBasin("Basin2", "Two", 2000);
        InsertBasin("Basin3", "Three", 3000);
        OpenCanvas();
        const QPointF where = Icon(ElementKind::Overland, 2)->pos();
        for (int index : {1, 2, 3}) {
            RightClick(Icon(ElementKind::Overland, index), QStringLiteral("Mnu_Basin_Delete"));
        }
        QCOMPARE(Canvas()->VisibleCount(ElementKind::Overland), 0);
        QCOMPARE(Canvas()->Lines().size(), 1);

        // Undo brings back the last delete first, icon, line and row.
        Trigger(Canvas(), QStringLiteral("MnuUndoDelete"));
        Trigger(Canvas(), QStringLiteral("MnuUndoDelete"));
        QVERIFY(Icon(ElementKind::Overland, 3)->isVisible());
        QVERIFY(Icon(ElementKind::Overland, 2)->isVisible());
        QCOMPARE(Icon(ElementKind::Overland, 2)->pos(), where);
        QCOMPARE(Canvas()->Lines().size(), 3);
        QCOMPARE(Deleted("Basin2"), std::string("False"));
        Trigger(Canvas(), QStringLiteral("MnuRedoDelete"));
        QVERIFY(!Icon(ElementKind::Overland, 2)->isVisible());
        QCOMPARE(Canvas()->Lines().size(), 2);
        QCOMPARE(Deleted("Basin2"), std::string("True"));
        QCOMPARE(Canvas()->UndoStack()->count(), 3);

        Trigger(Canvas(), QStringLiteral("MnuFileClose"));
        QCOMPARE(Deleted("Basin1"), std::string("purged"));
        QCOMPARE(Deleted("Basin2"), std::string("purged"));
        QCOMPARE(Deleted("Basin3"), std::string("False"));
        QVERIFY(prompts_->messages.isEmpty());

        // A reopened project starts with nothing to undo.
        OpenCanvas();
        QVERIFY(!Named<QAction>(Canvas(), QStringLiteral("MnuUndoDelete"))->isEnabled());
    }

    void undoStaysWithinTheLimitOfTwentyLiveElements() {
        for (int i = 1; i <= 20; ++i) {
            InsertBasin("Basin" + std::to_string(i), "B", 800 * (i % 10), 1000 + 1000 * (i / 10));
        }
        OpenCanvas();
        RightClick(Icon(ElementKind::Overland, 5), QStringLiteral("Mnu_Basin_Delete"));
        Canvas()->PlaceAndInsert(ElementKind::Overland, [&](const FrmDraw::NewIcon& icon) {
            InsertElementRow(project_, SampleBasin(FromQ(icon.tag)));
        });
        Trigger(Canvas(), QStringLiteral("MnuUndoDelete"));
        QCOMPARE(prompts_->LastText(), QStringLiteral("Maximum 20 basins allowed"));
        QCOMPARE(prompts_->messages.last().title, QStringLiteral("Maximum Reached"));
        QVERIFY(!Icon(ElementKind::Overland, 5)->isVisible());
        QCOMPARE(Deleted("Basin5"), std::string("True"));
        QVERIFY(Canvas()->UndoStack()->canUndo());

        // The file is counted, not the canvas: with a basin added by another
        // program since, the canvas shows 19 but the project holds 20.
        RightClick(Icon(ElementKind::Overland, 6), QStringLiteral("Mnu_Basin_Delete"));
        InsertElementRow(project_, SampleBasin("Basin30"));
        Trigger(Canvas(), QStringLiteral("MnuUndoDelete"));
        QCOMPARE(prompts_->LastText(), QStringLiteral("Maximum 20 basins allowed"));
        QCOMPARE(Deleted("Basin6"), std::string("True"));
        QCOMPARE(ReadLiveElements<BasinRow>(project_).size(), std::size_t{20});
    }
};

QTEST_MAIN(CanvasNamesAndUndoTest)
#include "CanvasNamesAndUndoTest.moc"
