#include "RainfallCommands.h"

#include "ChangeNote.h"

#include <ostream>

#include "Errors.h"
#include "intensity/IntensityDatabase.h"
#include "rainfall/IdfEquation.h"
#include "rainfall/NoaaAtlas14File.h"
#include "rainfall/RainfallTable.h"

namespace torrenta {
namespace {

void PrintWarnings(const RainfallTable& table, std::ostream& err) {
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
    SaveRainfallTable(appFolder, options.name, table, options.replace);
    NoteChange("saved the intensity table \"" + options.name + "\"");
    PrintWarnings(table, err);
}

void RunTableFromEquation(const std::string& appFolder, const TableFromEquationOptions& options,
                          std::ostream& err) {
    ValidateIntensityTableName(options.name);
    const RainfallTable table =
        TableFromEquation(ReadIdfCoefficientsFile(options.coefficientsFile));
    SaveRainfallTable(appFolder, options.name, table, options.replace);
    NoteChange("saved the intensity table \"" + options.name + "\"");
    PrintWarnings(table, err);
}

}  // namespace torrenta
