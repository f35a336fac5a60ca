// Whole processes: torrenta-cli solve against the sqlite3 shell doing the same
// reads and the same results update, the GUI's start against a bare Qt main
// window, and the peak memory of both programs with the 60-element project.
//
// Usage: bench_processes [RUNS]   (21 runs of each process by default)

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchOutput.h"
#include "BenchProject.h"
#include "ReturnPeriods.h"
#include "store/AppFolder.h"
#include "store/Connection.h"
#include "store/ProjectSetup.h"

extern char** environ;

namespace torrenta::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kDefaultRuns = 21;
constexpr int kWarmUpRuns = 2;
constexpr int kMemoryRuns = 3;
constexpr double kCliRatioTarget = 1.5;
constexpr double kGuiStartRatioTarget = 1.3;
constexpr double kCliMemoryTargetMb = 20.0;
constexpr double kGuiMemoryTargetMb = 100.0;
constexpr const char* kTimeProgram = "/usr/bin/time";

struct Command {
    std::vector<std::string> argv;
    std::string input = "/dev/null";  // standard input
    bool offscreen = false;           // a Qt program without a display
};

std::vector<std::string> Environment(bool offscreen) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "QT_QPA_PLATFORM=", 16) != 0) {
            env.emplace_back(*entry);
        }
    }
    if (offscreen) {
        env.emplace_back("QT_QPA_PLATFORM=offscreen");
    }
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

std::string Describe(const std::vector<std::string>& argv) {
    std::string text;
    for (const std::string& arg : argv) {
        text += (text.empty() ? "" : " ") + arg;
    }
    return text;
}

struct Timing {
    double wall = 0;  // seconds from spawn to exit
    double cpu = 0;   // user and system seconds of the process
};

// Runs the command to its end with its output discarded. A command that fails
// is a broken measurement.
Timing RunTimed(const Command& command) {
    std::vector<std::string> argv = command.argv;
    std::vector<std::string> env = Environment(command.offscreen);
    std::vector<char*> argvPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(env);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, command.input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const int spawned = posix_spawnp(&pid, argv[0].c_str(), &actions, nullptr, argvPointers.data(),
                                     envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(spawned));
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("cannot wait for " + argv[0]);
        }
    }
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("\"" + Describe(command.argv) + "\" failed (status " +
                                 std::to_string(status) + ")");
    }
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return {std::chrono::duration<double>(end - start).count(),
            seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

struct Comparison {
    Timing first;
    Timing second;  // medians, each of wall and CPU time on its own
};

// Medians of each command, run in turns so both meet the same conditions of a
// shared machine.
Comparison Compare(const Command& first, const Command& second, int runs) {
    for (int i = 0; i < kWarmUpRuns; ++i) {
        RunTimed(first);
        RunTimed(second);
    }
    std::vector<double> wall[2];
    std::vector<double> cpu[2];
    for (int i = 0; i < runs; ++i) {
        int k = 0;
        for (const Command* command : {&first, &second}) {
            const Timing timing = RunTimed(*command);
            wall[k].push_back(timing.wall);
            cpu[k].push_back(timing.cpu);
            ++k;
        }
    }
    return {{Median(wall[0]), Median(cpu[0])}, {Median(wall[1]), Median(cpu[1])}};
}

std::string Ms(const Timing& timing) {
    return "cpu " + Fixed(timing.cpu * 1000.0, 1) + " ms (wall " + Fixed(timing.wall * 1000.0, 1) +
           " ms)";
}

// The ratio is judged on CPU time: these processes never wait (no disk sync,
// no network), so on a quiet machine their CPU time is their wall time, and
// on a busy one it leaves out the neighbours' work. Wall time is shown beside.
void PrintComparison(const Comparison& c, const std::string& firstName,
                     const std::string& secondName, const std::string& ratioName, double target) {
    const double ratio = c.first.cpu / c.second.cpu;
    PrintFigure(firstName, Ms(c.first));
    PrintFigure(secondName, Ms(c.second));
    PrintResult(ratioName,
                Fixed(ratio, 2) + "x (wall " + Fixed(c.first.wall / c.second.wall, 2) + "x)",
                "<= " + Fixed(target, 1) + "x", ratio <= target);
}

// Peak resident memory in megabytes (MiB) as /usr/bin/time -v reports it.
double PeakMemoryMb(const Command& command, const std::string& folder) {
    const std::string report = (fs::path(folder) / "time-report.txt").string();
    Command timed = command;
    timed.argv = {kTimeProgram, "-v", "-o", report};
    timed.argv.insert(timed.argv.end(), command.argv.begin(), command.argv.end());
    std::vector<double> peaks;
    for (int i = 0; i < kMemoryRuns; ++i) {
        RunTimed(timed);
        std::ifstream in(report);
        std::string line;
        const std::string label = "Maximum resident set size (kbytes):";
        double kilobytes = -1;
        while (std::getline(in, line)) {
            const auto at = line.find(label);
            if (at != std::string::npos) {
                kilobytes = std::strtod(line.c_str() + at + label.size(), nullptr);
            }
        }
        if (kilobytes < 0) {
            throw std::runtime_error(std::string(kTimeProgram) + " reported no peak memory");
        }
        peaks.push_back(kilobytes / 1024.0);
    }
    return Median(peaks);
}

std::string SqlText(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    return quoted + "'";
}

// The statements of a solve with nothing around them: the rows the report
// reads, the intensity rows the solver reads and the one results row it
// rewrites, with the texts the solve writes.
std::string SolveScript(const std::string& appFolder, const std::string& table,
                        const ResultsRow& results) {
    std::ostringstream sql;
    sql << "SELECT ProjectName, DesignEngineer, ProjectManager, DesignDate, JobNumber, "
           "IValueBasinName FROM TblProjectInfo ORDER BY rowid DESC LIMIT 1;\n"
        << "SELECT NodeName, IntensityTable, NodeX, NodeY FROM TblNodeInfo "
           "ORDER BY rowid LIMIT 1;\n"
        << "SELECT * FROM TblBasinInfo WHERE Deleted = 'False' ORDER BY rowid;\n"
        << "SELECT * FROM TblSurfaceInfo WHERE Deleted = 'False' ORDER BY rowid;\n"
        << "SELECT * FROM TblChannelInfo WHERE Deleted = 'False' ORDER BY rowid;\n"
        << "ATTACH " << SqlText(IntensityDatabasePath(appFolder)) << " AS intensity;\n"
        << "SELECT Duration, \"1\", \"2\", \"5\", \"10\", \"25\", \"50\", \"100\" "
           "FROM intensity."
        << QuoteIdentifier(table) << " ORDER BY ID;\n"
        << "UPDATE TblResults SET ";
    for (std::size_t k = 0; k < kReturnPeriods.size(); ++k) {
        const std::string period = std::to_string(kReturnPeriods[k]);
        sql << (k == 0 ? "" : ", ") << "Ival_" << period << " = " << SqlText(results.ival[k])
            << ", Qpeak_" << period << " = " << SqlText(results.qpeak[k]);
    }
    sql << " WHERE rowid = (SELECT min(rowid) FROM TblResults);\n";
    return sql.str();
}

int Run(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : kDefaultRuns;
    if (runs < 1) {
        throw std::runtime_error("the number of runs must be at least 1");
    }
    const std::string binFolder = ExecutableFolder(argv[0]);
    const BenchProject project(binFolder);
    const std::string cli = (fs::path(binFolder) / "torrenta-cli").string();
    const std::string probe = (fs::path(binFolder) / "bench_gui_probe").string();

    const Command solve{{cli, "solve", project.ProjectPath(), "--app-folder", project.AppFolder()}};
    // The first solve adds the results row; from then on each run rewrites it,
    // as the shell's update does on its copy.
    RunTimed(solve);
    const std::string copy = (fs::path(project.Folder()) / "Shell Copy.rmt").string();
    fs::copy_file(project.ProjectPath(), copy);
    const std::string script = (fs::path(project.Folder()) / "solve.sql").string();
    const auto results = ReadResults(project.ProjectPath());
    if (!results) {
        throw std::runtime_error("the first solve left no results row");
    }
    std::ofstream(script) << SolveScript(project.AppFolder(), project.IntensityTable(), *results);
    const Command shell{{"sqlite3", "-batch", "-init", "/dev/null", copy}, script};

    PrintComparison(Compare(solve, shell, runs), "torrenta-cli solve, whole process (median)",
                    "sqlite3 shell, same reads + update (median)",
                    "torrenta-cli solve / sqlite3 shell", kCliRatioTarget);

    const Command torrenta{{probe, "torrenta"}, "/dev/null", true};
    const Command bare{{probe, "bare"}, "/dev/null", true};
    PrintComparison(Compare(torrenta, bare, runs),
                    "GUI start to first painted main window (median)",
                    "bare QApplication + QMainWindow (median)", "GUI start / bare Qt main window",
                    kGuiStartRatioTarget);
    // What showing any text at all costs, for reading the ratio above: the
    // font list, one font and its glyphs, paid by every window with text.
    const Comparison text = Compare({{probe, "label"}, "/dev/null", true}, bare, runs);
    PrintFigure("bare Qt main window with one label (median)", Ms(text.first));
    PrintFigure("one label / bare Qt main window",
                Fixed(text.first.cpu / text.second.cpu, 2) + "x (wall " +
                    Fixed(text.first.wall / text.second.wall, 2) + "x)");

    const double cliPeak = PeakMemoryMb(solve, project.Folder());
    PrintBelow("peak memory, torrenta-cli solve", cliPeak, 1, kCliMemoryTargetMb, 0, "MB");
    const double guiPeak =
        PeakMemoryMb({{probe, "open", project.ProjectPath()}, "/dev/null", true}, project.Folder());
    PrintBelow("peak memory, GUI with the project open", guiPeak, 1, kGuiMemoryTargetMb, 0, "MB");
    return 0;
}

}  // namespace
}  // namespace torrenta::bench

int main(int argc, char** argv) {
    return torrenta::bench::RunProgram("bench_processes", torrenta::bench::Run, argc, argv);
}
