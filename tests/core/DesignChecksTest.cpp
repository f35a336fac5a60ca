#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ReturnPeriods.h"
#include "checks/DesignChecks.h"
#include "report/ReportComposer.h"

namespace torrenta {
namespace {

// A network no reviewer would query: every value well inside every limit.
NetworkSolution CleanNetwork() {
    NetworkSolution solution;
    BasinRow basin;
    basin.BasinTag = "Basin1";
    basin.BasinName = "North Lots";
    basin.Area = "3";
    basin.CVal = "0.5";
    basin.TravelLength = "150";
    basin.BasinN = "0.24";
    basin.Tc = "18";
    SurfaceRow surface;
    surface.SurfTag = "Surface1";
    surface.SurfName = "Rear Swale";
    surface.SurfSlope = "0.02";
    surface.SurfTc = "3";
    ChannelRow channel;
    channel.ChannelTag = "Channel1";
    channel.ChannelName = "Ditch";
    channel.ChannelVelocity = "9.3792";
    channel.ChannelTc = "2";
    solution.overland = {basin};
    solution.shallow = {surface};
    solution.channel = {channel};
    solution.TotalArea = 3.0;
    solution.WeightedC = 0.5;
    solution.TotalTc = 23.0;
    for (std::size_t k = 0; k < solution.periods.size(); ++k) {
        solution.periods[k].years = kReturnPeriods[k];
    }
    return solution;
}

// Each check fires just past its limit and stays silent on the limit itself:
// the limits are the accepted edge of each range.
TEST(DesignChecks, EachCheckFiresJustPastItsLimitAndNotOnIt) {
    using Change = std::function<void(NetworkSolution&)>;
    struct Case {
        const char* name;
        Change change;
        const char* code;  // "" when nothing may be found
        const char* element;
        const char* message;
    };
    const auto length = [](const char* value) {
        return [value](NetworkSolution& s) { s.overland[0].TravelLength = value; };
    };
    const auto n = [](const char* value) {
        return [value](NetworkSolution& s) { s.overland[0].BasinN = value; };
    };
    // Stored Tc against the Tc the inputs give with the solve's P2 (3.72 in).
    const auto rainfall = [](const char* stored, const char* computed) {
        return [stored, computed](NetworkSolution& s) {
            s.overland[0].Tc = stored;
            s.overlandTcWithP2 = {computed};
            s.rainfallP2 = 3.72;
        };
    };
    const auto slope = [](const char* value) {
        return [value](NetworkSolution& s) { s.shallow[0].SurfSlope = value; };
    };
    const auto velocity = [](const char* value) {
        return [value](NetworkSolution& s) { s.channel[0].ChannelVelocity = value; };
    };
    const auto tc = [](double value) { return [value](NetworkSolution& s) { s.TotalTc = value; }; };
    const auto c = [](double value) {
        return [value](NetworkSolution& s) { s.WeightedC = value; };
    };
    const auto area = [](double value) {
        return [value](NetworkSolution& s) { s.TotalArea = value; };
    };
    // The weighted C of areas of one C, added up the way the solve adds them.
    const auto weighted = [](std::vector<double> areas, double value) {
        return [areas, value](NetworkSolution& s) {
            double total = 0.0;
            for (const double a : areas) {
                total += a;
            }
            s.WeightedC = 0.0;
            for (const double a : areas) {
                s.WeightedC += a / total * value;
            }
        };
    };
    // A second area beside North Lots, both with their sheet-flow lengths;
    // `off` leaves the tag off the flow path. The path is checked only once
    // the engineer has said which elements form it, so the channel leaves it
    // in the other rows.
    const auto path = [](const char* first, const char* second, const char* off = "Channel1") {
        return [=](NetworkSolution& s) {
            BasinRow other = s.overland[0];
            other.BasinTag = "Basin2";
            other.BasinName = "South Lots";
            s.overland[0].TravelLength = first;
            other.TravelLength = second;
            s.overland.push_back(other);
            s.offTcPath = {off};
        };
    };
    const Case cases[] = {
        {"clean", [](NetworkSolution&) {}, "", "", ""},
        {"path 150 + 150", path("150", "150"), "", "", ""},
        {"path 150 + 150.01", path("150", "150.01"), "SHEET-PATH", "",
         "Sheet flow along the Tc flow path is 300.01 ft (2 overland flow areas), over 300 ft; "
         "areas lying side by side belong off the path, only one of them on it."},
        {"path 250 + 250, one off it", path("250", "250", "Basin2"), "", "", ""},
        // Every element starts on the path: two lawns side by side are queried.
        {"path 250 + 250, no element off it", path("250", "250", ""), "SHEET-PATH", "",
         "Sheet flow along the Tc flow path is 500 ft (2 overland flow areas), over 300 ft; "
         "areas lying side by side belong off the path, only one of them on it."},
        {"length 300", length("300"), "", "", ""},
        // Past 300 by less than the 15 digits the message prints.
        {"length 300.0000000000001", length("300.0000000000001"), "", "", ""},
        {"length 300.01", length("300.01"), "SHEET-LENGTH", "Basin1",
         "Overland flow area \"North Lots\": sheet flow length 300.01 ft is over 300 ft."},
        {"n 0.011", n("0.011"), "", "", ""},
        {"n 0.0109", n("0.0109"), "SHEET-N", "Basin1",
         "Overland flow area \"North Lots\": sheet-flow Manning's n 0.0109 is outside 0.011 to "
         "0.8."},
        {"n 0.80", n("0.80"), "", "", ""},
        {"n 0.801", n("0.801"), "SHEET-N", "Basin1",
         "Overland flow area \"North Lots\": sheet-flow Manning's n 0.801 is outside 0.011 to "
         "0.8."},
        {"Tc as its inputs give", rainfall("18.3066", "18.3066"), "", "", ""},
        {"Tc one stored digit off", rainfall("18.3067", "18.3066"), "TC-RAINFALL", "Basin1",
         "Overland flow area \"North Lots\": stored Tc 18.3067 min, but its inputs give 18.3066 "
         "min with the 2-year 24-hour rainfall P2 3.72 in."},
        {"Tc of another table", rainfall("19.2349", "18.3066"), "TC-RAINFALL", "Basin1",
         "Overland flow area \"North Lots\": stored Tc 19.2349 min, but its inputs give 18.3066 "
         "min with the 2-year 24-hour rainfall P2 3.72 in."},
        // The engineer's own figure, typed in another form than Calculate's.
        {"Tc typed", rainfall("12.3", "18.3066"), "", "", ""},
        {"inputs cannot be computed", rainfall("18.3067", ""), "", "", ""},
        {"slope 0.005", slope("0.005"), "", "", ""},
        {"slope 0.0049", slope("0.0049"), "SHALLOW-SLOPE", "Surface1",
         "Shallow concentrated flow \"Rear Swale\": slope 0.0049 ft/ft is outside 0.005 to 0.5 "
         "ft/ft."},
        {"slope 0.50", slope("0.50"), "", "", ""},
        {"slope 0.501", slope("0.501"), "SHALLOW-SLOPE", "Surface1",
         "Shallow concentrated flow \"Rear Swale\": slope 0.501 ft/ft is outside 0.005 to 0.5 "
         "ft/ft."},
        {"velocity 20", velocity("20.0000"), "", "", ""},
        {"velocity 20.0001", velocity("20.0001"), "CHANNEL-VELOCITY", "Channel1",
         "Channel \"Ditch\": velocity 20.0001 ft/s is above 20 ft/s."},
        {"velocity 0.5", velocity("0.5000"), "", "", ""},
        {"velocity 0.4999", velocity("0.4999"), "CHANNEL-VELOCITY", "Channel1",
         "Channel \"Ditch\": velocity 0.4999 ft/s is below 0.5 ft/s."},
        {"Tc 5", tc(5.0), "", "", ""},
        {"Tc 4.99", tc(4.99), "TC-RANGE", "",
         "Total Tc 4.99 min is under 5 minutes: the 5-minute intensity is used."},
        // Sums a rounding error short of or past a limit print as the limit.
        {"Tc 0.1 + 0.2 + 4.1 + 0.6", tc(0.1 + 0.2 + 4.1 + 0.6), "", "", ""},
        {"Tc 0.1 + 0.2 + 4.1 + 0.59", tc(0.1 + 0.2 + 4.1 + 0.59), "TC-RANGE", "",
         "Total Tc 4.99 min is under 5 minutes: the 5-minute intensity is used."},
        {"Tc 1440", tc(1440.0), "", "", ""},
        {"Tc 706.57 + 425.5063 + 307.9237", tc(706.57 + 425.5063 + 307.9237), "", "", ""},
        {"Tc 1440.01", tc(1440.01), "TC-RANGE", "",
         "Total Tc 1440.01 min is over 24 hours: the 24-hour intensity is used."},
        // 0.8 x 1.25 is exactly 1: the solver's cap changes nothing.
        {"C 0.8", c(0.8), "", "", ""},
        {"C 0.81", c(0.81), "CF-CAP", "",
         "Weighted C 0.8100 times Cf is over 1 and is capped at 1 for the 100-year period."},
        {"two areas of C 0.8", weighted({0.1, 0.4}, 0.8), "", "", ""},
        {"areas of C 0.8 and 0.8002", c(0.1 / 0.5 * 0.8 + 0.4 / 0.5 * 0.8002), "CF-CAP", "",
         "Weighted C 0.8002 times Cf is over 1 and is capped at 1 for the 100-year period."},
        // C * Cf of 1 for the 1- to 10-year periods is not capped.
        {"three areas of C 1", weighted({0.1, 0.4, 0.1}, 1.0), "CF-CAP", "",
         "Weighted C 1.0000 times Cf is over 1 and is capped at 1 for the 25-year, 50-year and "
         "100-year periods."},
        {"C 0.95", c(0.95), "CF-CAP", "",
         "Weighted C 0.9500 times Cf is over 1 and is capped at 1 for the 25-year, 50-year and "
         "100-year periods."},
        {"area 200", area(200.0), "", "", ""},
        {"area 200.01", area(200.01), "AREA-LARGE", "",
         "Total area 200.01 acres is over 200 acres."},
        {"area 0.1 + 0.2 + 128.3 + 71.4", area(0.1 + 0.2 + 128.3 + 71.4), "", "", ""},
        {"area 0.1 + 0.2 + 128.3 + 71.41", area(0.1 + 0.2 + 128.3 + 71.41), "AREA-LARGE", "",
         "Total area 200.01 acres is over 200 acres."},
        {"area 0", area(0.0), "NO-AREA", "",
         "The overland flow areas add up to 0 acres: every peak flow is 0."},
        {"no overland", [](NetworkSolution& s) { s.overland.clear(); }, "NO-AREA", "",
         "The network has no overland flow area: every peak flow is 0."},
    };
    const std::map<std::string, std::string> kReferences = {
        {"SHEET-LENGTH", "TR-55 limits sheet flow to 300 ft; many manuals use 100 ft"},
        {"SHEET-PATH",
         "TR-55 limits sheet flow to 300 ft along a flow path; many manuals use "
         "100 ft"},
        {"SHEET-N", "TR-55 Table 3-1 (sheet-flow n 0.011 to 0.80)"},
        {"TC-RAINFALL",
         "TR-55 sheet flow: Tc depends on the 2-year 24-hour rainfall of the table used"},
        {"SHALLOW-SLOPE", "TR-55 Figure 3-1 (slopes 0.005 to 0.50 ft/ft)"},
        {"CHANNEL-VELOCITY",
         "Open channels: below 0.5 ft/s sediment settles, above 20 ft/s linings scour"},
        {"TC-RANGE",
         "The intensity table runs from 5 minutes to 24 hours; beyond it the end row is used"},
        {"CF-CAP", "Rational method: C * Cf may not exceed 1"},
        {"AREA-LARGE", "Most manuals limit the rational method to 200 acres or less"},
        {"NO-AREA", "Q = C * Cf * A * I is 0 when A is 0"},
    };
    for (const Case& k : cases) {
        NetworkSolution solution = CleanNetwork();
        k.change(solution);
        const std::vector<DesignFinding> findings = CheckDesign(solution);
        if (std::string(k.code).empty()) {
            EXPECT_TRUE(findings.empty()) << k.name << ": " << findings[0].message;
            continue;
        }
        ASSERT_EQ(findings.size(), 1u) << k.name;
        EXPECT_EQ(findings[0].code, k.code) << k.name;
        EXPECT_EQ(findings[0].element, k.element) << k.name;
        EXPECT_EQ(findings[0].message, k.message) << k.name;
        // The report prints each finding with where its limit comes from.
        const std::string line =
            std::string("\n") + k.code + "\t" + k.message + " (" + kReferences.at(k.code) + ")\n";
        EXPECT_NE(ComposeReport(solution, {}).PlainText().find(line), std::string::npos) << line;
    }
}

// The storage is queried on the same 200 acres as the peak flow, and only
// when the project sizes one.
TEST(DesignChecks, DetentionIsQueriedOverTwoHundredAcres) {
    const struct {
        double area;
        bool detention;
        std::vector<std::string> codes;
    } cases[] = {
        {200.0, true, {}},
        {200.01, true, {"AREA-LARGE", "DETENTION-AREA"}},
        {250.0, false, {"AREA-LARGE"}},
    };
    for (const auto& c : cases) {
        NetworkSolution solution = CleanNetwork();
        solution.TotalArea = c.area;
        if (c.detention) {
            solution.detention = DetentionResult{};
        }
        std::vector<std::string> codes;
        for (const DesignFinding& finding : CheckDesign(solution)) {
            codes.push_back(finding.code);
        }
        EXPECT_EQ(codes, c.codes) << c.area;
    }
    NetworkSolution large = CleanNetwork();
    large.TotalArea = 250.0;
    large.detention = DetentionResult{};
    // As the report prints it, reference included.
    const std::string line =
        "DETENTION-AREA\tDetention storage is sized for 250 acres, over 200 acres: route the pond "
        "with a hydrograph method instead. (Modified Rational Method: a screening method for areas "
        "up to 200 acres (Virginia); many manuals allow 20 to 100 acres)";
    EXPECT_NE(ComposeReport(large, {}).PlainText().find(line), std::string::npos);
}

// What an element dialog asks after Calculate: only that element's inputs.
TEST(DesignChecks, AnElementsOwnInputsAreCheckedAlone) {
    const NetworkSolution clean = CleanNetwork();
    BasinRow basin = clean.overland[0];
    basin.TravelLength = "350";
    basin.BasinN = "0.9";
    const std::vector<DesignFinding> findings = CheckElement(basin);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].code, "SHEET-LENGTH");
    EXPECT_EQ(findings[1].code, "SHEET-N");
    EXPECT_TRUE(CheckElement(clean.shallow[0]).empty());
    EXPECT_TRUE(CheckElement(clean.channel[0]).empty());
}

// Findings stand in their own section between the rates and the footer; a
// network without findings has no such section.
TEST(DesignChecks, TheReportListsFindingsBeforeTheFooter) {
    NetworkSolution solution = CleanNetwork();
    const std::string clean = ComposeReport(solution, {}).PlainText();
    EXPECT_EQ(clean.find("Design Checks"), std::string::npos);

    solution.overland[0].TravelLength = "350";
    solution.TotalArea = 250.0;
    const std::string queried = ComposeReport(solution, {}).PlainText();
    const std::string section =
        "Q(cfs)\t\t\t\t\t\t\t\n"  // no results shown in a network made by hand
        "\n"
        "\n"
        "Design Checks\n"
        "\n"
        "SHEET-LENGTH\tOverland flow area \"North Lots\": sheet flow length 350 ft is over 300 "
        "ft. (TR-55 limits sheet flow to 300 ft; many manuals use 100 ft)\n"
        "AREA-LARGE\tTotal area 250 acres is over 200 acres. (Most manuals limit the rational "
        "method to 200 acres or less)\n"
        "\n"
        "\n"
        "\n"
        "\t\t\t\t\t\t\t\t\n"
        "It's the engineer's responsibility";
    EXPECT_NE(queried.find(section), std::string::npos) << queried;
}

}  // namespace
}  // namespace torrenta
