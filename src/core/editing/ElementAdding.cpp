#include "editing/ElementAdding.h"

#include "Errors.h"
#include "editing/ElementEditing.h"
#include "editing/NetworkEditing.h"
#include "store/Connection.h"
#include "store/DrainageStore.h"
#include "store/TcPath.h"
#include "store/TypedTc.h"

namespace torrenta {
namespace {

std::size_t LiveElementCount(const std::string& projectPath, ElementKind kind) {
    switch (kind) {
        case ElementKind::Overland:
            return ReadLiveElements<BasinRow>(projectPath).size();
        case ElementKind::Shallow:
            return ReadLiveElements<SurfaceRow>(projectPath).size();
        case ElementKind::Channel:
            return ReadLiveElements<ChannelRow>(projectPath).size();
    }
    return 0;
}

// A drainage network holds more of each kind than a flow path does.
std::size_t LiveElementLimit(const std::string& projectPath) {
    return ReadDrainageLinks(projectPath).network ? kMaxNetworkElements
                                                  : static_cast<std::size_t>(kMaxLiveElements);
}

void RequireRoomFor(const std::string& projectPath, ElementKind kind) {
    const std::size_t limit = LiveElementLimit(projectPath);
    if (LiveElementCount(projectPath, kind) >= limit) {
        throw InputError(MaximumReachedText(kind, limit));
    }
}

}  // namespace

template <class Row>
std::string AddElement(const std::string& projectPath, Row& row, const IconSlotChoice& choose,
                       bool onTcPath, bool tcTyped, const std::function<void(Row&)>& complete) {
    using Table = ElementTable<Row>;
    const auto check = [&] {
        if (!MissingFields(row).empty()) {
            throw InputError("Please fill all fields");
        }
        RequireOneLineTexts(row);
    };
    // A row refused as typed is refused before the file is locked.
    check();
    WriteTransaction transaction(projectPath, "Cannot add the element to the project");
    if (complete) {
        complete(row);
        check();
    }
    RequireRoomFor(projectPath, Table::kKind);
    const NewIconSlot slot = choose(CountElementRows(projectPath, Table::kKind));
    row.*Table::kTag = NextElementTag(projectPath, Table::kKind, slot.index);
    row.*Table::kX = std::to_string(slot.position.left);
    row.*Table::kY = std::to_string(slot.position.top);
    row.Deleted = std::string(kLive);
    InsertElementRow(projectPath, row);
    // Also clears an entry a purged element of the same tag might have left.
    SetOnTcPath(projectPath, row.*Table::kTag, onTcPath);
    SetTcTyped(projectPath, row.*Table::kTag, tcTyped);
    transaction.Commit();
    return row.*Table::kTag;
}

template <class Row>
std::string AddElement(const std::string& projectPath, Row& row, int index, IconPosition position,
                       bool onTcPath, bool tcTyped) {
    return AddElement(
        projectPath, row,
        [&](int) {
            return NewIconSlot{index, position};
        },
        onTcPath, tcTyped);
}

void RestoreElement(const std::string& projectPath, ElementKind kind, const std::string& tag,
                    const std::vector<std::string>& rerouted) {
    WriteTransaction transaction(projectPath, "Cannot restore the element");
    RequireRoomFor(projectPath, kind);
    UndeleteElement(projectPath, kind, tag, rerouted);
    transaction.Commit();
}

#define TORRENTA_ADD_ELEMENT(Row)                                                                \
    template std::string AddElement(const std::string&, Row&, const IconSlotChoice&, bool, bool, \
                                    const std::function<void(Row&)>&);                           \
    template std::string AddElement(const std::string&, Row&, int, IconPosition, bool, bool);
TORRENTA_ADD_ELEMENT(BasinRow)
TORRENTA_ADD_ELEMENT(SurfaceRow)
TORRENTA_ADD_ELEMENT(ChannelRow)
#undef TORRENTA_ADD_ELEMENT

}  // namespace torrenta
