#include "detention/DetentionInputs.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "store/Connection.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

// The table's columns in order: method, source, the single release, one
// release per period, the pre-development project and its factor.
std::vector<std::string> Columns() {
    std::vector<std::string> columns = {"Method", "ReleaseSource", "Release"};
    for (const int years : kReturnPeriods) {
        columns.push_back("Release_" + std::to_string(years));
    }
    columns.push_back("PreDevelopmentProject");
    columns.push_back("ReleaseFactor");
    return columns;
}

std::string Table() {
    return QuoteIdentifier(kDetentionTable);
}

// A stored number read back whole: a cell of "abc", "" or NULL (a file edited
// by hand, a damaged copy) would read as 0 and size the pond on no release.
double StoredNumber(const std::string& projectPath, const std::string& text,
                    const std::string& which) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    const bool whole = !text.empty() && end == text.c_str() + text.size() &&
                       text.find_first_of(" \t\n") == std::string::npos;
    if (!whole || !std::isfinite(value)) {
        throw InputError("The detention inputs of \"" + projectPath + "\" are damaged: the " +
                         which + " reads \"" + text +
                         "\", which is not a number. Enter them again in Data > Detention, or "
                         "remove them.");
    }
    return value;
}

void RequireRelease(double value, const std::string& which) {
    if (!std::isfinite(value) || value < 0.0) {
        throw InputError("The " + which + " must be a number of 0 cfs or more.");
    }
}

}  // namespace

std::string_view ReleaseSourceWord(ReleaseSource source) {
    switch (source) {
        case ReleaseSource::PerPeriod:
            return "per-period";
        case ReleaseSource::PreDevelopment:
            return "pre-development";
        case ReleaseSource::Single:
            break;
    }
    return "single";
}

std::optional<ReleaseSource> ReleaseSourceFromWord(std::string_view word) {
    for (const ReleaseSource source :
         {ReleaseSource::Single, ReleaseSource::PerPeriod, ReleaseSource::PreDevelopment}) {
        if (word == ReleaseSourceWord(source)) {
            return source;
        }
    }
    return std::nullopt;
}

void ValidateDetentionInputs(const DetentionInputs& inputs) {
    switch (inputs.source) {
        case ReleaseSource::Single:
            RequireRelease(inputs.release, "allowable release");
            break;
        case ReleaseSource::PerPeriod:
            for (std::size_t k = 0; k < inputs.releases.size(); ++k) {
                RequireRelease(inputs.releases[k],
                               std::to_string(kReturnPeriods[k]) + "-year allowable release");
            }
            break;
        case ReleaseSource::PreDevelopment:
            if (inputs.preDevelopmentProject.empty()) {
                throw InputError("Choose the pre-development project the release comes from.");
            }
            if (!std::isfinite(inputs.releaseFactor) || inputs.releaseFactor <= 0.0) {
                throw InputError("The release factor must be a number above 0.");
            }
            break;
    }
}

std::optional<DetentionInputs> ReadDetentionInputs(const std::string& projectPath) {
    return RunOn(
        OpenProjectConnection(projectPath), "Cannot read the project's detention inputs",
        [&](SQLite::Database& db) -> std::optional<DetentionInputs> {
            if (!TableExists(db, kDetentionTable)) {
                return std::nullopt;
            }
            const std::vector<std::string> columns = Columns();
            std::string names;
            for (const std::string& column : columns) {
                names += (names.empty() ? "" : ", ") + QuoteIdentifier(column);
            }
            SQLite::Statement query(
                db, "SELECT " + names + " FROM " + Table() + " ORDER BY rowid LIMIT 1");
            if (!query.executeStep()) {
                return std::nullopt;
            }
            const auto text = [&](int i) { return query.getColumn(i).getString(); };
            const auto method = DetentionMethodFromWord(text(0));
            const auto source = ReleaseSourceFromWord(text(1));
            if (!method || !source) {
                throw InputError("The project's detention inputs name the method \"" + text(0) +
                                 "\" and the release source \"" + text(1) +
                                 "\", which this program does not know.");
            }
            DetentionInputs inputs;
            inputs.method = *method;
            inputs.source = *source;
            // The numbers the release source uses must read whole; the other
            // sources' boxes keep what they were given, as the dialog shows it.
            const auto number = [&](int column, ReleaseSource user, const std::string& which) {
                return inputs.source == user ? StoredNumber(projectPath, text(column), which)
                                             : LeadingNumber(text(column));
            };
            inputs.release = number(2, ReleaseSource::Single, "allowable release");
            for (std::size_t k = 0; k < inputs.releases.size(); ++k) {
                inputs.releases[k] =
                    number(3 + static_cast<int>(k), ReleaseSource::PerPeriod,
                           std::to_string(kReturnPeriods[k]) + "-year allowable release");
            }
            inputs.preDevelopmentProject = text(10);
            inputs.releaseFactor = number(11, ReleaseSource::PreDevelopment, "release factor");
            return inputs;
        });
}

void StoreDetentionInputs(const std::string& projectPath, const DetentionInputs& inputs) {
    ValidateDetentionInputs(inputs);
    RunOn(OpenProjectConnection(projectPath), "Cannot save the project's detention inputs",
          [&](SQLite::Database& db) {
              const std::vector<std::string> columns = Columns();
              std::string definitions;
              std::string names;
              std::string marks;
              for (const std::string& column : columns) {
                  const std::string name = QuoteIdentifier(column);
                  definitions += (definitions.empty() ? "" : ", ") + name + " TEXT";
                  names += (names.empty() ? "" : ", ") + name;
                  marks += marks.empty() ? "?" : ", ?";
              }
              SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
              db.exec("CREATE TABLE IF NOT EXISTS " + Table() + " (" + definitions + ")");
              db.exec("DELETE FROM " + Table());
              SQLite::Statement insert(
                  db, "INSERT INTO " + Table() + " (" + names + ") VALUES (" + marks + ")");
              std::vector<std::string> values = {std::string(DetentionMethodWord(inputs.method)),
                                                 std::string(ReleaseSourceWord(inputs.source)),
                                                 GeneralNumberText(inputs.release)};
              for (const double release : inputs.releases) {
                  values.push_back(GeneralNumberText(release));
              }
              values.push_back(inputs.preDevelopmentProject);
              values.push_back(GeneralNumberText(inputs.releaseFactor));
              for (std::size_t i = 0; i < values.size(); ++i) {
                  insert.bind(static_cast<int>(i + 1), values[i]);
              }
              insert.exec();
              transaction.commit();
          });
}

void ClearDetentionInputs(const std::string& projectPath) {
    RunOn(OpenProjectConnection(projectPath), "Cannot remove the project's detention inputs",
          [](SQLite::Database& db) {
              if (TableExists(db, kDetentionTable)) {
                  db.exec("DROP TABLE " + Table());
              }
          });
}

namespace {

// The folder the project file really lies in: opened through a link to its
// folder (or to the file), "../pre" must mean what the system takes it to
// mean from there, not a step back along the link's name.
std::filesystem::path RealFolder(const std::string& projectPath) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(projectPath);
    const std::filesystem::path real = std::filesystem::weakly_canonical(absolute, error);
    return (error ? absolute.lexically_normal() : real).parent_path();
}

// A file's name with every link and "." or ".." resolved as far as it exists.
std::filesystem::path Resolved(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path real = std::filesystem::weakly_canonical(file, error);
    return error ? file.lexically_normal() : real;
}

}  // namespace

std::string PreDevelopmentPath(const std::string& projectPath, const std::string& stored) {
    const std::filesystem::path path(stored);
    if (path.is_absolute()) {
        return stored;
    }
    return Resolved(RealFolder(projectPath) / path).string();
}

std::string StoredPreDevelopmentPath(const std::string& projectPath, const std::string& given) {
    const std::filesystem::path folder = RealFolder(projectPath);
    const std::filesystem::path file = Resolved(std::filesystem::absolute(given));
    const std::filesystem::path relative = file.lexically_relative(folder);
    return relative.empty() ? file.string() : relative.string();
}

std::string DetentionMethodText(DetentionMethod method) {
    return method == DetentionMethod::ConstantRelease
               ? "Constant release: V = 60 Td (Qi - Qo)"
               : "Rising release: V = 60 [Qi Td - Qo (Td + Tc) / 2]";
}

std::string ReleaseSourceText(const DetentionResult& result) {
    const DetentionInputs& inputs = result.inputs;
    switch (inputs.source) {
        case ReleaseSource::PerPeriod:
            return "One allowable release per return period";
        case ReleaseSource::PreDevelopment: {
            std::string text =
                "Pre-development peak flows of \"" + inputs.preDevelopmentProject + "\"";
            if (!result.preDevelopmentTable.empty()) {
                text += " (" + result.preDevelopmentTable + ")";
            }
            return text + " x " + GeneralNumberText(inputs.releaseFactor);
        }
        case ReleaseSource::Single:
            break;
    }
    return GeneralNumberText(inputs.release) + " cfs for every return period";
}

}  // namespace torrenta
