#pragma once

#include <array>
#include <string>
#include <vector>

#include "intensity/IntensityDatabase.h"

namespace torrenta {

// The table's ten durations in minutes, in the order of its rows (5 min ... 24 hr).
inline constexpr std::array<double, 10> kDurationMinutes = {5,   10,  15,  30,  60,
                                                            120, 180, 360, 720, 1440};

// An intensity table made from rainfall data from outside the program: the grid
// in in/hr, where it came from (the catalogue's Source text) and a name to
// propose for it.
struct RainfallTable {
    IntensityGrid grid;
    std::string source;
    std::string proposedName;
    // Things the engineer should know before using the table; the table is sound.
    std::vector<std::string> warnings;
};

// A positive value as text with four significant digits, rounded half up on its
// decimal form: 0.140417 -> "0.1404", 2 -> "2.000", 11 -> "11.00". InputError
// for a value that is not positive and finite.
std::string FourSignificantDigits(double value);

// Stores an imported table under `name` in one transaction, its Source with it.
// A name already in the catalogue is refused (IntensityError) unless `replace`
// is set, in which case that table's values and Source are rewritten.
SaveOutcome SaveRainfallTable(const std::string& appFolder, const std::string& name,
                              const RainfallTable& table, bool replace);

}  // namespace torrenta
