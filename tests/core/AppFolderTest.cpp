#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "BadInputSupport.h"
#include "TestFolder.h"
#include "store/AppFolder.h"

namespace fs = std::filesystem;
using namespace torrenta;

namespace {

void Write(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

}  // namespace

TEST(AppFolder, ExplicitInstallPathWinsEvenWhenNotWritable) {
    test::TestFolder folder;
    EXPECT_EQ(ChooseAppFolder("/nonexistent/squallbox", folder.AppFolder(), folder.File("user")),
              "/nonexistent/squallbox");
    EXPECT_FALSE(fs::exists(folder.File("user")));
}

TEST(AppFolder, WritableSharedFolderIsUsedAsItIs) {
    test::TestFolder folder;
    EXPECT_EQ(ChooseAppFolder("", folder.AppFolder(), folder.File("user")), folder.AppFolder());
    EXPECT_FALSE(fs::exists(folder.File("user")));
}

TEST(AppFolder, MissingSharedFolderIsNamedNotReplaced) {
    test::TestFolder folder;
    const std::string bin = folder.File("bin");
    fs::create_directories(bin);
    EXPECT_EQ(ChooseAppFolder("", bin, folder.File("user")),
              (fs::path(folder.AppFolder()) / "share" / "torrenta").string());
}

TEST(AppFolder, SeedingCopiesOnlyWhatTheUserFolderLacks) {
    test::TestFolder folder;
    const fs::path user = fs::path(folder.File("home")) / "Quillmoor" / "Torrenta";
    ASSERT_TRUE(SeedUserAppFolder(folder.AppFolder(), user.string()));
    EXPECT_EQ(test::ReadFileBytes(user / "empty.mdb"),
              test::ReadFileBytes(fs::path(folder.AppFolder()) / "empty.mdb"));
    EXPECT_EQ(test::ReadFileBytes(user / "intensity.mdb"),
              test::ReadFileBytes(fs::path(folder.AppFolder()) / "intensity.mdb"));

    // The user's own tables survive a later start.
    Write(user / "intensity.mdb", "edited by the user");
    ASSERT_TRUE(SeedUserAppFolder(folder.AppFolder(), user.string()));
    EXPECT_EQ(test::ReadFileBytes(user / "intensity.mdb"), "edited by the user");
    EXPECT_FALSE(fs::exists(user / "intensity.mdb.partial"));
}

TEST(AppFolder, ReadOnlySharedFolderSendsTheUserToTheirOwn) {
    test::TestFolder folder;
    const fs::path shared = fs::path(folder.File("share")) / "torrenta";
    fs::create_directories(shared);
    for (const char* name : {"empty.mdb", "intensity.mdb"}) {
        fs::copy_file(fs::path(folder.AppFolder()) / name, shared / name);
    }
    const std::string bin = folder.File("bin");
    fs::create_directories(bin);
    const std::string user = folder.File("user");
    // Under root, nobody stands in for the engineer, for whom the installed
    // folder is read-only.
    if (test::RunningAsRoot() && !test::GiveToNobody(folder.AppFolder())) {
        GTEST_SKIP() << "cannot hand the test folder to an ordinary user";
    }
    fs::permissions(shared, fs::perms::owner_read | fs::perms::owner_exec);
    {
        const test::ActingAsOrdinaryUser engineer;
        if (test::RunningAsRoot() && !engineer.Active()) {
            fs::permissions(shared, fs::perms::owner_all);
            GTEST_SKIP() << "cannot act as an ordinary user";
        }
        EXPECT_EQ(ChooseAppFolder("", bin, user), user);
        EXPECT_TRUE(fs::exists(fs::path(user) / "intensity.mdb"));
        EXPECT_TRUE(fs::exists(fs::path(user) / "empty.mdb"));
    }
    fs::permissions(shared, fs::perms::owner_all);
}

TEST(AppFolder, UserFolderFollowsTheXdgDataHome) {
    const char* savedData = std::getenv("XDG_DATA_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string data = savedData != nullptr ? savedData : "";
    const std::string home = savedHome != nullptr ? savedHome : "";
    ::setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(UserAppFolder(), "/data/home/Quillmoor/Torrenta");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/engineer", 1);
    EXPECT_EQ(UserAppFolder(), "/home/engineer/.local/share/Quillmoor/Torrenta");
    if (savedData != nullptr) {
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    }
    ::setenv("HOME", home.c_str(), 1);
}
