#include <QApplication>
#include <QIcon>
#include <QScreen>

#include "app/AppFolderSetting.h"
#include "app/MDIFrmMain.h"
#include "app/Session.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quillmoor"));
    QApplication::setApplicationName(QStringLiteral("Torrenta"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/torrenta.svg")));

    torrenta::gui::MDIFrmMain window;
    // Without a window manager to maximize it, the window still fills the screen.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    torrenta::gui::CurrentSession().AppFolder = torrenta::gui::DetermineAppFolder();
    return QApplication::exec();
}
