#include "solver/RationalMethod.h"

#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "store/Connection.h"
#include "text/NumberText.h"

namespace torrenta {

// Stored values are single precision; a reading beyond the float range
// saturates instead of being an undefined conversion.
float ToSingle(double value) {
    if (value > FLT_MAX) {
        return FLT_MAX;
    }
    if (value < -FLT_MAX) {
        return -FLT_MAX;
    }
    return static_cast<float>(value);
}

namespace {

constexpr double kMinutesPerHour = 60.0;
constexpr double kMaxCoefficient = 1.0;
constexpr std::size_t kPeriodCount = kReturnPeriods.size();
// Ival_1 and Qpeak_1 are shown with four decimals; the others keep every
// digit of the single-precision value.
constexpr int kFirstPeriodDecimals = 4;

std::array<float, kPeriodCount> RowValues(const IntensityRow& row) {
    std::array<float, kPeriodCount> values{};
    for (std::size_t k = 0; k < kPeriodCount; ++k) {
        values[k] = ToSingle(LeadingNumber(row.values[k]));
    }
    return values;
}

// A table short of its ten durations would hold the last intensities flat
// past its end, and a cell of text would read as no rain at all: either way
// the report would show flows that look computed. The engineer is told which
// table and which cell instead.

}  // namespace

void RequireCompleteTable(const std::vector<IntensityRow>& rows, const std::string& name) {
    const std::string table = "The intensity table \"" + name + "\"";
    if (rows.size() < kDurationTexts.size()) {
        throw IntensityError(table + " has only " + std::to_string(rows.size()) + " of its " +
                             std::to_string(kDurationTexts.size()) + " rows.");
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string row = "row " + std::to_string(i + 1);
        if (i < kDurationLabels.size()) {
            row += " (" + std::string(kDurationLabels[i]) + ")";
        }
        if (!StartsWithNumber(rows[i].duration)) {
            throw IntensityError(table + " holds \"" + rows[i].duration + "\" as the duration of " +
                                 row + ", which is not a number.");
        }
        // The durations are the ten fixed ones: a row of 10,000 hours is a
        // tampered table (and would send a detention sweep through 600,000
        // storms), not a longer storm.
        if (i >= kDurationTexts.size()) {
            throw IntensityError(table + " holds more than its " +
                                 std::to_string(kDurationTexts.size()) + " rows (row " +
                                 std::to_string(i + 1) + ", duration \"" + rows[i].duration +
                                 "\"); the table is damaged.");
        }
        if (std::abs(LeadingNumber(rows[i].duration) - LeadingNumber(kDurationTexts[i])) > 1e-3) {
            throw IntensityError(table + " holds \"" + rows[i].duration + "\" as the duration of " +
                                 row + ", which should be " + std::string(kDurationTexts[i]) +
                                 " hours; the table is damaged.");
        }
        for (std::size_t k = 0; k < kPeriodCount; ++k) {
            const std::string& cell = rows[i].values[k];
            if (StartsWithNumber(cell)) {
                continue;
            }
            const std::string period = std::to_string(kReturnPeriods[k]) + "-year";
            throw IntensityError(cell.empty()
                                     ? table + " has no " + period + " value in " + row + "."
                                     : table + " holds \"" + cell + "\" as the " + period +
                                           " value of " + row + ", which is not a number.");
        }
    }
}

double FrequencyFactor(std::int16_t returnPeriod) {
    switch (returnPeriod) {
        case 25:
            return 1.1;
        case 50:
            return 1.2;
        case 100:
            return 1.25;
        default:
            return 1.0;
    }
}

double CappedCoefficient(double coefficient, int years) {
    return MinValue(coefficient * FrequencyFactor(static_cast<std::int16_t>(years)),
                    kMaxCoefficient);
}

double MinValue(double x, double y) {
    return x < y ? x : y;
}

IntensityLookup::IntensityLookup(const std::vector<IntensityRow>& rows) {
    if (rows.empty()) {
        throw IntensityError("The intensity table has no rows to read intensities from.");
    }
    durations_.reserve(rows.size());
    values_.reserve(rows.size());
    for (const auto& row : rows) {
        durations_.push_back(ToSingle(LeadingNumber(row.duration)));
        values_.push_back(RowValues(row));
    }
}

double IntensityLookup::LongestMinutes() const {
    return static_cast<double>(durations_.back()) * kMinutesPerHour;
}

std::array<float, 7> IntensityLookup::At(double tcMinutes) const {
    const double tcHours = tcMinutes / kMinutesPerHour;
    std::size_t found = 0;
    while (found < durations_.size() && !(tcHours < static_cast<double>(durations_[found]))) {
        ++found;
    }
    if (found == 0) {
        return values_.front();
    }
    if (found == durations_.size()) {
        return values_.back();
    }

    const auto& lo = values_[found - 1];
    const auto& hi = values_[found];
    const float loDuration = durations_[found - 1];
    const float durationSpan = durations_[found] - loDuration;
    if (!(durationSpan > 0.0f)) {
        return lo;
    }
    std::array<float, 7> intensity{};
    for (std::size_t k = 0; k < kPeriodCount; ++k) {
        const float valueSpan = hi[k] - lo[k];
        intensity[k] =
            ToSingle(static_cast<double>(lo[k]) + static_cast<double>(valueSpan) *
                                                      (tcHours - static_cast<double>(loDuration)) /
                                                      static_cast<double>(durationSpan));
    }
    return intensity;
}

std::array<float, 7> InterpolateIntensities(const std::vector<IntensityRow>& rows,
                                            double tcMinutes) {
    return IntensityLookup(rows).At(tcMinutes);
}

RationalResults ComputeRationalMethod(const std::vector<IntensityRow>& rows,
                                      const std::string& intensityTableName, double area,
                                      double coefficient, double tcMinutes) {
    RequireCompleteTable(rows, intensityTableName);
    RationalResults results;
    results.intensity = InterpolateIntensities(rows, tcMinutes);
    for (std::size_t k = 0; k < kPeriodCount; ++k) {
        const double cc = CappedCoefficient(coefficient, kReturnPeriods[k]);
        results.peakFlow[k] = ToSingle(cc * static_cast<double>(results.intensity[k]) * area);
    }
    return results;
}

std::array<std::string, 14> ResultTexts(const RationalResults& results) {
    std::array<std::string, 2 * kPeriodCount> texts;
    for (std::size_t k = 0; k < kPeriodCount; ++k) {
        const bool fixed = k == 0;
        texts[k] =
            fixed ? FormatFixed(static_cast<double>(results.intensity[k]), kFirstPeriodDecimals)
                  : SingleText(results.intensity[k]);
        texts[kPeriodCount + k] =
            fixed ? FormatFixed(static_cast<double>(results.peakFlow[k]), kFirstPeriodDecimals)
                  : SingleText(results.peakFlow[k]);
    }
    return texts;
}

// The project keeps one results row: the first one is rewritten, a second one
// (left by another program) is not ours to touch, and an empty table gains it.
void WriteResultsRow(SQLite::Database& db, const std::array<std::string, 14>& texts) {
    std::array<std::string, 2 * kPeriodCount> columns;
    for (std::size_t k = 0; k < kPeriodCount; ++k) {
        const std::string period = std::to_string(kReturnPeriods[k]);
        columns[k] = "Ival_" + period;
        columns[kPeriodCount + k] = "Qpeak_" + period;
    }
    // The first row is rewritten in one statement; only a table with no row
    // yet gets one added.
    std::string sql = "UPDATE TblResults SET ";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        sql += (i == 0 ? "" : ", ") + QuoteIdentifier(columns[i]) + " = ?";
    }
    sql += " WHERE rowid = (SELECT min(rowid) FROM TblResults)";
    SQLite::Statement update(db, sql);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        update.bind(static_cast<int>(i + 1), texts[i]);
    }
    if (update.exec() > 0) {
        return;
    }
    std::string names;
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names += (i == 0 ? "" : ", ") + QuoteIdentifier(columns[i]);
        marks += i == 0 ? "?" : ", ?";
    }
    SQLite::Statement insert(db, "INSERT INTO TblResults (" + names + ") VALUES (" + marks + ")");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        insert.bind(static_cast<int>(i + 1), texts[i]);
    }
    insert.exec();
}

RationalResults SolveRationalMethod(const std::string& projectPath, const std::string& appFolder,
                                    const std::string& intensityTableName, double area,
                                    double coefficient, double tcMinutes) {
    // Everything that can fail on input or on the intensity database happens
    // before the project is opened, so a failure leaves TblResults as it was.
    const RationalResults results =
        ComputeRationalMethod(ReadIntensityRows(appFolder, intensityTableName), intensityTableName,
                              area, coefficient, tcMinutes);
    auto connection = OpenProjectConnection(projectPath);
    try {
        SQLite::Transaction transaction(connection.Db(), SQLite::TransactionBehavior::IMMEDIATE);
        WriteResultsRow(connection.Db(), ResultTexts(results));
        transaction.commit();
    } catch (const TorrentaError&) {
        throw;
    } catch (const std::exception& e) {
        ThrowDatabaseError(connection, "Cannot write the peak-flow results", e);
    }
    return results;
}

}  // namespace torrenta
