// Opening the 60-element project on the canvas: File Open's check of the file
// and the canvas built from its rows (LoadNetwork), offscreen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGraphicsLineItem>
#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "BenchOutput.h"
#include "BenchProject.h"
#include "BenchPrompts.h"
#include "MedianReporter.h"
#include "app/MDIFrmMain.h"
#include "canvas/FrmDraw.h"
#include "common/Session.h"
#include "store/AppFolder.h"
#include "store/ProjectFile.h"

namespace torrenta::bench {
namespace {

constexpr int kRepetitions = 9;
constexpr double kRepetitionSeconds = 0.2;
constexpr double kCanvasTargetMilliseconds = 10.0;
constexpr int kExpectedIcons = 3 * kElementsPerKind + 1;  // and the node
constexpr int kExpectedLines = 3 * kElementsPerKind;

// The offscreen platform says so for every window shown; thousands of times
// over a run it would bury the log.
QtMessageHandler qtHandler = nullptr;

void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QStringLiteral("does not support propagateSizeHints"))) {
        qtHandler(type, context, text);
    }
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// What the canvas shows, or why it is not what the project holds.
std::string CheckCanvas(const gui::MDIFrmMain& window, const BenchPrompts& prompts) {
    if (!prompts.messages.isEmpty()) {
        return prompts.messages.constLast().toStdString();
    }
    const gui::FrmDraw* canvas = window.Canvas();
    if (canvas == nullptr) {
        return "the canvas did not open";
    }
    int icons = canvas->NodeIcon() != nullptr && canvas->NodeIcon()->isVisible() ? 1 : 0;
    for (ElementKind kind : {ElementKind::Overland, ElementKind::Shallow, ElementKind::Channel}) {
        icons += canvas->VisibleCount(kind);
    }
    const int lines = static_cast<int>(canvas->Lines().size()) - 1;  // less the template
    if (icons != kExpectedIcons || lines != kExpectedLines) {
        return "the canvas shows " + std::to_string(icons) + " icons and " + std::to_string(lines) +
               " lines";
    }
    return {};
}

void OpenCanvas(benchmark::State& state, const BenchProject& project) {
    BenchPrompts prompts;
    for (auto _ : state) {
        // A main window shown on its start picture, as the user sees it before
        // File Open.
        auto window = std::make_unique<gui::MDIFrmMain>();
        window->show();
        Settle();
        gui::CurrentSession() = gui::Session{};
        gui::CurrentSession().AppFolder = project.AppFolder();
        gui::CurrentSession().ProjectPath = project.ProjectPath();

        const auto start = std::chrono::steady_clock::now();
        OpenProject(project.ProjectPath());
        window->ShowCanvas();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());

        const std::string fault = CheckCanvas(*window, prompts);
        window.reset();
        Settle();
        if (!fault.empty()) {
            state.SkipWithError(fault.c_str());
            break;
        }
    }
}

int Run(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(QuietOffscreenNotes);
    QApplication app(argc, argv);
    InitializeInterleaved(&argc, argv);
    const BenchProject project(ExecutableFolder(argv[0]));

    benchmark::RegisterBenchmark("OpenCanvas",
                                 [&](benchmark::State& state) { OpenCanvas(state, project); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->MinTime(SecondsFor(kRepetitionSeconds))
        ->Repetitions(RepetitionsFor(kRepetitions))
        ->ReportAggregatesOnly(true);

    MedianReporter reporter;
    if (!RunRegistered(reporter)) {
        return 1;
    }
    const double canvas = reporter.MedianMicroseconds("OpenCanvas").real / 1000.0;
    PrintBelow("open project + build canvas (61 icons, 60 lines)", canvas, 2,
               kCanvasTargetMilliseconds, 0, "ms");
    return 0;
}

}  // namespace
}  // namespace torrenta::bench

int main(int argc, char** argv) {
    return torrenta::bench::RunProgram("bench_canvas", torrenta::bench::Run, argc, argv);
}
