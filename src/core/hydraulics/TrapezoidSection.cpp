#include "hydraulics/TrapezoidSection.h"

#include <cmath>

#include "Errors.h"

namespace torrenta {

TrapezoidResult TrapezoidSection(double bottomWidth, double depth, double sideSlope) {
    // Empty boxes read as 0, so an all-zero section is an ordinary (empty) result
    // rather than an error; only an overflow is refused.
    TrapezoidResult result;
    result.area = depth * (bottomWidth + sideSlope * depth);
    const double sideRise = depth * sideSlope;
    result.wettedPerimeter =
        2 * std::pow(depth * depth + sideRise * sideRise, 1.0 / 2.0) + bottomWidth;
    if (!std::isfinite(result.area) || !std::isfinite(result.wettedPerimeter)) {
        throw InputError(
            "The bottom width, depth and side slope are too large to compute the channel "
            "section's area and wetted perimeter.");
    }
    return result;
}

}  // namespace torrenta
