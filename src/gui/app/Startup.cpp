#include "app/Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QScreen>

#include "app/AppFolderSetting.h"
#include "app/MDIFrmMain.h"
#include "common/AppStyle.h"
#include "common/Resources.h"
#include "common/Session.h"
#include "common/SvgIcon.h"

namespace torrenta::gui {

void IdentifyApplication() {
    LoadResources();
    QApplication::setStyle(new AppStyle);
    QApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    QApplication::setApplicationName(QStringLiteral("Torrenta"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setWindowIcon(SvgIcon(QStringLiteral(":/images/torrenta.svg")));
}

QString ProjectArgument(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Storm-water peak flows by the rational method."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"),
                                 QStringLiteral("A project (.rmt) to open."),
                                 QStringLiteral("[project]"));
    parser.process(arguments);
    const QStringList projects = parser.positionalArguments();
    return projects.isEmpty() ? QString() : QFileInfo(projects.constFirst()).absoluteFilePath();
}

void ShowMainWindow(MDIFrmMain& window, const QString& project) {
    // Without a window manager to maximize it, the window still fills the screen.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    CurrentSession().AppFolder = DetermineAppFolder();
    if (!project.isEmpty()) {
        window.OpenProjectFile(project);
    }
}

}  // namespace torrenta::gui
