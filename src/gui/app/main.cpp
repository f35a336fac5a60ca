#include <QApplication>

#include "app/MDIFrmMain.h"
#include "app/Startup.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    torrenta::gui::IdentifyApplication();
    const QString project = torrenta::gui::ProjectArgument(QApplication::arguments());
    torrenta::gui::MDIFrmMain window;
    torrenta::gui::ShowMainWindow(window, project);
    return QApplication::exec();
}
