#pragma once

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace torrenta::bench {

// One row of the table bench/run prints. The programs write their rows on
// standard output in this tab-separated form among their other output, and the
// script keeps only these.
inline void PrintResult(const std::string& measurement, const std::string& value,
                        const std::string& target, bool met) {
    std::printf("RESULT\t%s\t%s\t%s\t%s\n", measurement.c_str(), value.c_str(), target.c_str(),
                met ? "pass" : "miss");
    std::fflush(stdout);
}

// A row that carries no target: a figure a ratio is built from.
inline void PrintFigure(const std::string& measurement, const std::string& value) {
    std::printf("RESULT\t%s\t%s\t\t\n", measurement.c_str(), value.c_str());
    std::fflush(stdout);
}

inline std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// A row whose figure must stay below its target, both in `unit`.
inline void PrintBelow(const std::string& measurement, double value, int decimals, double target,
                       int targetDecimals, const std::string& unit) {
    PrintResult(measurement, Fixed(value, decimals) + " " + unit,
                "< " + Fixed(target, targetDecimals) + " " + unit, value < target);
}

// A benchmark program's main: runs it and turns an escaped error into a
// message and a failing exit status.
inline int RunProgram(const char* name, int (*run)(int, char**), int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
        return 1;
    }
}

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        throw std::runtime_error("no samples to take a median of");
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace torrenta::bench
