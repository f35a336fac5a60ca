#include <QFile>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <cmath>

#include "DesktopRun.h"
#include "SampleRows.h"
#include "detention/DetentionCharts.h"
#include "detention/DetentionInputs.h"
#include "detention/FrmDetention.h"
#include "intensity/IntensityDatabase.h"
#include "solver/NetworkSolution.h"
#include "store/ProjectSetup.h"
#include "text/NumberText.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

namespace {

// The sample network: 3 acres at C 0.4 and Tc 18.3066 + 3.6532 + 1.7770 min.
constexpr double kArea = 3.0;
constexpr double kC = 0.4;
constexpr double kTc = 23.7368;
constexpr std::array<double, 7> kCf = {1, 1, 1, 1, 1.1, 1.2, 1.25};

QByteArray Bytes(const std::string& file) {
    QFile in(QString::fromStdString(file));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

double Number(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item != nullptr ? item->text().toDouble() : -1.0;
}

}  // namespace

class DetentionDialogTest : public DesktopRunTest {
    Q_OBJECT

    std::string pre_;

    FrmDetention* Dialog() const { return Forms::Find<FrmDetention>(); }

    void Pick(const QString& option) {
        auto* button = Named<QRadioButton>(Dialog(), option);
        QVERIFY(button != nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        QVERIFY(button->isChecked());
    }

    // "TxtRelease=2": the box and what is typed into it.
    void TypeAll(const QStringList& typed) {
        for (const QString& entry : typed) {
            const QStringList parts = entry.split(u'=');
            Type(Dialog(), parts[0], parts[1]);
        }
    }

  private slots:
    void init() {
        StartRun(folder_, prompts_);
        project_ = folder_->NewProjectFile();
        SaveProjectSetup(project_, ProjectInfoRow{}, "Pond", "Atlanta");
        InsertElementRow(project_, SampleBasin());
        InsertElementRow(project_, SampleSurface());
        InsertElementRow(project_, SampleChannel());
        // The site before development: the same area under grass.
        pre_ = folder_->NewProjectFile("pre.rmt");
        SaveProjectSetup(pre_, ProjectInfoRow{}, "Field", "Atlanta");
        BasinRow field = SampleBasin();
        field.CVal = "0.2";
        InsertElementRow(pre_, field);
        CurrentSession().ProjectPath = project_;
        main_ = std::make_unique<MDIFrmMain>();
        main_->show();
        main_->ShowCanvas();
        Trigger(Canvas(), QStringLiteral("MnuDetention"));
        QVERIFY(Dialog() != nullptr);
    }

    void cleanup() { EndRun(main_, prompts_, folder_); }

    // Every source and both methods: the grid's volume is the method's
    // formula at the Td* and Qi the grid shows, Qi is C Cf A I, and Td* is a
    // whole number of minutes past Tc or the table's last duration.
    void calculateFillsTheGrid_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("constant");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("releases");  // empty: the pre-development Q x 0.5
        QTest::addColumn<QString>("note");
        QTest::addColumn<bool>("steadyRain");  // 2 in/hr whatever the duration

        const QString noNote;
        QTest::newRow("one release, rising")
            << "OptSingle" << false << QStringList{"TxtRelease=2"}
            << QStringList(7, QStringLiteral("2.00")) << noNote << false;
        QTest::newRow("nothing released in steady rain: the table's end")
            << "OptSingle" << false << QStringList{"TxtRelease=0"}
            << QStringList(7, QStringLiteral("0.00"))
            << "The critical duration of the 1-, 2-, 5-, 10-, 25-, 50- and 100-year storms is "
               "the table's longest duration; a longer storm may need more storage."
            << true;
        QTest::newRow("per period, constant, the 1-year storm passes")
            << "OptPerPeriod" << true
            << QStringList{"TxtRelease1=50",   "TxtRelease2=1.5", "TxtRelease5=2",
                           "TxtRelease10=2.5", "TxtRelease25=3",  "TxtRelease50=3.5",
                           "TxtRelease100=4"}
            << QStringList{"50.00", "1.50", "2.00", "2.50", "3.00", "3.50", "4.00"} << noNote
            << false;
        QTest::newRow("pre-development times a factor")
            << "OptPreDevelopment" << false
            << QStringList{"TxtPreDevelopment=pre.rmt", "TxtFactor=0.5"} << QStringList{} << noNote
            << false;
    }

    void calculateFillsTheGrid() {
        QFETCH(QString, source);
        QFETCH(bool, constant);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, releases);
        QFETCH(QString, note);
        QFETCH(bool, steadyRain);
        if (steadyRain) {
            IntensityGrid steady;
            for (auto& row : steady) {
                row.fill("2");
            }
            SaveIntensityTable(folder_->AppFolder(), "Steady", steady);
            SetNodeIntensityTable(project_, "Steady");
        }
        Pick(source);
        Pick(constant ? QStringLiteral("OptConstant") : QStringLiteral("OptRising"));
        TypeAll(typed);
        if (releases.isEmpty()) {
            // Worked by hand: the field (3 ac, C 0.2, Tc 18.3066 min) on
            // Atlanta reads I = I15 + 3.3066 / 15 (I30 - I15): 3.2853, 3.8300,
            // 4.5426, 5.0683, 5.7419, 6.2264, 6.6954 in/hr; Q = min(0.2 Cf, 1)
            // x 3 x I, and half of it is the release.
            releases = {"0.99", "1.15", "1.36", "1.52", "1.89", "2.24", "2.51"};
        }
        const QByteArray stored = Bytes(project_);
        Click(Dialog(), QStringLiteral("CmdCalculate"));
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(prompts_->LastText()));

        auto* grid = Named<QTableWidget>(Dialog(), QStringLiteral("GrdResults"));
        for (int row = 0; row < 7; ++row) {
            QCOMPARE(grid->item(row, 0)->text(), releases[row]);
            const double qo = releases[row].toDouble();
            const double td = Number(grid, row, 1);
            const double i = Number(grid, row, 2);
            const double qi = Number(grid, row, 3);
            if (grid->item(row, 1)->text() == QStringLiteral("No storage needed")) {
                // 50 cfs is above any 1-year inflow of 3 acres.
                QCOMPARE(row, 0);
                continue;
            }
            QVERIFY(td == 1440.0 || std::abs(td - kTc - std::round(td - kTc)) < 0.006);
            QVERIFY(std::abs(qi - std::min(kC * kCf[row], 1.0) * kArea * i) < 0.015);
            const double volume =
                constant ? 60 * (qi - qo) * td : 60 * (qi * td - qo * (td + kTc) / 2);
            // The grid's Td* and Qi are rounded to 0.01.
            const double slack = 60 * 0.005 * (td + qi + qo) + 0.5;
            QVERIFY2(std::abs(Number(grid, row, 4) - volume) <= slack,
                     qPrintable(QStringLiteral("row %1: %2 against %3")
                                    .arg(row)
                                    .arg(Number(grid, row, 4))
                                    .arg(volume)));
            QVERIFY(std::abs(Number(grid, row, 5) - Number(grid, row, 4) / 43560) < 0.0006);
        }
        auto* label = Named<QLabel>(Dialog(), QStringLiteral("LblTableEnd"));
        QCOMPARE(label->isHidden() ? QString() : label->text(), note);
        // Calculating stores nothing: OK does.
        QVERIFY(!ReadDetentionInputs(project_));
        QCOMPARE(Bytes(project_), stored);
    }

    // OK stores what was typed, the chosen project relative to this one's
    // folder, and the dialog shows it again; Cancel and a refused Remove
    // leave the file's bytes; a confirmed Remove takes the inputs out.
    // With a constant release the shaded storage is what lies above the
    // release line through the whole storm, never the inflow below it.
    void theConstantReleaseChartShadesOnlyWhatIsAboveTheRelease() {
        DetentionSweep sweep;
        sweep.method = DetentionMethod::ConstantRelease;
        sweep.tc = 10.0;
        sweep.longestDuration = 1440.0;
        DetentionPeriod period;
        period.years = 10;
        period.release = 2.0;
        period.storageNeeded = true;
        period.criticalDuration = 30.0;
        period.inflowPeak = 5.0;
        period.storage = 60.0 * 30.0 * 3.0;
        period.curve = {{10.0, 100.0}, {30.0, period.storage}};
        DetentionCharts charts(nullptr);
        charts.ShowPeriod(period, sweep);
        auto* area =
            charts.HydrographChart()->findChild<QAreaSeries*>(QStringLiteral("StorageArea"));
        QVERIFY(area != nullptr);
        const QList<QPointF> lower = area->lowerSeries()->points();
        const QList<QPointF> upper = area->upperSeries()->points();
        QCOMPARE(lower.size(), upper.size());
        for (qsizetype i = 0; i < lower.size(); ++i) {
            QCOMPARE(lower[i].y(), std::min(upper[i].y(), period.release));
        }
    }

    void okStoresWhatWasTypedAndCancelNothing() {
        QByteArray before = Bytes(project_);
        Type(Dialog(), QStringLiteral("TxtRelease"), QStringLiteral("7"));
        Click(Dialog(), QStringLiteral("CmdCancel"));
        Settle();
        QCOMPARE(Bytes(project_), before);

        Trigger(Canvas(), QStringLiteral("MnuDetention"));
        QCOMPARE(Text(Dialog(), QStringLiteral("TxtRelease")), QString());
        QCOMPARE(Text(Dialog(), QStringLiteral("TxtFactor")), QStringLiteral("1"));
        // A box of another source keeps what it was given.
        Pick(QStringLiteral("OptPerPeriod"));
        Type(Dialog(), QStringLiteral("TxtRelease25"), QStringLiteral("3.5"));
        Pick(QStringLiteral("OptPreDevelopment"));
        Pick(QStringLiteral("OptConstant"));
        prompts_->fileNames = {QString::fromStdString(pre_)};
        Click(Dialog(), QStringLiteral("CmdBrowse"));
        QCOMPARE(prompts_->fileFilters.last(), QStringLiteral("Rational File (*.rmt)"));
        Type(Dialog(), QStringLiteral("TxtFactor"), QStringLiteral("0.85"));
        Click(Dialog(), QStringLiteral("CmdOK"));
        Settle();
        QVERIFY(Dialog() == nullptr);
        DetentionInputs expected;
        expected.method = DetentionMethod::ConstantRelease;
        expected.source = ReleaseSource::PreDevelopment;
        expected.releases[4] = 3.5;
        expected.preDevelopmentProject = "pre.rmt";
        expected.releaseFactor = 0.85;
        QCOMPARE(ReadDetentionInputs(project_), std::optional(expected));

        Trigger(Canvas(), QStringLiteral("MnuDetention"));
        QCOMPARE(Text(Dialog(), QStringLiteral("TxtPreDevelopment")), QStringLiteral("pre.rmt"));
        QCOMPARE(Text(Dialog(), QStringLiteral("TxtRelease25")), QStringLiteral("3.5"));
        QVERIFY(Named<QRadioButton>(Dialog(), QStringLiteral("OptConstant"))->isChecked());
        QVERIFY(!Named<QLineEdit>(Dialog(), QStringLiteral("TxtRelease25"))->isEnabled());
        before = Bytes(project_);
        prompts_->answers = {QMessageBox::No};
        Click(Dialog(), QStringLiteral("CmdRemove"));
        QCOMPARE(Bytes(project_), before);
        QVERIFY(prompts_->LastText().startsWith(QStringLiteral("Remove the detention inputs")));
        Click(Dialog(), QStringLiteral("CmdRemove"));
        QVERIFY(!ReadDetentionInputs(project_));
    }

    // A box left empty or a project that cannot give a release: Calculate
    // and OK both name it, the grid stays empty and nothing is stored.
    void refusedInputsAreNamed_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty release")
            << "OptSingle" << QStringList{} << "Enter the allowable release in cfs.";
        QTest::newRow("a period left out")
            << "OptPerPeriod" << QStringList{"TxtRelease1=1",  "TxtRelease2=1",  "TxtRelease5=1",
                                             "TxtRelease10=1", "TxtRelease50=1", "TxtRelease100=1"}
            << "Enter the 25-year allowable release in cfs.";
        QTest::newRow("no project chosen")
            << "OptPreDevelopment" << QStringList{}
            << "Choose the pre-development project the release comes from.";
        QTest::newRow("factor 0") << "OptPreDevelopment"
                                  << QStringList{"TxtPreDevelopment=pre.rmt", "TxtFactor=0"}
                                  << "The release factor must be a number above 0.";
        QTest::newRow("project missing")
            << "OptPreDevelopment" << QStringList{"TxtPreDevelopment=gone.rmt"}
            << "The pre-development project \"gone.rmt\" does not exist";
    }

    void refusedInputsAreNamed() {
        QFETCH(QString, source);
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        Pick(source);
        TypeAll(typed);
        const QByteArray before = Bytes(project_);
        for (const QString& button : {QStringLiteral("CmdCalculate"), QStringLiteral("CmdOK")}) {
            prompts_->messages.clear();
            Click(Dialog(), button);
            QCOMPARE(prompts_->messages.size(), 1);
            QVERIFY2(prompts_->LastText().startsWith(message), qPrintable(prompts_->LastText()));
        }
        Settle();
        QVERIFY(Dialog() != nullptr);
        QVERIFY(Named<QTableWidget>(Dialog(), QStringLiteral("GrdResults"))->item(0, 0) == nullptr);
        QCOMPARE(Bytes(project_), before);
    }

    // The chart saves as a print-sized PNG or as SVG; the project and a file
    // that cannot be written are refused in words, never called saved.
    void saveWritesTheChartOrSaysWhyNot_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("png") << "pond.png" << QString();
        QTest::newRow("svg") << "pond.svg" << QString();
        QTest::newRow("over the project")
            << "project.rmt"
            << "The chart is not saved as \"%1\": it is the project being solved.";
        QTest::newRow("into a missing folder")
            << "gone/pond.png"
            << "The chart could not be saved as %1.\nCannot write";
    }

    void saveWritesTheChartOrSaysWhyNot() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        Type(Dialog(), QStringLiteral("TxtRelease"), QStringLiteral("2"));
        Click(Dialog(), QStringLiteral("CmdCalculate"));
        const QString path = QString::fromStdString(folder_->File(name.toStdString()));
        const QByteArray project = Bytes(project_);
        prompts_->fileNames = {path};
        Click(Dialog(), QStringLiteral("CmdSave"));
        if (!message.isEmpty()) {
            QVERIFY2(prompts_->LastText().startsWith(message.arg(path)),
                     qPrintable(prompts_->LastText()));
            QCOMPARE(Bytes(project_), project);
            return;
        }
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(prompts_->LastText()));
        if (name.endsWith(QStringLiteral(".svg"))) {
            QVERIFY(Bytes(path.toStdString()).contains("<svg"));
            return;
        }
        const QImage saved(path);
        QVERIFY(!saved.isNull() && saved.width() >= 1600);
        // Not a blank page: the charts' lines are there.
        int dark = 0;
        const QImage gray = saved.convertToFormat(QImage::Format_Grayscale8);
        for (int y = 0; y < gray.height(); y += 4) {
            const uchar* line = gray.constScanLine(y);
            for (int x = 0; x < gray.width(); x += 4) {
                dark += line[x] < 128 ? 1 : 0;
            }
        }
        QVERIFY(dark > 100);
    }
};

QTEST_MAIN(DetentionDialogTest)
#include "DetentionDialogTest.moc"
