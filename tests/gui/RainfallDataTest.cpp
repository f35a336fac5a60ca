#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <algorithm>
#include <cmath>
#include <memory>

#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "SampleRows.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "common/Prompts.h"
#include "intensity/FrmIdfEquation.h"
#include "intensity/FrmIntensityTable.h"
#include "intensity/FrmRainfallCurves.h"
#include "intensity/IntensityDatabase.h"
#include "rainfall/NoaaAtlas14File.h"
#include "rainfall/RainfallTable.h"
#include "report/ReportComposer.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"
#include "text/NumberText.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

namespace {

const QString kBentonville =
    QStringLiteral(TORRENTA_NOAA_FOLDER "/PF_Intensity_English_PDS_Bentonville_AR.csv");

}  // namespace

class RainfallDataTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<ScriptedPrompts> prompts_;

    static QPlainTextEdit* Source(QWidget* editor) {
        return Named<QPlainTextEdit>(editor, QStringLiteral("TxtSource"));
    }

  private slots:
    void init() { StartRun(folder_, prompts_); }

    void cleanup() {
        Forms::CloseAll();
        Settle();
        prompts_.reset();
        folder_.reset();
    }

    // The file fills the grid, the Source and a proposed name; Update saves
    // them as a new table. A refused file leaves the grid as it was.
    void importFillsTheGridAndSavesWithItsSource() {
        auto* editor = Forms::Show<FrmIntensityTable>();
        const QString atlantaFirst = editor->Cell(0, 0)->text();
        prompts_->fileNames = {QStringLiteral(TORRENTA_NOAA_FOLDER "/README.md")};
        Click(editor, QStringLiteral("CmdImportNoaa"));
        QVERIFY(prompts_->LastText().contains(QStringLiteral("is not a NOAA Atlas 14")));
        QCOMPARE(editor->Cell(0, 0)->text(), atlantaFirst);
        QCOMPARE(Text(editor, QStringLiteral("TxtBasinName")), QStringLiteral("Atlanta"));

        prompts_->fileNames = {kBentonville};
        Click(editor, QStringLiteral("CmdImportNoaa"));
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(editor->Cell(0, 0)->text(), QStringLiteral("4.800"));
        QCOMPARE(editor->Cell(6, 9)->text(), QStringLiteral("0.3240"));
        QCOMPARE(Text(editor, QStringLiteral("TxtBasinName")), QStringLiteral("Bentonville AR"));
        QVERIFY(Source(editor)->toPlainText().contains(QStringLiteral("Bentonville, Arkansas")));

        Type(editor, QStringLiteral("TxtBasinName"), QStringLiteral("Bentonville"));
        Click(editor, QStringLiteral("CmdUpdate"));
        const std::string app = folder_->AppFolder();
        QCOMPARE(ReadIntensityGrid(app, "Bentonville"),
                 ReadNoaaAtlas14File(kBentonville.toStdString()).grid);
        QVERIFY(IntensityTableSource(app, "Bentonville").find("PF_Intensity") != std::string::npos);
        QCOMPARE(CurrentSession().IntensityTableName, std::string("Bentonville"));
    }

    // A file that holds bounds offers the blocks it holds; a file of bounds
    // alone has no estimates to fall back on, so Cancel takes nothing.
    void importOffersTheBlocksTheFileHolds_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<int>("block");  // -1: the grid stays as it was

        const QString all = QStringLiteral("All_Depth_English_PDS_Nashville_TN.csv");
        const QString upper = QStringLiteral("UCL_Depth_English_PDS_Wasco_CA.csv");
        const QString both =
            all +
            " holds the estimates and the upper and lower bounds of their 90% confidence "
            "interval. Which values should the table take?";
        const QString upperOnly =
            upper +
            " holds only the upper bound of the 90% confidence interval, no estimates. "
            "Which values should the table take?";
        const QStringList three = {"Estimates", "Upper bound", "Lower bound"};
        QTest::newRow("estimates only, nothing asked")
            << "PF_Intensity_English_PDS_Bentonville_AR.csv" << 0 << "" << QStringList{}
            << int(NoaaBlock::Estimates);
        QTest::newRow("all blocks, estimates")
            << all << 0 << both << three << int(NoaaBlock::Estimates);
        QTest::newRow("all blocks, lower bound")
            << all << 2 << both << three << int(NoaaBlock::Lower);
        QTest::newRow("upper bound only, taken")
            << upper << 0 << upperOnly << QStringList{"Upper bound"} << int(NoaaBlock::Upper);
        QTest::newRow("upper bound only, cancelled")
            << upper << -1 << upperOnly << QStringList{"Upper bound"} << -1;
    }

    void importOffersTheBlocksTheFileHolds() {
        QFETCH(QString, file);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(QStringList, choices);
        QFETCH(int, block);
        const QString path = QStringLiteral(TORRENTA_NOAA_FOLDER "/") + file;
        auto* editor = Forms::Show<FrmIntensityTable>();
        const QString shownBefore = editor->Cell(6, 9)->text();
        prompts_->fileNames = {path};
        prompts_->choiceAnswers = {answer};
        Click(editor, QStringLiteral("CmdImportNoaa"));

        QCOMPARE(prompts_->choicesAsked.size(), question.isEmpty() ? 0 : 1);
        if (!question.isEmpty()) {
            QCOMPARE(prompts_->choicesAsked[0].text, question);
            QCOMPARE(prompts_->choicesAsked[0].choices, choices);
        }
        if (block < 0) {
            QCOMPARE(editor->Cell(6, 9)->text(), shownBefore);
            QCOMPARE(Text(editor, QStringLiteral("TxtBasinName")), QStringLiteral("Atlanta"));
            return;
        }
        const RainfallTable expected =
            ReadNoaaAtlas14File(path.toStdString(), static_cast<NoaaBlock>(block));
        for (int row = 0; row < 10; ++row) {
            for (int column = 0; column < 7; ++column) {
                QCOMPARE(editor->Cell(column, row)->text(), ToQ(expected.grid[row][column]));
            }
        }
        QCOMPARE(Source(editor)->toPlainText(), ToQ(expected.source));
    }

    // The equation's boxes take only what a numeric box takes; OK fills the
    // editor's grid.
    void fromEquationFillsTheGrid() {
        auto* editor = Forms::Show<FrmIntensityTable>();
        Click(editor, QStringLiteral("CmdFromEquation"));
        auto* equation = Forms::Find<FrmIdfEquation>();
        QVERIFY(equation != nullptr);
        Click(equation, QStringLiteral("CmdOK"));
        QCOMPARE(prompts_->LastText(), QStringLiteral("Please fill all fields"));
        for (int column = 0; column < 7; ++column) {
            Type(equation, QStringLiteral("TxtB%1").arg(column + 1), QStringLiteral("120"));
            Type(equation, QStringLiteral("TxtD%1").arg(column + 1), QStringLiteral("-0"));
            Type(equation, QStringLiteral("TxtE%1").arg(column + 1), QStringLiteral("1"));
        }
        QCOMPARE(Text(equation, QStringLiteral("TxtD1")), QStringLiteral("0"));
        Click(equation, QStringLiteral("CmdOK"));
        QCOMPARE(editor->Cell(0, 0)->text(), QStringLiteral("24.00"));
        QCOMPARE(editor->Cell(6, 9)->text(), QStringLiteral("0.08333"));
        QVERIFY(Source(editor)->toPlainText().startsWith(QStringLiteral("IDF equation")));
        QVERIFY(Text(editor, QStringLiteral("TxtBasinName")).isEmpty());
        Settle();
        QVERIFY(Forms::Find<FrmIdfEquation>() == nullptr);
    }

    // The Bentonville chart: seven curves through the table's cells, the Tc
    // line where the solve read the intensities; saved as PNG and SVG, copied.
    void chartShowsTheCurvesAndTheSolvedTc() {
        const std::string app = folder_->AppFolder();
        SaveRainfallTable(app, "Bentonville AR", ReadNoaaAtlas14File(kBentonville.toStdString()),
                          false);
        const std::string project = folder_->NewProjectFile();
        SaveProjectSetup(project, ProjectInfoRow{}, "Outlet", "Bentonville AR");
        InsertElementRow(project, SampleBasin());
        InsertElementRow(project, SampleSurface());
        InsertElementRow(project, SampleChannel());
        const ComposedReport solved =
            ComposeReport(ReportInputs{project, app, "Bentonville AR", SolveNetwork(project)});
        CurrentSession().ProjectPath = project;
        CurrentSession().IntensityTableName = "Bentonville AR";

        auto* window = Forms::Show<FrmRainfallCurves>();
        window->ShowCurrentTable();
        const IntensityGrid grid = ReadIntensityGrid(app, "Bentonville AR");
        QChart* chart = window->Chart();
        int curves = 0;
        for (QAbstractSeries* series : chart->series()) {
            auto* line = qobject_cast<QLineSeries*>(series);
            if (line == nullptr || line->objectName() == QStringLiteral("TcLine") ||
                series->type() == QAbstractSeries::SeriesTypeScatter) {
                continue;
            }
            const QList<QPointF> points = line->points();
            QCOMPARE(points.size(), 10);
            for (int i = 0; i < 10; ++i) {
                QVERIFY(std::abs(std::pow(10.0, points[i].y()) / LeadingNumber(grid[i][curves]) -
                                 1.0) < 1e-9);
                QCOMPARE(std::pow(10.0, points[i].x()), kDurationMinutes[i]);
            }
            ++curves;
        }
        QCOMPARE(curves, 7);

        auto* tcLine = chart->findChild<QLineSeries*>(QStringLiteral("TcLine"));
        QVERIFY(tcLine != nullptr);
        QVERIFY(std::abs(std::pow(10.0, tcLine->at(0).x()) - solved.solution.TotalTc) < 1e-9);
        auto* marks = chart->findChild<QScatterSeries*>(QStringLiteral("TcIntensities"));
        QVERIFY(marks != nullptr);
        QCOMPARE(marks->count(), 7);
        for (int k = 0; k < 7; ++k) {
            QVERIFY(std::abs(std::pow(10.0, marks->at(k).y()) -
                             solved.solution.periods[k].intensity) < 1e-5);
        }
        QCOMPARE(window->windowTitle(), QStringLiteral("Rainfall Curves - Bentonville AR"));
        // 1-2-5 labels over the whole range the curves cover.
        auto* axis = chart->findChild<QCategoryAxis*>(QStringLiteral("IntensityAxis"));
        QVERIFY(axis != nullptr);
        QCOMPARE(axis->categoriesLabels(), QStringList({"0.1", "0.2", "0.5", "1", "2", "5", "10"}));
        // The Tc line and the dots on it: two entries, drawn differently.
        const QLegendMarker* lineEntry = chart->legend()->markers(tcLine).value(0);
        const QLegendMarker* dotEntry = chart->legend()->markers(marks).value(0);
        QVERIFY(lineEntry != nullptr && dotEntry != nullptr);
        QVERIFY(lineEntry->label() != dotEntry->label());
        QVERIFY(lineEntry->brush().color() != dotEntry->brush().color());

        window->show();
        const QString png = QString::fromStdString(folder_->File("curves.png"));
        const QString svg = QString::fromStdString(folder_->File("curves.svg"));
        prompts_->fileNames = {png, svg};
        Click(window, QStringLiteral("CmdSave"));
        Click(window, QStringLiteral("CmdSave"));
        QVERIFY(prompts_->messages.isEmpty());
        QImage saved(png);
        QVERIFY(!saved.isNull() && saved.width() >= 1600);
        QFile svgFile(svg);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        const QByteArray svgText = svgFile.readAll();
        QVERIFY(svgText.contains("<svg"));
        const QString said = Named<QLabel>(window, QStringLiteral("LblTcIntensities"))->text();
        QVERIFY2(svgText.contains(said.left(said.indexOf(u',')).toUtf8()), qPrintable(said));
        // The PNG's bottom band holds that line too: dark text on white.
        const QImage band = saved.copy(0, saved.height() * 9 / 10, 800, saved.height() / 10)
                                .convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(std::any_of(band.constBits(), band.constBits() + band.sizeInBytes(),
                            [](uchar gray) { return gray < 100; }));
        Click(window, QStringLiteral("CmdCopy"));
        QCOMPARE(QApplication::clipboard()->image().size(), saved.size());

        // A slip in the file dialog never puts a picture over the project.
        QFile projectFile(QString::fromStdString(project));
        QVERIFY(projectFile.open(QIODevice::ReadOnly));
        const QByteArray before = projectFile.readAll();
        projectFile.close();
        prompts_->fileNames = {QString::fromStdString(project)};
        Click(window, QStringLiteral("CmdSave"));
        QCOMPARE(prompts_->LastText(), QStringLiteral("The chart is not saved as \"%1\": it is the "
                                                      "project being solved.")
                                           .arg(QString::fromStdString(project)));
        QVERIFY(projectFile.open(QIODevice::ReadOnly));
        QCOMPARE(projectFile.readAll(), before);
    }

    // Cells that hold no positive number are left out and named.
    void chartNamesTheCellsItLeftOut() {
        IntensityGrid grid = ReadIntensityGrid(folder_->AppFolder(), "Atlanta");
        grid[0][0] = "0";
        grid[9][6] = "";
        auto* window = Forms::Show<FrmRainfallCurves>();
        window->ShowTable(QStringLiteral("Atlanta"), grid, std::nullopt);
        auto* label = Named<QLabel>(window, QStringLiteral("LblLeftOut"));
        QCOMPARE(label->text(),
                 QStringLiteral("Left out, not a positive number: 5 min, 1 yr; 24 hr, 100 yrs"));
        QCOMPARE(qobject_cast<QLineSeries*>(window->Chart()->series().first())->count(), 9);
        QVERIFY(window->Chart()->findChild<QLineSeries*>(QStringLiteral("TcLine")) == nullptr);
    }
};

QTEST_MAIN(RainfallDataTest)
#include "RainfallDataTest.moc"
