#pragma once

#include <string>
#include <string_view>

#include "rainfall/RainfallTable.h"

namespace torrenta {

// Which block of a precipitation frequency file becomes the table: the
// estimates, or the upper or lower bound of their 90% confidence interval.
enum class NoaaBlock { Estimates, Upper, Lower };

// Files larger than this are no precipitation frequency file (a real one is
// a few kilobytes) and are refused before they are read.
inline constexpr std::size_t kMaxNoaaFileBytes = 1024 * 1024;

// Reads a NOAA Atlas 14 point precipitation frequency file as the Precipitation
// Frequency Data Server (PFDS) writes it, or as a spreadsheet saved it again:
// partial-duration series, intensity or depth, inches or millimetres. The
// table's ten durations and seven return periods are taken from the chosen
// block, depths divided by the duration in hours, millimetres turned into
// inches, every value kept to four significant digits. The Source records what
// the file says of itself. A file that cannot give a sound table is refused
// with InputError and a message saying why; nothing is written anywhere.
RainfallTable ParseNoaaAtlas14(std::string_view bytes, std::string_view fileName,
                               NoaaBlock block = NoaaBlock::Estimates);

// The same from a file on disk (InputError when it is missing, unreadable or
// larger than kMaxNoaaFileBytes).
RainfallTable ReadNoaaAtlas14File(const std::string& path, NoaaBlock block = NoaaBlock::Estimates);

}  // namespace torrenta
