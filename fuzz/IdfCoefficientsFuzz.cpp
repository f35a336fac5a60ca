// The input as a coefficients file for table-from-equation. The reader either
// refuses it with InputError, naming the file, or gives coefficients from
// which TableFromEquation makes a table without complaint, every cell a
// positive intensity no heavier than kMaxPlausibleIntensity. A byte order mark and CR-only line
// ends change nothing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "Errors.h"
#include "FuzzCheck.h"
#include "rainfall/IdfEquation.h"
#include "rainfall/IntensityPlausibility.h"

namespace torrenta::fuzz {
namespace {

constexpr std::string_view kFileName = "fuzz.csv";

struct Outcome {
    bool refused = false;
    std::string message;
    IdfEquation equation{};
};

Outcome Read(std::string_view text) {
    Outcome outcome;
    try {
        outcome.equation = ParseIdfCoefficients(text, kFileName);
    } catch (const InputError& e) {
        outcome.refused = true;
        outcome.message = e.what();
    } catch (const std::exception& e) {
        Fail("the reader refuses only with InputError", e.what());
    }
    return outcome;
}

bool SameEquation(const IdfEquation& a, const IdfEquation& b) {
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].b != b[k].b || a[k].d != b[k].d || a[k].e != b[k].e) {
            return false;
        }
    }
    return true;
}

void Check(std::string_view text) {
    const auto context = [&] { return "\"" + Escaped(text.substr(0, 400)) + "\""; };
    const Outcome outcome = Read(text);
    if (outcome.refused) {
        Require(outcome.message.find(kFileName) != std::string::npos, "a refusal names the file",
                [&] { return outcome.message; });
    } else {
        RainfallTable table;
        try {
            table = TableFromEquation(outcome.equation);
        } catch (const std::exception& e) {
            Fail("coefficients the reader took make a table", context() + ": " + e.what());
        }
        for (const auto& row : table.grid) {
            for (const auto& cell : row) {
                const double value = std::strtod(cell.c_str(), nullptr);
                Require(value > 0.0 && value <= kMaxPlausibleIntensity,
                        "every cell is a plausible intensity",
                        [&] { return cell + " from " + context(); });
            }
        }
    }
    const auto same = [&](const Outcome& other, std::string_view what) {
        Require(other.refused == outcome.refused && other.message == outcome.message &&
                    SameEquation(other.equation, outcome.equation),
                what, [&] {
                    return context() + ": \"" + outcome.message + "\" / \"" + other.message + "\"";
                });
    };
    if (text.substr(0, 3) != "\xEF\xBB\xBF") {
        same(Read("\xEF\xBB\xBF" + std::string(text)), "a byte order mark changes nothing");
    }
    if (text.find('\r') == std::string_view::npos) {
        std::string crOnly(text);
        for (char& c : crOnly) {
            c = c == '\n' ? '\r' : c;
        }
        same(Read(crOnly), "CR-only line ends change nothing");
    }
}

}  // namespace
}  // namespace torrenta::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    torrenta::fuzz::Check(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
