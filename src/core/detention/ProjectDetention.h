#pragma once

#include <array>
#include <string>

#include "detention/DetentionInputs.h"
#include "solver/NetworkSolution.h"

namespace torrenta {

// The pre-development project's file, to open: InputError naming it when it
// does not exist or is this project itself.
std::string RequirePreDevelopmentFile(const DetentionInputs& inputs,
                                      const std::string& projectPath);

// Qo for 1 ... 100 years with the table of the pre-development project they
// came from ("" for releases typed): the single value, the values per period,
// or that project's own peak flows (solved with its own table, nothing
// written to it) times the factor. InputError naming the pre-development
// project when it is missing, is this project, is not a project, has nothing
// to solve or cannot be solved.
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
