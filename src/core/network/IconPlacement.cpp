#include "network/IconPlacement.h"

#include <algorithm>

#include "network/NetworkRows.h"
#include "store/ProjectSetup.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

// Room for a name of the caption's length in the canvas font, and the band
// under the picture it takes.
constexpr int kCaptionWidth = 1400;
constexpr int kCaptionGap = 20;
constexpr int kCaptionHeight = 200;
// The free spots searched when the cursor's is taken.
constexpr int kSearchStep = 100;
constexpr int kRowStep = 2520;
constexpr int kRows = 4;
constexpr int kRowEnd = 10000;

IconBox Extent(int width, int height, IconPosition at) {
    const int middle = at.left + width / 2;
    return {std::min(at.left, middle - kCaptionWidth / 2), at.top,
            std::max(at.left + width, middle + kCaptionWidth / 2),
            at.top + height + kCaptionGap + kCaptionHeight};
}

bool Taken(const IconBox& box, const std::vector<IconBox>& taken) {
    return std::any_of(taken.begin(), taken.end(),
                       [&](const IconBox& other) { return box.Overlaps(other); });
}

int WholeTwips(const std::string& text) {
    return static_cast<int>(LeadingNumber(text));
}

}  // namespace

IconPlacement::IconPlacement(ElementKind kind) : kind_(kind), cursor_(TemplatePosition(kind)) {}

IconPosition IconPlacement::Next(int arrayCount) {
    if (cursor_.left > 10000) {
        cursor_ = ResetPosition(kind_);
    }
    cursor_.left += 50 * arrayCount;
    return cursor_;
}

IconPosition IconPlacement::NextFree(int arrayCount, const std::vector<IconBox>& taken) {
    const IconPosition cursor = Next(arrayCount);
    if (!Taken(IconExtent(kind_, cursor), taken)) {
        return cursor;
    }
    const IconPosition start = TemplatePosition(kind_);
    for (int row = 0; row < kRows; ++row) {
        for (int left = start.left; left <= kRowEnd; left += kSearchStep) {
            const IconPosition spot{left, start.top + row * kRowStep};
            if (!Taken(IconExtent(kind_, spot), taken)) {
                return spot;
            }
        }
    }
    return cursor;
}

std::vector<IconBox> IconPlacement::TakenBoxes(const std::string& projectPath) {
    std::vector<IconBox> taken;
    for (ElementKind kind : {ElementKind::Overland, ElementKind::Shallow, ElementKind::Channel}) {
        for (const IconRow& row : ReadIconRows(projectPath, kind)) {
            taken.push_back(IconExtent(kind, {WholeTwips(row.left), WholeTwips(row.top)}));
        }
    }
    if (const std::optional<NodeRow> node = ReadNode(projectPath)) {
        taken.push_back(NodeExtent({WholeTwips(node->NodeX), WholeTwips(node->NodeY)}));
    }
    return taken;
}

// The pictures' sizes as the canvas draws them.
IconBox IconExtent(ElementKind kind, IconPosition at) {
    switch (kind) {
        case ElementKind::Overland:
            return Extent(690, 420, at);
        case ElementKind::Shallow:
            return Extent(690, 405, at);
        case ElementKind::Channel:
            break;
    }
    return Extent(690, 300, at);
}

IconBox NodeExtent(IconPosition at) {
    return Extent(855, 555, at);
}

IconPosition IconPlacement::TemplatePosition(ElementKind kind) {
    switch (kind) {
        case ElementKind::Overland:
            return {600, 840};
        case ElementKind::Shallow:
            return {600, 1680};
        case ElementKind::Channel:
            break;
    }
    return {600, 2520};
}

IconPosition IconPlacement::ResetPosition(ElementKind kind) {
    return kind == ElementKind::Shallow ? IconPosition{600, 1680} : IconPosition{480, 480};
}

}  // namespace torrenta
