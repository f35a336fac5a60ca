#pragma once

#include <string>

#include "report/RichText.h"

namespace torrenta {

// Writes the report as a PDF of US Letter pages, laid out exactly as the
// report window prints it. The layout needs Qt, which the command line does
// not link: the PDF plugin beside the program (or in its installed library
// folder) is loaded for this call only. TorrentaError when the plugin cannot
// be loaded, InputError naming the file when it cannot be written (the file
// is written as WriteOutputFile writes every report).
void WriteReportPdf(const RichDocument& document, const std::string& path,
                    const std::string& executableFolder);

}  // namespace torrenta
