#include "CliApp.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

#include "Errors.h"
#include "intensity/IntensityDatabase.h"
#include "store/AppFolder.h"

namespace torrenta {
namespace {

constexpr const char* kProgram = "torrenta-cli";

void PrintTables(const std::string& appFolder, std::ostream& out) {
    for (const auto& name : ListIntensityTables(appFolder)) {
        out << name << "\n";
    }
}

// The grid as the table editor lays it out: one line per duration, one column
// per return period, cells as stored.
void PrintTable(const std::string& appFolder, const std::string& name, std::ostream& out) {
    static constexpr const char* kHeadings[] = {"1 yr",   "2 yrs",  "5 yrs",  "10 yrs",
                                                "25 yrs", "50 yrs", "100 yrs"};
    const IntensityGrid grid = ReadIntensityGrid(appFolder, name);
    std::size_t width = 7;
    for (const auto& row : grid) {
        for (const auto& cell : row) {
            width = std::max(width, cell.size());
        }
    }
    auto pad = [&](const std::string& text, std::size_t w) {
        return std::string(w > text.size() ? w - text.size() : 0, ' ') + text;
    };
    out << "Intensity (in/hr): " << name << "\n";
    out << std::string(8, ' ');
    for (const char* heading : kHeadings) {
        out << "  " << pad(heading, width);
    }
    out << "\n";
    for (std::size_t i = 0; i < grid.size(); ++i) {
        const std::string label(kDurationLabels[i]);
        out << label << std::string(8 - label.size(), ' ');
        for (const auto& cell : grid[i]) {
            out << "  " << pad(cell, width);
        }
        out << "\n";
    }
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const std::string& executableFolder,
           std::ostream& out, std::ostream& err) {
    CLI::App app("Torrenta: storm-water peak flows by the rational method.", kProgram);
    app.require_subcommand(1);
    app.fallthrough();
    std::string appFolderOption;
    app.add_option("--app-folder", appFolderOption,
                   "Folder holding empty.mdb and intensity.mdb (default: beside the program, "
                   "then ../share/torrenta)");

    auto* tables = app.add_subcommand("tables", "List the intensity tables, one name per line");
    auto* table = app.add_subcommand("table", "Print one intensity table");
    std::string tableName;
    table->add_option("NAME", tableName, "Intensity table name")->required();

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kExitDone : kExitUsage;
    }

    const std::string appFolder = ResolveAppFolder(appFolderOption, executableFolder);
    try {
        if (*tables) {
            PrintTables(appFolder, out);
        } else if (*table) {
            PrintTable(appFolder, tableName, out);
        }
        return kExitDone;
    } catch (const IntensityError& e) {
        err << kProgram << ": " << e.what() << "\n";
        return kExitIntensity;
    } catch (const InputError& e) {
        err << kProgram << ": " << e.what() << "\n";
        return kExitInvalidInput;
    } catch (const TorrentaError& e) {
        err << kProgram << ": " << e.what() << "\n";
        return kExitProjectFile;
    } catch (const std::exception& e) {
        err << kProgram << ": " << e.what() << "\n";
        return kExitProjectFile;
    }
}

}  // namespace torrenta
