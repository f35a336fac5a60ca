#pragma once

#include <array>
#include <string>
#include <string_view>

namespace torrenta {

// Sheet-flow surfaces offered for Manning's n of an overland flow element; n is
// kept as the text shown ("0.40" keeps its trailing zero).
struct SheetFlowSurface {
    std::string_view text;
    std::string_view n;
};
extern const std::array<SheetFlowSurface, 10> kSheetFlowSurfaces;

struct ChannelMaterial {
    std::string_view text;
    std::string_view n;
};
extern const std::array<ChannelMaterial, 4> kChannelMaterials;

// Land uses of the runoff coefficient calculator with their lower and upper C
// as shown.
struct LandUse {
    std::string_view text;
    std::string_view lower;
    std::string_view upper;
};
extern const std::array<LandUse, 16> kLandUses;
inline constexpr int kDefaultLandUse = 5;  // "Residential (Suburban)"

// The proposed C of a land use: the mean of its two bounds as read from their
// texts, formatted "#0.00" (Business: Downtown areas -> "0.83").
std::string ProposedC(const LandUse& landUse);

}  // namespace torrenta
