#include "editing/ElementEditing.h"

#include <string_view>
#include <utility>

#include "Errors.h"
#include "hydraulics/TravelTime.h"
#include "intensity/IntensityDatabase.h"
#include "text/NameText.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

template <class Row>
std::vector<std::string_view> Missing(const Row& row,
                                      std::initializer_list<ColumnOf<Row>> required) {
    std::vector<std::string_view> missing;
    for (const auto& column : required) {
        if ((row.*column.member).empty()) {
            missing.push_back(column.name);
        }
    }
    return missing;
}

std::string Minutes(double value) {
    return FormatFixed(value, 4);
}

}  // namespace

std::vector<std::string_view> MissingFields(const BasinRow& row) {
    return Missing<BasinRow>(row, {{"BasinName", &BasinRow::BasinName},
                                   {"Area", &BasinRow::Area},
                                   {"Slope", &BasinRow::Slope},
                                   {"SoilType", &BasinRow::SoilType},
                                   {"CVal", &BasinRow::CVal},
                                   {"TravelLength", &BasinRow::TravelLength},
                                   {"BasinN", &BasinRow::BasinN}});
}

std::vector<std::string_view> MissingFields(const SurfaceRow& row) {
    return Missing<SurfaceRow>(row, {{"SurfName", &SurfaceRow::SurfName},
                                     {"SurfSlope", &SurfaceRow::SurfSlope},
                                     {"SurfLength", &SurfaceRow::SurfLength}});
}

std::vector<std::string_view> MissingFields(const ChannelRow& row) {
    return Missing<ChannelRow>(row, {{"ChannelName", &ChannelRow::ChannelName},
                                     {"ChannelArea", &ChannelRow::ChannelArea},
                                     {"ChannelWP", &ChannelRow::ChannelWP},
                                     {"ChannelSlope", &ChannelRow::ChannelSlope},
                                     {"ChannelN", &ChannelRow::ChannelN},
                                     {"ChannelLength", &ChannelRow::ChannelLength}});
}

void RequireOneLineTexts(const BasinRow& row) {
    RequireOneLineText(row.BasinName, "The name");
    RequireOneLineText(row.SoilType, "The land use");
    RequireOneLineText(row.BasinNType, "The surface description");
}

void RequireOneLineTexts(const SurfaceRow& row) {
    RequireOneLineText(row.SurfName, "The name");
    RequireOneLineText(row.SurfType, "The surface type");
}

void RequireOneLineTexts(const ChannelRow& row) {
    RequireOneLineText(row.ChannelName, "The name");
    RequireOneLineText(row.ChannelMaterial, "The material");
}

double TwoYearRainfall(const std::string& appFolder, const std::string& intensityTableName) {
    return TwoYearDepth(TwoYear24HourIntensity(appFolder, intensityTableName));
}

void CalculateOverland(BasinRow& row, const std::string& appFolder,
                       const std::string& intensityTableName) {
    CalculateOverland(row, TwoYearRainfall(appFolder, intensityTableName));
}

void CalculateOverland(BasinRow& row, double p2) {
    // An empty box or a word would read as 0 and give a Tc of 0 minutes.
    for (const auto& [text, what] :
         {std::pair{&row.BasinN, "Manning's n"}, std::pair{&row.TravelLength, "The flow length"},
          std::pair{&row.Slope, "The slope"}}) {
        if (!StartsWithNumber(*text)) {
            throw InputError(std::string(what) + " \"" + *text +
                             "\" is not a number; the sheet-flow travel time cannot be computed.");
        }
    }
    row.Tc = Minutes(SheetFlowTc(LeadingNumber(row.BasinN), LeadingNumber(row.TravelLength),
                                 LeadingNumber(row.Slope), p2));
}

void CalculateShallow(SurfaceRow& row) {
    const double velocity =
        ShallowVelocity(LeadingNumber(row.SurfSlope), SurfaceTypeFromText(row.SurfType));
    const std::string tc = Minutes(ShallowTravelTime(LeadingNumber(row.SurfLength), velocity));
    row.SurfVelocity = Minutes(velocity);
    row.SurfTc = tc;
}

void CalculateChannel(ChannelRow& row) {
    // The travel time uses the unrounded velocity, not the text shown.
    const double velocity =
        ChannelVelocity(LeadingNumber(row.ChannelArea), LeadingNumber(row.ChannelWP),
                        LeadingNumber(row.ChannelSlope), LeadingNumber(row.ChannelN));
    const std::string tc = Minutes(ChannelTravelTime(LeadingNumber(row.ChannelLength), velocity));
    row.ChannelVelocity = Minutes(velocity);
    row.ChannelTc = tc;
}

bool CompleteForSave(BasinRow& row, const std::string& appFolder,
                     const std::string& intensityTableName) {
    if (!row.Tc.empty()) {
        return false;
    }
    CalculateOverland(row, appFolder, intensityTableName);
    return true;
}

bool CompleteForSave(SurfaceRow& row) {
    CalculateShallow(row);
    return true;
}

bool CompleteForSave(ChannelRow& row) {
    if (!row.ChannelVelocity.empty() && !row.ChannelTc.empty()) {
        return false;
    }
    CalculateChannel(row);
    return true;
}

std::string MaximumReachedText(ElementKind kind, std::size_t limit) {
    const std::string count = "Maximum " + std::to_string(limit);
    switch (kind) {
        case ElementKind::Overland:
            return count + " basins allowed";
        case ElementKind::Shallow:
            return count + " Surface Flows allowed";
        case ElementKind::Channel:
            break;
    }
    return count + " Channel Flows allowed";
}

}  // namespace torrenta
