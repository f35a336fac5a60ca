#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace torrenta::fuzz {

// A broken invariant is a finding like a crash: print what and where, then
// abort so libFuzzer keeps the input that caused it.
[[noreturn]] inline void Fail(std::string_view what, std::string_view detail) {
    std::fprintf(stderr, "INVARIANT BROKEN: %.*s\n  %.*s\n", static_cast<int>(what.size()),
                 what.data(), static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// `describe` makes the detail text only when the invariant is broken, so a
// passing check costs no formatting.
template <class Describe>
void Require(bool holds, std::string_view what, const Describe& describe) {
    if (!holds) {
        Fail(what, describe());
    }
}

// Bytes as a readable C string literal body, for the failure message.
inline std::string Escaped(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\' && c != '"') {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        }
    }
    return out;
}

}  // namespace torrenta::fuzz
