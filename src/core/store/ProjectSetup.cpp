#include "store/ProjectSetup.h"

#include <SQLiteCpp/Savepoint.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <vector>

#include "ReturnPeriods.h"
#include "store/Connection.h"
#include "text/NameText.h"

namespace torrenta {
namespace {

constexpr const char* kFirstNode = "(SELECT min(rowid) FROM TblNodeInfo)";

void EnsureNodeRow(SQLite::Database& db) {
    if (db.execAndGet("SELECT count(*) FROM TblNodeInfo").getInt() == 0) {
        SQLite::Statement insert(db, "INSERT INTO TblNodeInfo (NodeX, NodeY) VALUES (?, ?)");
        insert.bind(1, kNodeStartX);
        insert.bind(2, kNodeStartY);
        insert.exec();
    }
}

// Sets node columns (names fixed by the caller) of the first node row,
// adding the row first when the project has none.
void WriteNode(const std::string& projectPath, const std::string& assignments,
               const std::vector<std::string>& values, const char* action) {
    RunOn(OpenProjectConnection(projectPath), action, [&](SQLite::Database& db) {
        // A savepoint, not a transaction: a table change writes the node inside
        // its own write transaction.
        SQLite::Savepoint savepoint(db, "node");
        EnsureNodeRow(db);
        SQLite::Statement update(
            db, "UPDATE TblNodeInfo SET " + assignments + " WHERE rowid = " + kFirstNode);
        for (std::size_t i = 0; i < values.size(); ++i) {
            update.bind(static_cast<int>(i) + 1, values[i]);
        }
        update.exec();
        savepoint.release();
    });
}

std::optional<NodeRow> ReadNodeRow(const std::string& projectPath, bool last) {
    return RunOn(OpenProjectConnection(projectPath), "Cannot read the outlet node",
                 [last](Connection& open) -> std::optional<NodeRow> {
                     CachedStatement query =
                         open.Prepared(std::string("SELECT NodeName, IntensityTable, NodeX, NodeY "
                                                   "FROM TblNodeInfo ORDER BY rowid") +
                                       (last ? " DESC" : "") + " LIMIT 1");
                     if (!query->executeStep()) {
                         return std::nullopt;
                     }
                     return NodeRow{
                         query->getColumn(0).getString(), query->getColumn(1).getString(),
                         query->getColumn(2).getString(), query->getColumn(3).getString()};
                 });
}

}  // namespace

std::optional<ProjectInfoRow> ReadProjectInfo(const std::string& projectPath) {
    return RunOn(OpenProjectConnection(projectPath), "Cannot read the project information",
                 [](Connection& open) -> std::optional<ProjectInfoRow> {
                     CachedStatement query = open.Prepared(
                         "SELECT ProjectName, DesignEngineer, ProjectManager, "
                         "DesignDate, JobNumber, IValueBasinName FROM "
                         "TblProjectInfo ORDER BY rowid DESC LIMIT 1");
                     if (!query->executeStep()) {
                         return std::nullopt;
                     }
                     return ProjectInfoRow{
                         query->getColumn(0).getString(), query->getColumn(1).getString(),
                         query->getColumn(2).getString(), query->getColumn(3).getString(),
                         query->getColumn(4).getString(), query->getColumn(5).getString()};
                 });
}

std::optional<NodeRow> ReadNode(const std::string& projectPath) {
    return ReadNodeRow(projectPath, false);
}

std::optional<NodeRow> ReadLastNode(const std::string& projectPath) {
    return ReadNodeRow(projectPath, true);
}

void SaveProjectSetup(const std::string& projectPath, const ProjectInfoRow& info,
                      const std::string& nodeName, const std::string& intensityTable) {
    RunOn(OpenProjectConnection(projectPath), "Cannot save the project information",
          [&](SQLite::Database& db) {
              SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
              const bool exists = db.execAndGet("SELECT count(*) FROM TblProjectInfo").getInt() > 0;
              SQLite::Statement write(
                  db, exists ? "UPDATE TblProjectInfo SET ProjectName = ?, DesignEngineer = ?, "
                               "ProjectManager = ?, DesignDate = ?, JobNumber = ? "
                               "WHERE rowid = (SELECT max(rowid) FROM TblProjectInfo)"
                             : "INSERT INTO TblProjectInfo (ProjectName, DesignEngineer, "
                               "ProjectManager, DesignDate, JobNumber) VALUES (?, ?, ?, ?, ?)");
              write.bind(1, info.ProjectName);
              write.bind(2, info.DesignEngineer);
              write.bind(3, info.ProjectManager);
              write.bind(4, info.DesignDate);
              write.bind(5, info.JobNumber);
              write.exec();

              EnsureNodeRow(db);
              SQLite::Statement node(db,
                                     "UPDATE TblNodeInfo SET NodeName = ?, IntensityTable = ? "
                                     "WHERE rowid = (SELECT max(rowid) FROM TblNodeInfo)");
              node.bind(1, nodeName);
              node.bind(2, intensityTable);
              node.exec();
              transaction.commit();
          });
}

void SetProjectIntensityTable(const std::string& projectPath, const std::string& tableName) {
    RunOn(OpenProjectConnection(projectPath), "Cannot save the project's intensity table",
          [&](SQLite::Database& db) {
              SQLite::Statement update(db, "UPDATE TblProjectInfo SET IValueBasinName = ?");
              update.bind(1, tableName);
              update.exec();
          });
}

void SetNodeIntensityTable(const std::string& projectPath, const std::string& tableName) {
    WriteNode(projectPath, "IntensityTable = ?", {tableName},
              "Cannot save the node's intensity table");
}

void SetNodeName(const std::string& projectPath, const std::string& nodeName) {
    WriteNode(projectPath, "NodeName = ?", {nodeName}, "Cannot save the node's name");
}

void UpdateNodePosition(const std::string& projectPath, const std::string& x,
                        const std::string& y) {
    WriteNode(projectPath, "NodeX = ?, NodeY = ?", {x, y}, "Cannot save the node's position");
}

std::optional<ResultsRow> ReadResults(const std::string& projectPath) {
    std::string columns;
    for (const int period : kReturnPeriods) {
        columns += (columns.empty() ? "Ival_" : ", Ival_") + std::to_string(period);
    }
    for (const int period : kReturnPeriods) {
        columns += ", Qpeak_" + std::to_string(period);
    }
    return RunOn(OpenProjectConnection(projectPath), "Cannot read the results",
                 [&](SQLite::Database& db) -> std::optional<ResultsRow> {
                     SQLite::Statement query(
                         db, "SELECT " + columns + " FROM TblResults ORDER BY rowid LIMIT 1");
                     if (!query.executeStep()) {
                         return std::nullopt;
                     }
                     ResultsRow row;
                     for (int k = 0; k < 7; ++k) {
                         row.ival[k] = query.getColumn(k).getString();
                         row.qpeak[k] = query.getColumn(k + 7).getString();
                     }
                     return row;
                 });
}

void RequireOneLineSetup(const ProjectInfoRow& info, const std::string& nodeName) {
    RequireOneLineText(info.ProjectName, "The project name");
    RequireOneLineText(info.DesignEngineer, "The design engineer");
    RequireOneLineText(info.ProjectManager, "The project manager");
    RequireOneLineText(info.DesignDate, "The design date");
    RequireOneLineText(info.JobNumber, "The job number");
    RequireOneLineText(nodeName, "The node name");
}

}  // namespace torrenta
