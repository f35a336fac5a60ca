#include "network/IconPlacement.h"

#include <algorithm>
#include <cstdlib>

#include "network/NetworkRows.h"
#include "store/ProjectSetup.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

// Closer than the smallest step the cursor takes, an icon's name would print
// over the other's.
constexpr int kSameSpot = 50;
// More steps than the cursor has spots before it comes round again.
constexpr int kMostSteps = 1000;

bool Taken(IconPosition spot, const std::vector<IconPosition>& taken) {
    return std::any_of(taken.begin(), taken.end(), [&](IconPosition other) {
        return std::abs(other.left - spot.left) < kSameSpot &&
               std::abs(other.top - spot.top) < kSameSpot;
    });
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

IconPosition IconPlacement::NextFree(int arrayCount, const std::vector<IconPosition>& taken) {
    IconPosition spot = Next(arrayCount);
    for (int step = 0; step < kMostSteps && Taken(spot, taken); ++step) {
        spot = Next(arrayCount);
    }
    return spot;
}

std::vector<IconPosition> IconPlacement::TakenPositions(const std::string& projectPath) {
    std::vector<IconPosition> taken;
    for (ElementKind kind : {ElementKind::Overland, ElementKind::Shallow, ElementKind::Channel}) {
        for (const IconRow& row : ReadIconRows(projectPath, kind)) {
            taken.push_back({WholeTwips(row.left), WholeTwips(row.top)});
        }
    }
    if (const std::optional<NodeRow> node = ReadNode(projectPath)) {
        taken.push_back({WholeTwips(node->NodeX), WholeTwips(node->NodeY)});
    }
    return taken;
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
