#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "TestFolder.h"
#include "store/ElementRows.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"

// torrenta-cli new aimed at a file that is already there is refused with the
// other slips (SlipsTest.cpp); --force asks for the file to be replaced, and a
// read-only file is never replaced.
namespace torrenta {
namespace {

using test::ProcessOutcome;

enum class Existing { ProjectWithElements, TextFile };
enum class Refusal { None, Exists, ReadOnly };

struct NewSlip {
    const char* label;
    Existing existing;
    bool readOnly;
    bool force;
    int code;
    Refusal refusal;  // None: the target is replaced by a fresh project
};

TEST(CliNewOverExisting, AnExistingFileIsKeptUnlessForceReplacesIt) {
    const NewSlip slips[] = {
        {"a project with elements, --force", Existing::ProjectWithElements, false, true, kExitDone,
         Refusal::None},
        {"an unrelated text file, --force", Existing::TextFile, false, true, kExitDone,
         Refusal::None},
        {"a read-only project", Existing::ProjectWithElements, true, false, kExitProjectFile,
         Refusal::ReadOnly},
        {"a read-only project, --force", Existing::ProjectWithElements, true, true,
         kExitProjectFile, Refusal::ReadOnly},
    };
    for (const NewSlip& slip : slips) {
        SCOPED_TRACE(slip.label);
        test::TestFolder folder;
        const std::string target = folder.File("site.rmt");
        if (slip.existing == Existing::ProjectWithElements) {
            test::MakeSampleProject(folder.AppFolder(), target);
        } else {
            test::WriteFileBytes(target, "Survey notes, lot 7: keep.\n");
        }
        if (slip.readOnly && !test::MakeReadOnly(target)) {
            GTEST_SKIP() << "cannot make a file read-only for an ordinary user here";
        }
        const auto before = test::FolderFingerprint(folder.AppFolder());
        const std::string bytesBefore = test::ReadFileBytes(target);

        std::vector<std::string> args = {"--app-folder=" + folder.AppFolder(), "new", target,
                                         "--node=Outfall"};
        if (slip.force) {
            args.push_back("--force");
        }
        const ProcessOutcome outcome = test::RunProgram(TORRENTA_CLI, args, slip.readOnly);
        if (slip.readOnly && outcome.exited && outcome.code == 126) {
            GTEST_SKIP() << "running as root and cannot start a program as the user nobody";
        }
        EXPECT_EQ(outcome.code, slip.code) << outcome.err;
        const std::string messages[] = {
            "", "torrenta-cli: \"" + target + "\" already exists; add --force to replace it.\n",
            "torrenta-cli: Cannot create \"" + target +
                "\": a read-only file of that name is in the way.\n"};
        EXPECT_EQ(outcome.err, messages[static_cast<int>(slip.refusal)]);

        const auto after = test::FolderFingerprint(folder.AppFolder());
        if (slip.refusal != Refusal::None) {
            EXPECT_EQ(test::ReadFileBytes(target), bytesBefore);
            EXPECT_EQ(before, after) << test::FingerprintChanges(before, after);
            continue;
        }
        // A fresh project set up by this command, and nothing left beside it.
        EXPECT_NO_THROW(OpenProject(target));
        EXPECT_EQ(ReadNode(target).value_or(NodeRow{}).NodeName, "Outfall");
        EXPECT_TRUE(ReadAllElements<BasinRow>(target).empty());
        EXPECT_TRUE(ReadAllElements<SurfaceRow>(target).empty());
        EXPECT_TRUE(ReadAllElements<ChannelRow>(target).empty());
        EXPECT_EQ(after.size(), before.size()) << test::FingerprintChanges(before, after);
    }
}

}  // namespace
}  // namespace torrenta
