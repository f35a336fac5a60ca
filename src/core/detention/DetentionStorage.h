#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrenta {

// Storage by the Modified Rational Method: for every storm duration Td from
// the network's Tc on, a trapezoidal inflow hydrograph of peak Qi(Td) is set
// against an allowable release Qo, and the largest difference in volume is the
// storage the pond must hold. A screening method for small areas; it sizes the
// pond, it does not route the outlet.
enum class DetentionMethod {
    // The outflow rises on a straight line from the start of the storm until it
    // meets the inflow's falling limb at Qo.
    RisingRelease,
    // The outlet releases Qo for the whole storm duration (the FAA form).
    ConstantRelease,
};

// "rising" and "constant": the words the command line, the JSON and the project use.
std::string_view DetentionMethodWord(DetentionMethod method);
std::optional<DetentionMethod> DetentionMethodFromWord(std::string_view word);

// Intensity (in/hr) of the seven return periods, 1 ... 100 years, for a storm
// lasting `minutes`. The project's table interpolated as the solver reads it is
// one such function; an IDF equation is another.
using StormIntensity = std::function<std::array<double, 7>(double minutes)>;

// The drained area as the solve found it, and how far the rainfall reaches.
struct DetentionBasis {
    double area = 0.0;             // acres
    double coefficient = 0.0;      // area-weighted C
    double tc = 0.0;               // minutes: the network's total time of concentration
    double longestDuration = 0.0;  // minutes: the table's last duration
};

inline constexpr double kCubicFeetPerAcreFoot = 43560.0;

// One point of the storage curve: a storm duration (min) and the storage it needs (ft3).
struct StoragePoint {
    double duration = 0.0;
    double storage = 0.0;
};

// One return period's answer. Without storage needed (Qo at or above the
// inflow of every storm), the critical duration, intensity and inflow are 0.
struct DetentionPeriod {
    int years = 0;
    double release = 0.0;  // Qo, cfs
    bool storageNeeded = false;
    double criticalDuration = 0.0;  // Td*, min: the shortest of the largest storage
    double intensity = 0.0;         // I(Td*), in/hr
    double inflowPeak = 0.0;        // Qi(Td*), cfs
    double storage = 0.0;           // ft3
    double storageAcreFeet = 0.0;
    // Td* is the table's last duration: a longer storm might need more.
    bool atTableEnd = false;
    // I and Qi as the report prints them: at Td* = Tc the peak-flow table's
    // own texts, so one storm never shows two intensities.
    std::string intensityShown;
    std::string inflowShown;
    std::vector<StoragePoint> curve;
};

struct DetentionSweep {
    DetentionMethod method = DetentionMethod::RisingRelease;
    double tc = 0.0;               // minutes: the first storm swept
    double longestDuration = 0.0;  // minutes: the table's end
    std::array<DetentionPeriod, 7> periods;
};

// The storm durations swept: Tc, Tc + 1, Tc + 2 ... minutes while short of the
// longest duration, then the longest itself, so the table's end is always
// judged; only Tc when Tc is at or past the longest.
std::vector<double> StormDurations(double tc, double longestDuration);

// The inflow peak of one return period for an intensity, as the solver
// computes Q: min(C Cf, 1) A I, held in single precision.
double InflowPeak(int years, double coefficient, double area, double intensity);

// The storage (ft3) a storm of `duration` minutes with inflow peak `inflowPeak`
// needs against the release, never below 0.
double StorageVolume(DetentionMethod method, double inflowPeak, double release, double duration,
                     double tc);

// Every period's storage over the durations of StormDurations; `releases`
// holds Qo for 1 ... 100 years.
DetentionSweep SweepDetention(const DetentionBasis& basis, const StormIntensity& intensity,
                              DetentionMethod method, const std::array<double, 7>& releases);

// The inflow and the outflow of one storm as the method draws them, each a
// polyline of (minutes, cfs) from the start of the storm to the inflow's end.
struct HydrographPoint {
    double minutes = 0.0;
    double flow = 0.0;
};
struct StormHydrographs {
    std::vector<HydrographPoint> inflow;
    std::vector<HydrographPoint> outflow;
};
StormHydrographs DetentionHydrographs(DetentionMethod method, double tc, double duration,
                                      double inflowPeak, double release);

}  // namespace torrenta
