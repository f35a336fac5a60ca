#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "Errors.h"
#include "hydraulics/CircularPipe.h"

namespace torrenta {
namespace {

const std::vector<double> kSizes = {12, 15, 18, 21, 24, 27, 30, 33, 36,  42, 48,
                                    54, 60, 66, 72, 78, 84, 90, 96, 102, 108};

// An 18-in concrete pipe at 1 %: Vfull = 1.486 / 0.013 x 0.375^(2/3) x 0.1 =
// 114.3077 x 0.52002 x 0.1 = 5.9442 ft/s; Qfull = 5.9442 x pi 1.5^2 / 4 =
// 10.504 cfs. The same at 12, 15, 21 and 24 in: 3.563, 6.460, 15.842, 22.622.
TEST(CircularPipe, FullFlowAndTheDiameterThatCarriesAFlow) {
    const FullFlow full = FullPipeFlow(1.5, 0.013, 0.01);
    EXPECT_NEAR(full.velocity, 5.9442, 1e-4);
    EXPECT_NEAR(full.capacity, 10.5043, 1e-4);
    for (const double flow : {0.5, 10.5043, 250.0}) {
        EXPECT_NEAR(FullPipeFlow(RequiredDiameterFt(flow, 0.013, 0.01), 0.013, 0.01).capacity, flow,
                    flow * 1e-12);
    }
    EXPECT_THROW(RequiredDiameterFt(5.0, 0.013, 0.0), InputError);
    EXPECT_THROW(FullPipeFlow(0.0, 0.013, 0.01), InputError);
    EXPECT_EQ(FullPipeFlow(1.5, 0.013, -0.002).capacity, 0.0);
}

// The smallest standard size that carries the flow, never below the minimum
// nor below a pipe coming in.
TEST(CircularPipe, ChoosesTheSmallestStandardSizeThatCarriesTheFlow) {
    const struct {
        double flow, minimum, atLeast;
        std::optional<double> chosen;
    } cases[] = {
        {5.0, 18, 0, 18}, {10.5, 18, 0, 18}, {10.51, 18, 0, 21}, {16.0, 18, 0, 24},
        {3.5, 12, 0, 12}, {3.6, 12, 0, 15},  {5.0, 12, 24, 24},  {1e6, 18, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseDiameterIn(c.flow, 0.013, 0.01, kSizes, c.minimum, c.atLeast), c.chosen)
            << c.flow << " cfs, min " << c.minimum << ", at least " << c.atLeast;
    }
}

// The part-full section's known points: half full carries half at the full
// velocity; a tenth of it runs at y/D 0.21 with V 0.64 Vfull (the charts' 0.21
// and 0.64); the flow equals the full flow at y/D 0.82 with V 1.14 Vfull; the
// peak 1.0757 Qfull at 0.938; above it, and at no slope, the pipe runs full
// under pressure at Q / Afull.
TEST(CircularPipe, DesignFlowAtNormalDepthAndUnderPressure) {
    const SectionRatios half = RatiosAtDepth(0.5);
    EXPECT_NEAR(half.flow, 0.5, 1e-12);
    EXPECT_NEAR(half.velocity, 1.0, 1e-12);
    EXPECT_NEAR(RatiosAtDepth(0.938).flow, kPeakFlowRatio, 1e-4);

    const FullFlow full = FullPipeFlow(1.5, 0.013, 0.01);
    const double fullArea = std::numbers::pi * 1.5 * 1.5 / 4.0;
    const struct {
        double ratio;  // Q / Qfull
        double depth;  // y / D
        double velocityRatio;
        bool pressure;
    } cases[] = {
        {0.5, 0.5, 1.0, false},
        {1.0, 0.8196, 1.1399, false},
        {0.1, 0.2136, 0.6394, false},
        {1.08, 1.0, 1.08 * full.capacity / fullArea / full.velocity, true},
    };
    for (const auto& c : cases) {
        const PartFullFlow flow = DesignFlow(c.ratio * full.capacity, 1.5, 0.013, 0.01);
        EXPECT_NEAR(flow.depthRatio, c.depth, 1e-4) << c.ratio;
        EXPECT_NEAR(flow.velocity / full.velocity, c.velocityRatio, 1e-4) << c.ratio;
        EXPECT_EQ(flow.pressure, c.pressure) << c.ratio;
    }
    const PartFullFlow flat = DesignFlow(4.0, 1.5, 0.013, 0.0);
    EXPECT_TRUE(flat.pressure);
    EXPECT_NEAR(flat.velocity, 4.0 / fullArea, 1e-12);
}

}  // namespace
}  // namespace torrenta
