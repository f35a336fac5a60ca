#pragma once

#include <string>
#include <vector>

#include "store/ElementRows.h"

namespace torrenta {

struct IconPosition {
    int left = 0;
    int top = 0;
};

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

    // The same, stepping on past every spot an icon already holds (`taken`):
    // a reopened project's cursor starts over and would land on an icon
    // placed before. A fresh project's spots are all free, so it places as
    // Next does.
    IconPosition NextFree(int arrayCount, const std::vector<IconPosition>& taken);

    IconPosition Cursor() const { return cursor_; }

    static IconPosition TemplatePosition(ElementKind kind);
    static IconPosition ResetPosition(ElementKind kind);

    // Where every icon of the project sits: each element row's, live or
    // deleted (Undo Delete brings it back there), and the node's.
    static std::vector<IconPosition> TakenPositions(const std::string& projectPath);

  private:
    ElementKind kind_;
    IconPosition cursor_;
};

}  // namespace torrenta
