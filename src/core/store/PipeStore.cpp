#include "store/PipeStore.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <sstream>

#include "store/Connection.h"
#include "store/ElementRows.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

constexpr std::string_view kPipeWord = "Pipe";
constexpr std::array<std::string_view, 11> kPipeColumns = {
    "PipeTag",  "PipeName",   "FromPoint", "ToPoint", "PipeLength", "PipeSlope",
    "InvertUp", "InvertDown", "Diameter",  "PipeN",   "Deleted"};

constexpr std::array<std::string_view, 3> kGradeLineColumns = {"Tailwater", "CheckPeriod",
                                                               "Freeboard"};

std::string ColumnList() {
    std::string list;
    for (const std::string_view column : kPipeColumns) {
        list += (list.empty() ? "" : ", ") + std::string(column);
    }
    return list;
}

long PipeNumber(const std::string& tag) {
    if (tag.size() <= kPipeWord.size() || tag.compare(0, kPipeWord.size(), kPipeWord) != 0) {
        return 0;
    }
    long number = 0;
    const auto [end, error] =
        std::from_chars(tag.data() + kPipeWord.size(), tag.data() + tag.size(), number);
    return error == std::errc() && end == tag.data() + tag.size() ? number : 0;
}

}  // namespace

std::optional<std::vector<double>> DiameterList(std::string_view text) {
    std::vector<double> sizes;
    std::stringstream list{std::string(text)};
    for (std::string item; std::getline(list, item, ',');) {
        if (!StartsWithNumber(item)) {
            return std::nullopt;
        }
        sizes.push_back(LeadingNumber(item));
    }
    if (sizes.empty()) {
        return std::nullopt;
    }
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

std::vector<PipeRow> ReadPipes(const std::string& projectPath, bool withDeleted) {
    return RunOn(OpenProjectConnection(projectPath), "Cannot read the project's pipes",
                 [withDeleted](Connection& open) {
                     std::vector<PipeRow> pipes;
                     if (!TableExists(open.Db(), kPipeTable)) {
                         return pipes;
                     }
                     CachedStatement query =
                         open.Prepared("SELECT " + ColumnList() + " FROM " +
                                       QuoteIdentifier(kPipeTable) + " ORDER BY rowid");
                     while (query->executeStep()) {
                         const auto text = [&](int i) { return query->getColumn(i).getString(); };
                         PipeRow row{text(0), text(1), text(2), text(3), text(4), text(5),
                                     text(6), text(7), text(8), text(9), text(10)};
                         if (withDeleted || row.Deleted == kLive) {
                             pipes.push_back(std::move(row));
                         }
                     }
                     return pipes;
                 });
}

DesignSettings ReadDesignSettings(const std::string& projectPath) {
    return RunOn(
        OpenProjectConnection(projectPath), "Cannot read the network's design settings",
        [](Connection& open) {
            DesignSettings settings;
            if (!TableExists(open.Db(), kNetworkSettingsTable)) {
                return settings;
            }
            // Settings saved before the hydraulic grade line have no such columns.
            std::string hydraulic;
            for (const std::string_view column : kGradeLineColumns) {
                hydraulic += ColumnExists(open.Db(), kNetworkSettingsTable, column)
                                 ? ", " + std::string(column)
                                 : std::string(", ''");
            }
            CachedStatement query = open.Prepared(
                "SELECT DesignPeriod, MinDiameter, Sizes, MinDuration, MinVelocity, MaxVelocity, "
                "MinCover" +
                hydraulic + " FROM " + QuoteIdentifier(kNetworkSettingsTable) +
                " ORDER BY rowid LIMIT 1");
            if (!query->executeStep()) {
                return settings;
            }
            const auto number = [&](int i, double fallback) {
                const std::string text = query->getColumn(i).getString();
                return StartsWithNumber(text) ? LeadingNumber(text) : fallback;
            };
            settings.designYears = static_cast<int>(number(0, settings.designYears));
            settings.minimumDiameter = number(1, settings.minimumDiameter);
            if (const auto sizes = DiameterList(query->getColumn(2).getString()); sizes) {
                settings.sizes = *sizes;
            }
            settings.minimumDuration = number(3, settings.minimumDuration);
            settings.minimumVelocity = number(4, settings.minimumVelocity);
            settings.maximumVelocity = number(5, settings.maximumVelocity);
            settings.minimumCover = number(6, settings.minimumCover);
            if (const std::string tailwater = query->getColumn(7).getString();
                StartsWithNumber(tailwater)) {
                settings.tailwater = LeadingNumber(tailwater);
            }
            settings.checkYears = static_cast<int>(number(8, settings.checkYears));
            settings.freeboard = number(9, settings.freeboard);
            return settings;
        });
}

void WriteDesignSettings(const std::string& projectPath, const DesignSettings& settings) {
    RunOn(OpenProjectConnection(projectPath), "Cannot save the design settings",
          [&](SQLite::Database& db) {
              const std::string table = QuoteIdentifier(kNetworkSettingsTable);
              db.exec("CREATE TABLE IF NOT EXISTS " + table +
                      " (DesignPeriod TEXT, MinDiameter TEXT, Sizes TEXT, MinDuration TEXT, "
                      "MinVelocity TEXT, MaxVelocity TEXT, MinCover TEXT)");
              for (const std::string_view column : kGradeLineColumns) {
                  if (!ColumnExists(db, kNetworkSettingsTable, column)) {
                      db.exec("ALTER TABLE " + table + " ADD COLUMN " + std::string(column) +
                              " TEXT");
                  }
              }
              db.exec("DELETE FROM " + table);
              std::string sizes;
              for (const double size : settings.sizes) {
                  sizes += (sizes.empty() ? "" : ",") + GeneralNumberText(size);
              }
              SQLite::Statement insert(
                  db, "INSERT INTO " + table +
                          " (DesignPeriod, MinDiameter, Sizes, MinDuration, MinVelocity, "
                          "MaxVelocity, MinCover, Tailwater, CheckPeriod, Freeboard) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
              insert.bind(1, std::to_string(settings.designYears));
              insert.bind(2, GeneralNumberText(settings.minimumDiameter));
              insert.bind(3, sizes);
              insert.bind(4, GeneralNumberText(settings.minimumDuration));
              insert.bind(5, GeneralNumberText(settings.minimumVelocity));
              insert.bind(6, GeneralNumberText(settings.maximumVelocity));
              insert.bind(7, GeneralNumberText(settings.minimumCover));
              insert.bind(8, settings.tailwater ? GeneralNumberText(*settings.tailwater) : "");
              insert.bind(9, std::to_string(settings.checkYears));
              insert.bind(10, GeneralNumberText(settings.freeboard));
              insert.exec();
          });
}

bool SetPipeDeleted(const std::string& projectPath, const std::string& tag, bool deleted) {
    return RunOn(OpenProjectConnection(projectPath), "Cannot delete the pipe",
                 [&](SQLite::Database& db) {
                     if (!TableExists(db, kPipeTable)) {
                         return false;
                     }
                     SQLite::Statement update(db, "UPDATE " + QuoteIdentifier(kPipeTable) +
                                                      " SET Deleted = ? WHERE PipeTag = ? "
                                                      "AND Deleted = ?");
                     update.bind(1, deleted ? "True" : "False");
                     update.bind(2, tag);
                     update.bind(3, deleted ? "False" : "True");
                     return update.exec() > 0;
                 });
}

bool WritePipeRow(const std::string& projectPath, const PipeRow& row) {
    return RunOn(
        OpenProjectConnection(projectPath), "Cannot change the pipe", [&](SQLite::Database& db) {
            if (!TableExists(db, kPipeTable)) {
                return false;
            }
            SQLite::Statement update(
                db, "UPDATE " + QuoteIdentifier(kPipeTable) +
                        " SET PipeName = ?, FromPoint = ?, ToPoint = ?, PipeLength = ?, "
                        "PipeSlope = ?, InvertUp = ?, InvertDown = ?, Diameter = ?, "
                        "PipeN = ? WHERE PipeTag = ? AND Deleted = 'False'");
            int i = 0;
            for (const std::string* value :
                 {&row.PipeName, &row.FromPoint, &row.ToPoint, &row.PipeLength, &row.PipeSlope,
                  &row.InvertUp, &row.InvertDown, &row.Diameter, &row.PipeN, &row.PipeTag}) {
                update.bind(++i, *value);
            }
            return update.exec() > 0;
        });
}

std::string InsertPipeRow(const std::string& projectPath, PipeRow row) {
    return RunOn(
        OpenProjectConnection(projectPath), "Cannot add the pipe", [&](SQLite::Database& db) {
            std::string create = "CREATE TABLE IF NOT EXISTS " + QuoteIdentifier(kPipeTable) + " (";
            for (std::size_t i = 0; i < kPipeColumns.size(); ++i) {
                create += (i > 0 ? ", " : "") + std::string(kPipeColumns[i]) + " TEXT";
            }
            db.exec(create + ")");
            long highest = 0;
            SQLite::Statement tags(db, "SELECT PipeTag FROM " + QuoteIdentifier(kPipeTable));
            while (tags.executeStep()) {
                highest = std::max(highest, PipeNumber(tags.getColumn(0).getString()));
            }
            row.PipeTag = std::string(kPipeWord) + std::to_string(highest + 1);
            row.Deleted = std::string(kLive);
            SQLite::Statement insert(db, "INSERT INTO " + QuoteIdentifier(kPipeTable) + " (" +
                                             ColumnList() +
                                             ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            int i = 0;
            for (const std::string* value :
                 {&row.PipeTag, &row.PipeName, &row.FromPoint, &row.ToPoint, &row.PipeLength,
                  &row.PipeSlope, &row.InvertUp, &row.InvertDown, &row.Diameter, &row.PipeN,
                  &row.Deleted}) {
                insert.bind(++i, *value);
            }
            insert.exec();
            return row.PipeTag;
        });
}

}  // namespace torrenta
