#pragma once

#include <string>

#include "intensity/IntensityDatabase.h"

namespace torrenta::test {

// Another table in a test's own intensity.mdb: Atlanta's values with a
// different 2-year 24-hour cell, so only the sheet-flow rainfall P2 differs
// (Atlanta's 0.155 in/hr gives P2 = 3.72 in; 0.1404 gives 3.3696 in, 3.37).
// With an existing name the table's values are rewritten in place, as a shared
// table edited while a project uses it.
inline void WriteTableWithP2(const std::string& appFolder, const std::string& name,
                             const std::string& twoYear24Hour) {
    IntensityGrid grid = ReadIntensityGrid(appFolder, std::string(kDefaultIntensityTable));
    grid[9][1] = twoYear24Hour;
    SaveIntensityTable(appFolder, name, grid);
}

}  // namespace torrenta::test
