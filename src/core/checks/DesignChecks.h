#pragma once

#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "solver/NetworkSolution.h"
#include "store/ElementRows.h"

namespace torrenta {

// What a reviewing engineer would query about a design. A check never blocks
// a solve and never changes a number: it only says what to look at again.
struct DesignFinding {
    std::string code;       // short and stable, for scripts: "SHEET-LENGTH"
    std::string element;    // the element's tag, or "" for the network as a whole
    std::string message;    // one sentence naming the element and the value
    std::string reference;  // where the limit comes from

    bool operator==(const DesignFinding&) const = default;
};

// One rule: a value below `low` or above `high` is queried; the limits
// themselves are accepted.
struct DesignRule {
    std::string_view code;
    double low;
    double high;
    std::string_view reference;
};

inline constexpr double kNoLimit = std::numeric_limits<double>::infinity();

inline constexpr DesignRule kSheetFlowLengthRule{
    "SHEET-LENGTH", -kNoLimit, 300.0, "TR-55 limits sheet flow to 300 ft; many manuals use 100 ft"};
// Sheet flow along one path: the lengths of the overland areas on the Tc
// flow path add up, the limit on one area's length holds for their sum.
inline constexpr DesignRule kSheetFlowPathRule{
    "SHEET-PATH", -kNoLimit, 300.0,
    "TR-55 limits sheet flow to 300 ft along a flow path; many manuals use 100 ft"};
inline constexpr DesignRule kSheetFlowNRule{"SHEET-N", 0.011, 0.80,
                                            "TR-55 Table 3-1 (sheet-flow n 0.011 to 0.80)"};
// A stored sheet-flow Tc that its own n, L and S no longer give with the
// solve's 2-year 24-hour rainfall (the table changed under the project, or the
// Tc was typed): any difference at the stored four decimals is queried.
inline constexpr DesignRule kTcRainfallRule{
    "TC-RAINFALL", 0.0, 0.0,
    "TR-55 sheet flow: Tc depends on the 2-year 24-hour rainfall of the table used"};
inline constexpr DesignRule kShallowSlopeRule{"SHALLOW-SLOPE", 0.005, 0.50,
                                              "TR-55 Figure 3-1 (slopes 0.005 to 0.50 ft/ft)"};
inline constexpr DesignRule kChannelVelocityRule{
    "CHANNEL-VELOCITY", 0.5, 20.0,
    "Open channels: below 0.5 ft/s sediment settles, above 20 ft/s linings scour"};
inline constexpr DesignRule kTotalTcRule{
    "TC-RANGE", 5.0, 1440.0,
    "The intensity table runs from 5 minutes to 24 hours; beyond it the end row is used"};
// C * Cf is queried above 1 only: the solver caps it there.
inline constexpr DesignRule kCappedCoefficientRule{"CF-CAP", -kNoLimit, 1.0,
                                                   "Rational method: C * Cf may not exceed 1"};
inline constexpr DesignRule kTotalAreaRule{
    "AREA-LARGE", -kNoLimit, 200.0, "Most manuals limit the rational method to 200 acres or less"};
// Storage sized for more than 200 acres: the Modified Rational Method's
// trapezoidal hydrograph no longer stands for the runoff of so large an area.
inline constexpr DesignRule kDetentionAreaRule{
    "DETENTION-AREA", -kNoLimit, 200.0,
    "Modified Rational Method: a screening method for areas up to 200 acres (Virginia); many "
    "manuals allow 20 to 100 acres"};
// A part upstream of a design point (an overland area, or a point) whose own
// peak at its own time exceeds the point's: the point's Q understates it.
inline constexpr DesignRule kPartialAreaRule{
    "PARTIAL-AREA", -kNoLimit, kNoLimit,
    "HEC-22 3.2 and 7.2.2: a part of the area with a shorter Tc can peak above the whole"};
// Storm-drain pipes. Capacity: a period's flow above the full flow of the
// pipe's diameter (it runs under pressure).
inline constexpr DesignRule kPipeCapacityRule{"PIPE-CAPACITY", -kNoLimit, 1.0,
                                              "HEC-22 7.4: a pipe is sized to carry its design "
                                              "flow; above full flow it runs under pressure"};
// Full-flow velocity against the project's minimum and maximum (the rule's
// limits are the defaults; the settings hold the ones applied).
inline constexpr DesignRule kPipeVelocityLowRule{
    "PIPE-VELOCITY-LOW", 3.0, kNoLimit,
    "HEC-22 7.2.4: a full-flow velocity of 3 ft/s keeps a pipe clean"};
inline constexpr DesignRule kPipeVelocityHighRule{
    "PIPE-VELOCITY-HIGH", -kNoLimit, 15.0,
    "Rigid pipe: velocities above 15 ft/s scour and need energy dissipation"};
inline constexpr DesignRule kPipeSizeDownRule{
    "PIPE-SIZE-DOWN", -kNoLimit, kNoLimit,
    "HEC-22 7-3: do not reduce size inside the system; a pipe is never smaller than one "
    "coming in"};
// Rim minus crown at either end of a pipe laid by its inverts, against the
// project's minimum (the rule's limit is the default).
inline constexpr DesignRule kPipeCoverRule{
    "PIPE-COVER", 3.0, kNoLimit,
    "HEC-22 7.2.5: 3 ft of cover where possible, never less than 1 ft"};
inline constexpr DesignRule kPipeSlopeRule{"PIPE-SLOPE", 0.0, kNoLimit,
                                           "A pipe of zero or adverse slope carries nothing by "
                                           "Manning's equation: it runs full under pressure"};
// The hydraulic grade line against the structures' rims and the pipes' crowns.
inline constexpr DesignRule kGradeAboveRimRule{
    "HGL-RIM", -kNoLimit, 0.0,
    "HEC-22 7.5 step 24: a hydraulic grade line above a rim floods the structure"};
inline constexpr DesignRule kGradeFreeboardRule{
    "HGL-FREEBOARD", 1.0, kNoLimit,
    "Review manuals keep the hydraulic grade line a freeboard (often 1 ft) below the rims"};
inline constexpr DesignRule kPipeSurchargeRule{
    "PIPE-SURCHARGE", -kNoLimit, 0.0,
    "HEC-22 7.1.2: a pipe whose grade line is above its crown runs under pressure"};
// Queried when the overland flow areas add up to `low` or less, or there are none.
inline constexpr DesignRule kNoAreaRule{"NO-AREA", 0.0, kNoLimit,
                                        "Q = C * Cf * A * I is 0 when A is 0"};

// The checks of one element's own inputs, as its dialog holds them after
// Calculate: sheet-flow length and n, shallow slope, channel velocity.
std::vector<DesignFinding> CheckElement(const BasinRow& row);
std::vector<DesignFinding> CheckElement(const SurfaceRow& row);
std::vector<DesignFinding> CheckElement(const ChannelRow& row);

// Every check over a solved network: each element's inputs in the order the
// report lists them (an overland area's stored Tc against the solve's P2 after
// its own inputs), then the sheet-flow length along the Tc flow path, the network's total Tc, C *
// Cf, total area, the presence of an overland flow area and, with detention inputs, the area
// the storage is sized for. Empty when nothing needs a second look.
std::vector<DesignFinding> CheckDesign(const NetworkSolution& solution);

}  // namespace torrenta
