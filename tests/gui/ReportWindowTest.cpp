#include <SQLiteCpp/SQLiteCpp.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <memory>

#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "SampleRows.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "common/CommandBoundary.h"
#include "common/Resources.h"
#include "report/FrmViewReport.h"
#include "report/PlainTextWriter.h"
#include "report/ReportComposer.h"
#include "report/ReportPdf.h"
#include "report/RichDocumentConversion.h"
#include "report/RichTextPrinter.h"
#include "report/RtfWriter.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

namespace {

// A name holding what RTF must escape and what needs Unicode in it.
const std::string kAwkwardName = "{\xC3\xA9}\\\xC3\x98\xE6\x97\xA5\xE6\x9C\xAC Lot";

// Letter paper at 72 dots per inch, as the pages are rendered for inspection:
// 612 × 792 pixels, margins of 450 and 360 twips are 22.5 and 18 pixels.
constexpr int kSheetWidth = 612;
constexpr int kSheetHeight = 792;
constexpr double kLeftMargin = 22.5;
constexpr double kOtherMargin = 18.0;

// Builds a document through the core's builder, the way the composer does.
RichDocument Build(const std::function<void(RichTextBuilder&)>& steps) {
    RichTextBuilder builder;
    steps(builder);
    return builder.Take();
}

// The words of `text` as unrtf --text shows them: one '?' per UTF-16 unit of a
// character beyond ASCII.
QStringList UnrtfWords(const std::string& text) {
    QString visible;
    for (const QChar c : ToQ(text)) {
        visible += c.unicode() < 0x80 ? c : QChar(u'?');
    }
    return visible.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// pdftotext's reading of a PDF, pages separated by form feeds.
QStringList PdfPages(const QString& pdf) {
    QStringList pages =
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .split(QChar(u'\f'));
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty()) {
        pages.removeLast();
    }
    return pages;
}

// The pages above their footers, laid out as text: the desktop's footer says
// when the report was solved, the command line's does not.
QStringList PdfBodies(const QString& pdf) {
    return RunTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), QStringLiteral("-x"), QStringLiteral("0"),
                    QStringLiteral("-y"), QStringLiteral("0"), QStringLiteral("-W"),
                    QStringLiteral("612"), QStringLiteral("-H"), QStringLiteral("754"), pdf,
                    QStringLiteral("-")})
        .split(QChar(u'\f'));
}

QString PdfPageSize(const QString& pdf) {
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Page size:\\s*(.*)")).match(info);
    return match.captured(1).trimmed();
}

// The bounding box of everything drawn darker than light grey on a page.
QRect InkBox(const QImage& page) {
    QRect box;
    const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = 0; x < gray.width(); ++x) {
            if (line[x] < 160) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::string project_;

    NetworkFlags Flags() const { return SolveNetwork(project_); }

    RichDocument Composed(const NetworkFlags& flags) const {
        return ComposeReport(ReportInputs{project_, folder_->AppFolder(), kDefaultTableName, flags})
            .document;
    }

    static constexpr const char* kDefaultTableName = "Atlanta";

    void BuildProject() {
        project_ = folder_->NewProjectFile();
        ProjectInfoRow info;
        info.ProjectName = "Ridge Estates";
        info.DesignEngineer = "A. Banks";
        info.ProjectManager = "C. Diaz";
        info.DesignDate = "03/14/2026";
        info.JobNumber = "J-17";
        SaveProjectSetup(project_, info, "Outlet", kDefaultTableName);

        BasinRow basin = SampleBasin();
        basin.BasinName = kAwkwardName;
        basin.SoilType = "Lawn";
        InsertElementRow(project_, basin);
        InsertElementRow(project_, SampleSurface());
        InsertElementRow(project_, SampleChannel());
    }

    FrmViewReport* OpenReport(const NetworkFlags& flags) {
        const bool ok = RunCommand(nullptr, [&] { FrmViewReport::ShowReport(flags); });
        if (!ok) {
            qWarning("composition failed: %s", qPrintable(prompts_->LastText()));
        }
        return Forms::Find<FrmViewReport>();
    }

    static QTextEdit* Box(QWidget* form) {
        return Named<QTextEdit>(form, QStringLiteral("RtbReport"));
    }

    // Prints the open report through the printer seam into a PDF file.
    void PrintTo(FrmViewReport* form, const QString& pdf) {
        SetPrinterFactory([pdf] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            printer->setPageSize(QPageSize(QPageSize::Letter));
            return printer;
        });
        Trigger(form, QStringLiteral("TbPrint"));
    }

  private slots:
    void initTestCase() { LoadResources(); }

    void init() {
        StartRun(folder_, prompts_);
        BuildProject();
        CurrentSession().ProjectPath = project_;
        CurrentSession().IntensityTableName = kDefaultTableName;
    }

    void cleanup() {
        Forms::CloseAll();
        Settle();
        SetPrinterFactory({});
        prompts_.reset();
        folder_.reset();
    }

    // Every report attribute survives the way into the box's document and back,
    // and into the copy the printer lays out.
    void documentRoundTripKeepsEveryFormat() {
        struct Case {
            const char* name;
            RichDocument document;
        };
        const Case cases[] = {
            {"composed report", Composed(Flags())},
            {"formats", Build([](RichTextBuilder& b) {
                 b.SetIndents(200, 300, 200);
                 b.SetTabStops({2000, 4000, 4000, 5000});
                 b.SetSize(24);
                 b.SetBold(true);
                 b.Append("Title");
                 b.SetSize(10.5);
                 b.SetItalic(true);
                 b.Append(" small\r\n\r\n");
                 b.SetUnderline(true);
                 b.Append("\t\t\t\t\r\n");
                 b.SetUnderline(false);
                 b.SetColor(kPureBlue);
                 b.SetSize(8);
                 b.Append("blue \xF0\x9F\x98\x80 {}\\\t");
                 b.SetColor(0x123456);
                 b.Append("odd colour\r");
                 b.SetIndents(0, 0, 0);
                 b.SetTabStops({});
                 b.Append("\tno stops");
             })},
            {"empty", RichDocument{}},
            {"one empty line", Build([](RichTextBuilder& b) { b.Append("\r\n"); })},
        };
        for (const Case& c : cases) {
            QTextDocument shown;
            FillDocument(shown, c.document);
            const RichDocument back = ToRichDocument(shown);
            QCOMPARE(ToQ(WriteRtf(back)), ToQ(WriteRtf(c.document)));
            QVERIFY2(back == c.document, c.name);
            // A copy holds the text only: the page footer stays with the
            // window's own document, which is what prints.
            RichDocument text = c.document;
            text.footer.reset();
            const std::unique_ptr<QTextDocument> copy(shown.clone());
            QVERIFY2(ToRichDocument(*copy) == text, c.name);
            QVERIFY2(!shown.isUndoAvailable(), c.name);
        }
    }

    void selectionBecomesItsOwnDocument() {
        // "Alpha\tone" holds positions 0-8, its break 9; "Beta" 10-13, break
        // 14; the final empty paragraph starts at 15.
        const RichDocument source = Build([](RichTextBuilder& b) {
            b.SetIndents(200, 300, 200);
            b.SetTabStops({1000});
            b.SetBold(true);
            b.Append("Alpha");
            b.SetBold(false);
            b.Append("\tone\r\n");
            b.SetTabStops({2000});
            b.SetUnderline(true);
            b.Append("Beta\r\n");
        });
        struct Case {
            int start;
            int end;
            const char* text;
            QList<int> firstTabStops;  // of each paragraph
            bool firstRunBold;
        };
        const Case cases[] = {
            {2, 12, "pha\tone\nBe", {1000, 2000}, true},
            {6, 9, "one", {1000}, false},
            {10, 15, "Beta\n", {2000, 2000}, false},
            {3, 3, "", {1000}, false},
            {0, 15, "Alpha\tone\nBeta\n", {1000, 2000, 2000}, true},
        };
        QTextDocument shown;
        FillDocument(shown, source);
        for (const Case& c : cases) {
            const RichDocument part = ToRichDocument(shown, c.start, c.end);
            QCOMPARE(ToQ(part.PlainText()), QString::fromUtf8(c.text));
            QCOMPARE(part.paragraphs.size(), static_cast<size_t>(c.firstTabStops.size()));
            for (qsizetype i = 0; i < c.firstTabStops.size(); ++i) {
                const ParagraphFormat& format = part.paragraphs[static_cast<size_t>(i)].format;
                QCOMPARE(format.tabStops.front(), c.firstTabStops[i]);
                QCOMPARE(format.leftIndent, 500);
                QCOMPARE(format.firstLineIndent, -300);
            }
            if (!part.paragraphs.front().runs.empty()) {
                QCOMPARE(part.paragraphs.front().runs.front().format.bold, c.firstRunBold);
            }
        }
        QVERIFY(ToRichDocument(shown, 0, shown.characterCount() - 1) == source);

        // A line break typed with Shift+Enter splits the paragraph.
        QTextCursor(&shown).insertText(QStringLiteral("x") + QChar(QChar::LineSeparator) +
                                       QStringLiteral("y"));
        const RichDocument split = ToRichDocument(shown);
        QCOMPARE(ToQ(split.PlainText()), QStringLiteral("x\nyAlpha\tone\nBeta\n"));
        QCOMPARE(split.paragraphs[1].format.tabStops, std::vector<int>{1000});
    }

    void showReportOpensTheComposedReportAtTheTop() {
        const RichDocument expected = Composed(Flags());
        FrmViewReport* form = OpenReport(Flags());
        QVERIFY(form != nullptr);
        QVERIFY(prompts_->messages.isEmpty());
        // The caption "Report" follows the project's file name.
        QCOMPARE(form->windowTitle(), QStringLiteral("project.rmt \u2014 Report"));
        QVERIFY(form->isWindow());
        QVERIFY(form->windowState().testFlag(Qt::WindowMaximized));

        QTextEdit* box = Box(form);
        QVERIFY(box != nullptr);
        QVERIFY(!box->isReadOnly());
        QCOMPARE(box->toPlainText(), ToQ(expected.PlainText()));
        QVERIFY(box->toPlainText().contains(ToQ(kAwkwardName)));
        QCOMPARE(box->textCursor().position(), 0);
        QVERIFY(!box->textCursor().hasSelection());
        RichDocument shown = ToRichDocument(*box->document());
        // Only the desktop's footer carries when the report was solved.
        QVERIFY(shown.footer && shown.footer->solved.rfind("Solved ", 0) == 0);
        shown.footer->solved.clear();
        QVERIFY(shown == expected);

        QToolBar* toolbar = Named<QToolBar>(form, QStringLiteral("Toolbar1"));
        QVERIFY(toolbar != nullptr);
        QCOMPARE(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        const QList<QAction*> positions = toolbar->actions();
        QCOMPARE(positions.size(), 8);
        const char* texts[] = {
            "", "Save As...",  "Save as PDF...", "Print Preview", "Print", "Copy to Clipboard",
            "", "Close Report"};
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(positions[i]->isSeparator(), i == 0 || i == 6);
            QCOMPARE(positions[i]->text(), QString::fromLatin1(texts[i]));
            QCOMPARE(positions[i]->icon().isNull(), positions[i]->isSeparator());
        }

        // At any window size the box fills the window below the toolbar.
        form->showNormal();
        for (const QSize size : {QSize(900, 700), QSize(400, 300)}) {
            form->resize(size);
            QApplication::processEvents();
            const QRect inForm(box->mapTo(form, QPoint(0, 0)), box->size());
            QVERIFY(inForm.top() >= toolbar->geometry().bottom());
            QCOMPARE(box->width(), form->width());
            QCOMPARE(inForm.bottom(), form->height() - 1);
        }

        Trigger(form, QStringLiteral("TbCloseReport"));
        Settle();
        QVERIFY(Forms::Find<FrmViewReport>() == nullptr);
        QVERIFY(prompts_->messages.isEmpty());
    }

    // Solving again while the window is open shows the new report in it, from
    // the top, whatever the window showed before.
    void showReportAgainShowsTheNewReportAtTheTop() {
        FrmViewReport* first = OpenReport(Flags());
        QVERIFY(first != nullptr);
        QTextEdit* box = Box(first);
        box->moveCursor(QTextCursor::End);
        box->insertPlainText(QStringLiteral("typed note"));
        box->ensureCursorVisible();
        QVERIFY(box->verticalScrollBar()->value() > 0);
        SQLite::Database(project_, SQLite::OPEN_READWRITE)
            .exec("UPDATE TblSurfaceInfo SET SurfName = 'Renamed'");

        QCOMPARE(OpenReport(Flags()), first);
        QCOMPARE(box->toPlainText(), ToQ(Composed(Flags()).PlainText()));
        QVERIFY(box->toPlainText().contains(QStringLiteral("Renamed")));
        QCOMPARE(box->textCursor().position(), 0);
        QCOMPARE(box->verticalScrollBar()->value(), 0);
        QCOMPARE(prompts_->messages.size(), 1);  // the note went with the user's Yes
        QVERIFY(!first->windowTitle().endsWith(QStringLiteral("(edited)")));
    }

    // Typing into the report marks it edited; Close Report and Solve drop the
    // edits only after a Yes, and a report saved since asks nothing.
    void anEditedReportAsksBeforeDroppingItsEdits() {
        const struct {
            const char* name;
            const char* action;  // "close" or "solve"
            bool saveFirst;
            QMessageBox::StandardButton answer;
            bool asked;
            bool noteKept;
        } cases[] = {
            {"close, No", "close", false, QMessageBox::No, true, true},
            {"close, Yes", "close", false, QMessageBox::Yes, true, false},
            {"solve, No", "solve", false, QMessageBox::No, true, true},
            {"saved, close", "close", true, QMessageBox::No, false, false},
        };
        for (const auto& c : cases) {
            prompts_->messages.clear();
            FrmViewReport* form = OpenReport(Flags());
            QVERIFY2(form != nullptr, c.name);
            QVERIFY(form->windowTitle().endsWith(QStringLiteral("Report")));
            QTextEdit* box = Box(form);
            QVERIFY(!box->isReadOnly());
            box->moveCursor(QTextCursor::End);
            QTest::keyClicks(box, QStringLiteral("Checked on site"));
            QVERIFY2(form->windowTitle().endsWith(QStringLiteral(" \u2014 Report (edited)")),
                     qPrintable(form->windowTitle()));
            if (c.saveFirst) {
                prompts_->fileNames = {ToQ(folder_->File("edited.rtf"))};
                Trigger(form, QStringLiteral("TbSaveAs"));
                QVERIFY(!form->windowTitle().endsWith(QStringLiteral("(edited)")));
            }
            prompts_->answers = {c.answer};
            if (std::string_view(c.action) == "close") {
                Trigger(form, QStringLiteral("TbCloseReport"));
            } else {
                OpenReport(Flags());
            }
            Settle();
            QCOMPARE(prompts_->messages.size(), c.asked ? 1 : 0);
            if (c.asked) {
                QCOMPARE(prompts_->messages[0].text,
                         QStringLiteral("The report has edits that are not saved. Drop them?"));
                QCOMPARE(prompts_->messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
            }
            FrmViewReport* open = Forms::Find<FrmViewReport>();
            QCOMPARE(open != nullptr &&
                         Box(open)->toPlainText().contains(QStringLiteral("Checked on site")),
                     c.noteKept);
            prompts_->answers = {QMessageBox::Yes};
            Forms::CloseAll();
            Settle();
        }
    }

    void compositionFailureOpensNoWindow() {
        CurrentSession().IntensityTableName = "Nowhere";
        const bool ok = RunCommand(nullptr, [&] { FrmViewReport::ShowReport(Flags()); });
        Settle();
        QVERIFY(!ok);
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->messages[0].title, QStringLiteral("Error"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Critical);
        QVERIFY2(prompts_->LastText().contains(QStringLiteral("Nowhere")),
                 qPrintable(prompts_->LastText()));
        QVERIFY(Forms::Find<FrmViewReport>() == nullptr);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY(qobject_cast<FrmViewReport*>(window) == nullptr);
        }
    }

    // The saved file is the box as it stands, the user's typing included, and
    // an independent reader finds the report's words in it.
    void saveAsWritesTheReportAsEdited() {
        const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
        if (unrtf.isEmpty()) {
            QSKIP("unrtf is not installed");
        }
        FrmViewReport* form = OpenReport(Flags());
        QVERIFY(form != nullptr);
        QTextEdit* box = Box(form);
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("Checked by R. Ortiz"));
        QTest::keyClick(box, Qt::Key_Return);

        const QString file = ToQ(folder_->File("report.rtf"));
        {
            QFile stale(file);
            QVERIFY(stale.open(QIODevice::WriteOnly));
            stale.write("stale");
        }
        prompts_->fileNames = {file};
        Trigger(form, QStringLiteral("TbSaveAs"));

        QVERIFY(prompts_->messages.isEmpty());
        QCOMPARE(prompts_->fileFilters, QList<QString>{QStringLiteral("Rich Text File (*.rtf)")});
        const QString read = RunTool(unrtf, {QStringLiteral("--text"), file});
        QStringList lines = read.split(u'\n');
        lines.removeIf([](const QString& line) {
            return line.startsWith(QStringLiteral("###")) ||
                   line == QStringLiteral("-----------------");
        });
        const QStringList words =
            lines.join(u'\n').split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        const QStringList expected =
            UnrtfWords("Checked by R. Ortiz\n" + Composed(Flags()).PlainText());
        QCOMPARE(words, expected);
    }

    void saveAsCancelledOrFailing() {
        struct Case {
            const char* name;
            QString fileName;
            bool message;
        };
        const QString missing = ToQ(folder_->File("no-such-folder")) + QStringLiteral("/r.rtf");
        const Case cases[] = {
            {"cancelled", QString(), false},
            {"folder missing", missing, true},
        };
        FrmViewReport* form = OpenReport(Flags());
        QVERIFY(form != nullptr);
        const QStringList before =
            QDir(ToQ(folder_->AppFolder())).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        for (const Case& c : cases) {
            prompts_->messages.clear();
            prompts_->fileNames = {c.fileName};
            Trigger(form, QStringLiteral("TbSaveAs"));
            QCOMPARE(prompts_->messages.size(), c.message ? 1 : 0);
            if (c.message) {
                QCOMPARE(prompts_->messages[0].title, QStringLiteral("Error"));
                QCOMPARE(prompts_->messages[0].icon, QMessageBox::Critical);
                QVERIFY2(prompts_->LastText().contains(QDir::toNativeSeparators(missing)),
                         qPrintable(prompts_->LastText()));
            }
            QCOMPARE(
                QDir(ToQ(folder_->AppFolder())).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                before);
        }
    }

    // Save As and Save as PDF never write over the open project (under any
    // name) or a database: a message names the file and it keeps every byte.
    // A link stays a link, and the file it leads to receives the report.
    void saveKeepsProjectsDatabasesAndLinks_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("receiver");  // "" when the save is refused
        const QString rtf = QStringLiteral("TbSaveAs");
        const QString pdf = QStringLiteral("TbSaveAsPdf");
        QTest::newRow("RTF over the project") << rtf << QStringLiteral("project.rmt") << QString();
        QTest::newRow("PDF over the project through a link")
            << pdf << QStringLiteral("project-link.rmt") << QString();
        QTest::newRow("RTF over intensity.mdb")
            << rtf << QStringLiteral("intensity.mdb") << QString();
        QTest::newRow("PDF over empty.mdb") << pdf << QStringLiteral("empty.mdb") << QString();
        QTest::newRow("RTF over another project")
            << rtf << QStringLiteral("other.rmt") << QString();
        QTest::newRow("RTF through a link")
            << rtf << QStringLiteral("report-link") << QStringLiteral("report.old");
        QTest::newRow("PDF through a link")
            << pdf << QStringLiteral("report-link") << QStringLiteral("report.old");
    }

    void saveKeepsProjectsDatabasesAndLinks() {
        QFETCH(QString, action);
        QFETCH(QString, target);
        QFETCH(QString, receiver);
        // The report is composed first: solving rewrites the project's results.
        FrmViewReport* form = OpenReport(Flags());
        QVERIFY(form != nullptr);
        QDir folder(ToQ(folder_->AppFolder()));
        folder_->NewProjectFile("other.rmt");
        QVERIFY(QFile::link(QStringLiteral("project.rmt"), folder.filePath("project-link.rmt")));
        QVERIFY(QFile::link(QStringLiteral("report.old"), folder.filePath("report-link")));
        {
            QFile old(folder.filePath("report.old"));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old report");
        }
        const auto bytes = [&](const QString& name) {
            QFile file(folder.filePath(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
        };
        const QString kept = QFileInfo(folder.filePath(target)).canonicalFilePath();
        const QByteArray before = bytes(kept);
        const QStringList entries = folder.entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

        prompts_->fileNames = {folder.filePath(target)};
        Trigger(form, action);

        QCOMPARE(folder.entryList(QDir::NoDotAndDotDot | QDir::AllEntries), entries);
        QVERIFY(QFileInfo(folder.filePath("report-link")).isSymLink());
        if (receiver.isEmpty()) {
            QCOMPARE(prompts_->messages.size(), 1);
            QCOMPARE(prompts_->messages[0].icon, QMessageBox::Warning);
            QVERIFY2(prompts_->LastText().contains(
                         QStringLiteral("\"%1\"").arg(folder.filePath(target))),
                     qPrintable(prompts_->LastText()));
            QVERIFY(bytes(kept) == before);
        } else {
            QVERIFY2(prompts_->messages.isEmpty(), qPrintable(prompts_->LastText()));
            QVERIFY(bytes(receiver).startsWith(
                action == QStringLiteral("TbSaveAsPdf") ? "%PDF" : "{\\rtf1"));
        }
    }

    void printTargetRectangle_data() {
        QTest::addColumn<QSize>("sheet");
        QTest::addColumn<double>("dpiX");
        QTest::addColumn<double>("dpiY");
        QTest::addColumn<QRect>("expected");
        // Letter at 1200 dpi: 450 twips are 375 pixels, 360 twips 300.
        QTest::newRow("letter 1200")
            << QSize(10200, 13200) << 1200.0 << 1200.0 << QRect(375, 300, 9525, 12600);
        // A4 at 600 dpi: 450 twips are 187.5 pixels, rounded up.
        QTest::newRow("a4 600") << QSize(4961, 7016) << 600.0 << 600.0
                                << QRect(188, 150, 4623, 6716);
        QTest::newRow("unequal resolutions")
            << QSize(2550, 6600) << 300.0 << 600.0 << QRect(94, 150, 2381, 6300);
        QTest::newRow("no room") << QSize(100, 100) << 300.0 << 300.0 << QRect();
    }

    void printTargetRectangle() {
        QFETCH(QSize, sheet);
        QFETCH(double, dpiX);
        QFETCH(double, dpiY);
        QFETCH(QRect, expected);
        QCOMPARE(PrintTargetRect(sheet, dpiX, dpiY, 450, 360, 360, 360), expected);
    }

    // The printed pages: how many, every line once and in order across them,
    // and nothing drawn outside the margins measured from the sheet's edges.
    void printLaysOutPagesInsideTheMargins_data() {
        QTest::addColumn<int>("extraLines");
        QTest::addColumn<int>("pages");
        QTest::newRow("short report") << 0 << 1;
        QTest::newRow("long report") << 140 << 3;
    }

    void printLaysOutPagesInsideTheMargins() {
        QFETCH(int, extraLines);
        QFETCH(int, pages);
        NetworkFlags shallowOnly;
        shallowOnly.HasShallow = true;
        FrmViewReport* form = OpenReport(shallowOnly);
        QVERIFY(form != nullptr);
        QTextEdit* box = Box(form);
        QTextCursor end(box->document());
        end.movePosition(QTextCursor::End);
        for (int line = 1; line <= extraLines; ++line) {
            end.insertText(QStringLiteral("Line %1\n").arg(line, 3, 10, QChar(u'0')));
        }

        QTemporaryDir output;
        QVERIFY(output.isValid());
        const QString pdf = output.filePath(QStringLiteral("report.pdf"));
        PrintTo(form, pdf);
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(prompts_->LastText()));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QCOMPARE(content.count("/Type /Page\n"), pages);

        const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
        if (gs.isEmpty()) {
            QSKIP("ghostscript is not installed to read the pages back");
        }
        RunTool(
            gs,
            {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
             QStringLiteral("-dSAFER"), QStringLiteral("-sDEVICE=pgmraw"), QStringLiteral("-r72"),
             QStringLiteral("-sOutputFile=") + output.filePath(QStringLiteral("page-%d.pgm")),
             pdf});
        for (int page = 1; page <= pages; ++page) {
            const QImage image(output.filePath(QStringLiteral("page-%1.pgm").arg(page)));
            QCOMPARE(image.size(), QSize(kSheetWidth, kSheetHeight));
            const QRect ink = InkBox(image);
            QVERIFY(!ink.isEmpty());
            // Each page starts at the top margin; the banner and the page
            // footer stand flush with the left one.
            const double left = kLeftMargin;
            QVERIFY2(ink.left() >= left - 1 && ink.left() <= left + 4,
                     qPrintable(QStringLiteral("page %1 left %2").arg(page).arg(ink.left())));
            QVERIFY2(ink.top() >= kOtherMargin - 1 && ink.top() <= kOtherMargin + 12,
                     qPrintable(QStringLiteral("page %1 top %2").arg(page).arg(ink.top())));
            QVERIFY(ink.right() < kSheetWidth - kOtherMargin + 1);
            QVERIFY2(ink.bottom() < kSheetHeight - kOtherMargin + 1,
                     qPrintable(QStringLiteral("page %1 bottom %2").arg(page).arg(ink.bottom())));
        }
        QVERIFY(!QFile::exists(output.filePath(QStringLiteral("page-%1.pgm").arg(pages + 1))));

        // txtwrite may write a blank as a tab or as a run of blanks.
        const QString text = RunTool(gs, {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"),
                                          QStringLiteral("-dBATCH"), QStringLiteral("-dSAFER"),
                                          QStringLiteral("-sDEVICE=txtwrite"),
                                          QStringLiteral("-sOutputFile=-"), pdf})
                                 .simplified();
        QVERIFY(text.contains(QStringLiteral("TORRENTA")));
        QVERIFY(text.contains(QStringLiteral("Shallow Concentrated Flow")));
        QStringList numbered;
        const QRegularExpression linePattern(QStringLiteral("Line (\\d{3})"));
        for (auto match = linePattern.globalMatch(text); match.hasNext();) {
            numbered.append(match.next().captured(1));
        }
        QCOMPARE(numbered.size(), extraLines);
        for (int line = 1; line <= extraLines; ++line) {
            QCOMPARE(numbered[line - 1].toInt(), line);
        }
    }

    void printFailures() {
        FrmViewReport* form = OpenReport(Flags());
        QVERIFY(form != nullptr);

        SetPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
        Trigger(form, QStringLiteral("TbPrint"));
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->messages[0].text, QStringLiteral("No printer is installed."));
        QCOMPARE(prompts_->messages[0].title, QStringLiteral("Print"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Information);

        const QString unwritable = ToQ(folder_->File("no-such-folder")) + QStringLiteral("/r.pdf");
        PrintTo(form, unwritable);
        QCOMPARE(prompts_->messages.size(), 2);
        QCOMPARE(prompts_->messages[1].title, QStringLiteral("Print"));
        QVERIFY2(
            prompts_->LastText().startsWith(QStringLiteral("The report could not be printed.")) &&
                prompts_->LastText().contains(QDir::toNativeSeparators(unwritable)),
            qPrintable(prompts_->LastText()));
    }

    // Save as PDF, Print and torrenta-cli's --pdf give the same Letter pages
    // with the same text on each; the preview shows as many pages.
    void pdfAndPreviewShowThePagesAsPrinted() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("poppler-utils is not installed to read the PDF back");
        }
        FrmViewReport* form = OpenReport(Flags());
        QVERIFY(form != nullptr);
        QTemporaryDir output;
        const QString printed = output.filePath(QStringLiteral("printed.pdf"));
        const QString saved = output.filePath(QStringLiteral("saved.pdf"));
        const QString command = output.filePath(QStringLiteral("command.pdf"));
        PrintTo(form, printed);
        prompts_->fileNames << saved;
        Trigger(form, QStringLiteral("TbSaveAsPdf"));
        QVERIFY2(prompts_->messages.isEmpty(), qPrintable(prompts_->LastText()));
        QCOMPARE(prompts_->fileFilters.constLast(), QStringLiteral("PDF File (*.pdf)"));
        QVERIFY(!RunTool(QStringLiteral(TORRENTA_CLI),
                         {QStringLiteral("--app-folder"), ToQ(folder_->AppFolder()),
                          QStringLiteral("solve"), ToQ(project_), QStringLiteral("--pdf"), command})
                     .isEmpty());

        const QStringList pages = PdfPages(printed);
        QVERIFY(!pages.isEmpty());
        QVERIFY(pages.constFirst().contains(QStringLiteral("Ridge Estates")));
        QVERIFY(pages.join(QString()).contains(QStringLiteral("Runoff Rate Calculations")));
        QCOMPARE(PdfPages(saved), pages);
        QCOMPARE(PdfBodies(command), PdfBodies(saved));
        QCOMPARE(PdfPageSize(saved), QStringLiteral("612 x 792 pts (letter)"));
        QCOMPARE(PdfPageSize(command), PdfPageSize(saved));

        SetPrinterFactory([printed] { return PdfPrinter(printed); });
        Trigger(form, QStringLiteral("TbPrintPreview"));
        auto* preview = form->findChild<QPrintPreviewDialog*>(QStringLiteral("PrintPreview"));
        QVERIFY(preview != nullptr);
        QTRY_VERIFY(preview->isVisible());
        auto* pagesShown = preview->findChild<QPrintPreviewWidget*>();
        QVERIFY(pagesShown != nullptr);
        QTRY_COMPARE(pagesShown->pageCount(), pages.size());
        preview->close();

        // A file that cannot be written is named, with the reason.
        const QString unwritable = ToQ(folder_->File("no-such-folder")) + QStringLiteral("/r.pdf");
        prompts_->fileNames << unwritable;
        Trigger(form, QStringLiteral("TbSaveAsPdf"));
        QCOMPARE(prompts_->messages.size(), 1);
        QCOMPARE(prompts_->messages[0].title, QStringLiteral("Error"));
        QVERIFY2(
            prompts_->LastText().startsWith(QStringLiteral("The report could not be saved as %1.")
                                                .arg(QDir::toNativeSeparators(unwritable))),
            qPrintable(prompts_->LastText()));
    }

    // A section title never stands alone at the foot of a page: wherever the
    // filler above puts it, it shares its page with the first line it heads.
    void aTitleStaysWithWhatFollowsIt() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("poppler-utils is not installed to read the PDF back");
        }
        QTemporaryDir output;
        const QString pdf = output.filePath(QStringLiteral("r.pdf"));
        const auto pagesWith = [&](int filler) {
            QTextDocument document;
            FillDocument(document, Build([filler](RichTextBuilder& b) {
                             b.SetSize(10);
                             for (int line = 1; line <= filler; ++line) {
                                 b.Append("Line " + std::to_string(line) + "\r\n");
                             }
                             b.Append("\r\n\r\n");
                             b.SetBold(true);
                             b.SetUnderline(true);
                             b.SetItalic(true);
                             b.SetSize(12);
                             b.SetRole(ParagraphRole::Title);
                             b.Append("Runoff Rate Calculations\r\n\r\n");
                             b.SetRole(ParagraphRole::Body);
                             b.SetBold(false);
                             b.SetUnderline(false);
                             b.SetItalic(false);
                             b.SetSize(10);
                             b.Append("Overland Flow Tc \t: 12.3\r\n");
                         }));
            return WriteReportPdf(document, pdf).isEmpty() ? PdfPages(pdf) : QStringList();
        };
        // How many filler lines the first page holds, then every filler count
        // that brings the title near its foot.
        const QStringList long_ = pagesWith(150);
        QVERIFY(long_.size() > 1);
        const auto perPage =
            static_cast<int>(long_[0].count(QRegularExpression(QStringLiteral("Line \\d+"))));
        QVERIFY(perPage > 20);
        for (int filler = perPage - 6; filler <= perPage + 1; ++filler) {
            const QStringList pages = pagesWith(filler);
            QVERIFY(!pages.isEmpty());
            for (const QString& page : pages) {
                QCOMPARE(page.contains(QStringLiteral("Runoff Rate Calculations")),
                         page.contains(QStringLiteral("Overland Flow Tc")));
            }
        }
    }

    // Once the project changes after the solve the window says so, in its
    // title and above the text; Copy (as Save, PDF, Print) asks first, and No
    // leaves the clipboard alone. Solving again clears the mark, and the
    // pages carry when they were solved.
    void aReportTheProjectNoLongerMatchesSaysSoAndAsks() {
        FrmViewReport* form = OpenReport(Flags());
        QVERIFY(form != nullptr);
        QLabel* stale = Named<QLabel>(form, QStringLiteral("LblStale"));
        QVERIFY(stale != nullptr);
        QVERIFY(!stale->isVisible());
        QVERIFY(FooterOf(*Box(form)->document())->solved.rfind("Solved ", 0) == 0);
        QTest::qWait(20);
        UpdateElementPosition(project_, ElementKind::Overland, "Basin1", "700", "900");
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        prompts_->answers = {QMessageBox::No};
        Trigger(form, QStringLiteral("TbCopyToClipboard"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        QVERIFY(prompts_->LastText().startsWith(
            QStringLiteral("The project has changed since this report was solved.")));
        QVERIFY(stale->isVisible());
        QVERIFY(form->windowTitle().contains(QStringLiteral("changed since solved")));

        form = OpenReport(Flags());
        QVERIFY(!stale->isVisible());
        QVERIFY(!form->windowTitle().contains(QStringLiteral("changed since solved")));
    }

    // A project name too long for the footer is cut short of the page
    // number, which stays whole at the right.
    void aLongProjectNameInTheFooterLeavesThePageNumber() {
        ProjectInfoRow info;
        info.ProjectName = std::string(40, 'N') + " " + std::string(200, 'W');
        info.JobNumber = "J-17";
        SaveProjectSetup(project_, info, "Outlet", kDefaultTableName);
        FrmViewReport* form = OpenReport(Flags());
        QVERIFY(form != nullptr);
        QTemporaryDir output;
        const QString pdf = output.filePath(QStringLiteral("long.pdf"));
        PrintTo(form, pdf);
        const QStringList pages = PdfPages(pdf);
        QVERIFY(!pages.isEmpty());
        const QStringList lines = pages.constFirst().trimmed().split(u'\n');
        const QString footer = lines.constLast().trimmed();
        QVERIFY2(footer.endsWith(QStringLiteral("Page 1 of %1").arg(pages.size())),
                 qPrintable(footer));
        QVERIFY2(footer.contains(QChar(0x2026)), qPrintable(footer));
    }

    void copyToClipboardCopiesTheWholeReport() {
        FrmViewReport* form = OpenReport(Flags());
        QVERIFY(form != nullptr);
        QTextEdit* box = Box(form);
        // The clipboard carries the very RTF that Save As writes.
        const QString saved = ToQ(folder_->File("copied.rtf"));
        prompts_->fileNames = {saved};
        Trigger(form, QStringLiteral("TbSaveAs"));
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray rtf = file.readAll();
        QVERIFY(rtf.startsWith("{\\rtf1") && rtf.contains("Runoff Rate Calculations"));

        QTextCursor middle(box->document());
        middle.setPosition(40);
        middle.setPosition(60, QTextCursor::KeepAnchor);
        box->setTextCursor(middle);
        Trigger(form, QStringLiteral("TbCopyToClipboard"));
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr);
        for (const char* format : {"text/rtf", "application/rtf"}) {
            QCOMPARE(data->data(QString::fromLatin1(format)), rtf);
        }
        // Pasted as text or into a spreadsheet, each return period stands over
        // its intensity: the same column of the text, the same cell of a row.
        const QStringList lines = data->text().split(u'\n');
        const auto lineWith = [&](const QString& word) {
            for (const QString& line : lines) {
                if (line.contains(word)) {
                    return line;
                }
            }
            return QString();
        };
        const QString intensities = lineWith(QStringLiteral("I(in/hr)"));
        const qsizetype firstValue = intensities.indexOf(QRegularExpression(QStringLiteral("\\d")));
        QVERIFY(firstValue > 0);
        QCOMPARE(lineWith(QStringLiteral("1Yr")).indexOf(QStringLiteral("1Yr")), firstValue);
        const QString html = data->html();
        const auto cellOf = [&](const QString& rowMark, const QString& cell) {
            const qsizetype row = html.lastIndexOf(QStringLiteral("<tr>"), html.indexOf(rowMark));
            const qsizetype at = html.indexOf(cell, row);
            return row < 0 || at < 0 ? -1 : html.mid(row, at - row).count(QStringLiteral("<td>"));
        };
        QVERIFY(cellOf(QStringLiteral("1Yr"), QStringLiteral("1Yr")) > 0);
        QCOMPARE(cellOf(QStringLiteral("1Yr"), QStringLiteral("1Yr")),
                 cellOf(QStringLiteral("I(in/hr)"), intensities.mid(firstValue, 4)));
        QVERIFY(html.contains(QStringLiteral("Runoff Rate Calculations")));
        QVERIFY(!box->textCursor().hasSelection());
        QCOMPARE(box->textCursor().position(), 0);
    }

    void popupCopyFollowsTheSelection() {
        FrmViewReport* form = OpenReport(Flags());
        QVERIFY(form != nullptr);
        QTextEdit* box = Box(form);
        QMenu* popup = Named<QMenu>(form, QStringLiteral("MnuPopReportRClick"));
        QAction* copy = Named<QAction>(form, QStringLiteral("MnuPopCopy"));
        QVERIFY(popup != nullptr && copy != nullptr);
        QCOMPARE(popup->actions().size(), 2);
        QCOMPARE(popup->actions()[0]->text(), QStringLiteral("Select All"));
        QCOMPARE(popup->actions()[1]->text(), QStringLiteral("Copy"));

        auto rightClick = [&] {
            const QPoint at(30, 30);
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, box->viewport()->mapToGlobal(at));
            QApplication::sendEvent(box->viewport(), &event);
        };
        rightClick();
        QVERIFY(popup->isVisible());
        QVERIFY(!copy->isEnabled());
        popup->close();

        Trigger(form, QStringLiteral("MnuPopSelectAll"));
        rightClick();
        QVERIFY(copy->isEnabled());
        popup->close();
        Trigger(form, QStringLiteral("MnuPopCopy"));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 ToQ(WritePlainText(ToRichDocument(*box->document()))));

        // Only the selection goes, with its formatting: the banner's bold title.
        QTextCursor title(box->document());
        title.setPosition(8, QTextCursor::KeepAnchor);
        box->setTextCursor(title);
        rightClick();
        QVERIFY(copy->isEnabled());
        popup->close();
        Trigger(form, QStringLiteral("MnuPopCopy"));
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QStringLiteral("TORRENTA"));
        QVERIFY(data->data(QStringLiteral("text/rtf")).contains("\\b TORRENTA"));
    }
};

QTEST_MAIN(ReportWindowTest)
#include "ReportWindowTest.moc"
