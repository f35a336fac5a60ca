#include "editing/ElementAdding.h"

#include "Errors.h"
#include "editing/ElementEditing.h"

namespace torrenta {

template <class Row>
std::string AddElement(const std::string& projectPath, Row& row, int index, IconPosition position) {
    using Table = ElementTable<Row>;
    if (!MissingFields(row).empty()) {
        throw InputError("Please fill all fields");
    }
    RequireOneLineTexts(row);
    if (ReadLiveElements<Row>(projectPath).size() >= kMaxLiveElements) {
        throw InputError(std::string(MaximumReachedText(Table::kKind)));
    }
    row.*Table::kTag = NextElementTag(projectPath, Table::kKind, index);
    row.*Table::kX = std::to_string(position.left);
    row.*Table::kY = std::to_string(position.top);
    row.Deleted = std::string(kLive);
    InsertElementRow(projectPath, row);
    return row.*Table::kTag;
}

template std::string AddElement(const std::string&, BasinRow&, int, IconPosition);
template std::string AddElement(const std::string&, SurfaceRow&, int, IconPosition);
template std::string AddElement(const std::string&, ChannelRow&, int, IconPosition);

}  // namespace torrenta
