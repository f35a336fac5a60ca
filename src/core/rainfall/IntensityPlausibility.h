#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "intensity/IntensityDatabase.h"

namespace torrenta {

// The heaviest intensity, in in/hr, a table may hold: no 5-minute rainfall
// ever recorded comes near it, so a cell above it is a wrong unit, a wrong
// column or a typing slip, never a design storm.
inline constexpr double kMaxPlausibleIntensity = 60.0;

// Why an intensity in in/hr cannot stand in a table, or "" when it can. The
// reason completes a sentence about the cell: "is not a finite number", "is
// not positive", "reads as 0 at the stored digits" (`stored` is the cell's
// text as kept; it is read only for a finite positive value), "is above 60
// in/hr, more than any 5-minute rainfall recorded".
std::string IntensityProblem(double inchesPerHour, std::string_view stored);

// Every table, whether imported, made from an equation or typed in the
// editor, passes here before it is saved. InputError naming the first wrong
// cell (row by row) and what is wrong with it: "<where>: the 5-min, 100-year
// value 61.2 in/hr is above 60 in/hr, more than any 5-minute rainfall
// recorded." Cells are read as the solver reads them (the leading number).
void RequirePlausibleIntensities(const IntensityGrid& grid, std::string_view where);

// What a sound table may still hold by mistake: an intensity that rises with
// duration or falls with return period. One sentence per pair of neighbouring
// cells, naming both ("The 10-year intensity rises from 0.9200 in/hr at 6 hr
// to 1.100 in/hr at 12 hr.", "The 6-hr intensity falls from 1.100 in/hr
// (10-year) to 0.9200 in/hr (25-year)."), durations first; empty for a table that falls
// with duration and rises with return period everywhere. The table is stored
// all the same: the engineer decides.
std::vector<std::string> IntensityWarnings(const IntensityGrid& grid);

}  // namespace torrenta
