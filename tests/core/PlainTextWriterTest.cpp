#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/PlainTextWriter.h"
#include "report/RichText.h"

namespace torrenta {
namespace {

TEST(PlainTextWriter, LinesUpATableWithItsRuleLines) {
    RichTextBuilder builder;
    builder.SetIndents(240, 0, 0);
    builder.SetTabStops({1200, 2400, 3600});
    builder.Append("Basin\tArea\tC\tQ\n");
    builder.SetUnderline(true);
    builder.Append("\t\t\t");
    builder.SetUnderline(false);
    builder.Append("\n");
    builder.Append("B-1\t12.50\t0.83\t");
    builder.SetUnderline(true);
    builder.Append("\t");
    builder.SetUnderline(false);
    builder.Append("\nTotal\t12.50\t\t41.07\n");

    EXPECT_EQ(WritePlainText(builder.Document()),
              "  Basin   Area      C         Q\n"
              "  ---------------------------------\n"
              "  B-1     12.50     0.83\n"
              "  Total   12.50               41.07\n");
}

// A table laid out the way the report lays one out: a hanging indent that
// stops a short name's first TAB, a name that runs to its column's edge. In
// a terminal every value stands under its heading and the rule spans all.
TEST(PlainTextWriter, LinesUpAReportTableWhateverTheNames) {
    RichTextBuilder builder;
    builder.SetSize(10);
    builder.SetIndents(200, 300, 200);
    builder.SetTabStops({1500, 2700});
    builder.Append("Name\tArea\tC\n");
    builder.Append("Lot\t\t2\t0.5\n");
    builder.Append("North Parking\t3\t0.4\n");
    builder.SetUnderline(true);
    builder.Append("\t\t\t\n");
    builder.SetUnderline(false);
    builder.Append("TOTAL\t5\n");
    builder.SetTabStops({});
    builder.Append("Below");

    EXPECT_EQ(WritePlainText(builder.Document()),
              "  Name          Area      C\n"
              "  Lot           2         0.5\n"
              "  North Parking 3         0.4\n"
              "  ---------------------------\n"
              "  TOTAL         5\n"
              "  Below\n");
}

struct LineCase {
    int left;
    int hanging;
    std::vector<int> stops;
    const char* text;
    const char* line;
};

TEST(PlainTextWriter, PlacesTextAndTabsByColumn) {
    const LineCase cases[] = {
        {200, 300, {}, "x", "  x"},  // first line at 200 twips: 1.67 columns
        {60, 0, {}, "x", " x"},      // half a column rounds up
        {59, 0, {}, "x", "x"},
        {-300, 0, {}, "x", "x"},  // a first line left of the margin starts at 0
        // a text that reaches its column's end pushes the next one a blank on
        {0, 0, {1200, 2400}, "abcdefghij\tx", "abcdefghij x"},
        {0, 0, {1260}, "a\tx", "a          x"},  // stop at 10.5 columns
        {0, 0, {2400, 1200}, "a\tb\tc", "a         b         c"},
        // past the last stop the default stops every 720 twips take over
        {0, 0, {600}, "a\tb\tc", "a    b      c"},
        // columns as a terminal shows them: one for a letter, two for a CJK
        // character, none for a combining accent
        {0, 0, {600}, "\xC3\xA9\xE6\x97\xA5\tx", "\xC3\xA9\xE6\x97\xA5  x"},
        {0, 0, {600}, "e\xCC\x81\tx", "e\xCC\x81    x"},
        {0, 0, {}, "a\x01-\x7F", "a-"},
        {0, 0, {600}, "a  \t ", "a"},  // trailing blanks trimmed
        {480, 0, {}, "\t", ""},        // an indent alone is a trailing blank
    };
    for (const auto& c : cases) {
        RichTextBuilder builder;
        builder.SetIndents(c.left, c.hanging, 0);
        builder.SetTabStops(c.stops);
        builder.Append(c.text);
        EXPECT_EQ(WritePlainText(builder.Document()), std::string(c.line) + "\n") << c.text;
    }
}

TEST(PlainTextWriter, ARuleGoesOnToTheDefaultStops) {
    RichTextBuilder builder;
    builder.SetTabStops({480});
    builder.SetUnderline(true);
    builder.Append("\t\tx");
    EXPECT_EQ(WritePlainText(builder.Document()), "------x\n");
}

struct EndingCase {
    const char* text;
    const char* plain;
};

TEST(PlainTextWriter, EndsEveryLineButAnEmptyLastOne) {
    const EndingCase cases[] = {
        {"", ""},       {"\n", "\n"},       {"a", "a\n"},
        {"a\n", "a\n"}, {"a\n\n", "a\n\n"}, {"a\r\nb\rc\n\rd", "a\nb\nc\n\nd\n"},
    };
    for (const auto& c : cases) {
        RichTextBuilder builder;
        builder.Append(c.text);
        EXPECT_EQ(WritePlainText(builder.Document()), c.plain) << c.text;
    }
}

}  // namespace
}  // namespace torrenta
