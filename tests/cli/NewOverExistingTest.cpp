#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "TestFolder.h"
#include "store/ElementRows.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"

// torrenta-cli new aimed at a file that is already there: a slip of the
// keyboard must not cost the file. It is refused and stays byte for byte
// unless --force asks for it to be replaced, and a read-only file is never
// replaced.
namespace torrenta {
namespace {

using test::ProcessOutcome;

enum class Existing { Nothing, ProjectWithElements, TextFile };

struct NewSlip {
    const char* label;
    Existing existing;
    bool readOnly;
    std::vector<std::string> options;  // after "new TARGET --node=Outfall"
    int code;
    std::string message;  // "" for success; TARGET stands for the target's path
    bool unchanged;       // the target keeps its bytes; otherwise it is a fresh project
};

std::string WithTarget(std::string text, const std::string& target) {
    const std::string placeholder = "TARGET";
    for (auto at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + target.size())) {
        text.replace(at, placeholder.size(), target);
    }
    return text;
}

TEST(CliNewOverExisting, AnExistingFileIsKeptUnlessForceReplacesIt) {
    const std::string refused =
        "torrenta-cli: \"TARGET\" already exists; add --force to replace it.\n";
    const std::string readOnly =
        "torrenta-cli: Cannot create \"TARGET\": a read-only file of that name is in the way.\n";
    const NewSlip slips[] = {
        {"no file there", Existing::Nothing, false, {}, kExitDone, "", false},
        {"a project with elements",
         Existing::ProjectWithElements,
         false,
         {},
         kExitInvalidInput,
         refused,
         true},
        {"an unrelated text file", Existing::TextFile, false, {}, kExitInvalidInput, refused, true},
        {"a project with elements, --force",
         Existing::ProjectWithElements,
         false,
         {"--force"},
         kExitDone,
         "",
         false},
        {"an unrelated text file, --force",
         Existing::TextFile,
         false,
         {"--force"},
         kExitDone,
         "",
         false},
        {"a read-only project",
         Existing::ProjectWithElements,
         true,
         {},
         kExitProjectFile,
         readOnly,
         true},
        {"a read-only project, --force",
         Existing::ProjectWithElements,
         true,
         {"--force"},
         kExitProjectFile,
         readOnly,
         true},
    };
    for (const NewSlip& slip : slips) {
        SCOPED_TRACE(slip.label);
        test::TestFolder folder;
        const std::string target = folder.File("site.rmt");
        if (slip.existing == Existing::ProjectWithElements) {
            test::MakeSampleProject(folder.AppFolder(), target);
        } else if (slip.existing == Existing::TextFile) {
            test::WriteFileBytes(target, "Survey notes, lot 7: keep.\n");
        }
        if (slip.readOnly && !test::MakeReadOnly(target)) {
            GTEST_SKIP() << "cannot make a file read-only for an ordinary user here";
        }
        const auto before = test::FolderFingerprint(folder.AppFolder());
        const std::string bytesBefore = test::ReadFileBytes(target);

        std::vector<std::string> args = {"--app-folder=" + folder.AppFolder(), "new", target,
                                         "--node=Outfall"};
        args.insert(args.end(), slip.options.begin(), slip.options.end());
        const ProcessOutcome outcome = test::RunProgram(TORRENTA_CLI, args, slip.readOnly);
        if (slip.readOnly && outcome.exited && outcome.code == 126) {
            GTEST_SKIP() << "running as root and cannot start a program as the user nobody";
        }
        EXPECT_EQ(outcome.code, slip.code) << outcome.err;
        EXPECT_EQ(outcome.err, WithTarget(slip.message, target));
        EXPECT_EQ(outcome.out, "");

        const auto after = test::FolderFingerprint(folder.AppFolder());
        if (slip.unchanged) {
            EXPECT_EQ(test::ReadFileBytes(target), bytesBefore);
            EXPECT_EQ(before, after) << test::FingerprintChanges(before, after);
            continue;
        }
        // A fresh project set up by this command, and nothing else left beside it.
        EXPECT_NO_THROW(OpenProject(target));
        ASSERT_TRUE(ReadNode(target).has_value());
        EXPECT_EQ(ReadNode(target)->NodeName, "Outfall");
        EXPECT_TRUE(ReadAllElements<BasinRow>(target).empty());
        EXPECT_TRUE(ReadAllElements<SurfaceRow>(target).empty());
        EXPECT_TRUE(ReadAllElements<ChannelRow>(target).empty());
        for (const auto& [name, print] : after) {
            EXPECT_TRUE(name == "site.rmt" || before.count(name)) << "left behind: " << name;
        }
    }
}

}  // namespace
}  // namespace torrenta
