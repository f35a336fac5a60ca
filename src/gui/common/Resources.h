#pragma once

namespace torrenta::gui {

// Registers the program's pictures (":/icons/...", ":/images/..."). They live
// in a static library, whose resource registration the linker would otherwise
// drop; safe to call more than once.
void LoadResources();

}  // namespace torrenta::gui
