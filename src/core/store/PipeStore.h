#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrenta {

// Storm-drain pipes between design points and the network's design settings,
// each in a table of its own made on first use: a project without pipes
// keeps its file as it was.
inline constexpr std::string_view kPipeTable = "TblPipeInfo";
inline constexpr std::string_view kNetworkSettingsTable = "TblNetworkInfo";

// A pipe from a design point down to a point or the outlet: how that point
// drains. Lengths and elevations in feet, the diameter in inches; "" where
// not given (a slope or the two inverts, a diameter or none to size it).
struct PipeRow {
    std::string PipeTag;
    std::string PipeName;
    std::string FromPoint;
    std::string ToPoint;
    std::string PipeLength;
    std::string PipeSlope;
    std::string InvertUp;
    std::string InvertDown;
    std::string Diameter;
    std::string PipeN;
    std::string Deleted;
};

// The settings the pipes are designed by, the defaults where nothing is
// stored.
struct DesignSettings {
    int designYears = 10;
    double minimumDiameter = 18.0;  // in
    std::vector<double> sizes = {12, 15, 18, 21, 24, 27, 30, 33, 36,  42, 48,
                                 54, 60, 66, 72, 78, 84, 90, 96, 102, 108};
    // The shortest duration the intensity is read at (min); 0 reads the
    // table from its first row, as a project without pipes always has.
    double minimumDuration = 0.0;
    double minimumVelocity = 3.0;   // ft/s, full flow
    double maximumVelocity = 15.0;  // ft/s
    double minimumCover = 3.0;      // ft
    // The hydraulic grade line: the outfall's tailwater elevation (ft; none:
    // the pipe's own start level), the period checked besides the design
    // period, and the least height (ft) the water may stand below a rim.
    std::optional<double> tailwater;
    int checkYears = 100;
    double freeboard = 1.0;
};

// "12,15,18" as diameters in ascending order; nothing unless every item is a
// number and there is one at least.
std::optional<std::vector<double>> DiameterList(std::string_view text);

// Live pipes in the order added; none when the project has no pipe table.
std::vector<PipeRow> ReadPipes(const std::string& projectPath, bool withDeleted = false);
DesignSettings ReadDesignSettings(const std::string& projectPath);

// Writes the one settings row, making the table first. Runs inside the
// caller's write transaction.
void WriteDesignSettings(const std::string& projectPath, const DesignSettings& settings);
// Marks a pipe deleted (or live again, for Undo); false when no pipe of the
// other state has the tag.
bool SetPipeDeleted(const std::string& projectPath, const std::string& tag, bool deleted = true);

// Writes every field of a live pipe but its tag; false when none has the tag.
// No checks (see EditPipe). Runs inside the caller's write transaction.
bool WritePipeRow(const std::string& projectPath, const PipeRow& row);

// Adds a live pipe, making the table first; the tag is Pipe + the next number.
// No checks (see AddPipe). Runs inside the caller's write transaction.
std::string InsertPipeRow(const std::string& projectPath, PipeRow row);

}  // namespace torrenta
