#pragma once

#include <QString>
#include <memory>
#include <string>

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

// Lays `document` out as a PDF through PrintReportPages and puts the whole
// file in `pdf`; the pages go through a private temporary file, since the
// printer writes only to files. Returns "" when done, otherwise the reason in
// words for a message.
QString RenderReportPdf(QTextDocument& document, std::string& pdf);

// Writes `document` to `fileName` as a PDF: RenderReportPdf, then
// WriteOutputFile, so the file is replaced only by a complete one, a link
// stays a link and a pipe is written into. Returns "" when written,
// otherwise the reason in words for a message.
QString WriteReportPdf(QTextDocument& document, const QString& fileName);

}  // namespace torrenta::gui
