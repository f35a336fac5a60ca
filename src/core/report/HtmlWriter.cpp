#include "report/HtmlWriter.h"

#include "report/TabLayout.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace torrenta {
namespace {

void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
}

void AppendRun(std::string& out, const TextRun& run) {
    const CharFormat& f = run.format;
    out += f.bold ? "<b>" : "";
    out += f.italic ? "<i>" : "";
    out += f.underline ? "<u>" : "";
    AppendEscaped(out, run.text);
    out += f.underline ? "</u>" : "";
    out += f.italic ? "</i>" : "";
    out += f.bold ? "</b>" : "";
}

bool IsTabbed(const Paragraph& paragraph) {
    return std::any_of(paragraph.runs.begin(), paragraph.runs.end(),
                       [](const TextRun& run) { return run.text.find('\t') != std::string::npos; });
}

bool IsBold(const Paragraph& paragraph) {
    return !paragraph.runs.empty() &&
           std::all_of(paragraph.runs.begin(), paragraph.runs.end(),
                       [](const TextRun& run) { return run.format.bold; });
}

// The columns of a table: where its lines' text can start.
std::vector<double> Columns(const ParagraphFormat& format) {
    std::vector<double> columns = {static_cast<double>(FirstLineStart(format))};
    for (const int stop : FirstLineStops(format)) {
        if (stop > columns.back()) {
            columns.push_back(stop);
        }
    }
    return columns;
}

// One table row: each piece of text in the column of the stop it starts at,
// a piece past the last stop in the last column. A rule line is no row.
std::vector<std::string> RowCells(const Paragraph& paragraph, const std::vector<double>& columns) {
    std::vector<std::string> cells(columns.size());
    bool any = false;
    for (const TabSegment& segment : LayOutFirstLine(paragraph)) {
        if (segment.text.find_first_not_of(' ') == std::string::npos) {
            continue;
        }
        const auto after = std::upper_bound(columns.begin(), columns.end(), segment.start + 0.5);
        const std::size_t column = after == columns.begin() ? 0 : (after - columns.begin()) - 1;
        std::string& cell = cells[column];
        if (!cell.empty()) {
            cell += ' ';
        }
        AppendEscaped(cell, segment.text);
        any = true;
    }
    return any ? cells : std::vector<std::string>{};
}

// A table of the rows' cells, without the columns no row uses (a stop that
// only spaces a label from its values).
void AppendTable(std::string& out, const std::vector<const Paragraph*>& paragraphs,
                 const std::vector<double>& columns) {
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> bold;
    std::vector<bool> used(columns.size(), false);
    for (const Paragraph* paragraph : paragraphs) {
        std::vector<std::string> cells = RowCells(*paragraph, columns);
        if (cells.empty()) {
            continue;
        }
        for (std::size_t k = 0; k < cells.size(); ++k) {
            used[k] = used[k] || !cells[k].empty();
        }
        rows.push_back(std::move(cells));
        bold.push_back(IsBold(*paragraph));
    }
    out += "<table>\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        out += "<tr>";
        for (std::size_t k = 0; k < rows[r].size(); ++k) {
            if (used[k]) {
                out += bold[r] ? "<td><b>" : "<td>";
                out += rows[r][k];
                out += bold[r] ? "</b></td>" : "</td>";
            }
        }
        out += "</tr>\n";
    }
    out += "</table>\n";
}

}  // namespace

std::string WriteHtml(const RichDocument& document) {
    std::string out =
        "<html><head><meta charset=\"utf-8\"></head>\n"
        "<body style=\"font-family: Arial, 'Liberation Sans', sans-serif; font-size: 10pt\">\n";
    const auto& paragraphs = document.paragraphs;
    for (std::size_t i = 0; i < paragraphs.size();) {
        if (!IsTabbed(paragraphs[i])) {
            out += "<p style=\"margin: 0\">";
            for (const TextRun& run : paragraphs[i].runs) {
                AppendRun(out, run);
            }
            out += "&nbsp;</p>\n";
            ++i;
            continue;
        }
        const ParagraphFormat& format = paragraphs[i].format;
        const std::vector<double> columns = Columns(format);
        std::vector<const Paragraph*> rows;
        for (; i < paragraphs.size() && IsTabbed(paragraphs[i]) && paragraphs[i].format == format;
             ++i) {
            rows.push_back(&paragraphs[i]);
        }
        AppendTable(out, rows, columns);
    }
    out += "</body></html>\n";
    return out;
}

}  // namespace torrenta
