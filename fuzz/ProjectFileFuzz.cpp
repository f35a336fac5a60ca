// The input as a project file: Open, and when Open accepts it, everything the
// program reads from a project (setup, node, the three element tables, icons,
// results), Solve with the report in both writers, and Close. The core may
// refuse the file with its typed errors (or SQLiteCpp's exceptions); it must not
// crash, trip a sanitizer, throw anything else, or change the intensity
// database beside it.
#include <SQLiteCpp/Exception.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <typeinfo>

#include "Errors.h"
#include "FuzzCheck.h"
#include "network/NetworkRows.h"
#include "report/PlainTextWriter.h"
#include "report/ReportComposer.h"
#include "report/RtfWriter.h"
#include "store/ElementRows.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"

namespace fs = std::filesystem;

namespace torrenta::fuzz {
namespace {

struct Workspace {
    fs::path folder;
    std::string appFolder;
    std::string project;
    std::string intensityBytes;
};

Workspace* workspace = nullptr;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void RemoveWorkspace() {
    if (workspace != nullptr) {
        std::error_code ec;
        fs::remove_all(workspace->folder, ec);
    }
}

// A private application folder: the fuzzed project may name any intensity
// table, and the databases of the build must stay untouched whatever happens.
void MakeWorkspace() {
    std::string pattern = (fs::temp_directory_path() / "torrenta-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        Fail("cannot make a temporary folder", pattern);
    }
    workspace = new Workspace{pattern, (fs::path(pattern) / "app").string(),
                              (fs::path(pattern) / "project.rmt").string(), ""};
    std::atexit(RemoveWorkspace);
    fs::create_directories(workspace->appFolder);
    for (const char* name : {"empty.mdb", "intensity.mdb"}) {
        fs::copy_file(fs::path(TORRENTA_FUZZ_APP_FOLDER) / name,
                      fs::path(workspace->appFolder) / name);
    }
    workspace->intensityBytes = ReadBytes(fs::path(workspace->appFolder) / "intensity.mdb");
}

// Runs one step; the typed refusals are expected answers to a damaged file.
template <class Step>
bool Try(const char* name, Step&& step) {
    try {
        step();
        return true;
    } catch (const TorrentaError&) {
    } catch (const SQLite::Exception&) {
    } catch (const std::exception& e) {
        Fail(std::string(name) + " threw an untyped exception",
             std::string(typeid(e).name()) + ": " + e.what());
    }
    return false;
}

void ReadEverything(const std::string& project) {
    std::string table = "Atlanta";
    Try("ReadProjectInfo", [&] { ReadProjectInfo(project); });
    Try("ReadNode", [&] {
        if (const auto node = ReadNode(project)) {
            table = node->IntensityTable;
        }
    });
    Try("ReadLiveElements<BasinRow>", [&] { ReadLiveElements<BasinRow>(project); });
    Try("ReadLiveElements<SurfaceRow>", [&] { ReadLiveElements<SurfaceRow>(project); });
    Try("ReadLiveElements<ChannelRow>", [&] { ReadLiveElements<ChannelRow>(project); });
    Try("ReadAllElements<BasinRow>", [&] { ReadAllElements<BasinRow>(project); });
    Try("ReadAllElements<SurfaceRow>", [&] { ReadAllElements<SurfaceRow>(project); });
    Try("ReadAllElements<ChannelRow>", [&] { ReadAllElements<ChannelRow>(project); });
    for (const auto kind : {ElementKind::Overland, ElementKind::Shallow, ElementKind::Channel}) {
        Try("ReadIconRows", [&] {
            for (const auto& icon : ReadIconRows(project, kind)) {
                ReadElementName(project, kind, icon.tag);
            }
        });
        Try("NextElementTag",
            [&] { NextElementTag(project, kind, CountElementRows(project, kind) + 1); });
    }
    Try("ReadResults", [&] { ReadResults(project); });
    Try("Solve", [&] {
        const NetworkFlags flags = SolveNetwork(project);
        if (flags.Any()) {
            const ComposedReport report =
                ComposeReport({project, workspace->appFolder, table, flags});
            WriteRtf(report.document);
            WritePlainText(report.document);
        }
    });
    Try("CloseProject", [&] { CloseProject(project); });
}

void Check(const std::uint8_t* data, std::size_t size) {
    const std::string& project = workspace->project;
    for (const char* leftover : {"", "-journal", "-wal", "-shm"}) {
        std::error_code ec;
        fs::remove(project + leftover, ec);
    }
    {
        std::ofstream out(project, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    if (Try("OpenProject", [&] { OpenProject(project); })) {
        ReadEverything(project);
    }
    Require(
        ReadBytes(fs::path(workspace->appFolder) / "intensity.mdb") == workspace->intensityBytes,
        "the intensity database is left as it was", [] { return std::string(); });
}

}  // namespace
}  // namespace torrenta::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    torrenta::fuzz::MakeWorkspace();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    torrenta::fuzz::Check(data, size);
    return 0;
}
