#include "rainfall/IdfEquation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

constexpr std::size_t kMaxCoefficientFileBytes = 64 * 1024;

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::optional<double> Number(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string PeriodName(std::size_t k) {
    return std::to_string(kReturnPeriods[k]) + "-year";
}

}  // namespace

RainfallTable TableFromEquation(const IdfEquation& equation) {
    RainfallTable table;
    table.source = "IDF equation i = b / (Tc + d)^e, i in in/hr, Tc in minutes";
    for (std::size_t k = 0; k < equation.size(); ++k) {
        const IdfCoefficients& c = equation[k];
        if (!(c.b > 0.0) || !(c.e > 0.0)) {
            throw InputError("The " + PeriodName(k) +
                             " coefficients b and e must be positive numbers.");
        }
        if (!(kDurationMinutes.front() + c.d > 0.0)) {
            throw InputError("The " + PeriodName(k) +
                             " coefficient d must be larger than -5, so that Tc + d is positive "
                             "at 5 minutes.");
        }
        for (std::size_t i = 0; i < kDurationMinutes.size(); ++i) {
            const double intensity = c.b / std::pow(kDurationMinutes[i] + c.d, c.e);
            if (!std::isfinite(intensity) || !(intensity > 0.0)) {
                throw InputError("The " + PeriodName(k) +
                                 " coefficients give no usable intensity at " +
                                 std::string(kDurationLabels[i]) + ".");
            }
            table.grid[i][k] = FourSignificantDigits(intensity);
        }
        table.source += "; " + std::to_string(kReturnPeriods[k]) + " yr: b " +
                        GeneralNumberText(c.b) + ", d " + GeneralNumberText(c.d) + ", e " +
                        GeneralNumberText(c.e);
    }
    return table;
}

IdfEquation ParseIdfCoefficients(std::string_view text) {
    IdfEquation equation;
    std::array<bool, 7> given{};
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = text.find('\n', start);
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end == std::string_view::npos ? text.size() + 1 : end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::vector<std::string_view> fields;
        for (std::size_t from = 0;;) {
            const auto comma = line.find(',', from);
            fields.push_back(line.substr(from, comma - from));
            if (comma == std::string_view::npos) {
                break;
            }
            from = comma + 1;
        }
        const auto period = Number(fields.front());
        // A heading line names the columns instead of giving numbers.
        if (!period && std::none_of(given.begin(), given.end(), [](bool g) { return g; }) &&
            lineNumber <= 2) {
            continue;
        }
        const std::string where = "Line " + std::to_string(lineNumber) + " of the coefficients";
        if (fields.size() != 4) {
            throw InputError(where + " should read period,b,d,e.");
        }
        const auto found = period ? std::find(kReturnPeriods.begin(), kReturnPeriods.end(),
                                              static_cast<int>(*period))
                                  : kReturnPeriods.end();
        if (found == kReturnPeriods.end() || *period != std::floor(*period)) {
            throw InputError(where +
                             " names no return period of the table (1, 2, 5, 10, 25, 50 or 100).");
        }
        const auto k = static_cast<std::size_t>(found - kReturnPeriods.begin());
        if (given[k]) {
            throw InputError(where + " gives the " + PeriodName(k) + " coefficients again.");
        }
        const auto b = Number(fields[1]);
        const auto d = Number(fields[2]);
        const auto e = Number(fields[3]);
        if (!b || !d || !e) {
            throw InputError(where + " holds a value that is not a number.");
        }
        equation[k] = {*b, *d, *e};
        given[k] = true;
    }
    for (std::size_t k = 0; k < given.size(); ++k) {
        if (!given[k]) {
            throw InputError("The coefficients give nothing for the " + PeriodName(k) +
                             " return period; the table needs all seven.");
        }
    }
    return equation;
}

IdfEquation ReadIdfCoefficientsFile(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || !std::filesystem::is_regular_file(path, ec)) {
        throw InputError("Cannot read " + path + ": no such file.");
    }
    if (size > kMaxCoefficientFileBytes) {
        throw InputError(path + " is too large to be a file of coefficients.");
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return ParseIdfCoefficients(bytes.str());
}

}  // namespace torrenta
