#pragma once

#include <array>
#include <optional>
#include <string>

namespace torrenta {

struct ProjectInfoRow {
    std::string ProjectName, DesignEngineer, ProjectManager, DesignDate, JobNumber, IValueBasinName;
};

// The outlet node.
struct NodeRow {
    std::string NodeName, IntensityTable, NodeX, NodeY;
};

// Where a new node icon stands until the user drags it.
inline constexpr const char* kNodeStartX = "5040";
inline constexpr const char* kNodeStartY = "5160";

// The last project information row (the one the setup dialog shows and
// rewrites), or nothing for a project not yet set up.
std::optional<ProjectInfoRow> ReadProjectInfo(const std::string& projectPath);

// The node row (the first; a project has one), or nothing when the project has
// not been set up.
std::optional<NodeRow> ReadNode(const std::string& projectPath);

// The last node row: the one the setup dialog shows and SaveProjectSetup
// rewrites (the same row as ReadNode's unless a file holds more than one).
std::optional<NodeRow> ReadLastNode(const std::string& projectPath);

// The setup dialog's OK, in one transaction: inserts the project information
// row or rewrites the last one (IValueBasinName untouched), and sets the node's
// name and intensity table, inserting the node row at the start position when
// there is none (a file with project rows but no node row is mended this way).
void SaveProjectSetup(const std::string& projectPath, const ProjectInfoRow& info,
                      const std::string& nodeName, const std::string& intensityTable);

// The setup's texts and the node's name are each printed on one line of the
// report: throws InputError naming the field unless each is one line of UTF-8
// text (the shells check before they store).
void RequireOneLineSetup(const ProjectInfoRow& info, const std::string& nodeName);

// The project-wide table choice: IValueBasinName of every information row.
void SetProjectIntensityTable(const std::string& projectPath, const std::string& tableName);

// The node's table and name; each adds the node row (at the start position)
// when there is none.
void SetNodeIntensityTable(const std::string& projectPath, const std::string& tableName);
void SetNodeName(const std::string& projectPath, const std::string& nodeName);

// Writes the node icon's position after a drag.
void UpdateNodePosition(const std::string& projectPath, const std::string& x, const std::string& y);

// The solver's one results row as stored: intensities and peak flows for the
// seven return periods.
struct ResultsRow {
    std::array<std::string, 7> ival;
    std::array<std::string, 7> qpeak;
};
std::optional<ResultsRow> ReadResults(const std::string& projectPath);

}  // namespace torrenta
