#pragma once

#include <string>

#include "report/RichText.h"

namespace torrenta {

// The document as RTF 1.x that word processors open as composed: a font table
// (Arial, swiss family, so a metric twin stands in where Arial is missing), a
// colour table (black, pure blue), one \pard per paragraph with its indents and
// tab stops, runs with size, bold, italic, underline and colour. Backslashes and
// braces are escaped and every non-ASCII character is written as \uN?.
std::string WriteRtf(const RichDocument& document);

}  // namespace torrenta
