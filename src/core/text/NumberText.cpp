#include "text/NumberText.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "Errors.h"

namespace torrenta {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A double's 15-significant-digit decimal form: the digits (no point) and the
// power of ten of the first one. 0.825 -> {"825000000000000", -1}.
struct DecimalForm {
    std::string digits;
    int exponent = 0;
};

constexpr std::size_t kSignificantDigits = 15;

DecimalForm FifteenDigits(double magnitude) {
    char buf[40];
    // A normal double's shortest round-trip digits, when there are at most
    // fifteen, are its fifteen-digit rounding: the value lies within half a
    // unit in its last bit of them, and that is less than half a step of
    // fifteen digits. Most numbers a report shows (0.35, 3480, 12.5) take this
    // way, at a fraction of the cost of rounding to a precision.
    if (magnitude >= DBL_MIN) {
        const auto shortest =
            std::to_chars(buf, buf + sizeof buf - 1, magnitude, std::chars_format::scientific);
        *shortest.ptr = '\0';
        DecimalForm form;
        const char* p = buf;
        for (; *p != 'e'; ++p) {
            if (IsDigit(*p)) {
                form.digits.push_back(*p);
            }
        }
        if (form.digits.size() <= kSignificantDigits) {
            form.digits.resize(kSignificantDigits, '0');
            const char* exponent = p + 1 + (p[1] == '+' ? 1 : 0);
            std::from_chars(exponent, shortest.ptr, form.exponent);
            return form;
        }
    }
    // to_chars rounds exactly as printf's %.14e and writes the same text.
    *std::to_chars(buf, buf + sizeof buf - 1, magnitude, std::chars_format::scientific,
                   kSignificantDigits - 1)
         .ptr = '\0';
    DecimalForm form;
    const char* p = buf;
    for (; *p != 'e'; ++p) {
        if (IsDigit(*p)) {
            form.digits.push_back(*p);
        }
    }
    const char* exponent = p + 1 + (p[1] == '+' ? 1 : 0);
    std::from_chars(exponent, buf + std::char_traits<char>::length(buf), form.exponent);
    return form;
}

void RequireFinite(double value) {
    if (!std::isfinite(value)) {
        throw InputError("A result is not a finite number; check the input values.");
    }
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t integerDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++integerDigits;
    }
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++fractionDigits;
        }
    }
    if (integerDigits + fractionDigits == 0) {
        return 0.0;
    }
    std::size_t end = i;
    // Saturates far beyond any power of ten a double or a text's leading zeros
    // can reach, so the range decision below stays right without overflowing.
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                if (exponent < 1'000'000'000'000'000) {
                    exponent = exponent * 10 + (text[j] - '0');
                }
                ++j;
            }
            exponent = negativeExponent ? -exponent : exponent;
            end = j;
        }
    }

    double magnitude = 0.0;
    const char* first = text.data() + mantissaStart;
    const char* last = text.data() + end;
    const auto result = std::from_chars(first, last, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: decide by the power of ten of the
        // first significant digit (leading zeros do not count, "000001e-330" is
        // tiny), clamping overflow so no infinity escapes into a computation.
        const std::size_t lead = std::string_view(first, last - first)
                                     .substr(0, integerDigits + fractionDigits + 1)
                                     .find_first_of("123456789");
        if (lead != std::string_view::npos) {
            const long long leadPower =
                lead < integerDigits ? exponent + static_cast<long long>(integerDigits - lead) - 1
                                     : exponent - static_cast<long long>(lead - integerDigits);
            magnitude = leadPower > 0 ? DBL_MAX : 0.0;
        }
    }
    return negative ? -magnitude : magnitude;
}

std::string FormatFixed(double value, int decimals) {
    RequireFinite(value);
    // Rounding |value| x 10^decimals half up gives the digits of rounding its
    // fifteen-digit form unless the value lies within a few parts in 10^15 of
    // a half, where the two may part: those, and values too large for a
    // whole number of 15 digits, take the decimal form. A report's numbers
    // are nearly all of the first kind.
    constexpr double kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (decimals >= 0 && decimals < static_cast<int>(std::size(kPowers))) {
        const double scaled = std::fabs(value) * kPowers[decimals];
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        if (scaled < 1e14 && std::fabs(fraction - 0.5) > 1e-14 * std::max(scaled, 1.0)) {
            const auto rounded = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);
            char buf[32];
            const auto written = std::to_chars(buf, buf + sizeof buf, rounded);
            std::string text(buf, written.ptr);
            if (text.size() < static_cast<std::size_t>(decimals) + 1) {
                text.insert(0, decimals + 1 - text.size(), '0');
            }
            if (decimals > 0) {
                text.insert(text.size() - decimals, 1, '.');
            }
            return value < 0 && rounded != 0 ? "-" + text : text;
        }
    }
    std::string digits;  // |value| x 10^decimals, rounded, as a whole number
    if (value != 0.0) {
        const DecimalForm form = FifteenDigits(std::fabs(value));
        const int keep = form.exponent + 1 + decimals;
        if (keep >= static_cast<int>(form.digits.size())) {
            digits = form.digits + std::string(keep - form.digits.size(), '0');
        } else if (keep >= 0) {
            digits = form.digits.substr(0, keep);
            if (form.digits[keep] >= '5') {
                int k = static_cast<int>(digits.size()) - 1;
                for (; k >= 0 && digits[k] == '9'; --k) {
                    digits[k] = '0';
                }
                if (k >= 0) {
                    ++digits[k];
                } else {
                    digits.insert(digits.begin(), '1');
                }
            }
        }
    }
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    const bool isZero = firstNonZero == std::string::npos;
    digits = isZero ? std::string() : digits.substr(firstNonZero);
    if (digits.size() < static_cast<std::size_t>(decimals) + 1) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    if (decimals > 0) {
        digits.insert(digits.size() - decimals, 1, '.');
    }
    return (value < 0 && !isZero) ? "-" + digits : digits;
}

std::string GeneralNumberText(double value) {
    RequireFinite(value);
    if (value == 0.0) {
        return "0";
    }
    const DecimalForm form = FifteenDigits(std::fabs(value));
    const std::string digits = form.digits.substr(0, form.digits.find_last_not_of('0') + 1);
    const int e = form.exponent;
    std::string text = value < 0 ? "-" : "";
    if (e < -4 || e >= 15) {
        text += digits.substr(0, 1);
        if (digits.size() > 1) {
            text += "." + digits.substr(1);
        }
        char exponent[16];
        std::snprintf(exponent, sizeof exponent, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
        return text + exponent;
    }
    if (e < 0) {
        return text + "0." + std::string(-e - 1, '0') + digits;
    }
    const std::size_t integerDigits = static_cast<std::size_t>(e) + 1;
    if (digits.size() <= integerDigits) {
        return text + digits + std::string(integerDigits - digits.size(), '0');
    }
    return text + digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

std::string SingleText(float value) {
    RequireFinite(value);
    if (value == 0.0f) {
        return "0";
    }
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

bool StartsWithNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const auto digit = [&](std::size_t at) {
        return at < text.size() && text[at] >= '0' && text[at] <= '9';
    };
    return digit(i) || (i < text.size() && text[i] == '.' && digit(i + 1));
}

}  // namespace torrenta
