#include "text/DisplayWidth.h"

#include <algorithm>
#include <iterator>

#include "text/NameText.h"
#include "text/Utf8Text.h"

namespace torrenta {
namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Nonspacing and enclosing marks of the scripts an engineer's names are
// likely to use, format characters that take no room, variation selectors
// and emoji skin-tone modifiers.
constexpr Range kZeroWidth[] = {
    {0x0300, 0x036F},   {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF},   {0x05C1, 0x05C2},
    {0x05C4, 0x05C5},   {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F},   {0x0670, 0x0670},
    {0x06D6, 0x06DC},   {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED},   {0x0711, 0x0711},
    {0x0730, 0x074A},   {0x0900, 0x0902}, {0x093A, 0x093A}, {0x093C, 0x093C},   {0x0941, 0x0948},
    {0x094D, 0x094D},   {0x0951, 0x0957}, {0x0962, 0x0963}, {0x0E31, 0x0E31},   {0x0E34, 0x0E3A},
    {0x0E47, 0x0E4E},   {0x1160, 0x11FF}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},   {0x200B, 0x200F},
    {0x202A, 0x202E},   {0x2060, 0x2064}, {0x20D0, 0x20FF}, {0x302A, 0x302D},   {0x3099, 0x309A},
    {0xFE00, 0xFE0F},   {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0x1F3FB, 0x1F3FF}, {0xE0000, 0xE007F},
    {0xE0100, 0xE01EF},
};

// East Asian Wide and Fullwidth characters, emoji presented as pictures.
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F265}, {0x1F300, 0x1F3FA},
    {0x1F400, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF},
    {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

constexpr char32_t kZeroWidthJoiner = 0x200D;

template <std::size_t N>
bool InRanges(const Range (&ranges)[N], char32_t character) {
    const auto* after =
        std::upper_bound(std::begin(ranges), std::end(ranges), character,
                         [](char32_t value, const Range& range) { return value < range.first; });
    return after != std::begin(ranges) && character <= std::prev(after)->last;
}

}  // namespace

int CharacterWidth(char32_t character) {
    // Names and numbers are mostly ASCII: a letter takes one column, a
    // control character none, without a look in the tables.
    if (character < 0x80) {
        return IsControlCharacter(character) ? 0 : 1;
    }
    if (IsControlCharacter(character) || InRanges(kZeroWidth, character)) {
        return 0;
    }
    return InRanges(kWide, character) ? 2 : 1;
}

int DisplayWidth(std::string_view utf8) {
    int width = 0;
    for (std::size_t position = 0; position < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[position]);
        if (byte < 0x80) {
            width += CharacterWidth(byte);
            ++position;
            continue;
        }
        const Utf8Character character = DecodeUtf8(utf8, position);
        width += character.valid ? CharacterWidth(character.value) : 1;
        position += character.length;
    }
    return width;
}

std::size_t ClusterEnd(std::string_view utf8, std::size_t position) {
    if (position >= utf8.size()) {
        return utf8.size();
    }
    // An ASCII letter followed by another (or by nothing) is a cluster of its
    // own: nothing ASCII attaches to what comes before it.
    const auto isAscii = [&](std::size_t at) {
        return static_cast<unsigned char>(utf8[at]) < 0x80;
    };
    if (isAscii(position) && (position + 1 == utf8.size() || isAscii(position + 1))) {
        return position + 1;
    }
    Utf8Character character = DecodeUtf8(utf8, position);
    position += character.length;
    bool joined = false;
    while (position < utf8.size()) {
        const Utf8Character next = DecodeUtf8(utf8, position);
        const bool attaches =
            next.valid && !IsControlCharacter(next.value) &&
            (joined || next.value == kZeroWidthJoiner || InRanges(kZeroWidth, next.value));
        if (!character.valid || IsControlCharacter(character.value) || !attaches) {
            break;
        }
        joined = next.value == kZeroWidthJoiner;
        character = next;
        position += next.length;
    }
    return position;
}

std::string FirstClusters(std::string_view utf8, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t clusters = 0; end < utf8.size() && clusters < count; ++clusters) {
        end = ClusterEnd(utf8, end);
    }
    return std::string(utf8.substr(0, end));
}

std::vector<std::size_t> ClusterEnds(std::string_view utf8) {
    std::vector<std::size_t> ends;
    for (std::size_t end = 0; end < utf8.size();) {
        end = ClusterEnd(utf8, end);
        ends.push_back(end);
    }
    return ends;
}

std::string CutToFit(std::string_view utf8, std::string_view mark,
                     const std::function<bool(const std::string&)>& fits) {
    if (utf8.empty()) {
        return {};
    }
    // Every end but the last (the whole text) is a place to cut. A longer
    // piece is never narrower, so the longest that fits is found by halving;
    // from there the cut steps back past any blank it would end on.
    const std::vector<std::size_t> ends = ClusterEnds(utf8);
    const auto candidate = [&](std::size_t i) {
        return std::string(utf8.substr(0, ends[i])) + std::string(mark);
    };
    std::size_t fitting = 0;  // pieces ends[0..fitting) fit
    std::size_t tooLong = ends.size() - 1;
    while (fitting < tooLong) {
        const std::size_t middle = fitting + (tooLong - fitting) / 2;
        if (fits(candidate(middle))) {
            fitting = middle + 1;
        } else {
            tooLong = middle;
        }
    }
    for (std::size_t i = fitting; i > 0; --i) {
        if (utf8[ends[i - 1] - 1] != ' ') {
            return candidate(i - 1);
        }
    }
    return std::string(mark);
}

}  // namespace torrenta
