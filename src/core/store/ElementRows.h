#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrenta {

// The three kinds of drainage element, each stored one row per element.
// Stored names keep older words: an overland flow area is a "Basin"
// (TblBasinInfo, tags Basin1...), a shallow reach a "Surface" (TblSurfaceInfo).
enum class ElementKind { Overland, Shallow, Channel };

// Rows hold every column as the text stored; members carry the column names.
struct BasinRow {
    std::string BasinTag, BasinName, BasinX, BasinY, Area, SoilType, CVal, Slope, TravelLength,
        Deleted, BasinNType, BasinN, Tc;
};

struct SurfaceRow {
    std::string SurfTag, SurfName, SurfX, SurfY, SurfSlope, SurfLength, Deleted, SurfVelocity,
        SurfType, SurfTc;
};

struct ChannelRow {
    std::string ChannelTag, ChannelName, ChannelLeft, ChannelTop, ChannelArea, ChannelWP,
        ChannelSlope, ChannelLength, ChannelMaterial, ChannelN, Deleted, ChannelVelocity, ChannelTc;
};

inline constexpr std::string_view kLive = "False";
inline constexpr std::string_view kDeleted = "True";

// Where a kind lives: its table, the word its tags start with and the columns
// that hold the tag and the icon position.
struct ElementTableInfo {
    std::string_view table;
    std::string_view tagWord;
    std::string_view tagColumn;
    std::string_view xColumn;
    std::string_view yColumn;
};
const ElementTableInfo& TableInfo(ElementKind kind);

template <class Row>
struct ColumnOf {
    std::string_view name;
    std::string Row::*member;
};

template <class Row>
struct ElementTable;

template <>
struct ElementTable<BasinRow> {
    static constexpr ElementKind kKind = ElementKind::Overland;
    // The columns a new element gets from its icon: its tag and position.
    static constexpr std::string BasinRow::*kTag = &BasinRow::BasinTag;
    static constexpr std::string BasinRow::*kX = &BasinRow::BasinX;
    static constexpr std::string BasinRow::*kY = &BasinRow::BasinY;
    // In insertion order.
    static constexpr std::array<ColumnOf<BasinRow>, 13> kColumns = {{
        {"BasinTag", &BasinRow::BasinTag},
        {"BasinName", &BasinRow::BasinName},
        {"BasinX", &BasinRow::BasinX},
        {"BasinY", &BasinRow::BasinY},
        {"Area", &BasinRow::Area},
        {"SoilType", &BasinRow::SoilType},
        {"CVal", &BasinRow::CVal},
        {"Slope", &BasinRow::Slope},
        {"TravelLength", &BasinRow::TravelLength},
        {"Deleted", &BasinRow::Deleted},
        {"BasinNType", &BasinRow::BasinNType},
        {"BasinN", &BasinRow::BasinN},
        {"Tc", &BasinRow::Tc},
    }};
    // What the update dialog rewrites; tag, position and Deleted stay.
    static constexpr std::array<ColumnOf<BasinRow>, 9> kDataColumns = {{
        {"BasinName", &BasinRow::BasinName},
        {"Area", &BasinRow::Area},
        {"SoilType", &BasinRow::SoilType},
        {"CVal", &BasinRow::CVal},
        {"Slope", &BasinRow::Slope},
        {"TravelLength", &BasinRow::TravelLength},
        {"BasinNType", &BasinRow::BasinNType},
        {"BasinN", &BasinRow::BasinN},
        {"Tc", &BasinRow::Tc},
    }};
};

template <>
struct ElementTable<SurfaceRow> {
    static constexpr ElementKind kKind = ElementKind::Shallow;
    static constexpr std::string SurfaceRow::*kTag = &SurfaceRow::SurfTag;
    static constexpr std::string SurfaceRow::*kX = &SurfaceRow::SurfX;
    static constexpr std::string SurfaceRow::*kY = &SurfaceRow::SurfY;
    static constexpr std::array<ColumnOf<SurfaceRow>, 10> kColumns = {{
        {"SurfTag", &SurfaceRow::SurfTag},
        {"SurfName", &SurfaceRow::SurfName},
        {"SurfX", &SurfaceRow::SurfX},
        {"SurfY", &SurfaceRow::SurfY},
        {"SurfSlope", &SurfaceRow::SurfSlope},
        {"SurfLength", &SurfaceRow::SurfLength},
        {"Deleted", &SurfaceRow::Deleted},
        {"SurfVelocity", &SurfaceRow::SurfVelocity},
        {"SurfType", &SurfaceRow::SurfType},
        {"SurfTc", &SurfaceRow::SurfTc},
    }};
    static constexpr std::array<ColumnOf<SurfaceRow>, 6> kDataColumns = {{
        {"SurfName", &SurfaceRow::SurfName},
        {"SurfLength", &SurfaceRow::SurfLength},
        {"SurfSlope", &SurfaceRow::SurfSlope},
        {"SurfType", &SurfaceRow::SurfType},
        {"SurfVelocity", &SurfaceRow::SurfVelocity},
        {"SurfTc", &SurfaceRow::SurfTc},
    }};
};

template <>
struct ElementTable<ChannelRow> {
    static constexpr ElementKind kKind = ElementKind::Channel;
    static constexpr std::string ChannelRow::*kTag = &ChannelRow::ChannelTag;
    static constexpr std::string ChannelRow::*kX = &ChannelRow::ChannelLeft;
    static constexpr std::string ChannelRow::*kY = &ChannelRow::ChannelTop;
    static constexpr std::array<ColumnOf<ChannelRow>, 13> kColumns = {{
        {"ChannelTag", &ChannelRow::ChannelTag},
        {"ChannelName", &ChannelRow::ChannelName},
        {"ChannelLeft", &ChannelRow::ChannelLeft},
        {"ChannelTop", &ChannelRow::ChannelTop},
        {"ChannelArea", &ChannelRow::ChannelArea},
        {"ChannelWP", &ChannelRow::ChannelWP},
        {"ChannelSlope", &ChannelRow::ChannelSlope},
        {"ChannelLength", &ChannelRow::ChannelLength},
        {"ChannelMaterial", &ChannelRow::ChannelMaterial},
        {"ChannelN", &ChannelRow::ChannelN},
        {"Deleted", &ChannelRow::Deleted},
        {"ChannelVelocity", &ChannelRow::ChannelVelocity},
        {"ChannelTc", &ChannelRow::ChannelTc},
    }};
    static constexpr std::array<ColumnOf<ChannelRow>, 9> kDataColumns = {{
        {"ChannelName", &ChannelRow::ChannelName},
        {"ChannelArea", &ChannelRow::ChannelArea},
        {"ChannelWP", &ChannelRow::ChannelWP},
        {"ChannelSlope", &ChannelRow::ChannelSlope},
        {"ChannelLength", &ChannelRow::ChannelLength},
        {"ChannelMaterial", &ChannelRow::ChannelMaterial},
        {"ChannelN", &ChannelRow::ChannelN},
        {"ChannelVelocity", &ChannelRow::ChannelVelocity},
        {"ChannelTc", &ChannelRow::ChannelTc},
    }};
};

// Element rows, for Row = BasinRow, SurfaceRow or ChannelRow. Each call opens
// the project, runs and closes.

// Adds a row with every column as the row holds it.
template <class Row>
void InsertElementRow(const std::string& projectPath, const Row& row);

// Rewrites the data columns of the row with this tag; DatabaseError when no
// row carries the tag any more, so a lost update is never reported as saved.
template <class Row>
void UpdateElementRow(const std::string& projectPath, const std::string& tag, const Row& row);

// The row with this tag, live or deleted; nothing when there is none.
template <class Row>
std::optional<Row> LoadElementRow(const std::string& projectPath, const std::string& tag);

// Rows whose Deleted is "False", in insertion order (solving and the report).
template <class Row>
std::vector<Row> ReadLiveElements(const std::string& projectPath);

// Every row in insertion order, deleted ones included (the canvas loader).
template <class Row>
std::vector<Row> ReadAllElements(const std::string& projectPath);

// Marks the row with this tag deleted; it stays in the file until the project
// is closed. In a drainage network what drained into it now drains where it
// drained; the tags so re-routed are returned for Undo.
std::vector<std::string> SoftDeleteElement(const std::string& projectPath, ElementKind kind,
                                           const std::string& tag);

// Takes back a soft delete: the row with this tag is live again, with every
// value it had, and what `rerouted` names drains into it again. DatabaseError
// when no row carries the tag any more (the project was closed and purged
// since).
void UndeleteElement(const std::string& projectPath, ElementKind kind, const std::string& tag,
                     const std::vector<std::string>& rerouted = {});

// Writes an icon's position after a drag.
void UpdateElementPosition(const std::string& projectPath, ElementKind kind, const std::string& tag,
                           const std::string& x, const std::string& y);

// Number of rows of the kind, deleted ones included: the canvas's array count
// minus its template.
int CountElementRows(const std::string& projectPath, ElementKind kind);

// The tag of a new element whose icon gets array index `index`: the tag word
// and the index ("Basin3"), unless a row already carries that tag (purged rows
// shift the indexes of a reopened project); then the word and one more than the
// highest number the word carries in the table.
std::string NextElementTag(const std::string& projectPath, ElementKind kind, int index);

}  // namespace torrenta
