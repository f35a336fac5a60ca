#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Errors.h"

#include "rainfall/RainfallTable.h"

namespace torrenta {

// Which block of a precipitation frequency file becomes the table: the
// estimates, or the upper or lower bound of their 90% confidence interval.
enum class NoaaBlock { Estimates, Upper, Lower };

// The blocks a file holds, in the order it gives them: what the import can
// offer to take. Empty for a file that holds none (it is no precipitation
// frequency file); never throws, whatever the bytes.
std::vector<NoaaBlock> NoaaBlocksIn(std::string_view bytes);

// The same for a file on disk (InputError when it cannot be read, as for
// ReadNoaaAtlas14File).
std::vector<NoaaBlock> NoaaBlocksInFile(const std::string& path);

// A file that holds bounds of the confidence interval but no estimates, read
// for its estimates: such a file is taken only when a bound it holds is asked
// for, so a bound never becomes a table by mistake. `Bounds()` are the ones it
// holds, for the shell to say how to take one.
class NoaaBoundsOnlyError : public InputError {
  public:
    NoaaBoundsOnlyError(const std::string& message, std::vector<NoaaBlock> bounds)
        : InputError(message), bounds_(std::move(bounds)) {}
    const std::vector<NoaaBlock>& Bounds() const { return bounds_; }

  private:
    std::vector<NoaaBlock> bounds_;
};

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
// with InputError and a message saying why; nothing is written anywhere: one
// cut off (a row with fewer values than its heading names, a value the file
// ends inside), one giving a duration twice, one whose values are no
// plausible intensities (RequirePlausibleIntensities), and one holding only
// bounds when the estimates are asked for (NoaaBoundsOnlyError). Intensities
// that rise with duration or fall with return period are warned about.
RainfallTable ParseNoaaAtlas14(std::string_view bytes, std::string_view fileName,
                               NoaaBlock block = NoaaBlock::Estimates);

// The same from a file on disk (InputError when it is missing, unreadable or
// larger than kMaxNoaaFileBytes).
RainfallTable ReadNoaaAtlas14File(const std::string& path, NoaaBlock block = NoaaBlock::Estimates);

}  // namespace torrenta
