// The report's tables read right outside the program: the saved RTF laid out
// by LibreOffice, and the report window's print, are read back word by word
// with their positions (pdftotext -bbox-layout), and every row must stay on
// one line with each value in its heading's column.

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "DesktopRun.h"
#include "GuiTestSupport.h"
#include "SampleRows.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "common/CommandBoundary.h"
#include "common/QtText.h"
#include "common/Resources.h"
#include "editing/NetworkEditing.h"
#include "report/FrmViewReport.h"
#include "report/ReportComposer.h"
#include "report/RichTextPrinter.h"
#include "report/RtfWriter.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"

using namespace torrenta;
using namespace torrenta::gui;
using namespace torrenta::test;

namespace {

constexpr const char* kTable = "Atlanta";

struct Word {
    QString text;
    double left = 0;
    double baseline = 0;
    int page = 0;
};

using Line = std::vector<Word>;

// The words of a PDF in reading lines: same page, same baseline, left to right.
QString Joined(const Line& line) {
    QStringList texts;
    for (const Word& word : line) {
        texts << word.text;
    }
    return texts.join(u' ');
}

std::vector<Line> PdfLines(const QString& pdf) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-bbox-layout"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
        qWarning("pdftotext failed on %s", qPrintable(pdf));
        return {};
    }
    const QString xml = QString::fromUtf8(tool.readAllStandardOutput());
    static const QRegularExpression token(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="[\d.]+" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<Word> words;
    int page = 0;
    for (auto it = token.globalMatch(xml); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(0) == QStringLiteral("<page ")) {
            ++page;
            continue;
        }
        QString text = match.captured(3);
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        words.push_back({text, match.captured(1).toDouble(), match.captured(2).toDouble(), page});
    }
    std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
        return a.page != b.page ? a.page < b.page : a.baseline < b.baseline;
    });
    std::vector<Line> lines;
    for (const Word& word : words) {
        if (lines.empty() || lines.back().front().page != word.page ||
            word.baseline - lines.back().front().baseline > 2.0) {
            lines.emplace_back();
        }
        lines.back().push_back(word);
    }
    // The page footers stand between a page's last line and the next page's
    // first; they are no row of any table.
    static const QRegularExpression footer(QStringLiteral(R"re(Page \d+ of \d+$)re"));
    std::vector<Line> body;
    for (Line& line : lines) {
        std::sort(line.begin(), line.end(),
                  [](const Word& a, const Word& b) { return a.left < b.left; });
        if (!footer.match(Joined(line)).hasMatch()) {
            body.push_back(line);
        }
    }
    return body;
}

// One row the report should show: its cells' texts and the heading each
// stands under (-1: left of the first heading, a row label).
struct Row {
    QStringList cells;
    std::vector<int> columns;
};

struct Table {
    QStringList headings;
    std::vector<Row> rows;
    QString fullNames;  // the line under a table that cut a name, wrapped or not
};

QStringList Cells(const Paragraph& paragraph) {
    QString text;
    for (const TextRun& run : paragraph.runs) {
        text += ToQ(run.text);
    }
    QStringList cells;
    for (const QString& cell : text.split(u'\t')) {
        if (!cell.trimmed().isEmpty()) {
            cells << cell.trimmed();
        }
    }
    return cells;
}

// The tables of a composed report with their rows. Data rows hold a value
// under every heading, in order; a TOTAL row's columns are named.
std::vector<Table> TablesOf(const RichDocument& document) {
    const struct {
        QStringList headings;
        std::vector<int> totalColumns;
        bool labelled;  // rows start with a label left of the headings
    } kinds[] = {
        {{"Name", "Area", "Slope", "L", "Type", "n", "Tc"}, {0, 1, 3, 6}, false},
        {{"Name", "Use", "a", "a/A", "C", "CA"}, {0, 2, 5}, false},
        {{"Name", "Type", "Slope", "Length", "V(fps)", "Tc(min)"}, {0, 3, 5}, false},
        {{"Name", "L", "n", "Material", "S", "A", "WP", "V", "Tc"}, {0, 1, 8}, false},
        {{"1Yr", "2Yr", "5Yr", "10Yr", "25Yr", "50Yr", "100Yr"}, {}, true},
        {{"Name", "Tag", "Kind", "Downstream", "Tt(min)", "T(min)"}, {}, false},
        {{"Point", "A(ac)", "C", "Tc(min)", "Q1", "Q2", "Q5", "Q10", "Q25", "Q50", "Q100"},
         {},
         false},
    };
    std::vector<Table> tables;
    std::vector<std::ptrdiff_t> order;
    const auto& paragraphs = document.paragraphs;
    for (const auto& kind : kinds) {
        const auto heading = std::find_if(paragraphs.begin(), paragraphs.end(),
                                          [&](const auto& p) { return Cells(p) == kind.headings; });
        if (heading == paragraphs.end()) {
            continue;
        }
        Table table{kind.headings, {}, {}};
        for (auto p = heading + 1; p != paragraphs.end() && p->format == heading->format; ++p) {
            const QStringList cells = Cells(*p);
            if (cells.isEmpty()) {
                continue;
            }
            if (cells.front().startsWith(QStringLiteral("Full names: "))) {
                table.fullNames = cells.front();
                break;
            }
            Row row{cells, {}};
            if (cells.front() == QStringLiteral("TOTAL")) {
                row.columns = kind.totalColumns;
            } else {
                for (int k = 0; k < cells.size(); ++k) {
                    row.columns.push_back(kind.labelled ? k - 1 : k);
                }
            }
            table.rows.push_back(row);
        }
        tables.push_back(table);
        order.push_back(heading - paragraphs.begin());
    }
    // In the order the report shows them, as the pages are read.
    std::vector<std::size_t> byPlace(tables.size());
    for (std::size_t k = 0; k < byPlace.size(); ++k) {
        byPlace[k] = k;
    }
    std::sort(byPlace.begin(), byPlace.end(),
              [&](std::size_t a, std::size_t b) { return order[a] < order[b]; });
    std::vector<Table> sorted;
    for (const std::size_t k : byPlace) {
        sorted.push_back(tables[k]);
    }
    return sorted;
}

// Where each cell of `row` starts on `line`, or why the line is not the row.
std::vector<double> CellStarts(const Line& line, const Row& row, QString& why) {
    std::vector<double> starts;
    std::size_t w = 0;
    for (const QString& cell : row.cells) {
        const QStringList parts = cell.split(u' ', Qt::SkipEmptyParts);
        if (w + parts.size() > line.size()) {
            why = QStringLiteral("the line ends before \"%1\"").arg(cell);
            return {};
        }
        starts.push_back(line[w].left);
        for (const QString& part : parts) {
            if (line[w++].text != part) {
                why = QStringLiteral("\"%1\" reads \"%2\"").arg(part, line[w - 1].text);
                return {};
            }
        }
    }
    if (w != line.size()) {
        why = QStringLiteral("more words than cells");
        return {};
    }
    return starts;
}

// Every table's heading is found, each of its rows is the next line below
// it, whole, and every value starts at or right of its heading's left edge
// and left of the next heading's.
void CheckColumns(const QString& pdf, const std::vector<Table>& tables) {
    const std::vector<Line> lines = PdfLines(pdf);
    QVERIFY2(!lines.empty(), qPrintable(pdf));
    std::size_t at = 0;
    for (const Table& table : tables) {
        while (at < lines.size() && Joined(lines[at]) != table.headings.join(u' ')) {
            ++at;
        }
        QVERIFY2(at < lines.size(), qPrintable(pdf + ": no heading " + table.headings.join(u' ')));
        std::vector<double> headingLeft;
        for (const Word& word : lines[at]) {
            headingLeft.push_back(word.left);
        }
        headingLeft.push_back(1e9);
        for (const Row& row : table.rows) {
            ++at;
            QVERIFY2(at < lines.size(), qPrintable(row.cells.join(u' ')));
            QString why;
            const std::vector<double> starts = CellStarts(lines[at], row, why);
            QVERIFY2(!starts.empty(),
                     qPrintable(QStringLiteral("%1: row \"%2\" is not one line: %3 "
                                               "(line \"%4\")")
                                    .arg(pdf, row.cells.join(u'|'), why, Joined(lines[at]))));
            for (std::size_t k = 0; k < starts.size(); ++k) {
                const int column = row.columns[k];
                const double from = column < 0 ? 0 : headingLeft[column] - 0.5;
                const double to = headingLeft[column + 1];
                QVERIFY2(starts[k] >= from && starts[k] < to,
                         qPrintable(QStringLiteral("%1: \"%2\" starts at %3, outside %4's column "
                                                   "(%5 to %6)")
                                        .arg(pdf, row.cells[k])
                                        .arg(starts[k])
                                        .arg(column < 0 ? QStringLiteral("the label")
                                                        : table.headings[column])
                                        .arg(from)
                                        .arg(to)));
            }
        }
        // The full names follow the last row, over as many lines as they wrap to.
        if (!table.fullNames.isEmpty()) {
            QString read;
            while (read.size() < table.fullNames.size() && ++at < lines.size()) {
                read += (read.isEmpty() ? QString() : QStringLiteral(" ")) + Joined(lines[at]);
            }
            QCOMPARE(read, table.fullNames);
        }
    }
}

BasinRow Basin(const std::string& name, const std::string& area) {
    BasinRow basin = SampleBasin("Basin" + name);
    basin.BasinName = basin.SoilType = basin.BasinNType = name;
    basin.Area = area;
    return basin;
}

SurfaceRow Surface(const std::string& name) {
    SurfaceRow surface = SampleSurface("Surface" + name);
    surface.SurfName = surface.SurfType = name;
    return surface;
}

ChannelRow Channel(const std::string& name) {
    ChannelRow channel = SampleChannel("Channel" + name);
    channel.ChannelName = channel.ChannelMaterial = name;
    return channel;
}

}  // namespace

class ReportColumnsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    QTemporaryDir office_;

    std::string NewProject(const std::string& file) {
        const std::string project = folder_->NewProjectFile(file);
        ProjectInfoRow info;
        info.ProjectName = "Maple Ridge Subdivision";
        info.DesignEngineer = "A. Rivera, P.E.";
        SaveProjectSetup(project, info, "Outlet", kTable);
        return project;
    }

    // The sample network, and one that holds names at their longest in wide
    // and narrow letters and short ones, in every table.
    std::vector<std::string> Projects() {
        const std::string sample = NewProject("sample.rmt");
        InsertElementRow(sample, SampleBasin());
        BasinRow street = SampleBasin("Basin2");
        street.BasinName = "Maple Street Parking";
        street.SoilType = "Streets: Asphalt";
        street.BasinNType = "Smooth Surfaces";
        street.Area = "1";
        street.BasinN = "0.011";
        InsertElementRow(sample, street);
        InsertElementRow(sample, SampleSurface());
        InsertElementRow(sample, SampleChannel());

        const std::string names = NewProject("names.rmt");
        for (const std::string& name :
             {std::string(20, 'W'), std::string(20, 'M'), std::string(20, 'i'),
              std::string(20, 'l'), std::string("Lot"), std::string("W"),
              std::string("North Parking Lot Area"), std::string("Rear Lot Swale")}) {
            InsertElementRow(names, Basin(name, "2.5"));
            InsertElementRow(names, Surface(name));
            InsertElementRow(names, Channel(name));
        }
        // A network: two design points, names cut in its own tables too.
        const std::string network = NewProject("network.rmt");
        InsertElementRow(network, SampleBasin());
        InsertElementRow(network, street);
        InsertElementRow(network, SampleSurface());
        InsertElementRow(network, SampleChannel());
        const std::string inlet =
            AddDesignPoint(network, std::string(20, 'W'), "inlet", "Outlet", -1, -1).tag;
        const std::string junction =
            AddDesignPoint(network, "Lot", "junction", "Outlet", -1, -1).tag;
        SetDrainsTo(network, "Basin1", inlet);
        SetDrainsTo(network, "Basin2", inlet);
        SetDrainsTo(network, inlet, junction);
        return {sample, names, network};
    }

    RichDocument Composed(const std::string& project) const {
        return ComposeReport({project, folder_->AppFolder(), kTable, SolveNetwork(project)})
            .document;
    }

    // LibreOffice lays the saved RTF out as a word processor does.
    QString ThroughLibreOffice(const QString& rtf) {
        QProcess office;
        office.start(
            QStringLiteral("soffice"),
            {QStringLiteral("-env:UserInstallation=file://") + office_.path(),
             QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
             QStringLiteral("--outdir"), ToQ(folder_->AppFolder()), rtf});
        if (!office.waitForFinished(180000) || office.exitCode() != 0) {
            qWarning("soffice failed: %s", office.readAllStandardError().constData());
        }
        QString pdf = rtf;
        pdf.replace(QRegularExpression(QStringLiteral("\\.rtf$")), QStringLiteral(".pdf"));
        return pdf;
    }

    // Prints the report of `project` from the report window into a PDF.
    QString ThroughPrint(const std::string& project, const QString& pdf) {
        CurrentSession().ProjectPath = project;
        Forms::CloseAll();
        Settle();
        const bool shown =
            RunCommand(nullptr, [&] { FrmViewReport::ShowReport(SolveNetwork(project)); });
        FrmViewReport* form = Forms::Find<FrmViewReport>();
        if (!shown || form == nullptr) {
            qWarning("no report window");
            return {};
        }
        SetPrinterFactory([pdf] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            printer->setPageSize(QPageSize(QPageSize::Letter));
            return printer;
        });
        Trigger(form, QStringLiteral("TbPrint"));
        return pdf;
    }

  private slots:
    void initTestCase() {
        LoadResources();
        for (const char* tool : {"soffice", "pdftotext"}) {
            QVERIFY2(QProcess::execute(QStringLiteral("sh"),
                                       {QStringLiteral("-c"),
                                        QStringLiteral("command -v %1 >/dev/null").arg(tool)}) == 0,
                     qPrintable(
                         QStringLiteral("%1 is missing: scripts/deps test installs it").arg(tool)));
        }
        StartRun(folder_, prompts_);
        CurrentSession().IntensityTableName = kTable;
    }

    void cleanupTestCase() {
        Forms::CloseAll();
        Settle();
        SetPrinterFactory({});
        prompts_.reset();
        folder_.reset();
    }

    void everyValueStandsUnderItsHeading() {
        for (const std::string& project : Projects()) {
            const RichDocument document = Composed(project);
            const std::vector<Table> tables = TablesOf(document);
            QCOMPARE(tables.size(), std::size_t{project.ends_with("network.rmt") ? 7u : 5u});
            // The names project cuts names in every element table.
            for (std::size_t k = 0; k < 4 && project.ends_with("names.rmt"); ++k) {
                QVERIFY(!tables[k].fullNames.isEmpty());
            }
            const QString base = ToQ(project).replace(QStringLiteral(".rmt"), QString());

            const QString rtf = base + QStringLiteral(".rtf");
            QFile file(rtf);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromStdString(WriteRtf(document)));
            file.close();
            CheckColumns(ThroughLibreOffice(rtf), tables);
            if (QTest::currentTestFailed()) {
                return;
            }
            CheckColumns(ThroughPrint(project, base + QStringLiteral("-print.pdf")), tables);
            if (QTest::currentTestFailed()) {
                return;
            }
        }
    }
};

QTEST_MAIN(ReportColumnsTest)
#include "ReportColumnsTest.moc"
