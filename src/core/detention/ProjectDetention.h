#pragma once

#include <array>
#include <string>
#include <vector>

#include "detention/DetentionInputs.h"
#include "intensity/IntensityDatabase.h"
#include "solver/NetworkSolution.h"

namespace torrenta {

// The intensity a table gives a storm of any duration, read as the solver
// reads it for Tc: the sweep's I(Tc) is the report's intensity.
StormIntensity TableIntensity(const std::vector<IntensityRow>& rows);

// The drained area of a solve and its table's longest duration.
DetentionBasis BasisOfSolution(const NetworkSolution& solution);

// Qo for 1 ... 100 years: the single value, the values per period, or the
// pre-development project's own peak flows (solved with its own table,
// nothing written to it) times the factor. `preDevelopmentTable` receives
// that project's table. InputError naming the pre-development project when it
// is missing, is this project, is not a project, has nothing to solve or
// cannot be solved.
std::array<double, 7> AllowableReleases(const DetentionInputs& inputs,
                                        const std::string& projectPath,
                                        const std::string& appFolder,
                                        std::string* preDevelopmentTable = nullptr);

// The releases found, with the table of the pre-development project they
// came from ("" for releases typed).
struct AllowableRelease {
    std::array<double, 7> releases{};
    std::string preDevelopmentTable;
};
AllowableRelease FindAllowableRelease(const DetentionInputs& inputs, const std::string& projectPath,
                                      const std::string& appFolder);

// The sweep of a solved network against releases already found.
DetentionResult SizeDetention(const NetworkSolution& solution, const DetentionInputs& inputs,
                              const AllowableRelease& release);

// The storage the inputs need on a solved network.
DetentionResult ComputeProjectDetention(const NetworkSolution& solution,
                                        const DetentionInputs& inputs,
                                        const std::string& projectPath,
                                        const std::string& appFolder);

}  // namespace torrenta
