#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/ElementRows.h"

namespace torrenta {

// What the canvas needs of an element row to show its icon and its label.
struct IconRow {
    std::string tag;
    std::string left;
    std::string top;
    std::string deleted;
    std::string name;
    std::string tc;  // minutes, as stored
};

// Every row of the kind in stored order, deleted ones included: icon i of the
// canvas stands for row i.
std::vector<IconRow> ReadIconRows(const std::string& projectPath, ElementKind kind);

// The element's name as stored now; nothing when no row carries the tag.
std::optional<std::string> ReadElementName(const std::string& projectPath, ElementKind kind,
                                           const std::string& tag);

// A text is live exactly when it reads "False"; anything else ("True",
// "false", empty) keeps the icon hidden.
inline bool IsLive(const std::string& deleted) {
    return deleted == kLive;
}

}  // namespace torrenta
