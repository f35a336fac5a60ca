#pragma once

#include <QSettings>

namespace torrenta::gui {

// The user's own choices that outlive a run (recent projects, what the canvas
// shows), named for the program whatever the application object was told.
inline QSettings UserSettings() {
    return QSettings(QSettings::UserScope, QStringLiteral("Quillmoor"), QStringLiteral("Torrenta"));
}

}  // namespace torrenta::gui
