#include "rainfall/IdfEquation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <vector>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "rainfall/InputFile.h"
#include "rainfall/IntensityPlausibility.h"
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

// Why one return period's coefficients give no sound column, or "" when they
// do; the ten intensities go to `column`.
std::string EquationProblem(const IdfCoefficients& c, std::size_t k,
                            std::array<double, 10>& column) {
    if (!(c.b > 0.0) || !(c.e > 0.0)) {
        return "The " + PeriodName(k) + " coefficients b and e must be positive numbers.";
    }
    if (!(kDurationMinutes.front() + c.d > 0.0)) {
        return "The " + PeriodName(k) +
               " coefficient d must be larger than -5, so that Tc + d is positive at 5 minutes.";
    }
    for (std::size_t i = 0; i < kDurationMinutes.size(); ++i) {
        const double intensity = c.b / std::pow(kDurationMinutes[i] + c.d, c.e);
        if (!std::isfinite(intensity) || !(intensity > 0.0)) {
            return "The " + PeriodName(k) + " coefficients give no usable intensity at " +
                   std::string(kDurationLabels[i]) + ".";
        }
        if (const std::string problem =
                IntensityProblem(intensity, FourSignificantDigits(intensity));
            !problem.empty()) {
            return "The " + PeriodName(k) + " coefficients give " + GeneralNumberText(intensity) +
                   " in/hr at " + std::string(kDurationLabels[i]) + ", which " + problem + ".";
        }
        column[i] = intensity;
    }
    return {};
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const auto comma = line.find(',', from);
        fields.push_back(Trim(line.substr(from, comma - from)));
        if (comma == std::string_view::npos) {
            return fields;
        }
        from = comma + 1;
    }
}

}  // namespace

RainfallTable TableFromEquation(const IdfEquation& equation) {
    RainfallTable table;
    table.source = "IDF equation i = b / (Tc + d)^e, i in in/hr, Tc in minutes";
    for (std::size_t k = 0; k < equation.size(); ++k) {
        const IdfCoefficients& c = equation[k];
        std::array<double, 10> column{};
        if (const std::string problem = EquationProblem(c, k, column); !problem.empty()) {
            throw InputError(problem);
        }
        for (std::size_t i = 0; i < column.size(); ++i) {
            table.grid[i][k] = FourSignificantDigits(column[i]);
        }
        table.source += "; " + std::to_string(kReturnPeriods[k]) + " yr: b " +
                        GeneralNumberText(c.b) + ", d " + GeneralNumberText(c.d) + ", e " +
                        GeneralNumberText(c.e);
    }
    RequirePlausibleIntensities(table.grid, "The equation's table");
    table.warnings = IntensityWarnings(table.grid);
    return table;
}

IdfEquation ParseIdfCoefficients(std::string_view text, std::string_view fileName) {
    const std::string name(fileName);
    // Spreadsheets and some editors start a UTF-8 file with a byte order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    IdfEquation equation;
    std::array<std::size_t, 7> givenOn{};  // the line of each period, 0 while not given
    bool sawContent = false;
    const std::vector<std::string_view> lines = SplitLines(text);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string where = name + ", line " + std::to_string(index + 1);
        const std::string_view line = Trim(lines[index]);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (std::any_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; })) {
            throw InputError(where +
                             " holds bytes that are not text (a binary or UTF-16 file); write "
                             "the coefficients as plain text, one line period,b,d,e each.");
        }
        const std::vector<std::string_view> fields = Fields(line);
        const auto period = Number(fields.front());
        const bool first = !sawContent;
        sawContent = true;
        if (fields.size() == 1 && line.find_first_of(";\t") != std::string_view::npos) {
            throw InputError(where + " separates its values with " +
                             (line.find(';') != std::string_view::npos ? "semicolons" : "tabs") +
                             ", not commas: write period,b,d,e.");
        }
        // A heading line names the columns instead of giving numbers.
        if (!period && first) {
            continue;
        }
        if (fields.size() != 4) {
            throw InputError(where + " should read period,b,d,e but holds " +
                             std::to_string(fields.size()) + " value" +
                             (fields.size() == 1 ? "" : "s") + ".");
        }
        // Compared as numbers, never cast: a period like 1e20 has no int.
        const auto found = std::find_if(kReturnPeriods.begin(), kReturnPeriods.end(),
                                        [&](int p) { return period && *period == p; });
        if (found == kReturnPeriods.end()) {
            throw InputError(where + ": the return period \"" + std::string(fields.front()) +
                             "\" is none of the table's (1, 2, 5, 10, 25, 50 or 100).");
        }
        const auto k = static_cast<std::size_t>(found - kReturnPeriods.begin());
        if (givenOn[k] != 0) {
            throw InputError(where + " gives the " + PeriodName(k) +
                             " coefficients again (first on line " + std::to_string(givenOn[k]) +
                             ").");
        }
        std::array<double, 3> values{};
        for (std::size_t v = 0; v < values.size(); ++v) {
            const auto number = Number(fields[v + 1]);
            if (!number) {
                throw InputError(where + ": the " + "bde"[v] + " value \"" +
                                 std::string(fields[v + 1]) + "\" is not a number.");
            }
            values[v] = *number;
        }
        equation[k] = {values[0], values[1], values[2]};
        std::array<double, 10> column{};
        if (const std::string problem = EquationProblem(equation[k], k, column); !problem.empty()) {
            throw InputError(where + ": t" + problem.substr(1));
        }
        givenOn[k] = index + 1;
    }
    if (!sawContent) {
        throw InputError(name +
                         " holds no coefficients: write one line period,b,d,e for each of the "
                         "return periods 1, 2, 5, 10, 25, 50 and 100.");
    }
    for (std::size_t k = 0; k < givenOn.size(); ++k) {
        if (givenOn[k] == 0) {
            throw InputError(name + " gives nothing for the " + PeriodName(k) +
                             " return period; the table needs all seven.");
        }
    }
    return equation;
}

IdfEquation ReadIdfCoefficientsFile(const std::string& path) {
    const std::string bytes = ReadInputFile(path, kMaxCoefficientFileBytes,
                                            "a coefficients file holds seven short lines");
    return ParseIdfCoefficients(bytes, std::filesystem::path(path).filename().string());
}

}  // namespace torrenta
