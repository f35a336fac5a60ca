#include "store/DrainageStore.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <algorithm>
#include <charconv>

#include "Errors.h"
#include "store/Connection.h"
#include "store/ElementRows.h"

namespace torrenta {
namespace {

constexpr std::string_view kPointWord = "Point";

void CreateTables(SQLite::Database& db) {
    db.exec("CREATE TABLE IF NOT EXISTS " + QuoteIdentifier(kPointTable) +
            " (PointTag TEXT, PointName TEXT, PointKind TEXT, PointX TEXT, PointY TEXT, "
            "DrainsTo TEXT, Deleted TEXT, RimElevation TEXT, LossCoefficient TEXT)");
    db.exec("CREATE TABLE IF NOT EXISTS " + QuoteIdentifier(kDrainTable) +
            " (ElementTag TEXT, DrainsTo TEXT)");
}

// A network made before storm drains gains the rim and K columns when a point
// is next written.
void AddHydraulicColumns(SQLite::Database& db) {
    for (const char* column : {"RimElevation", "LossCoefficient"}) {
        if (!ColumnExists(db, kPointTable, column)) {
            db.exec("ALTER TABLE " + QuoteIdentifier(kPointTable) + " ADD COLUMN " + column +
                    " TEXT");
        }
    }
}

void SetElementDrain(SQLite::Database& db, const std::string& tag, const std::string& to) {
    SQLite::Statement remove(
        db, "DELETE FROM " + QuoteIdentifier(kDrainTable) + " WHERE ElementTag = ?");
    remove.bind(1, tag);
    remove.exec();
    SQLite::Statement insert(db, "INSERT INTO " + QuoteIdentifier(kDrainTable) +
                                     " (ElementTag, DrainsTo) VALUES (?, ?)");
    insert.bind(1, tag);
    insert.bind(2, to);
    insert.exec();
}

long PointNumber(const std::string& tag) {
    if (tag.size() <= kPointWord.size() || tag.compare(0, kPointWord.size(), kPointWord) != 0) {
        return 0;
    }
    long number = 0;
    const char* first = tag.data() + kPointWord.size();
    const auto [end, error] = std::from_chars(first, tag.data() + tag.size(), number);
    return error == std::errc() && end == tag.data() + tag.size() ? number : 0;
}

}  // namespace

DrainageLinks ReadDrainageLinks(const std::string& projectPath) {
    return RunOn(OpenProjectConnection(projectPath), "Cannot read where the elements drain",
                 [](Connection& open) {
                     DrainageLinks links;
                     SQLite::Database& db = open.Db();
                     links.network = TableExists(db, kDrainTable) && TableExists(db, kPointTable);
                     if (!links.network) {
                         return links;
                     }
                     // A network made before storm drains has no rims nor K.
                     const bool hydraulic = ColumnExists(db, kPointTable, "RimElevation") &&
                                            ColumnExists(db, kPointTable, "LossCoefficient");
                     CachedStatement points = open.Prepared(
                         std::string("SELECT PointTag, PointName, PointKind, PointX, PointY, "
                                     "DrainsTo, Deleted") +
                         (hydraulic ? ", RimElevation, LossCoefficient" : ", '', ''") + " FROM " +
                         QuoteIdentifier(kPointTable) + " ORDER BY rowid");
                     while (points->executeStep()) {
                         const auto text = [&](int i) { return points->getColumn(i).getString(); };
                         PointRow row{text(0), text(1), text(2), text(3), text(4),
                                      text(5), text(6), text(7), text(8)};
                         if (row.Deleted == kLive) {
                             links.points.push_back(std::move(row));
                         }
                     }
                     CachedStatement drains =
                         open.Prepared("SELECT ElementTag, DrainsTo FROM " +
                                       QuoteIdentifier(kDrainTable) + " ORDER BY rowid");
                     while (drains->executeStep()) {
                         links.elementDrains[drains->getColumn(0).getString()] =
                             drains->getColumn(1).getString();
                     }
                     return links;
                 });
}

void WriteNetworkTables(const std::string& projectPath,
                        const std::map<std::string, std::string>& elementDrains) {
    RunOn(OpenProjectConnection(projectPath), "Cannot make the project a drainage network",
          [&](SQLite::Database& db) {
              CreateTables(db);
              for (const auto& [tag, to] : elementDrains) {
                  SetElementDrain(db, tag, to);
              }
          });
}

std::string InsertPointRow(const std::string& projectPath, PointRow row) {
    return RunOn(OpenProjectConnection(projectPath), "Cannot add the design point",
                 [&](SQLite::Database& db) {
                     // Tags are never given twice while the file holds the row,
                     // deleted or not.
                     long highest = 0;
                     SQLite::Statement tags(db,
                                            "SELECT PointTag FROM " + QuoteIdentifier(kPointTable));
                     while (tags.executeStep()) {
                         highest = std::max(highest, PointNumber(tags.getColumn(0).getString()));
                     }
                     row.PointTag = std::string(kPointWord) + std::to_string(highest + 1);
                     row.Deleted = std::string(kLive);
                     AddHydraulicColumns(db);
                     SQLite::Statement insert(
                         db, "INSERT INTO " + QuoteIdentifier(kPointTable) +
                                 " (PointTag, PointName, PointKind, PointX, PointY, DrainsTo, "
                                 "Deleted, RimElevation, LossCoefficient) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
                     int i = 0;
                     for (const std::string* value :
                          {&row.PointTag, &row.PointName, &row.PointKind, &row.PointX, &row.PointY,
                           &row.DrainsTo, &row.Deleted, &row.RimElevation, &row.LossCoefficient}) {
                         insert.bind(++i, *value);
                     }
                     insert.exec();
                     return row.PointTag;
                 });
}

bool WritePointFields(const std::string& projectPath, const PointRow& row) {
    return RunOn(
        OpenProjectConnection(projectPath), "Cannot change the design point",
        [&](SQLite::Database& db) {
            AddHydraulicColumns(db);
            SQLite::Statement update(db,
                                     "UPDATE " + QuoteIdentifier(kPointTable) +
                                         " SET PointName = ?, PointKind = ?, RimElevation = ?, "
                                         "LossCoefficient = ? WHERE PointTag = ? AND Deleted = ?");
            int i = 0;
            for (const std::string* value : {&row.PointName, &row.PointKind, &row.RimElevation,
                                             &row.LossCoefficient, &row.PointTag}) {
                update.bind(++i, *value);
            }
            update.bind(++i, std::string(kLive));
            return update.exec() > 0;
        });
}

void WritePointPosition(const std::string& projectPath, const std::string& tag,
                        const std::string& x, const std::string& y) {
    RunOn(OpenProjectConnection(projectPath), "Cannot move the design point",
          [&](SQLite::Database& db) {
              SQLite::Statement update(db, "UPDATE " + QuoteIdentifier(kPointTable) +
                                               " SET PointX = ?, PointY = ? WHERE PointTag = ?");
              update.bind(1, x);
              update.bind(2, y);
              update.bind(3, tag);
              update.exec();
          });
}

void WriteDrainsTo(const std::string& projectPath, const std::string& tag, const std::string& to,
                   bool isPoint) {
    RunOn(OpenProjectConnection(projectPath), "Cannot change where it drains",
          [&](SQLite::Database& db) {
              if (!isPoint) {
                  SetElementDrain(db, tag, to);
                  return;
              }
              SQLite::Statement update(db, "UPDATE " + QuoteIdentifier(kPointTable) +
                                               " SET DrainsTo = ? WHERE PointTag = ?");
              update.bind(1, to);
              update.bind(2, tag);
              update.exec();
          });
}

std::vector<std::string> RerouteAround(const std::string& projectPath, const std::string& tag) {
    const DrainageLinks links = ReadDrainageLinks(projectPath);
    if (!links.network) {
        return {};
    }
    std::string downstream(kOutletTag);
    const auto own = links.elementDrains.find(tag);
    if (own != links.elementDrains.end()) {
        downstream = own->second;
    }
    for (const PointRow& point : links.points) {
        if (point.PointTag == tag) {
            downstream = point.DrainsTo;
        }
    }
    std::vector<std::string> rerouted;
    for (const auto& [element, to] : links.elementDrains) {
        if (to == tag && element != tag) {
            WriteDrainsTo(projectPath, element, downstream, false);
            rerouted.push_back(element);
        }
    }
    for (const PointRow& point : links.points) {
        if (point.DrainsTo == tag) {
            WriteDrainsTo(projectPath, point.PointTag, downstream, true);
            rerouted.push_back(point.PointTag);
        }
    }
    return rerouted;
}

void SetPointDeleted(const std::string& projectPath, const std::string& tag, bool deleted) {
    const int changed =
        RunOn(OpenProjectConnection(projectPath), "Cannot delete the design point",
              [&](SQLite::Database& db) {
                  SQLite::Statement update(db, "UPDATE " + QuoteIdentifier(kPointTable) +
                                                   " SET Deleted = ? "
                                                   "WHERE PointTag = ?");
                  update.bind(1, std::string(deleted ? kDeleted : kLive));
                  update.bind(2, tag);
                  return update.exec();
              });
    if (changed == 0) {
        throw InputError("The project has no design point " + tag + ".");
    }
}

void PurgeDrainage(SQLite::Database& db) {
    if (!TableExists(db, kDrainTable) || !TableExists(db, kPointTable)) {
        return;
    }
    db.exec("DELETE FROM " + QuoteIdentifier(kPointTable) + " WHERE Deleted = 'True'");
    db.exec(
        "DELETE FROM " + QuoteIdentifier(kDrainTable) +
        " WHERE ElementTag NOT IN (SELECT BasinTag FROM TblBasinInfo WHERE BasinTag IS NOT NULL "
        "UNION SELECT SurfTag FROM TblSurfaceInfo WHERE SurfTag IS NOT NULL "
        "UNION SELECT ChannelTag FROM TblChannelInfo WHERE ChannelTag IS NOT NULL)");
}

}  // namespace torrenta
