#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace torrenta {

// How many columns a text takes in a terminal or a fixed-width font, counted
// as terminals count them and without asking the process's locale: East Asian
// wide and fullwidth characters (CJK, kana, Hangul, most emoji) take two,
// combining marks and zero-width characters none, control characters none,
// everything else one. A bad UTF-8 sequence shows as one replacement mark.
int CharacterWidth(char32_t character);
int DisplayWidth(std::string_view utf8);

// A letter with the marks that sit on it (combining accents, variation
// selectors, emoji modifiers, characters joined by a zero-width joiner) is one
// unit on screen, so any cut of a text falls between such clusters, never
// inside one. Returns where the cluster starting at `position` ends.
std::size_t ClusterEnd(std::string_view utf8, std::size_t position);

// The first `count` clusters of a text.
std::string FirstClusters(std::string_view utf8, std::size_t count);

// Where each cluster of a text ends, in order; the last is the text's size.
// A text is cut at one of these: a letter goes with its accents.
std::vector<std::size_t> ClusterEnds(std::string_view utf8);

// The longest start of whole clusters that, followed by `mark`, passes `fits`
// (never one ending in a space, which would read as a gap before the mark),
// then the mark; the mark alone when no start fits. A text with nothing in it
// has nothing to cut and comes back as it is, whatever the room. `fits` is a
// width check: a longer piece never fits where a shorter one does not.
std::string CutToFit(std::string_view utf8, std::string_view mark,
                     const std::function<bool(const std::string&)>& fits);

}  // namespace torrenta
