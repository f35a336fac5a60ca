#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace torrenta::bench {

// Google Benchmark's console output, keeping the median real and CPU time of
// every benchmark (in microseconds) so the program can put figures side by
// side. Benchmarks run with repetitions; the median of the repetitions stands
// up to the other work a shared machine does at the same time, and the CPU
// time shows how much of a difference is the machine's load rather than work.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    // Plain text: the output is read back by bench/run, not by a terminal.
    MedianReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                failed_.push_back(run.run_name.function_name + ": " + run.error_message);
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                const double unit = MicrosecondsPer(run.time_unit);
                medians_[run.run_name.function_name] = {run.GetAdjustedRealTime() * unit,
                                                        run.GetAdjustedCPUTime() * unit};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    struct Median {
        double real = 0;
        double cpu = 0;
    };

    Median MedianMicroseconds(const std::string& name) const {
        const auto found = medians_.find(name);
        if (found == medians_.end()) {
            throw std::runtime_error("no median for the benchmark " + name);
        }
        return found->second;
    }

    const std::vector<std::string>& Failures() const { return failed_; }

  private:
    static double MicrosecondsPer(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond:
                return 1e-3;
            case benchmark::kMicrosecond:
                return 1.0;
            case benchmark::kMillisecond:
                return 1e3;
            case benchmark::kSecond:
                return 1e6;
        }
        return 1.0;
    }

    std::map<std::string, Median> medians_;
    std::vector<std::string> failed_;
};

// A smoke run (TORRENTA_BENCH_SMOKE set, as the test command does) proves
// that each benchmark builds and runs: two short repetitions, enough for a
// median, and no target judged on them.
inline bool SmokeRun() {
    return std::getenv("TORRENTA_BENCH_SMOKE") != nullptr;
}
inline int RepetitionsFor(int measured) {
    return SmokeRun() ? 2 : measured;
}
inline double SecondsFor(double measured) {
    return SmokeRun() ? 0.001 : measured;
}

// benchmark::Initialize with the repetitions of different benchmarks run in
// random turns, so a change in the machine's load falls on both sides of a
// comparison, and without colours; flags given on the command line still win.
inline void InitializeInterleaved(int* argc, char** argv) {
    static std::vector<std::string> texts;
    static std::vector<char*> args;
    texts.assign(argv, argv + *argc);
    texts.insert(texts.begin() + 1,
                 {"--benchmark_enable_random_interleaving=true", "--benchmark_color=false"});
    args.clear();
    for (std::string& text : texts) {
        args.push_back(text.data());
    }
    args.push_back(nullptr);
    int count = static_cast<int>(texts.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        std::exit(2);
    }
}

// Runs every registered benchmark into `reporter`. False, with each failure
// on standard error, when one of them failed.
inline bool RunRegistered(MedianReporter& reporter) {
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const std::string& failure : reporter.Failures()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
    }
    return reporter.Failures().empty();
}

}  // namespace torrenta::bench
