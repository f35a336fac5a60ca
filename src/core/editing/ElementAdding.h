#pragma once

#include <string>

#include "network/IconPlacement.h"
#include "store/ElementRows.h"

namespace torrenta {

// The one way a new element enters a project, whoever adds it (the canvas's
// add dialogs, the command line's add, the benchmark's project): the row is
// refused when a required field is empty ("Please fill all fields"), a text
// the report prints is not one line of UTF-8 (RequireOneLineTexts) or its
// kind already has 20 live elements (the kind's "Maximum Reached" text); it
// then gets the tag of the icon array index `index`, the icon's position and
// Deleted "False", and is inserted. Returns the tag. Throws InputError when
// refused, DatabaseError when the row cannot be written; the file is then
// unchanged.
template <class Row>
std::string AddElement(const std::string& projectPath, Row& row, int index, IconPosition position);

}  // namespace torrenta
