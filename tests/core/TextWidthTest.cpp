#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Errors.h"
#include "text/DisplayWidth.h"
#include "text/NameText.h"
#include "text/Utf8Text.h"

namespace torrenta {
namespace {

// Columns as a terminal shows them, and where a cut may fall: first three
// clusters, and the text without its last one.
TEST(TextWidth, CountsTerminalColumnsAndCutsBetweenClusters) {
    const struct {
        const char* label;
        std::string text;
        int width;
        std::string firstThree;
        std::string withoutLast;
    } cases[] = {
        {"ASCII", "Lot 7", 5, "Lot", "Lot "},
        {"Latin-1 letters", "\u00C9t\u00E9", 3, "\u00C9t\u00E9", "\u00C9t"},
        {"CJK takes two columns", "\u96E8\u6C34\u6392\u6C34", 8, "\u96E8\u6C34\u6392",
         "\u96E8\u6C34\u6392"},
        {"Hangul and fullwidth", "\uD55C\uFF21x", 5, "\uD55C\uFF21x", "\uD55C\uFF21"},
        {"combining accents stay on their letter", "Ame\u0301lie\u0300", 6, "Ame\u0301",
         "Ame\u0301li"},
        {"two marks on one letter", "e\u0301\u0323x", 2, "e\u0301\u0323x", "e\u0301\u0323"},
        {"emoji with a skin tone", "a\U0001F44D\U0001F3FDb", 4, "a\U0001F44D\U0001F3FDb",
         "a\U0001F44D\U0001F3FD"},
        {"emoji joined by ZWJ", "\U0001F468\u200D\U0001F469x", 5, "\U0001F468\u200D\U0001F469x",
         "\U0001F468\u200D\U0001F469"},
        {"control characters take no column and never join", "a\t\u0301b", 2, "a\t\u0301",
         "a\t\u0301"},
        {"a bad byte shows as one mark", "a\xE9z", 3, "a\xE9z", "a\xE9"},
        {"empty", "", 0, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DisplayWidth(c.text), c.width);
        EXPECT_EQ(FirstClusters(c.text, 3), c.firstThree);
        const std::vector<std::size_t> ends = ClusterEnds(c.text);
        EXPECT_EQ(c.text.substr(0, ends.size() < 2 ? 0 : ends[ends.size() - 2]), c.withoutLast);
    }
}

// Cutting any text to any room from none to its own width: the result is the
// longest that fits (or is the mark alone), keeps whole clusters, never ends in a space before
// the mark, and a text with nothing in it stays empty.
TEST(TextWidth, CutsAnyTextToAnyWidthBetweenClusters) {
    const std::string mark = "\u2026";
    const struct {
        const char* label;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"one letter", "x"},
        {"one accented cluster", "e\u0301\u0323"},
        {"combining marks", "Ame\u0301lie\u0300 Nord"},
        {"wide letters", "\u96E8\u6C34\u6392\u6C34\u8DEF"},
        {"emoji joined by ZWJ", "a \U0001F468\u200D\U0001F469 b"},
        {"spaces", "Lot 7 North"},
    };
    for (const auto& c : cases) {
        const std::vector<std::size_t> ends = ClusterEnds(c.text);
        for (int width = 0; width <= DisplayWidth(c.text); ++width) {
            SCOPED_TRACE(std::string(c.label) + " at " + std::to_string(width));
            const auto fits = [&](const std::string& piece) {
                return DisplayWidth(piece) <= width;
            };
            const std::string cut = CutToFit(c.text, mark, fits);
            if (c.text.empty()) {
                EXPECT_EQ(cut, "");
                continue;
            }
            ASSERT_GE(cut.size(), mark.size());
            EXPECT_EQ(cut.substr(cut.size() - mark.size()), mark);
            const std::string kept = cut.substr(0, cut.size() - mark.size());
            EXPECT_TRUE(kept.empty() || fits(cut));
            EXPECT_EQ(c.text.compare(0, kept.size(), kept), 0);
            EXPECT_TRUE(kept.empty() ||
                        std::find(ends.begin(), ends.end(), kept.size()) != ends.end());
            EXPECT_TRUE(kept.empty() || kept.back() != ' ');
            EXPECT_LT(kept.size(), c.text.size());
            // and it is the longest such cut
            for (const std::size_t end : ends) {
                if (end > kept.size() && end < c.text.size() && c.text[end - 1] != ' ') {
                    EXPECT_FALSE(fits(c.text.substr(0, end) + mark)) << end;
                }
            }
        }
    }
}

// A kept text of more than its limit ends in an ellipsis as its last letter,
// accents whole; at the limit it is kept as it is.
TEST(TextWidth, AKeptTextIsCutToItsLimitInLetters) {
    const std::string long200k(200000, 'x');
    EXPECT_EQ(DisplayWidth(OneLineText(long200k, 500)), 500);
    EXPECT_EQ(OneLineText(long200k, 500).substr(499), "\u2026");
    EXPECT_EQ(OneLineText("abc", 3), "abc");
    EXPECT_EQ(OneLineText("abcd", 3), "ab\u2026");
    EXPECT_EQ(OneLineText("e\u0301e\u0301e\u0301e\u0301", 3), "e\u0301e\u0301\u2026");
    EXPECT_EQ(OneLineText("abcd", 1), "\u2026");
}

// Strict UTF-8: each bad sequence becomes one U+FFFD (its longest start that
// could have been UTF-8), and control characters make a text more than one
// line, shown as spaces.
TEST(TextWidth, TellsUtf8AndOneLineTextFromTheRest) {
    const std::string fffd = "\uFFFD";
    const struct {
        const char* label;
        std::string text;
        bool utf8;
        bool oneLine;
        std::string replaced;
        std::string asSpaces;
    } cases[] = {
        {"plain", "Basin 1", true, true, "Basin 1", "Basin 1"},
        {"every length of sequence", "\u00E9\u65E5\U0001F327", true, true, "\u00E9\u65E5\U0001F327",
         "\u00E9\u65E5\U0001F327"},
        {"largest character", "\U0010FFFF", true, true, "\U0010FFFF", "\U0010FFFF"},
        {"Latin-1 byte", "Caf\xE9", false, false, "Caf" + fffd, "Caf\xE9"},
        {"overlong slash", "\xC0\xAF", false, false, fffd + fffd, "\xC0\xAF"},
        {"overlong three bytes", "\xE0\x80\xAF", false, false, fffd + fffd + fffd, "\xE0\x80\xAF"},
        {"surrogate", "a\xED\xA0\x80z", false, false, "a" + fffd + fffd + fffd + "z",
         "a\xED\xA0\x80z"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", false, false, fffd + fffd + fffd + fffd,
         "\xF4\x90\x80\x80"},
        {"cut sequence", "x\xE6\x97", false, false, "x" + fffd, "x\xE6\x97"},
        {"lone continuation", "\x80x", false, false, fffd + "x", "\x80x"},
        {"TAB", "Lot\t7", true, false, "Lot\t7", "Lot 7"},
        {"CR LF", "a\r\nb", true, false, "a\r\nb", "a  b"},
        {"other C0", std::string("a\0b\x1B", 4), true, false, std::string("a\0b\x1B", 4), "a b "},
        {"DEL and NEL", "a\x7F\u0085b", true, false, "a\x7F\u0085b", "a  b"},
        {"line and paragraph separators", "a\u2028b\u2029", true, false, "a\u2028b\u2029", "a b "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(IsValidUtf8(c.text), c.utf8);
        EXPECT_EQ(ReplaceInvalidUtf8(c.text), c.replaced);
        EXPECT_EQ(ControlsAsSpaces(c.text), c.asSpaces);
        // A text kept from outside is one line of UTF-8 whatever it held.
        const std::string kept = OneLineText(c.text, 0);
        EXPECT_TRUE(IsValidUtf8(kept));
        EXPECT_FALSE(HoldsControlCharacter(kept));
        if (c.oneLine) {
            EXPECT_NO_THROW(RequireOneLineText(c.text, "The name"));
        } else {
            EXPECT_THROW(RequireOneLineText(c.text, "The name"), InputError);
        }
    }
}

}  // namespace
}  // namespace torrenta
