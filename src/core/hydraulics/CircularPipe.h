#pragma once

#include <optional>
#include <vector>

namespace torrenta {

// A circular pipe flowing by Manning's equation in US units (feet, cfs, ft/s)
// with the channel editor's constant and exact exponents: the storm drains'
// hydraulics.

// Full flow: Qfull = (1.486 / n) A R^(2/3) S^(1/2), A = pi D^2 / 4, R = D / 4.
struct FullFlow {
    double capacity = 0.0;  // cfs
    double velocity = 0.0;  // ft/s
};
// InputError unless D and n are above 0; a slope of 0 or less carries nothing.
FullFlow FullPipeFlow(double diameterFt, double n, double slope);

// The diameter (ft) whose full flow is exactly `flow`:
// [Q n / (K' S^(1/2))]^(3/8), K' = 1.486 (pi / 4) 4^(-2/3). InputError for a
// slope of 0 or less (no diameter carries anything) or an n not above 0.
double RequiredDiameterFt(double flow, double n, double slope);

// The largest Q/Qfull a pipe carries at normal depth (at y/D 0.938); above it
// the pipe runs under pressure.
inline constexpr double kPeakFlowRatio = 1.0757;

// The design flow in the part-full section at normal depth, n constant: y/D on
// the lower branch of Q/Qfull = (A/Af)(R/Rf)^(2/3) and V = Vfull (R/Rf)^(2/3).
// Under pressure (Q above the part-full peak, or a slope of 0 or less) the pipe
// is full and V = Q / Afull.
struct PartFullFlow {
    double depthRatio = 0.0;  // y / D
    double velocity = 0.0;    // ft/s
    bool pressure = false;
};
PartFullFlow DesignFlow(double flow, double diameterFt, double n, double slope);

// The smallest diameter (in) of `sizes` (ascending) whose full flow carries
// `flow`, not below `minimumIn` nor below `atLeastIn` (the largest pipe coming
// in); nothing when no size in the list is large enough.
std::optional<double> ChooseDiameterIn(double flow, double n, double slope,
                                       const std::vector<double>& sizes, double minimumIn,
                                       double atLeastIn);

// Q/Qfull and V/Vfull at a depth ratio y/D of a circular section.
struct SectionRatios {
    double flow = 0.0;
    double velocity = 0.0;
};
SectionRatios RatiosAtDepth(double depthRatio);

// The flow area (ft2) and the top width (ft) of water `depthFt` deep in a pipe
// of `diameterFt`; the full area and no width at or above the crown.
struct WetSection {
    double area = 0.0;
    double topWidth = 0.0;
};
WetSection SectionAtDepth(double depthFt, double diameterFt);

// The depth (ft) at which `flow` is critical in the pipe, Q^2 T / (g A^3) = 1,
// never above the diameter; 0 for no flow.
double CriticalDepthFt(double flow, double diameterFt);

// The friction slope of `flow` running full: [Q n / (K' D^(8/3))]^2 with the
// sizing's K' = 1.486 (pi / 4) 4^(-2/3).
double FullFrictionSlope(double flow, double diameterFt, double n);

inline constexpr double kGravityUs = 32.2;  // ft/s2

}  // namespace torrenta
