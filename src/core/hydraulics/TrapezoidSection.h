#pragma once

namespace torrenta {

// Flow area and wetted perimeter of a trapezoidal channel with bottom width B,
// depth Y and side slope Z (horizontal per unit vertical):
// area = Y (B + Z Y), wetted perimeter = 2 (Y^2 + (Y Z)^2)^(1/2) + B.
struct TrapezoidResult {
    double area = 0.0;
    double wettedPerimeter = 0.0;
};

TrapezoidResult TrapezoidSection(double bottomWidth, double depth, double sideSlope);

// The formula texts the section calculator shows beside its results.
inline constexpr const char* kTrapezoidAreaFormula = " Area = Y * (B + Z*Y)";
inline constexpr const char* kTrapezoidPerimeterFormula =
    " Wetted Perimeter = 2*(Y^2 + (Y*Z)^2)^(1/2) + B";

}  // namespace torrenta
