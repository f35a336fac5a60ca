#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "TestFolder.h"

namespace fs = std::filesystem;

namespace torrenta {
namespace {

using test::ProcessOutcome;
using test::TestFolder;

// What a name stands for on disk: a link's target, a node's kind, a file's
// bytes. Two equal snapshots mean nothing was replaced or changed.
std::string Snapshot(const fs::path& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        return "missing";
    }
    if (S_ISLNK(info.st_mode)) {
        return "link to " + fs::read_symlink(path).string();
    }
    if (S_ISFIFO(info.st_mode)) {
        return "FIFO";
    }
    if (S_ISCHR(info.st_mode)) {
        return "character device";
    }
    if (S_ISDIR(info.st_mode)) {
        return "folder";
    }
    return "file: " + test::ReadFileBytes(path);
}

std::map<std::string, std::string> FolderSnapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        entries[entry.path().lexically_relative(folder).string()] = Snapshot(entry.path());
    }
    return entries;
}

std::string Substituted(std::string text, const std::string& folder) {
    for (std::size_t at = text.find("APP"); at != std::string::npos; at = text.find("APP", at)) {
        text.replace(at, 3, folder);
        at += folder.size();
    }
    return text;
}

// Collects what is written into a FIFO while the program runs: opened
// without waiting, so a program that replaces the FIFO instead of writing
// into it leaves the test waiting for nothing.
class FifoReader {
  public:
    explicit FifoReader(const fs::path& fifo)
        : fd_(open(fifo.c_str(), O_RDONLY | O_NONBLOCK)), thread_([this] { Read(); }) {}
    ~FifoReader() { Finish(); }
    FifoReader(const FifoReader&) = delete;
    FifoReader& operator=(const FifoReader&) = delete;

    std::string Finish() {
        programDone_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (fd_ >= 0) {
            close(fd_);
            fd_ = -1;
        }
        return bytes_;
    }

  private:
    void Read() {
        char chunk[4096];
        while (fd_ >= 0) {
            const bool lastLook = programDone_;
            const ssize_t count = read(fd_, chunk, sizeof chunk);
            if (count > 0) {
                bytes_.append(chunk, static_cast<std::size_t>(count));
            } else if (lastLook) {
                return;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    }

    int fd_;
    std::atomic<bool> programDone_{false};
    std::string bytes_;
    std::thread thread_;
};

// A slip of the keyboard on the command line (a report aimed at the wrong
// file, a new project aimed at an existing one): the arguments, the exit code
// they must give, the name that must stand as it was (its bytes, or what it
// is: a link with its target, a FIFO, a device) and the name that must hold
// the report afterwards, if any ("STDOUT": the program's standard output).
// APP stands for the test folder, which holds the databases and the solved
// project site.rmt.
struct Slip {
    const char* label;
    std::function<bool(const TestFolder&)> arrange;  // false: the case cannot be made here
    std::vector<std::string> args;
    int code;
    std::string unchanged;
    std::string receives;
    std::string named = "";  // the name a refusal quotes, when not `unchanged`
};

bool Nothing(const TestFolder&) {
    return true;
}

std::function<bool(const TestFolder&)> Link(const std::string& name, const std::string& target) {
    return [name, target](const TestFolder& folder) {
        fs::create_symlink(target, folder.File(name));
        return true;
    };
}

std::function<bool(const TestFolder&)> OldReport(const std::string& name) {
    return [name](const TestFolder& folder) {
        fs::create_directories(fs::path(folder.File(name)).parent_path());
        test::WriteFileBytes(folder.File(name), "old report");
        return true;
    };
}

std::function<bool(const TestFolder&)> Both(std::function<bool(const TestFolder&)> first,
                                            std::function<bool(const TestFolder&)> second) {
    return [first, second](const TestFolder& folder) { return first(folder) && second(folder); };
}

const std::string kLatin1Pdf = "r\xE9port.pdf";
const std::string kLatin1Rtf = "\xC9t\xE9.rtf";

const std::vector<Slip>& Slips() {
    static const std::vector<Slip> slips = {
        {"the project as --rtf",
         Nothing,
         {"solve", "APP/site.rmt", "--rtf", "APP/site.rmt"},
         kExitInvalidInput,
         "APP/site.rmt",
         ""},
        {"the project as --pdf, by another path",
         Nothing,
         {"solve", "APP/site.rmt", "--pdf", "APP/./site.rmt"},
         kExitInvalidInput,
         "APP/site.rmt",
         "",
         "APP/./site.rmt"},
        {"the project through a symbolic link",
         Link("site-link.rmt", "site.rmt"),
         {"solve", "APP/site.rmt", "--rtf", "APP/site-link.rmt"},
         kExitInvalidInput,
         "APP/site.rmt",
         "",
         "APP/site-link.rmt"},
        {"the project through a hard link",
         [](const TestFolder& folder) {
             fs::create_hard_link(folder.File("site.rmt"), folder.File("site-copy.rmt"));
             return true;
         },
         {"solve", "APP/site.rmt", "--pdf", "APP/site-copy.rmt"},
         kExitInvalidInput,
         "APP/site.rmt",
         "",
         "APP/site-copy.rmt"},
        {"the application folder's intensity.mdb",
         Nothing,
         {"solve", "APP/site.rmt", "--rtf", "APP/intensity.mdb"},
         kExitInvalidInput,
         "APP/intensity.mdb",
         ""},
        {"the application folder's empty.mdb",
         Nothing,
         {"solve", "APP/site.rmt", "--pdf", "APP/empty.mdb"},
         kExitInvalidInput,
         "APP/empty.mdb",
         ""},
        {"another project",
         [](const TestFolder& folder) {
             folder.NewProjectFile("other.rmt");
             return true;
         },
         {"solve", "APP/site.rmt", "--rtf", "APP/other.rmt"},
         kExitInvalidInput,
         "APP/other.rmt",
         ""},
        {"a database of another program",
         [](const TestFolder& folder) {
             test::MakeDamagedProject(test::Damage::OtherProgram, folder.AppFolder(),
                                      folder.File("notes.db"));
             return true;
         },
         {"solve", "APP/site.rmt", "--pdf", "APP/notes.db"},
         kExitInvalidInput,
         "APP/notes.db",
         ""},
        {"a symbolic link to an older report",
         Both(OldReport("real.rtf"), Link("link.rtf", "real.rtf")),
         {"solve", "APP/site.rmt", "--rtf", "APP/link.rtf"},
         kExitDone,
         "APP/link.rtf",
         "APP/real.rtf"},
        {"a chain of links into another folder",
         Both(Both(OldReport("reports/real.pdf"), Link("first.pdf", "reports/real.pdf")),
              Link("second.pdf", "first.pdf")),
         {"solve", "APP/site.rmt", "--pdf", "APP/second.pdf"},
         kExitDone,
         "APP/second.pdf",
         "APP/reports/real.pdf"},
        {"a link to a report not written yet",
         Link("ahead.rtf", "later.rtf"),
         {"solve", "APP/site.rmt", "--rtf", "APP/ahead.rtf"},
         kExitDone,
         "APP/ahead.rtf",
         "APP/later.rtf"},
        {"a FIFO",
         [](const TestFolder& folder) { return mkfifo(folder.File("pipe").c_str(), 0600) == 0; },
         {"solve", "APP/site.rmt", "--rtf", "APP/pipe"},
         kExitDone,
         "APP/pipe",
         "APP/pipe"},
        {"a character device",
         [](const TestFolder& folder) {
             // Its own null device (root only), so no system node is at stake.
             return mknod(folder.File("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
         },
         {"solve", "APP/site.rmt", "--pdf", "APP/null"},
         kExitDone,
         "APP/null",
         ""},
        {"standard output through a link",
         Link("stdout.rtf", "/dev/stdout"),
         {"solve", "APP/site.rmt", "--rtf", "APP/stdout.rtf"},
         kExitDone,
         "APP/stdout.rtf",
         "STDOUT"},
        {"new over a project with elements",
         Nothing,
         {"new", "APP/site.rmt", "--node=Outfall"},
         kExitInvalidInput,
         "APP/site.rmt",
         ""},
        {"new over a file of another kind",
         OldReport("notes.txt"),
         {"new", "APP/notes.txt", "--node=Outfall"},
         kExitInvalidInput,
         "APP/notes.txt",
         ""},
        // Which databases new refuses is the core's; one row proves the wiring.
        {"new --force over the application folder's intensity.mdb",
         Nothing,
         {"new", "APP/intensity.mdb", "--node=Outfall", "--force"},
         kExitInvalidInput,
         "APP/intensity.mdb",
         ""},
        {"the project's journal as --rtf",
         Nothing,
         {"solve", "APP/site.rmt", "--rtf", "APP/site.rmt-journal"},
         kExitInvalidInput,
         "APP/site.rmt-journal",
         ""},
        {"one file for both reports",
         Nothing,
         {"solve", "APP/site.rmt", "--rtf", "APP/both", "--pdf", "APP/./both"},
         kExitUsage,
         "APP/both",
         "",
         "APP/./both"},
        {"a PDF name that is not UTF-8",
         Nothing,
         {"solve", "APP/site.rmt", "--pdf", "APP/" + kLatin1Pdf},
         kExitDone,
         "",
         "APP/" + kLatin1Pdf},
        {"an RTF name that is not UTF-8",
         Nothing,
         {"solve", "APP/site.rmt", "--rtf", "APP/" + kLatin1Rtf},
         kExitDone,
         "",
         "APP/" + kLatin1Rtf},
    };
    return slips;
}

// Each slip either leaves the named file as it was, with a message naming
// it, or writes the report where the name leads without replacing what it
// is; either way no other file of the folder appears or changes (the
// project's results row aside, which a solve rewrites).
TEST(Slips, EachSlipKeepsWhatItWouldHaveDestroyed) {
    for (const Slip& slip : Slips()) {
        SCOPED_TRACE(slip.label);
        TestFolder folder;
        const std::string app = folder.AppFolder();
        test::MakeSampleProject(app, folder.File("site.rmt"));
        if (!slip.arrange(folder)) {
            continue;
        }
        std::vector<std::string> args = {"--app-folder", app};
        for (const std::string& arg : slip.args) {
            args.push_back(Substituted(arg, app));
        }
        const std::string unchanged = Substituted(slip.unchanged, app);
        const std::string receives = Substituted(slip.receives, app);
        const std::string before = unchanged.empty() ? "" : Snapshot(unchanged);
        auto folderBefore = FolderSnapshot(app);

        std::unique_ptr<FifoReader> fifo;
        if (!receives.empty() && Snapshot(receives) == "FIFO") {
            fifo = std::make_unique<FifoReader>(receives);
        }
        const ProcessOutcome outcome = test::RunProgram(TORRENTA_CLI, args);
        const std::string fifoBytes = fifo ? fifo->Finish() : "";

        ASSERT_TRUE(outcome.exited);
        EXPECT_EQ(outcome.code, slip.code) << outcome.err;
        if (!unchanged.empty()) {
            const std::string after = Snapshot(unchanged);
            EXPECT_TRUE(after == before) << unchanged << " is now " << after.substr(0, 40);
        }
        if (slip.code != kExitDone) {
            const std::string named =
                Substituted(slip.named.empty() ? slip.unchanged : slip.named, app);
            EXPECT_NE(outcome.err.find('"' + named + '"'), std::string::npos) << outcome.err;
            EXPECT_EQ(outcome.out, "");
        }
        std::string report;
        if (receives == "STDOUT") {
            report = outcome.out;
        } else if (fifo) {
            report = fifoBytes;
        } else if (!receives.empty()) {
            report = test::ReadFileBytes(receives);
        }
        if (!receives.empty()) {
            const bool pdf = std::find(args.begin(), args.end(), "--pdf") != args.end();
            const std::string kind = pdf ? "%PDF" : "{\\rtf1";
            EXPECT_EQ(report.substr(0, kind.size()), kind);
        }

        auto folderAfter = FolderSnapshot(app);
        if (slip.code == kExitDone) {
            folderBefore.erase("site.rmt");
            folderAfter.erase("site.rmt");
            if (!receives.empty() && !fifo && receives != "STDOUT") {
                const std::string name = fs::path(receives).lexically_relative(app).string();
                folderBefore.erase(name);
                EXPECT_EQ(folderAfter.erase(name), 1u);
            }
        }
        for (const auto& [name, snapshot] : folderAfter) {
            EXPECT_EQ(folderBefore.count(name), 1u) << "a new file " << name;
        }
        EXPECT_TRUE(folderBefore == folderAfter);
    }
}

// A path option that reads or makes a file: a name that is no UTF-8 text.
struct NamedFile {
    const char* label;
    std::function<bool(const TestFolder&)> arrange;
    std::vector<std::string> args;  // APP stands for the test folder
    std::string made;               // the file the command makes, "" when it only reads
};

// Every option that takes a path uses the name's bytes as given: the command
// finds the file of that name, makes exactly that one, and no other.
TEST(Slips, EveryPathOptionTakesTheNameAsItsBytes) {
    const std::string project = "APP/\xC9tang.rmt";
    const std::string rainfall =
        "APP/pr\xE9"
        "cip.csv";
    const std::string coefficients = "APP/co\xEF.csv";
    const std::string appFolder = "APP/d\xE9p\xF4t";
    const auto copyOf = [](std::string source, std::string name) {
        return [source, name](const TestFolder& folder) {
            fs::copy_file(Substituted(source, folder.AppFolder()),
                          Substituted(name, folder.AppFolder()));
            return true;
        };
    };
    const std::vector<NamedFile> cases = {
        {"new PROJECT", Nothing, {"new", project, "--node=Outfall"}, project},
        {"add PROJECT",
         copyOf("APP/site.rmt", project),
         {"add", "shallow", project, "--name=S", "--length=500", "--slope=0.02"},
         ""},
        {"solve PROJECT", copyOf("APP/site.rmt", project), {"solve", project}, ""},
        {"import-noaa FILE",
         copyOf(std::string(TORRENTA_NOAA_FOLDER) + "/PF_Intensity_English_PDS_Bentonville_AR.csv",
                rainfall),
         {"import-noaa", rainfall, "--name=Bentonville"},
         ""},
        {"--coefficients",
         [coefficients](const TestFolder& folder) {
             test::WriteFileBytes(Substituted(coefficients, folder.AppFolder()),
                                  "1,120,0,1\n2,130,0,1\n5,140,0,1\n10,150,0,1\n25,160,0,1\n"
                                  "50,170,0,1\n100,180,0,1\n");
             return true;
         },
         {"table-from-equation", "--name=County", "--coefficients", coefficients},
         ""},
        {"--app-folder",
         [appFolder](const TestFolder& folder) {
             const fs::path copy = Substituted(appFolder, folder.AppFolder());
             fs::create_directory(copy);
             for (const char* database : {"empty.mdb", "intensity.mdb"}) {
                 fs::copy_file(folder.File(database), copy / database);
             }
             return true;
         },
         {"--app-folder", appFolder, "tables"},
         ""},
    };
    for (const NamedFile& c : cases) {
        SCOPED_TRACE(c.label);
        TestFolder folder;
        const std::string app = folder.AppFolder();
        test::MakeSampleProject(app, folder.File("site.rmt"));
        ASSERT_TRUE(c.arrange(folder));
        std::vector<std::string> args;
        if (c.args.front() != "--app-folder") {
            args = {"--app-folder", app};
        }
        for (const std::string& arg : c.args) {
            args.push_back(Substituted(arg, app));
        }
        auto before = FolderSnapshot(app);
        const ProcessOutcome outcome = test::RunProgram(TORRENTA_CLI, args);
        ASSERT_TRUE(outcome.exited);
        EXPECT_EQ(outcome.code, kExitDone) << outcome.err;
        auto after = FolderSnapshot(app);
        if (!c.made.empty()) {
            const std::string made =
                fs::path(Substituted(c.made, app)).lexically_relative(app).string();
            EXPECT_EQ(after.count(made), 1u) << "no file " << made;
            after.erase(made);
        }
        for (const auto& [name, snapshot] : after) {
            EXPECT_EQ(before.count(name), 1u) << "a new file " << name;
        }
    }
}

}  // namespace
}  // namespace torrenta
