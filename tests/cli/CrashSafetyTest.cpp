#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "TestFolder.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"

// torrenta-cli add and solve killed with SIGKILL at random moments, as a power
// cut or a killed terminal would stop them: the project must stay a sound
// SQLite file, keep every element added before, and hold any element it shows
// whole. The moments are drawn from a fixed seed (printed with every failure;
// TORRENTA_CRASH_SEED repeats another run) over each command's measured
// duration, so the kills land before, during and after the write.
namespace torrenta {
namespace {

using Clock = std::chrono::steady_clock;
using test::ProcessOutcome;

constexpr int kRuns = 100;
// A fresh project now and then keeps every kind below its limit of 20.
constexpr int kRunsPerProject = 25;
constexpr unsigned kDefaultSeed = 20261208;

enum Command { kAddOverland, kAddShallow, kAddChannel, kSolve, kCommandCount };
constexpr const char* kCommandNames[] = {"add overland", "add shallow", "add channel", "solve"};

unsigned Seed() {
    const char* given = std::getenv("TORRENTA_CRASH_SEED");
    return given != nullptr ? static_cast<unsigned>(std::strtoul(given, nullptr, 10))
                            : kDefaultSeed;
}

std::vector<std::string> Arguments(Command command, const std::string& appFolder,
                                   const std::string& project, const std::string& name) {
    std::vector<std::string> args = {"--app-folder=" + appFolder};
    switch (command) {
        case kAddOverland:
            args.insert(args.end(), {"add", "overland", project, "--name=" + name, "--area=3",
                                     "--slope=0.02", "--land-use=Lawn", "--c=0.4", "--length=150",
                                     "--surface=Grass, Dense grass"});
            break;
        case kAddShallow:
            args.insert(args.end(), {"add", "shallow", project, "--name=" + name, "--length=500",
                                     "--slope=0.02", "--type=Paved"});
            break;
        case kAddChannel:
            args.insert(args.end(),
                        {"add", "channel", project, "--name=" + name, "--area=10", "--wp=8",
                         "--slope=0.005", "--length=1000", "--material=Concrete Channel"});
            break;
        default:
            args.insert(args.end(), {"solve", project, "--json"});
            break;
    }
    return args;
}

template <class Row>
bool SameRow(const Row& a, const Row& b) {
    for (const auto& column : ElementTable<Row>::kColumns) {
        if (a.*column.member != b.*column.member) {
            return false;
        }
    }
    return true;
}

// The rows known to be in the project: every element whose add finished, or
// whose row a check found whole after its add was killed.
struct KnownRows {
    std::vector<BasinRow> basins;
    std::vector<SurfaceRow> surfaces;
    std::vector<ChannelRow> channels;
};

// The stored rows of one kind must start with the known ones, unchanged, and
// hold at most the one row the last command was adding: whole (every value
// given as asked, every computed one present) and named as asked. That row is
// known from then on.
template <class Row>
void CheckKind(const std::string& project, std::vector<Row>& known, bool lastAddedThisKind,
               const std::string& lastName, Row expected) {
    const std::vector<Row> stored = ReadAllElements<Row>(project);
    ASSERT_GE(stored.size(), known.size()) << "an element added before was lost";
    for (std::size_t i = 0; i < known.size(); ++i) {
        EXPECT_TRUE(SameRow(stored[i], known[i])) << "element " << i << " changed";
    }
    ASSERT_LE(stored.size(), known.size() + (lastAddedThisKind ? 1 : 0)) << "rows appeared";
    if (stored.size() == known.size() + 1) {
        const Row& added = stored.back();
        expected.*ElementTable<Row>::kColumns[1].member = lastName;
        for (const auto& column : ElementTable<Row>::kColumns) {
            if ((expected.*column.member).empty()) {
                EXPECT_FALSE((added.*column.member).empty()) << column.name << " is empty";
            } else {
                EXPECT_EQ(added.*column.member, expected.*column.member) << column.name;
            }
        }
        known.push_back(added);
    }
}

// Empty texts stand for the values the command computes (tag, position, n,
// velocity, Tc).
void CheckProject(const std::string& project, KnownRows& known, Command last,
                  const std::string& lastName) {
    {
        // Opened for writing as the next command would: a journal left by the
        // killed one is rolled back first.
        SQLite::Database db(project, SQLite::OPEN_READWRITE);
        EXPECT_EQ(db.execAndGet("PRAGMA integrity_check").getString(), "ok");
        EXPECT_LE(db.execAndGet("SELECT count(*) FROM TblResults").getInt(), 1);
        EXPECT_EQ(db.execAndGet("SELECT count(*) FROM TblNodeInfo").getInt(), 1);
    }
    CheckKind(project, known.basins, last == kAddOverland, lastName,
              BasinRow{"", "", "", "", "3", "Lawn", "0.4", "0.02", "150", "False",
                       "Grass, Dense grass", "", ""});
    CheckKind(project, known.surfaces, last == kAddShallow, lastName,
              SurfaceRow{"", "", "", "", "0.02", "500", "False", "", "Paved", ""});
    CheckKind(project, known.channels, last == kAddChannel, lastName,
              ChannelRow{"", "", "", "", "10", "8", "0.005", "1000", "Concrete Channel", "",
                         "False", "", ""});
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

TEST(CrashSafety, KilledAddsAndSolvesLeaveASoundProjectWithEveryElement) {
    const unsigned seed = Seed();
    SCOPED_TRACE("seed " + std::to_string(seed) + " (TORRENTA_CRASH_SEED=" + std::to_string(seed) +
                 " repeats this run)");
    std::mt19937 random(seed);
    test::TestFolder folder;
    const auto cli = [&](const std::vector<std::string>& args) {
        return test::RunProgram(TORRENTA_CLI, args);
    };

    std::string project;
    KnownRows known;
    double durations[kCommandCount] = {};
    int killed = 0;
    for (int run = 0; run < kRuns; ++run) {
        if (run % kRunsPerProject == 0) {
            project = folder.File("crash" + std::to_string(run / kRunsPerProject) + ".rmt");
            known = {};
            const ProcessOutcome created =
                cli({"--app-folder=" + folder.AppFolder(), "new", project, "--node=Outfall"});
            ASSERT_EQ(created.code, kExitDone) << created.err;
            // Each command runs whole a few times first: the rows it adds are
            // what later kills must not lose, and its time spans the kill moments.
            const int wholeRuns = run == 0 ? 3 : 1;
            for (int command = 0; command < kCommandCount; ++command) {
                std::vector<double> seconds;
                for (int i = 0; i < wholeRuns; ++i) {
                    const auto started = Clock::now();
                    const ProcessOutcome whole =
                        cli(Arguments(static_cast<Command>(command), folder.AppFolder(), project,
                                      "Whole " + std::to_string(i)));
                    seconds.push_back(
                        std::chrono::duration<double>(Clock::now() - started).count());
                    ASSERT_EQ(whole.code, kExitDone) << whole.err;
                    CheckProject(project, known, static_cast<Command>(command),
                                 "Whole " + std::to_string(i));
                }
                if (run == 0) {
                    durations[command] = std::min(Median(seconds), 0.5);
                }
            }
        }

        const auto command = static_cast<Command>(random() % kCommandCount);
        const std::string name = "Killed " + std::to_string(run);
        SCOPED_TRACE("run " + std::to_string(run) + ": " + kCommandNames[command]);
        std::uniform_real_distribution<double> moment(0.0, durations[command] * 1.1);
        const auto delay = std::chrono::duration<double>(moment(random));
        const test::StartedProcess started =
            test::StartProgram(TORRENTA_CLI, Arguments(command, folder.AppFolder(), project, name));
        std::this_thread::sleep_for(delay);
        kill(started.pid, SIGKILL);
        const ProcessOutcome outcome = test::FinishProgram(started);
        if (!outcome.exited) {
            EXPECT_EQ(outcome.code, SIGKILL);
            ++killed;
        } else {
            EXPECT_EQ(outcome.code, kExitDone) << outcome.err;
        }
        CheckProject(project, known, command, name);
        if (HasFailure()) {
            break;
        }
    }
    // Most kills must land while the program runs, or nothing was proven.
    EXPECT_GT(killed, kRuns / 3);

    // The program goes on working on the file the last kill left behind.
    const ProcessOutcome solved = cli({"--app-folder=" + folder.AppFolder(), "solve", project});
    EXPECT_EQ(solved.code, kExitDone) << solved.err;
    const ProcessOutcome listed = cli({"list", project});
    EXPECT_EQ(listed.code, kExitDone) << listed.err;
    EXPECT_EQ(static_cast<std::size_t>(std::count(listed.out.begin(), listed.out.end(), '\n')),
              known.basins.size() + known.surfaces.size() + known.channels.size());
}

}  // namespace
}  // namespace torrenta
