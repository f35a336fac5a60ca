// The input as a downloaded precipitation frequency file, read for each of the
// three blocks. The reader either refuses it with InputError, naming the file,
// or gives a table whose every cell is a four-digit text of a positive
// intensity no heavier than kMaxPlausibleIntensity, that the plausibility check
// takes, from a block NoaaBlocksIn lists, and whose Source is well-formed UTF-8
// without control characters. A file refused for holding bounds alone lists
// no estimates. A byte order mark in front and CRLF line ends change nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "Errors.h"
#include "FuzzCheck.h"
#include "rainfall/IntensityPlausibility.h"
#include "rainfall/NoaaAtlas14File.h"

namespace torrenta::fuzz {
namespace {

constexpr std::string_view kFileName = "fuzz.csv";

// Decodes code point by code point, independently of the reader's own check.
bool WellFormedUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80       ? 1
                             : lead >> 5 == 6  ? 2
                             : lead >> 4 == 14 ? 3
                             : lead >> 3 == 30 ? 4
                                               : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next >> 6 != 2) {
                return false;
            }
            code = code << 6 | (next & 0x3F);
        }
        const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

bool FourSignificantDigits(std::string_view cell) {
    if (cell.empty() || cell.find_first_not_of("0123456789.") != std::string_view::npos ||
        cell.find('.') != cell.rfind('.') || cell.front() == '.' || cell.back() == '.') {
        return false;
    }
    std::string digits;
    for (const char c : cell) {
        if (c != '.' && (c != '0' || !digits.empty())) {
            digits += c;
        }
    }
    return digits.size() == 4;
}

// What one reading gave: the message of the refusal, or the table.
struct Outcome {
    bool refused = false;
    bool boundsOnly = false;
    std::string message;
    RainfallTable table;
};

Outcome Read(std::string_view bytes, NoaaBlock block) {
    Outcome outcome;
    try {
        outcome.table = ParseNoaaAtlas14(bytes, kFileName, block);
    } catch (const NoaaBoundsOnlyError& e) {
        outcome.refused = true;
        outcome.boundsOnly = true;
        outcome.message = e.what();
    } catch (const InputError& e) {
        outcome.refused = true;
        outcome.message = e.what();
    } catch (const std::exception& e) {
        Fail("the reader refuses only with InputError", e.what());
    }
    return outcome;
}

void CheckOutcome(const Outcome& outcome, std::string_view bytes, NoaaBlock block) {
    const auto context = [&] { return "\"" + Escaped(bytes.substr(0, 400)) + "\""; };
    const std::vector<NoaaBlock> held = NoaaBlocksIn(bytes);
    const bool holdsBlock = std::find(held.begin(), held.end(), block) != held.end();
    Require(!outcome.boundsOnly || (block == NoaaBlock::Estimates && !holdsBlock && !held.empty()),
            "a file refused for its bounds holds bounds and no estimates", context);
    if (outcome.refused) {
        Require(outcome.message.find(kFileName) != std::string::npos, "a refusal names the file",
                [&] { return outcome.message; });
        Require(WellFormedUtf8(outcome.message), "a refusal is well-formed UTF-8",
                [&] { return Escaped(outcome.message); });
        return;
    }
    for (const auto& row : outcome.table.grid) {
        for (const auto& cell : row) {
            const double value = std::strtod(cell.c_str(), nullptr);
            Require(FourSignificantDigits(cell) && value > 0.0 && value <= kMaxPlausibleIntensity,
                    "every cell is four digits of a plausible intensity",
                    [&] { return "\"" + Escaped(cell) + "\" from " + context(); });
        }
    }
    Require(holdsBlock, "a table comes from a block the file holds", context);
    try {
        RequirePlausibleIntensities(outcome.table.grid, kFileName);
    } catch (const InputError& e) {
        Fail("an imported table passes the plausibility check", e.what());
    }
    const std::string& source = outcome.table.source;
    Require(WellFormedUtf8(source) && WellFormedUtf8(outcome.table.proposedName),
            "the Source and the name are well-formed UTF-8", [&] { return Escaped(source); });
    Require(source.find_first_of(std::string_view("\0\r\n\t", 4)) == std::string::npos,
            "the Source is one line of text", [&] { return Escaped(source); });
    Require(source.size() > kFileName.size() &&
                source.compare(source.size() - kFileName.size(), kFileName.size(), kFileName) == 0,
            "the Source ends with the file's name", [&] { return Escaped(source); });
}

void RequireSame(const Outcome& a, const Outcome& b, std::string_view what,
                 std::string_view bytes) {
    Require(a.refused == b.refused && a.message == b.message && a.table.grid == b.table.grid &&
                a.table.source == b.table.source,
            what, [&] {
                return "\"" + Escaped(bytes.substr(0, 400)) + "\": \"" + Escaped(a.message) +
                       "\" / \"" + Escaped(b.message) + "\"";
            });
}

}  // namespace
}  // namespace torrenta::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace torrenta;
    using namespace torrenta::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view bom = "\xEF\xBB\xBF";
    for (const NoaaBlock block : {NoaaBlock::Estimates, NoaaBlock::Upper, NoaaBlock::Lower}) {
        const Outcome outcome = Read(bytes, block);
        CheckOutcome(outcome, bytes, block);
        if (block != NoaaBlock::Estimates) {
            continue;
        }
        if (bytes.substr(0, 3) != bom && size + 3 <= kMaxNoaaFileBytes) {
            RequireSame(outcome, Read(std::string(bom) + std::string(bytes), block),
                        "a byte order mark changes nothing", bytes);
        }
        if (bytes.find('\r') == std::string_view::npos && size * 2 <= kMaxNoaaFileBytes) {
            std::string crlf;
            for (const char c : bytes) {
                crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
            }
            RequireSame(outcome, Read(crlf, block), "CRLF line ends change nothing", bytes);
        }
    }
    return 0;
}
