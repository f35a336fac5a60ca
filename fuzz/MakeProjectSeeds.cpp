// Makes the seed projects of fuzz_project_file through the core, the way the
// program itself fills a project, then rewrites each with 512-byte pages (the
// smallest SQLite allows) so a seed is a few kilobytes of mostly structure.
// Usage: torrenta-fuzz-seeds APP_FOLDER OUT_FOLDER
#include <SQLiteCpp/Database.h>

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "SampleRows.h"
#include "editing/ElementEditing.h"
#include "report/ReportComposer.h"
#include "store/ElementRows.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"

namespace fs = std::filesystem;

namespace torrenta {
namespace {

constexpr const char* kTable = "Atlanta";

void SetUp(const std::string& appFolder, const std::string& project) {
    NewProject(appFolder, project);
    const ProjectInfoRow info{"Maple Ridge {Phase 2}",
                              "A. Rivera, P.E.",
                              "J. O'Kafor",
                              "12/8/2026",
                              "MR-2026\\014",
                              kTable};
    SaveProjectSetup(project, info, "Outlet \"Pond\"", kTable);
}

void AddNetwork(const std::string& appFolder, const std::string& project) {
    BasinRow basin = test::SampleBasin();
    CompleteForSave(basin, appFolder, kTable);
    InsertElementRow(project, basin);
    SurfaceRow surface = test::SampleSurface("Surf1");
    CompleteForSave(surface);
    InsertElementRow(project, surface);
    ChannelRow channel = test::SampleChannel();
    CompleteForSave(channel);
    InsertElementRow(project, channel);
}

void Solve(const std::string& appFolder, const std::string& project) {
    ComposeReport({project, appFolder, kTable, SolveNetwork(project)});
}

void Shrink(const std::string& project) {
    SQLite::Database db(project, SQLite::OPEN_READWRITE);
    db.exec("PRAGMA page_size = 512");
    db.exec("VACUUM");
}

}  // namespace
}  // namespace torrenta

int main(int argc, char** argv) {
    using namespace torrenta;
    if (argc != 3) {
        std::cerr << "usage: torrenta-fuzz-seeds APP_FOLDER OUT_FOLDER\n";
        return 2;
    }
    const std::string appFolder = argv[1];
    const fs::path out = argv[2];
    try {
        fs::create_directories(out);
        const auto seed = [&](const char* name) { return (out / name).string(); };

        NewProject(appFolder, seed("template.rmt"));

        SetUp(appFolder, seed("setup.rmt"));

        SetUp(appFolder, seed("network.rmt"));
        AddNetwork(appFolder, seed("network.rmt"));
        Solve(appFolder, seed("network.rmt"));

        // Deleted rows beside live ones, and a second element of a kind.
        SetUp(appFolder, seed("deleted.rmt"));
        AddNetwork(appFolder, seed("deleted.rmt"));
        SurfaceRow paved = test::SampleSurface("Surf2");
        paved.SurfName = "Driveway";
        paved.SurfSlope = "0.03";
        paved.SurfLength = "120";
        paved.SurfType = "Paved";
        CompleteForSave(paved);
        InsertElementRow(seed("deleted.rmt"), paved);
        SoftDeleteElement(seed("deleted.rmt"), ElementKind::Channel, "Channel1");
        Solve(appFolder, seed("deleted.rmt"));

        for (const char* name : {"template.rmt", "setup.rmt", "network.rmt", "deleted.rmt"}) {
            Shrink(seed(name));
        }
    } catch (const std::exception& e) {
        std::cerr << "torrenta-fuzz-seeds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
