#pragma once

#include <cstddef>
#include <string>

#include "report/RichText.h"

namespace torrenta {

// The contract between torrenta-cli and its PDF plugin. The command line never
// links Qt: only `solve --pdf` loads the plugin (dlopen), which lays the report
// out off screen with the report window's own printing code.

// The plugin's file name, looked for beside torrenta-cli and then in the
// installed library folder.
inline constexpr const char* kPdfPluginFile = "torrenta-pdf.so";
inline constexpr const char* kPdfPluginEntry = "TorrentaRenderReportPdf";

// Raised whenever the document model or this signature changes, so a plugin
// left over from another build is refused instead of misreading the report.
inline constexpr int kPdfPluginVersion = 3;

// Lays `document` out as a PDF of US Letter pages with the report's margins
// and puts the whole file in `pdf`. Returns 0 when done; otherwise copies the
// reason into `reason` (cut to fit, always terminated) and returns non-zero.
// The plugin never writes the user's file: torrenta-cli does, through the
// same writer as the RTF, under the name exactly as given (Qt would read a
// file name as UTF-8 text).
using RenderReportPdfFunction = int (*)(int version, const RichDocument* document, std::string* pdf,
                                        char* reason, std::size_t reasonSize);

}  // namespace torrenta
