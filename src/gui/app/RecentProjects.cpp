#include "app/RecentProjects.h"

#include <QFileInfo>

#include "common/UserSettings.h"

namespace torrenta::gui {

namespace {

const QString kKey = QStringLiteral("RecentProjects");

// One spelling per file, so opening it again moves it up instead of adding it twice.
QString Canonical(const QString& file) {
    return QFileInfo(file).absoluteFilePath();
}

void Store(const QStringList& files) {
    UserSettings().setValue(kKey, files);
}

}  // namespace

QStringList RecentProjects::List() {
    return UserSettings().value(kKey).toStringList();
}

void RecentProjects::Add(const QString& file) {
    QStringList files = List();
    const QString entry = Canonical(file);
    files.removeAll(entry);
    files.prepend(entry);
    Store(files.mid(0, kMaxEntries));
}

void RecentProjects::Remove(const QString& file) {
    QStringList files = List();
    files.removeAll(Canonical(file));
    Store(files);
}

}  // namespace torrenta::gui
