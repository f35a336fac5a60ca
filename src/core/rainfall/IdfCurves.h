#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "intensity/IntensityDatabase.h"

namespace torrenta {

// One drawn point of an intensity-duration curve.
struct IdfPoint {
    double minutes = 0.0;
    double intensity = 0.0;  // in/hr
};

// The seven curves of a table (1 ... 100 years) as the chart draws them: the
// cells that hold a positive number, and the ones left out ("5 min, 2 yrs").
struct IdfCurves {
    std::array<std::vector<IdfPoint>, 7> curves;
    std::vector<std::string> leftOut;
};

IdfCurves CurvesOfGrid(const IntensityGrid& grid);

// The 1-2-5 steps (0.1, 0.2, 0.5, 1, 2, 5, 10 ...) from `low` to `high`, both
// included: a logarithmic axis labelled at these reads at every range, where
// powers of ten alone leave a chart of small intensities one or two labels.
std::vector<double> OneTwoFiveSteps(double low, double high);

// The seven intensities the solver reads from `grid` at `tcMinutes`.
std::array<float, 7> DesignIntensities(const IntensityGrid& grid, double tcMinutes);

// The project's total time of concentration in minutes, added as the report
// adds it (overland, shallow and channel travel times of the live elements);
// nothing when the project has no live element to solve.
std::optional<double> ProjectTotalTc(const std::string& projectPath);

}  // namespace torrenta
