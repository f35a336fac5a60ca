#pragma once

#include <string_view>

#include "report/RichText.h"

namespace torrenta {

// The report is set in Arial (Liberation Sans and Arimo share its advance
// widths), so the core can tell where a word processor will end a piece of
// text without asking a window system. Widths are in twips.
double TextWidthTwips(std::string_view utf8, const CharFormat& format);

}  // namespace torrenta
