#include "detention/DetentionStorage.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "ReturnPeriods.h"
#include "solver/RationalMethod.h"

namespace torrenta {
namespace {

constexpr double kSecondsPerMinute = 60.0;
constexpr double kDurationStep = 1.0;  // minutes between the storms swept

}  // namespace

std::string_view DetentionMethodWord(DetentionMethod method) {
    return method == DetentionMethod::ConstantRelease ? "constant" : "rising";
}

std::optional<DetentionMethod> DetentionMethodFromWord(std::string_view word) {
    if (word == "rising") {
        return DetentionMethod::RisingRelease;
    }
    if (word == "constant") {
        return DetentionMethod::ConstantRelease;
    }
    return std::nullopt;
}

std::vector<double> StormDurations(double tc, double longestDuration) {
    std::vector<double> durations;
    // Counted in whole steps from Tc, so 1440 storms never gather a rounding
    // error from adding one minute at a time.
    for (int k = 0; tc + k * kDurationStep < longestDuration; ++k) {
        durations.push_back(tc + k * kDurationStep);
    }
    durations.push_back(durations.empty() ? tc : longestDuration);
    return durations;
}

double InflowPeak(int years, double coefficient, double area, double intensity) {
    const double cf = FrequencyFactor(static_cast<std::int16_t>(years));
    return static_cast<double>(
        static_cast<float>(MinValue(coefficient * cf, 1.0) * area * intensity));
}

// Rising release. The inflow is a trapezoid: up from 0 to Qi over Tc, level
// until Td, down to 0 at Td + Tc, so it carries Qi Td in all. The outflow rises
// on a straight line from 0 at the start until it meets the falling limb at
// Qo, at t* = Td + Tc - Qo Tc / Qi; from there on outflow equals inflow and the
// pond empties, so its fullest is at t*.
//   Inflow until t*  = Qi Td - (the falling limb's tail beyond t*)
//                    = Qi Td - Qo (Td + Tc - t*) / 2 = Qi Td - Qo^2 Tc / (2 Qi)
//   Outflow until t* = Qo t* / 2 = Qo (Td + Tc) / 2 - Qo^2 Tc / (2 Qi)
//   V = inflow - outflow = Qi Td - Qo (Td + Tc) / 2   (cfs min; x 60 for ft3)
// A release above the storm's inflow is never reached: that storm passes
// through without storage. At Qo = Qi the line meets the inflow where it starts
// to fall, and the formula still holds.
//
// Constant release: the outlet passes Qo throughout the storm, so
// V = (Qi - Qo) Td.
double StorageVolume(DetentionMethod method, double inflowPeak, double release, double duration,
                     double tc) {
    double volume = 0.0;
    if (method == DetentionMethod::ConstantRelease) {
        volume = (inflowPeak - release) * duration;
    } else if (release <= inflowPeak) {
        volume = inflowPeak * duration - release * (duration + tc) / 2.0;
    }
    return std::max(volume, 0.0) * kSecondsPerMinute;
}

DetentionSweep SweepDetention(const DetentionBasis& basis, const StormIntensity& intensity,
                              DetentionMethod method, const std::array<double, 7>& releases) {
    DetentionSweep sweep;
    sweep.method = method;
    sweep.tc = basis.tc;
    sweep.longestDuration = basis.longestDuration;
    const std::vector<double> durations = StormDurations(basis.tc, basis.longestDuration);
    for (std::size_t k = 0; k < sweep.periods.size(); ++k) {
        DetentionPeriod& period = sweep.periods[k];
        period.years = kReturnPeriods[k];
        period.release = releases[k];
        period.curve.reserve(durations.size());
    }
    for (const double duration : durations) {
        const std::array<double, 7> rain = intensity(duration);
        for (std::size_t k = 0; k < sweep.periods.size(); ++k) {
            DetentionPeriod& period = sweep.periods[k];
            const double inflow = InflowPeak(period.years, basis.coefficient, basis.area, rain[k]);
            const double storage =
                StorageVolume(method, inflow, period.release, duration, basis.tc);
            period.curve.push_back({duration, storage});
            // Strictly larger: on a tie the shorter storm stays critical.
            if (storage > period.storage) {
                period.storageNeeded = true;
                period.storage = storage;
                period.criticalDuration = duration;
                period.intensity = rain[k];
                period.inflowPeak = inflow;
            }
        }
    }
    for (DetentionPeriod& period : sweep.periods) {
        period.storageAcreFeet = period.storage / kCubicFeetPerAcreFoot;
        // A Tc past the table's end is a single storm of Tc, not the table's end.
        period.atTableEnd = period.storageNeeded && period.criticalDuration == durations.back() &&
                            basis.tc < basis.longestDuration;
    }
    return sweep;
}

StormHydrographs DetentionHydrographs(DetentionMethod method, double tc, double duration,
                                      double inflowPeak, double release) {
    StormHydrographs hydrographs;
    const double end = duration + tc;
    hydrographs.inflow = {{0.0, 0.0}, {tc, inflowPeak}, {duration, inflowPeak}, {end, 0.0}};
    if (method == DetentionMethod::ConstantRelease) {
        hydrographs.outflow = {{0.0, 0.0}, {0.0, release}, {duration, release}, {duration, 0.0}};
    } else if (release > inflowPeak || inflowPeak <= 0.0) {
        hydrographs.outflow = hydrographs.inflow;
    } else {
        const double meets = end - release * tc / inflowPeak;
        hydrographs.outflow = {{0.0, 0.0}, {meets, release}, {end, 0.0}};
    }
    return hydrographs;
}

}  // namespace torrenta
