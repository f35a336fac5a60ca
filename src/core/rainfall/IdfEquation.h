#pragma once

#include <array>
#include <string>
#include <string_view>

#include "rainfall/RainfallTable.h"

namespace torrenta {

// The coefficients of i = b / (Tc + d)^e (i in in/hr, Tc in minutes) for one
// return period, as state manuals publish them.
struct IdfCoefficients {
    double b = 0.0;
    double d = 0.0;
    double e = 0.0;
};

// One set per return period, 1 ... 100 years in the usual order.
using IdfEquation = std::array<IdfCoefficients, 7>;

// The table at the ten durations, four significant digits, the coefficients
// written into its Source. InputError when b or e is not positive, when Tc + d
// is not positive at 5 minutes (the intensity would not be a number), or when
// an intensity is no plausible one (IntensityProblem); an intensity that falls
// with return period is warned about.
RainfallTable TableFromEquation(const IdfEquation& equation);

// Reads the coefficients file of the command line: one line per return period,
// "period,b,d,e", ended by LF, CRLF or CR; a UTF-8 byte order mark, blank lines,
// lines starting with "#" and a heading line ("period,b,d,e") are skipped.
// InputError names the file and the line that is wrong (and the value), a
// period given twice or one missing; coefficients that TableFromEquation would
// refuse are refused here, on their line.
IdfEquation ParseIdfCoefficients(std::string_view text, std::string_view fileName);

// The same from a file on disk.
IdfEquation ReadIdfCoefficientsFile(const std::string& path);

}  // namespace torrenta
