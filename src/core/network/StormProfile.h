#pragma once

#include <optional>
#include <string>
#include <vector>

namespace torrenta {

// Plain data the report's document carries, so only the functions below need
// the network's types.
struct DrainageLayout;
struct NetworkFlow;
struct HydraulicGrade;

// A storm drain's profile from one design point down its pipes to the outlet:
// what the profile chart draws. Stations (ft) run from 0 at the first point
// downstream along the pipes; elevations in feet. Per-period values follow
// `years` (the design period, then the check period).

struct ProfileStructure {
    std::string tag;  // "Outlet" for the outlet
    std::string name;
    double station = 0.0;
    std::optional<double> rim;  // ground; none for the outlet or where not given
    double invert = 0.0;        // the lowest invert of its pipes there
    std::vector<double> hgl;    // per period; at the outlet the line's start
    std::vector<double> egl;

    bool operator==(const ProfileStructure&) const = default;
};

struct ProfilePipe {
    std::string tag;
    std::string name;
    double stationUp = 0.0;
    double stationDown = 0.0;
    double invertUp = 0.0;
    double invertDown = 0.0;
    double diameterFt = 0.0;
    std::vector<double> hglUp;  // per period
    std::vector<double> hglDown;
    std::vector<double> eglUp;
    std::vector<double> eglDown;

    bool operator==(const ProfilePipe&) const = default;
};

struct StormProfile {
    std::string title;                         // "Storm Drain Profile: Inlet 1 to the outlet"
    std::vector<int> years;                    // one or two periods
    std::vector<ProfileStructure> structures;  // from the first point down, the outlet last
    std::vector<ProfilePipe> pipes;            // between them, in the same order

    bool operator==(const StormProfile&) const = default;
};

// The profile from `fromPoint` down to the outlet. InputError when the grade
// line is not computed (a pipe without inverts, naming them) or the point
// does not reach the outlet through pipes alone.
StormProfile ProfileToOutlet(const DrainageLayout& layout, const NetworkFlow& flow,
                             const HydraulicGrade& grade, const std::string& outletName,
                             const std::string& fromPoint);

// The design point whose run of pipes to the outlet is the longest (the first
// in flow order on a tie); none without a computed grade line.
std::optional<std::string> LongestRunStart(const NetworkFlow& flow, const HydraulicGrade& grade);

// The points a profile can start at: those whose pipes reach the outlet, in
// flow order.
std::vector<std::string> ProfileStarts(const NetworkFlow& flow, const HydraulicGrade& grade);

}  // namespace torrenta
