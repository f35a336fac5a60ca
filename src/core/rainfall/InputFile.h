#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace torrenta {

// Reads a small input file (a rainfall download, a coefficients file) whole.
// InputError naming the path and saying why when it is missing, a folder, a
// pipe, device or socket (never opened, so a pipe cannot hang the program),
// unreadable (the system's reason), or larger than maxBytes, in which case
// `tooLarge` ends the message ("a NOAA Atlas 14 file is a few kilobytes").
std::string ReadInputFile(const std::string& path, std::size_t maxBytes, std::string_view tooLarge);

// The lines of a text, whatever ends them: LF, CRLF or CR alone, as files
// saved on any system (or by a spreadsheet) end them.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace torrenta
