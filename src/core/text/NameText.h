#pragma once

#include <string>
#include <string_view>

namespace torrenta {

// A name (an element's, the node's, an intensity table's, a project field)
// is one line of text: it heads a report row or fills a report cell, where a
// TAB would move the values after it into the next column and a line break
// would split the row. Control characters are C0 (TAB, CR, LF ...), DEL and
// the C1 block (NEL among them).
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

}  // namespace torrenta
