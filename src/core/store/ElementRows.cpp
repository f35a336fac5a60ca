#include "store/ElementRows.h"

#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "Errors.h"
#include "store/Connection.h"
#include "store/DrainageStore.h"

namespace torrenta {
namespace {

constexpr ElementTableInfo kOverland{"TblBasinInfo", "Basin", "BasinTag", "BasinX", "BasinY"};
constexpr ElementTableInfo kShallow{"TblSurfaceInfo", "Surface", "SurfTag", "SurfX", "SurfY"};
constexpr ElementTableInfo kChannel{"TblChannelInfo", "Channel", "ChannelTag", "ChannelLeft",
                                    "ChannelTop"};

template <class Row>
const ElementTableInfo& InfoOf() {
    return TableInfo(ElementTable<Row>::kKind);
}

std::string Quoted(std::string_view name) {
    return QuoteIdentifier(name);
}

template <class Columns>
std::string ColumnList(const Columns& columns) {
    std::string list;
    for (const auto& column : columns) {
        list += (list.empty() ? "" : ",") + Quoted(column.name);
    }
    return list;
}

// Reads a row selected with ColumnList(kColumns): the statement names each
// column, so the table's physical column order (a file made by another
// version) does not matter and the k-th result is the k-th column; NULL
// reads as "".
template <class Row>
Row ReadRow(SQLite::Statement& query) {
    Row row;
    int index = 0;
    for (const auto& column : ElementTable<Row>::kColumns) {
        row.*column.member = query.getColumn(index++).getString();
    }
    return row;
}

template <class Row>
std::vector<Row> ReadRows(const std::string& projectPath, bool liveOnly) {
    const auto& info = InfoOf<Row>();
    std::string sql =
        "SELECT " + ColumnList(ElementTable<Row>::kColumns) + " FROM " + Quoted(info.table);
    if (liveOnly) {
        sql += " WHERE Deleted = ?";
    }
    sql += " ORDER BY rowid";
    return RunOn(OpenProjectConnection(projectPath), "Cannot read the project's elements",
                 [&](Connection& open) {
                     CachedStatement query = open.Prepared(sql);
                     if (liveOnly) {
                         query->bind(1, std::string(kLive));
                     }
                     std::vector<Row> rows;
                     while (query->executeStep()) {
                         rows.push_back(ReadRow<Row>(*query));
                     }
                     return rows;
                 });
}

// The number after the tag word, or -1 when the tag is not word + digits.
long TagNumber(std::string_view tag, std::string_view word) {
    if (tag.size() <= word.size() || tag.substr(0, word.size()) != word) {
        return -1;
    }
    const std::string_view digits = tag.substr(word.size());
    if (digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    long number = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return number;
}

}  // namespace

const ElementTableInfo& TableInfo(ElementKind kind) {
    switch (kind) {
        case ElementKind::Overland:
            return kOverland;
        case ElementKind::Shallow:
            return kShallow;
        case ElementKind::Channel:
            break;
    }
    return kChannel;
}

template <class Row>
void InsertElementRow(const std::string& projectPath, const Row& row) {
    const auto& columns = ElementTable<Row>::kColumns;
    std::string placeholders;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        placeholders += i == 0 ? "?" : ",?";
    }
    const std::string sql = "INSERT INTO " + Quoted(InfoOf<Row>().table) + " (" +
                            ColumnList(columns) + ") VALUES (" + placeholders + ")";
    RunOn(OpenProjectConnection(projectPath), "Cannot add the element to the project",
          [&](SQLite::Database& db) {
              SQLite::Statement insert(db, sql);
              int index = 1;
              for (const auto& column : columns) {
                  insert.bind(index++, row.*column.member);
              }
              insert.exec();
          });
}

template <class Row>
void UpdateElementRow(const std::string& projectPath, const std::string& tag, const Row& row) {
    const auto& info = InfoOf<Row>();
    std::string assignments;
    for (const auto& column : ElementTable<Row>::kDataColumns) {
        assignments += (assignments.empty() ? "" : ", ") + Quoted(column.name) + " = ?";
    }
    const std::string sql = "UPDATE " + Quoted(info.table) + " SET " + assignments + " WHERE " +
                            Quoted(info.tagColumn) + " = ?";
    const int changed = RunOn(OpenProjectConnection(projectPath), "Cannot save the element",
                              [&](SQLite::Database& db) {
                                  SQLite::Statement update(db, sql);
                                  int index = 1;
                                  for (const auto& column : ElementTable<Row>::kDataColumns) {
                                      update.bind(index++, row.*column.member);
                                  }
                                  update.bind(index, tag);
                                  return update.exec();
                              });
    if (changed == 0) {
        throw DatabaseError("The element " + tag +
                            " is no longer in the project; nothing was saved.");
    }
}

template <class Row>
std::optional<Row> LoadElementRow(const std::string& projectPath, const std::string& tag) {
    const auto& info = InfoOf<Row>();
    const std::string sql = "SELECT " + ColumnList(ElementTable<Row>::kColumns) + " FROM " +
                            Quoted(info.table) + " WHERE " + Quoted(info.tagColumn) +
                            " = ? ORDER BY rowid LIMIT 1";
    return RunOn(OpenProjectConnection(projectPath), "Cannot read the element",
                 [&](SQLite::Database& db) -> std::optional<Row> {
                     SQLite::Statement query(db, sql);
                     query.bind(1, tag);
                     if (!query.executeStep()) {
                         return std::nullopt;
                     }
                     return ReadRow<Row>(query);
                 });
}

template <class Row>
std::vector<Row> ReadLiveElements(const std::string& projectPath) {
    return ReadRows<Row>(projectPath, true);
}

template <class Row>
std::vector<Row> ReadAllElements(const std::string& projectPath) {
    return ReadRows<Row>(projectPath, false);
}

#define TORRENTA_ELEMENT_ROW(Row)                                                            \
    template void InsertElementRow<Row>(const std::string&, const Row&);                     \
    template void UpdateElementRow<Row>(const std::string&, const std::string&, const Row&); \
    template std::optional<Row> LoadElementRow<Row>(const std::string&, const std::string&); \
    template std::vector<Row> ReadLiveElements<Row>(const std::string&);                     \
    template std::vector<Row> ReadAllElements<Row>(const std::string&);
TORRENTA_ELEMENT_ROW(BasinRow)
TORRENTA_ELEMENT_ROW(SurfaceRow)
TORRENTA_ELEMENT_ROW(ChannelRow)
#undef TORRENTA_ELEMENT_ROW

namespace {

int SetDeleted(const std::string& projectPath, ElementKind kind, const std::string& tag,
               std::string_view deleted, const char* failure) {
    const auto& info = TableInfo(kind);
    return RunOn(OpenProjectConnection(projectPath), failure, [&](SQLite::Database& db) {
        SQLite::Statement update(db, "UPDATE " + Quoted(info.table) + " SET Deleted = ? WHERE " +
                                         Quoted(info.tagColumn) + " = ?");
        update.bind(1, std::string(deleted));
        update.bind(2, tag);
        return update.exec();
    });
}

}  // namespace

std::vector<std::string> SoftDeleteElement(const std::string& projectPath, ElementKind kind,
                                           const std::string& tag) {
    std::vector<std::string> rerouted = RerouteAround(projectPath, tag);
    SetDeleted(projectPath, kind, tag, kDeleted, "Cannot delete the element");
    return rerouted;
}

void UndeleteElement(const std::string& projectPath, ElementKind kind, const std::string& tag,
                     const std::vector<std::string>& rerouted) {
    if (SetDeleted(projectPath, kind, tag, kLive, "Cannot restore the element") == 0) {
        throw DatabaseError("The element " + tag +
                            " is no longer in the project; it cannot be restored.");
    }
    const DrainageLinks links = ReadDrainageLinks(projectPath);
    for (const std::string& item : rerouted) {
        const bool isPoint =
            std::any_of(links.points.begin(), links.points.end(),
                        [&](const PointRow& point) { return point.PointTag == item; });
        WriteDrainsTo(projectPath, item, tag, isPoint);
    }
}

void UpdateElementPosition(const std::string& projectPath, ElementKind kind, const std::string& tag,
                           const std::string& x, const std::string& y) {
    const auto& info = TableInfo(kind);
    RunOn(OpenProjectConnection(projectPath), "Cannot save the element's position",
          [&](SQLite::Database& db) {
              SQLite::Statement update(
                  db, "UPDATE " + Quoted(info.table) + " SET " + Quoted(info.xColumn) + " = ?, " +
                          Quoted(info.yColumn) + " = ? WHERE " + Quoted(info.tagColumn) + " = ?");
              update.bind(1, x);
              update.bind(2, y);
              update.bind(3, tag);
              update.exec();
          });
}

int CountElementRows(const std::string& projectPath, ElementKind kind) {
    const auto& info = TableInfo(kind);
    return RunOn(OpenProjectConnection(projectPath), "Cannot count the project's elements",
                 [&](SQLite::Database& db) {
                     return db.execAndGet("SELECT count(*) FROM " + Quoted(info.table)).getInt();
                 });
}

std::string NextElementTag(const std::string& projectPath, ElementKind kind, int index) {
    const auto& info = TableInfo(kind);
    const std::string candidate = std::string(info.tagWord) + std::to_string(index);
    return RunOn(OpenProjectConnection(projectPath), "Cannot read the project's element tags",
                 [&](SQLite::Database& db) {
                     SQLite::Statement query(
                         db, "SELECT " + Quoted(info.tagColumn) + " FROM " + Quoted(info.table));
                     bool inUse = false;
                     long highest = 0;
                     while (query.executeStep()) {
                         const std::string tag = query.getColumn(0).getString();
                         inUse = inUse || tag == candidate;
                         highest = std::max(highest, TagNumber(tag, info.tagWord));
                     }
                     return inUse ? std::string(info.tagWord) + std::to_string(highest + 1)
                                  : candidate;
                 });
}

}  // namespace torrenta
