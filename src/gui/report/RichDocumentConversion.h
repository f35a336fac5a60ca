#pragma once

#include <optional>

#include "report/RichText.h"

class QTextDocument;

namespace torrenta::gui {

// The report travels between the core's RichDocument (what the composer writes
// and what the RTF writer reads) and the QTextDocument the report window shows
// and the user edits.
//
// Units: a QTextDocument measures indents and tab stops in pixels of the text
// layout's default resolution, the one it also turns point sizes into pixels
// with (the primary screen's logical DPI, 96 without a screen). Converting
// twips at that same resolution keeps tab stops and text widths in proportion
// on screen, and the printer layout rescales both together.

// The resolution the text layout sizes fonts with, in dots per inch.
double DocumentDpi();

// Replaces the whole content of `target` with `document`, the default font,
// tab spacing and page footer included. The undo history is left empty: the loaded report is
// the starting point, not an edit.
void FillDocument(QTextDocument& target, const RichDocument& document);

// The text between two positions of `source` (a selection; the whole document
// when start is 0 and end is past the last character) as a RichDocument: one
// paragraph per block touched, with the block's indents and tab stops, and
// runs merged where neighbouring fragments carry the same report format.
// The page footer goes with the whole document only: a few lines pasted
// elsewhere must not set the receiving document's footer.
RichDocument ToRichDocument(const QTextDocument& source, int start, int end);
RichDocument ToRichDocument(const QTextDocument& source);

// One paragraph per block of `source`, in order, with the role and the
// keep-with-next mark the report gave it and the block's text: what the page
// flow reads, by block number.
std::vector<Paragraph> PageFlowOf(const QTextDocument& source);

// The page footer `source` was filled with, if any.
std::optional<PageFooter> FooterOf(const QTextDocument& source);

}  // namespace torrenta::gui
