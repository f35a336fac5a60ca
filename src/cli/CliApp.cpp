#include "CliApp.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ctime>
#include <ostream>

#include "Errors.h"
#include "ProjectCommands.h"
#include "RainfallCommands.h"
#include "hydraulics/Tables.h"
#include "intensity/IntensityDatabase.h"
#include "store/AppFolder.h"
#include "text/NumericKeyFilter.h"

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

// Today's date in the short form the setup dialog proposes (month/day/year).
std::string TodayShortDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_mon + 1) + "/" + std::to_string(local.tm_mday) + "/" +
           std::to_string(local.tm_year + 1900);
}

// Numbers on the command line take what a numeric box takes: digits and ".".
void RequireNumeric(const std::string& option, const std::string& value) {
    for (const char c : value) {
        if (NumericKeyFilter(static_cast<unsigned char>(c)) == 0) {
            throw InputError("The value \"" + value + "\" of " + option +
                             " is not a number: only digits and \".\" are accepted.");
        }
    }
}

struct NumericOption {
    const char* name;
    std::string* value;
};

void RequireNumeric(std::initializer_list<NumericOption> options) {
    for (const auto& option : options) {
        RequireNumeric(option.name, *option.value);
    }
}

// A list entry chosen by its text gives its n unless --n says otherwise; a
// description of the engineer's own needs its n.
template <class Entries>
void ResolveN(const Entries& entries, const std::string& description, std::string& n,
              const char* descriptionOption) {
    if (!n.empty() || description.empty()) {
        return;
    }
    for (const auto& entry : entries) {
        if (entry.text == description) {
            n = std::string(entry.n);
            return;
        }
    }
    throw InputError(std::string("\"") + description + "\" is not in the " + descriptionOption +
                     " list; give its Manning's n with --n.");
}

// "--name=" means an empty value, but the parser reads an empty attached value
// as no value at all and takes the next argument instead: "--project-name=
// --app-folder=X" would store "--app-folder=X" as the project name. Given as
// a separate empty argument, the value stays empty.
std::vector<std::string> SplitEmptyValues(const std::vector<std::string>& args) {
    std::vector<std::string> split;
    bool optionsEnded = false;
    for (const auto& arg : args) {
        optionsEnded = optionsEnded || arg == "--";
        if (!optionsEnded && arg.size() > 3 && arg.compare(0, 2, "--") == 0 && arg.back() == '=' &&
            arg.find('=') == arg.size() - 1) {
            split.push_back(arg.substr(0, arg.size() - 1));
            split.emplace_back();
        } else {
            split.push_back(arg);
        }
    }
    return split;
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

    NewProjectOptions newOptions;
    newOptions.intensityTable = std::string(kDefaultIntensityTable);
    newOptions.info.DesignDate = TodayShortDate();
    auto* create = app.add_subcommand("new", "Create a project and set it up");
    create->add_option("PROJECT", newOptions.projectPath, "Project file (.rmt)")->required();
    create->add_option("--node", newOptions.nodeName, "Name of the outlet node")->required();
    create->add_option("--table", newOptions.intensityTable, "Intensity table (default Atlanta)");
    create->add_option("--project-name", newOptions.info.ProjectName, "Project name");
    create->add_option("--job-number", newOptions.info.JobNumber, "Job number");
    create->add_option("--design-date", newOptions.info.DesignDate, "Design date (default today)");
    create->add_option("--engineer", newOptions.info.DesignEngineer, "Design engineer");
    create->add_option("--manager", newOptions.info.ProjectManager, "Project manager");

    std::string projectPath;
    auto* add = app.add_subcommand("add", "Add an element to a project");
    add->require_subcommand(1);

    BasinRow basin;
    auto* overland = add->add_subcommand("overland", "Add an overland flow area");
    overland->add_option("PROJECT", projectPath, "Project file")->required();
    overland->add_option("--name", basin.BasinName, "Name");
    overland->add_option("--area", basin.Area, "Area (ac)");
    overland->add_option("--slope", basin.Slope, "Slope (ft/ft)");
    overland->add_option("--land-use", basin.SoilType, "Land use");
    overland->add_option("--c", basin.CVal, "Runoff coefficient C");
    overland->add_option("--length", basin.TravelLength, "Travel length (ft)");
    overland->add_option("--surface", basin.BasinNType, "Sheet-flow surface description");
    overland->add_option("--n", basin.BasinN, "Manning's n for sheet flow");
    overland->add_option("--tc", basin.Tc, "Travel time (min); calculated when not given");

    SurfaceRow surface;
    surface.SurfType = "Unpaved";
    auto* shallow = add->add_subcommand("shallow", "Add a shallow concentrated flow reach");
    shallow->add_option("PROJECT", projectPath, "Project file")->required();
    shallow->add_option("--name", surface.SurfName, "Name");
    shallow->add_option("--length", surface.SurfLength, "Length (ft)");
    shallow->add_option("--slope", surface.SurfSlope, "Slope (ft/ft)");
    shallow->add_option("--type", surface.SurfType, "Paved or Unpaved")
        ->check(CLI::IsMember({"Paved", "Unpaved"}));

    ChannelRow channel;
    auto* channelCommand = add->add_subcommand("channel", "Add a channel reach");
    channelCommand->add_option("PROJECT", projectPath, "Project file")->required();
    channelCommand->add_option("--name", channel.ChannelName, "Name");
    channelCommand->add_option("--area", channel.ChannelArea, "Section area (sf)");
    channelCommand->add_option("--wp", channel.ChannelWP, "Wetted perimeter (ft)");
    channelCommand->add_option("--slope", channel.ChannelSlope, "Slope (ft/ft)");
    channelCommand->add_option("--length", channel.ChannelLength, "Travel length (ft)");
    channelCommand->add_option("--material", channel.ChannelMaterial, "Channel material");
    channelCommand->add_option("--n", channel.ChannelN, "Manning's n");
    auto* velocity = channelCommand->add_option("--velocity", channel.ChannelVelocity,
                                                "Velocity (fps); with --tc, stored as given");
    auto* channelTc = channelCommand->add_option("--tc", channel.ChannelTc, "Travel time (min)");
    velocity->needs(channelTc);
    channelTc->needs(velocity);

    auto* list = app.add_subcommand("list", "List the live elements: kind, tag, name, Tc");
    list->add_option("PROJECT", projectPath, "Project file")->required();

    SolveOptions solveOptions;
    auto* solve = app.add_subcommand("solve", "Solve the network and print the report");
    solve->add_option("PROJECT", solveOptions.projectPath, "Project file")->required();
    solve->add_option("--table", solveOptions.table, "Intensity table for this run only");
    solve->add_option("--rtf", solveOptions.rtfPath, "Also write the report as RTF");
    solve->add_flag("--json", solveOptions.json, "Print the results as JSON instead");

    ImportNoaaOptions importOptions;
    auto* importNoaa = app.add_subcommand(
        "import-noaa", "Make an intensity table from a NOAA Atlas 14 file (PFDS CSV) and print it");
    importNoaa->add_option("FILE", importOptions.file, "The downloaded file")->required();
    importNoaa->add_option("--name", importOptions.name, "Name of the new table")->required();
    importNoaa
        ->add_option("--bound", importOptions.bound,
                     "Take the upper or lower bound of the 90% confidence interval")
        ->check(CLI::IsMember({"upper", "lower"}));
    importNoaa->add_flag("--replace", importOptions.replace,
                         "Replace the table of that name if there is one");

    TableFromEquationOptions equationOptions;
    auto* fromEquation = app.add_subcommand(
        "table-from-equation", "Make an intensity table from i = b / (Tc + d)^e and print it");
    fromEquation->add_option("--name", equationOptions.name, "Name of the new table")->required();
    fromEquation
        ->add_option("--coefficients", equationOptions.coefficientsFile,
                     "CSV file, one line per return period: period,b,d,e (Tc in minutes)")
        ->required();
    fromEquation->add_flag("--replace", equationOptions.replace,
                           "Replace the table of that name if there is one");

    const std::vector<std::string> expanded = SplitEmptyValues(args);
    std::vector<std::string> reversed(expanded.rbegin(), expanded.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kExitDone : kExitUsage;
    }

    const std::string appFolder =
        ChooseAppFolder(appFolderOption, executableFolder, UserAppFolder());
    try {
        if (*tables) {
            PrintTables(appFolder, out);
        } else if (*table) {
            PrintTable(appFolder, tableName, out);
        } else if (*create) {
            RunNew(appFolder, newOptions);
        } else if (*overland) {
            RequireNumeric({{"--area", &basin.Area},
                            {"--slope", &basin.Slope},
                            {"--c", &basin.CVal},
                            {"--length", &basin.TravelLength},
                            {"--n", &basin.BasinN},
                            {"--tc", &basin.Tc}});
            ResolveN(kSheetFlowSurfaces, basin.BasinNType, basin.BasinN, "--surface");
            RunAdd(appFolder, projectPath, basin, out);
        } else if (*shallow) {
            RequireNumeric({{"--length", &surface.SurfLength}, {"--slope", &surface.SurfSlope}});
            RunAdd(appFolder, projectPath, surface, out);
        } else if (*channelCommand) {
            RequireNumeric({{"--area", &channel.ChannelArea},
                            {"--wp", &channel.ChannelWP},
                            {"--slope", &channel.ChannelSlope},
                            {"--length", &channel.ChannelLength},
                            {"--n", &channel.ChannelN},
                            {"--tc", &channel.ChannelTc}});
            ResolveN(kChannelMaterials, channel.ChannelMaterial, channel.ChannelN, "--material");
            RunAdd(appFolder, projectPath, channel, out);
        } else if (*list) {
            RunList(projectPath, out);
        } else if (*solve) {
            RunSolve(appFolder, solveOptions, out);
        } else if (*importNoaa) {
            RunImportNoaa(appFolder, importOptions, err);
            PrintTable(appFolder, importOptions.name, out);
        } else if (*fromEquation) {
            RunTableFromEquation(appFolder, equationOptions);
            PrintTable(appFolder, equationOptions.name, out);
        }
        return kExitDone;
    } catch (const NothingToDo& e) {
        err << kProgram << ": " << e.what() << "\n";
        return kExitNothingToDo;
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
