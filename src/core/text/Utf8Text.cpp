#include "text/Utf8Text.h"

namespace torrenta {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

}  // namespace

Utf8Character DecodeUtf8(std::string_view text, std::size_t position) {
    const auto lead = static_cast<unsigned char>(text[position]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    // The second byte's range depends on the lead: it is where overlong
    // forms, surrogates and values past U+10FFFF are shut out.
    int more = 0;
    char32_t value = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (InRange(lead, 0xC2, 0xDF)) {
        more = 1;
        value = lead & 0x1F;
    } else if (InRange(lead, 0xE0, 0xEF)) {
        more = 2;
        value = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (InRange(lead, 0xF0, 0xF4)) {
        more = 3;
        value = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {};
    }
    std::size_t length = 1;
    for (; more > 0; --more, ++length) {
        if (position + length >= text.size()) {
            return {0, length, false};
        }
        const auto next = static_cast<unsigned char>(text[position + length]);
        if (!InRange(next, low, high)) {
            return {0, length, false};
        }
        value = (value << 6) | (next & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {value, length, true};
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t position = 0; position < text.size();) {
        const Utf8Character character = DecodeUtf8(text, position);
        if (!character.valid) {
            return false;
        }
        position += character.length;
    }
    return true;
}

std::string ReplaceInvalidUtf8(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        const Utf8Character character = DecodeUtf8(text, position);
        if (character.valid) {
            result.append(text.substr(position, character.length));
        } else {
            result.append(kReplacementCharacter);
        }
        position += character.length;
    }
    return result;
}

}  // namespace torrenta
