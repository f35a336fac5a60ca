#include "rainfall/NoaaAtlas14File.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "Errors.h"
#include "ReturnPeriods.h"

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

bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const std::size_t follow = c < 0x80             ? 0
                                   : (c & 0xE0) == 0xC0 ? 1
                                   : (c & 0xF0) == 0xE0 ? 2
                                   : (c & 0xF8) == 0xF0 ? 3
                                                        : 4;
        if (follow == 4 || i + follow >= bytes.size() + (follow == 0 ? 1 : 0)) {
            return false;
        }
        for (std::size_t k = 1; k <= follow; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += follow + 1;
    }
    return true;
}

// Downloads are ASCII apart from the degree sign, which comes as UTF-8 or as
// Latin-1 depending on who saved the file last; the program keeps UTF-8.
std::string AsUtf8(std::string_view bytes, std::string_view fileName) {
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\n' && c != '\r' && c != '\t') {
            throw InputError(std::string(fileName) +
                             " holds bytes that are not text (a binary or UTF-16 file); it "
                             "cannot be read as a NOAA Atlas 14 file.");
        }
    }
    if (IsUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string text;
    text.reserve(bytes.size() + 16);
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (u >> 6));
            text += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return text;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = text.find_first_of("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

enum class Units { InchesPerHour, Inches, MillimetresPerHour, Millimetres };

struct Block {
    NoaaBlock kind;
    std::vector<std::string_view> header;                       // the return periods' texts
    std::map<std::string, std::vector<std::string_view>> rows;  // by lower-case label
};

struct FileContents {
    bool sawUnitsLine = false;
    std::optional<Units> units;
    std::string unitsText;
    std::map<std::string, std::string> metadata;  // lower-case key -> value
    std::string atlas;
    std::vector<Block> blocks;
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

FileContents Scan(const std::vector<std::string_view>& lines) {
    FileContents file;
    Block* current = nullptr;
    bool expectHeader = false;
    for (const std::string_view raw : lines) {
        const std::string_view line = Trim(WithoutPadding(raw));
        if (line.empty()) {
            current = nullptr;
            continue;
        }
        if (StartsWith(line, "precipitation frequency estimates")) {
            const std::string upper = Lower(line);
            const NoaaBlock kind = upper.find("upper bound") != std::string::npos ? NoaaBlock::Upper
                                   : upper.find("lower bound") != std::string::npos
                                       ? NoaaBlock::Lower
                                       : NoaaBlock::Estimates;
            file.blocks.push_back({kind, {}, {}});
            current = &file.blocks.back();
            expectHeader = true;
            continue;
        }
        if (current != nullptr && expectHeader) {
            auto fields = Fields(line);
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
            std::string label = Lower(fields.front());
            if (!label.empty() && label.back() == ':') {
                label.pop_back();
            }
            if (!label.empty() && current->rows.count(label) == 0) {
                current->rows[label].assign(fields.begin() + 1, fields.end());
            }
            continue;
        }
        if (StartsWith(line, "point precipitation frequency estimates") && !file.sawUnitsLine) {
            file.sawUnitsLine = true;
            file.units = UnitsOf(line, file.unitsText);
            continue;
        }
        if (StartsWith(line, "noaa atlas 14")) {
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

const Block& ChooseBlock(const FileContents& file, NoaaBlock wanted, std::string_view fileName,
                         bool& onlyBlock) {
    onlyBlock = false;
    for (const auto& block : file.blocks) {
        if (block.kind == wanted) {
            return block;
        }
    }
    // A file holding one bound block alone is that block's table.
    if (wanted == NoaaBlock::Estimates && file.blocks.size() == 1) {
        onlyBlock = true;
        return file.blocks.front();
    }
    throw InputError(std::string(fileName) + " has no block of the " +
                     std::string(BlockName(wanted)) + "; choose a block the file holds.");
}

std::string SourceText(const FileContents& file, const Block& block, bool onlyBlock,
                       std::string_view fileName) {
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
    std::string blockText(BlockName(block.kind));
    if (onlyBlock) {
        blockText += " (the only block in the file)";
    }
    parts.push_back(blockText);
    const std::string date = CollapseBlanks(Meta(file, "date/time (gmt)"));
    parts.push_back(date.empty() ? std::string("no date line") : "dated " + date + " GMT");
    parts.push_back("file " + std::string(fileName));

    std::string source;
    for (const auto& part : parts) {
        source += (source.empty() ? "" : "; ") + part;
    }
    return source;
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
    const FileContents file = Scan(Lines(text));

    const std::string notPfds =
        name +
        " is not a NOAA Atlas 14 precipitation frequency file: download the point estimates as "
        "CSV from the Precipitation Frequency Data Server (PFDS).";
    if (file.blocks.empty()) {
        throw InputError(notPfds);
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

    bool onlyBlock = false;
    const Block& block = ChooseBlock(file, wanted, fileName, onlyBlock);
    const std::string blockName(BlockName(block.kind));

    std::array<std::size_t, 7> columns{};
    for (std::size_t k = 0; k < kReturnPeriods.size(); ++k) {
        const std::string period = std::to_string(kReturnPeriods[k]);
        const auto found = std::find(block.header.begin(), block.header.end(), period);
        if (found == block.header.end()) {
            throw InputError(name + " has no " + period + "-year column in its " + blockName +
                             "; the table needs the return periods 1, 2, 5, 10, 25, 50 and 100 "
                             "years.");
        }
        columns[k] = static_cast<std::size_t>(found - block.header.begin());
    }

    const bool depth = *file.units == Units::Inches || *file.units == Units::Millimetres;
    const bool metric =
        *file.units == Units::Millimetres || *file.units == Units::MillimetresPerHour;
    RainfallTable table;
    for (std::size_t i = 0; i < kRowLabels.size(); ++i) {
        const auto row = block.rows.find(std::string(kRowLabels[i]));
        if (row == block.rows.end()) {
            throw InputError(name + " has no " + std::string(kRowLabels[i]) + " row in its " +
                             blockName +
                             "; the table needs the ten durations from 5-min to "
                             "24-hr.");
        }
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const std::string_view cell =
                columns[k] < row->second.size() ? row->second[columns[k]] : std::string_view();
            const auto value = PositiveNumber(cell);
            if (!value) {
                throw InputError(name + ": the " + std::string(kRowLabels[i]) + ", " +
                                 std::to_string(kReturnPeriods[k]) + "-year value \"" +
                                 std::string(cell) + "\" is not a positive number.");
            }
            double inchesPerHour = metric ? *value / kMillimetresPerInch : *value;
            if (depth) {
                inchesPerHour /= kDurationMinutes[i] / 60.0;
            }
            table.grid[i][k] = FourSignificantDigits(inchesPerHour);
        }
    }
    table.source = SourceText(file, block, onlyBlock, fileName);
    table.proposedName = ProposedName(Meta(file, "location name (esri maps)"));
    if (*file.units == Units::MillimetresPerHour) {
        table.warnings.push_back(
            "This file gives intensities in whole millimeters per hour, so the long durations "
            "lose precision (a 24-hour value of 2 mm/hr stands for anything from 1.5 to 2.5). "
            "The metric depth file (millimeters) of the same place gives a better table.");
    }
    return table;
}

RainfallTable ReadNoaaAtlas14File(const std::string& path, NoaaBlock block) {
    const std::string fileName = std::filesystem::path(path).filename().string();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || !std::filesystem::is_regular_file(path, ec)) {
        throw InputError("Cannot read " + path + ": no such file.");
    }
    if (size > kMaxNoaaFileBytes) {
        throw InputError(fileName +
                         " is larger than 1 MB; a NOAA Atlas 14 precipitation frequency file "
                         "is a few kilobytes.");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        throw InputError("Cannot read " + path + ".");
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::size_t>(in.gcount()) != bytes.size()) {
        throw InputError("Cannot read " + path + ".");
    }
    return ParseNoaaAtlas14(bytes, fileName, block);
}

}  // namespace torrenta
