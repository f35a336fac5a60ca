#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "detention/DetentionInputs.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"

namespace torrenta {

// A request the command carried out without doing anything ("Nothing to Solve").
class NothingToDo : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Opens the project as every command does: a Torrenta project that can be
// written and has its outlet node. Returns that node.
NodeRow RequireSetUpProject(const std::string& projectPath);

// File New plus the setup dialog's OK.
struct NewProjectOptions {
    std::string projectPath;
    ProjectInfoRow info;
    std::string nodeName;
    std::string intensityTable;
    // Replace a file already at projectPath (never a read-only one).
    bool force = false;
};
void RunNew(const std::string& appFolder, const NewProjectOptions& options);

// The add dialogs' OK without a window: a missing value is named by its
// option in the message. Prints the new element's tag and returns it. `onTcPath` false adds
// the element off the Tc flow path.
std::string RunAdd(const std::string& appFolder, const std::string& projectPath, BasinRow row,
                   std::ostream& out, bool onTcPath = true);
std::string RunAdd(const std::string& appFolder, const std::string& projectPath, SurfaceRow row,
                   std::ostream& out, bool onTcPath = true);
std::string RunAdd(const std::string& appFolder, const std::string& projectPath, ChannelRow row,
                   std::ostream& out, bool onTcPath = true);

// The live elements, one line each: kind, tag, name, Tc, and "off-path" after
// them for an element off the Tc flow path.
void RunList(const std::string& projectPath, std::ostream& out);

// Makes NAME the project's table and recalculates its sheet-flow travel
// times; prints the sentence saying so.
void RunSetTable(const std::string& appFolder, const std::string& projectPath,
                 const std::string& table, std::ostream& out);

// Recalculates and stores every live element's travel time; prints one line
// per change (tag, name, old Tc, new Tc) or "No travel time changed.".
void RunRecalc(const std::string& appFolder, const std::string& projectPath, std::ostream& out);

struct SolveOptions {
    std::string projectPath;
    std::optional<std::string> table;  // this run only, not stored
    std::optional<std::string> rtfPath;
    std::optional<std::string> pdfPath;
    std::string executableFolder;  // where the PDF plugin is looked for
    bool json = false;
};
// Prints the report (or the JSON) on `out` and the design checks that apply
// on `err`: they never change the outcome.
void RunSolve(const std::string& appFolder, const SolveOptions& options, std::ostream& out,
              std::ostream& err);

struct DetentionOptions {
    std::string projectPath;
    // The release and method given on the command line; nothing: the
    // project's stored inputs.
    std::optional<DetentionInputs> inputs;
    // Over the stored inputs' method when no inputs are given.
    std::optional<DetentionMethod> method;
    std::optional<std::string> table;  // this run only, not stored
    bool store = false;                // keep the inputs in the project
    bool json = false;
};
// Solves the project as RunSolve does, sizes the pond and prints the report's
// detention section (or its JSON); with `store`, keeps the inputs once the
// sizing succeeded. UsageError when no inputs are given and none are stored.
void RunDetention(const std::string& appFolder, const DetentionOptions& options, std::ostream& out,
                  std::ostream& err);

// Removes the stored detention inputs: solve prints the peak flows alone again.
void RunClearDetention(const std::string& projectPath);

// A command line that lacks what the command needs, found only once the
// project is read.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace torrenta
