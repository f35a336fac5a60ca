// Composing and solving the report of the 60-element project against the
// least the database has to do for it, and writing that report as RTF.

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchOutput.h"
#include "BenchProject.h"
#include "MedianReporter.h"
#include "detention/ProjectDetention.h"
#include "report/ReportComposer.h"
#include "report/RtfWriter.h"
#include "store/AppFolder.h"
#include "store/Connection.h"
#include "store/ProjectSetup.h"

namespace torrenta::bench {
namespace {

constexpr int kRepetitions = 15;
constexpr double kRepetitionSeconds = 0.1;
// Composing and solving reads each thing once; the rest is formatting.
constexpr double kComposeRatioTarget = 2.0;
constexpr double kRtfTargetMicroseconds = 500.0;
constexpr double kDetentionTargetMicroseconds = 1000.0;

// Every column of a row as text, which is all a report needs of it.
std::size_t ReadRows(SQLite::Database& db, const char* sql, std::vector<std::string>& cells) {
    SQLite::Statement query(db, sql);
    std::size_t rows = 0;
    while (query.executeStep()) {
        for (int c = 0; c < query.getColumnCount(); ++c) {
            cells.push_back(query.getColumn(c).getString());
        }
        ++rows;
    }
    return rows;
}

// The same rows the report reads and the one results row it writes, through
// SQLiteCpp with one connection per database and nothing else around it.
std::size_t BareReads(const std::string& projectPath, const std::string& appFolder,
                      const std::string& table, const std::vector<std::string>& results) {
    std::vector<std::string> cells;
    cells.reserve(1024);
    std::size_t rows = 0;
    {
        SQLite::Database db(projectPath, SQLite::OPEN_READWRITE);
        rows += ReadRows(db,
                         "SELECT ProjectName, DesignEngineer, ProjectManager, DesignDate, "
                         "JobNumber, IValueBasinName FROM TblProjectInfo "
                         "ORDER BY rowid DESC LIMIT 1",
                         cells);
        rows += ReadRows(db,
                         "SELECT NodeName, IntensityTable, NodeX, NodeY FROM TblNodeInfo "
                         "ORDER BY rowid LIMIT 1",
                         cells);
        rows += ReadRows(db, "SELECT * FROM TblBasinInfo WHERE Deleted = 'False' ORDER BY rowid",
                         cells);
        rows += ReadRows(db, "SELECT * FROM TblSurfaceInfo WHERE Deleted = 'False' ORDER BY rowid",
                         cells);
        rows += ReadRows(db, "SELECT * FROM TblChannelInfo WHERE Deleted = 'False' ORDER BY rowid",
                         cells);
        SQLite::Statement update(db,
                                 "UPDATE TblResults SET Ival_1 = ?, Ival_2 = ?, Ival_5 = ?, "
                                 "Ival_10 = ?, Ival_25 = ?, Ival_50 = ?, Ival_100 = ?, "
                                 "Qpeak_1 = ?, Qpeak_2 = ?, Qpeak_5 = ?, Qpeak_10 = ?, "
                                 "Qpeak_25 = ?, Qpeak_50 = ?, Qpeak_100 = ? "
                                 "WHERE rowid = (SELECT min(rowid) FROM TblResults)");
        for (std::size_t k = 0; k < results.size(); ++k) {
            update.bind(static_cast<int>(k + 1), results[k]);
        }
        update.exec();
    }
    {
        SQLite::Database db(IntensityDatabasePath(appFolder), SQLite::OPEN_READONLY);
        const std::string sql =
            "SELECT Duration, \"1\", \"2\", \"5\", \"10\", \"25\", \"50\", "
            "\"100\" FROM " +
            QuoteIdentifier(table) + " ORDER BY ID";
        rows += ReadRows(db, sql.c_str(), cells);
    }
    return rows;
}

// The texts the solver left in the results row, so the bare update writes
// what every solve of the unchanged project writes.
std::vector<std::string> StoredResults(const std::string& projectPath) {
    const auto stored = ReadResults(projectPath);
    if (!stored) {
        throw std::runtime_error("the solve left no results row");
    }
    std::vector<std::string> texts(stored->ival.begin(), stored->ival.end());
    texts.insert(texts.end(), stored->qpeak.begin(), stored->qpeak.end());
    return texts;
}

std::string Us(const MedianReporter::Median& median) {
    return "cpu " + Fixed(median.cpu, 1) + " us (wall " + Fixed(median.real, 1) + " us)";
}

int Run(int argc, char** argv) {
    InitializeInterleaved(&argc, argv);
    const BenchProject project(ExecutableFolder(argv[0]));
    const ReportInputs inputs{project.ProjectPath(), project.AppFolder(), project.IntensityTable(),
                              SolveNetwork(project.ProjectPath())};
    // One solve first, so the results row exists and both sides rewrite it.
    const ComposedReport composed = ComposeReport(inputs);
    const RichDocument& document = composed.document;
    const std::vector<std::string> results = StoredResults(project.ProjectPath());

    constexpr std::size_t kExpectedRows = 1 + 1 + 3 * kElementsPerKind + 10;
    benchmark::RegisterBenchmark("ComposeReport",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         benchmark::DoNotOptimize(ComposeReport(inputs));
                                     }
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(SecondsFor(kRepetitionSeconds))
        ->Repetitions(RepetitionsFor(kRepetitions))
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark(
        "BareSqliteReads",
        [&](benchmark::State& state) {
            for (auto _ : state) {
                const std::size_t rows = BareReads(project.ProjectPath(), project.AppFolder(),
                                                   project.IntensityTable(), results);
                if (rows != kExpectedRows) {
                    state.SkipWithError("the bare reads did not find the project's rows");
                    break;
                }
            }
        })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(SecondsFor(kRepetitionSeconds))
        ->Repetitions(RepetitionsFor(kRepetitions))
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("WriteRtf",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         benchmark::DoNotOptimize(WriteRtf(document));
                                     }
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(SecondsFor(kRepetitionSeconds))
        ->Repetitions(RepetitionsFor(kRepetitions))
        ->ReportAggregatesOnly(true);

    // Every storm from the project's Tc to the table's 24 hours, one a minute,
    // for the seven periods, against a release below every peak flow.
    DetentionInputs detention;
    detention.release = 1.0;
    benchmark::RegisterBenchmark(
        "DetentionSweep",
        [&](benchmark::State& state) {
            for (auto _ : state) {
                benchmark::DoNotOptimize(ComputeProjectDetention(
                    composed.solution, detention, project.ProjectPath(), project.AppFolder()));
            }
        })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(SecondsFor(kRepetitionSeconds))
        ->Repetitions(RepetitionsFor(kRepetitions))
        ->ReportAggregatesOnly(true);

    MedianReporter reporter;
    if (!RunRegistered(reporter)) {
        return 1;
    }

    const auto compose = reporter.MedianMicroseconds("ComposeReport");
    const auto bare = reporter.MedianMicroseconds("BareSqliteReads");
    const double rtf = reporter.MedianMicroseconds("WriteRtf").real;
    const double sweep = reporter.MedianMicroseconds("DetentionSweep").cpu;
    // Judged on CPU time: nothing here waits for the disk (the solve rewrites
    // the results row with the texts it already holds), so CPU time is the
    // work, without the share a busy machine's other processes add.
    const double ratio = compose.cpu / bare.cpu;
    PrintFigure("compose + solve report (60 elements)", Us(compose));
    PrintFigure("bare SQLite reads + results update", Us(bare));
    PrintResult("compose+solve / bare SQLite",
                Fixed(ratio, 2) + "x (wall " + Fixed(compose.real / bare.real, 2) + "x)",
                "<= " + Fixed(kComposeRatioTarget, 0) + "x", ratio <= kComposeRatioTarget);
    PrintBelow("WriteRtf of that report", rtf / 1000.0, 3, kRtfTargetMicroseconds / 1000.0, 1,
               "ms");
    PrintBelow("detention sweep, 7 periods (60 elements)", sweep / 1000.0, 3,
               kDetentionTargetMicroseconds / 1000.0, 0, "ms");
    return 0;
}

}  // namespace
}  // namespace torrenta::bench

int main(int argc, char** argv) {
    return torrenta::bench::RunProgram("bench_report", torrenta::bench::Run, argc, argv);
}
