#include "network/NetworkRows.h"

namespace torrenta {

namespace {

// The columns of a kind that the canvas shows, in IconRow's order.
template <class Row>
struct IconColumns {
    std::string Row::*tag;
    std::string Row::*left;
    std::string Row::*top;
    std::string Row::*name;
    std::string Row::*tc;
};

template <class Row>
std::vector<IconRow> IconRowsOf(const std::string& projectPath, const IconColumns<Row>& columns) {
    std::vector<IconRow> icons;
    for (const Row& row : ReadAllElements<Row>(projectPath)) {
        icons.push_back({row.*columns.tag, row.*columns.left, row.*columns.top, row.Deleted,
                         row.*columns.name, row.*columns.tc});
    }
    return icons;
}

template <class Row, class Name>
std::optional<std::string> NameOf(const std::string& projectPath, const std::string& tag,
                                  Name name) {
    const std::optional<Row> row = LoadElementRow<Row>(projectPath, tag);
    return row ? std::optional<std::string>((*row).*name) : std::nullopt;
}

}  // namespace

std::vector<IconRow> ReadIconRows(const std::string& projectPath, ElementKind kind) {
    switch (kind) {
        case ElementKind::Overland:
            return IconRowsOf<BasinRow>(projectPath,
                                        {&BasinRow::BasinTag, &BasinRow::BasinX, &BasinRow::BasinY,
                                         &BasinRow::BasinName, &BasinRow::Tc});
        case ElementKind::Shallow:
            return IconRowsOf<SurfaceRow>(
                projectPath, {&SurfaceRow::SurfTag, &SurfaceRow::SurfX, &SurfaceRow::SurfY,
                              &SurfaceRow::SurfName, &SurfaceRow::SurfTc});
        case ElementKind::Channel:
            break;
    }
    return IconRowsOf<ChannelRow>(
        projectPath, {&ChannelRow::ChannelTag, &ChannelRow::ChannelLeft, &ChannelRow::ChannelTop,
                      &ChannelRow::ChannelName, &ChannelRow::ChannelTc});
}

std::optional<std::string> ReadElementName(const std::string& projectPath, ElementKind kind,
                                           const std::string& tag) {
    switch (kind) {
        case ElementKind::Overland:
            return NameOf<BasinRow>(projectPath, tag, &BasinRow::BasinName);
        case ElementKind::Shallow:
            return NameOf<SurfaceRow>(projectPath, tag, &SurfaceRow::SurfName);
        case ElementKind::Channel:
            break;
    }
    return NameOf<ChannelRow>(projectPath, tag, &ChannelRow::ChannelName);
}

}  // namespace torrenta
