#pragma once

#include <string>

#include "report/RichText.h"
#include "solver/RationalMethod.h"

namespace torrenta {

// Which element kinds have live rows; a network with none has nothing to solve.
struct NetworkFlags {
    bool HasOverland = false;
    bool HasChannel = false;
    bool HasShallow = false;

    bool Any() const { return HasOverland || HasChannel || HasShallow; }
};

// Solve's first step: looks for live elements of each kind.
NetworkFlags SolveNetwork(const std::string& projectPath);

struct ReportInputs {
    std::string projectPath;
    std::string appFolder;           // holds intensity.mdb
    std::string intensityTableName;  // the table the solver reads
    NetworkFlags flags;
};

// The composed report with the totals it was built from.
struct ComposedReport {
    RichDocument document;
    double TotalArea = 0.0;
    double WeightedC = 0.0;
    double OverlandTcSum = 0.0;
    double ShallowTcSum = 0.0;
    double ChannelTcSum = 0.0;
    double TotalTc = 0.0;
    RationalResults results;
};

// Composes the whole report: banner, project information, one section per
// element kind present, the solver run (which rewrites TblResults), the runoff
// rates read back from TblResults, and the footer. A database or solver error
// stops composition with the core's typed error; no partial report escapes.
ComposedReport ComposeReport(const ReportInputs& inputs);

}  // namespace torrenta
