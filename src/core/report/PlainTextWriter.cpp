#include "report/PlainTextWriter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "report/TabLayout.h"
#include "text/DisplayWidth.h"

namespace torrenta {
namespace {

constexpr double kTwipsPerColumn = 120.0;

int Column(double twips) {
    return std::max(0, static_cast<int>(std::lround(twips / kTwipsPerColumn)));
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// The text a terminal shows: control characters dropped.
std::string Printable(const std::string& text) {
    std::string result;
    for (const char c : text) {
        if (!IsControl(c)) {
            result += c;
        }
    }
    return result;
}

// Columns a text takes in a terminal: two for a CJK character, none for an
// accent that sits on its letter.
int Width(const std::string& text) {
    return DisplayWidth(text);
}

void PadTo(std::string& line, int& column, int target, char fill) {
    if (target > column) {
        line.append(static_cast<std::size_t>(target - column), fill);
        column = target;
    }
}

void TrimRight(std::string& line) {
    line.erase(line.find_last_not_of(' ') + 1);
}

bool IsEmpty(const Paragraph& paragraph) {
    return std::all_of(paragraph.runs.begin(), paragraph.runs.end(),
                       [](const TextRun& run) { return run.text.empty(); });
}

struct Row {
    std::vector<TabSegment> segments;
    bool tabbed = false;  // holds a TAB: a row of the table
    bool rule = false;    // nothing but underlined TABs
};

Row LayOut(const Paragraph& paragraph) {
    Row row{LayOutFirstLine(paragraph), false, false};
    for (TabSegment& segment : row.segments) {
        segment.text = Printable(segment.text);
    }
    row.tabbed = row.segments.size() > 1;
    row.rule = row.tabbed &&
               std::all_of(row.segments.begin(), row.segments.end(), [](const TabSegment& segment) {
                   return segment.text.empty() && (segment.underlinedTab || !segment.endsInTab);
               });
    return row;
}

// Lines up one run of paragraphs that share their format. Every place a
// piece of text starts (its tab stop, as a word processor reaches it) becomes
// a column, at least as far from the one before as the stops are apart and
// far enough right that every text before it ends with a blank.
std::vector<std::string> WriteTable(const std::vector<Row>& rows) {
    std::map<double, int> columns;
    for (const Row& row : rows) {
        if (row.tabbed) {
            for (const TabSegment& segment : row.segments) {
                columns.emplace(segment.start, 0);
            }
        }
    }
    // Widths measured from each text's own start need the starts first, so
    // the columns are settled left to right.
    std::map<double, std::vector<std::pair<double, int>>> endsBefore;
    for (const Row& row : rows) {
        for (std::size_t k = 0; row.tabbed && k + 1 < row.segments.size(); ++k) {
            if (!row.segments[k].text.empty()) {
                endsBefore[row.segments[k + 1].start].push_back(
                    {row.segments[k].start, Width(row.segments[k].text) + 1});
            }
        }
    }
    std::optional<std::pair<double, int>> previous;
    for (auto& [twips, column] : columns) {
        column = Column(twips);
        if (previous) {
            column = std::max(column, previous->second + Column(twips) - Column(previous->first));
        }
        for (const auto& [start, width] : endsBefore[twips]) {
            column = std::max(column, columns[start] + width);
        }
        previous = {twips, column};
    }

    std::vector<std::string> lines;
    int tableWidth = 0;
    for (const Row& row : rows) {
        std::string line;
        int column = 0;
        if (!row.tabbed) {
            PadTo(line, column, Column(row.segments.front().start), ' ');
            line += row.segments.front().text;
        } else if (!row.rule) {
            // Tabs after the last text lead nowhere: no trailing fill.
            std::size_t last = row.segments.size();
            while (last > 0 && row.segments[last - 1].text.empty()) {
                --last;
            }
            bool underlined = false;
            for (std::size_t k = 0; k < last; ++k) {
                const TabSegment& segment = row.segments[k];
                PadTo(line, column, columns[segment.start], underlined ? '-' : ' ');
                line += segment.text;
                column += Width(segment.text);
                underlined = segment.underlinedTab;
            }
            TrimRight(line);
            tableWidth = std::max(tableWidth, Width(line));
        }
        lines.push_back(std::move(line));
    }
    // A rule runs under the whole table.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].rule) {
            int column = 0;
            PadTo(lines[i], column, columns[rows[i].segments.front().start], ' ');
            const int reach = columns[rows[i].segments.back().start];
            PadTo(lines[i], column, std::max(tableWidth, reach), '-');
        }
        TrimRight(lines[i]);
    }
    return lines;
}

}  // namespace

std::string WritePlainText(const RichDocument& document) {
    std::string text;
    const auto& paragraphs = document.paragraphs;
    std::size_t count = paragraphs.size();
    // An empty last paragraph is the one a final line break opens; the "\n" of
    // the line before already ends the text.
    if (count > 0 && IsEmpty(paragraphs[count - 1])) {
        --count;
    }
    for (std::size_t first = 0; first < count;) {
        std::size_t end = first + 1;
        while (end < count && paragraphs[end].format == paragraphs[first].format) {
            ++end;
        }
        std::vector<Row> rows;
        for (std::size_t i = first; i < end; ++i) {
            rows.push_back(LayOut(paragraphs[i]));
        }
        for (const std::string& line : WriteTable(rows)) {
            text += line;
            text += '\n';
        }
        first = end;
    }
    return text;
}

}  // namespace torrenta
