#include "BenchProject.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "editing/ElementAdding.h"
#include "editing/ElementEditing.h"
#include "hydraulics/Tables.h"
#include "hydraulics/TravelTime.h"
#include "intensity/IntensityDatabase.h"
#include "network/IconPlacement.h"
#include "store/ElementRows.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"
#include "text/NumberText.h"

namespace torrenta::bench {
namespace {

namespace fs = std::filesystem;

std::string MakeTemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "torrenta-bench-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    }
    return buffer.data();
}

// Values vary from element to element within what a subdivision's drainage
// plan holds, so every formula and format meets ordinary, unequal numbers.
BasinRow OverlandRow(int i) {
    const LandUse& landUse = kLandUses[static_cast<std::size_t>(i) % kLandUses.size()];
    const SheetFlowSurface& surface =
        kSheetFlowSurfaces[static_cast<std::size_t>(i) % kSheetFlowSurfaces.size()];
    BasinRow row;
    row.BasinName = "Lot Block " + std::to_string(i + 1);
    row.Area = FormatFixed(0.5 + 0.35 * i, 2);
    row.SoilType = std::string(landUse.text);
    row.CVal = ProposedC(landUse);
    row.Slope = FormatFixed(0.01 + 0.002 * (i % 12), 3);
    row.TravelLength = std::to_string(60 + 12 * i);
    row.BasinNType = std::string(surface.text);
    row.BasinN = std::string(surface.n);
    return row;
}

SurfaceRow ShallowRow(int i) {
    SurfaceRow row;
    row.SurfName = "Rear Swale " + std::to_string(i + 1);
    row.SurfSlope = FormatFixed(0.005 + 0.0025 * (i % 14), 4);
    row.SurfLength = std::to_string(180 + 55 * i);
    row.SurfType =
        std::string(SurfaceTypeText(i % 3 == 0 ? SurfaceType::Paved : SurfaceType::Unpaved));
    return row;
}

ChannelRow ChannelRowFor(int i) {
    const ChannelMaterial& material =
        kChannelMaterials[static_cast<std::size_t>(i) % kChannelMaterials.size()];
    ChannelRow row;
    row.ChannelName = "Ditch " + std::to_string(i + 1);
    row.ChannelArea = FormatFixed(4.0 + 1.25 * i, 2);
    row.ChannelWP = FormatFixed(6.0 + 0.6 * i, 1);
    row.ChannelSlope = FormatFixed(0.002 + 0.0004 * (i % 16), 4);
    row.ChannelLength = std::to_string(300 + 85 * i);
    row.ChannelMaterial = std::string(material.text);
    row.ChannelN = std::string(material.n);
    return row;
}

}  // namespace

BenchProject::BenchProject(const std::string& sourceAppFolder)
    : folder_(MakeTemporaryFolder()), intensityTable_(kDefaultIntensityTable) {
    const fs::path app = fs::path(folder_) / "app";
    fs::create_directory(app);
    for (const char* database : {"empty.mdb", "intensity.mdb"}) {
        fs::copy_file(fs::path(sourceAppFolder) / database, app / database);
    }
    appFolder_ = app.string();
    projectPath_ = (fs::path(folder_) / "Sixty Elements.rmt").string();

    NewProject(appFolder_, projectPath_);
    SaveProjectSetup(projectPath_,
                     {"Cedar Hollow Phase 2", "M. Lindqvist, P.E.", "R. Adeyemi", "3/14/2026",
                      "CH-2026-031", ""},
                     "Cedar Creek Outfall", intensityTable_);
    for (int i = 0; i < kElementsPerKind; ++i) {
        BasinRow overland = OverlandRow(i);
        CompleteForSave(overland, appFolder_, intensityTable_);
        AddElement(projectPath_, overland, i + 1, IconPlacement(ElementKind::Overland).Next(i + 1));

        SurfaceRow shallow = ShallowRow(i);
        CompleteForSave(shallow);
        AddElement(projectPath_, shallow, i + 1, IconPlacement(ElementKind::Shallow).Next(i + 1));

        ChannelRow channel = ChannelRowFor(i);
        CompleteForSave(channel);
        AddElement(projectPath_, channel, i + 1, IconPlacement(ElementKind::Channel).Next(i + 1));
    }
}

BenchProject::~BenchProject() {
    // Kept on request, to profile the programs on the very same file.
    if (std::getenv("TORRENTA_BENCH_KEEP") != nullptr) {
        std::fprintf(stderr, "bench project kept in %s\n", folder_.c_str());
        return;
    }
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

}  // namespace torrenta::bench
