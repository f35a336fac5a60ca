#include "rainfall/IdfCurves.h"

#include <cmath>

#include "rainfall/RainfallTable.h"
#include "solver/RationalMethod.h"
#include "store/ElementRows.h"
#include "store/TcPath.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

constexpr std::array<const char*, 7> kPeriodLabels = {"1 yr",   "2 yrs",  "5 yrs",  "10 yrs",
                                                      "25 yrs", "50 yrs", "100 yrs"};

}  // namespace

IdfCurves CurvesOfGrid(const IntensityGrid& grid) {
    IdfCurves curves;
    for (std::size_t k = 0; k < curves.curves.size(); ++k) {
        for (std::size_t i = 0; i < grid.size(); ++i) {
            const double value = LeadingNumber(grid[i][k]);
            if (value > 0.0) {
                curves.curves[k].push_back({kDurationMinutes[i], value});
            } else {
                curves.leftOut.push_back(std::string(kDurationLabels[i]) + ", " + kPeriodLabels[k]);
            }
        }
    }
    return curves;
}

std::array<float, 7> DesignIntensities(const IntensityGrid& grid, double tcMinutes) {
    std::vector<IntensityRow> rows;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        rows.push_back({std::string(kDurationTexts[i]), grid[i]});
    }
    return InterpolateIntensities(rows, tcMinutes);
}

std::optional<double> ProjectTotalTc(const std::string& projectPath) {
    // The same total the solve reads: the travel times along the Tc flow path.
    const std::set<std::string> offPath = ReadOffTcPath(projectPath);
    double total = 0.0;
    bool any = false;
    const auto add = [&](const std::string& tag, const std::string& tc) {
        total += offPath.contains(tag) ? 0.0 : LeadingNumber(tc);
        any = true;
    };
    for (const auto& row : ReadLiveElements<BasinRow>(projectPath)) {
        add(row.BasinTag, row.Tc);
    }
    for (const auto& row : ReadLiveElements<SurfaceRow>(projectPath)) {
        add(row.SurfTag, row.SurfTc);
    }
    for (const auto& row : ReadLiveElements<ChannelRow>(projectPath)) {
        add(row.ChannelTag, row.ChannelTc);
    }
    return any ? std::optional<double>(total) : std::nullopt;
}

std::vector<double> OneTwoFiveSteps(double low, double high) {
    std::vector<double> steps;
    if (!(low > 0.0) || !(high >= low) || !std::isfinite(high)) {
        return steps;
    }
    // Each step as a whole multiple of its decade, so 0.2 is the number 0.2
    // reads as, not 2 x 0.1 with its rounding.
    for (int exponent = static_cast<int>(std::floor(std::log10(low)));; ++exponent) {
        for (int multiple : {1, 2, 5}) {
            const double step = exponent < 0 ? multiple / std::pow(10.0, -exponent)
                                             : multiple * std::pow(10.0, exponent);
            if (step > high * (1.0 + 1e-12)) {
                return steps;
            }
            if (step >= low * (1.0 - 1e-12)) {
                steps.push_back(step);
            }
        }
    }
}

}  // namespace torrenta
