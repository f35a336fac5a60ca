// Arbitrary text through the leading-number reading, and the number it yields
// (and the input's first eight bytes taken as a double) through the three
// formats, checking what every caller relies on.
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "Errors.h"
#include "FuzzCheck.h"
#include "text/NumberText.h"

namespace torrenta::fuzz {
namespace {

std::string Show(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", value);
    return buf;
}

bool SameNumber(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Everything after the optional sign, split at the point.
struct Parts {
    bool negative = false;
    std::string_view integer;
    std::string_view fraction;
    bool hasPoint = false;
};

Parts Split(std::string_view text) {
    Parts parts;
    if (!text.empty() && text.front() == '-') {
        parts.negative = true;
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    parts.hasPoint = point != std::string_view::npos;
    parts.integer = text.substr(0, point);
    if (parts.hasPoint) {
        parts.fraction = text.substr(point + 1);
    }
    return parts;
}

void CheckFixed(double value) {
    for (int decimals = 0; decimals <= 4; ++decimals) {
        const std::string text = FormatFixed(value, decimals);
        const auto context = [&] {
            return Show(value) + " with " + std::to_string(decimals) + " decimals -> \"" +
                   Escaped(text) + "\"";
        };
        const Parts parts = Split(text);
        Require(AllDigits(parts.integer), "FormatFixed: integer part is digits", context);
        Require(parts.integer.size() == 1 || parts.integer.front() != '0',
                "FormatFixed: no leading zeros", context);
        Require(parts.hasPoint == (decimals > 0), "FormatFixed: a point exactly when decimals",
                context);
        Require(parts.fraction.size() == static_cast<std::size_t>(decimals) &&
                    (decimals == 0 || AllDigits(parts.fraction)),
                "FormatFixed: exactly the decimals asked for", context);
        // Read in extended precision: the 15-digit rounding of the largest
        // doubles lies beyond the double range.
        const long double back = std::strtold(text.c_str(), nullptr);
        Require(!(parts.negative && back == 0.0L), "FormatFixed: never a negative zero", context);
        Require(back == 0.0L || std::signbit(back) == std::signbit(value),
                "FormatFixed: keeps the sign", context);
        // Off by at most half the last decimal, after the 15-digit rounding.
        const long double tolerance =
            0.5L * std::pow(10.0L, -decimals) * (1 + 1e-9L) + std::fabs(value) * 1e-14L;
        Require(std::fabs(back - value) <= tolerance, "FormatFixed: rounds to the nearest",
                context);
    }
}

void CheckGeneral(double value) {
    const std::string text = GeneralNumberText(value);
    const auto context = [&] { return Show(value) + " -> \"" + Escaped(text) + "\""; };
    const auto e = text.find('E');
    const std::string_view mantissa = std::string_view(text).substr(0, e);
    const Parts parts = Split(mantissa);
    Require(AllDigits(parts.integer), "GeneralNumberText: integer part is digits", context);
    Require(!parts.hasPoint || (AllDigits(parts.fraction) && parts.fraction.back() != '0'),
            "GeneralNumberText: no trailing zeros or bare point", context);
    const std::string digits = std::string(parts.integer) + std::string(parts.fraction);
    const auto first = digits.find_first_not_of('0');
    const std::size_t significant =
        first == std::string::npos ? 1 : digits.find_last_not_of('0') + 1 - first;
    Require(significant <= 15, "GeneralNumberText: at most 15 significant digits", context);
    if (e != std::string::npos) {
        const std::string_view exponent = std::string_view(text).substr(e + 1);
        Require(parts.integer.size() == 1 && parts.integer != "0",
                "GeneralNumberText: exponent form has one leading digit", context);
        Require(exponent.size() >= 3 && (exponent[0] == '+' || exponent[0] == '-') &&
                    AllDigits(exponent.substr(1)),
                "GeneralNumberText: exponent is E, sign and two or more digits", context);
    } else {
        Require(parts.integer.size() == 1 || parts.integer.front() != '0',
                "GeneralNumberText: no leading zeros", context);
    }
    const double back = LeadingNumber(text);
    Require(std::fabs(back - value) <= std::fabs(value) * 1e-14 + DBL_TRUE_MIN,
            "GeneralNumberText: reads back as the value", context);
    if (back != 0.0) {
        const bool exponentForm = std::fabs(back) < 1e-4 || std::fabs(back) >= 1e15;
        Require(exponentForm == (e != std::string::npos),
                "GeneralNumberText: exponent form exactly below 1e-4 and from 1e15", context);
    }
}

void CheckSingle(double value) {
    if (!(std::fabs(value) <= FLT_MAX)) {
        return;
    }
    const auto single = static_cast<float>(value);
    const std::string text = SingleText(single);
    const auto context = [&] { return Show(single) + " -> \"" + Escaped(text) + "\""; };
    Require(text.find_first_not_of("0123456789.-e+") == std::string::npos,
            "SingleText: plain number characters", context);
    Require(std::strtof(text.c_str(), nullptr) == single,
            "SingleText: reads back as the same single", context);
    Require(LeadingNumber(text) == static_cast<double>(single) ||
                static_cast<float>(LeadingNumber(text)) == single,
            "SingleText: the leading-number reading gets the same single back", context);
}

void CheckFormats(double value) {
    if (!std::isfinite(value)) {
        for (int which = 0; which < 3; ++which) {
            try {
                switch (which) {
                    case 0:
                        FormatFixed(value, 2);
                        break;
                    case 1:
                        GeneralNumberText(value);
                        break;
                    default:
                        SingleText(static_cast<float>(value));
                        break;
                }
            } catch (const InputError&) {
                continue;
            }
            Fail("formats refuse a value that is not finite", Show(value));
        }
        return;
    }
    CheckFixed(value);
    CheckGeneral(value);
    CheckSingle(value);
}

// The number at the start of the text as the C library reads it: the same
// grammar (blanks, sign, digits with an optional point, an exponent only when
// it has digits) cut out by hand and given to strtod, overflow pinned to the
// largest double.
double ReferenceReading(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos) {
        return 0.0;
    }
    const std::size_t start = i;
    if (text[i] == '+' || text[i] == '-') {
        ++i;
    }
    const auto digitsFrom = [&](std::size_t at) {
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            ++at;
        }
        return at;
    };
    std::size_t end = digitsFrom(i);
    bool anyDigit = end > i;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = digitsFrom(end + 1);
        anyDigit = anyDigit || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!anyDigit) {
        return 0.0;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t j = end + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        const std::size_t exponentEnd = digitsFrom(j);
        if (exponentEnd > j) {
            end = exponentEnd;
        }
    }
    const std::string number(text.substr(start, end - start));
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isinf(value) ? std::copysign(DBL_MAX, value) : value;
}

void CheckReading(std::string_view text) {
    const double value = LeadingNumber(text);
    const auto context = [&] { return "\"" + Escaped(text) + "\" -> " + Show(value); };
    Require(std::isfinite(value), "LeadingNumber: always finite", context);
    Require(value == ReferenceReading(text), "LeadingNumber: reads what strtod reads",
            [&] { return context() + ", strtod " + Show(ReferenceReading(text)); });
    // What follows the number never changes it, nor do leading blanks.
    Require(SameNumber(LeadingNumber(std::string(text) + "x"), value),
            "LeadingNumber: trailing text is ignored", context);
    Require(SameNumber(LeadingNumber(" \t" + std::string(text)), value),
            "LeadingNumber: leading blanks are skipped", context);
    const bool signable =
        text.empty() || std::string_view(" \t+-").find(text[0]) == std::string_view::npos;
    if (signable) {
        Require(LeadingNumber("-" + std::string(text)) == -value,
                "LeadingNumber: a minus sign negates", context);
    }
    CheckFormats(value);
}

}  // namespace
}  // namespace torrenta::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    torrenta::fuzz::CheckReading(text);
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        torrenta::fuzz::CheckFormats(raw);
    }
    return 0;
}
