#include "CliApp.h"

#include "ChangeNote.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <ctime>
#include <functional>
#include <memory>
#include <ostream>

#include "Errors.h"
#include "NetworkCommands.h"
#include "OutputBuffer.h"
#include "ProjectCommands.h"
#include "RainfallCommands.h"
#include "detention/DetentionInputs.h"
#include "hydraulics/Tables.h"
#include "intensity/IntensityDatabase.h"
#include "store/AppFolder.h"
#include "store/DrainageStore.h"
#include "text/NameText.h"
#include "text/NumberText.h"
#include "text/NumericKeyFilter.h"

namespace torrenta {
namespace {

constexpr const char* kProgram = "torrenta-cli";

// One name a line, even for a name stored before line breaks were refused.
void PrintTables(const std::string& appFolder, std::ostream& out) {
    for (const auto& name : ListIntensityTables(appFolder)) {
        out << ControlsAsSpaces(name) << "\n";
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

// A number the program computes with rather than stores as text is read
// whole: "1.5.2" is refused, not taken as 1.5.
double NumberOption(const std::string& option, const std::string& value) {
    RequireNumeric(option, value);
    double number = 0.0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    if (value.empty() || error != std::errc() || stop != end) {
        throw InputError("The value \"" + value + "\" of " + option + " is not a number.");
    }
    return number;
}

// "Q1,Q2,Q5,Q10,Q25,Q50,Q100": one release per return period, none left out.
std::array<double, 7> ReleasesPerPeriod(const std::string& value) {
    std::vector<std::string> parts(1);
    for (const char c : value) {
        if (c == ',') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    std::array<double, 7> releases{};
    if (parts.size() != releases.size()) {
        throw InputError(
            "--release-per-period takes seven releases, for 1, 2, 5, 10, 25, 50 "
            "and 100 years, separated by commas; \"" +
            value + "\" holds " + std::to_string(parts.size()) + ".");
    }
    for (std::size_t k = 0; k < releases.size(); ++k) {
        releases[k] = NumberOption("--release-per-period", parts[k]);
    }
    return releases;
}

struct TextOption {
    const char* name;
    const std::string* value;
};

// Names and descriptions become report cells and list lines, so each is one
// line of UTF-8 text; a terminal in another encoding or a pasted TAB is
// refused here, before anything is written.
void RequireOneLine(std::initializer_list<TextOption> options) {
    for (const auto& option : options) {
        RequireOneLineText(*option.value, std::string("The value of ") + option.name);
    }
}

// A table name given to look one up.
void RequireUtf8(const char* name, const std::string& value) {
    RequireUtf8Text(value, std::string("The value of ") + name);
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

// A subcommand and what it does once the arguments are read and the
// application folder is known. Each command keeps its options' values in its
// own state, shared with its action.
struct Command {
    CLI::App* subcommand;
    std::function<void(const std::string& appFolder)> run;
};

Command TablesCommand(CLI::App& app, std::ostream& out) {
    auto* sub = app.add_subcommand("tables", "List the intensity tables, one name per line");
    return {sub, [&out](const std::string& appFolder) { PrintTables(appFolder, out); }};
}

Command TableCommand(CLI::App& app, std::ostream& out) {
    auto* sub = app.add_subcommand("table", "Print one intensity table");
    auto name = std::make_shared<std::string>();
    sub->add_option("NAME", *name, "Intensity table name")->required();
    return {sub, [name, &out](const std::string& appFolder) {
                RequireUtf8("NAME", *name);
                PrintTable(appFolder, *name, out);
            }};
}

Command NewCommand(CLI::App& app) {
    auto options = std::make_shared<NewProjectOptions>();
    options->intensityTable = std::string(kDefaultIntensityTable);
    options->info.DesignDate = TodayShortDate();
    auto* sub = app.add_subcommand("new", "Create a project and set it up");
    sub->add_option("PROJECT", options->projectPath, "Project file (.rmt)")->required();
    sub->add_option("--node", options->nodeName, "Name of the outlet node")->required();
    sub->add_option("--table", options->intensityTable, "Intensity table (default Atlanta)");
    sub->add_option("--project-name", options->info.ProjectName, "Project name");
    sub->add_option("--job-number", options->info.JobNumber, "Job number");
    sub->add_option("--design-date", options->info.DesignDate, "Design date (default today)");
    sub->add_option("--engineer", options->info.DesignEngineer, "Design engineer");
    sub->add_option("--manager", options->info.ProjectManager, "Project manager");
    sub->add_flag("--force", options->force,
                  "Replace PROJECT when a file of that name exists (never a read-only one); "
                  "without it an existing file is refused. The application folder's "
                  "intensity.mdb and empty.mdb and any database that is not a project are "
                  "never replaced");
    return {sub, [options](const std::string& appFolder) {
                const ProjectInfoRow& info = options->info;
                RequireOneLine({{"--node", &options->nodeName},
                                {"--project-name", &info.ProjectName},
                                {"--job-number", &info.JobNumber},
                                {"--design-date", &info.DesignDate},
                                {"--engineer", &info.DesignEngineer},
                                {"--manager", &info.ProjectManager}});
                RequireUtf8("--table", options->intensityTable);
                RunNew(appFolder, *options);
            }};
}

template <class Row>
struct AddState {
    std::string projectPath;
    Row row;
    bool offPath = false;
    std::optional<std::string> drainsTo;
};

template <class Row>
void AddOffPathFlag(CLI::App* sub, AddState<Row>& state) {
    sub->add_flag("--off-path", state.offPath,
                  "Leave the element off the Tc flow path: its Tc is not added to the total");
    sub->add_option("--drains-to", state.drainsTo,
                    "Where the element drains: an element's or a design point's tag, or Outlet; "
                    "makes the project a drainage network");
}

// The add, then its link: the target is checked first, so a refused link
// adds nothing.
template <class Row>
void AddAndLink(const std::string& appFolder, AddState<Row>& state, std::ostream& out,
                std::ostream& err) {
    if (state.drainsTo) {
        RequireSetUpProject(state.projectPath);
        RequireDrainTarget(state.projectPath, *state.drainsTo);
    }
    const std::string tag = RunAdd(appFolder, state.projectPath, state.row, out, !state.offPath);
    if (state.drainsTo) {
        RunDrain(state.projectPath, tag, *state.drainsTo, err);
    }
}

Command AddOverlandCommand(CLI::App& add, std::ostream& out, std::ostream& err) {
    auto state = std::make_shared<AddState<BasinRow>>();
    BasinRow& basin = state->row;
    auto* sub = add.add_subcommand("overland", "Add an overland flow area");
    sub->add_option("PROJECT", state->projectPath, "Project file")->required();
    sub->add_option("--name", basin.BasinName, "Name (one line of UTF-8 text)");
    sub->add_option("--area", basin.Area, "Area (ac)");
    sub->add_option("--slope", basin.Slope, "Slope (ft/ft)");
    sub->add_option("--land-use", basin.SoilType, "Land use");
    sub->add_option("--c", basin.CVal, "Runoff coefficient C");
    sub->add_option("--length", basin.TravelLength, "Travel length (ft)");
    sub->add_option("--surface", basin.BasinNType, "Sheet-flow surface description");
    sub->add_option("--n", basin.BasinN, "Manning's n for sheet flow");
    sub->add_option("--tc", basin.Tc,
                    "Travel time (min), the engineer's own: kept through table changes and "
                    "recalculations; calculated when not given");
    AddOffPathFlag(sub, *state);
    return {sub, [state, &out, &err](const std::string& appFolder) {
                BasinRow& basin = state->row;
                RequireOneLine({{"--name", &basin.BasinName},
                                {"--land-use", &basin.SoilType},
                                {"--surface", &basin.BasinNType}});
                RequireNumeric({{"--area", &basin.Area},
                                {"--slope", &basin.Slope},
                                {"--c", &basin.CVal},
                                {"--length", &basin.TravelLength},
                                {"--n", &basin.BasinN},
                                {"--tc", &basin.Tc}});
                ResolveN(kSheetFlowSurfaces, basin.BasinNType, basin.BasinN, "--surface");
                AddAndLink(appFolder, *state, out, err);
            }};
}

Command AddShallowCommand(CLI::App& add, std::ostream& out, std::ostream& err) {
    auto state = std::make_shared<AddState<SurfaceRow>>();
    SurfaceRow& surface = state->row;
    surface.SurfType = "Unpaved";
    auto* sub = add.add_subcommand("shallow", "Add a shallow concentrated flow reach");
    sub->add_option("PROJECT", state->projectPath, "Project file")->required();
    sub->add_option("--name", surface.SurfName, "Name (one line of UTF-8 text)");
    sub->add_option("--length", surface.SurfLength, "Length (ft)");
    sub->add_option("--slope", surface.SurfSlope, "Slope (ft/ft)");
    sub->add_option("--type", surface.SurfType, "Paved or Unpaved")
        ->check(CLI::IsMember({"Paved", "Unpaved"}));
    AddOffPathFlag(sub, *state);
    return {
        sub, [state, &out, &err](const std::string& appFolder) {
            SurfaceRow& surface = state->row;
            RequireOneLine({{"--name", &surface.SurfName}});
            RequireNumeric({{"--length", &surface.SurfLength}, {"--slope", &surface.SurfSlope}});
            AddAndLink(appFolder, *state, out, err);
        }};
}

Command AddChannelCommand(CLI::App& add, std::ostream& out, std::ostream& err) {
    auto state = std::make_shared<AddState<ChannelRow>>();
    ChannelRow& channel = state->row;
    auto* sub = add.add_subcommand("channel", "Add a channel reach");
    sub->add_option("PROJECT", state->projectPath, "Project file")->required();
    sub->add_option("--name", channel.ChannelName, "Name (one line of UTF-8 text)");
    sub->add_option("--area", channel.ChannelArea, "Section area (sf)");
    sub->add_option("--wp", channel.ChannelWP, "Wetted perimeter (ft)");
    sub->add_option("--slope", channel.ChannelSlope, "Slope (ft/ft)");
    sub->add_option("--length", channel.ChannelLength, "Travel length (ft)");
    sub->add_option("--material", channel.ChannelMaterial, "Channel material");
    sub->add_option("--n", channel.ChannelN, "Manning's n");
    auto* velocity = sub->add_option("--velocity", channel.ChannelVelocity,
                                     "Velocity (fps); with --tc, stored as given");
    auto* tc = sub->add_option("--tc", channel.ChannelTc, "Travel time (min)");
    velocity->needs(tc);
    tc->needs(velocity);
    AddOffPathFlag(sub, *state);
    return {sub, [state, &out, &err](const std::string& appFolder) {
                ChannelRow& channel = state->row;
                RequireOneLine(
                    {{"--name", &channel.ChannelName}, {"--material", &channel.ChannelMaterial}});
                RequireNumeric({{"--area", &channel.ChannelArea},
                                {"--wp", &channel.ChannelWP},
                                {"--slope", &channel.ChannelSlope},
                                {"--length", &channel.ChannelLength},
                                {"--n", &channel.ChannelN},
                                {"--tc", &channel.ChannelTc}});
                ResolveN(kChannelMaterials, channel.ChannelMaterial, channel.ChannelN,
                         "--material");
                AddAndLink(appFolder, *state, out, err);
            }};
}

Command AddPointCommand(CLI::App& add, std::ostream& out, std::ostream& err) {
    struct State {
        std::string projectPath;
        std::string name;
        std::string kind = std::string(kJunctionKind);
        std::string drainsTo = std::string(kOutletTag);
    };
    auto state = std::make_shared<State>();
    auto* sub = add.add_subcommand(
        "point", "Add a design point (makes the project a drainage network); prints its tag");
    sub->add_option("PROJECT", state->projectPath, "Project file")->required();
    sub->add_option("--name", state->name, "Name (one line of UTF-8 text)")->required();
    sub->add_option("--kind", state->kind, "inlet or junction (default junction)")
        ->check(CLI::IsMember({std::string(kInletKind), std::string(kJunctionKind)}));
    sub->add_option("--drains-to", state->drainsTo,
                    "Where the point drains: an element's or a point's tag, or Outlet (default)");
    return {sub, [state, &out, &err](const std::string&) {
                RequireOneLine({{"--name", &state->name}});
                RunAddPoint(state->projectPath, state->name, state->kind, state->drainsTo, out,
                            err);
            }};
}

Command AddPipeCommand(CLI::App& add, std::ostream& out) {
    struct State {
        std::string projectPath;
        PipeRow row;
    };
    auto state = std::make_shared<State>();
    PipeRow& pipe = state->row;
    auto* sub = add.add_subcommand(
        "pipe", "Add a storm-drain pipe from a design point down to a point or the outlet");
    sub->add_option("PROJECT", state->projectPath, "Project file")->required();
    sub->add_option("--from", pipe.FromPoint, "The design point it drains")->required();
    sub->add_option("--to", pipe.ToPoint, "The design point it drains to, or Outlet")->required();
    sub->add_option("--length", pipe.PipeLength, "Length (ft)")->required();
    auto* slope = sub->add_option("--slope", pipe.PipeSlope, "Slope (ft/ft)");
    auto* up = sub->add_option("--invert-up", pipe.InvertUp, "Upstream invert (ft)");
    auto* down = sub->add_option("--invert-down", pipe.InvertDown, "Downstream invert (ft)");
    up->needs(down);
    down->needs(up);
    slope->excludes(up);
    sub->add_option("--diameter", pipe.Diameter, "Diameter (in); sized when not given");
    sub->add_option("--n", pipe.PipeN, "Manning's n (default 0.013, concrete)");
    sub->add_option("--name", pipe.PipeName, "Name (one line of UTF-8 text)");
    return {sub, [state, &out](const std::string&) {
                PipeRow& pipe = state->row;
                RequireOneLine({{"--name", &pipe.PipeName}});
                RequireNumeric({{"--length", &pipe.PipeLength},
                                {"--slope", &pipe.PipeSlope},
                                {"--invert-up", &pipe.InvertUp},
                                {"--invert-down", &pipe.InvertDown},
                                {"--diameter", &pipe.Diameter},
                                {"--n", &pipe.PipeN}});
                if (pipe.PipeName.empty()) {
                    pipe.PipeName = pipe.FromPoint + " to " + pipe.ToPoint;
                }
                RunAddPipe(state->projectPath, pipe, out);
            }};
}

Command SetDesignCommand(CLI::App& app) {
    struct State {
        std::string projectPath;
        DesignChanges changes;
        std::string sizes;
    };
    auto state = std::make_shared<State>();
    DesignChanges& changes = state->changes;
    auto* sub = app.add_subcommand("set-design", "Set what the storm-drain pipes are designed by");
    sub->add_option("PROJECT", state->projectPath, "Project file")->required();
    sub->add_option("--period", changes.period, "Design return period (years, default 10)");
    sub->add_option("--min-diameter", changes.minimumDiameter, "Minimum diameter (in, default 18)");
    sub->add_option("--sizes", state->sizes, "Standard diameters (in), separated by commas");
    sub->add_option("--min-duration", changes.minimumDuration,
                    "Shortest duration the intensity is read at (min; 0: the table's first)");
    sub->add_option("--min-velocity", changes.minimumVelocity,
                    "Minimum full-flow velocity (ft/s, default 3)");
    sub->add_option("--max-velocity", changes.maximumVelocity,
                    "Maximum velocity (ft/s, default 15)");
    sub->add_option("--min-cover", changes.minimumCover, "Minimum cover (ft, default 3)");
    return {sub, [state](const std::string&) {
                if (!state->sizes.empty()) {
                    state->changes.sizes = DiameterList(state->sizes);
                    if (!state->changes.sizes) {
                        throw InputError(
                            "--sizes must list diameters (in) separated by commas, "
                            "not \"" +
                            state->sizes + "\".");
                    }
                }
                RunSetDesign(state->projectPath, state->changes);
            }};
}

Command DrainCommand(CLI::App& app, std::ostream& err) {
    struct State {
        std::string projectPath;
        std::string tag;
        std::string to;
    };
    auto state = std::make_shared<State>();
    auto* sub = app.add_subcommand(
        "drain", "Set where an element or a design point drains (makes the project a network)");
    sub->add_option("PROJECT", state->projectPath, "Project file")->required();
    sub->add_option("TAG", state->tag, "The element or point")->required();
    sub->add_option("--to", state->to, "What it drains to: a tag, or Outlet")->required();
    return {sub, [state, &err](const std::string&) {
                RunDrain(state->projectPath, state->tag, state->to, err);
            }};
}

Command DeleteCommand(CLI::App& app, std::ostream& out) {
    auto projectPath = std::make_shared<std::string>();
    auto tag = std::make_shared<std::string>();
    auto* sub = app.add_subcommand(
        "delete", "Delete an element or a design point; what drained into it drains on");
    sub->add_option("PROJECT", *projectPath, "Project file")->required();
    sub->add_option("TAG", *tag, "The element or point")->required();
    return {sub,
            [projectPath, tag, &out](const std::string&) { RunDelete(*projectPath, *tag, out); }};
}

Command NetworkCommand(CLI::App& app, std::ostream& out) {
    auto projectPath = std::make_shared<std::string>();
    auto* sub = app.add_subcommand(
        "network",
        "Print the drainage network from the outlet upward: tag, name, travel time, Tc at it");
    sub->add_option("PROJECT", *projectPath, "Project file")->required();
    return {sub, [projectPath, &out](const std::string& appFolder) {
                RunNetwork(appFolder, *projectPath, out);
            }};
}

Command ListCommand(CLI::App& app, std::ostream& out) {
    auto projectPath = std::make_shared<std::string>();
    auto* sub = app.add_subcommand(
        "list", "List the live elements: kind, tag, name, Tc (off-path when off the Tc flow path)");
    sub->add_option("PROJECT", *projectPath, "Project file")->required();
    return {sub, [projectPath, &out](const std::string&) { RunList(*projectPath, out); }};
}

Command SetTableCommand(CLI::App& app, std::ostream& out) {
    auto projectPath = std::make_shared<std::string>();
    auto table = std::make_shared<std::string>();
    auto* sub = app.add_subcommand(
        "set-table",
        "Make NAME the project's intensity table and recalculate its sheet-flow travel times");
    sub->add_option("PROJECT", *projectPath, "Project file")->required();
    sub->add_option("NAME", *table, "Intensity table name")->required();
    return {sub, [projectPath, table, &out](const std::string& appFolder) {
                RequireUtf8("NAME", *table);
                RunSetTable(appFolder, *projectPath, *table, out);
            }};
}

Command RecalcCommand(CLI::App& app, std::ostream& out) {
    auto projectPath = std::make_shared<std::string>();
    auto* sub = app.add_subcommand(
        "recalc",
        "Recalculate and store every live element's travel time; list what changed: tag, "
        "name, old Tc, new Tc");
    sub->add_option("PROJECT", *projectPath, "Project file")->required();
    return {sub, [projectPath, &out](const std::string& appFolder) {
                RunRecalc(appFolder, *projectPath, out);
            }};
}

Command SolveCommand(CLI::App& app, std::ostream& out, std::ostream& err,
                     const std::string& executableFolder) {
    auto options = std::make_shared<SolveOptions>();
    options->executableFolder = executableFolder;
    auto* sub = app.add_subcommand("solve", "Solve the network and print the report");
    sub->add_option("PROJECT", options->projectPath, "Project file")->required();
    sub->add_option("--table", options->table,
                    "Intensity table for this run only; the sheet-flow Tc of the run are "
                    "computed with its rainfall, nothing but the results row is stored");
    sub->add_option("--rtf", options->rtfPath,
                    "Also write the report as RTF; never over the project or a database");
    sub->add_option("--pdf", options->pdfPath,
                    "Also write the report as PDF (Letter pages, as printed); needs no display; "
                    "never over the project or a database");
    sub->add_flag("--json", options->json,
                  "Print the solution as JSON instead: project, node, intensityTable, "
                  "totalArea, weightedC, tc, shown, elements (stored columns, values, shown) "
                  "and results (per return period: numbers, stored and shown texts), "
                  "checks (code, element, message, reference) and, for a project holding "
                  "detention inputs, detention (as detention --json)");
    return {sub, [options, &out, &err](const std::string& appFolder) {
                if (options->table) {
                    RequireUtf8("--table", *options->table);
                }
                RunSolve(appFolder, *options, out, err);
            }};
}

// The option values as typed, turned into inputs only once the command runs,
// so a bad number is refused with its option's name and exit 5.
struct DetentionState {
    DetentionOptions options;
    std::optional<std::string> release;
    std::optional<std::string> perPeriod;
    std::optional<std::string> from;
    std::optional<std::string> factor;
    std::optional<std::string> method;
    bool clear = false;

    std::optional<DetentionInputs> GivenInputs() const {
        if (!release && !perPeriod && !from) {
            return std::nullopt;
        }
        DetentionInputs inputs;
        inputs.method = DetentionMethodFromWord(method.value_or("rising")).value();
        if (release) {
            inputs.source = ReleaseSource::Single;
            inputs.release = NumberOption("--release", *release);
        } else if (perPeriod) {
            inputs.source = ReleaseSource::PerPeriod;
            inputs.releases = ReleasesPerPeriod(*perPeriod);
        } else {
            inputs.source = ReleaseSource::PreDevelopment;
            // Typed from here, kept from the project's folder; an empty name
            // stays empty for the core to refuse.
            if (!from->empty()) {
                inputs.preDevelopmentProject = StoredPreDevelopmentPath(options.projectPath, *from);
            }
            if (factor) {
                inputs.releaseFactor = NumberOption("--release-factor", *factor);
            }
        }
        return inputs;
    }
};

Command DetentionCommand(CLI::App& app, std::ostream& out, std::ostream& err) {
    auto state = std::make_shared<DetentionState>();
    auto* sub = app.add_subcommand(
        "detention",
        "Size the detention storage by the Modified Rational Method and print the report's "
        "detention section; without a release, the project's stored inputs");
    sub->add_option("PROJECT", state->options.projectPath, "Project file")->required();
    auto* release = sub->add_option("--release", state->release,
                                    "Allowable release Qo (cfs), the same for every period");
    auto* perPeriod =
        sub->add_option("--release-per-period", state->perPeriod,
                        "Q1,Q2,Q5,Q10,Q25,Q50,Q100: allowable release (cfs) per return period");
    auto* from = sub->add_option(
        "--release-from", state->from,
        "Pre-development project: its peak flows, solved with its own table, are the release; "
        "stored relative to PROJECT's folder");
    auto* factor = sub->add_option("--release-factor", state->factor,
                                   "Times the pre-development peak flows (default 1)");
    auto* method = sub->add_option("--method", state->method,
                                   "rising (default): the outflow rises to Qo; constant: Qo "
                                   "for the whole storm")
                       ->check(CLI::IsMember({"rising", "constant"}));
    auto* table = sub->add_option("--table", state->options.table,
                                  "Intensity table for this run only, as for solve");
    auto* store = sub->add_flag(
        "--store", state->options.store,
        "Keep the inputs in the project once the storage is sized, so solve prints the section");
    auto* json = sub->add_flag("--json", state->options.json,
                               "Print the storage as JSON instead: method, releaseSource, "
                               "periods (numbers in full, each with its storage curve)");
    auto* clear =
        sub->add_flag("--clear", state->clear, "Remove the stored inputs; takes no other option");
    release->excludes(perPeriod);
    release->excludes(from);
    perPeriod->excludes(from);
    factor->needs(from);
    for (CLI::Option* other : {release, perPeriod, from, factor, method, table, store, json}) {
        clear->excludes(other);
    }
    return {sub, [state, &out, &err](const std::string& appFolder) {
                if (state->clear) {
                    RunClearDetention(state->options.projectPath);
                    return;
                }
                if (state->options.table) {
                    RequireUtf8("--table", *state->options.table);
                }
                DetentionOptions options = state->options;
                options.inputs = state->GivenInputs();
                if (state->method) {
                    options.method = DetentionMethodFromWord(*state->method);
                }
                RunDetention(appFolder, options, out, err);
            }};
}

Command ImportNoaaCommand(CLI::App& app, std::ostream& out, std::ostream& err) {
    auto options = std::make_shared<ImportNoaaOptions>();
    auto* sub = app.add_subcommand(
        "import-noaa", "Make an intensity table from a NOAA Atlas 14 file (PFDS CSV) and print it");
    sub->add_option("FILE", options->file, "The downloaded file")->required();
    sub->add_option("--name", options->name, "Name of the new table (one line of UTF-8 text)")
        ->required();
    sub->add_option("--bound", options->bound,
                    "Take the upper or lower bound of the 90% confidence interval")
        ->check(CLI::IsMember({"upper", "lower"}));
    sub->add_flag("--replace", options->replace, "Replace the table of that name if there is one");
    return {sub, [options, &out, &err](const std::string& appFolder) {
                RequireOneLine({{"--name", &options->name}});
                RunImportNoaa(appFolder, *options, err);
                PrintTable(appFolder, options->name, out);
            }};
}

Command TableFromEquationCommand(CLI::App& app, std::ostream& out, std::ostream& err) {
    auto options = std::make_shared<TableFromEquationOptions>();
    auto* sub = app.add_subcommand("table-from-equation",
                                   "Make an intensity table from i = b / (Tc + d)^e and print it");
    sub->add_option("--name", options->name, "Name of the new table (one line of UTF-8 text)")
        ->required();
    sub->add_option("--coefficients", options->coefficientsFile,
                    "CSV file, one line per return period: period,b,d,e (Tc in minutes)")
        ->required();
    sub->add_flag("--replace", options->replace, "Replace the table of that name if there is one");
    return {sub, [options, &out, &err](const std::string& appFolder) {
                RequireOneLine({{"--name", &options->name}});
                RunTableFromEquation(appFolder, *options, err);
                PrintTable(appFolder, options->name, out);
            }};
}

int RunCommand(const std::vector<std::string>& args, const std::string& executableFolder,
               std::ostream& out, std::ostream& err) {
    CLI::App app("Torrenta: storm-water peak flows by the rational method.", kProgram);
    app.require_subcommand(1);
    app.fallthrough();
    std::string appFolderOption;
    app.add_option("--app-folder", appFolderOption,
                   "Folder holding empty.mdb and intensity.mdb (default: beside the program, "
                   "then ../share/torrenta)");

    auto* add = app.add_subcommand("add", "Add an element or a design point to a project");
    add->require_subcommand(1);
    const std::vector<Command> commands = {
        TablesCommand(app, out),
        TableCommand(app, out),
        NewCommand(app),
        AddOverlandCommand(*add, out, err),
        AddShallowCommand(*add, out, err),
        AddChannelCommand(*add, out, err),
        AddPointCommand(*add, out, err),
        AddPipeCommand(*add, out),
        SetDesignCommand(app),
        DrainCommand(app, err),
        DeleteCommand(app, out),
        NetworkCommand(app, out),
        ListCommand(app, out),
        SetTableCommand(app, out),
        RecalcCommand(app, out),
        SolveCommand(app, out, err, executableFolder),
        DetentionCommand(app, out, err),
        ImportNoaaCommand(app, out, err),
        TableFromEquationCommand(app, out, err),
    };

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
        for (const Command& command : commands) {
            if (*command.subcommand) {
                command.run(appFolder);
            }
        }
        return kExitDone;
    } catch (const UsageError& e) {
        err << kProgram << ": " << e.what() << "\n";
        return kExitUsage;
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

}  // namespace

int RunCli(const std::vector<std::string>& args, const std::string& executableFolder,
           std::ostream& out, std::ostream& err) {
    TakeChangeNote();
    const int code = RunCommand(args, executableFolder, out, err);
    const std::string change = TakeChangeNote();
    // A report that never reached its reader (a full disk, a closed pipe) is
    // no success, whatever the command did.
    if (out.flush()) {
        return code;
    }
    err << kProgram << ": cannot write the output" << OutputFailureReason(out) << "\n";
    if (code == kExitDone && !change.empty()) {
        err << kProgram << ": the change was made all the same: " << change
            << "; running the command again would repeat it.\n";
    }
    return code == kExitDone ? kExitOutput : code;
}

}  // namespace torrenta
