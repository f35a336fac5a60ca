#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace torrenta {

// A name (an element's, the node's, an intensity table's, a project field)
// is one line of text: it heads a report row or fills a report cell, where a
// TAB would move the values after it into the next column and a line break
// would split the row. Control characters are C0 (TAB, CR, LF ...), DEL,
// the C1 block (NEL among them) and the line and paragraph separators
// U+2028 and U+2029.
bool IsControlCharacter(char32_t character);
bool HoldsControlCharacter(std::string_view utf8);

// Throws InputError unless the text is UTF-8; `what` names the field or the
// option in the message ("--name", "The name").
void RequireUtf8Text(std::string_view text, std::string_view what);

// Throws InputError unless the text is UTF-8 without control characters.
void RequireOneLineText(std::string_view text, std::string_view what);

// A stored text as a report prints it: each control character a space, so a
// row keeps its columns whatever an older file holds. Bad UTF-8 stays as it
// is for the writers to deal with.
std::string ControlsAsSpaces(std::string_view utf8);

// A text from outside (a downloaded file's lines, its name) made one line of
// UTF-8 to be kept: each bad sequence U+FFFD, each control character a space,
// and at most `maxCharacters` letters (ending in "…" when cut; 0 for no
// limit), so a 200 KB location line cannot become a report of 65 pages.
std::string OneLineText(std::string_view text, std::size_t maxCharacters);

// The longest Source an intensity table keeps, in letters.
inline constexpr std::size_t kMaxSourceCharacters = 500;

}  // namespace torrenta
