#include "hydraulics/Tables.h"

#include "text/NumberText.h"

namespace torrenta {

const std::array<SheetFlowSurface, 10> kSheetFlowSurfaces = {{
    {"Smooth Surfaces (Asphalt, concrete, gravel, bare soil)", "0.011"},
    {"Fallow (With no residue)", "0.05"},
    {"Cultivated soils Cover <= 20%", "0.06"},
    {"Cultivated soils cover >= 20%", "0.17"},
    {"Grass, Short grass, prairie", "0.15"},
    {"Grass, Dense grass", "0.24"},
    {"Grass, Bermudagrass", "0.41"},
    {"Range", "0.13"},
    {"Woods, Light underbrush", "0.40"},
    {"Woods, Dense underbrush", "0.80"},
}};

const std::array<ChannelMaterial, 4> kChannelMaterials = {{
    {"Concrete Channel", "0.013"},
    {"Brick Channel", "0.015"},
    {"Gravel Channel", "0.029"},
    {"Earth Channel", "0.025"},
}};

const std::array<LandUse, 16> kLandUses = {{
    {"Business: Downtown areas", "0.70", "0.95"},
    {"Business: Neighborhood areas", "0.50", "0.70"},
    {"Residential: Single Family areas", "0.30", "0.50"},
    {"Residential: Multi units, detached", "0.40", "0.60"},
    {"Residential: Multi units, attached", "0.60", "0.75"},
    {"Residential (Suburban)", "0.25", "0.40"},
    {"Apartment dwelling areas", "0.50", "0.70"},
    {"Industrial: Light areas", "0.50", "0.80"},
    {"Industrial: Heavy areas", "0.60", "0.90"},
    {"Parks, cemeteries", "0.10", "0.25"},
    {"Playgrounds", "0.20", "0.35"},
    {"Railroads, yard areas", "0.20", "0.40"},
    {"Unimproved areas", "0.10", "0.30"},
    {"Streets: Asphaltic", "0.70", "0.95"},
    {"Streets: Concrete", "0.80", "0.95"},
    {"Streets: Brick", "0.70", "0.85"},
}};

std::string ProposedC(const LandUse& landUse) {
    // Read from the shown texts, so the proposal always agrees with the bounds
    // the engineer sees.
    const double mean = (LeadingNumber(landUse.lower) + LeadingNumber(landUse.upper)) / 2;
    return FormatFixed(mean, 2);
}

}  // namespace torrenta
