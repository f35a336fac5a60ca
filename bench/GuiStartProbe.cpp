// A stand-in for the program's start, for whole-process measurements: it
// starts as torrenta's main() does (keep the two alike) and ends as soon as
// the first main window has been painted, so the time and memory of one
// process are those of a start and nothing after. `bare` does the same with
// an empty QMainWindow, the least any Qt Widgets program pays; `label` with a
// QMainWindow showing one short label, the least any window with text pays
// (the font list, the font and its glyphs); `open PROJECT` starts as
// `torrenta PROJECT` and ends when the canvas has been painted.
//
// Usage: bench_gui_probe bare | label | torrenta | open PROJECT

#include <QApplication>
#include <QGraphicsView>
#include <QLabel>

#include <QMainWindow>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>

#include "BenchPrompts.h"
#include "app/MDIFrmMain.h"
#include "app/Startup.h"
#include "canvas/FrmDraw.h"

namespace {

constexpr int kGiveUpMs = 20000;
constexpr int kExitNoPaint = 3;
constexpr int kExitCanvasFailed = 4;
constexpr int kExitUsage = 2;

// Quits once the widget has been painted for the first time.
class QuitOnFirstPaint : public QObject {
  public:
    explicit QuitOnFirstPaint(QWidget* watched) : QObject(watched) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool painted_ = false;
};

int Bare(QApplication& app, bool withLabel) {
    QMainWindow window;
    if (withLabel) {
        window.setCentralWidget(new QLabel(QStringLiteral("Version 1.0"), &window));
    }
    window.setGeometry(window.screen()->availableGeometry());
    new QuitOnFirstPaint(&window);
    window.showMaximized();
    return app.exec();
}

// torrenta's main() up to its event loop, started without arguments or, with
// `projectPath`, as `torrenta PROJECT` (File Open of that project).
int Torrenta(QApplication& app, const char* projectPath) {
    torrenta::gui::IdentifyApplication();
    QStringList arguments = {QCoreApplication::applicationFilePath()};
    if (projectPath != nullptr) {
        arguments.append(QString::fromLocal8Bit(projectPath));
    }
    const QString project = torrenta::gui::ProjectArgument(arguments);

    torrenta::bench::BenchPrompts prompts;
    torrenta::gui::MDIFrmMain window;
    torrenta::gui::ShowMainWindow(window, project);
    if (projectPath == nullptr) {
        new QuitOnFirstPaint(&window);
    } else {
        if (window.Canvas() == nullptr || !prompts.messages.isEmpty()) {
            std::fprintf(stderr, "bench_gui_probe: the canvas did not open: %s\n",
                         qPrintable(prompts.messages.join(QStringLiteral("; "))));
            return kExitCanvasFailed;
        }
        new QuitOnFirstPaint(window.Canvas()->View()->viewport());
    }
    return app.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool bare = mode == "bare" || mode == "label";
    if (!bare && mode != "torrenta" && !(mode == "open" && argc > 2)) {
        std::fprintf(stderr, "usage: bench_gui_probe bare | label | torrenta | open PROJECT\n");
        return kExitUsage;
    }
    QApplication app(argc, argv);
    bool painted = true;
    QTimer::singleShot(kGiveUpMs, &app, [&] {
        painted = false;
        QCoreApplication::quit();
    });
    int code = 0;
    try {
        code =
            bare ? Bare(app, mode == "label") : Torrenta(app, mode == "open" ? argv[2] : nullptr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_gui_probe: %s\n", e.what());
        return 1;
    }
    if (!painted) {
        std::fprintf(stderr, "bench_gui_probe: no window was painted\n");
        return kExitNoPaint;
    }
    return code;
}
