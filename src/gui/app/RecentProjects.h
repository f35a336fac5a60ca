#pragma once

#include <QStringList>

namespace torrenta::gui {

// The projects last opened or created, most recent first, kept in the user's
// settings so the File menus offer them in the next run too.
class RecentProjects {
  public:
    static constexpr qsizetype kMaxEntries = 8;

    static QStringList List();
    // Puts `file` first (once), dropping the oldest beyond kMaxEntries.
    static void Add(const QString& file);
    static void Remove(const QString& file);
};

}  // namespace torrenta::gui
