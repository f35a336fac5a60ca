#pragma once

#include <string_view>

namespace torrenta {

// Travel-time formulas of the element editors, in double precision. Each one
// refuses (InputError with a message naming the value) an input that would
// divide by zero or give a result that is not a finite number, so no infinity
// or NaN reaches a box or the project file.

// The 2-year 24-hour rainfall depth P2 in inches from the 2-year intensity of
// the 24-hour row (in/hr): 24 x intensity.
double TwoYearDepth(double twoYear24HourIntensity);

// Sheet-flow travel time in minutes: 0.42 (n L)^0.8 / (P2^0.5 S^0.4).
double SheetFlowTc(double n, double length, double slope, double p2);

enum class SurfaceType { Unpaved, Paved };

// "Unpaved" / "Paved", the texts stored in SurfType.
std::string_view SurfaceTypeText(SurfaceType type);
// Reads a stored or typed type text; anything but "Paved" exactly is unpaved,
// which is what a surface dialog shows for it.
SurfaceType SurfaceTypeFromText(std::string_view text);

// Shallow concentrated flow velocity in ft/s: 16.13 S^0.5 unpaved, 20.33 S^0.5 paved.
double ShallowVelocity(double slope, SurfaceType type);
// Travel time in minutes through the hours form L / (V x 60 x 60) x 60.
double ShallowTravelTime(double length, double velocity);

// Manning's constant in US units, exactly; channels and pipes share it.
inline constexpr double kManningUs = 1.486;

// Manning's equation in US units: 1.486 R^(2/3) S^(1/2) / n with R = A / P.
double ChannelVelocity(double area, double wettedPerimeter, double slope, double n);
// Channel travel time in minutes: L / (60 V).
double ChannelTravelTime(double length, double velocity);

}  // namespace torrenta
