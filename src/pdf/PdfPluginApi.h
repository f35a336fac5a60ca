#pragma once

#include <cstddef>

#include "report/RichText.h"

namespace torrenta {

// The contract between torrenta-cli and its PDF plugin. The command line never
// links Qt: only `solve --pdf` loads the plugin (dlopen), which lays the report
// out off screen with the report window's own printing code.

// The plugin's file name, looked for beside torrenta-cli and then in the
// installed library folder.
inline constexpr const char* kPdfPluginFile = "torrenta-pdf.so";
inline constexpr const char* kPdfPluginEntry = "TorrentaWriteReportPdf";

// Raised whenever the document model or this signature changes, so a plugin
// left over from another build is refused instead of misreading the report.
inline constexpr int kPdfPluginVersion = 1;

// Writes `document` to `path` as a PDF of US Letter pages with the report's
// margins. Returns 0 when the whole file was written; otherwise copies the
// reason into `reason` (cut to fit, always terminated) and returns non-zero.
// An existing file at `path` is replaced only by a complete one.
using WriteReportPdfFunction = int (*)(int version, const RichDocument* document, const char* path,
                                       char* reason, std::size_t reasonSize);

}  // namespace torrenta
