// Rainfall data: importing a downloaded NOAA Atlas 14 file (read, check,
// convert) and showing the Rainfall Curves window of the project's table with
// its Tc line, offscreen, up to its first paint.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QtCharts/QChart>
#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "BenchOutput.h"
#include "BenchProject.h"
#include "BenchPrompts.h"
#include "MedianReporter.h"
#include "common/Session.h"
#include "intensity/FrmRainfallCurves.h"
#include "rainfall/NoaaAtlas14File.h"
#include "store/AppFolder.h"

namespace torrenta::bench {
namespace {

constexpr int kRepetitions = 9;
constexpr double kRepetitionSeconds = 0.2;
constexpr double kImportTargetMilliseconds = 5.0;
constexpr double kChartTargetMilliseconds = 150.0;

// The largest of the sample downloads: estimates and both bound blocks.
const std::string kNoaaFile =
    std::string(TORRENTA_NOAA_FOLDER) + "/All_Depth_English_PDS_Nashville_TN.csv";

QtMessageHandler qtHandler = nullptr;

void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QStringLiteral("does not support"))) {
        qtHandler(type, context, text);
    }
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void ImportNoaaFile(benchmark::State& state) {
    for (auto _ : state) {
        const RainfallTable table = ReadNoaaAtlas14File(kNoaaFile, NoaaBlock::Upper);
        benchmark::DoNotOptimize(table.grid);
    }
}

void ShowChart(benchmark::State& state, const BenchProject& project) {
    BenchPrompts prompts;
    gui::CurrentSession() = gui::Session{};
    gui::CurrentSession().AppFolder = project.AppFolder();
    gui::CurrentSession().ProjectPath = project.ProjectPath();
    gui::CurrentSession().IntensityTableName = project.IntensityTable();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto window = std::make_unique<gui::FrmRainfallCurves>(nullptr);
        window->ShowCurrentTable();
        window->show();
        window->repaint();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        const bool drawn = window->Chart()->series().size() == 9;
        window.reset();
        Settle();
        if (!drawn) {
            state.SkipWithError("the chart does not show seven curves and the Tc line");
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

    benchmark::RegisterBenchmark("ImportNoaaFile", ImportNoaaFile)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(SecondsFor(kRepetitionSeconds))
        ->Repetitions(RepetitionsFor(kRepetitions))
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("ShowChart",
                                 [&](benchmark::State& state) { ShowChart(state, project); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->MinTime(SecondsFor(kRepetitionSeconds))
        ->Repetitions(RepetitionsFor(kRepetitions))
        ->ReportAggregatesOnly(true);

    MedianReporter reporter;
    if (!RunRegistered(reporter)) {
        return 1;
    }
    const double import = reporter.MedianMicroseconds("ImportNoaaFile").cpu / 1000.0;
    PrintBelow("import a NOAA Atlas 14 file (PFDS CSV)", import, 3, kImportTargetMilliseconds, 0,
               "ms");
    const double chart = reporter.MedianMicroseconds("ShowChart").real / 1000.0;
    PrintBelow("Rainfall Curves window shown (7 curves, Tc line)", chart, 2,
               kChartTargetMilliseconds, 0, "ms");
    return 0;
}

}  // namespace
}  // namespace torrenta::bench

int main(int argc, char** argv) {
    return torrenta::bench::RunProgram("bench_rainfall", torrenta::bench::Run, argc, argv);
}
