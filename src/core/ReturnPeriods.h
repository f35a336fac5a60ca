#pragma once

#include <array>

namespace torrenta {

// The seven return periods in years, in the one order used everywhere: intensity
// columns "1" ... "100", results columns Ival_1 ... Qpeak_100, report rows.
inline constexpr std::array<int, 7> kReturnPeriods = {1, 2, 5, 10, 25, 50, 100};

}  // namespace torrenta
