#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/PageFlow.h"
#include "report/RichText.h"

namespace torrenta {
namespace {

// "T:" starts a title, "H:" a heading, anything else is body text; "" is an
// empty line.
std::vector<Paragraph> Lines(const std::vector<std::string>& lines) {
    std::vector<Paragraph> paragraphs;
    for (const std::string& line : lines) {
        Paragraph paragraph;
        std::string text = line;
        if (line.rfind("T:", 0) == 0 || line.rfind("H:", 0) == 0) {
            paragraph.role = line[0] == 'T' ? ParagraphRole::Title : ParagraphRole::Heading;
            text = line.substr(2);
        }
        if (!text.empty()) {
            paragraph.runs.push_back({text, CharFormat{}});
        }
        paragraphs.push_back(paragraph);
    }
    return paragraphs;
}

// A title keeps its block, which two empty lines do not end and three do; a
// heading keeps the first line it heads, across empty lines; a title right
// before another keeps only up to it.
TEST(PageFlow, KeepsTitlesWithTheirBlocksAndHeadingsWithTheirFirstLine) {
    const struct {
        const char* label;
        std::vector<std::string> lines;
        std::string kept;  // k: kept with the next paragraph
    } cases[] = {
        {"a gap of two stays in the block, three end it",
         {"T:Title", "", "H:Name\tC", "a\t1", "", "", "c\t3", "", "", "", "after"},
         "kkkkkk....."},
        {"a rule line keeps its total across empty lines", {"a", "H:\t\t\t", "", "TOTAL"}, ".kk."},
        {"a title before a title", {"T:Overland Flow", "", "T:Time", "H:Name", "a"}, "kkkk."},
        {"no heading keeps nothing", {"a", "", "b"}, "..."},
        {"a heading at the end has nothing to keep", {"a", "H:Name"}, ".."},
    };
    for (const auto& c : cases) {
        std::vector<Paragraph> paragraphs = Lines(c.lines);
        MarkKeepWithNext(paragraphs);
        std::string kept;
        for (const Paragraph& paragraph : paragraphs) {
            kept += paragraph.keepWithNext ? 'k' : '.';
        }
        EXPECT_EQ(kept, c.kept) << c.label;
    }
}

}  // namespace
}  // namespace torrenta
