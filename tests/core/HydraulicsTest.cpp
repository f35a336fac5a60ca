#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <string>

#include "Errors.h"
#include "hydraulics/Tables.h"
#include "hydraulics/TrapezoidSection.h"
#include "hydraulics/TravelTime.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

struct WorkedCase {
    const char* what;
    std::function<double()> compute;
    int decimals;
    const char* text;
};

TEST(TravelTime, ReproducesTheWorkedExamples) {
    const WorkedCase cases[] = {
        {"P2", [] { return TwoYearDepth(0.125); }, 4, "3.0000"},
        {"sheet Tc", [] { return SheetFlowTc(0.24, 150, 0.02, TwoYearDepth(0.125)); }, 4,
         "20.3854"},
        {"sheet Tc, zero n", [] { return SheetFlowTc(0.0, 150, 0.02, 3.0); }, 4, "0.0000"},
        {"sheet Tc, zero length", [] { return SheetFlowTc(0.24, 0.0, 0.02, 3.0); }, 4, "0.0000"},
        {"unpaved V", [] { return ShallowVelocity(0.02, SurfaceType::Unpaved); }, 4, "2.2811"},
        {"unpaved Tc",
         [] { return ShallowTravelTime(500, ShallowVelocity(0.02, SurfaceType::Unpaved)); }, 4,
         "3.6532"},
        {"paved V", [] { return ShallowVelocity(0.02, SurfaceType::Paved); }, 4, "2.8751"},
        {"paved Tc",
         [] { return ShallowTravelTime(500, ShallowVelocity(0.02, SurfaceType::Paved)); }, 4,
         "2.8985"},
        {"channel V", [] { return ChannelVelocity(10, 8, 0.005, 0.013); }, 4, "9.3792"},
        {"channel Tc", [] { return ChannelTravelTime(1000, ChannelVelocity(10, 8, 0.005, 0.013)); },
         4, "1.7770"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixed(c.compute(), c.decimals), c.text) << c.what;
    }
}

TEST(TravelTime, RefusesInputsThatGiveNoFiniteResult) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"sheet, zero slope", [] { SheetFlowTc(0.24, 150, 0.0, 3.0); }},
        {"sheet, negative slope", [] { SheetFlowTc(0.24, 150, -0.02, 3.0); }},
        {"sheet, zero P2", [] { SheetFlowTc(0.24, 150, 0.02, 0.0); }},
        {"sheet, negative P2", [] { SheetFlowTc(0.24, 150, 0.02, -3.0); }},
        {"sheet, negative n", [] { SheetFlowTc(-0.24, 150, 0.02, 3.0); }},
        {"sheet, negative length", [] { SheetFlowTc(0.24, -150, 0.02, 3.0); }},
        {"sheet, negative n and length", [] { SheetFlowTc(-0.24, -150, 0.02, 3.0); }},
        {"sheet, overflow", [] { SheetFlowTc(DBL_MAX, DBL_MAX, 0.02, 3.0); }},
        {"P2 overflow", [] { TwoYearDepth(DBL_MAX); }},
        {"shallow, zero slope", [] { ShallowVelocity(0.0, SurfaceType::Paved); }},
        {"shallow, negative slope", [] { ShallowVelocity(-0.02, SurfaceType::Unpaved); }},
        {"shallow, zero velocity", [] { ShallowTravelTime(500, 0.0); }},
        {"shallow, overflow", [] { ShallowTravelTime(DBL_MAX, 1e-300); }},
        {"channel, zero perimeter", [] { ChannelVelocity(10, 0.0, 0.005, 0.013); }},
        {"channel, zero n", [] { ChannelVelocity(10, 8, 0.005, 0.0); }},
        {"channel, zero slope", [] { ChannelVelocity(10, 8, 0.0, 0.013); }},
        {"channel, negative slope", [] { ChannelVelocity(10, 8, -0.005, 0.013); }},
        {"channel, negative area", [] { ChannelVelocity(-10, 8, 0.005, 0.013); }},
        {"channel, overflow", [] { ChannelVelocity(DBL_MAX, 1e-300, 0.005, 0.013); }},
        {"channel, zero velocity", [] { ChannelTravelTime(1000, 0.0); }},
        {"channel, negative n", [] { ChannelVelocity(10, 8, 0.005, -0.013); }},
        {"channel, negative perimeter", [] { ChannelVelocity(-10, -8, 0.005, 0.013); }},
        {"channel, negative velocity", [] { ChannelTravelTime(1000, -2.0); }},
        {"shallow, negative velocity", [] { ShallowTravelTime(500, -2.0); }},
        {"trapezoid, overflow", [] { TrapezoidSection(1.0, DBL_MAX, DBL_MAX); }},
    };
    for (const auto& [what, call] : cases) {
        EXPECT_THROW(call(), InputError) << what;
    }
}

TEST(TravelTime, ReadsOnlyPavedExactlyAsPaved) {
    const std::pair<const char*, SurfaceType> cases[] = {
        {"Paved", SurfaceType::Paved},   {"Unpaved", SurfaceType::Unpaved},
        {"paved", SurfaceType::Unpaved}, {"Paved ", SurfaceType::Unpaved},
        {"", SurfaceType::Unpaved},      {"Gravel", SurfaceType::Unpaved},
    };
    for (const auto& [text, type] : cases) {
        EXPECT_EQ(SurfaceTypeFromText(text), type) << '"' << text << '"';
    }
    EXPECT_EQ(SurfaceTypeText(SurfaceType::Paved), "Paved");
    EXPECT_EQ(SurfaceTypeText(SurfaceType::Unpaved), "Unpaved");
}

TEST(TrapezoidSection, GivesAreaAndWettedPerimeter) {
    struct Row {
        double b, y, z;
        const char* area;
        const char* perimeter;
    };
    const Row rows[] = {
        {4, 2, 2, "16.00", "12.94"},
        {4, 2, 0, "8.00", "8.00"},
        {0, 0, 0, "0.00", "0.00"},
        {3, 1.5, 1, "6.75", "7.24"},
    };
    for (const auto& r : rows) {
        const TrapezoidResult result = TrapezoidSection(r.b, r.y, r.z);
        EXPECT_EQ(FormatFixed(result.area, 2), r.area) << r.b << ' ' << r.y << ' ' << r.z;
        EXPECT_EQ(FormatFixed(result.wettedPerimeter, 2), r.perimeter)
            << r.b << ' ' << r.y << ' ' << r.z;
    }
}

TEST(HydraulicTables, ProposesTheMeanOfEachLandUse) {
    const char* const expected[] = {"0.83", "0.60", "0.40", "0.50", "0.68", "0.33", "0.60", "0.65",
                                    "0.75", "0.18", "0.28", "0.30", "0.20", "0.83", "0.88", "0.78"};
    for (std::size_t i = 0; i < kLandUses.size(); ++i) {
        EXPECT_EQ(ProposedC(kLandUses[i]), expected[i]) << kLandUses[i].text;
    }
}

TEST(HydraulicTables, KeepsTheShownTexts) {
    EXPECT_EQ(kSheetFlowSurfaces[9].text, "Woods, Dense underbrush");
    EXPECT_EQ(kSheetFlowSurfaces[9].n, "0.80");
    EXPECT_EQ(kSheetFlowSurfaces[2].text, "Cultivated soils Cover <= 20%");
    EXPECT_EQ(kChannelMaterials[2].text, "Gravel Channel");
    EXPECT_EQ(kChannelMaterials[2].n, "0.029");
    EXPECT_EQ(kLandUses[kDefaultLandUse].text, "Residential (Suburban)");
}

}  // namespace
}  // namespace torrenta
