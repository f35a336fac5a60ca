#include <SQLiteCpp/SQLiteCpp.h>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <memory>

#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "SampleRows.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MDIFrmMain.h"
#include "intensity/FrmIdfEquation.h"
#include "intensity/FrmIntensityTable.h"
#include "intensity/FrmNodeInfo.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "intensity/FrmSelectNodeBasin.h"
#include "intensity/IntensityDatabase.h"
#include "rainfall/IdfEquation.h"
#include "rainfall/NoaaAtlas14File.h"
#include "store/Connection.h"
#include "store/ElementRows.h"
#include "store/FrmInfo.h"
#include "store/ProjectSetup.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

namespace {

// One save in the table editor: what is done before Update, the answers to
// its questions (Y or N, in order) and what follows.
struct EditorSave {
    QString action;  // shown, add, import, equation
    QString name;    // typed as the table's name ("" keeps it)
    QString typed;   // cell typed over: p2 (24 hr, 2 yrs), other, ""
    bool project;    // a project is open
    QString answers;
    QString node;     // the project's table after
    QString current;  // the running table after
    QStringList tables;
    QString table;  // whose Source is read
    QString source;
    QStringList messages;
};

const QString kBentonville =
    QStringLiteral(TORRENTA_NOAA_FOLDER "/PF_Intensity_English_PDS_Bentonville_AR.csv");

}  // namespace

Q_DECLARE_METATYPE(EditorSave)

class IntensityDialogsTest : public DesktopRunTest {
    Q_OBJECT

    static QString CellText(int column, int row) {
        return QStringLiteral("%1.%2").arg(column + 1).arg(row);
    }

    static void FillGrid(FrmIntensityTable* editor) {
        for (int column = 0; column < 7; ++column) {
            for (int row = 0; row < 10; ++row) {
                QLineEdit* cell = editor->Cell(column, row);
                cell->setFocus();
                QTest::keyClicks(cell, CellText(column, row));
            }
        }
    }

    static void FillGrid(FrmIntensityTable* editor, const IntensityGrid& grid) {
        for (int column = 0; column < 7; ++column) {
            for (int row = 0; row < 10; ++row) {
                QLineEdit* cell = editor->Cell(column, row);
                cell->setFocus();
                cell->selectAll();
                QTest::keyClicks(cell, ToQ(grid[row][column]));
            }
        }
    }

    static QString Sentence(const QString& table, const QString& inches) {
        return QStringLiteral(
                   "Sheet-flow travel times of 2 overland areas were recalculated with the "
                   "2-year 24-hour rainfall of %1 (%2 in).")
            .arg(table, inches);
    }

    static QString ReplaceQuestion(const QString& table) {
        return QStringLiteral("A table named %1 exists. Replace it?").arg(table);
    }

    // A second project row, so "every row" is more than one.
    void AddProjectRow() {
        SQLite::Database(project_, SQLite::OPEN_READWRITE)
            .exec("INSERT INTO TblProjectInfo (ProjectName) VALUES ('older')");
    }

    static std::string IValueBasinNames(const std::string& project) {
        SQLite::Database db(project);
        SQLite::Statement query(db, "SELECT IValueBasinName FROM TblProjectInfo ORDER BY rowid");
        std::string names;
        while (query.executeStep()) {
            names += query.getColumn(0).getString() + ";";
        }
        return names;
    }

  private slots:
    void init() {
        StartRun(folder_, prompts_);
        project_ = folder_->NewProjectFile();
        ProjectInfoRow info;
        info.ProjectName = "Mill Run";
        SaveProjectSetup(project_, info, "Outfall", "Atlanta");
        CurrentSession().ProjectPath = project_;
        main_ = std::make_unique<MDIFrmMain>();
        main_->show();
    }

    void cleanup() { EndRun(main_, prompts_, folder_); }

    void editorFallsBackToAtlantaAndShowsItsSource() {
        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        QCOMPARE(Text(editor, QStringLiteral("TxtBasinName")), QStringLiteral("Atlanta"));
        QVERIFY(Named<QLineEdit>(editor, QStringLiteral("TxtBasinName"))->isReadOnly());
        const IntensityGrid stored = ReadIntensityGrid(folder_->AppFolder(), "Atlanta");
        QCOMPARE(editor->Cell(0, 0)->text(), ToQ(stored[0][0]));
        QCOMPARE(editor->Cell(6, 9)->text(), ToQ(stored[9][6]));
        QCOMPARE(editor->findChildren<QLineEdit*>(QStringLiteral("Text4")).size(), 10);
        QVERIFY(
            !Named<QPlainTextEdit>(editor, QStringLiteral("TxtSource"))->toPlainText().isEmpty());
        Click(editor, QStringLiteral("CmdCancel"));
        QCOMPARE(CurrentSession().IntensityTableName, std::string("Atlanta"));
        QVERIFY(prompts_->messages.isEmpty());
    }

    void addNewBasinCreatesTheTableAsTyped() {
        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        Click(editor, QStringLiteral("CmdAdd"));
        QLineEdit* name = Named<QLineEdit>(editor, QStringLiteral("TxtBasinName"));
        QVERIFY(!name->isReadOnly());
        QCOMPARE(name->text(), QString());
        QCOMPARE(editor->Cell(3, 4)->text(), QString());
        Type(editor, QStringLiteral("TxtBasinName"), QStringLiteral("Mill Run 'East'"));
        FillGrid(editor);
        Click(editor, QStringLiteral("CmdUpdate"));
        Settle();

        QCOMPARE(prompts_->LastText(), QStringLiteral("Use Mill Run 'East' for this project?"));
        QVERIFY(Forms::Find<FrmIntensityTable>() == nullptr);
        QCOMPARE(CurrentSession().IntensityTableName, std::string("Mill Run 'East'"));
        const auto names = ListIntensityTables(folder_->AppFolder());
        QCOMPARE(std::count(names.begin(), names.end(), "Mill Run 'East'"), 1);
        const auto rows = ReadIntensityRows(folder_->AppFolder(), "Mill Run 'East'");
        QCOMPARE(rows.size(), size_t(10));
        for (int row = 0; row < 10; ++row) {
            QCOMPARE(rows[row].duration, std::string(kDurationTexts[row]));
            for (int column = 0; column < 7; ++column) {
                QCOMPARE(ToQ(rows[row].values[column]), CellText(column, row));
            }
        }
    }

    void updateRewritesValuesAndKeepsDurations() {
        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        QLineEdit* cell = editor->Cell(1, 9);
        cell->selectAll();
        cell->setFocus();
        QTest::keyClicks(cell, QStringLiteral("0.177"));
        Click(editor, QStringLiteral("CmdUpdate"));
        const auto rows = ReadIntensityRows(folder_->AppFolder(), "Atlanta");
        QCOMPARE(rows.size(), size_t(10));
        QCOMPARE(rows[9].values[1], std::string("0.177"));
        QCOMPARE(rows[9].duration, std::string("24.0"));
        QCOMPARE(rows[0].duration, std::string("0.083333"));
        QCOMPARE(ListIntensityTables(folder_->AppFolder()).size(), size_t(1));
    }

    void updateRefusesEmptyFields_data() {
        QTest::addColumn<bool>("emptyName");
        QTest::newRow("empty cell") << false;
        QTest::newRow("empty name") << true;
    }

    void updateRefusesEmptyFields() {
        QFETCH(bool, emptyName);
        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        const std::string before = ReadIntensityGrid(folder_->AppFolder(), "Atlanta")[0][0];
        editor->Cell(0, 0)->setText(QStringLiteral("9.99"));
        if (emptyName) {
            Click(editor, QStringLiteral("CmdAdd"));
            FillGrid(editor);
        } else {
            editor->Cell(5, 7)->clear();
        }
        Click(editor, QStringLiteral("CmdUpdate"));
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->messages[0].text, QStringLiteral("Please fill all fields"));
        QCOMPARE(prompts_->messages[0].title, QStringLiteral("Error"));
        QVERIFY(Forms::Find<FrmIntensityTable>() == editor);
        QCOMPARE(ReadIntensityGrid(folder_->AppFolder(), "Atlanta")[0][0], before);
        QCOMPARE(ListIntensityTables(folder_->AppFolder()).size(), size_t(1));
    }

    // A cell no rainfall can give is refused, naming it, and nothing is
    // written; intensities out of order are stored and warned about after.
    void updateChecksTheCells_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("message");
        QTest::newRow("above 60 in/hr")
            << 6 << 0 << "61.2" << false
            << "The table Atlanta: the 5-min, 100-year value 61.2 in/hr is above 60 in/hr, more "
               "than any 5-minute rainfall recorded.";
        QTest::newRow("0 at the stored digits")
            << 0 << 9 << "0.000" << false
            << "The table Atlanta: the 24-hr, 1-year value 0.000 in/hr reads as 0 at the stored "
               "digits.";
        QTest::newRow("rising with duration, falling with return period")
            << 1 << 9 << "0.27" << true
            << "The 2-year intensity rises from 0.260 in/hr at 12 hr to 0.27 in/hr at 24 hr.\n"
               "The 24-hr intensity falls from 0.27 in/hr (2-year) to 0.193 in/hr (5-year).";
        QTest::newRow("60 in/hr itself") << 6 << 0 << "60" << true << "";
    }

    void updateChecksTheCells() {
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(bool, stored);
        QFETCH(QString, message);
        const IntensityGrid before = ReadIntensityGrid(folder_->AppFolder(), "Atlanta");
        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        editor->Cell(column, row)->setText(typed);
        Click(editor, QStringLiteral("CmdUpdate"));
        Settle();
        QCOMPARE(prompts_->messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(prompts_->LastText(), message);
        }
        IntensityGrid expected = before;
        if (stored) {
            expected[row][column] = FromQ(typed);
        }
        QVERIFY(ReadIntensityGrid(folder_->AppFolder(), "Atlanta") == expected);
        QCOMPARE(Forms::Find<FrmIntensityTable>() == editor, !stored);
    }

    void reservedNameIsRefusedWithAMessage() {
        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        Click(editor, QStringLiteral("CmdAdd"));
        Type(editor, QStringLiteral("TxtBasinName"), QStringLiteral("BasinName"));
        FillGrid(editor);
        Click(editor, QStringLiteral("CmdUpdate"));
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->LastText(),
                 QStringLiteral("\"BasinName\" is the name of the list of intensity tables; "
                                "choose another name."));
        QVERIFY(Forms::Find<FrmIntensityTable>() == editor);
        QCOMPARE(ListIntensityTables(folder_->AppFolder()).size(), size_t(1));
    }

    void cellsTakeOnlyNumbers_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters, minus and comma dropped") << "a-1,5x"
                                                          << ""
                                                          << "15";
        QTest::newRow("two points kept") << "1.5.2"
                                         << ""
                                         << "1.5.2";
        QTest::newRow("clean paste") << ""
                                     << "0.25"
                                     << "0.25";
        QTest::newRow("paste with letters refused") << "7"
                                                    << "12abc"
                                                    << "7";
        QTest::newRow("negative paste refused") << ""
                                                << "-3"
                                                << "";
    }

    void cellsTakeOnlyNumbers() {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        QLineEdit* cell = editor->Cell(2, 3);
        cell->clear();
        cell->setFocus();
        QTest::keyClicks(cell, typed);
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            cell->paste();
        }
        QCOMPARE(cell->text(), shown);
    }

    void changeTableWritesEveryProjectRowAndShowsTheEditor() {
        AddProjectRow();
        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        Click(editor, QStringLiteral("CmdAdd"));
        Type(editor, QStringLiteral("TxtBasinName"), QStringLiteral("Second"));
        FillGrid(editor);
        Click(editor, QStringLiteral("CmdUpdate"));
        Settle();
        CurrentSession().IntensityTableName = "Atlanta";

        // The list opens on the table in use, so OK alone would keep it.
        FrmSelectIvalBasin* select = Forms::Show<FrmSelectIvalBasin>();
        QListWidget* list = Named<QListWidget>(select, QStringLiteral("List1"));
        QVERIFY(list->currentItem() != nullptr);
        QCOMPARE(list->currentItem()->text(), QStringLiteral("Atlanta"));
        QVERIFY(Named<QPushButton>(select, QStringLiteral("CmdOK"))->isEnabled());
        Choose(select, QStringLiteral("Second"));
        Settle();
        QCOMPARE(CurrentSession().IntensityTableName, std::string("Second"));
        QCOMPARE(IValueBasinNames(project_), std::string("Second;Second;"));
        FrmIntensityTable* shown = Forms::Find<FrmIntensityTable>();
        QVERIFY(shown != nullptr);
        QCOMPARE(Text(shown, QStringLiteral("TxtBasinName")), QStringLiteral("Second"));
        QCOMPARE(shown->Cell(6, 9)->text(), CellText(6, 9));
        QVERIFY(Forms::Find<FrmSelectIvalBasin>() == nullptr);
    }

    // Change Table stores the choice in the node row, which opening the
    // project reads; the setup dialog's choice waits for its OK.
    void tableChoiceIsStoredOnTheNode_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Change Table") << "change"
                                      << "Second";
        QTest::newRow("setup dialog, not yet OK") << "setup"
                                                  << "Atlanta";
    }

    void tableChoiceIsStoredOnTheNode() {
        QFETCH(QString, how);
        QFETCH(QString, stored);
        SaveIntensityTable(folder_->AppFolder(), "Second",
                           ReadIntensityGrid(folder_->AppFolder(), "Atlanta"));
        if (how == QStringLiteral("setup")) {
            Click(Forms::Show<FrmInfo>(), QStringLiteral("CmdIList"));
        }
        Choose(Forms::Show<FrmSelectIvalBasin>(), QStringLiteral("Second"));
        Settle();
        QVERIFY(prompts_->messages.isEmpty());
        QCOMPARE(ToQ(ReadNode(project_)->IntensityTable), stored);
    }

    // What a save in the editor does to the shared tables and to the open
    // project: it replaces a table only when the user says Yes to replacing
    // it, and makes it the project's table only when the user says Yes to
    // using it; the project's own table stays its table, its sheet-flow
    // times recalculated when its 24-hour 2-year value changed. The Source
    // saved is the one the values came with, marked when cells were typed
    // over. In the texts, {today} is the date, {atlanta} the shipped table's
    // Source, {noaa} the file's, {equation} the equation's, {project} the
    // project file's name.
    void editorSavesAskBeforeChangingTables_data() {
        QTest::addColumn<EditorSave>("c");
        const QStringList three = {"Atlanta", "Second", "Bentonville AR"};
        const QStringList four = three + QStringList{"Third"};
        const QString useThird = QStringLiteral("Use Third for this project?");
        const QString useSecond = QStringLiteral("Use Second for this project?");
        const QString edited = QStringLiteral("; Edited by hand on {today}.");
        const QString own =
            QStringLiteral("\n\nThe open project {project} uses it as its intensity table.");
        // One row a case, laid out as a table.
        // clang-format off
        //                                   action, name, typed, project, answers, node, current,
        //                                   tables, table, source, messages
        QTest::newRow("project's table, 24-hour 2-year cell typed over")
            << EditorSave{"shown", "", "p2", true, "", "Atlanta", "Atlanta",
                          three, "Atlanta", "{atlanta}" + edited, {Sentence("Atlanta", "3.36")}};
        QTest::newRow("project's table, another cell typed over")
            << EditorSave{"shown", "", "other", true, "", "Atlanta", "Atlanta",
                          three, "Atlanta", "{atlanta}" + edited, {}};
        QTest::newRow("new table, used")
            << EditorSave{"add", "Third", "", true, "Y", "Third", "Third",
                          four, "Third", "", {useThird, Sentence("Third", "3.36")}};
        QTest::newRow("new table, not used")
            << EditorSave{"add", "Third", "", true, "N", "Atlanta", "Atlanta",
                          four, "Third", "", {useThird}};
        QTest::newRow("new table without a project")
            << EditorSave{"add", "Third", "", false, "", "Atlanta", "Third",
                          four, "Third", "", {}};
        QTest::newRow("another table replaced and used")
            << EditorSave{"add", "Second", "", true, "YY", "Second", "Second",
                          three, "Second", "",
                          {ReplaceQuestion("Second"), useSecond, Sentence("Second", "3.36")}};
        QTest::newRow("another table kept")
            << EditorSave{"add", "Second", "", true, "N", "Atlanta", "Atlanta",
                          three, "Second", "County manual, 2019", {ReplaceQuestion("Second")}};
        QTest::newRow("project's table replaced")
            << EditorSave{"add", "ATLANTA", "", true, "Y", "Atlanta", "Atlanta",
                          three, "Atlanta", "",
                          {ReplaceQuestion("ATLANTA") + own, Sentence("Atlanta", "3.36")}};
        QTest::newRow("import over its proposed name, not used")
            << EditorSave{"import", "", "", true, "YN", "Atlanta", "Atlanta",
                          three, "Bentonville AR", "{noaa}",
                          {ReplaceQuestion("Bentonville AR"), "Use Bentonville AR for this project?"}};
        QTest::newRow("import under a new name, typed over")
            << EditorSave{"import", "Bentonville", "other", true, "N", "Atlanta", "Atlanta",
                          three + QStringList{"Bentonville"}, "Bentonville", "{noaa}" + edited,
                          {"Use Bentonville for this project?"}};
        QTest::newRow("import over the project's table")
            << EditorSave{"import", "Atlanta", "", true, "Y", "Atlanta", "Atlanta",
                          three, "Atlanta", "{noaa}",
                          {ReplaceQuestion("Atlanta") + own, Sentence("Atlanta", "3.79")}};
        QTest::newRow("equation over another table, used")
            << EditorSave{"equation", "Second", "", true, "YY", "Second", "Second",
                          three, "Second", "{equation}",
                          {ReplaceQuestion("Second"), useSecond, Sentence("Second", "2.00")}};
        // clang-format on
    }

    void editorSavesAskBeforeChangingTables() {
        QFETCH(EditorSave, c);
        const QString& action = c.action;
        const QString& name = c.name;
        const QString& typed = c.typed;
        const QString& answers = c.answers;
        QStringList messages = c.messages;

        const std::string app = folder_->AppFolder();
        const IntensityGrid atlanta = ReadIntensityGrid(app, "Atlanta");
        // P2 3.36 in where Atlanta's is 3.72 in.
        IntensityGrid lower = atlanta;
        lower[9][1] = "0.14";
        SaveIntensityTable(app, "Second", lower, "County manual, 2019");
        SaveIntensityTable(app, "Bentonville AR", atlanta, "Old survey");
        InsertElementRow(project_, SampleBasin("Basin1"));
        InsertElementRow(project_, SampleBasin("Basin2"));
        if (!c.project) {
            CurrentSession().ProjectPath.clear();
        }
        CurrentSession().IntensityTableName = "Atlanta";
        const RainfallTable noaa = ReadNoaaAtlas14File(kBentonville.toStdString());
        IdfEquation coefficients;
        coefficients.fill({120, 0, 1});
        const QString atlantaSource = ToQ(IntensityTableSource(app, "Atlanta"));

        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        if (action == QStringLiteral("add")) {
            Click(editor, QStringLiteral("CmdAdd"));
            FillGrid(editor, lower);
        } else if (action == QStringLiteral("import")) {
            prompts_->fileNames = {kBentonville};
            Click(editor, QStringLiteral("CmdImportNoaa"));
        } else if (action == QStringLiteral("equation")) {
            Click(editor, QStringLiteral("CmdFromEquation"));
            auto* equation = Forms::Find<FrmIdfEquation>();
            for (int column = 0; column < 7; ++column) {
                Type(equation, QStringLiteral("TxtB%1").arg(column + 1), QStringLiteral("120"));
                Type(equation, QStringLiteral("TxtD%1").arg(column + 1), QStringLiteral("0"));
                Type(equation, QStringLiteral("TxtE%1").arg(column + 1), QStringLiteral("1"));
            }
            Click(equation, QStringLiteral("CmdOK"));
        }
        QVERIFY(prompts_->messages.isEmpty());
        if (!name.isEmpty()) {
            Type(editor, QStringLiteral("TxtBasinName"), name);
        }
        if (!typed.isEmpty()) {
            QLineEdit* cell =
                typed == QStringLiteral("p2") ? editor->Cell(1, 9) : editor->Cell(0, 0);
            cell->setFocus();
            cell->selectAll();
            QTest::keyClicks(cell, typed == QStringLiteral("p2") ? "0.14" : "5.25");
        }
        for (const QChar answer : answers) {
            prompts_->answers.append(answer == u'Y' ? QMessageBox::Yes : QMessageBox::No);
        }
        Click(editor, QStringLiteral("CmdUpdate"));
        Settle();

        const auto expand = [&](QString text) {
            return text
                .replace(QStringLiteral("{today}"), QDate::currentDate().toString(Qt::ISODate))
                .replace(QStringLiteral("{atlanta}"), atlantaSource)
                .replace(QStringLiteral("{noaa}"), ToQ(noaa.source))
                .replace(QStringLiteral("{equation}"), ToQ(TableFromEquation(coefficients).source))
                .replace(QStringLiteral("{project}"), QFileInfo(ToQ(project_)).fileName());
        };
        QStringList shown;
        for (const auto& message : prompts_->messages) {
            shown.append(message.text);
        }
        for (QString& message : messages) {
            message = expand(message);
        }
        QCOMPARE(shown, messages);
        QVERIFY(prompts_->answers.isEmpty());
        QCOMPARE(ToQ(ReadNode(project_)->IntensityTable), c.node);
        QCOMPARE(ToQ(CurrentSession().IntensityTableName), c.current);
        QStringList stored;
        for (const auto& listed : ListIntensityTables(app)) {
            stored.append(ToQ(listed));
        }
        QCOMPARE(stored, c.tables);
        QCOMPARE(ToQ(IntensityTableSource(app, FromQ(c.table))), expand(c.source));
        // Only a No to replacing keeps the editor open, with what was typed.
        const bool kept = answers.startsWith(u'N') && messages.first().startsWith("A table");
        QCOMPARE(Forms::Find<FrmIntensityTable>() == editor, kept);
    }

    // A dialog reopened to show a new table asks before typed input is lost;
    // No withdraws the choice and leaves the typing.
    void reopeningAsksBeforeDiscardingTypedInput_data() {
        QTest::addColumn<bool>("editor");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::newRow("editor, No") << true << true << QMessageBox::No;
        QTest::newRow("editor, Yes") << true << true << QMessageBox::Yes;
        QTest::newRow("editor as loaded") << true << false << QMessageBox::NoButton;
        // The node dialog is not reopened: the pick waits in its box for Update.
        QTest::newRow("node dialog") << false << true << QMessageBox::NoButton;
    }

    void reopeningAsksBeforeDiscardingTypedInput() {
        QFETCH(bool, editor);
        QFETCH(bool, typed);
        QFETCH(QMessageBox::StandardButton, answer);
        QPointer<QWidget> form = editor ? static_cast<QWidget*>(Forms::Show<FrmIntensityTable>())
                                        : Forms::Show<FrmNodeInfo>();
        const QString title = form->windowTitle();
        const QString box = editor ? QStringLiteral("Text1") : QStringLiteral("TxtNodeName");
        const QString loaded = Text(form, box);
        if (typed) {
            Type(form, box, QStringLiteral("7.5"));
        }
        QPointer<QWidget> select = editor ? static_cast<QWidget*>(Forms::Show<FrmSelectIvalBasin>())
                                          : Forms::Show<FrmSelectNodeBasin>();
        prompts_->answers = {answer};
        Choose(select, QStringLiteral("Atlanta"));
        Settle();

        const bool asks = editor && typed;
        QCOMPARE(prompts_->messages.size(), asks ? 1 : 0);
        if (asks) {
            QCOMPARE(prompts_->LastText(),
                     QStringLiteral("The changes made in \"%1\" are not saved. Discard them?")
                         .arg(title));
        }
        const bool kept = answer == QMessageBox::No || !editor;
        QWidget* shown = editor ? static_cast<QWidget*>(Forms::Find<FrmIntensityTable>())
                                : Forms::Find<FrmNodeInfo>();
        QVERIFY(shown != nullptr);
        QCOMPARE(shown == form, kept);
        QCOMPARE(Text(shown, box), kept ? QStringLiteral("7.5") : loaded);
        QCOMPARE(!select.isNull(), editor && kept);
        QCOMPARE(IValueBasinNames(project_), std::string(kept || !editor ? ";" : "Atlanta;"));
    }

    void setupChoiceFillsTheSetupDialogOnly() {
        FrmInfo* info = Forms::Show<FrmInfo>();
        Click(info, QStringLiteral("CmdIList"));
        FrmSelectIvalBasin* select = Forms::Find<FrmSelectIvalBasin>();
        QCOMPARE(select->Tag(), QStringLiteral("FrmInfo"));
        Choose(select, QStringLiteral("Atlanta"));
        Settle();
        QCOMPARE(Text(info, QStringLiteral("TxtITable")), QStringLiteral("Atlanta"));
        QVERIFY(Forms::Find<FrmIntensityTable>() == nullptr);
        // Nothing is stored before the setup dialog's OK.
        QCOMPARE(IValueBasinNames(project_), std::string(";"));
    }

    void cancelChangesNothing() {
        FrmSelectIvalBasin* select = Forms::Show<FrmSelectIvalBasin>();
        Named<QListWidget>(select, QStringLiteral("List1"))->setCurrentRow(0);
        Click(select, QStringLiteral("CmdCancel"));
        Settle();
        QCOMPARE(IValueBasinNames(project_), std::string(";"));
        QVERIFY(Forms::Find<FrmIntensityTable>() == nullptr);
    }

    void nodeDialogShowsRenamesAndPicksTheNodeTable() {
        SaveIntensityTable(folder_->AppFolder(), "Second",
                           ReadIntensityGrid(folder_->AppFolder(), "Atlanta"));
        FrmNodeInfo* node = Forms::Show<FrmNodeInfo>();
        QCOMPARE(Text(node, QStringLiteral("TxtNodeName")), QStringLiteral("Outfall"));
        QCOMPARE(Text(node, QStringLiteral("TxtIntensityTable")), QStringLiteral("Atlanta"));
        QVERIFY(Named<QLineEdit>(node, QStringLiteral("TxtIntensityTable"))->isReadOnly());

        // A table picked with "?" waits in the box with the typed name;
        // Cancel leaves the stored node as it was.
        Type(node, QStringLiteral("TxtNodeName"), QStringLiteral("Unsaved"));
        Click(node, QStringLiteral("CmdTableList"));
        Choose(Forms::Find<FrmSelectNodeBasin>(), QStringLiteral("Second"));
        Settle();
        QCOMPARE(Forms::Find<FrmNodeInfo>(), node);
        QCOMPARE(Text(node, QStringLiteral("TxtNodeName")), QStringLiteral("Unsaved"));
        QCOMPARE(Text(node, QStringLiteral("TxtIntensityTable")), QStringLiteral("Second"));
        QCOMPARE(ReadNode(project_)->IntensityTable, std::string("Atlanta"));
        Click(node, QStringLiteral("CmdCancel"));
        Settle();
        QCOMPARE(ReadNode(project_)->IntensityTable, std::string("Atlanta"));
        QCOMPARE(CurrentSession().IntensityTableName, std::string("Atlanta"));

        node = Forms::Show<FrmNodeInfo>();
        Click(node, QStringLiteral("CmdTableList"));
        Choose(Forms::Find<FrmSelectNodeBasin>(), QStringLiteral("Second"));

        Type(node, QStringLiteral("TxtNodeName"), QStringLiteral("Outfall \"North\""));
        Click(node, QStringLiteral("CmdUpdate"));
        Settle();
        QVERIFY(Forms::Find<FrmNodeInfo>() == nullptr);
        QCOMPARE(ReadNode(project_)->NodeName, std::string("Outfall \"North\""));
        QCOMPARE(ReadNode(project_)->IntensityTable, std::string("Second"));
        QCOMPARE(CurrentSession().IntensityTableName, std::string("Second"));
        QCOMPARE(ReadNode(project_)->NodeX, std::string("5040"));
    }

    void nodeDialogRefusesAnEmptyName() {
        FrmNodeInfo* node = Forms::Show<FrmNodeInfo>();
        Named<QLineEdit>(node, QStringLiteral("TxtNodeName"))->clear();
        Click(node, QStringLiteral("CmdUpdate"));
        QCOMPARE(prompts_->LastText(), QStringLiteral("Please fill all fields"));
        QCOMPARE(prompts_->messages.last().title, QStringLiteral("Error"));
        QCOMPARE(ReadNode(project_)->NodeName, std::string("Outfall"));
        QVERIFY(Forms::Find<FrmNodeInfo>() == node);
    }

    void nodeTableForAProjectWithoutNodeRowAddsTheRow() {
        SQLite::Database(project_, SQLite::OPEN_READWRITE).exec("DELETE FROM TblNodeInfo");
        FrmNodeInfo* node = Forms::Show<FrmNodeInfo>();
        QCOMPARE(Text(node, QStringLiteral("TxtNodeName")), QString());
        Click(node, QStringLiteral("CmdTableList"));
        Choose(Forms::Find<FrmSelectNodeBasin>(), QStringLiteral("Atlanta"));
        QVERIFY(!ReadNode(project_).has_value());
        Type(node, QStringLiteral("TxtNodeName"), QStringLiteral("Pond"));
        Click(node, QStringLiteral("CmdUpdate"));
        const auto stored = ReadNode(project_);
        QVERIFY(stored.has_value());
        QCOMPARE(stored->IntensityTable, std::string("Atlanta"));
        QCOMPARE(stored->NodeName, std::string("Pond"));
    }

    void emptyCatalogueSaysSoAndOffersNothing() {
        SQLite::Database(IntensityDatabasePath(folder_->AppFolder()), SQLite::OPEN_READWRITE)
            .exec("DELETE FROM BasinName");
        FrmSelectIvalBasin* select = Forms::Show<FrmSelectIvalBasin>();
        QCOMPARE(prompts_->messages.size(), 1);
        QVERIFY(prompts_->LastText().contains(QStringLiteral("holds no intensity tables")));
        QCOMPARE(Named<QListWidget>(select, QStringLiteral("List1"))->count(), 0);
        QVERIFY(!Named<QPushButton>(select, QStringLiteral("CmdOK"))->isEnabled());
    }

    void missingIntensityDatabaseIsReportedNotFatal() {
        const auto missing = IntensityDatabasePath(folder_->AppFolder());
        std::filesystem::remove(missing);
        const QString message = QStringLiteral("Cannot open the intensity database \"") +
                                ToQ(missing) + QStringLiteral("\": the file does not exist.");
        FrmIntensityTable* editor = Forms::Show<FrmIntensityTable>();
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->LastText(), message);
        QVERIFY(editor->isVisible());
        Forms::Show<FrmSelectIvalBasin>();
        QCOMPARE(prompts_->messages.size(), 2);
        QCOMPARE(prompts_->LastText(), message);
    }
};

QTEST_MAIN(IntensityDialogsTest)
#include "IntensityDialogsTest.moc"
