#include "report/ReportComposer.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "checks/DesignChecks.h"
#include "network/StormProfile.h"
#include "report/PageFlow.h"
#include "report/ReportFont.h"
#include "report/TabLayout.h"
#include "solver/RationalMethod.h"
#include "store/Connection.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"
#include "text/DisplayWidth.h"
#include "text/NameText.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

constexpr const char* kCrLf = "\r\n";

// Where a design finding's sentence starts, clear of the longest code.
constexpr int kDesignCheckMessageStop = 2800;
// Where the detention section's method and release texts start.
constexpr int kDetentionValueColumn = 2400;

enum Style { kTitleStyle = 1, kHeadingStyle, kLabelStyle, kBodyStyle };

// A stored text as a report cell shows it: control characters as spaces, so
// a TAB or a line break in an older file never moves a value under another
// heading.
std::string Shown(const std::string& stored) {
    return ControlsAsSpaces(stored);
}

double Number(const std::string& stored) {
    return LeadingNumber(stored);
}

// A stored number in the report's plain form: "12.3000" prints as 12.3.
std::string General(double value) {
    return GeneralNumberText(value);
}
std::string General(const std::string& stored) {
    return General(Number(stored));
}

// Room left between a cell's text and the next column, so that a width a few
// twips off in one program or another still stops short of the column.
constexpr double kCellGap = 60.0;

// Ends a text cut short to fit its column, so no cut reads as a whole name.
constexpr std::string_view kEllipsis = "\u2026";

// One cell of a table row; a name or a type may be cut short to fit its
// column, a number never is.
struct Cell {
    std::string text;
    bool shortens = false;
    // An element's name carries its tag, so a cut name that reads like
    // another can be told apart in the full-names line.
    std::string tag = "";
};

std::string TabRun(int count) {
    return std::string(count > 0 ? count : 0, '\t');
}

class ReportComposer {
  public:
    ReportComposer(const NetworkSolution& solution, const ProjectInfoRow& info)
        : solution_(solution), info_(info) {}

    RichDocument ComposeDetention(const DetentionResult& detention) {
        out_.SetIndents(200, 300, 200);
        WriteDetention(detention);
        return out_.Take();
    }

    RichDocument Compose() {
        WriteBanner();
        WriteProjectInfo();
        WriteOverlandFlow();
        WriteShallowFlow();
        WriteChannelFlow();
        WriteNetwork();
        WriteRunoffRates();
        if (solution_.detention) {
            WriteDetention(*solution_.detention);
        }
        WriteDesignChecks();
        WriteFooter();
        RichDocument document = out_.Take();
        MarkKeepWithNext(document.paragraphs);
        // The pages carry the profile of the longest run of pipes.
        if (const std::optional<std::string> start =
                LongestRunStart(solution_.flow, solution_.grade)) {
            document.profile = ProfileToOutlet(solution_.layout, solution_.flow, solution_.grade,
                                               solution_.nodeName, *start);
        }
        return document;
    }

  private:
    // A style is also what the paragraph it starts is to the page flow.
    void ApplyStyle(Style style) {
        out_.SetRole(style == kTitleStyle     ? ParagraphRole::Title
                     : style == kHeadingStyle ? ParagraphRole::Heading
                                              : ParagraphRole::Body);
        out_.SetSize(style == kTitleStyle ? 12 : 10);
        out_.SetBold(style != kBodyStyle);
        out_.SetUnderline(style == kTitleStyle || style == kHeadingStyle);
        out_.SetItalic(style == kTitleStyle);
    }

    // n stops spaced Int(8000 / n) twips apart, the first at that width.
    void SetEqualTabs(int count) {
        const int width = 8000 / count;
        std::vector<int> stops(count);
        for (int k = 0; k < count; ++k) {
            stops[k] = width * (k + 1);
        }
        out_.SetTabStops(std::move(stops));
    }

    // Writes a table row so that each cell starts in its column: as many TABs
    // as there are stops up to the column (a short first cell stops at the
    // hanging indent first), and a name cut further where it would run into
    // the next column. `columns` holds the stop each cell after the first
    // starts at.
    void WriteRow(const std::vector<Cell>& cells, const std::vector<int>& columns) {
        const ParagraphFormat& paragraph = out_.CurrentParagraphFormat();
        const CharFormat& format = out_.CurrentCharFormat();
        const std::vector<int> stops = FirstLineStops(paragraph);
        double end = FirstLineStart(paragraph);
        std::string line;
        for (std::size_t k = 0; k < cells.size(); ++k) {
            if (k > 0) {
                const int column = columns[k - 1];
                do {
                    end = NextTabStop(stops, end);
                    line += '\t';
                } while (end < column);
            }
            std::string text = cells[k].text;
            const auto fits = [&](const std::string& piece) {
                return end + TextWidthTwips(piece, format) + kCellGap <= columns[k];
            };
            if (cells[k].shortens && k < columns.size() && !text.empty() && !fits(text)) {
                // Whole letters only, and the ellipsis inside the column too.
                const std::string shown = CutToFit(text, kEllipsis, fits);
                NoteShortened(shown, text, cells[k].tag);
                text = shown;
            }
            end += TextWidthTwips(text, format);
            line += text;
        }
        out_.Append(line);
    }

    // Each cut text with its whole (and the element's tag for a name), once,
    // in the order the rows show them.
    void NoteShortened(const std::string& shown, const std::string& full, const std::string& tag) {
        const std::string whole = tag.empty() ? full : full + " (" + tag + ")";
        const std::pair<std::string, std::string> entry{shown, whole};
        if (std::find(shortened_.begin(), shortened_.end(), entry) == shortened_.end()) {
            shortened_.push_back(entry);
        }
    }

    // Under a table that cut a name: the cuts spelled out, so a reviewer can
    // tell one element from another whose name starts alike.
    void WriteFullNames() {
        if (shortened_.empty()) {
            return;
        }
        std::string line = "Full names: ";
        for (std::size_t k = 0; k < shortened_.size(); ++k) {
            line += (k > 0 ? "; " : "") + shortened_[k].first + " " + shortened_[k].second;
        }
        out_.Append(line + kCrLf);
        shortened_.clear();
    }

    // An element off the Tc flow path shows its travel time in parentheses:
    // it is computed, but no total adds it.
    std::string PathTc(const std::string& tag, const std::string& tc) const {
        return solution_.OnTcPath(tag) ? General(tc) : "(" + General(tc) + ")";
    }

    void WriteBanner() {
        out_.SetSize(12);
        out_.SetSize(24);
        out_.SetBold(true);
        out_.Append("TORRENTA");
        out_.SetSize(11);
        out_.Append("  Version 1.0\r");
        out_.Append(kCrLf);
        out_.SetSize(12);
        out_.SetColor(kBlack);
        out_.SetBold(false);
        out_.SetItalic(false);
        out_.Append(kCrLf);
    }

    void WriteProjectInfo() {
        const ProjectInfoRow& info = info_;
        out_.SetIndents(200, 300, 200);
        out_.SetTabStops({720, 4000, 5440, 6880, 8320});
        const std::array<std::pair<const char*, const std::string*>, 5> lines = {{
            {"Project Name:", &info.ProjectName},
            {"Design Engineer:", &info.DesignEngineer},
            {"Project Manager:", &info.ProjectManager},
            {"Design Date:", &info.DesignDate},
            {"Job Number:", &info.JobNumber},
        }};
        for (const auto& [label, value] : lines) {
            WriteInfoLine(label, *value);
        }
        WriteRainfall();
        out_.Append(std::string(65, '-') + kCrLf);
    }

    void WriteInfoLine(const char* label, const std::string& value) {
        out_.SetBold(true);
        out_.Append(label);
        out_.SetBold(false);
        out_.Append("\t");
        out_.Append(Shown(value));
        out_.Append(kCrLf);
    }

    // Which outlet and which rainfall produced these flows, so two reports of
    // one network solved with different tables differ in their words too. A
    // long Source wraps under the value column: the hanging indent there is
    // also the first line's stop.
    void WriteRainfall() {
        WriteInfoLine("Outlet node:", solution_.nodeName);
        constexpr int kValueColumn = 4000;
        out_.SetIndents(200, kValueColumn - 200, 200);
        std::string table = solution_.intensityTable;
        if (!solution_.intensitySource.empty()) {
            table += " \u2014 " + solution_.intensitySource;
        }
        WriteInfoLine("Intensity table:", table);
        out_.SetIndents(200, 300, 200);
    }

    void WriteOverlandFlow() {
        const auto& rows = solution_.overland;
        if (rows.empty()) {
            return;
        }
        out_.SetBold(true);
        out_.SetUnderline(true);
        out_.SetItalic(true);
        out_.Append(kCrLf);
        out_.Append(kCrLf);
        out_.SetSize(12);
        out_.SetRole(ParagraphRole::Title);
        out_.Append("Overland Flow\r\n\r\n\r\n");
        out_.SetItalic(false);
        out_.SetSize(10);
        out_.SetBold(true);
        out_.SetUnderline(true);
        out_.Append("Time Of Concentration\r\n\r\n");
        out_.SetRole(ParagraphRole::Heading);

        out_.SetSize(10);
        out_.SetBold(true);
        out_.SetUnderline(true);
        std::vector<int> stops = {1500};
        for (int k = 1; k < 7; ++k) {
            stops.push_back(stops.back() + 1200);
        }
        stops[4] += 200;
        stops[6] -= 200;
        out_.SetTabStops(stops);
        out_.Append("Name\tArea\t");
        out_.Append("Slope\tL\tType\tn\tTc\t");
        out_.Append(kCrLf);
        out_.SetBold(false);
        out_.SetUnderline(false);
        out_.SetRole(ParagraphRole::Body);

        double lengthTotal = 0.0;
        for (const auto& row : rows) {
            out_.SetSize(10);
            WriteRow({{Shown(row.BasinName), true, row.BasinTag},
                      {General(row.Area)},
                      {General(row.Slope)},
                      {General(row.TravelLength)},
                      {Shown(row.BasinNType), true},
                      {General(row.BasinN)},
                      {PathTc(row.BasinTag, row.Tc)}},
                     {stops.begin(), stops.begin() + 6});
            out_.Append(kCrLf);
        }
        out_.SetUnderline(true);
        out_.SetRole(ParagraphRole::Heading);
        out_.Append(TabRun(8) + kCrLf);
        out_.SetRole(ParagraphRole::Body);
        out_.SetUnderline(false);

        for (const auto& row : rows) {
            lengthTotal += Number(row.TravelLength);
        }
        out_.SetSize(10);
        out_.Append("TOTAL\t" + General(solution_.TotalArea) + "\t\t" + General(lengthTotal));
        out_.Append("\t\t\t" + General(solution_.OverlandTcSum) + kCrLf);
        WriteFullNames();
        out_.Append("\r\n\r\n\r\n");
        out_.Append(" ");
        out_.Append("\n");

        out_.SetBold(true);
        out_.SetUnderline(true);
        out_.SetSize(10);
        out_.SetRole(ParagraphRole::Title);
        out_.Append("Average Runoff Coefficient\r\n\r\n");
        stops = {2000};
        for (int k = 1; k < 6; ++k) {
            stops.push_back(stops.back() + 1000);
        }
        stops[1] = 4000;
        out_.SetTabStops(stops);
        out_.SetSize(10);
        out_.SetBold(true);
        out_.SetUnderline(true);
        out_.SetRole(ParagraphRole::Heading);
        out_.Append("Name\tUse\ta\ta/A\tC\tCA\t\r\n");
        out_.SetRole(ParagraphRole::Body);
        out_.SetUnderline(false);
        out_.SetBold(false);

        const auto share = [&](const BasinRow& row) { return solution_.AreaShare(row); };
        for (const auto& row : rows) {
            out_.SetSize(10);
            WriteRow({{Shown(row.BasinName), true, row.BasinTag},
                      {Shown(row.SoilType), true},
                      {General(row.Area)},
                      {FormatFixed(share(row), 3)},
                      {General(row.CVal)},
                      {FormatFixed(share(row) * Number(row.CVal), 4)}},
                     {2000, 4000, 5000, 6000, 7000});
            out_.Append(kCrLf);
        }
        out_.SetUnderline(true);
        out_.SetRole(ParagraphRole::Heading);
        out_.Append(TabRun(8) + kCrLf);
        out_.SetRole(ParagraphRole::Body);
        out_.SetUnderline(false);
        out_.SetSize(10);
        out_.Append("TOTAL\t\t" + General(solution_.TotalArea) + "\t\t\t");
        out_.Append(FormatFixed(solution_.WeightedC, 4));
        out_.Append(kCrLf);
        WriteFullNames();
        out_.Append(kCrLf);
        out_.SetBold(false);
    }

    void WriteShallowFlow() {
        const auto& rows = solution_.shallow;
        if (rows.empty()) {
            return;
        }
        ApplyStyle(kTitleStyle);
        out_.Append("Shallow Concentrated Flow\r\n\r\n");
        SetEqualTabs(6);
        ApplyStyle(kHeadingStyle);
        out_.Append("Name\tType\tSlope \tLength\tV(fps)\tTc(min)\r\n");
        ApplyStyle(kBodyStyle);
        double lengthTotal = 0.0;
        for (const auto& row : rows) {
            out_.SetSize(10);
            const std::vector<int>& stops = out_.TabStops();
            WriteRow({{Shown(row.SurfName), true, row.SurfTag},
                      {Shown(row.SurfType), true},
                      {General(row.SurfSlope)},
                      {General(row.SurfLength)},
                      {General(row.SurfVelocity)},
                      {PathTc(row.SurfTag, row.SurfTc)}},
                     {stops.begin(), stops.begin() + 5});
            out_.Append(kCrLf);
        }
        ApplyStyle(kHeadingStyle);
        out_.Append(TabRun(static_cast<int>(out_.TabStops().size()) + 1) + kCrLf);
        ApplyStyle(kBodyStyle);
        out_.Append("TOTAL" + TabRun(3));
        for (const auto& row : rows) {
            lengthTotal += Number(row.SurfLength);
        }
        out_.Append(General(lengthTotal) + TabRun(2));
        out_.Append(General(solution_.ShallowTcSum) + kCrLf);
        WriteFullNames();
        out_.Append(kCrLf);
    }

    void WriteChannelFlow() {
        const auto& rows = solution_.channel;
        if (rows.empty()) {
            return;
        }
        out_.Append(kCrLf);
        ApplyStyle(kTitleStyle);
        out_.Append("Channel Flow");
        out_.Append("\r\n\r\n");
        SetEqualTabs(12);
        std::vector<int> stops = out_.TabStops();
        stops[1] = stops[0] + 2 * stops[0];
        stops[5] = stops[4] + 2 * stops[0];
        out_.SetTabStops(stops);
        ApplyStyle(kHeadingStyle);
        out_.Append("Name\tL\tn\tMaterial\tS\tA\tWP\tV\tTc\r\n");
        double lengthTotal = 0.0;
        for (const auto& row : rows) {
            ApplyStyle(kBodyStyle);
            // The heading's L, n, S, A and WP stand at the widened stops, so
            // the 666 stop only ever catches a short name's first TAB.
            WriteRow({{Shown(row.ChannelName), true, row.ChannelTag},
                      {General(row.ChannelLength)},
                      {General(row.ChannelN)},
                      {Shown(row.ChannelMaterial), true},
                      {General(row.ChannelSlope)},
                      {General(row.ChannelArea)},
                      {General(row.ChannelWP)},
                      {FormatFixed(Number(row.ChannelVelocity), 2)},
                      {PathTc(row.ChannelTag, row.ChannelTc)}},
                     {1998, 2664, 3330, 4662, 5328, 5994, 6660, 7326});
            out_.Append(kCrLf);
        }
        for (const auto& row : rows) {
            lengthTotal += Number(row.ChannelLength);
        }
        out_.Append(kCrLf);
        ApplyStyle(kHeadingStyle);
        out_.Append(TabRun(11) + kCrLf);
        ApplyStyle(kBodyStyle);
        out_.Append("TOTAL\t" + General(lengthTotal) + TabRun(7) + General(solution_.ChannelTcSum));
        out_.Append(kCrLf);
        WriteFullNames();
        out_.Append(kCrLf);
    }

    // A project with design points: where everything drains, the flow at each
    // point, and a summary of all of them. The outlet's own block is the
    // runoff rates that follow.
    void WriteNetwork() {
        if (solution_.layout.points.empty()) {
            return;
        }
        std::map<std::string, std::pair<std::string, std::string>> named;  // tag -> name, kind
        for (const auto& row : solution_.overland) {
            named[row.BasinTag] = {row.BasinName, "overland"};
        }
        for (const auto& row : solution_.shallow) {
            named[row.SurfTag] = {row.SurfName, "shallow"};
        }
        for (const auto& row : solution_.channel) {
            named[row.ChannelTag] = {row.ChannelName, "channel"};
        }
        for (const PointRow& point : solution_.layout.points) {
            named[point.PointTag] = {point.PointName, point.PointKind};
        }
        named[std::string(kOutletTag)] = {solution_.nodeName, "outlet"};
        for (const PipeRow& pipe : solution_.layout.pipes) {
            named[pipe.PipeTag] = {pipe.PipeName, "pipe"};
        }
        const auto nameOf = [&](const std::string& tag) { return named[tag].first; };
        // Times in the pipes have every digit: two decimals then, as the sheet.
        const auto minutes = [&](double value) {
            return solution_.layout.pipes.empty() ? General(value) : FormatFixed(value, 2);
        };
        const std::vector<int> stops = out_.TabStops();

        out_.Append("\r\n\r\n");
        ApplyStyle(kTitleStyle);
        out_.Append("Drainage Network\r\n\r\n");
        const std::vector<int> columns = {2400, 3700, 4800, 6200, 7300};
        out_.SetTabStops(columns);
        ApplyStyle(kHeadingStyle);
        WriteRow({{"Name"}, {"Tag"}, {"Kind"}, {"Downstream"}, {"Tt(min)"}, {"T(min)"}}, columns);
        out_.Append(kCrLf);
        ApplyStyle(kBodyStyle);
        for (const FlowStep& step : solution_.flow.order) {
            WriteRow({{Shown(nameOf(step.tag)), true, step.tag},
                      {step.tag},
                      {named[step.tag].second},
                      {step.drainsTo},
                      {minutes(step.travelTime)},
                      {step.reached ? minutes(step.arrival) : std::string("-")}},
                     columns);
            out_.Append(kCrLf);
        }
        WriteFullNames();

        for (const PointFlow& point : solution_.flow.points) {
            if (point.tag == kOutletTag) {
                continue;
            }
            out_.Append(kCrLf);
            ApplyStyle(kTitleStyle);
            out_.Append("Design Point " + Shown(point.name) + " (" + point.tag + ")\r\n\r\n");
            ApplyStyle(kBodyStyle);
            out_.SetIndents(200, kDetentionValueColumn - 200, 200);
            out_.SetTabStops({kDetentionValueColumn});
            std::string path;
            for (const std::string& tag : point.path) {
                path += (path.empty() ? "" : ", ") + Shown(nameOf(tag));
            }
            WriteInfoLine("Drains to:", nameOf(point.drainsTo) + " (" + point.drainsTo + ")");
            WriteInfoLine("Own area (ac):", General(point.ownArea));
            WriteInfoLine("Total area (ac):", General(point.totalArea));
            WriteInfoLine("Weighted C:", FormatFixed(point.weightedC, 4));
            WriteInfoLine("Sum CA, 10-yr:", FormatFixed(point.sumCA[3], 4));
            WriteInfoLine("Tc (min):", General(point.tc));
            WriteInfoLine("Flow path:", path.empty() ? std::string("no element") : path);
            out_.SetIndents(200, 300, 200);
            out_.Append(kCrLf);
            SetEqualTabs(8);
            WritePeriodTable([&](std::size_t k) { return FormatFixed(point.intensity[k], 2); },
                             [&](std::size_t k) { return FormatFixed(point.peakFlow[k], 2); });
        }

        WriteStormDrains();
        WriteGradeLine();

        out_.Append("\r\n\r\n");
        ApplyStyle(kTitleStyle);
        out_.Append("Site Summary\r\n\r\n");
        const std::vector<int> summary = {2000, 2900, 3700, 4700, 5500,
                                          6300, 7100, 7900, 8700, 9500};
        out_.SetTabStops(summary);
        ApplyStyle(kHeadingStyle);
        WriteRow({{"Point"},
                  {"A(ac)"},
                  {"C"},
                  {"Tc(min)"},
                  {"Q1"},
                  {"Q2"},
                  {"Q5"},
                  {"Q10"},
                  {"Q25"},
                  {"Q50"},
                  {"Q100"}},
                 summary);
        out_.Append(kCrLf);
        ApplyStyle(kBodyStyle);
        for (const PointFlow& point : solution_.flow.points) {
            std::vector<Cell> cells = {{Shown(nameOf(point.tag)), true, point.tag},
                                       {General(point.totalArea)},
                                       {FormatFixed(point.weightedC, 4)},
                                       {FormatFixed(point.tc, 2)}};
            for (const float q : point.peakFlow) {
                cells.push_back({FormatFixed(q, 2)});
            }
            WriteRow(cells, summary);
            out_.Append(kCrLf);
        }
        // The pipes' flows per period under the points'.
        for (const PipeFlow& pipe : solution_.flow.pipes) {
            std::vector<Cell> cells = {{Shown(pipe.name), true, pipe.tag}, {"-"}, {"-"}, {"-"}};
            for (const PipePeriod& period : pipe.periods) {
                cells.push_back({FormatFixed(period.flow, 2)});
            }
            WriteRow(cells, summary);
            out_.Append(kCrLf);
        }
        WriteFullNames();
        out_.SetTabStops(stops);
    }

    // The storm drain computation sheet for the design period: the hydrology
    // of each pipe's upper point, then the pipe's hydraulics, one line per
    // pipe in flow order.
    void WriteStormDrains() {
        if (solution_.flow.pipes.empty()) {
            return;
        }
        std::map<std::string, const PointFlow*> points;
        for (const PointFlow& point : solution_.flow.points) {
            points[point.tag] = &point;
        }
        const DesignSettings& settings = solution_.layout.settings;
        std::size_t design = 3;
        for (std::size_t k = 0; k < solution_.periods.size(); ++k) {
            if (solution_.periods[k].years == settings.designYears) {
                design = k;
            }
        }
        out_.Append("\r\n\r\n");
        ApplyStyle(kTitleStyle);
        out_.Append("Storm Drain Design (" + std::to_string(settings.designYears) +
                    "-year)\r\n\r\n");
        ApplyStyle(kHeadingStyle);
        out_.Append("Hydrology\r\n");
        // Incremental and total area and CA, the inlet time and the system's.
        const std::vector<int> hydrology = {1800, 2650, 3500, 4200, 4950, 5600,
                                            6350, 7150, 7850, 8600, 9300, 10000};
        out_.SetTabStops(hydrology);
        WriteRow({{"Pipe"},
                  {"From"},
                  {"To"},
                  {"A"},
                  {"Sum-A"},
                  {"C"},
                  {"CA"},
                  {"Sum-CA"},
                  {"Ti"},
                  {"Tc"},
                  {"I"},
                  {"Q"}},
                 hydrology);
        out_.Append(kCrLf);
        ApplyStyle(kBodyStyle);
        WriteRow({{""},
                  {""},
                  {""},
                  {"(ac)"},
                  {"(ac)"},
                  {""},
                  {"(ac)"},
                  {"(ac)"},
                  {"(min)"},
                  {"(min)"},
                  {"(in/hr)"},
                  {"(cfs)"}},
                 hydrology);
        out_.Append(kCrLf);
        for (const PipeFlow& pipe : solution_.flow.pipes) {
            const PointFlow& from = *points.at(pipe.from);
            const double ownCA = CappedCoefficient(from.ownC, settings.designYears) * from.ownArea;
            WriteRow({{Shown(pipe.name), true, pipe.tag},
                      {pipe.from},
                      {pipe.to},
                      {FormatFixed(from.ownArea, 2)},
                      {FormatFixed(from.totalArea, 2)},
                      {FormatFixed(from.weightedC, 3)},
                      {FormatFixed(ownCA, 3)},
                      {FormatFixed(from.sumCA[design], 3)},
                      {from.ownArea > 0.0 ? FormatFixed(from.inletTime, 2) : std::string("-")},
                      {FormatFixed(from.tcByPeriod[design], 2)},
                      {FormatFixed(from.intensity[design], 2)},
                      {FormatFixed(from.peakFlow[design], 2)}},
                     hydrology);
            out_.Append(kCrLf);
        }
        WriteFullNames();
        out_.Append(kCrLf);
        ApplyStyle(kHeadingStyle);
        out_.Append("Hydraulics\r\n");
        const bool inverts =
            std::any_of(solution_.flow.pipes.begin(), solution_.flow.pipes.end(),
                        [](const PipeFlow& pipe) { return pipe.invertUp.has_value(); });
        std::vector<int> hydraulics = {1800, 2500, 3300, 3950, 4650, 5300,
                                       6000, 6700, 7400, 8000, 8650};
        std::vector<Cell> heading = {{"Pipe"},  {"L"},     {"S"}, {"n"},   {"D-req"}, {"D"},
                                     {"Qfull"}, {"Vfull"}, {"V"}, {"y/D"}, {"Tt"}};
        std::vector<Cell> units = {{""},      {"(ft)"},   {"(ft/ft)"}, {""}, {"(in)"}, {"(in)"},
                                   {"(cfs)"}, {"(ft/s)"}, {"(ft/s)"},  {""}, {"(min)"}};
        if (inverts) {
            hydraulics.insert(hydraulics.end(), {9500, 10350});
            heading.insert(heading.end(), {{"Inv-up"}, {"Inv-dn"}});
            units.insert(units.end(), {{"(ft)"}, {"(ft)"}});
        }
        out_.SetTabStops(hydraulics);
        WriteRow(heading, hydraulics);
        out_.Append(kCrLf);
        ApplyStyle(kBodyStyle);
        WriteRow(units, hydraulics);
        out_.Append(kCrLf);
        bool given = false;
        bool pressure = false;
        for (const PipeFlow& pipe : solution_.flow.pipes) {
            const PipePeriod& period = pipe.periods[design];
            given = given || pipe.diameterGiven;
            pressure = pressure || period.pressure;
            std::vector<Cell> cells = {
                {Shown(pipe.name), true, pipe.tag},
                {General(pipe.length)},
                {FormatFixed(pipe.slope, 4)},
                {General(pipe.n)},
                {pipe.diameterRequired ? FormatFixed(*pipe.diameterRequired, 1) : std::string("-")},
                {General(pipe.diameter) + (pipe.diameterGiven ? "*" : "")},
                {FormatFixed(pipe.fullFlow, 2)},
                {FormatFixed(pipe.fullVelocity, 2)},
                {FormatFixed(period.velocity, 2) + (period.pressure ? "p" : "")},
                {period.pressure ? std::string("full") : FormatFixed(period.depthRatio, 2)},
                {FormatFixed(period.travelTime, 2)}};
            if (inverts) {
                cells.push_back({pipe.invertUp ? FormatFixed(*pipe.invertUp, 2) : "-"});
                cells.push_back({pipe.invertDown ? FormatFixed(*pipe.invertDown, 2) : "-"});
            }
            WriteRow(cells, hydraulics);
            out_.Append(kCrLf);
        }
        WriteFullNames();
        if (given) {
            out_.Append("* diameter given, not sized" + std::string(kCrLf));
        }
        if (pressure) {
            out_.Append("p flowing full under pressure: V = Q / A full" + std::string(kCrLf));
        }
    }

    // The hydraulic grade line of each period, up from the outfall: each pipe
    // as the water climbs it, then the structure at its upper end.
    void WriteGradeLine() {
        if (solution_.flow.pipes.empty()) {
            return;
        }
        const HydraulicGrade& grade = solution_.grade;
        if (!grade.Computed()) {
            out_.Append(kCrLf);
            ApplyStyle(kBodyStyle);
            std::string tags;
            for (std::size_t i = 0; i < grade.missingInverts.size(); ++i) {
                tags += (i == 0                                 ? ""
                         : i + 1 == grade.missingInverts.size() ? " and "
                                                                : ", ") +
                        grade.missingInverts[i];
            }
            out_.Append("The hydraulic grade line is not computed: " + tags +
                        (grade.missingInverts.size() == 1 ? " is" : " are") +
                        " not laid by inverts." + std::string(kCrLf));
            return;
        }
        std::map<std::string, std::string> names;
        for (const PointRow& point : solution_.layout.points) {
            names[point.PointTag] = point.PointName;
        }
        const std::vector<int> pipes = {1800, 2350, 3050, 3700, 4250, 4800,
                                        5750, 6700, 7600, 8200, 9150};
        const std::vector<int> structures = {1800, 2700, 3350, 3900, 4550, 5500, 6450, 7400};
        for (const GradePeriod& period : grade.periods) {
            out_.Append("\r\n\r\n");
            ApplyStyle(kTitleStyle);
            out_.Append("Hydraulic Grade Line (" + std::to_string(period.years) + "-year)\r\n\r\n");
            ApplyStyle(kBodyStyle);
            const std::optional<double>& tailwater = solution_.layout.settings.tailwater;
            out_.Append("At the outlet the line starts at " + FormatFixed(period.outfallLevel, 2) +
                        " ft, the higher of " +
                        (tailwater ? "the tailwater " + FormatFixed(*tailwater, 2) + " ft"
                                   : std::string("the tailwater (none given)")) +
                        " and the invert + (yc + D) / 2." + std::string(kCrLf) +
                        std::string(kCrLf));
            ApplyStyle(kHeadingStyle);
            out_.SetTabStops(pipes);
            WriteRow({{"Pipe"},
                      {"D"},
                      {"Q"},
                      {"L"},
                      {"yn"},
                      {"yc"},
                      {"W"},
                      {"HGL-dn"},
                      {"Sf"},
                      {"Hf"},
                      {"HGL-up"},
                      {"Flow"}},
                     pipes);
            out_.Append(kCrLf);
            ApplyStyle(kBodyStyle);
            WriteRow({{""},
                      {"(in)"},
                      {"(cfs)"},
                      {"(ft)"},
                      {"(ft)"},
                      {"(ft)"},
                      {"(ft)"},
                      {"(ft)"},
                      {"(ft/ft)"},
                      {"(ft)"},
                      {"(ft)"},
                      {""}},
                     pipes);
            out_.Append(kCrLf);
            for (const GradePipe& pipe : period.pipes) {
                WriteRow({{Shown(pipe.name), true, pipe.tag},
                          {General(pipe.diameter)},
                          {FormatFixed(pipe.flow, 2)},
                          {General(pipe.length)},
                          {pipe.normalDepth ? FormatFixed(*pipe.normalDepth, 2) : "-"},
                          {FormatFixed(pipe.criticalDepth, 2)},
                          {FormatFixed(pipe.downstreamLevel, 2)},
                          {FormatFixed(pipe.hglDown, 2)},
                          {FormatFixed(pipe.frictionSlope, 5)},
                          {FormatFixed(pipe.frictionLoss, 2)},
                          {FormatFixed(pipe.hglUp, 2)},
                          {std::string(GradeStateWord(pipe.state)) +
                           (pipe.plunging ? ", plunging" : "")}},
                         pipes);
                out_.Append(kCrLf);
            }
            WriteFullNames();
            out_.Append(kCrLf);
            ApplyStyle(kHeadingStyle);
            out_.SetTabStops(structures);
            WriteRow({{"Structure"},
                      {"Out"},
                      {"Vo"},
                      {"K"},
                      {"Loss"},
                      {"HGL"},
                      {"EGL"},
                      {"Rim"},
                      {"Freeboard"}},
                     structures);
            out_.Append(kCrLf);
            ApplyStyle(kBodyStyle);
            WriteRow(
                {{""}, {""}, {"(ft/s)"}, {""}, {"(ft)"}, {"(ft)"}, {"(ft)"}, {"(ft)"}, {"(ft)"}},
                structures);
            out_.Append(kCrLf);
            for (std::size_t i = 0; i < period.pipes.size(); ++i) {
                const GradePipe& pipe = period.pipes[i];
                const GradePoint& point = period.points[i];
                WriteRow({{Shown(names[pipe.from]), true, pipe.from},
                          {pipe.tag},
                          {FormatFixed(pipe.velocityUp, 2)},
                          {General(pipe.lossCoefficient)},
                          {FormatFixed(pipe.structureLoss, 2)},
                          {FormatFixed(point.hgl, 2)},
                          {FormatFixed(point.egl, 2)},
                          {point.rim ? FormatFixed(*point.rim, 2) : "-"},
                          {point.freeboard ? FormatFixed(*point.freeboard, 2) : "-"}},
                         structures);
                out_.Append(kCrLf);
            }
            WriteFullNames();
        }
    }

    void WriteRunoffRates() {
        out_.Append("\r\n\r\n");
        ApplyStyle(kTitleStyle);
        out_.Append("Runoff Rate Calculations");
        out_.Append("\r\n\r\n");
        out_.SetTabStops({1000, 5000, 8000});
        ApplyStyle(kBodyStyle);
        out_.Append("Overland Flow Tc \t: " + General(solution_.OverlandTcSum) + "\r");
        out_.Append("Shallow Concentrated Flow Tc\t: " + General(solution_.ShallowTcSum) + "\r");
        const bool pipes = !solution_.layout.pipes.empty();
        out_.SetUnderline(!pipes);
        out_.Append("Channel Flow Tc\t: " + General(solution_.ChannelTcSum) + "\r");
        if (pipes) {
            out_.SetUnderline(true);
            out_.Append("Pipe Flow Tc\t: " + General(solution_.PipeTcSum) + "\r");
        }
        out_.SetUnderline(false);
        out_.Append("TOTAL Tc (min)\t: " + General(solution_.TotalTc) + kCrLf);
        WriteTcPath();
        out_.Append("\r\n\r\n");
        out_.SetSize(10);
        out_.Append("Q = C * Cf * A * I");
        out_.SetBold(true);
        out_.SetUnderline(true);
        out_.Append("\r\n\r\n");
        SetEqualTabs(8);
        const auto& periods = solution_.periods;
        WritePeriodTable([&](std::size_t k) { return periods[k].intensityShown; },
                         [&](std::size_t k) { return periods[k].peakFlowShown; });
    }

    // Named only when some element is off the path; otherwise every element
    // forms it and the report reads as it always did.
    void WriteTcPath() {
        if (!solution_.HasOffPathElement()) {
            return;
        }
        std::string names;
        const auto add = [&](const std::string& tag, const std::string& name) {
            if (solution_.OnTcPath(tag)) {
                names += (names.empty() ? "" : ", ") + Shown(name);
            }
        };
        for (const auto& row : solution_.overland) {
            add(row.BasinTag, row.BasinName);
        }
        for (const auto& row : solution_.shallow) {
            add(row.SurfTag, row.SurfName);
        }
        for (const auto& row : solution_.channel) {
            add(row.ChannelTag, row.ChannelName);
        }
        out_.Append("Tc flow path: " + (names.empty() ? std::string("no element") : names) + kCrLf);
    }

    // The seven periods' heading, then the I and Q rows.
    template <class Intensity, class Flow>
    void WritePeriodTable(const Intensity& intensity, const Flow& flow) {
        ApplyStyle(kHeadingStyle);
        // Two TABs: the first stops at the hanging indent, the second at the
        // first period's column, where the rows below start their values.
        out_.Append("\t\t1Yr\t2Yr\t5Yr\t10Yr\t25Yr\t50Yr\t100Yr\r\n");
        ApplyStyle(kLabelStyle);
        out_.Append("I(in/hr)\t");
        ApplyStyle(kBodyStyle);
        WriteResultRow(intensity);
        ApplyStyle(kLabelStyle);
        out_.Append("Q(cfs)\t");
        ApplyStyle(kBodyStyle);
        WriteResultRow(flow);
    }

    template <class Shown>
    void WriteResultRow(Shown shown) {
        const std::size_t count = solution_.periods.size();
        for (std::size_t k = 0; k < count; ++k) {
            out_.Append(shown(k) + (k + 1 < count ? "\t" : kCrLf));
        }
    }

    // The pond the stored inputs need, after the peak flows it starts from.
    // Durations, intensities and flows with two decimals like the runoff
    // table; the volume in whole cubic feet and in acre-feet.
    void WriteDetention(const DetentionResult& detention) {
        const DetentionSweep& sweep = detention.sweep;
        const std::vector<int> runoffStops = out_.TabStops();
        out_.Append("\r\n\r\n");
        ApplyStyle(kTitleStyle);
        out_.Append("Detention Storage (Modified Rational Method)");
        out_.Append("\r\n\r\n");
        ApplyStyle(kBodyStyle);
        // A long release text wraps under its value, as the rainfall line does.
        out_.SetIndents(200, kDetentionValueColumn - 200, 200);
        out_.SetTabStops({kDetentionValueColumn});
        WriteInfoLine("Method:", DetentionMethodText(sweep.method));
        WriteInfoLine("Allowable release:", ReleaseSourceText(detention));
        WriteInfoLine("Storm durations:",
                      sweep.tc < sweep.longestDuration
                          ? "Tc (" + General(sweep.tc) + " min) to " +
                                General(sweep.longestDuration) + " min in steps of 1 min"
                          : "Tc (" + General(sweep.tc) +
                                " min) only: Tc exceeds the table's longest duration (" +
                                General(sweep.longestDuration) +
                                " min), so one storm of Tc is sized on that duration's "
                                "intensity");
        out_.SetIndents(200, 300, 200);
        out_.Append(kCrLf);

        const std::vector<int> columns = {1000, 2200, 3400, 4600, 5800, 7000};
        out_.SetTabStops(columns);
        ApplyStyle(kHeadingStyle);
        WriteRow({{"Period"},
                  {"Qo(cfs)"},
                  {"Td(min)"},
                  {"I(in/hr)"},
                  {"Qi(cfs)"},
                  {"V(ft\u00b3)"},
                  {"V(ac-ft)"}},
                 columns);
        out_.Append(kCrLf);
        ApplyStyle(kBodyStyle);
        bool atTableEnd = false;
        for (const DetentionPeriod& period : sweep.periods) {
            const std::string years = std::to_string(period.years) + "Yr";
            const std::string release = FormatFixed(period.release, 2);
            if (!period.storageNeeded) {
                WriteRow({{years}, {release}, {"No storage needed"}}, columns);
            } else {
                atTableEnd = atTableEnd || period.atTableEnd;
                WriteRow(
                    {{years},
                     {release},
                     {FormatFixed(period.criticalDuration, 2) + (period.atTableEnd ? "*" : "")},
                     {period.intensityShown},
                     {period.inflowShown},
                     {FormatFixed(period.storage, 0)},
                     {FormatFixed(period.storageAcreFeet, 3)}},
                    columns);
            }
            out_.Append(kCrLf);
        }
        if (atTableEnd) {
            out_.Append(
                "* The critical duration is the table's longest duration; a longer "
                "storm may need more storage." +
                std::string(kCrLf));
        }
        // The checks and the footer's rule run across the runoff table's stops.
        out_.SetTabStops(runoffStops);
    }

    // Only when a check applies: a design without findings keeps its report
    // exactly as it always was.
    void WriteDesignChecks() {
        const std::vector<DesignFinding> findings = CheckDesign(solution_);
        if (findings.empty()) {
            return;
        }
        const std::vector<int> stops = out_.TabStops();
        out_.Append("\r\n\r\n");
        ApplyStyle(kTitleStyle);
        out_.Append("Design Checks");
        out_.Append("\r\n\r\n");
        out_.SetTabStops({kDesignCheckMessageStop});
        for (const DesignFinding& finding : findings) {
            ApplyStyle(kLabelStyle);
            out_.Append(finding.code + "\t");
            ApplyStyle(kBodyStyle);
            out_.Append(Shown(finding.message) + " (" + finding.reference + ")" + kCrLf);
        }
        // The footer's rule runs across the runoff table's stops.
        out_.SetTabStops(stops);
    }

    void WriteFooter() {
        out_.Append("\r\n\r\n\r\n");
        ApplyStyle(kHeadingStyle);
        out_.Append(TabRun(8) + kCrLf);
        ApplyStyle(kBodyStyle);
        out_.SetSize(8);
        out_.SetColor(kPureBlue);
        out_.Append("It's the engineer's responsibility to check the results of this software\r");
        out_.Append("There are no warranties implied or expressed, including but not\r");
        out_.Append(
            "limited to implied warranties of merchantability and fitness for a particular "
            "purpose\r\r");
        out_.Append("Copyright (c) 2026 Quillmoor Foundry. All rights reserved.\r");
        out_.Append("Support: support@quillmoor.example - www.quillmoor.example\r\r");
    }

    const NetworkSolution& solution_;
    const ProjectInfoRow& info_;
    RichTextBuilder out_;
    std::vector<std::pair<std::string, std::string>> shortened_;  // shown, whole
};

}  // namespace

RichDocument ComposeReport(const NetworkSolution& solution, const ProjectInfoRow& info) {
    RichDocument document = ReportComposer(solution, info).Compose();
    document.footer = PageFooter{info.ProjectName, info.JobNumber};
    return document;
}

RichDocument ComposeDetentionSection(const DetentionResult& detention) {
    const NetworkSolution none;
    const ProjectInfoRow noInfo;
    return ReportComposer(none, noInfo).ComposeDetention(detention);
}

ComposedReport ComposeReport(const ReportInputs& inputs) {
    const SharedConnections oneConnectionPerFile;
    ComposedReport report;
    report.solution =
        SolveProject(inputs.projectPath, inputs.appFolder, inputs.intensityTableName, inputs.flags);
    report.document = ComposeReport(report.solution,
                                    ReadProjectInfo(inputs.projectPath).value_or(ProjectInfoRow{}));
    return report;
}

}  // namespace torrenta
