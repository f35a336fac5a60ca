#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Errors.h"
#include "text/NumberText.h"
#include "text/NumericKeyFilter.h"

namespace torrenta {
namespace {

struct ReadingCase {
    const char* text;
    double value;
};

TEST(LeadingNumber, ReadsTheLongestLeadingNumber) {
    const ReadingCase cases[] = {
        {"2.5", 2.5},
        {"1.2.3", 1.2},
        {"", 0.0},
        {"  -2.5e1x", -25.0},
        {"abc", 0.0},
        {"12.3000", 12.3},
        {".5", 0.5},
        {"5.", 5.0},
        {"+7", 7.0},
        {"-", 0.0},
        {".", 0.0},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"1E-2", 0.01},
        {"\t 3 ft", 3.0},
        {"1,5", 1.0},
        {"0.083333", 0.083333},
        {"1e999", DBL_MAX},
        {"-1e999", -DBL_MAX},
        {"1e-999", 0.0},
        {"0e999", 0.0},
        {"x12", 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
    }
    // Leading zeros are no digits of the magnitude: a number far below the
    // double range stays 0 however many zeros come first.
    EXPECT_EQ(LeadingNumber(std::string(400, '0') + "1e-330"), 0.0);
    EXPECT_EQ(LeadingNumber("0." + std::string(400, '0') + "1e5"), 0.0);
    EXPECT_EQ(LeadingNumber(std::string(400, '0') + "1e2"), 100.0);
}

TEST(NumericKeyFilter, AcceptsDigitsPointBackspaceAndTabOnly) {
    for (int code = 0; code < 256; ++code) {
        const bool accepted = (code >= '0' && code <= '9') || code == '.' || code == 8 || code == 9;
        EXPECT_EQ(NumericKeyFilter(code), accepted ? code : 0) << code;
    }
}

struct FormatCase {
    double value;
    int decimals;
    const char* text;
};

TEST(FormatFixed, RoundsHalvesAwayFromZeroOnTheDecimalForm) {
    const FormatCase cases[] = {
        {0.825, 2, "0.83"},
        {0.675, 2, "0.68"},
        {2.5, 2, "2.50"},
        {-0.825, 2, "-0.83"},
        {0.004, 2, "0.00"},
        {-0.004, 2, "0.00"},
        {0.005, 2, "0.01"},
        {0.0, 4, "0.0000"},
        {-0.0, 2, "0.00"},
        {9.995, 2, "10.00"},
        {99.99995, 4, "100.0000"},
        {3.6666667, 4, "3.6667"},
        {20.385384, 4, "20.3854"},
        {1234567.891, 3, "1234567.891"},
        {0.0005, 3, "0.001"},
        {0.00049, 3, "0.000"},
        {1e-20, 2, "0.00"},
        {12345678901234567.0, 2, "12345678901234600.00"},
        {(0.7 + 0.95) / 2, 2, "0.83"},
        {(0.6 + 0.75) / 2, 2, "0.68"},
        {1.0 / 3.0, 0, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value << " / " << c.decimals;
    }
}

// The decimal form rounded half up, worked from the C library's fifteen
// digits: what every fixed-decimal number of the report must equal, whichever
// way it is computed.
std::string FixedFromFifteenDigits(double value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string digits;
    const char* p = buf;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            digits += *p;
        }
    }
    const int exponent = std::atoi(p + 1);
    // Digits up to the last decimal kept, then one more to round by.
    const int keep = exponent + 1 + decimals;
    std::string kept = keep <= 0 ? "" : digits.substr(0, std::min<std::size_t>(keep, 15));
    kept.resize(std::max(keep, 0), '0');
    const char next = keep >= 0 && keep < 15 ? digits[keep] : '0';
    std::string number = "0" + kept;
    if (next >= '5') {
        int k = static_cast<int>(number.size()) - 1;
        for (; number[k] == '9'; --k) {
            number[k] = '0';
        }
        ++number[k];
    }
    number.erase(0, std::min(number.find_first_not_of('0'), number.size()));
    if (number.size() < static_cast<std::size_t>(decimals) + 1) {
        number.insert(0, decimals + 1 - number.size(), '0');
    }
    if (decimals > 0) {
        number.insert(number.size() - decimals, 1, '.');
    }
    const bool zero = number.find_first_not_of("0.") == std::string::npos;
    return value < 0 && !zero ? "-" + number : number;
}

// Random values of the sizes a report shows, halves and their neighbours
// (where rounding the binary value and its decimal form part), and values
// whose fifteen digits round up across a power of ten.
TEST(FormatFixed, EqualsTheRoundedFifteenDigitFormEverywhere) {
    std::vector<std::pair<double, int>> cases;
    std::mt19937_64 random(11);
    for (int i = 0; i < 40000; ++i) {
        const int decimals = static_cast<int>(random() % 5);
        const double magnitude = std::pow(10.0, static_cast<int>(random() % 14) - 5);
        const double value = static_cast<double>(random() % 1000000007) / 1000000007.0 * magnitude;
        cases.emplace_back(i % 2 == 0 ? value : -value, decimals);
        const double half =
            (static_cast<double>(random() % 100000) + 0.5) / std::pow(10.0, decimals);
        for (const double near : {half, std::nextafter(half, 0.0), std::nextafter(half, 1e9)}) {
            cases.emplace_back(near, decimals);
        }
    }
    for (const double edge : {0.9999999999999999, 9.9999999999999982, 0.125, 2.675, 1.005,
                              1e13 + 0.5, 99999999999999.5, 0.0, -0.0}) {
        for (int decimals = 0; decimals <= 4; ++decimals) {
            cases.emplace_back(edge, decimals);
        }
    }
    for (const auto& [value, decimals] : cases) {
        ASSERT_EQ(FormatFixed(value, decimals), FixedFromFifteenDigits(value, decimals))
            << std::hexfloat << value << " / " << decimals;
    }
}

TEST(GeneralNumberText, WritesPlainDecimalsWithoutTrailingZeros) {
    const std::pair<double, const char*> rows[] = {
        {0.1 + 0.2, "0.3"},
        {12.3, "12.3"},
        {10.0, "10"},
        {0.0, "0"},
        {-0.0, "0"},
        {-4.25, "-4.25"},
        {0.5, "0.5"},
        {1e-4, "0.0001"},
        {1.5e-5, "1.5E-05"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {2.5e20, "2.5E+20"},
        {1.0 / 3.0, "0.333333333333333"},
        {20.3854, "20.3854"},
        {LeadingNumber("12.3000"), "12.3"},
        {100.0, "100"},
        {-1e-7, "-1E-07"},
    };
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(GeneralNumberText(value), text) << value;
    }
}

// Against the C library's own fifteen-digit rounding, over values of every
// kind: short decimals, random bit patterns, values next to powers of ten and
// subnormals, whose shortest digits are not their fifteen-digit rounding.
TEST(GeneralNumberText, RoundsToFifteenDigitsAsPrintfDoes) {
    std::vector<double> values = {5e-324,
                                  4.9406564584124654e-320,
                                  DBL_MIN,
                                  DBL_MAX,
                                  0.1 + 0.2,
                                  1e15 - 0.5,
                                  999999999999999.5,
                                  9.999999999999999e22};
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(static_cast<double>(random() % 1000000) / 1000.0);
        std::uint64_t bits = random();
        double any = 0.0;
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any)) {
            values.push_back(std::fabs(any));
        }
        const double power = std::pow(10.0, static_cast<int>(random() % 40) - 20);
        values.push_back(std::nextafter(power, 0.0));
        values.push_back(std::nextafter(power, INFINITY));
    }
    for (const double value : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15G", value);
        ASSERT_EQ(GeneralNumberText(value), expected) << std::hexfloat << value;
    }
}

TEST(SingleText, IsTheShortestTextThatReadsBackAsTheSameFloat) {
    const float values[] = {3.6666667f, 18.333334f, 0.1f, 1e-5f, 123456.79f, 7.47f, 1.0f / 3.0f};
    for (const float v : values) {
        const std::string text = SingleText(v);
        EXPECT_EQ(static_cast<float>(LeadingNumber(text)), v) << text;
        EXPECT_LE(text.size(), 13u) << text;
    }
    EXPECT_EQ(SingleText(18.333334f), "18.333334");
    EXPECT_EQ(SingleText(2.0f), "2");
    EXPECT_EQ(SingleText(-0.0f), "0");
}

TEST(NumberText, RefusesNonFiniteValuesInsteadOfWritingThem) {
    EXPECT_THROW(FormatFixed(NAN, 2), InputError);
    EXPECT_THROW(GeneralNumberText(INFINITY), InputError);
    EXPECT_THROW(SingleText(-INFINITY), InputError);
}

}  // namespace
}  // namespace torrenta
