#include "hydraulics/TravelTime.h"

#include <cmath>
#include <string>

#include "Errors.h"

namespace torrenta {
namespace {

// Overflowing inputs (a huge length, n or area) would otherwise put "inf" or
// "nan" into a box and from there into the project file.
double RequireFinite(double value, const char* what) {
    if (!std::isfinite(value)) {
        throw InputError(std::string("The ") + what +
                         " is out of range; check the values it is computed from.");
    }
    return value;
}

constexpr double kUnpavedCoefficient = 16.13;
constexpr double kPavedCoefficient = 20.33;

}  // namespace

double TwoYearDepth(double twoYear24HourIntensity) {
    return RequireFinite(24.0 * twoYear24HourIntensity, "2-year 24-hour rainfall depth P2");
}

double SheetFlowTc(double n, double length, double slope, double p2) {
    if (slope <= 0.0) {
        throw InputError(
            "The slope must be greater than zero to compute the sheet-flow travel time.");
    }
    if (p2 <= 0.0) {
        throw InputError(
            "The 2-year 24-hour rainfall depth P2 must be greater than zero to compute the "
            "sheet-flow travel time.");
    }
    const double nTimesLength = n * length;
    if (n < 0.0 || length < 0.0) {
        throw InputError(
            "Manning's n and the flow length must not be negative to compute the sheet-flow "
            "travel time.");
    }
    // A zero n or length is a valid (empty) element and gives 0 minutes: nothing
    // is divided by it.
    const double tc =
        0.42 * std::pow(nTimesLength, 0.8) / (std::pow(p2, 0.5) * std::pow(slope, 0.4));
    return RequireFinite(tc, "sheet-flow travel time");
}

std::string_view SurfaceTypeText(SurfaceType type) {
    return type == SurfaceType::Paved ? "Paved" : "Unpaved";
}

SurfaceType SurfaceTypeFromText(std::string_view text) {
    return text == "Paved" ? SurfaceType::Paved : SurfaceType::Unpaved;
}

double ShallowVelocity(double slope, SurfaceType type) {
    // A zero slope gives no velocity and so no travel time; saying so here names
    // the value the engineer has to change.
    if (slope <= 0.0) {
        throw InputError(
            "The slope must be greater than zero to compute the shallow concentrated flow "
            "velocity.");
    }
    const double coefficient = type == SurfaceType::Paved ? kPavedCoefficient : kUnpavedCoefficient;
    return RequireFinite(coefficient * std::pow(slope, 0.5), "shallow concentrated flow velocity");
}

double ShallowTravelTime(double length, double velocity) {
    if (velocity <= 0.0) {
        throw InputError(
            "The velocity must be greater than zero to compute the shallow concentrated flow "
            "travel time.");
    }
    const double hours = length / (velocity * 60 * 60);
    return RequireFinite(hours * 60, "shallow concentrated flow travel time");
}

double ChannelVelocity(double area, double wettedPerimeter, double slope, double n) {
    if (wettedPerimeter <= 0.0) {
        throw InputError(
            "The wetted perimeter must be greater than zero to compute the channel velocity.");
    }
    if (n <= 0.0) {
        throw InputError("Manning's n must be greater than zero to compute the channel velocity.");
    }
    if (slope <= 0.0) {
        throw InputError("The slope must be greater than zero to compute the channel velocity.");
    }
    const double hydraulicRadius = area / wettedPerimeter;
    if (hydraulicRadius < 0.0) {
        throw InputError(
            "The flow area and the wetted perimeter must not give a negative hydraulic radius "
            "to compute the channel velocity.");
    }
    const double velocity =
        kManningUs * std::pow(hydraulicRadius, 2.0 / 3.0) * std::pow(slope, 1.0 / 2.0) / n;
    return RequireFinite(velocity, "channel velocity");
}

double ChannelTravelTime(double length, double velocity) {
    if (velocity <= 0.0) {
        throw InputError(
            "The velocity must be greater than zero to compute the channel travel time.");
    }
    return RequireFinite(length / (60 * velocity), "channel travel time");
}

}  // namespace torrenta
