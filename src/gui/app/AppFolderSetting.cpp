#include "app/AppFolderSetting.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

#include "common/QtText.h"
#include "store/AppFolder.h"

namespace torrenta::gui {

std::string DetermineAppFolder() {
    QSettings settings(QSettings::SystemScope, QStringLiteral("Quillmoor"),
                       QStringLiteral("Squallbox"));
    QString installPath = settings.value(QStringLiteral("InstallPath")).toString();
    // A value written by a tool that stores the terminating NUL still names the folder.
    if (const qsizetype nul = installPath.indexOf(QChar(u'\0')); nul >= 0) {
        installPath.truncate(nul);
    }
    // An installed program's shared folder is read-only for users; they then
    // work in their own data folder, seeded with the shipped databases.
    return ChooseAppFolder(
        FromQ(installPath), FromQ(QCoreApplication::applicationDirPath()),
        FromQ(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
}

}  // namespace torrenta::gui
