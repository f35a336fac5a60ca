#include "report/RichTextPrinter.h"

#include "report/PageFlow.h"
#include "report/RichDocumentConversion.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace torrenta::gui {

namespace {

constexpr double kTwipsPerInch = 1440.0;

PrinterFactory& InstalledFactory() {
    static PrinterFactory factory;
    return factory;
}

int TwipsToDevice(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

// The page a line of the laid-out copy stands on.
int PageOf(const QTextBlock& block, int line, qreal pageHeight) {
    const QTextLayout* layout = block.layout();
    if (layout == nullptr || layout->lineCount() == 0) {
        return -1;
    }
    const qreal y = layout->position().y() + layout->lineAt(line).y();
    return static_cast<int>(std::floor((y + 0.5) / pageHeight));
}

// Where a line of the laid-out copy starts and ends, from the top of page 1.
qreal LineTop(const QTextBlock& block, int line) {
    return block.layout()->position().y() + block.layout()->lineAt(line).y();
}

qreal LineBottom(const QTextBlock& block, int line) {
    return LineTop(block, line) + block.layout()->lineAt(line).height();
}

// Finds the first heading that ends a page while what it holds together
// continues on the next, and makes it start that next page itself. What a
// heading holds together: a title its whole block (a table, the runoff rates)
// when that fits on one page, any heading the first line of what it heads.
// False when there is none.
bool MoveOneHeading(QTextDocument& document, const std::vector<Paragraph>& flow, qreal pageHeight) {
    document.pageCount();  // lays the whole copy out before positions are read
    const auto at = [&](const QTextBlock& block) -> const Paragraph& {
        return flow[static_cast<std::size_t>(block.blockNumber())];
    };
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (!IsHeading(at(block)) || block.layout() == nullptr ||
            block.layout()->lineCount() == 0) {
            continue;
        }
        QTextBlock next = block.next();
        while (next.isValid() && !HasContent(at(next))) {
            next = next.next();
        }
        if (!next.isValid()) {
            continue;
        }
        const qreal top = LineTop(block, 0);
        const int headingPage = PageOf(block, 0, pageHeight);
        int endPage = PageOf(next, 0, pageHeight);
        if (IsTitle(at(block))) {
            const QTextBlock last = document.findBlockByNumber(static_cast<int>(
                TitleBlockEnd(flow, static_cast<std::size_t>(block.blockNumber()))));
            const int lastLine = last.layout()->lineCount() - 1;
            if (lastLine >= 0 && LineBottom(last, lastLine) - top <= pageHeight) {
                endPage = std::max(endPage, PageOf(last, lastLine, pageHeight));
            }
        }
        // A heading already at the top of its page stays: the page it would
        // go to could not hold more of what follows.
        const bool atPageTop = top < headingPage * pageHeight + 1.0;
        if (endPage <= headingPage || atPageTop) {
            continue;
        }
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
        return true;
    }
    return false;
}

// Keeps every heading on the page of what it heads, and a table or the runoff
// rates whole on one page where they fit: no "Runoff Rate Calculations" alone
// at the foot of a page, no table cut in two. Moving a table's column headings
// may leave its title behind, so the search starts again after each move; each
// heading moves at most once, since a moved heading starts its page.
void KeepHeadingsWithNext(QTextDocument& document, qreal pageHeight) {
    const std::vector<Paragraph> flow = PageFlowOf(document);
    for (int moves = 0; moves < document.blockCount() && MoveOneHeading(document, flow, pageHeight);
         ++moves) {
    }
}

// The footer's line at the foot of the band under the text: the project on
// the left, the page number on the right.
void DrawFooter(QPainter& painter, const PageFooter& footer, const QFont& reportFont,
                const QRect& target, int band, int page, int pages) {
    QFont font(reportFont);
    font.setPointSizeF(kFooterPoints);
    font.setBold(false);
    font.setUnderline(false);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRect line(target.left(), target.bottom() + 1, target.width(), band);
    const QString number = QString::fromStdString(PageNumberText(page, pages));
    // A long project name is cut short of the page number, never drawn over it.
    const QFontMetrics metrics(font, painter.device());
    const int room = line.width() - metrics.horizontalAdvance(number) -
                     metrics.horizontalAdvance(QStringLiteral("    "));
    painter.drawText(line, Qt::AlignLeft | Qt::AlignBottom,
                     metrics.elidedText(QString::fromStdString(PageFooterText(footer)),
                                        Qt::ElideRight, room > 0 ? room : 0));
    painter.drawText(line, Qt::AlignRight | Qt::AlignBottom, number);
    painter.restore();
}

}  // namespace

std::unique_ptr<QPrinter> DefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return nullptr;
    }
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void SetPrinterFactory(PrinterFactory factory) {
    InstalledFactory() = std::move(factory);
}

std::unique_ptr<QPrinter> CreatePrinter() {
    const PrinterFactory& factory = InstalledFactory();
    return factory ? factory() : DefaultPrinter();
}

QRect PrintTargetRect(const QSize& sheetPixels, double dpiX, double dpiY, int left, int top,
                      int right, int bottom) {
    const int x = TwipsToDevice(left, dpiX);
    const int y = TwipsToDevice(top, dpiY);
    const int width = sheetPixels.width() - TwipsToDevice(right, dpiX) - x;
    const int height = sheetPixels.height() - TwipsToDevice(bottom, dpiY) - y;
    if (width <= 0 || height <= 0) {
        return {};
    }
    return {x, y, width, height};
}

bool PrintRichText(QTextDocument& document, QPrinter& printer, int left, int top, int right,
                   int bottom) {
    // Full page puts the painter's origin on the sheet's corner, so the margins
    // are measured from the paper's edges whatever the printer cannot reach.
    printer.setFullPage(true);
    const QSize sheet = printer.paperRect(QPrinter::DevicePixel).size().toSize();
    const std::optional<PageFooter> footer = FooterOf(document);
    const QRect target = PrintTargetRect(sheet, printer.logicalDpiX(), printer.logicalDpiY(), left,
                                         top, right, bottom + (footer ? kFooterBand : 0));
    if (target.isEmpty()) {
        return false;
    }

    // A copy laid out on the printer: measured at the printer's resolution and
    // cut into pages of the target's height, so page i holds the lines from
    // i × height on and no line is split or repeated between pages.
    const std::unique_ptr<QTextDocument> copy(document.clone());
    QAbstractTextDocumentLayout* layout = copy->documentLayout();
    layout->setPaintDevice(&printer);
    // Laid out on the printer, Qt scales fonts and tab stops to its
    // resolution but takes paragraph indents as printer dots: without this a
    // first line would start 200 twips in on screen and 16 on paper.
    const qreal scale = printer.logicalDpiX() / DocumentDpi();
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        format.setLeftMargin(format.leftMargin() * scale);
        format.setRightMargin(format.rightMargin() * scale);
        format.setTextIndent(format.textIndent() * scale);
        QTextCursor(block).setBlockFormat(format);
    }
    copy->setDocumentMargin(0);
    copy->setPageSize(target.size());
    KeepHeadingsWithNext(*copy, target.height());
    const int pages = copy->pageCount();

    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            return false;
        }
        const QRectF view(0, page * target.height(), target.width(), target.height());
        painter.save();
        painter.translate(target.left(), target.top() - view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        // The first line of the next page starts exactly on this page's lower
        // edge, and the layout draws a line that touches the clip; drawn there
        // it would be cut off on paper but still sit in the page's text (a PDF
        // would hold it twice). A clip a pixel inside the page keeps each line
        // on its own page only.
        context.clip = view.adjusted(0, 1, 0, -1);
        // Paper is white whatever the desktop's colours are.
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        painter.restore();
        if (footer) {
            DrawFooter(painter, *footer, copy->defaultFont(), target,
                       TwipsToDevice(kFooterBand, printer.logicalDpiY()), page + 1, pages);
        }
    }
    const bool ended = painter.end();
    return ended && printer.printerState() != QPrinter::Error &&
           printer.printerState() != QPrinter::Aborted;
}

QString PrintFailureReason(const QPrinter& printer) {
    if (!printer.outputFileName().isEmpty()) {
        return QStringLiteral("The file %1 could not be written.")
            .arg(QDir::toNativeSeparators(printer.outputFileName()));
    }
    if (printer.printerName().isEmpty()) {
        return QStringLiteral("The printer did not accept the report.");
    }
    return QStringLiteral("The printer %1 did not accept the report.").arg(printer.printerName());
}

}  // namespace torrenta::gui
