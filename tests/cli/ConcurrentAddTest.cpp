#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "TestFolder.h"
#include "network/IconPlacement.h"
#include "store/ElementRows.h"

// Many torrenta-cli adds started at once on one project, as a script running
// jobs in parallel would: they take turns, so the limit of 20 holds and every
// element gets a tag of its own. Nothing here is timed; the processes only
// overlap.
namespace torrenta {
namespace {

using test::ProcessOutcome;

constexpr int kAdds = 25;
constexpr int kLimit = 20;

TEST(ConcurrentAdds, TwentyFiveAddsAtOnceLeaveTwentyElementsWithTheirOwnTags) {
    test::TestFolder folder;
    const std::string project = folder.File("busy.rmt");
    const ProcessOutcome created = test::RunProgram(
        TORRENTA_CLI, {"--app-folder=" + folder.AppFolder(), "new", project, "--node=Outfall"});
    ASSERT_EQ(created.code, kExitDone) << created.err;

    std::vector<test::StartedProcess> started;
    for (int i = 0; i < kAdds; ++i) {
        started.push_back(test::StartProgram(
            TORRENTA_CLI, {"--app-folder=" + folder.AppFolder(), "add", "overland", project,
                           "--name=Lot " + std::to_string(i), "--area=3", "--slope=0.02",
                           "--land-use=Lawn", "--c=0.4", "--length=150", "--n=0.24"}));
    }
    std::multiset<std::string> printedTags;
    int refused = 0;
    for (const auto& process : started) {
        const ProcessOutcome outcome = test::FinishProgram(process);
        ASSERT_TRUE(outcome.exited) << "ended by signal " << outcome.code;
        if (outcome.code == kExitDone) {
            printedTags.insert(outcome.out.substr(0, outcome.out.find('\n')));
        } else {
            EXPECT_EQ(outcome.code, kExitInvalidInput) << outcome.err;
            EXPECT_EQ(outcome.err, "torrenta-cli: Maximum 20 basins allowed\n");
            ++refused;
        }
    }
    EXPECT_EQ(refused, kAdds - kLimit);

    // Each add counted the rows before it inside its transaction: the tags
    // and positions are those of 20 adds run one after the other.
    std::multiset<std::string> expectedTags;
    std::set<std::string> expectedLefts;
    std::vector<IconBox> taken = {NodeExtent({5040, 5160})};
    for (int index = 1; index <= kLimit; ++index) {
        expectedTags.insert("Basin" + std::to_string(index));
        // Each add is its own process, its cursor fresh.
        const IconPosition spot = IconPlacement(ElementKind::Overland).NextFree(index, taken);
        taken.push_back(IconExtent(ElementKind::Overland, spot));
        expectedLefts.insert(std::to_string(spot.left) + "," + std::to_string(spot.top));
    }
    const std::vector<BasinRow> live = ReadLiveElements<BasinRow>(project);
    std::multiset<std::string> storedTags;
    std::set<std::string> storedLefts;
    for (const BasinRow& row : live) {
        storedTags.insert(row.BasinTag);
        storedLefts.insert(row.BasinX + "," + row.BasinY);
    }
    EXPECT_EQ(live.size(), static_cast<std::size_t>(kLimit));
    EXPECT_EQ(ReadAllElements<BasinRow>(project).size(), live.size());
    EXPECT_EQ(storedTags, expectedTags);
    EXPECT_EQ(printedTags, expectedTags);
    EXPECT_EQ(storedLefts, expectedLefts);
    EXPECT_EQ(SQLite::Database(project).execAndGet("PRAGMA integrity_check").getString(), "ok");
}

// Solves and detention stores started at once on one project wait their turn
// for the write lock: every one succeeds.
TEST(ConcurrentAdds, TenWritingRunsAtOnceAllSucceed) {
    test::TestFolder folder;
    const std::string project = folder.File("busy.rmt");
    const std::string app = "--app-folder=" + folder.AppFolder();
    ASSERT_EQ(test::RunProgram(TORRENTA_CLI, {app, "new", project, "--node=Outfall"}).code,
              kExitDone);
    ASSERT_EQ(test::RunProgram(TORRENTA_CLI, {app, "add", "overland", project, "--name=Lot",
                                              "--area=3", "--slope=0.02", "--land-use=Lawn",
                                              "--c=0.4", "--length=150", "--n=0.24"})
                  .code,
              kExitDone);
    std::vector<test::StartedProcess> started;
    for (int i = 0; i < 10; ++i) {
        started.push_back(test::StartProgram(
            TORRENTA_CLI, i % 2 == 0 ? std::vector<std::string>{app, "solve", project, "--json"}
                                     : std::vector<std::string>{app, "detention", project,
                                                                "--release=1", "--store"}));
    }
    for (const auto& process : started) {
        const ProcessOutcome outcome = test::FinishProgram(process);
        ASSERT_TRUE(outcome.exited);
        EXPECT_EQ(outcome.code, kExitDone) << outcome.err;
    }
}

}  // namespace
}  // namespace torrenta
