#pragma once

#include <string>
#include <vector>

#include "report/RichText.h"

namespace torrenta {

// Where the pieces of a paragraph's first line stand when a word processor
// lays it out. Word processors take a hanging indent as one more tab stop on
// the first line when it comes before the first explicit stop, so a TAB typed
// left of the indent stops there first; past the last explicit stop they use
// default stops every 720 twips. The report window, its print, the plain text
// and the report's own row layout all follow this one rule. Positions are
// twips from the left margin.

inline constexpr int kDefaultTabTwips = 720;

// Where the first line's text starts.
int FirstLineStart(const ParagraphFormat& format);

// The stops a TAB on the first line can reach, ascending, without repeats:
// the explicit ones and the hanging indent where it counts as a stop.
std::vector<int> FirstLineStops(const ParagraphFormat& format);

// The hanging indent when it counts as a stop on the first line.
bool HangingIndentIsStop(const ParagraphFormat& format);

// The position a TAB at `position` moves to.
double NextTabStop(const std::vector<int>& stops, double position);

// One stretch of the first line between TABs.
struct TabSegment {
    std::string text;
    double start = 0.0;          // where it begins
    double end = 0.0;            // where its text ends
    bool underlinedTab = false;  // the TAB after it is underlined (a rule)
    bool endsInTab = false;
};

// The paragraph's text cut at its TABs, each piece placed where the TABs
// before it put it.
std::vector<TabSegment> LayOutFirstLine(const Paragraph& paragraph);

}  // namespace torrenta
