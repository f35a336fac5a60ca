#include "RainfallCommands.h"

#include <ostream>

#include "ChangeNote.h"

#include "Errors.h"
#include "intensity/IntensityDatabase.h"
#include "rainfall/IdfEquation.h"
#include "rainfall/NoaaAtlas14File.h"
#include "rainfall/RainfallTable.h"

namespace torrenta {
namespace {

// Saves a table read or made from a file, notes the change and says what the
// plausibility check found.
void SaveTable(const std::string& appFolder, const std::string& name, const RainfallTable& table,
               bool replace, std::ostream& err) {
    SaveRainfallTable(appFolder, name, table, replace);
    NoteChange("saved the intensity table \"" + name + "\"");
    for (const auto& warning : table.warnings) {
        err << "torrenta-cli: warning: " << warning << "\n";
    }
}

// The way to take a bound-only file here is the option naming its bound.
RainfallTable ReadNoaaTable(const std::string& file, NoaaBlock block) {
    try {
        return ReadNoaaAtlas14File(file, block);
    } catch (const NoaaBoundsOnlyError& e) {
        std::string options;
        for (const NoaaBlock bound : e.Bounds()) {
            options += std::string(options.empty() ? "" : " or ") + "--bound " +
                       (bound == NoaaBlock::Upper ? "upper" : "lower");
        }
        throw InputError(std::string(e.what()) + " Give " + options + " to take " +
                         (e.Bounds().size() == 1 ? "it." : "one."));
    }
}

}  // namespace

void RunImportNoaa(const std::string& appFolder, const ImportNoaaOptions& options,
                   std::ostream& err) {
    ValidateIntensityTableName(options.name);
    const NoaaBlock block = options.bound == "upper"   ? NoaaBlock::Upper
                            : options.bound == "lower" ? NoaaBlock::Lower
                                                       : NoaaBlock::Estimates;
    const RainfallTable table = ReadNoaaTable(options.file, block);
    SaveTable(appFolder, options.name, table, options.replace, err);
}

void RunTableFromEquation(const std::string& appFolder, const TableFromEquationOptions& options,
                          std::ostream& err) {
    ValidateIntensityTableName(options.name);
    const RainfallTable table =
        TableFromEquation(ReadIdfCoefficientsFile(options.coefficientsFile));
    SaveTable(appFolder, options.name, table, options.replace, err);
}

}  // namespace torrenta
