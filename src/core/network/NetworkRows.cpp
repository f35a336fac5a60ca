#include "network/NetworkRows.h"

namespace torrenta {

namespace {

template <class Row, class Tag, class Left, class Top>
std::vector<IconRow> IconRowsOf(const std::string& projectPath, Tag tag, Left left, Top top) {
    std::vector<IconRow> icons;
    for (const Row& row : ReadAllElements<Row>(projectPath)) {
        icons.push_back({row.*tag, row.*left, row.*top, row.Deleted});
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
            return IconRowsOf<BasinRow>(projectPath, &BasinRow::BasinTag, &BasinRow::BasinX,
                                        &BasinRow::BasinY);
        case ElementKind::Shallow:
            return IconRowsOf<SurfaceRow>(projectPath, &SurfaceRow::SurfTag, &SurfaceRow::SurfX,
                                          &SurfaceRow::SurfY);
        case ElementKind::Channel:
            break;
    }
    return IconRowsOf<ChannelRow>(projectPath, &ChannelRow::ChannelTag, &ChannelRow::ChannelLeft,
                                  &ChannelRow::ChannelTop);
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
