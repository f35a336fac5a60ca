#include "report/ReportFont.h"

#include <array>
#include <cstdint>

#include "text/DisplayWidth.h"

namespace torrenta {
namespace {

constexpr double kUnitsPerEm = 2048.0;
constexpr double kTwipsPerPoint = 20.0;
constexpr char32_t kFirst = 0x20;
constexpr char32_t kLast = 0xFF;
// Characters beyond Latin-1 count as a full em, wider than any Latin letter,
// so a name in another script is shortened rather than allowed to overrun.
constexpr std::uint16_t kUnknownAdvance = 2048;

// Advance widths in font units (2048 to the em) of U+0020 to U+00FF; the C1
// controls have none. Italic faces share the upright widths.
constexpr std::array<std::uint16_t, kLast - kFirst + 1> kRegular = {
    569,  569,  727,  1139, 1139, 1821, 1366, 391,  682,  682,  797,  1196, 569,  682,  569,  569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 569,  569,  1196, 1196, 1196, 1139,
    2079, 1366, 1366, 1479, 1479, 1366, 1251, 1593, 1479, 569,  1024, 1366, 1139, 1706, 1479, 1593,
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 569,  569,  569,  961,  1139,
    682,  1139, 1139, 1024, 1139, 1139, 569,  1139, 1139, 455,  455,  1024, 455,  1706, 1139, 1139,
    1139, 1139, 682,  1024, 569,  1139, 1024, 1479, 1024, 1024, 1024, 684,  532,  684,  1196, 0,
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    569,  682,  1139, 1139, 1139, 1139, 532,  1139, 682,  1509, 758,  1139, 1196, 682,  1509, 1131,
    819,  1124, 682,  682,  682,  1180, 1100, 569,  682,  682,  748,  1139, 1708, 1708, 1708, 1251,
    1366, 1366, 1366, 1366, 1366, 1366, 2048, 1479, 1366, 1366, 1366, 1366, 569,  569,  569,  569,
    1479, 1479, 1593, 1593, 1593, 1593, 1593, 1196, 1593, 1479, 1479, 1479, 1479, 1366, 1366, 1251,
    1139, 1139, 1139, 1139, 1139, 1139, 1821, 1024, 1139, 1139, 1139, 1139, 569,  569,  569,  569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1124, 1251, 1139, 1139, 1139, 1139, 1024, 1139, 1024,
};
constexpr std::array<std::uint16_t, kLast - kFirst + 1> kBold = {
    569,  682,  971,  1139, 1139, 1821, 1479, 487,  682,  682,  797,  1196, 569,  682,  569,  569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 682,  682,  1196, 1196, 1196, 1251,
    1997, 1479, 1479, 1479, 1479, 1366, 1251, 1593, 1479, 569,  1139, 1479, 1251, 1706, 1479, 1593,
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 682,  569,  682,  1196, 1139,
    682,  1139, 1251, 1139, 1251, 1139, 682,  1251, 1251, 569,  569,  1139, 569,  1821, 1251, 1251,
    1251, 1251, 797,  1139, 682,  1251, 1139, 1593, 1139, 1139, 1024, 797,  573,  797,  1196, 0,
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    569,  682,  1139, 1139, 1139, 1139, 573,  1139, 682,  1509, 758,  1139, 1196, 682,  1509, 1131,
    819,  1124, 682,  682,  682,  1180, 1139, 569,  682,  682,  748,  1139, 1708, 1708, 1708, 1251,
    1479, 1479, 1479, 1479, 1479, 1479, 2048, 1479, 1366, 1366, 1366, 1366, 569,  569,  569,  569,
    1479, 1479, 1593, 1593, 1593, 1593, 1593, 1196, 1593, 1479, 1479, 1479, 1479, 1366, 1366, 1251,
    1139, 1139, 1139, 1139, 1139, 1139, 1821, 1139, 1139, 1139, 1139, 1139, 569,  569,  569,  569,
    1251, 1251, 1251, 1251, 1251, 1251, 1251, 1124, 1251, 1251, 1251, 1251, 1251, 1139, 1251, 1139,
};

// Decodes one UTF-8 sequence leniently: a broken byte counts as one character.
char32_t Next(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t value = more == 3   ? lead & 0x07
                     : more == 2 ? lead & 0x0F
                     : more == 1 ? lead & 0x1F
                                 : lead;
    for (; more > 0 && pos < text.size(); --more) {
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80) {
            break;
        }
        value = (value << 6) | (next & 0x3F);
        ++pos;
    }
    return value;
}

}  // namespace

double TextWidthTwips(std::string_view utf8, const CharFormat& format) {
    const auto& advances = format.bold ? kBold : kRegular;
    double units = 0.0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = Next(utf8, pos);
        if (c < kFirst) {
            continue;
        }
        if (c <= kLast) {
            units += advances[c - kFirst];
        } else if (CharacterWidth(c) > 0) {
            // Combining accents sit on their letter and take no room of their own.
            units += kUnknownAdvance;
        }
    }
    return units / kUnitsPerEm * format.size * kTwipsPerPoint;
}

}  // namespace torrenta
