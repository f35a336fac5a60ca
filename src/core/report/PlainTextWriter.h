#pragma once

#include <string>

#include "report/RichText.h"

namespace torrenta {

// The document for a terminal: each tab stop becomes a column at 120 twips per
// character and an underlined run of tabs a rule of "-" across those columns,
// so the report's tables line up in a fixed-width font. Lines end with "\n".
std::string WritePlainText(const RichDocument& document);

}  // namespace torrenta
