#pragma once

#include <QString>

#include "canvas/IconItem.h"

namespace torrenta::gui {

// Names longer than this are cut short under their icon.
inline constexpr qsizetype kCaptionLength = 16;

// The name as shown under its icon: whole up to kCaptionLength characters (a
// letter with its accents is one), else its first characters and an
// ellipsis, kCaptionLength in all.
QString IconCaption(const QString& name);

// The icon's tool tip: the whole name, the kind, and for an element its tag and
// its travel time as stored (minutes).
QString IconToolTip(IconKind kind, const QString& name, const QString& tag = {},
                    const QString& tc = {});

}  // namespace torrenta::gui
