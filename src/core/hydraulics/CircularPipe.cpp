#include "hydraulics/CircularPipe.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Errors.h"
#include "hydraulics/TravelTime.h"

namespace torrenta {
namespace {

constexpr double kInchesPerFoot = 12.0;
// Where Q/Qfull peaks: the part-full branch below it is the one a design
// flow stands on.
constexpr double kPeakDepthRatio = 0.938;
// Fifty-two halvings of 0.938 leave y/D within 2^-52: a double's own step.
constexpr int kHalvings = 52;

void RequirePipe(double diameterFt, double n) {
    if (!(diameterFt > 0.0) || !std::isfinite(diameterFt)) {
        throw InputError("A pipe's diameter must be a number above 0.");
    }
    if (!(n > 0.0) || !std::isfinite(n)) {
        throw InputError("A pipe's Manning's n must be a number above 0.");
    }
}

double FullArea(double diameterFt) {
    return std::numbers::pi * diameterFt * diameterFt / 4.0;
}

// K' of Q = (K' / n) D^(8/3) S^(1/2), the full-flow equation in diameters.
double DiameterConstant() {
    return kManningUs * std::numbers::pi / 4.0 * std::pow(4.0, -2.0 / 3.0);
}

}  // namespace

FullFlow FullPipeFlow(double diameterFt, double n, double slope) {
    RequirePipe(diameterFt, n);
    if (!(slope > 0.0)) {
        return {};
    }
    const double velocity =
        kManningUs / n * std::pow(diameterFt / 4.0, 2.0 / 3.0) * std::sqrt(slope);
    return {velocity * FullArea(diameterFt), velocity};
}

double RequiredDiameterFt(double flow, double n, double slope) {
    if (!(slope > 0.0)) {
        throw InputError(
            "A pipe of slope 0 or less carries nothing by Manning's equation: give "
            "its diameter, or a slope above 0.");
    }
    RequirePipe(1.0, n);
    return std::pow(std::max(flow, 0.0) * n / (DiameterConstant() * std::sqrt(slope)), 3.0 / 8.0);
}

SectionRatios RatiosAtDepth(double depthRatio) {
    const double y = std::clamp(depthRatio, 0.0, 1.0);
    const double theta = 2.0 * std::acos(1.0 - 2.0 * y);
    // Per unit diameter: A = (theta - sin theta) / 8, P = theta / 2.
    const double area = (theta - std::sin(theta)) / 8.0;
    const double fullArea = std::numbers::pi / 4.0;
    if (theta == 0.0) {
        return {};
    }
    const double radius = area / (theta / 2.0);
    const double fullRadius = 0.25;
    const double velocity = std::pow(radius / fullRadius, 2.0 / 3.0);
    return {area / fullArea * velocity, velocity};
}

PartFullFlow DesignFlow(double flow, double diameterFt, double n, double slope) {
    const FullFlow full = FullPipeFlow(diameterFt, n, slope);
    const double ratio = full.capacity > 0.0 ? flow / full.capacity : INFINITY;
    if (!(flow > 0.0)) {
        return {};
    }
    static const double peak = RatiosAtDepth(kPeakDepthRatio).flow;
    if (ratio > peak) {
        return {1.0, flow / FullArea(diameterFt), true};
    }
    // Q/Qfull rises with the depth up to the peak: halve the interval.
    double low = 0.0;
    double high = kPeakDepthRatio;
    for (int i = 0; i < kHalvings; ++i) {
        const double middle = (low + high) / 2.0;
        (RatiosAtDepth(middle).flow < ratio ? low : high) = middle;
    }
    const double depth = (low + high) / 2.0;
    return {depth, full.velocity * RatiosAtDepth(depth).velocity, false};
}

WetSection SectionAtDepth(double depthFt, double diameterFt) {
    if (!(depthFt > 0.0)) {
        return {};
    }
    if (depthFt >= diameterFt) {
        return {FullArea(diameterFt), 0.0};
    }
    const double theta = 2.0 * std::acos(1.0 - 2.0 * depthFt / diameterFt);
    return {diameterFt * diameterFt * (theta - std::sin(theta)) / 8.0,
            diameterFt * std::sin(theta / 2.0)};
}

double CriticalDepthFt(double flow, double diameterFt) {
    if (!(flow > 0.0)) {
        return 0.0;
    }
    // Q^2 T / (g A^3) falls as the depth rises; past the crown the pipe is
    // full and critical depth is taken at the diameter.
    const auto froudeSquared = [&](double depth) {
        const WetSection wet = SectionAtDepth(depth, diameterFt);
        return flow * flow * wet.topWidth / (kGravityUs * wet.area * wet.area * wet.area);
    };
    double low = 0.0;
    double high = diameterFt;
    if (froudeSquared(diameterFt * (1.0 - 1e-9)) > 1.0) {
        return diameterFt;
    }
    for (int i = 0; i < kHalvings; ++i) {
        const double middle = (low + high) / 2.0;
        (froudeSquared(middle) > 1.0 ? low : high) = middle;
    }
    return (low + high) / 2.0;
}

double FullFrictionSlope(double flow, double diameterFt, double n) {
    RequirePipe(diameterFt, n);
    const double ratio = flow * n / (DiameterConstant() * std::pow(diameterFt, 8.0 / 3.0));
    return ratio * ratio;
}

std::optional<double> ChooseDiameterIn(double flow, double n, double slope,
                                       const std::vector<double>& sizes, double minimumIn,
                                       double atLeastIn) {
    for (const double size : sizes) {
        if (size < minimumIn || size < atLeastIn) {
            continue;
        }
        if (FullPipeFlow(size / kInchesPerFoot, n, slope).capacity >= flow) {
            return size;
        }
    }
    return std::nullopt;
}

}  // namespace torrenta
