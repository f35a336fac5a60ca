#include "network/IconPlacement.h"

namespace torrenta {

IconPlacement::IconPlacement(ElementKind kind) : kind_(kind), cursor_(TemplatePosition(kind)) {}

IconPosition IconPlacement::Next(int arrayCount) {
    if (cursor_.left > 10000) {
        cursor_ = ResetPosition(kind_);
    }
    cursor_.left += 50 * arrayCount;
    return cursor_;
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
