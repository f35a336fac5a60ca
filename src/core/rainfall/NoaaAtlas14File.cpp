#include "rainfall/NoaaAtlas14File.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "rainfall/InputFile.h"
#include "rainfall/IntensityPlausibility.h"
#include "text/NameText.h"
#include "text/NumberText.h"
#include "text/Utf8Text.h"

namespace torrenta {
namespace {

// The row labels of the table's ten durations as the files print them.
constexpr std::array<std::string_view, 10> kRowLabels = {
    "5-min", "10-min", "15-min", "30-min", "60-min", "2-hr", "3-hr", "6-hr", "12-hr", "24-hr"};

constexpr double kMillimetresPerInch = 25.4;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && Lower(text.substr(0, prefix.size())) == prefix;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\"");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\"");
    return text.substr(first, last - first + 1);
}

// A spreadsheet pads every line with commas to the widest row.
std::string_view WithoutPadding(std::string_view line) {
    const auto last = line.find_last_not_of(", \t");
    return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const auto comma = line.find(',', start);
        fields.push_back(Trim(line.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::string BrokenUtf8(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    std::string shown;
    for (std::size_t k = at; k < bytes.size() && k < at + 4; ++k) {
        const auto u = static_cast<unsigned char>(bytes[k]);
        if (k > at && (u & 0xC0) != 0x80) {
            break;
        }
        constexpr char kHex[] = "0123456789ABCDEF";
        shown += std::string(shown.empty() ? "" : " ") + "0x" + kHex[u >> 4] + kHex[u & 0xF];
    }
    const char* kind =
        lead <= 0xC1 || (lead == 0xE0 && second < 0xA0) || (lead == 0xF0 && second < 0x90)
            ? "an overlong form"
        : lead == 0xED && second >= 0xA0                   ? "a surrogate (U+D800 to U+DFFF)"
        : lead >= 0xF5 || (lead == 0xF4 && second >= 0x90) ? "a code point above U+10FFFF"
                                                           : "a sequence cut short";
    return shown + ", " + kind;
}

// Downloads are ASCII apart from the degree sign, which comes as UTF-8 or as
// Latin-1 depending on who saved the file last, with or without a byte order
// mark; the program keeps UTF-8. A byte that starts no UTF-8 sequence is
// Latin-1; one that starts a broken sequence means a damaged file, refused so
// that no malformed text reaches the Source.
std::string AsUtf8(std::string_view bytes, std::string_view fileName) {
    std::string text;
    text.reserve(bytes.size() + 16);
    std::size_t line = 1;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto u = static_cast<unsigned char>(bytes[i]);
        const auto where = [&] { return std::string(fileName) + ", line " + std::to_string(line); };
        if (u < 0x80) {
            if (u < 0x20 && u != '\n' && u != '\r' && u != '\t') {
                throw InputError(where() +
                                 " holds bytes that are not text (a binary or UTF-16 file); it "
                                 "cannot be read as a NOAA Atlas 14 file.");
            }
            if (u == '\n' || (u == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) {
                ++line;
            }
            text += bytes[i++];
            continue;
        }
        if (const Utf8Character character = DecodeUtf8(bytes, i); character.valid) {
            text.append(bytes.substr(i, character.length));
            i += character.length;
            continue;
        }
        const bool startsSequence = u >= 0xC0 && u <= 0xF7 && i + 1 < bytes.size() &&
                                    (static_cast<unsigned char>(bytes[i + 1]) & 0xC0) == 0x80;
        if (startsSequence) {
            throw InputError(where() + " holds bytes that are not valid UTF-8 (" +
                             BrokenUtf8(bytes, i) + "): the file is damaged; download it again.");
        }
        text += static_cast<char>(0xC0 | (u >> 6));
        text += static_cast<char>(0x80 | (u & 0x3F));
        ++i;
    }
    return text;
}

enum class Units { InchesPerHour, Inches, MillimetresPerHour, Millimetres };

struct Row {
    std::size_t line = 0;
    std::vector<std::string_view> fields;
};

struct Block {
    NoaaBlock kind;
    std::size_t headerLine = 0;
    std::string_view headerText;           // the heading as written, separators and all
    std::vector<std::string_view> header;  // the return periods' texts
    std::map<std::string, Row> rows;       // by lower-case label
    // The first duration given a second time: its label and second line.
    std::string repeatedLabel;
    std::size_t repeatedLine = 0;
    // A blank line ends a block; duration rows right after it are the block's
    // own, cut off by a stray blank line (label -> line).
    std::size_t blankLine = 0;
    std::map<std::string, std::size_t> strayRows;
};

struct FileContents {
    bool sawUnitsLine = false;
    std::optional<Units> units;
    std::string unitsText;
    std::map<std::string, std::string> metadata;  // lower-case key -> value
    std::string atlas;
    std::vector<Block> blocks;
    // Where a second download starts: a second "NOAA Atlas 14" line, or a
    // block of a kind the file already holds (0 when there is none).
    std::size_t secondLine = 0;
    std::string secondWhat;
};

std::string_view BlockName(NoaaBlock kind) {
    switch (kind) {
        case NoaaBlock::Upper:
            return "upper bound of the 90% confidence interval";
        case NoaaBlock::Lower:
            return "lower bound of the 90% confidence interval";
        case NoaaBlock::Estimates:
            break;
    }
    return "estimates";
}

std::optional<Units> UnitsOf(std::string_view line, std::string& unitsText) {
    const auto open = line.find('(');
    const auto close = line.find(')', open);
    if (open == std::string_view::npos || close == std::string_view::npos) {
        return std::nullopt;
    }
    unitsText = Lower(line.substr(open + 1, close - open - 1));
    if (unitsText == "inches/hour")
        return Units::InchesPerHour;
    if (unitsText == "inches")
        return Units::Inches;
    if (unitsText == "millimeters/hour")
        return Units::MillimetresPerHour;
    if (unitsText == "millimeters")
        return Units::Millimetres;
    return std::nullopt;
}

// "5-min:" -> "5-min": a row's label as the rows are kept.
std::string RowLabel(std::string_view line) {
    std::string label = Lower(Fields(line).front());
    if (!label.empty() && label.back() == ':') {
        label.pop_back();
    }
    return label;
}

bool IsDurationLabel(const std::string& label) {
    const auto unit = label.find_first_not_of("0123456789");
    if (unit == 0 || unit == std::string::npos) {
        return false;
    }
    const std::string_view rest = std::string_view(label).substr(unit);
    return rest == "-min" || rest == "-hr" || rest == "-day";
}

FileContents Scan(const std::vector<std::string_view>& lines) {
    FileContents file;
    Block* current = nullptr;
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t ended = kNone;  // the block a blank line has just ended
    bool expectHeader = false;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::size_t lineNumber = index + 1;
        const std::string_view line = Trim(WithoutPadding(lines[index]));
        if (line.empty()) {
            if (current != nullptr) {
                current->blankLine = lineNumber;
                ended = static_cast<std::size_t>(current - file.blocks.data());
            }
            current = nullptr;
            continue;
        }
        if (StartsWith(line, "precipitation frequency estimates")) {
            const std::string upper = Lower(line);
            const NoaaBlock kind = upper.find("upper bound") != std::string::npos ? NoaaBlock::Upper
                                   : upper.find("lower bound") != std::string::npos
                                       ? NoaaBlock::Lower
                                       : NoaaBlock::Estimates;
            const bool again = std::any_of(file.blocks.begin(), file.blocks.end(),
                                           [&](const Block& b) { return b.kind == kind; });
            if (again && file.secondLine == 0) {
                file.secondLine = lineNumber;
                file.secondWhat = "a second block of the " + std::string(BlockName(kind));
            }
            file.blocks.push_back({kind, 0, {}, {}, {}, {}, 0, 0, {}});
            current = &file.blocks.back();
            ended = kNone;
            expectHeader = true;
            continue;
        }
        if (current != nullptr && expectHeader) {
            auto fields = Fields(line);
            current->headerLine = lineNumber;
            current->headerText = line;
            current->header.assign(fields.begin() + 1, fields.end());
            // "by duration for AEP:" heads the annual maximum series' columns.
            if (Lower(fields.front()).find("aep") != std::string::npos) {
                current->header.clear();
                current->header.push_back("AEP");
            }
            expectHeader = false;
            continue;
        }
        if (current != nullptr) {
            auto fields = Fields(line);
            const std::string label = RowLabel(line);
            if (!label.empty() && current->rows.count(label) == 0) {
                current->rows[label] = {lineNumber, {fields.begin() + 1, fields.end()}};
            } else if (IsDurationLabel(label) && current->repeatedLine == 0) {
                current->repeatedLabel = label;
                current->repeatedLine = lineNumber;
            }
            continue;
        }
        if (ended != kNone) {
            const std::string label = RowLabel(line);
            if (IsDurationLabel(label)) {
                file.blocks[ended].strayRows.emplace(label, lineNumber);
                continue;
            }
            ended = kNone;
        }
        if (StartsWith(line, "point precipitation frequency estimates") && !file.sawUnitsLine) {
            file.sawUnitsLine = true;
            file.units = UnitsOf(line, file.unitsText);
            continue;
        }
        if (StartsWith(line, "noaa atlas 14")) {
            if (!file.atlas.empty() && file.secondLine == 0) {
                file.secondLine = lineNumber;
                file.secondWhat = "a second \"" + std::string(line) + "\" line";
            }
            file.atlas = std::string(line);
            continue;
        }
        const auto colon = line.find(':');
        if (colon != std::string_view::npos) {
            file.metadata.emplace(Lower(Trim(line.substr(0, colon))),
                                  std::string(Trim(line.substr(colon + 1))));
        }
    }
    return file;
}

std::string Meta(const FileContents& file, const std::string& key) {
    const auto found = file.metadata.find(key);
    return found == file.metadata.end() ? std::string() : found->second;
}

// "36.3719 Degree", "37.0556°": the number as written, whatever follows it.
std::string Coordinate(const std::string& text) {
    const auto end = text.find_first_not_of("+-0123456789.");
    return text.substr(0, end);
}

std::string CollapseBlanks(const std::string& text) {
    std::string collapsed;
    for (const char c : text) {
        if (c != ' ' || collapsed.empty() || collapsed.back() != ' ') {
            collapsed += c;
        }
    }
    return collapsed;
}

// "Bentonville, Arkansas, USA" -> "Bentonville AR": the place and its state as
// an engineer would name the table.
std::string ProposedName(const std::string& location) {
    static const std::map<std::string, std::string> kStates = {{"alabama", "AL"},
                                                               {"alaska", "AK"},
                                                               {"arizona", "AZ"},
                                                               {"arkansas", "AR"},
                                                               {"california", "CA"},
                                                               {"colorado", "CO"},
                                                               {"connecticut", "CT"},
                                                               {"delaware", "DE"},
                                                               {"district of columbia", "DC"},
                                                               {"florida", "FL"},
                                                               {"georgia", "GA"},
                                                               {"hawaii", "HI"},
                                                               {"idaho", "ID"},
                                                               {"illinois", "IL"},
                                                               {"indiana", "IN"},
                                                               {"iowa", "IA"},
                                                               {"kansas", "KS"},
                                                               {"kentucky", "KY"},
                                                               {"louisiana", "LA"},
                                                               {"maine", "ME"},
                                                               {"maryland", "MD"},
                                                               {"massachusetts", "MA"},
                                                               {"michigan", "MI"},
                                                               {"minnesota", "MN"},
                                                               {"mississippi", "MS"},
                                                               {"missouri", "MO"},
                                                               {"montana", "MT"},
                                                               {"nebraska", "NE"},
                                                               {"nevada", "NV"},
                                                               {"new hampshire", "NH"},
                                                               {"new jersey", "NJ"},
                                                               {"new mexico", "NM"},
                                                               {"new york", "NY"},
                                                               {"north carolina", "NC"},
                                                               {"north dakota", "ND"},
                                                               {"ohio", "OH"},
                                                               {"oklahoma", "OK"},
                                                               {"oregon", "OR"},
                                                               {"pennsylvania", "PA"},
                                                               {"rhode island", "RI"},
                                                               {"south carolina", "SC"},
                                                               {"south dakota", "SD"},
                                                               {"tennessee", "TN"},
                                                               {"texas", "TX"},
                                                               {"utah", "UT"},
                                                               {"vermont", "VT"},
                                                               {"virginia", "VA"},
                                                               {"washington", "WA"},
                                                               {"west virginia", "WV"},
                                                               {"wisconsin", "WI"},
                                                               {"wyoming", "WY"},
                                                               {"puerto rico", "PR"},
                                                               {"guam", "GU"},
                                                               {"american samoa", "AS"},
                                                               {"u.s. virgin islands", "VI"},
                                                               {"northern mariana islands", "MP"}};
    std::vector<std::string> parts;
    for (const auto part : Fields(location)) {
        if (!part.empty()) {
            parts.emplace_back(part);
        }
    }
    if (parts.empty()) {
        return {};
    }
    if (parts.size() >= 2) {
        const auto state = kStates.find(Lower(parts[1]));
        if (state != kStates.end()) {
            return parts[0] + " " + state->second;
        }
    }
    return parts[0];
}

std::optional<double> PositiveNumber(std::string_view text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value) ||
        !(value > 0.0)) {
        return std::nullopt;
    }
    return value;
}

// A cell as the message quotes it: a long one cut at a character boundary.
std::string Shortened(std::string_view cell) {
    constexpr std::size_t kShown = 20;
    if (cell.size() <= kShown + 4) {
        return std::string(cell);
    }
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(cell[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(cell.substr(0, cut)) + "...";
}

const Block& ChooseBlock(const FileContents& file, NoaaBlock wanted, std::string_view fileName) {
    for (const auto& block : file.blocks) {
        if (block.kind == wanted) {
            return block;
        }
    }
    std::vector<NoaaBlock> bounds;
    for (const auto& block : file.blocks) {
        if (std::find(bounds.begin(), bounds.end(), block.kind) == bounds.end()) {
            bounds.push_back(block.kind);
        }
    }
    // A bound is some 5 to 10 % off the estimates: taken for them, it would
    // size every pipe on the wrong rainfall without a word.
    if (wanted == NoaaBlock::Estimates) {
        std::string held;
        for (const NoaaBlock bound : bounds) {
            held += (held.empty() ? "the " : " and the ") + std::string(BlockName(bound));
        }
        throw NoaaBoundsOnlyError(std::string(fileName) + " holds no estimates, only " + held +
                                      ": it makes a table only when " +
                                      (bounds.size() == 1 ? "that bound" : "one of them") +
                                      " is chosen.",
                                  bounds);
    }
    throw InputError(std::string(fileName) + " has no block of the " +
                     std::string(BlockName(wanted)) + "; choose a block the file holds.");
}

std::string SourceText(const FileContents& file, const Block& block, std::string_view fileName) {
    std::vector<std::string> parts;
    if (!file.atlas.empty()) {
        parts.push_back(file.atlas);
    }
    const std::string series = Meta(file, "time series type");
    parts.push_back((series.empty() ? std::string("Partial duration") : series) + " series");
    switch (*file.units) {
        case Units::InchesPerHour:
            parts.push_back("precipitation intensity in inches/hour");
            break;
        case Units::Inches:
            parts.push_back("precipitation depth in inches, divided by the duration in hours");
            break;
        case Units::MillimetresPerHour:
            parts.push_back(
                "precipitation intensity in millimeters/hour, converted to inches/hour");
            break;
        case Units::Millimetres:
            parts.push_back(
                "precipitation depth in millimeters, converted to inches and divided by the "
                "duration in hours");
            break;
    }
    const std::string location = Meta(file, "location name (esri maps)");
    if (!location.empty()) {
        parts.push_back(location);
    }
    const std::string station = Meta(file, "station name");
    if (!station.empty() && station != "-") {
        parts.push_back("station " + station);
    }
    const std::string latitude = Coordinate(Meta(file, "latitude"));
    const std::string longitude = Coordinate(Meta(file, "longitude"));
    if (!latitude.empty() || !longitude.empty()) {
        parts.push_back("latitude " + latitude + ", longitude " + longitude);
    }
    parts.emplace_back(BlockName(block.kind));
    const std::string date = CollapseBlanks(Meta(file, "date/time (gmt)"));
    parts.push_back(date.empty() ? std::string("no date line") : "dated " + date + " GMT");
    parts.push_back("file " + std::string(fileName));

    std::string source;
    for (const auto& part : parts) {
        source += (source.empty() ? "" : "; ") + part;
    }
    // A TAB in the location or a line break in the file's name stays out.
    return OneLineText(source, kMaxSourceCharacters);
}

}  // namespace

RainfallTable ParseNoaaAtlas14(std::string_view bytes, std::string_view fileName,
                               NoaaBlock wanted) {
    const std::string name(fileName);
    if (bytes.size() > kMaxNoaaFileBytes) {
        throw InputError(name +
                         " is larger than 1 MB; a NOAA Atlas 14 precipitation frequency file "
                         "is a few kilobytes.");
    }
    std::string text = AsUtf8(bytes, fileName);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text.erase(0, 3);
    }
    const FileContents file = Scan(SplitLines(text));

    const std::string notPfds =
        name +
        " is not a NOAA Atlas 14 precipitation frequency file: download the point estimates as "
        "CSV from the Precipitation Frequency Data Server (PFDS).";
    if (file.blocks.empty()) {
        throw InputError(notPfds);
    }
    // Two downloads run together (or a block pasted twice) would give one
    // place's values under another's Source.
    if (file.secondLine != 0) {
        throw InputError(name + ", line " + std::to_string(file.secondLine) + ": " +
                         file.secondWhat +
                         " starts here; the file holds more than one download. Import each "
                         "download from a file of its own.");
    }
    const bool annual = Lower(Meta(file, "time series type")).find("annual") != std::string::npos ||
                        std::any_of(file.blocks.begin(), file.blocks.end(), [](const Block& b) {
                            return !b.header.empty() && b.header.front() == "AEP";
                        });
    if (annual) {
        throw InputError(name +
                         " holds the annual maximum series: its frequencies are annual exceedance "
                         "probabilities and it has no 1-year column. Download the partial "
                         "duration series (PDS) from the Precipitation Frequency Data Server.");
    }
    if (!file.units) {
        throw InputError(!file.sawUnitsLine ? notPfds
                                            : name + " gives its values in \"" + file.unitsText +
                                                  "\"; only inches, inches/hour, millimeters and "
                                                  "millimeters/hour can be read.");
    }

    const Block& block = ChooseBlock(file, wanted, fileName);
    const std::string blockName(BlockName(block.kind));

    const std::string headingLine = std::to_string(block.headerLine);
    if (block.header.empty() && block.headerLine != 0) {
        const char* separator = block.headerText.find(';') != std::string_view::npos ? "semicolons"
                                : block.headerText.find('\t') != std::string_view::npos ? "tabs"
                                                                                        : nullptr;
        if (separator != nullptr) {
            throw InputError(name + ", line " + headingLine + " separates its values with " +
                             separator +
                             ", not commas: save the file again as comma-separated values (CSV).");
        }
    }
    std::array<std::size_t, 7> columns{};
    for (std::size_t k = 0; k < kReturnPeriods.size(); ++k) {
        const std::string period = std::to_string(kReturnPeriods[k]);
        const auto found = std::find(block.header.begin(), block.header.end(), period);
        if (found == block.header.end()) {
            throw InputError(name + " has no " + period + "-year column in its " + blockName +
                             (block.headerLine != 0 ? " (heading on line " + headingLine + ")"
                                                    : std::string(" (no heading line)")) +
                             "; the table needs the return periods 1, 2, 5, 10, 25, 50 and 100 "
                             "years.");
        }
        columns[k] = static_cast<std::size_t>(found - block.header.begin());
    }
    if (block.repeatedLine != 0) {
        throw InputError(name + ", line " + std::to_string(block.repeatedLine) + " gives the " +
                         block.repeatedLabel + " row of the " + blockName +
                         " again (first on line " +
                         std::to_string(block.rows.at(block.repeatedLabel).line) +
                         "); keep the one that belongs to the table and remove the other.");
    }
    // A download cut off inside a row leaves it short; in file order, so the
    // message names the first row the cut reaches.
    std::vector<const std::pair<const std::string, Row>*> byLine;
    for (const auto& row : block.rows) {
        byLine.push_back(&row);
    }
    std::sort(byLine.begin(), byLine.end(),
              [](const auto* a, const auto* b) { return a->second.line < b->second.line; });
    for (const auto* row : byLine) {
        const std::size_t count = row->second.fields.size();
        if (IsDurationLabel(row->first) && count < block.header.size()) {
            throw InputError(
                name + ", line " + std::to_string(row->second.line) + ": the " + row->first +
                " row of the " + blockName + " has " + std::to_string(count) + " value" +
                (count == 1 ? "" : "s") + " where the heading (line " + headingLine + ") names " +
                std::to_string(block.header.size()) + "; its \"" + Shortened(block.header[count]) +
                "\" column is missing. The file is cut off or damaged: download it "
                "again.");
        }
    }
    const char* const textEnd = text.data() + text.size();

    const bool depth = *file.units == Units::Inches || *file.units == Units::Millimetres;
    const bool metric =
        *file.units == Units::Millimetres || *file.units == Units::MillimetresPerHour;
    RainfallTable table;
    for (std::size_t i = 0; i < kRowLabels.size(); ++i) {
        const std::string label(kRowLabels[i]);
        const auto row = block.rows.find(label);
        if (row == block.rows.end()) {
            const auto stray = block.strayRows.find(label);
            if (stray != block.strayRows.end()) {
                throw InputError(name + ", line " + std::to_string(block.blankLine) +
                                 " is blank inside the " + blockName +
                                 " and ends them there, before their " + label + " row (line " +
                                 std::to_string(stray->second) + "); remove the blank line.");
            }
            throw InputError(name + " has no " + label + " row in its " + blockName +
                             "; the table needs the ten durations from 5-min to "
                             "24-hr.");
        }
        const std::vector<std::string_view>& cells = row->second.fields;
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const std::string_view cell =
                columns[k] < cells.size() ? cells[columns[k]] : std::string_view();
            const std::string where = name + ", line " + std::to_string(row->second.line) +
                                      ": the " + label + ", " + std::to_string(kReturnPeriods[k]) +
                                      "-year value \"" + Shortened(cell) + "\"";
            // Nothing after the last value of a file proves that value whole:
            // "5.4" may be what is left of 5.45. The files never end a number
            // with its point, so "5." is a cut wherever it stands.
            if (!cell.empty()) {
                const std::string_view after(
                    cell.data() + cell.size(),
                    static_cast<std::size_t>(textEnd - cell.data()) - cell.size());
                if (after.find_first_of(",\r\n") == std::string_view::npos) {
                    throw InputError(where +
                                     " ends the file with no line end after it: the file may be "
                                     "cut off inside this value; download it again.");
                }
                if (cell.back() == '.') {
                    throw InputError(where +
                                     " ends in its decimal point. The file is cut off or damaged: "
                                     "download it again.");
                }
            }
            const auto value = PositiveNumber(cell);
            if (!value) {
                throw InputError(where + " is not a positive number.");
            }
            const double perInchPerHour =
                (metric ? kMillimetresPerInch : 1.0) * (depth ? kDurationMinutes[i] / 60.0 : 1.0);
            // A huge depth over 5 minutes overflows; it is above any limit all the same.
            const double quotient = *value / perInchPerHour;
            const double intensity = std::min(quotient, std::numeric_limits<double>::max());
            const std::string stored = intensity > 0.0 ? FourSignificantDigits(intensity) : "";
            if (const std::string problem = IntensityProblem(intensity, stored); !problem.empty()) {
                throw InputError(where + " means " + (std::isfinite(quotient) ? "" : "more than ") +
                                 GeneralNumberText(intensity) + " in/hr, which " + problem + ".");
            }
            table.grid[i][k] = stored;
        }
    }
    RequirePlausibleIntensities(table.grid, name);
    table.source = SourceText(file, block, fileName);
    table.proposedName = ProposedName(Meta(file, "location name (esri maps)"));
    if (*file.units == Units::MillimetresPerHour) {
        table.warnings.push_back(
            "This file gives intensities in whole millimeters per hour, so the long durations "
            "lose precision (a 24-hour value of 2 mm/hr stands for anything from 1.5 to 2.5). "
            "The metric depth file (millimeters) of the same place gives a better table.");
    }
    for (auto& warning : IntensityWarnings(table.grid)) {
        table.warnings.push_back(std::move(warning));
    }
    return table;
}

std::vector<NoaaBlock> NoaaBlocksIn(std::string_view bytes) {
    // Only the headings are read, and they are ASCII: no decoding needed.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::vector<NoaaBlock> blocks;
    for (const Block& block : Scan(SplitLines(bytes)).blocks) {
        blocks.push_back(block.kind);
    }
    return blocks;
}

namespace {

std::string NoaaFileBytes(const std::string& path) {
    return ReadInputFile(path, kMaxNoaaFileBytes,
                         "a NOAA Atlas 14 precipitation frequency file is a few kilobytes");
}

}  // namespace

std::vector<NoaaBlock> NoaaBlocksInFile(const std::string& path) {
    return NoaaBlocksIn(NoaaFileBytes(path));
}

RainfallTable ReadNoaaAtlas14File(const std::string& path, NoaaBlock block) {
    return ParseNoaaAtlas14(NoaaFileBytes(path), std::filesystem::path(path).filename().string(),
                            block);
}

}  // namespace torrenta
