#include "rainfall/IntensityPlausibility.h"

#include <cmath>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

// "5 min" -> "5-min", as a duration reads in front of a noun.
std::string DurationAdjective(std::size_t row) {
    std::string label(kDurationLabels[row]);
    label[label.find(' ')] = '-';
    return label;
}

std::string CellText(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    return first == std::string_view::npos ? std::string()
                                           : std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::string IntensityProblem(double inchesPerHour, std::string_view stored) {
    if (!std::isfinite(inchesPerHour)) {
        return "is not a finite number";
    }
    if (inchesPerHour < 0.0) {
        return "is not positive";
    }
    // What is stored is what the solver reads: a value whose stored digits
    // are all zeros would be a zero intensity, however small its source.
    if (inchesPerHour == 0.0 || LeadingNumber(stored) == 0.0) {
        return "reads as 0 at the stored digits";
    }
    if (inchesPerHour > kMaxPlausibleIntensity) {
        return "is above " + GeneralNumberText(kMaxPlausibleIntensity) +
               " in/hr, more than any 5-minute rainfall recorded";
    }
    return {};
}

void RequirePlausibleIntensities(const IntensityGrid& grid, std::string_view where) {
    for (std::size_t i = 0; i < grid.size(); ++i) {
        for (std::size_t k = 0; k < grid[i].size(); ++k) {
            const std::string text = CellText(grid[i][k]);
            const std::string problem = text.empty() ? std::string("is empty")
                                                     : IntensityProblem(LeadingNumber(text), text);
            if (!problem.empty()) {
                throw InputError(std::string(where) + ": the " + DurationAdjective(i) + ", " +
                                 std::to_string(kReturnPeriods[k]) + "-year value" +
                                 (text.empty() ? std::string() : " " + text + " in/hr") + " " +
                                 problem + ".");
            }
        }
    }
}

std::vector<std::string> IntensityWarnings(const IntensityGrid& grid) {
    const auto sentence = [](std::string text) {
        text[0] = 'T';
        return text + ".";
    };
    const auto value = [&](std::size_t i, std::size_t k) { return LeadingNumber(grid[i][k]); };
    const auto shown = [&](std::size_t i, std::size_t k) {
        return CellText(grid[i][k]) + " in/hr";
    };
    std::vector<std::string> warnings;
    for (std::size_t k = 0; k < kReturnPeriods.size(); ++k) {
        for (std::size_t i = 1; i < grid.size(); ++i) {
            if (value(i, k) > value(i - 1, k)) {
                warnings.push_back(sentence(
                    "the " + std::to_string(kReturnPeriods[k]) + "-year intensity rises from " +
                    shown(i - 1, k) + " at " + std::string(kDurationLabels[i - 1]) + " to " +
                    shown(i, k) + " at " + std::string(kDurationLabels[i])));
            }
        }
    }
    for (std::size_t i = 0; i < grid.size(); ++i) {
        for (std::size_t k = 1; k < kReturnPeriods.size(); ++k) {
            if (value(i, k) < value(i, k - 1)) {
                warnings.push_back(sentence(
                    "the " + DurationAdjective(i) + " intensity falls from " + shown(i, k - 1) +
                    " (" + std::to_string(kReturnPeriods[k - 1]) + "-year) to " + shown(i, k) +
                    " (" + std::to_string(kReturnPeriods[k]) + "-year)"));
            }
        }
    }
    return warnings;
}

}  // namespace torrenta
