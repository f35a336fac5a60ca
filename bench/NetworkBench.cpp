// A drainage network at the program's limits: 200 design points and 600
// elements solved, composed and written as JSON, and the same with 2000
// elements, which must cost about in proportion (one read of each table, one
// walk of the tree); and the 600 elements draining through 200 pipes, sized
// and run at all seven periods.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchOutput.h"
#include "BenchProject.h"
#include "MedianReporter.h"
#include "SolutionJson.h"
#include "report/ReportComposer.h"
#include "solver/NetworkSolution.h"
#include "store/AppFolder.h"
#include "store/ProjectSetup.h"

namespace torrenta::bench {
namespace {

constexpr int kRepetitions = 9;
constexpr double kRepetitionSeconds = 0.2;
constexpr int kPoints = 200;
constexpr int kElements = 600;
constexpr int kLargeElements = 2000;
constexpr double kTargetMilliseconds = 20.0;
// 2000 elements are 3.3 times 600: a walk that grows faster shows well above.
constexpr double kGrowthTarget = 5.0;

void Register(const char* name, const ReportInputs& inputs) {
    benchmark::RegisterBenchmark(
        name,
        [inputs](benchmark::State& state) {
            for (auto _ : state) {
                const ComposedReport composed = ComposeReport(inputs);
                const auto node = ReadNode(inputs.projectPath);
                benchmark::DoNotOptimize(
                    SolutionAsJson(composed.solution, ProjectInfoRow{}, node.value_or(NodeRow{}))
                        .dump());
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(SecondsFor(kRepetitionSeconds))
        ->Repetitions(RepetitionsFor(kRepetitions))
        ->ReportAggregatesOnly(true);
}

int Run(int argc, char** argv) {
    InitializeInterleaved(&argc, argv);
    const BenchProject project(ExecutableFolder(argv[0]));
    const std::string network = MakeNetworkProject(project, kPoints, kElements);
    const std::string large = MakeNetworkProject(project, kPoints, kLargeElements);
    Register("Network600",
             {network, project.AppFolder(), project.IntensityTable(), SolveNetwork(network)});
    Register("Network2000",
             {large, project.AppFolder(), project.IntensityTable(), SolveNetwork(large)});
    const std::string piped = MakeNetworkProject(project, kPoints, kElements, true);
    Register("NetworkPipes",
             {piped, project.AppFolder(), project.IntensityTable(), SolveNetwork(piped)});

    MedianReporter reporter;
    if (!RunRegistered(reporter)) {
        return 1;
    }
    const double small = reporter.MedianMicroseconds("Network600").cpu / 1000.0;
    const double big = reporter.MedianMicroseconds("Network2000").cpu / 1000.0;
    PrintBelow("network: solve + report + JSON (200 points, 600 elements)", small, 2,
               kTargetMilliseconds, 0, "ms");
    PrintFigure("network: the same with 2000 elements", Fixed(big, 2) + " ms");
    PrintResult("network: 2000 / 600 elements", Fixed(big / small, 2) + "x",
                "<= " + Fixed(kGrowthTarget, 0) + "x", big / small <= kGrowthTarget);
    PrintBelow("storm drains: 200 pipes sized, 7 periods, report + JSON",
               reporter.MedianMicroseconds("NetworkPipes").cpu / 1000.0, 2, kTargetMilliseconds, 0,
               "ms");
    return 0;
}

}  // namespace
}  // namespace torrenta::bench

int main(int argc, char** argv) {
    return torrenta::bench::RunProgram("bench_network", torrenta::bench::Run, argc, argv);
}
