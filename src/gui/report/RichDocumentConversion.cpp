#include "report/RichDocumentConversion.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QVariant>
#include <algorithm>
#include <cmath>

#include "common/QtText.h"
#include "report/TabLayout.h"

namespace torrenta::gui {

namespace {

constexpr double kTwipsPerInch = 1440.0;

// The page footer rides on the shown document, so what the user edits still
// prints with its project's name.
constexpr const char* kFootedProperty = "torrentaFooted";
constexpr const char* kProjectNameProperty = "torrentaProjectName";
constexpr const char* kJobNumberProperty = "torrentaJobNumber";
constexpr const char* kSolvedProperty = "torrentaSolved";

// What the composer told of each paragraph rides on its block, so the printed
// pages keep the same headings with their tables as the saved RTF does.
constexpr int kRoleProperty = QTextFormat::UserProperty + 1;
constexpr int kKeepWithNextProperty = QTextFormat::UserProperty + 2;

// The report is Arial. Where Arial is missing, a metric twin stands in so the
// tables keep the widths they were laid out for. Only installed faces are
// named first: asked for an absent "Arial", Qt's font matching may settle on
// a wider face before it ever tries the twins. Arial stays last for programs
// that read the clipboard's HTML on another system.
const QStringList& ReportFamilies() {
    static const QStringList families = [] {
        QStringList found;
        for (const char* family :
             {"Arial", "Liberation Sans", "Arimo", "Nimbus Sans", "Helvetica"}) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
                found.append(QString::fromLatin1(family));
            }
        }
        if (!found.contains(QStringLiteral("Arial"))) {
            found.append(QStringLiteral("Arial"));
        }
        return found;
    }();
    return families;
}

qreal TwipsToDocument(int twips) {
    return twips * DocumentDpi() / kTwipsPerInch;
}

int DocumentToTwips(qreal length) {
    return static_cast<int>(std::lround(length * kTwipsPerInch / DocumentDpi()));
}

QTextCharFormat ToQtFormat(const CharFormat& format) {
    QTextCharFormat result;
    result.setFontFamilies(ReportFamilies());
    result.setFontStyleHint(QFont::SansSerif);
    result.setFontPointSize(format.size);
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    result.setForeground(QColor::fromRgb(format.color));
    return result;
}

// Text pasted from elsewhere may leave attributes unset (they then come from
// the document's default font) or give sizes in pixels.
CharFormat FromQtFormat(const QTextCharFormat& format, const QFont& defaultFont) {
    CharFormat result;
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        result.size = format.fontPointSize();
    } else if (format.hasProperty(QTextFormat::FontPixelSize)) {
        result.size = format.intProperty(QTextFormat::FontPixelSize) * 72.0 / DocumentDpi();
    } else if (defaultFont.pointSizeF() > 0) {
        result.size = defaultFont.pointSizeF();
    } else {
        result.size = defaultFont.pixelSize() * 72.0 / DocumentDpi();
    }
    result.bold =
        (format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight()
                                                     : defaultFont.weight()) >= QFont::DemiBold;
    result.italic =
        format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : defaultFont.italic();
    if (format.hasProperty(QTextFormat::TextUnderlineStyle)) {
        result.underline = format.underlineStyle() != QTextCharFormat::NoUnderline;
    } else {
        result.underline = defaultFont.underline();
    }
    const QBrush foreground = format.foreground();
    result.color =
        foreground.style() == Qt::NoBrush ? kBlack : (foreground.color().rgb() & 0xFFFFFF);
    return result;
}

QTextBlockFormat ToQtFormat(const ParagraphFormat& format) {
    QTextBlockFormat result;
    result.setLeftMargin(TwipsToDocument(format.leftIndent));
    result.setTextIndent(TwipsToDocument(format.firstLineIndent));
    result.setRightMargin(TwipsToDocument(format.rightIndent));
    // Qt knows no stop at a hanging indent; word processors stop a first-line
    // TAB there, so the view spells that stop out to lay out as they do. Qt
    // also measures stops from where the line starts, word processors from
    // the margin.
    std::vector<int> stops = format.tabStops;
    if (HangingIndentIsStop(format)) {
        stops.insert(stops.begin(), format.leftIndent);
    }
    QList<QTextOption::Tab> tabs;
    for (const int stop : stops) {
        tabs.append(
            QTextOption::Tab(TwipsToDocument(stop - FirstLineStart(format)), QTextOption::LeftTab));
    }
    result.setTabPositions(tabs);
    return result;
}

QTextBlockFormat ToQtBlockFormat(const Paragraph& paragraph) {
    QTextBlockFormat result = ToQtFormat(paragraph.format);
    if (paragraph.role != ParagraphRole::Body) {
        result.setProperty(kRoleProperty, static_cast<int>(paragraph.role));
    }
    if (paragraph.keepWithNext) {
        result.setProperty(kKeepWithNextProperty, true);
    }
    return result;
}

ParagraphRole RoleOf(const QTextBlockFormat& format) {
    switch (format.intProperty(kRoleProperty)) {
        case static_cast<int>(ParagraphRole::Title):
            return ParagraphRole::Title;
        case static_cast<int>(ParagraphRole::Heading):
            return ParagraphRole::Heading;
        default:
            return ParagraphRole::Body;
    }
}

ParagraphFormat FromQtFormat(const QTextBlockFormat& format, qreal indentWidth) {
    ParagraphFormat result;
    result.leftIndent = DocumentToTwips(format.leftMargin() + format.indent() * indentWidth);
    result.firstLineIndent = DocumentToTwips(format.textIndent());
    result.rightIndent = DocumentToTwips(format.rightMargin());
    for (const QTextOption::Tab& tab : format.tabPositions()) {
        result.tabStops.push_back(DocumentToTwips(tab.position) + FirstLineStart(result));
    }
    // The stop the view added at the hanging indent is implied again.
    if (!result.tabStops.empty() && result.tabStops.front() == result.leftIndent) {
        ParagraphFormat implied = result;
        implied.tabStops.erase(implied.tabStops.begin());
        if (HangingIndentIsStop(implied)) {
            result = implied;
        }
    }
    return result;
}

void AppendRun(Paragraph& paragraph, std::string text, const CharFormat& format) {
    if (text.empty()) {
        return;
    }
    if (!paragraph.runs.empty() && paragraph.runs.back().format == format) {
        paragraph.runs.back().text += text;
    } else {
        paragraph.runs.push_back({std::move(text), format});
    }
}

// Adds fragment text to the last paragraph. A line break typed with Shift+Enter
// has no place in the model and becomes a paragraph break; embedded objects
// (pasted pictures) are dropped.
void AppendText(RichDocument& document, const QString& text, const CharFormat& format) {
    QString pending;
    for (const QChar c : text) {
        if (c == QChar::LineSeparator) {
            AppendRun(document.paragraphs.back(), FromQ(pending), format);
            pending.clear();
            const Paragraph& before = document.paragraphs.back();
            document.paragraphs.push_back(
                Paragraph{before.format, {}, before.role, before.keepWithNext});
        } else if (c != QChar::ObjectReplacementCharacter) {
            pending += c;
        }
    }
    AppendRun(document.paragraphs.back(), FromQ(pending), format);
}

}  // namespace

double DocumentDpi() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        return std::round(screen->logicalDotsPerInchY());
    }
    return 96.0;
}

void FillDocument(QTextDocument& target, const RichDocument& document) {
    target.setProperty(kFootedProperty, document.footer.has_value());
    const PageFooter footer = document.footer.value_or(PageFooter{});
    target.setProperty(kProjectNameProperty, ToQ(footer.projectName));
    target.setProperty(kJobNumberProperty, ToQ(footer.jobNumber));
    target.setProperty(kSolvedProperty, ToQ(footer.solved));
    const bool undo = target.isUndoRedoEnabled();
    target.setUndoRedoEnabled(false);
    target.clear();

    QFont font(ReportFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(CharFormat{}.size);
    target.setDefaultFont(font);
    QTextOption option = target.defaultTextOption();
    option.setTabStopDistance(TwipsToDocument(kDefaultTabTwips));
    target.setDefaultTextOption(option);

    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    CharFormat current;
    bool first = true;
    for (const Paragraph& paragraph : document.paragraphs) {
        // The paragraph mark takes the format in force where the paragraph
        // starts, so an empty line is as tall as the RTF writer's \par makes it.
        const CharFormat mark = paragraph.runs.empty() ? current : paragraph.runs.front().format;
        if (first) {
            cursor.setBlockFormat(ToQtBlockFormat(paragraph));
            cursor.setBlockCharFormat(ToQtFormat(mark));
            first = false;
        } else {
            cursor.insertBlock(ToQtBlockFormat(paragraph), ToQtFormat(mark));
        }
        for (const TextRun& run : paragraph.runs) {
            cursor.insertText(ToQ(run.text), ToQtFormat(run.format));
            current = run.format;
        }
    }
    cursor.endEditBlock();
    target.setUndoRedoEnabled(undo);
}

RichDocument ToRichDocument(const QTextDocument& source, int start, int end) {
    const int last = source.characterCount() - 1;
    start = std::clamp(start, 0, last);
    end = std::clamp(end, start, last);

    RichDocument result;
    result.paragraphs.clear();
    const QFont defaultFont = source.defaultFont();
    for (QTextBlock block = source.findBlock(start); block.isValid() && block.position() <= end;
         block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        result.paragraphs.push_back(Paragraph{FromQtFormat(format, source.indentWidth()),
                                              {},
                                              RoleOf(format),
                                              format.boolProperty(kKeepWithNextProperty)});
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) {
                continue;
            }
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from < to) {
                AppendText(result, fragment.text().mid(from - fragment.position(), to - from),
                           FromQtFormat(fragment.charFormat(), defaultFont));
            }
        }
    }
    if (result.paragraphs.empty()) {
        result.paragraphs.emplace_back();
    }
    if (start == 0 && end == last) {
        result.footer = FooterOf(source);
    }
    return result;
}

RichDocument ToRichDocument(const QTextDocument& source) {
    return ToRichDocument(source, 0, source.characterCount() - 1);
}

std::vector<Paragraph> PageFlowOf(const QTextDocument& source) {
    std::vector<Paragraph> flow;
    flow.reserve(static_cast<std::size_t>(source.blockCount()));
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        Paragraph paragraph;
        paragraph.role = RoleOf(format);
        paragraph.keepWithNext = format.boolProperty(kKeepWithNextProperty);
        paragraph.runs.push_back({FromQ(block.text()), CharFormat{}});
        flow.push_back(std::move(paragraph));
    }
    return flow;
}

std::optional<PageFooter> FooterOf(const QTextDocument& source) {
    if (!source.property(kFootedProperty).toBool()) {
        return std::nullopt;
    }
    return PageFooter{source.property(kProjectNameProperty).toString().toStdString(),
                      source.property(kJobNumberProperty).toString().toStdString(),
                      source.property(kSolvedProperty).toString().toStdString()};
}

}  // namespace torrenta::gui
