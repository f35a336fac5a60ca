#pragma once

#include <string>
#include <vector>

#include "store/ElementRows.h"

namespace torrenta {

struct IconPosition {
    int left = 0;
    int top = 0;
};

// The canvas area an icon's picture and its name under it cover, in twips.
struct IconBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool Overlaps(const IconBox& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// What an icon at `at` covers: its picture (the kind's size) and room for a
// name of the caption's length centred under it.
IconBox IconExtent(ElementKind kind, IconPosition at);
IconBox NodeExtent(IconPosition at);

// Where the canvas puts a new element's icon. Each kind keeps a cursor (its
// hidden template icon) that starts at the kind's template position and moves
// right by 50 x the array count with every new icon, deleted ones counted; once
// it has passed 10000 twips it restarts at the kind's reset position. The user
// then drags the icon where it belongs.
class IconPlacement {
  public:
    explicit IconPlacement(ElementKind kind);

    // Moves the cursor for an array that holds `arrayCount` icons (template
    // included) and returns the new icon's position, which is also its index.
    IconPosition Next(int arrayCount);

    // The same, where the new icon's picture and name overlap none of `taken`
    // (what the icons already there cover): the cursor's spot when it is
    // free, else the first free spot along the kind's rows, left to right in
    // steps of 100 twips, each row 2520 twips below the last so that the
    // kinds' rows never meet. A new icon never hides another or its name;
    // only a canvas with no free spot at all gets the cursor's.
    IconPosition NextFree(int arrayCount, const std::vector<IconBox>& taken);

    IconPosition Cursor() const { return cursor_; }

    static IconPosition TemplatePosition(ElementKind kind);
    static IconPosition ResetPosition(ElementKind kind);

    // What every icon of the project covers: each element row's, live or
    // deleted (Undo Delete brings it back there), and the node's.
    static std::vector<IconBox> TakenBoxes(const std::string& projectPath);

  private:
    ElementKind kind_;
    IconPosition cursor_;
};

}  // namespace torrenta
