#pragma once

#include <string>

#include "report/RichText.h"

namespace torrenta {

// The document for a spreadsheet or a mail: each run of tabbed lines that
// share their tab stops becomes one <table>, a cell per tab stop, so a value
// pasted anywhere stays under its heading however the receiving program sets
// its tabs. Other lines are paragraphs; bold, italic and underline are kept.
std::string WriteHtml(const RichDocument& document);

}  // namespace torrenta
