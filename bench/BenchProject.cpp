#include "BenchProject.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "editing/ElementAdding.h"
#include "editing/ElementEditing.h"
#include "hydraulics/Tables.h"
#include "hydraulics/TravelTime.h"
#include "intensity/IntensityDatabase.h"
#include "network/IconPlacement.h"
#include "store/Connection.h"
#include "store/DrainageStore.h"
#include "store/ElementRows.h"
#include "store/PipeStore.h"
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

std::string MakeNetworkProject(const BenchProject& project, int points, int elements, bool pipes) {
    const std::string path = (fs::path(project.Folder()) / ("Network " + std::to_string(elements) +
                                                            (pipes ? " pipes" : "") + ".rmt"))
                                 .string();
    NewProject(project.AppFolder(), path, ExistingFile::Replace);
    SaveProjectSetup(path, {"Cedar Hollow Network", "", "", "3/14/2026", "CH-2026-032", ""},
                     "Cedar Creek Outfall", project.IntensityTable());
    const double p2 = TwoYearRainfall(project.AppFolder(), project.IntensityTable());
    std::map<std::string, std::string> drains;
    std::vector<std::vector<std::string>> chains(static_cast<std::size_t>(points));
    {
        WriteTransaction transaction(path, "Cannot make the benchmark network");
        for (int e = 0; e < elements; ++e) {
            const int point = e % points;
            const int kind = (e / points) % 3;
            const std::string index = std::to_string(e + 1);
            std::string tag;
            if (kind == 0) {
                BasinRow row = OverlandRow(e % 40);
                CalculateOverland(row, p2);
                row.BasinTag = tag = "Basin" + index;
                row.BasinX = row.BasinY = "0";
                row.Deleted = std::string(kLive);
                InsertElementRow(path, row);
            } else if (kind == 1) {
                SurfaceRow row = ShallowRow(e % 40);
                CompleteForSave(row);
                row.SurfTag = tag = "Surface" + index;
                row.SurfX = row.SurfY = "0";
                row.Deleted = std::string(kLive);
                InsertElementRow(path, row);
            } else {
                ChannelRow row = ChannelRowFor(e % 40);
                CompleteForSave(row);
                row.ChannelTag = tag = "Channel" + index;
                row.ChannelLeft = row.ChannelTop = "0";
                row.Deleted = std::string(kLive);
                InsertElementRow(path, row);
            }
            chains[static_cast<std::size_t>(point)].push_back(tag);
        }
        for (int i = 0; i < points; ++i) {
            const auto& chain = chains[static_cast<std::size_t>(i)];
            for (std::size_t k = 0; k < chain.size(); ++k) {
                drains[chain[k]] =
                    k + 1 < chain.size() ? chain[k + 1] : "Point" + std::to_string(i + 1);
            }
        }
        WriteNetworkTables(path, drains);
        for (int i = 1; i <= points; ++i) {
            PointRow point;
            point.PointName = "Inlet " + std::to_string(i);
            point.PointKind = std::string(i % 2 == 0 ? kInletKind : kJunctionKind);
            point.PointX = point.PointY = "0";
            point.DrainsTo = i == 1 ? std::string(kOutletTag) : "Point" + std::to_string(i / 2);
            InsertPointRow(path, point);
        }
        if (pipes) {
            // Sizes up to 20 ft: the whole site comes down to the first point.
            DesignSettings settings;
            for (double size = 114; size <= 240; size += 6) {
                settings.sizes.push_back(size);
            }
            WriteDesignSettings(path, settings);
            for (int i = 1; i <= points; ++i) {
                PipeRow pipe;
                pipe.PipeName = "Line " + std::to_string(i);
                pipe.FromPoint = "Point" + std::to_string(i);
                pipe.ToPoint = i == 1 ? std::string(kOutletTag) : "Point" + std::to_string(i / 2);
                pipe.PipeLength = "200";
                pipe.PipeSlope = "0.01";
                pipe.PipeN = "0.013";
                InsertPipeRow(path, pipe);
            }
        }
        transaction.Commit();
    }
    return path;
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
