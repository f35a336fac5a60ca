#include "rainfall/RainfallTable.h"

#include <cmath>

#include "Errors.h"
#include "text/NumberText.h"

namespace torrenta {

std::string FourSignificantDigits(double value) {
    // The magnitude below is cast to int: only a finite positive value has one.
    if (!(value > 0.0) || !std::isfinite(value)) {
        throw InputError(
            "An intensity must be a positive number to be written to four "
            "significant digits.");
    }
    const int magnitude = static_cast<int>(std::floor(std::log10(value)));
    int decimals = std::max(0, 3 - magnitude);
    std::string text = FormatFixed(value, decimals);
    // 9.9996 rounds up to 10.000, one digit too many: one decimal fewer.
    if (decimals > 0 && LeadingNumber(text) >= std::pow(10.0, magnitude + 1)) {
        text = FormatFixed(value, decimals - 1);
    }
    return text;
}

SaveOutcome SaveRainfallTable(const std::string& appFolder, const std::string& name,
                              const RainfallTable& table, bool replace) {
    return SaveIntensityTable(appFolder, name, table.grid, table.source,
                              replace ? ExistingTable::Replace : ExistingTable::Refuse);
}

}  // namespace torrenta
