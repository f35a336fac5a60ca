#pragma once

#include <string>

#include "report/RichText.h"
#include "solver/NetworkSolution.h"
#include "store/ProjectSetup.h"

namespace torrenta {

struct ReportInputs {
    std::string projectPath;
    std::string appFolder;           // holds intensity.mdb
    std::string intensityTableName;  // the table the solver reads
    NetworkFlags flags;
};

// The composed report with the solution it was built from.
struct ComposedReport {
    RichDocument document;
    NetworkSolution solution;
};

// The whole report of a solved network: banner, project information, one
// section per element kind present, the runoff rates and the footer. Reads no
// file: everything comes from the two values.
RichDocument ComposeReport(const NetworkSolution& solution, const ProjectInfoRow& info);

// The detention section alone, as the report prints it after the peak flows:
// the method, the release, one row per return period.
RichDocument ComposeDetentionSection(const DetentionResult& detention);

// Solve's report: solves the project (which rewrites TblResults) and composes
// the report of that solution. A database or solver error stops it with the
// core's typed error; no partial report escapes.
ComposedReport ComposeReport(const ReportInputs& inputs);

}  // namespace torrenta
