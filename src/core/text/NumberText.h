#pragma once

#include <string>
#include <string_view>

namespace torrenta {

// The leading-number reading every computation uses on a box's or a cell's
// text: leading blanks skipped, optional sign, digits with "." as the decimal
// point whatever the locale, optional exponent; the rest is ignored and a text
// without a leading number reads as 0. "1.2.3" -> 1.2, "  -2.5e1x" -> -25.
// Magnitudes beyond the double range are clamped, so the result is always finite.
double LeadingNumber(std::string_view text);

// Whether LeadingNumber finds a number in the text at all, rather than the 0
// of none: a stored cell or box without one is damage or a slip, not 0.
bool StartsWithNumber(std::string_view text);

// Fixed formats "#0.00", "#0.000", "#0.0000": at least one integer digit and
// exactly `decimals` after the point, rounded half away from zero on the value's
// 15-significant-digit decimal form (0.825 -> "0.83"); never "-0.00".
std::string FormatFixed(double value, int decimals);

// Plain number text for report columns without a named format: at most 15
// significant digits, no trailing zeros, no point when nothing follows it,
// "0." before fractions, no thousands separators. Exponent form ("1.5E-05")
// only for magnitudes below 1e-4 or from 1e15 on.
std::string GeneralNumberText(double value);

// The shortest decimal text that reads back as the same single-precision value.
std::string SingleText(float value);

}  // namespace torrenta
