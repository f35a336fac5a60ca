#pragma once

#include <string>

namespace torrenta {

// Why a report may not be saved as `target`, in a message naming the file as
// given; "" when it may. A report never replaces the project being solved
// (under any of its names: relative, through a link, a hard link), the
// application folder's intensity.mdb or empty.mdb, or any other SQLite
// database: one slip of a file name would lose a project's work or every
// intensity table.
std::string ReportTargetRefusal(const std::string& target, const std::string& projectPath,
                                const std::string& appFolder);

// InputError with ReportTargetRefusal's message when there is one.
void RequireReportTarget(const std::string& target, const std::string& projectPath,
                         const std::string& appFolder);

}  // namespace torrenta
