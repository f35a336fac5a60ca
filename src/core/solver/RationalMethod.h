#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "intensity/IntensityDatabase.h"

namespace SQLite {
class Database;
}

namespace torrenta {

// Frequency factor Cf: 1.1 for 25 years, 1.2 for 50, 1.25 for 100, 1.0 otherwise.
double FrequencyFactor(std::int16_t returnPeriod);

// x when x < y, otherwise y.
double MinValue(double x, double y);

// min(C Cf, 1) for a return period.
double CappedCoefficient(double coefficient, int years);

// A value as the results store it: single precision, saturated at the float
// range.
float ToSingle(double value);

// IntensityError naming the table and the cell unless it holds its ten rows
// of fixed durations, each with a number for every period.
void RequireCompleteTable(const std::vector<IntensityRow>& rows, const std::string& name);

// Intensities (in/hr, single precision, periods 1 ... 100 years) for a time of
// concentration in minutes, from rows in ascending duration: below the first
// duration the first row; at or past the last the last row; otherwise linear
// interpolation between the row before the first longer duration and that row.
// IntensityError when there are no rows.
std::array<float, 7> InterpolateIntensities(const std::vector<IntensityRow>& rows,
                                            double tcMinutes);

// A table's durations and cells read as numbers once, for the many lookups of
// the detention sweep (one a minute for a day): At gives what
// InterpolateIntensities gives. IntensityError when there are no rows.
class IntensityLookup {
  public:
    explicit IntensityLookup(const std::vector<IntensityRow>& rows);
    std::array<float, 7> At(double tcMinutes) const;
    // The last row's duration in minutes.
    double LongestMinutes() const;

  private:
    std::vector<float> durations_;  // hours, single precision as the solver compares them
    std::vector<std::array<float, 7>> values_;
};

struct RationalResults {
    std::array<float, 7> intensity{};
    std::array<float, 7> peakFlow{};
};

// Q = min(C Cf, 1) I A for the seven periods from a complete intensity table;
// IntensityError names the table and the cell when it is not complete.
RationalResults ComputeRationalMethod(const std::vector<IntensityRow>& rows,
                                      const std::string& intensityTableName, double area,
                                      double coefficient, double tcMinutes);

// The fourteen TblResults texts, Ival_1 ... Ival_100 then Qpeak_1 ... Qpeak_100:
// the 1-year values as "#0.0000", the others every digit of the single value.
std::array<std::string, 14> ResultTexts(const RationalResults& results);

// Writes the texts into the one TblResults row inside the caller's
// transaction: the first row is rewritten, an empty table gains it.
void WriteResultsRow(SQLite::Database& db, const std::array<std::string, 14>& texts);

// Reads the named intensity table, computes Q = min(C Cf, 1) I A for the seven
// periods and writes the one TblResults row of the project (added when the table
// is empty, otherwise the first row): Ival_1 and Qpeak_1 as "#0.0000" text, the
// other twelve as single-precision text. On any failure TblResults is untouched.
RationalResults SolveRationalMethod(const std::string& projectPath, const std::string& appFolder,
                                    const std::string& intensityTableName, double area,
                                    double coefficient, double tcMinutes);

}  // namespace torrenta
