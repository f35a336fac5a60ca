#include "detention/ProjectDetention.h"

#include <cmath>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <system_error>

#include "Errors.h"
#include "solver/RationalMethod.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

// The pre-development project as the engineer names it in a message.
std::string Named(const DetentionInputs& inputs) {
    return "The pre-development project \"" + inputs.preDevelopmentProject + "\"";
}

NetworkSolution SolvePreDevelopment(const DetentionInputs& inputs, const std::string& projectPath,
                                    const std::string& appFolder) {
    const std::string file = RequirePreDevelopmentFile(inputs, projectPath);
    try {
        OpenProject(file);
        const NetworkFlags flags = SolveNetwork(file);
        if (!flags.Any()) {
            throw InputError("it has no element to solve");
        }
        const auto node = ReadNode(file);
        if (!node) {
            throw InputError("it has no outlet node");
        }
        return SolveProjectReadOnly(file, appFolder, node->IntensityTable, flags);
    } catch (const TorrentaError& e) {
        throw InputError(Named(inputs) + " cannot be solved: " + e.what());
    }
}

// The intensity the solve's table gives a storm of any duration, read as the
// solver reads it for Tc: the sweep's I(Tc) is the report's intensity.
StormIntensity LookupIntensity(std::shared_ptr<const IntensityLookup> lookup) {
    return [lookup](double minutes) {
        const std::array<float, 7> single = lookup->At(minutes);
        std::array<double, 7> intensity{};
        for (std::size_t k = 0; k < intensity.size(); ++k) {
            intensity[k] = static_cast<double>(single[k]);
        }
        return intensity;
    };
}

}  // namespace

std::string RequirePreDevelopmentFile(const DetentionInputs& inputs,
                                      const std::string& projectPath) {
    const std::string file = PreDevelopmentPath(projectPath, inputs.preDevelopmentProject);
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        throw InputError(Named(inputs) + " is a folder (\"" + file +
                         "\"); choose the project file of the site before development.");
    }
    if (!std::filesystem::is_regular_file(file, error)) {
        throw InputError(Named(inputs) + " does not exist (looked for \"" + file + "\").");
    }
    // Its solve would read this project's own rows under the solve in progress.
    if (std::filesystem::equivalent(file, projectPath, error)) {
        throw InputError(Named(inputs) + " is this project itself; choose the project of the " +
                         "site before development.");
    }
    return file;
}

AllowableRelease FindAllowableRelease(const DetentionInputs& inputs, const std::string& projectPath,
                                      const std::string& appFolder) {
    ValidateDetentionInputs(inputs);
    AllowableRelease release;
    switch (inputs.source) {
        case ReleaseSource::Single:
            release.releases.fill(inputs.release);
            break;
        case ReleaseSource::PerPeriod:
            release.releases = inputs.releases;
            break;
        case ReleaseSource::PreDevelopment: {
            const NetworkSolution before = SolvePreDevelopment(inputs, projectPath, appFolder);
            for (std::size_t k = 0; k < release.releases.size(); ++k) {
                release.releases[k] =
                    static_cast<double>(before.periods[k].peakFlow) * inputs.releaseFactor;
                // A factor of 1e308 is a number, but the flow it gives is not.
                if (!std::isfinite(release.releases[k])) {
                    throw InputError(
                        "The release factor times the pre-development peak flow is too large "
                        "to be a flow; give a release factor such as 1 (the peak itself).");
                }
            }
            release.preDevelopmentTable = before.intensityTable;
            break;
        }
    }
    return release;
}

DetentionResult SizeDetention(const NetworkSolution& solution, const DetentionInputs& inputs,
                              const AllowableRelease& release) {
    // One reading of the table serves the sweep and tells where it ends.
    const auto lookup = std::make_shared<const IntensityLookup>(solution.intensityRows);
    const DetentionBasis basis{solution.TotalArea, solution.WeightedC, solution.TotalTc,
                               lookup->LongestMinutes()};
    DetentionResult result;
    result.inputs = inputs;
    result.preDevelopmentTable = release.preDevelopmentTable;
    result.sweep = SweepDetention(basis, LookupIntensity(lookup), inputs.method, release.releases);
    for (std::size_t k = 0; k < result.sweep.periods.size(); ++k) {
        DetentionPeriod& period = result.sweep.periods[k];
        const bool stormOfTc = period.criticalDuration == solution.TotalTc;
        period.intensityShown =
            stormOfTc ? solution.periods[k].intensityShown : FormatFixed(period.intensity, 2);
        period.inflowShown =
            stormOfTc ? solution.periods[k].peakFlowShown : FormatFixed(period.inflowPeak, 2);
    }
    return result;
}

DetentionResult ComputeProjectDetention(const NetworkSolution& solution,
                                        const DetentionInputs& inputs,
                                        const std::string& projectPath,
                                        const std::string& appFolder) {
    return SizeDetention(solution, inputs, FindAllowableRelease(inputs, projectPath, appFolder));
}

}  // namespace torrenta
