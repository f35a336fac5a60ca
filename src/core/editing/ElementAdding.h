#pragma once

#include <functional>
#include <string>

#include "network/IconPlacement.h"
#include "store/ElementRows.h"

namespace torrenta {

// Where a new element's icon goes: its icon array index (which names its tag)
// and its position.
struct NewIconSlot {
    int index = 0;
    IconPosition position;
};

// Chooses the new icon's slot from the number of rows the kind holds, deleted
// ones included, as counted inside the add's transaction.
using IconSlotChoice = std::function<NewIconSlot(int rowCount)>;

// The one way a new element enters a project, whoever adds it (the canvas's
// add dialogs, the command line's add, the benchmark's project): the row is
// refused when a required field is empty ("Please fill all fields"), a text
// the report prints is not one line of UTF-8 (RequireOneLineTexts) or its
// kind already has 20 live elements (the kind's "Maximum Reached" text); it
// then gets the tag of its slot's index, the slot's position and Deleted
// "False", and is inserted. The count, the choice of tag and slot and the
// insert are one write transaction, so adds running at the same time (two
// command lines, a command line and the canvas) wait for each other and never
// pass the limit or share a tag. Returns the tag. Throws InputError when
// refused, DatabaseError when the row cannot be written; the file is then
// unchanged. An element added off the Tc flow path is listed as such in the
// same transaction.
// `complete` runs inside that transaction before the row is checked: what it
// reads (the project's table for a Tc) cannot change before the insert lands.
// A Tc the engineer typed (`tcTyped`) is recorded as such in the same
// transaction.
template <class Row>
std::string AddElement(const std::string& projectPath, Row& row, const IconSlotChoice& choose,
                       bool onTcPath = true, bool tcTyped = false,
                       const std::function<void(Row&)>& complete = {});

// The same with a slot the caller chose beforehand (the canvas's next icon).
template <class Row>
std::string AddElement(const std::string& projectPath, Row& row, int index, IconPosition position,
                       bool onTcPath = true, bool tcTyped = false);

// Undo Delete: a deleted element comes back live, within the same limit of 20
// live elements of its kind, counted in the same write transaction as the
// restore so that an add running meanwhile cannot push the kind past it.
// InputError with the kind's "Maximum Reached" text when full; DatabaseError
// when the row is gone or cannot be written.
// What `rerouted` names (the tags the delete passed on) drains into it again.
void RestoreElement(const std::string& projectPath, ElementKind kind, const std::string& tag,
                    const std::vector<std::string>& rerouted = {});

}  // namespace torrenta
