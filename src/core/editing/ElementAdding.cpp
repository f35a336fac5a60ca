#include "editing/ElementAdding.h"

#include "Errors.h"
#include "editing/ElementEditing.h"
#include "store/Connection.h"

namespace torrenta {

template <class Row>
std::string AddElement(const std::string& projectPath, Row& row, const IconSlotChoice& choose) {
    using Table = ElementTable<Row>;
    if (!MissingFields(row).empty()) {
        throw InputError("Please fill all fields");
    }
    RequireOneLineTexts(row);
    WriteTransaction transaction(projectPath, "Cannot add the element to the project");
    if (ReadLiveElements<Row>(projectPath).size() >= kMaxLiveElements) {
        throw InputError(std::string(MaximumReachedText(Table::kKind)));
    }
    const NewIconSlot slot = choose(CountElementRows(projectPath, Table::kKind));
    row.*Table::kTag = NextElementTag(projectPath, Table::kKind, slot.index);
    row.*Table::kX = std::to_string(slot.position.left);
    row.*Table::kY = std::to_string(slot.position.top);
    row.Deleted = std::string(kLive);
    InsertElementRow(projectPath, row);
    transaction.Commit();
    return row.*Table::kTag;
}

template <class Row>
std::string AddElement(const std::string& projectPath, Row& row, int index, IconPosition position) {
    return AddElement(projectPath, row, [&](int) { return NewIconSlot{index, position}; });
}

#define TORRENTA_ADD_ELEMENT(Row)                                                     \
    template std::string AddElement(const std::string&, Row&, const IconSlotChoice&); \
    template std::string AddElement(const std::string&, Row&, int, IconPosition);
TORRENTA_ADD_ELEMENT(BasinRow)
TORRENTA_ADD_ELEMENT(SurfaceRow)
TORRENTA_ADD_ELEMENT(ChannelRow)
#undef TORRENTA_ADD_ELEMENT

}  // namespace torrenta
