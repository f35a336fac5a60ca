#include "common/FileLocations.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "common/QtText.h"
#include "common/Session.h"

namespace torrenta::gui {

namespace {

const QString kLastFolderKey = QStringLiteral("LastFolder");

QSettings UserSettings() {
    return QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Squallbox"));
}

}  // namespace

QString DialogStartFolder() {
    const std::string& project = CurrentSession().ShownProjectPath();
    if (!project.empty()) {
        return QFileInfo(ToQ(project)).absolutePath();
    }
    const QString last = UserSettings().value(kLastFolderKey).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir()) {
        return last;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString ProposedSavePath(const QString& suffix) {
    const QString folder = DialogStartFolder();
    const std::string& project = CurrentSession().ShownProjectPath();
    if (project.empty()) {
        return folder;
    }
    return QDir(folder).filePath(QFileInfo(ToQ(project)).completeBaseName() + u'.' + suffix);
}

void RememberFolder(const QString& file) {
    if (!file.isEmpty()) {
        UserSettings().setValue(kLastFolderKey, QFileInfo(file).absolutePath());
    }
}

QString ProjectFileName() {
    const std::string& project = CurrentSession().ShownProjectPath();
    return project.empty() ? QString() : QFileInfo(ToQ(project)).fileName();
}

}  // namespace torrenta::gui
