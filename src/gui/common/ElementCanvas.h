#pragma once

#include <QString>
#include <functional>
#include <string>

#include "network/IconPlacement.h"
#include "store/ElementRows.h"

namespace torrenta::gui {

// What an add dialog needs of the canvas it adds to: the index the next icon
// of a kind gets (its default name) and the placing of the new element. The
// canvas implements it and hands itself to the add dialogs it opens, so the
// dialogs know no window above them.
class ElementCanvas {
  public:
    // The icon of a new element: its array index, tag and position.
    struct NewIcon {
        QString tag;
        int left = 0;
        int top = 0;
        int index = 0;
    };

    // Writes a new element's row for the array index and icon position the
    // canvas gives it and returns the row's tag (the core's AddElement).
    using AddRow = std::function<std::string(int index, IconPosition position)>;

    // Icons made for the kind since the canvas opened, the template included:
    // the index the next new icon gets.
    virtual int ArrayCount(ElementKind kind) const = 0;

    // Places the new element's icon on the kind's cursor, joined to the node,
    // and has `add` store its row. An icon whose row could not be stored would
    // stand for nothing: it is then hidden like a deleted element and the
    // error passes on.
    virtual void AddNewElement(ElementKind kind, const AddRow& add) = 0;

  protected:
    ~ElementCanvas() = default;
};

}  // namespace torrenta::gui
