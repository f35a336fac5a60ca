#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>

#include "app/AppFolderSetting.h"
#include "app/MDIFrmMain.h"
#include "app/Resources.h"
#include "app/Session.h"
#include "app/SvgIcon.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    torrenta::gui::LoadResources();
    QApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    QApplication::setApplicationName(QStringLiteral("Torrenta"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setWindowIcon(torrenta::gui::SvgIcon(QStringLiteral(":/images/torrenta.svg")));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Storm-water peak flows by the rational method."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"),
                                 QStringLiteral("A project (.rmt) to open."),
                                 QStringLiteral("[project]"));
    parser.process(app);

    torrenta::gui::MDIFrmMain window;
    // Without a window manager to maximize it, the window still fills the screen.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    torrenta::gui::CurrentSession().AppFolder = torrenta::gui::DetermineAppFolder();
    if (!parser.positionalArguments().isEmpty()) {
        window.OpenProjectFile(
            QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath());
    }
    return QApplication::exec();
}
