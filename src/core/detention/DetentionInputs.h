#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "detention/DetentionStorage.h"

namespace torrenta {

// Where the allowable release Qo of each return period comes from.
enum class ReleaseSource {
    Single,          // one value for every period
    PerPeriod,       // one value per period
    PreDevelopment,  // the peak flows of a pre-development project, times a factor
};

// "single", "per-period", "pre-development": the words the project and the JSON use.
std::string_view ReleaseSourceWord(ReleaseSource source);
std::optional<ReleaseSource> ReleaseSourceFromWord(std::string_view word);

// The engineer's detention inputs, kept in the project so the desktop program
// and the command line size the same pond.
struct DetentionInputs {
    DetentionMethod method = DetentionMethod::RisingRelease;
    ReleaseSource source = ReleaseSource::Single;
    double release = 0.0;               // cfs, Single
    std::array<double, 7> releases{};   // cfs, PerPeriod: 1 ... 100 years
    std::string preDevelopmentProject;  // PreDevelopment: relative to the project's folder
    double releaseFactor = 1.0;         // PreDevelopment: times the pre-development Q

    bool operator==(const DetentionInputs&) const = default;
};

// Refuses (InputError, in words) a release that is not a number of 0 cfs or
// more, a factor that is not above 0, or a pre-development source without a
// project.
void ValidateDetentionInputs(const DetentionInputs& inputs);

// A project without detention inputs has no table for them: it keeps its
// bytes until the engineer stores some, and an older program opening the file
// passes over a table it does not know.
inline constexpr std::string_view kDetentionTable = "TblDetentionInfo";

// The stored inputs, or nothing for a project without them. InputError when
// the stored method or source is not one this program knows.
std::optional<DetentionInputs> ReadDetentionInputs(const std::string& projectPath);

// Validates, then replaces the stored inputs in one transaction.
void StoreDetentionInputs(const std::string& projectPath, const DetentionInputs& inputs);

// Removes the inputs: the report goes back to its peak flows alone.
void ClearDetentionInputs(const std::string& projectPath);

// A pre-development project as stored (relative to the project's folder) and
// as a path to open, and back: a path given from anywhere is stored relative
// to the project's folder, so the two files move together.
std::string PreDevelopmentPath(const std::string& projectPath, const std::string& stored);
std::string StoredPreDevelopmentPath(const std::string& projectPath, const std::string& given);

// What the engineer gave and what the sweep made of it.
struct DetentionResult {
    DetentionInputs inputs;
    std::string preDevelopmentTable;  // the table the pre-development project was solved with
    DetentionSweep sweep;
};

// The report's and the dialog's words for the method and the release source:
// "Rising release: V = 60 [Qi Td - Qo (Td + Tc) / 2]",
// "Pre-development peak flows of \"pre.rmt\" (Atlanta) x 0.85".
std::string DetentionMethodText(DetentionMethod method);
std::string ReleaseSourceText(const DetentionResult& result);

}  // namespace torrenta
