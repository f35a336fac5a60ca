#include "ProjectCommands.h"

#include "ChangeNote.h"
#include "NetworkCommands.h"
#include "PdfExport.h"
#include "SolutionJson.h"

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "checks/DesignChecks.h"
#include "detention/ProjectDetention.h"
#include "editing/ElementAdding.h"
#include "editing/ElementEditing.h"
#include "editing/TravelTimeRecalc.h"
#include "intensity/IntensityDatabase.h"
#include "network/IconPlacement.h"
#include "report/PlainTextWriter.h"
#include "report/ReportComposer.h"
#include "report/RtfWriter.h"
#include "solver/RationalMethod.h"
#include "store/Connection.h"
#include "store/FileIdentity.h"
#include "store/OutputFile.h"
#include "store/ProjectFile.h"
#include "store/ReportTarget.h"
#include "store/TcPath.h"
#include "store/TypedTc.h"
#include "text/NameText.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

// The option each required column is given by, for "Please fill all fields".
const std::map<std::string_view, std::string_view>& OptionNames() {
    static const std::map<std::string_view, std::string_view> names = {
        {"BasinName", "--name"},
        {"Area", "--area"},
        {"Slope", "--slope"},
        {"SoilType", "--land-use"},
        {"CVal", "--c"},
        {"TravelLength", "--length"},
        {"BasinN", "--n or --surface"},
        {"SurfName", "--name"},
        {"SurfSlope", "--slope"},
        {"SurfLength", "--length"},
        {"ChannelName", "--name"},
        {"ChannelArea", "--area"},
        {"ChannelWP", "--wp"},
        {"ChannelSlope", "--slope"},
        {"ChannelN", "--n or --material"},
        {"ChannelLength", "--length"},
    };
    return names;
}

template <class Row>
void RequireFilled(const Row& row) {
    const auto missing = MissingFields(row);
    if (missing.empty()) {
        return;
    }
    std::string options;
    for (const auto column : missing) {
        options += (options.empty() ? "" : ", ") + std::string(OptionNames().at(column));
    }
    throw InputError("Please fill all fields: missing " + options + ".");
}

// Adds the row the way the add dialog would on a canvas freshly opened on the
// file: the next array index (deleted rows count) and the placement cursor's
// position, both from the rows counted inside the add's transaction, so adds
// run side by side each get their own.
template <class Row>
std::string AddRow(const std::string& projectPath, Row& row, bool onTcPath, bool tcTyped = false,
                   const std::function<void(Row&)>& complete = {}) {
    constexpr ElementKind kind = ElementTable<Row>::kKind;
    return AddElement(
        projectPath, row,
        [&](int rowCount) {
            const int index = rowCount + 1;
            return NewIconSlot{
                index, IconPlacement(kind).NextFree(index, IconPlacement::TakenBoxes(projectPath))};
        },
        onTcPath, tcTyped, complete);
}

// The new element's tag, printed, and noted in case the printing fails.
std::string Added(const std::string& projectPath, const std::string& tag, std::ostream& out) {
    NoteChange("added " + tag + " to \"" + projectPath + "\"");
    out << tag << "\n";
    return tag;
}

// Solve and detention run the same solve: the project's table unless --table
// names another for this run, and nothing for a network without elements.
NetworkFlags RequireSomethingToSolve(const std::string& projectPath) {
    const NetworkFlags flags = SolveNetwork(projectPath);
    if (!flags.Any()) {
        throw NothingToDo("Nothing to Solve");
    }
    return flags;
}

NetworkSolution SolveForRun(const std::string& appFolder, const std::string& projectPath,
                            const NodeRow& node, const std::optional<std::string>& table,
                            const NetworkFlags& flags,
                            StoredDetention detention = StoredDetention::Size) {
    const std::string name = table.value_or(node.IntensityTable);
    // Another table for this run puts the sheet-flow times on its rainfall too,
    // so the report stands on the one basis it names.
    const SheetFlowTimes sheetFlow =
        name == node.IntensityTable ? SheetFlowTimes::AsStored : SheetFlowTimes::FromThisTable;
    return SolveProject(projectPath, appFolder, name, flags, sheetFlow, detention);
}

// One line per finding, whatever a stored name in its message holds.
void PrintDesignChecks(const NetworkSolution& solution, std::ostream& err) {
    for (const DesignFinding& finding : CheckDesign(solution)) {
        err << "torrenta-cli: check " << finding.code << ": " << ControlsAsSpaces(finding.message)
            << " (" << finding.reference << ")\n";
    }
}

void PrintJson(const nlohmann::json& json, std::ostream& out) {
    // A file written before input was checked may hold text that is not
    // UTF-8: it comes out with U+FFFD in place of each bad sequence rather
    // than stopping the command.
    out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

}  // namespace

// Add stores the element and solve rewrites the results row: the file must be
// writable as well as set up.
NodeRow RequireSetUpProject(const std::string& projectPath) {
    OpenProject(projectPath);
    RequireWritableProject(projectPath);
    auto node = ReadNode(projectPath);
    if (!node) {
        throw ProjectFileError("\"" + projectPath +
                               "\" has no outlet node yet; set it up with torrenta-cli new.");
    }
    return *node;
}

void RunNew(const std::string& appFolder, const NewProjectOptions& options) {
    if (options.nodeName.empty()) {
        throw InputError("Please fill all fields: missing --node.");
    }
    if (!IntensityTableExists(appFolder, options.intensityTable)) {
        throw IntensityError("The intensity table \"" + options.intensityTable +
                             "\" does not exist in the intensity database.");
    }
    try {
        NewProject(appFolder, options.projectPath,
                   options.force ? ExistingFile::Replace : ExistingFile::Keep);
    } catch (const FileExistsError&) {
        throw FileExistsError("\"" + options.projectPath +
                              "\" already exists; add --force to replace it.");
    }
    SaveProjectSetup(options.projectPath, options.info, options.nodeName, options.intensityTable);
}

std::string RunAdd(const std::string& appFolder, const std::string& projectPath, BasinRow row,
                   std::ostream& out, bool onTcPath) {
    RequireSetUpProject(projectPath);
    RequireFilled(row);
    // A Tc given with --tc is the engineer's own figure, kept through table
    // changes and recalculations.
    const bool typed = !row.Tc.empty();
    // The table is read in the add's own transaction, so a set-table running
    // at the same moment cannot leave a Tc of the old rainfall under the new.
    return Added(projectPath,
                 AddRow(projectPath, row, onTcPath, typed,
                        std::function<void(BasinRow&)>([&](BasinRow& added) {
                            const std::string table =
                                ReadNode(projectPath).value_or(NodeRow{}).IntensityTable;
                            CompleteForSave(added, appFolder, table);
                        })),
                 out);
}

std::string RunAdd(const std::string&, const std::string& projectPath, SurfaceRow row,
                   std::ostream& out, bool onTcPath) {
    RequireSetUpProject(projectPath);
    RequireFilled(row);
    CompleteForSave(row);
    return Added(projectPath, AddRow(projectPath, row, onTcPath), out);
}

std::string RunAdd(const std::string&, const std::string& projectPath, ChannelRow row,
                   std::ostream& out, bool onTcPath) {
    RequireSetUpProject(projectPath);
    RequireFilled(row);
    CompleteForSave(row);
    return Added(projectPath, AddRow(projectPath, row, onTcPath), out);
}

void RunList(const std::string& projectPath, std::ostream& out) {
    OpenProject(projectPath);
    // A name stored with a TAB or a line break would add a field or a line.
    const auto name = [](const std::string& stored) { return ControlsAsSpaces(stored); };
    // A project that never left an element off the path lists as it always did.
    const std::set<std::string> offPath = ReadOffTcPath(projectPath);
    const auto path = [&](const std::string& tag) {
        return offPath.contains(tag) ? "\toff-path\n" : "\n";
    };
    for (const auto& row : ReadLiveElements<BasinRow>(projectPath)) {
        out << "overland\t" << row.BasinTag << "\t" << name(row.BasinName) << "\t" << row.Tc
            << path(row.BasinTag);
    }
    for (const auto& row : ReadLiveElements<SurfaceRow>(projectPath)) {
        out << "shallow\t" << row.SurfTag << "\t" << name(row.SurfName) << "\t" << row.SurfTc
            << path(row.SurfTag);
    }
    for (const auto& row : ReadLiveElements<ChannelRow>(projectPath)) {
        out << "channel\t" << row.ChannelTag << "\t" << name(row.ChannelName) << "\t"
            << row.ChannelTc << path(row.ChannelTag);
    }
    RunListPoints(projectPath, out);
}

void RunSetTable(const std::string& appFolder, const std::string& projectPath,
                 const std::string& table, std::ostream& out) {
    RequireSetUpProject(projectPath);
    const std::string sentence =
        SheetFlowRecalcSentence(ChangeProjectTable(projectPath, appFolder, table));
    NoteChange("made \"" + table + "\" the intensity table of \"" + projectPath + "\"");
    if (!sentence.empty()) {
        out << sentence << "\n";
    }
}

void RunRecalc(const std::string& appFolder, const std::string& projectPath, std::ostream& out) {
    RequireSetUpProject(projectPath);
    const TravelTimeRecalc recalc = RecalculateTravelTimes(projectPath, appFolder);
    NoteChange("stored the recalculated travel times in \"" + projectPath + "\"");
    if (recalc.changes.empty()) {
        out << "No travel time changed.\n";
    }
    for (const TcChange& change : recalc.changes) {
        out << change.tag << "\t" << ControlsAsSpaces(change.name) << "\t" << change.oldTc << "\t"
            << change.newTc << "\n";
    }
    if (const std::string kept = KeptTcText(recalc); !kept.empty()) {
        out << ControlsAsSpaces(kept) << "\n";
    }
}

void RunSolve(const std::string& appFolder, const SolveOptions& options, std::ostream& out,
              std::ostream& err) {
    // One file cannot hold both reports: the second would replace the first.
    if (options.rtfPath && options.pdfPath && SameFile(*options.rtfPath, *options.pdfPath)) {
        throw UsageError("--rtf and --pdf both name \"" + *options.pdfPath +
                         "\": give each report a file of its own.");
    }
    const SharedConnections oneConnectionPerFile;
    const NodeRow node = RequireSetUpProject(options.projectPath);
    // Before the solve rewrites the results row: a refused name changes nothing.
    for (const auto& target : {options.rtfPath, options.pdfPath}) {
        if (target) {
            RequireReportTarget(*target, options.projectPath, appFolder);
        }
    }
    const NetworkSolution solution =
        SolveForRun(appFolder, options.projectPath, node, options.table,
                    RequireSomethingToSolve(options.projectPath));
    const ProjectInfoRow info = ReadProjectInfo(options.projectPath).value_or(ProjectInfoRow{});
    // The report is composed once, and only where it is written: --json alone
    // needs none.
    std::optional<RichDocument> report;
    const auto composed = [&]() -> const RichDocument& {
        if (!report) {
            report = ComposeReport(solution, info);
        }
        return *report;
    };
    if (options.rtfPath) {
        WriteOutputFile(*options.rtfPath, WriteRtf(composed()));
    }
    if (options.pdfPath) {
        WriteReportPdf(composed(), *options.pdfPath, options.executableFolder);
    }
    if (options.json) {
        PrintJson(SolutionAsJson(solution, info, node), out);
    } else {
        out << WritePlainText(composed());
    }
    PrintDesignChecks(solution, err);
}

void RunDetention(const std::string& appFolder, const DetentionOptions& options, std::ostream& out,
                  std::ostream& err) {
    const SharedConnections oneConnectionPerFile;
    const NodeRow node = RequireSetUpProject(options.projectPath);
    DetentionInputs inputs;
    if (options.inputs) {
        inputs = *options.inputs;
    } else if (const auto stored = ReadDetentionInputs(options.projectPath)) {
        inputs = *stored;
        inputs.method = options.method.value_or(inputs.method);
    } else {
        throw UsageError("\"" + options.projectPath +
                         "\" holds no detention inputs: give the allowable release with "
                         "--release, --release-per-period or --release-from.");
    }
    const NetworkFlags flags = RequireSomethingToSolve(options.projectPath);
    // Found first: a release that cannot be had (a pre-development project
    // missing or unsolvable) stops the run before the solve rewrites the
    // results row. The solve leaves the stored inputs alone, so inputs given
    // here replace stored ones whose pre-development project has gone.
    const AllowableRelease release = FindAllowableRelease(inputs, options.projectPath, appFolder);
    NetworkSolution solution = SolveForRun(appFolder, options.projectPath, node, options.table,
                                           flags, StoredDetention::Leave);
    solution.detention = SizeDetention(solution, inputs, release);
    // Composed before the inputs are stored: a run that fails on the way
    // leaves the project as it was.
    std::ostringstream composed;
    if (options.json) {
        PrintJson(DetentionAsJson(*solution.detention), composed);
    } else {
        composed << WritePlainText(ComposeDetentionSection(*solution.detention));
    }
    if (options.store) {
        StoreDetentionInputs(options.projectPath, inputs);
        NoteChange("stored the detention inputs in \"" + options.projectPath + "\"");
    }
    out << composed.str();
    PrintDesignChecks(solution, err);
}

void RunClearDetention(const std::string& projectPath) {
    OpenProject(projectPath);
    RequireWritableProject(projectPath);
    ClearDetentionInputs(projectPath);
}

}  // namespace torrenta
