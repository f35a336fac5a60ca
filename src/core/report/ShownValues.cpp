#include "report/ShownValues.h"

#include "text/NumberText.h"

namespace torrenta {
namespace {

ShownValue General(std::string_view name, const std::string& stored) {
    const double number = LeadingNumber(stored);
    return {name, number, GeneralNumberText(number)};
}

ShownValue Fixed(std::string_view name, double number, int decimals) {
    return {name, number, FormatFixed(number, decimals)};
}

}  // namespace

std::vector<ShownValue> ShownValues(const BasinRow& row, const NetworkSolution& solution) {
    const double share = solution.AreaShare(row);
    return {General("Area", row.Area),
            General("Slope", row.Slope),
            General("TravelLength", row.TravelLength),
            General("BasinN", row.BasinN),
            General("Tc", row.Tc),
            Fixed("AreaShare", share, 3),
            General("CVal", row.CVal),
            Fixed("WeightedC", share * LeadingNumber(row.CVal), 4)};
}

std::vector<ShownValue> ShownValues(const SurfaceRow& row) {
    return {General("SurfSlope", row.SurfSlope), General("SurfLength", row.SurfLength),
            General("SurfVelocity", row.SurfVelocity), General("SurfTc", row.SurfTc)};
}

std::vector<ShownValue> ShownValues(const ChannelRow& row) {
    return {General("ChannelLength", row.ChannelLength),
            General("ChannelN", row.ChannelN),
            General("ChannelSlope", row.ChannelSlope),
            General("ChannelArea", row.ChannelArea),
            General("ChannelWP", row.ChannelWP),
            Fixed("ChannelVelocity", LeadingNumber(row.ChannelVelocity), 2),
            General("ChannelTc", row.ChannelTc)};
}

}  // namespace torrenta
