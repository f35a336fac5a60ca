#include "text/NameText.h"

#include "Errors.h"
#include "text/DisplayWidth.h"
#include "text/Utf8Text.h"

#include <vector>

namespace torrenta {

bool IsControlCharacter(char32_t character) {
    return character < 0x20 || (character >= 0x7F && character < 0xA0) || character == 0x2028 ||
           character == 0x2029;
}

bool HoldsControlCharacter(std::string_view utf8) {
    for (std::size_t position = 0; position < utf8.size();) {
        const Utf8Character character = DecodeUtf8(utf8, position);
        if (character.valid && IsControlCharacter(character.value)) {
            return true;
        }
        position += character.length;
    }
    return false;
}

void RequireUtf8Text(std::string_view text, std::string_view what) {
    if (!IsValidUtf8(text)) {
        throw InputError(std::string(what) +
                         " is not UTF-8 text; enter it again from a program or terminal that "
                         "uses UTF-8.");
    }
}

void RequireOneLineText(std::string_view text, std::string_view what) {
    RequireUtf8Text(text, what);
    if (HoldsControlCharacter(text)) {
        throw InputError(std::string(what) +
                         " holds a TAB, a line break or another control character; enter it as "
                         "one line of text.");
    }
}

std::string ControlsAsSpaces(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t position = 0; position < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[position]);
        if (byte < 0x80) {
            shown += IsControlCharacter(byte) ? ' ' : static_cast<char>(byte);
            ++position;
            continue;
        }
        const Utf8Character character = DecodeUtf8(utf8, position);
        if (character.valid && IsControlCharacter(character.value)) {
            shown += ' ';
        } else {
            shown.append(utf8.substr(position, character.length));
        }
        position += character.length;
    }
    return shown;
}

std::string OneLineText(std::string_view text, std::size_t maxCharacters) {
    std::string line = ControlsAsSpaces(ReplaceInvalidUtf8(text));
    const std::vector<std::size_t> ends = ClusterEnds(line);
    if (maxCharacters > 0 && ends.size() > maxCharacters) {
        // The first maxCharacters - 1 letters, then the ellipsis as the last.
        line = line.substr(0, maxCharacters > 1 ? ends[maxCharacters - 2] : 0) + "\u2026";
    }
    return line;
}

}  // namespace torrenta
