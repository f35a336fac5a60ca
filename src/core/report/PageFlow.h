#pragma once

#include <cstddef>
#include <vector>

#include "report/RichText.h"

namespace torrenta {

// How the report's pages break, from the roles the composer gives its
// paragraphs; the saved RTF (through keep-with-next) and the printed pages
// (which lay the copy out themselves) follow the same marks.

// Empty lines that part one section from the next: a title's block ends at
// the next title or at this many empty lines in a row.
inline constexpr int kSectionGap = 3;

bool IsHeading(const Paragraph& paragraph);
bool IsTitle(const Paragraph& paragraph);
// A paragraph with something to show: text other than blanks, or a heading
// (a rule line is a run of underlined TABs).
bool HasContent(const Paragraph& paragraph);

// The last paragraph of the block the title at `title` heads.
std::size_t TitleBlockEnd(const std::vector<Paragraph>& paragraphs, std::size_t title);

// Marks each paragraph a word processor keeps on the page of the next one:
// every heading with the first paragraph it heads, and a title's whole block
// together.
void MarkKeepWithNext(std::vector<Paragraph>& paragraphs);

}  // namespace torrenta
