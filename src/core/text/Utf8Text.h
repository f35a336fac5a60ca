#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace torrenta {

// Text enters the program as UTF-8 and is stored, reported and written to
// JSON as UTF-8; these decide what counts as UTF-8. Strict: overlong forms,
// UTF-16 surrogates (U+D800 to U+DFFF) and anything above U+10FFFF are
// refused, as every reader of the JSON and the RTF would refuse them.

// One character decoded at a position of a text. A bad sequence (a stray
// byte, a cut or overlong sequence, a surrogate) is `valid == false` and
// `length` covers its longest start that could have been UTF-8, so a reader
// going on from there skips exactly one bad sequence.
struct Utf8Character {
    char32_t value = 0;
    std::size_t length = 1;
    bool valid = false;
};
Utf8Character DecodeUtf8(std::string_view text, std::size_t position);

bool IsValidUtf8(std::string_view text);

// The text with U+FFFD in place of each bad sequence; valid text unchanged.
std::string ReplaceInvalidUtf8(std::string_view text);

}  // namespace torrenta
