#include "report/PlainTextWriter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace torrenta {
namespace {

constexpr double kTwipsPerColumn = 120.0;

int Column(int twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerColumn));
}

// The nearest tab stop right of the current column; stops are taken as a set,
// so one listed out of order still counts.
std::optional<int> NextStopColumn(const std::vector<int>& stops, int column) {
    std::optional<int> next;
    for (const int stop : stops) {
        const int stopColumn = Column(stop);
        if (stopColumn > column && (!next || stopColumn < *next)) {
            next = stopColumn;
        }
    }
    return next;
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

std::string Line(const Paragraph& paragraph) {
    const ParagraphFormat& format = paragraph.format;
    int column = std::max(0, Column(format.leftIndent + format.firstLineIndent));
    std::string line(static_cast<std::size_t>(column), ' ');
    for (const auto& run : paragraph.runs) {
        for (const char c : run.text) {
            if (c == '\t') {
                const std::optional<int> stop = NextStopColumn(format.tabStops, column);
                if (!stop) {
                    line += ' ';
                    ++column;
                    continue;
                }
                // An underlined tab is how the report draws a rule line.
                line.append(static_cast<std::size_t>(*stop - column),
                            run.format.underline ? '-' : ' ');
                column = *stop;
            } else if (IsControl(c)) {
                continue;
            } else {
                line += c;
                if (!IsContinuationByte(c)) {
                    ++column;
                }
            }
        }
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

bool IsEmpty(const Paragraph& paragraph) {
    return std::all_of(paragraph.runs.begin(), paragraph.runs.end(),
                       [](const TextRun& run) { return run.text.empty(); });
}

}  // namespace

std::string WritePlainText(const RichDocument& document) {
    std::string text;
    const auto& paragraphs = document.paragraphs;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        // An empty last paragraph is the one a final line break opens; the "\n"
        // of the line before already ends the text.
        if (i + 1 == paragraphs.size() && IsEmpty(paragraphs[i])) {
            break;
        }
        text += Line(paragraphs[i]);
        text += '\n';
    }
    return text;
}

}  // namespace torrenta
