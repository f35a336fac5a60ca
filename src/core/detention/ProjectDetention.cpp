#include "detention/ProjectDetention.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <system_error>

#include "Errors.h"
#include "solver/RationalMethod.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"

namespace torrenta {
namespace {

// The pre-development project as the engineer names it in a message.
std::string Named(const DetentionInputs& inputs) {
    return "The pre-development project \"" + inputs.preDevelopmentProject + "\"";
}

NetworkSolution SolvePreDevelopment(const DetentionInputs& inputs, const std::string& projectPath,
                                    const std::string& appFolder) {
    const std::string file = PreDevelopmentPath(projectPath, inputs.preDevelopmentProject);
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        throw InputError(Named(inputs) + " does not exist (looked for \"" + file + "\").");
    }
    // Its solve would read this project's own rows under the solve in progress.
    if (std::filesystem::equivalent(file, projectPath, error)) {
        throw InputError(Named(inputs) + " is this project itself; choose the project of the " +
                         "site before development.");
    }
    try {
        OpenProject(file);
        if (!SolveNetwork(file).Any()) {
            throw InputError("it has no element to solve");
        }
        if (!ReadNode(file)) {
            throw InputError("it has no outlet node");
        }
        return SolveProjectReadOnly(file, appFolder);
    } catch (const TorrentaError& e) {
        throw InputError(Named(inputs) + " cannot be solved: " + e.what());
    }
}

}  // namespace

StormIntensity TableIntensity(const std::vector<IntensityRow>& rows) {
    auto lookup = std::make_shared<const IntensityLookup>(rows);
    return [lookup](double minutes) {
        const std::array<float, 7> single = lookup->At(minutes);
        std::array<double, 7> intensity{};
        for (std::size_t k = 0; k < intensity.size(); ++k) {
            intensity[k] = static_cast<double>(single[k]);
        }
        return intensity;
    };
}

DetentionBasis BasisOfSolution(const NetworkSolution& solution) {
    return {solution.TotalArea, solution.WeightedC, solution.TotalTc,
            IntensityLookup(solution.intensityRows).LongestMinutes()};
}

std::array<double, 7> AllowableReleases(const DetentionInputs& inputs,
                                        const std::string& projectPath,
                                        const std::string& appFolder,
                                        std::string* preDevelopmentTable) {
    ValidateDetentionInputs(inputs);
    std::array<double, 7> releases{};
    switch (inputs.source) {
        case ReleaseSource::Single:
            releases.fill(inputs.release);
            break;
        case ReleaseSource::PerPeriod:
            releases = inputs.releases;
            break;
        case ReleaseSource::PreDevelopment: {
            const NetworkSolution before = SolvePreDevelopment(inputs, projectPath, appFolder);
            for (std::size_t k = 0; k < releases.size(); ++k) {
                releases[k] =
                    static_cast<double>(before.periods[k].peakFlow) * inputs.releaseFactor;
            }
            if (preDevelopmentTable != nullptr) {
                *preDevelopmentTable = before.intensityTable;
            }
            break;
        }
    }
    return releases;
}

AllowableRelease FindAllowableRelease(const DetentionInputs& inputs, const std::string& projectPath,
                                      const std::string& appFolder) {
    AllowableRelease release;
    release.releases =
        AllowableReleases(inputs, projectPath, appFolder, &release.preDevelopmentTable);
    return release;
}

DetentionResult SizeDetention(const NetworkSolution& solution, const DetentionInputs& inputs,
                              const AllowableRelease& release) {
    DetentionResult result;
    result.inputs = inputs;
    result.preDevelopmentTable = release.preDevelopmentTable;
    result.sweep = SweepDetention(BasisOfSolution(solution), TableIntensity(solution.intensityRows),
                                  inputs.method, release.releases);
    return result;
}

DetentionResult ComputeProjectDetention(const NetworkSolution& solution,
                                        const DetentionInputs& inputs,
                                        const std::string& projectPath,
                                        const std::string& appFolder) {
    return SizeDetention(solution, inputs, FindAllowableRelease(inputs, projectPath, appFolder));
}

}  // namespace torrenta
