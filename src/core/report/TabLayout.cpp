#include "report/TabLayout.h"

#include <algorithm>
#include <cmath>

#include "report/ReportFont.h"

namespace torrenta {

int FirstLineStart(const ParagraphFormat& format) {
    return format.leftIndent + format.firstLineIndent;
}

bool HangingIndentIsStop(const ParagraphFormat& format) {
    if (format.firstLineIndent >= 0) {
        return false;
    }
    const auto first = std::min_element(format.tabStops.begin(), format.tabStops.end());
    return first == format.tabStops.end() || format.leftIndent < *first;
}

std::vector<int> FirstLineStops(const ParagraphFormat& format) {
    std::vector<int> stops = format.tabStops;
    if (HangingIndentIsStop(format)) {
        stops.push_back(format.leftIndent);
    }
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
    return stops;
}

double NextTabStop(const std::vector<int>& stops, double position) {
    const auto next =
        std::find_if(stops.begin(), stops.end(), [&](int stop) { return stop > position; });
    if (next != stops.end()) {
        return *next;
    }
    return (std::floor(position / kDefaultTabTwips) + 1.0) * kDefaultTabTwips;
}

std::vector<TabSegment> LayOutFirstLine(const Paragraph& paragraph) {
    const std::vector<int> stops = FirstLineStops(paragraph.format);
    std::vector<TabSegment> segments(1);
    segments.back().start = segments.back().end = FirstLineStart(paragraph.format);
    for (const TextRun& run : paragraph.runs) {
        std::size_t from = 0;
        while (from <= run.text.size()) {
            const std::size_t tab = run.text.find('\t', from);
            const std::size_t to = tab == std::string::npos ? run.text.size() : tab;
            const std::string_view piece(run.text.data() + from, to - from);
            TabSegment& current = segments.back();
            current.text.append(piece);
            current.end += TextWidthTwips(piece, run.format);
            if (tab == std::string::npos) {
                break;
            }
            current.endsInTab = true;
            current.underlinedTab = run.format.underline;
            const double next = NextTabStop(stops, current.end);
            segments.push_back(TabSegment{{}, next, next, false, false});
            from = tab + 1;
        }
    }
    return segments;
}

}  // namespace torrenta
