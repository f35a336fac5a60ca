#include "store/ReportTarget.h"

#include <filesystem>

#include "Errors.h"
#include "store/FileIdentity.h"

namespace fs = std::filesystem;

namespace torrenta {

std::string ReportTargetRefusal(const std::string& target, const std::string& projectPath,
                                const std::string& appFolder) {
    const std::string refused = "The report is not saved as \"" + target + "\": ";
    const fs::path file(target);
    if (!projectPath.empty() && SameFile(file, projectPath)) {
        return refused + "it is the project being solved.";
    }
    if (const std::string role = ApplicationDatabaseRole(file, appFolder); !role.empty()) {
        return refused + "it is " + role + ".";
    }
    // SQLite deletes or rewrites a database's side files on its next write,
    // and a stale journal would be rolled back into the database.
    if (!projectPath.empty()) {
        for (const char* suffix : {"-journal", "-wal", "-shm"}) {
            if (SameFile(file, projectPath + suffix)) {
                return refused + "it is a working file SQLite keeps beside the project.";
            }
        }
    }
    if (IsSqliteDatabase(file)) {
        return refused + "it is a database (a project or an intensity database).";
    }
    return "";
}

void RequireReportTarget(const std::string& target, const std::string& projectPath,
                         const std::string& appFolder) {
    const std::string refusal = ReportTargetRefusal(target, projectPath, appFolder);
    if (!refusal.empty()) {
        throw InputError(refusal);
    }
}

}  // namespace torrenta
