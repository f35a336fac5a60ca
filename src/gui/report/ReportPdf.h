#pragma once

#include <QString>
#include <memory>

class QPrinter;
class QTextDocument;

namespace torrenta::gui {

// A printer that writes a PDF file of US Letter sheets, the sheet the report
// is laid out for (the saved RTF states the same).
std::unique_ptr<QPrinter> PdfPrinter(const QString& fileName);

// Lays `document` out on `printer`'s pages with the report's margins, the
// same the saved RTF states: a little more on the left, where a binder
// punches its holes. Print, Print Preview and Save as PDF all come here.
// False when the printer refused.
bool PrintReportPages(QTextDocument& document, QPrinter& printer);

// Writes `document` to `fileName` as a PDF through PrintReportPages. The pages are written to a
// temporary file beside the target and renamed over it, so a failed save
// leaves an existing file as it was. Returns "" when written, otherwise the
// reason in words for a message.
QString WriteReportPdf(QTextDocument& document, const QString& fileName);

}  // namespace torrenta::gui
