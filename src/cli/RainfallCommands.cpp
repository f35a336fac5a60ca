#include "RainfallCommands.h"

#include <ostream>

#include "intensity/IntensityDatabase.h"
#include "rainfall/IdfEquation.h"
#include "rainfall/NoaaAtlas14File.h"
#include "rainfall/RainfallTable.h"

namespace torrenta {

void RunImportNoaa(const std::string& appFolder, const ImportNoaaOptions& options,
                   std::ostream& err) {
    ValidateIntensityTableName(options.name);
    const NoaaBlock block = options.bound == "upper"   ? NoaaBlock::Upper
                            : options.bound == "lower" ? NoaaBlock::Lower
                                                       : NoaaBlock::Estimates;
    const RainfallTable table = ReadNoaaAtlas14File(options.file, block);
    SaveRainfallTable(appFolder, options.name, table, options.replace);
    for (const auto& warning : table.warnings) {
        err << "torrenta-cli: warning: " << warning << "\n";
    }
}

void RunTableFromEquation(const std::string& appFolder, const TableFromEquationOptions& options) {
    ValidateIntensityTableName(options.name);
    const RainfallTable table =
        TableFromEquation(ReadIdfCoefficientsFile(options.coefficientsFile));
    SaveRainfallTable(appFolder, options.name, table, options.replace);
}

}  // namespace torrenta
