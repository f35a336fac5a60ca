#include <SQLiteCpp/SQLiteCpp.h>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"
#include "editors/FrmCCo.h"
#include "editors/OverlandFlowDialog.h"
#include "intensity/IntensityDatabase.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

namespace {

using Columns = std::vector<std::string>;

// The inputs of the worked example: dense grass, 150 ft at 0.02 ft/ft.
struct BasinInputs {
    QString name = QStringLiteral("Mill Creek North");
    QString area = QStringLiteral("2.5");
    QString landUse = QStringLiteral("Residential (Suburban)");
    QString c = QStringLiteral("0.33");
    QString slope = QStringLiteral("0.02");
    QString length = QStringLiteral("150");
    int surface = 5;  // "Grass, Dense grass", n 0.24
};

const QString kWorkedTc = QStringLiteral("20.3854");

QComboBox* SurfaceCombo(QWidget* form) {
    return Named<QComboBox>(form, QStringLiteral("CmbN"));
}

void TypeSurface(QWidget* form, const QString& text) {
    QLineEdit* edit = SurfaceCombo(form)->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void Fill(QWidget* form, const BasinInputs& inputs) {
    Type(form, QStringLiteral("TxtBasinName"), inputs.name);
    Type(form, QStringLiteral("TxtArea"), inputs.area);
    Type(form, QStringLiteral("TxtSoilType"), inputs.landUse);
    Type(form, QStringLiteral("TxtC"), inputs.c);
    Type(form, QStringLiteral("TxtSlope"), inputs.slope);
    Type(form, QStringLiteral("TxtLength"), inputs.length);
    SurfaceCombo(form)->setCurrentIndex(inputs.surface);
}

void Hover(QWidget* widget) {
    const QPointF at(2, 2);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QColor TextColour(QWidget* form, const QString& label) {
    return Named<QLabel>(form, label)->palette().color(QPalette::WindowText);
}

}  // namespace

class OverlandEditorTest : public DesktopRunTest {
    Q_OBJECT

    std::vector<Columns> Rows() const {
        SQLite::Database db(project_);
        SQLite::Statement query(db, "SELECT * FROM TblBasinInfo ORDER BY rowid");
        std::vector<Columns> rows;
        while (query.executeStep()) {
            Columns row;
            for (int i = 0; i < query.getColumnCount(); ++i) {
                row.push_back(query.getColumn(i).getString());
            }
            rows.push_back(row);
        }
        return rows;
    }

    BasinRow Stored(const std::string& tag) const {
        const std::optional<BasinRow> row = LoadElementRow<BasinRow>(project_, tag);
        return row.value_or(BasinRow{});
    }

    void InsertBasin(const std::string& tag, const std::string& name) {
        BasinRow row;
        row.BasinTag = tag;
        row.BasinName = name;
        row.BasinX = "1200";
        row.BasinY = "900";
        row.Area = "4";
        row.SoilType = "Parks, cemeteries";
        row.CVal = "0.18";
        row.Slope = "0.01";
        row.TravelLength = "100";
        row.Deleted = "False";
        row.BasinNType = "Grass, Dense grass";
        row.BasinN = "0.30";  // the engineer's own n for the listed surface
        row.Tc = "33.3";
        InsertElementRow(project_, row);
    }

    FrmBasUpdate* OpenUpdate(const QString& tag) {
        CurrentSession().SelectedIcon = tag;
        return Forms::Show<FrmBasUpdate>();
    }

  private slots:
    void init() {
        StartRun(folder_, prompts_);
        // A table whose 24-hour 2-year intensity is 0.125 in/h: P2 = 3.0 in.
        IntensityGrid grid;
        for (auto& row : grid) {
            row.fill("1.0");
        }
        grid[9][1] = "0.125";
        SaveIntensityTable(folder_->AppFolder(), "Piedmont", grid);
        project_ = folder_->NewProjectFile();
        SaveProjectSetup(project_, ProjectInfoRow{}, "Outfall", "Piedmont");
        CurrentSession().ProjectPath = project_;
        main_ = std::make_unique<MDIFrmMain>();
        main_->show();
        main_->ShowCanvas();
        QVERIFY(Canvas() != nullptr);
        QCOMPARE(CurrentSession().IntensityTableName, std::string("Piedmont"));
    }

    void cleanup() { EndRun(main_, prompts_, folder_); }

    void addCalculatesPlacesAndInsertsTheRow() {
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        QCOMPARE(form->windowTitle(), QStringLiteral("Sub Basin Information"));
        QCOMPARE(Named<QLabel>(form, QStringLiteral("Label8"))->text(), QStringLiteral("Tc (min)"));
        QCOMPARE(Named<QPushButton>(form, QStringLiteral("CmdOK"))->text(), QStringLiteral("OK"));
        QCOMPARE(Text(form, QStringLiteral("TxtN")), QStringLiteral("0.011"));
        QCOMPARE(Text(form, QStringLiteral("TxtTc")), QString());

        Fill(form, BasinInputs{});
        QCOMPARE(Text(form, QStringLiteral("TxtN")), QStringLiteral("0.24"));
        Click(form, QStringLiteral("CmdCalculate"));
        QCOMPARE(Text(form, QStringLiteral("TxtTc")), kWorkedTc);
        Click(form, QStringLiteral("CmdOK"));
        Settle();

        QVERIFY(prompts_->messages.isEmpty());
        QVERIFY(Forms::Find<FrmBasInfo>() == nullptr);
        const std::vector<Columns> expected = {{"Basin1", "Mill Creek North", "650", "840", "2.5",
                                                "Residential (Suburban)", "0.33", "0.02", "150",
                                                "False", "Grass, Dense grass", "0.24", "20.3854"}};
        QCOMPARE(Rows(), expected);
        QCOMPARE(Canvas()->VisibleCount(ElementKind::Overland), 1);
        QCOMPARE(Canvas()->Icons(ElementKind::Overland).last()->Tag(), QStringLiteral("Basin1"));
    }

    void okKeepsATypedTcAndCalculateReplacesIt_data() {
        QTest::addColumn<QString>("typedTc");
        QTest::addColumn<bool>("calculate");
        QTest::addColumn<QString>("stored");
        QTest::newRow("typed Tc saved as typed") << "12.5" << false << "12.5";
        QTest::newRow("Calculate replaces a typed Tc") << "12.5" << true << kWorkedTc;
        QTest::newRow("empty Tc calculated on OK") << "" << false << kWorkedTc;
    }

    void okKeepsATypedTcAndCalculateReplacesIt() {
        QFETCH(QString, typedTc);
        QFETCH(bool, calculate);
        QFETCH(QString, stored);
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        Fill(form, BasinInputs{});
        Type(form, QStringLiteral("TxtTc"), typedTc);
        if (calculate) {
            Click(form, QStringLiteral("CmdCalculate"));
        }
        Click(form, QStringLiteral("CmdOK"));
        Settle();
        QCOMPARE(ToQ(Stored("Basin1").Tc), stored);
    }

    // Sheet flow past 300 ft: OK's own calculation asks first; a typed Tc is
    // no calculation of OK's and saves without a question, as before.
    void okAsksBeforeSavingPastACheck_data() {
        QTest::addColumn<QString>("typedTc");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("asked");
        QTest::addColumn<std::size_t>("stored");
        QTest::newRow("Save Anyway") << "" << int(QMessageBox::Yes) << 1 << std::size_t{1};
        QTest::newRow("Go Back") << "" << int(QMessageBox::No) << 1 << std::size_t{0};
        QTest::newRow("typed Tc") << "12.5" << int(QMessageBox::No) << 0 << std::size_t{1};
    }

    void okAsksBeforeSavingPastACheck() {
        QFETCH(QString, typedTc);
        QFETCH(int, answer);
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        Fill(form, BasinInputs{.length = QStringLiteral("400")});
        Type(form, QStringLiteral("TxtTc"), typedTc);
        prompts_->answers = {static_cast<QMessageBox::StandardButton>(answer)};
        Click(form, QStringLiteral("CmdOK"));
        QTEST(static_cast<int>(prompts_->messages.size()), "asked");
        QVERIFY(prompts_->messages.isEmpty() ||
                prompts_->LastText().startsWith(QStringLiteral("Check SHEET-LENGTH: ")));
        QTEST(Rows().size(), "stored");
    }

    void updateLoadsTheRowAndRewritesIt() {
        InsertBasin("Basin1", "Upper Field");
        FrmBasUpdate* form = OpenUpdate(QStringLiteral("Basin1"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Sub Basin Information Update"));
        QCOMPARE(Named<QLabel>(form, QStringLiteral("Label8"))->text(), QStringLiteral("Tc"));
        QCOMPARE(Named<QPushButton>(form, QStringLiteral("CmdOK"))->text(),
                 QStringLiteral("Update"));
        QCOMPARE(Text(form, QStringLiteral("TxtBasinName")), QStringLiteral("Upper Field"));
        QCOMPARE(SurfaceCombo(form)->currentText(), QStringLiteral("Grass, Dense grass"));
        // The stored n wins over the table's n of the stored surface, also when
        // the combo's text is confirmed.
        QCOMPARE(Text(form, QStringLiteral("TxtN")), QStringLiteral("0.30"));
        QTest::keyClick(SurfaceCombo(form)->lineEdit(), Qt::Key_Return);
        QCOMPARE(Text(form, QStringLiteral("TxtN")), QStringLiteral("0.30"));

        // The area does not feed Tc: the stored one stays.
        Type(form, QStringLiteral("TxtArea"), QStringLiteral("6.75"));
        Click(form, QStringLiteral("CmdOK"));
        Settle();

        QVERIFY(prompts_->messages.isEmpty());
        QVERIFY(Forms::Find<FrmBasUpdate>() == nullptr);
        const std::vector<Columns> expected = {{"Basin1", "Upper Field", "1200", "900", "6.75",
                                                "Parks, cemeteries", "0.18", "0.01", "100", "False",
                                                "Grass, Dense grass", "0.30", "33.3"}};
        QCOMPARE(Rows(), expected);
    }

    // Update calculates first when an input that feeds Tc changed since the
    // dialog loaded, unless a Tc was typed after that.
    void updateCalculatesWhatChangedInputsGive_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("typedTc");
        QTest::addColumn<QString>("stored");
        QTest::newRow("length") << "TxtLength"
                                << "300" << QString() << "55.9864";
        QTest::newRow("n") << "TxtN"
                           << "0.24" << QString() << "19.4472";
        QTest::newRow("length, then a typed Tc") << "TxtLength"
                                                 << "300"
                                                 << "40"
                                                 << "40";
    }

    void updateCalculatesWhatChangedInputsGive() {
        QFETCH(QString, box);
        QFETCH(QString, value);
        QFETCH(QString, typedTc);
        QFETCH(QString, stored);
        InsertBasin("Basin1", "Upper Field");
        FrmBasUpdate* form = OpenUpdate(QStringLiteral("Basin1"));
        Type(form, box, value);
        if (!typedTc.isEmpty()) {
            Type(form, QStringLiteral("TxtTc"), typedTc);
        }
        Click(form, QStringLiteral("CmdOK"));
        Settle();
        QVERIFY(prompts_->messages.isEmpty());
        QCOMPARE(ToQ(Stored("Basin1").Tc), stored);
    }

    void updateWritesTheRowItOpenedOnAfterAnotherIconIsPressed() {
        InsertBasin("Basin1", "Upper Field");
        InsertBasin("Basin2", "Lower Field");
        FrmBasUpdate* form = OpenUpdate(QStringLiteral("Basin1"));
        CurrentSession().SelectedIcon = QStringLiteral("Basin2");
        Type(form, QStringLiteral("TxtBasinName"), QStringLiteral("Upper Field West"));
        Click(form, QStringLiteral("CmdOK"));
        Settle();
        QCOMPARE(Stored("Basin1").BasinName, std::string("Upper Field West"));
        QCOMPARE(Stored("Basin2").BasinName, std::string("Lower Field"));
    }

    void updateOnAMissingRowSaysSoAndCloses() {
        InsertBasin("Basin1", "Upper Field");
        OpenUpdate(QStringLiteral("Basin7"));
        Settle();
        QCOMPARE(prompts_->messages.size(), 1);
        QVERIFY(prompts_->LastText().contains(QStringLiteral("Basin7")));
        QVERIFY(Forms::Find<FrmBasUpdate>() == nullptr);
        QCOMPARE(Rows().size(), std::size_t{1});
    }

    void everyRequiredBoxBlocksCalculateAndOk_data() {
        QTest::addColumn<QString>("box");
        for (const char* box :
             {"TxtBasinName", "TxtArea", "TxtSoilType", "TxtC", "TxtSlope", "TxtLength", "TxtN"}) {
            QTest::newRow(box) << QString::fromLatin1(box);
        }
    }

    void everyRequiredBoxBlocksCalculateAndOk() {
        QFETCH(QString, box);
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        Fill(form, BasinInputs{});
        Named<QLineEdit>(form, box)->clear();
        Click(form, QStringLiteral("CmdCalculate"));
        QCOMPARE(Text(form, QStringLiteral("TxtTc")), QString());
        Click(form, QStringLiteral("CmdOK"));
        Settle();

        QCOMPARE(prompts_->messages.size(), 2);
        for (const ScriptedPrompts::Shown& shown : prompts_->messages) {
            QCOMPARE(shown.text, QStringLiteral("Please fill all fields"));
            QCOMPARE(shown.title, QStringLiteral("Error"));
            QCOMPARE(shown.icon, QMessageBox::NoIcon);
        }
        QVERIFY(Forms::Find<FrmBasInfo>() == form);
        QVERIFY(Rows().empty());
        QCOMPARE(Canvas()->ArrayCount(ElementKind::Overland), 1);
    }

    void anEmptySurfaceDescriptionIsAllowed() {
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        Fill(form, BasinInputs{});
        SurfaceCombo(form)->lineEdit()->clear();
        Click(form, QStringLiteral("CmdOK"));
        Settle();
        QVERIFY(prompts_->messages.isEmpty());
        QCOMPARE(Stored("Basin1").BasinNType, std::string());
        QCOMPARE(Stored("Basin1").Tc, FromQ(kWorkedTc));
    }

    void surfaceEntriesSetNAndATypedDescriptionKeepsIt() {
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        Fill(form, BasinInputs{});
        SurfaceCombo(form)->setCurrentIndex(8);
        QCOMPARE(Text(form, QStringLiteral("TxtN")), QStringLiteral("0.40"));
        SurfaceCombo(form)->setCurrentIndex(9);
        QCOMPARE(SurfaceCombo(form)->currentText(), QStringLiteral("Woods, Dense underbrush"));
        QCOMPARE(Text(form, QStringLiteral("TxtN")), QStringLiteral("0.80"));

        // A description of the engineer's own leaves n to be filled.
        TypeSurface(form, QStringLiteral("lawn, kept short"));
        QTest::keyClick(SurfaceCombo(form)->lineEdit(), Qt::Key_Return);
        QCOMPARE(Text(form, QStringLiteral("TxtN")), QString());
        Type(form, QStringLiteral("TxtN"), QStringLiteral("0.80"));
        Click(form, QStringLiteral("CmdOK"));
        Settle();
        QCOMPARE(Stored("Basin1").BasinNType, std::string("lawn, kept short"));
        QCOMPARE(Stored("Basin1").BasinN, std::string("0.80"));
    }

    void namesAndTagsFollowTheIconArray() {
        for (int i = 1; i <= 5; ++i) {
            FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
            QCOMPARE(Text(form, QStringLiteral("TxtBasinName")), QStringLiteral("Basin %1").arg(i));
            BasinInputs inputs;
            // Names typed by the user do not shift the default of the next one.
            inputs.name =
                i == 2 ? QStringLiteral("Parking Lot") : Text(form, QStringLiteral("TxtBasinName"));
            Fill(form, inputs);
            Click(form, QStringLiteral("CmdOK"));
            Settle();
            QCOMPARE(Rows().size(), static_cast<std::size_t>(i));
            QCOMPARE(Rows().back().front(), "Basin" + std::to_string(i));
        }
        QCOMPARE(Stored("Basin2").BasinName, std::string("Parking Lot"));
        QCOMPARE(Stored("Basin5").BasinName, std::string("Basin 5"));
    }

    void numericBoxesTakeDigitsAndPointsOnly_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        for (const char* box : {"TxtArea", "TxtC", "TxtLength", "TxtN", "TxtSlope", "TxtTc"}) {
            const QString name = QString::fromLatin1(box);
            QTest::newRow(QByteArray(box).append(" letters").constData()) << name << "1a2B"
                                                                          << "12";
            QTest::newRow(QByteArray(box).append(" minus").constData()) << name << "-0.5"
                                                                        << "0.5";
            QTest::newRow(QByteArray(box).append(" comma and blank").constData()) << name << "1,5 0"
                                                                                  << "150";
            QTest::newRow(QByteArray(box).append(" two points").constData()) << name << "1.5.2"
                                                                             << "1.5.2";
        }
        QTest::newRow("name takes any text") << "TxtBasinName"
                                             << "O'Hare -1,5"
                                             << "O'Hare -1,5";
        QTest::newRow("land use takes any text") << "TxtSoilType"
                                                 << "Lawn, 2%"
                                                 << "Lawn, 2%";
    }

    void numericBoxesTakeDigitsAndPointsOnly() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        Type(form, box, typed);
        QCOMPARE(Text(form, box), shown);
    }

    void pastedLettersAreRefused() {
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        QLineEdit* area = Named<QLineEdit>(form, QStringLiteral("TxtArea"));
        Type(form, QStringLiteral("TxtArea"), QStringLiteral("2"));
        QApplication::clipboard()->setText(QStringLiteral("5 acres"));
        area->paste();
        QCOMPARE(area->text(), QStringLiteral("2"));
        QApplication::clipboard()->setText(QStringLiteral(".5"));
        area->paste();
        QCOMPARE(area->text(), QStringLiteral("2.5"));
    }

    void aSecondPointEndsTheNumberRead() {
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        BasinInputs inputs;
        inputs.slope = QStringLiteral("0.02.7");
        Fill(form, inputs);
        Click(form, QStringLiteral("CmdCalculate"));
        QCOMPARE(Text(form, QStringLiteral("TxtTc")), kWorkedTc);
        Click(form, QStringLiteral("CmdOK"));
        Settle();
        QCOMPARE(Stored("Basin1").Slope, std::string("0.02.7"));
    }

    void quotesAreStoredIntact() {
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        BasinInputs inputs;
        inputs.name = QStringLiteral("O'Hare's \"north\" lot");
        inputs.landUse = QStringLiteral("Owner's lawn; DROP TABLE TblBasinInfo; --'");
        Fill(form, inputs);
        Click(form, QStringLiteral("CmdOK"));
        Settle();
        QCOMPARE(Stored("Basin1").BasinName, FromQ(inputs.name));
        QCOMPARE(Stored("Basin1").SoilType, FromQ(inputs.landUse));

        FrmBasUpdate* update = OpenUpdate(QStringLiteral("Basin1"));
        Type(update, QStringLiteral("TxtBasinName"), QStringLiteral("Smith's ' corner"));
        Click(update, QStringLiteral("CmdOK"));
        Settle();
        QCOMPARE(Stored("Basin1").BasinName, std::string("Smith's ' corner"));
    }

    void refusedInputsLeaveTcAndTheFileAlone_data() {
        QTest::addColumn<QString>("slope");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("named");
        QTest::newRow("zero slope") << "0"
                                    << "150"
                                    << "Piedmont"
                                    << "slope";
        QTest::newRow("empty slope value") << "."
                                           << "150"
                                           << "Piedmont"
                                           << "slope";
        QTest::newRow("no table chosen") << "0.02"
                                         << "150"
                                         << ""
                                         << "intensity table";
        QTest::newRow("table not in the database") << "0.02"
                                                   << "150"
                                                   << "Nowhere"
                                                   << "Nowhere";
    }

    void refusedInputsLeaveTcAndTheFileAlone() {
        QFETCH(QString, slope);
        QFETCH(QString, length);
        QFETCH(QString, table);
        QFETCH(QString, named);
        CurrentSession().IntensityTableName = FromQ(table);
        InsertBasin("Basin1", "Upper Field");

        FrmBasInfo* add = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        BasinInputs inputs;
        inputs.slope = slope;
        inputs.length = length;
        Fill(add, inputs);
        Type(add, QStringLiteral("TxtTc"), QStringLiteral("7.25"));
        Click(add, QStringLiteral("CmdCalculate"));
        QCOMPARE(Text(add, QStringLiteral("TxtTc")), QStringLiteral("7.25"));
        Named<QLineEdit>(add, QStringLiteral("TxtTc"))->clear();
        Click(add, QStringLiteral("CmdOK"));
        Settle();
        QCOMPARE(Text(add, QStringLiteral("TxtTc")), QString());
        QVERIFY(Forms::Find<FrmBasInfo>() == add);
        QCOMPARE(Canvas()->ArrayCount(ElementKind::Overland), 1);

        FrmBasUpdate* update = OpenUpdate(QStringLiteral("Basin1"));
        Type(update, QStringLiteral("TxtSlope"), slope);
        Named<QLineEdit>(update, QStringLiteral("TxtTc"))->clear();
        Click(update, QStringLiteral("CmdOK"));
        Settle();
        QVERIFY(Forms::Find<FrmBasUpdate>() == update);

        QCOMPARE(prompts_->messages.size(), 3);
        for (const ScriptedPrompts::Shown& shown : prompts_->messages) {
            QVERIFY2(shown.text.contains(named, Qt::CaseInsensitive), qPrintable(shown.text));
        }
        QCOMPARE(Rows().size(), std::size_t{1});
        QCOMPARE(Stored("Basin1").Tc, std::string("33.3"));
        QCOMPARE(Stored("Basin1").Slope, std::string("0.01"));
    }

    void aRefusedInsertWithdrawsTheIcon() {
        SQLite::Database(project_, SQLite::OPEN_READWRITE)
            .exec(
                "CREATE TRIGGER refuse BEFORE INSERT ON TblBasinInfo "
                "BEGIN SELECT RAISE(ABORT, 'the disk refused the row'); END");
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        Fill(form, BasinInputs{});
        Click(form, QStringLiteral("CmdOK"));
        Settle();
        QCOMPARE(prompts_->messages.size(), 1);
        QVERIFY(prompts_->LastText().contains(QStringLiteral("the disk refused the row")));
        QVERIFY(Forms::Find<FrmBasInfo>() == form);
        QVERIFY(Rows().empty());
        QCOMPARE(Canvas()->VisibleCount(ElementKind::Overland), 0);
        QCOMPARE(Canvas()->Lines().size(), qsizetype{1});

        SQLite::Database(project_, SQLite::OPEN_READWRITE).exec("DROP TRIGGER refuse");
        Click(form, QStringLiteral("CmdOK"));
        Settle();
        QCOMPARE(Rows().size(), std::size_t{1});
        QCOMPARE(Canvas()->VisibleCount(ElementKind::Overland), 1);
        QCOMPARE(Canvas()->Lines().size(), qsizetype{2});
    }

    void calculatorOpensOnSuburbanAndFollowsTheLandUse() {
        FrmBasInfo* form = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        Click(form, QStringLiteral("CmdSoilType"));
        FrmCCo* calculator = Forms::Find<FrmCCo>();
        QVERIFY(calculator != nullptr);
        QCOMPARE(calculator->windowTitle(), QStringLiteral("Run-off Coefficients"));
        auto* combo = Named<QComboBox>(calculator, QStringLiteral("Combo1"));
        QVERIFY(!combo->isEditable());
        QCOMPARE(combo->count(), 16);
        QCOMPARE(combo->currentText(), QStringLiteral("Residential (Suburban)"));
        QCOMPARE(Named<QLabel>(calculator, QStringLiteral("Label2"))->text(),
                 QStringLiteral("0.25"));
        QCOMPARE(Named<QLabel>(calculator, QStringLiteral("Label3"))->text(),
                 QStringLiteral("0.40"));
        QCOMPARE(Text(calculator, QStringLiteral("TxtCVal")), QStringLiteral("0.33"));

        combo->setCurrentIndex(0);
        QCOMPARE(Named<QLabel>(calculator, QStringLiteral("Label2"))->text(),
                 QStringLiteral("0.70"));
        QCOMPARE(Named<QLabel>(calculator, QStringLiteral("Label3"))->text(),
                 QStringLiteral("0.95"));
        QCOMPARE(Text(calculator, QStringLiteral("TxtCVal")), QStringLiteral("0.83"));

        combo->setCurrentIndex(combo->findText(QStringLiteral("Parks, cemeteries")));
        QTest::mouseClick(Named<QLabel>(calculator, QStringLiteral("Label2")), Qt::LeftButton);
        QCOMPARE(Text(calculator, QStringLiteral("TxtCVal")), QStringLiteral("0.10"));
        QTest::mouseClick(Named<QLabel>(calculator, QStringLiteral("Label3")), Qt::LeftButton);
        QCOMPARE(Text(calculator, QStringLiteral("TxtCVal")), QStringLiteral("0.25"));
        Type(calculator, QStringLiteral("TxtCVal"), QStringLiteral("-0.4a5"));
        QCOMPARE(Text(calculator, QStringLiteral("TxtCVal")), QStringLiteral("0.45"));
    }

    void boundsTurnBlueUnderThePointer() {
        FrmCCo* calculator = Forms::Show<FrmCCo>();
        const QColor plain = QApplication::palette().color(QPalette::WindowText);
        const QColor blue(0, 0, 255);
        Hover(Named<QLabel>(calculator, QStringLiteral("Label2")));
        QCOMPARE(TextColour(calculator, QStringLiteral("Label2")), blue);
        Hover(Named<QGroupBox>(calculator, QStringLiteral("Frame2")));
        QCOMPARE(TextColour(calculator, QStringLiteral("Label2")), plain);

        Hover(Named<QLabel>(calculator, QStringLiteral("Label2")));
        Hover(Named<QLabel>(calculator, QStringLiteral("Label3")));
        QCOMPARE(TextColour(calculator, QStringLiteral("Label3")), blue);
        Hover(Named<QGroupBox>(calculator, QStringLiteral("Frame3")));
        QCOMPARE(TextColour(calculator, QStringLiteral("Label3")), plain);

        Hover(Named<QLabel>(calculator, QStringLiteral("Label3")));
        Hover(calculator);
        QCOMPARE(TextColour(calculator, QStringLiteral("Label2")), plain);
        QCOMPARE(TextColour(calculator, QStringLiteral("Label3")), plain);
    }

    void calculatorServesTheAddDialogFirst_data() {
        QTest::addColumn<bool>("addOpen");
        QTest::addColumn<bool>("updateOpen");
        QTest::newRow("both open: the add dialog") << true << true;
        QTest::newRow("add dialog only") << true << false;
        QTest::newRow("update dialog only") << false << true;
        QTest::newRow("neither open") << false << false;
    }

    void calculatorServesTheAddDialogFirst() {
        QFETCH(bool, addOpen);
        QFETCH(bool, updateOpen);
        InsertBasin("Basin1", "Upper Field");
        FrmBasUpdate* update = updateOpen ? OpenUpdate(QStringLiteral("Basin1")) : nullptr;
        FrmBasInfo* add = addOpen ? Forms::Show<FrmBasInfo>(FormScope::Project, Canvas()) : nullptr;
        FrmCCo* calculator = Forms::Show<FrmCCo>();
        auto* combo = Named<QComboBox>(calculator, QStringLiteral("Combo1"));
        combo->setCurrentIndex(combo->findText(QStringLiteral("Streets: Concrete")));
        Type(calculator, QStringLiteral("TxtCVal"), QStringLiteral("0.91"));
        Click(calculator, QStringLiteral("Command1"));
        Settle();
        QVERIFY(Forms::Find<FrmCCo>() == nullptr);

        if (add != nullptr) {
            QCOMPARE(Text(add, QStringLiteral("TxtSoilType")), QStringLiteral("Streets: Concrete"));
            QCOMPARE(Text(add, QStringLiteral("TxtC")), QStringLiteral("0.91"));
        }
        if (update != nullptr) {
            const bool served = add == nullptr;
            QCOMPARE(
                Text(update, QStringLiteral("TxtSoilType")),
                served ? QStringLiteral("Streets: Concrete") : QStringLiteral("Parks, cemeteries"));
            QCOMPARE(Text(update, QStringLiteral("TxtC")),
                     served ? QStringLiteral("0.91") : QStringLiteral("0.18"));
        }
        // Handing over writes boxes, never the file.
        QCOMPARE(Stored("Basin1").SoilType, std::string("Parks, cemeteries"));
    }

    void closingTheCalculatorHandsNothingOver() {
        FrmBasInfo* add = Forms::Show<FrmBasInfo>(FormScope::Project, Canvas());
        Type(add, QStringLiteral("TxtSoilType"), QStringLiteral("Orchard"));
        FrmCCo* calculator = Forms::Show<FrmCCo>();
        Named<QComboBox>(calculator, QStringLiteral("Combo1"))->setCurrentIndex(0);
        calculator->close();
        Settle();
        QVERIFY(Forms::Find<FrmCCo>() == nullptr);
        QCOMPARE(Text(add, QStringLiteral("TxtSoilType")), QStringLiteral("Orchard"));
        QCOMPARE(Text(add, QStringLiteral("TxtC")), QString());
    }
};

QTEST_MAIN(OverlandEditorTest)
#include "OverlandEditorTest.moc"
