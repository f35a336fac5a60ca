#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QTextDocument;

namespace torrenta::gui {

// Where the report goes when the user prints: the system's default printer,
// without a printer dialog. Tests install a factory that writes a PDF file.
using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;

// A printer for the default printer, or nullptr when none is installed.
std::unique_ptr<QPrinter> DefaultPrinter();

// Installs the factory Print takes its printer from; an empty one restores
// DefaultPrinter.
void SetPrinterFactory(PrinterFactory factory);
std::unique_ptr<QPrinter> CreatePrinter();

// The rectangle the text is laid out in, in device pixels from the sheet's
// top-left corner: the sheet less the four margins (twips, from the sheet's
// physical edges). Empty when the margins leave no room.
QRect PrintTargetRect(const QSize& sheetPixels, double dpiX, double dpiY, int left, int top,
                      int right, int bottom);

// Prints the whole document on `printer`, page after page, each page
// continuing where the last one stopped, inside margins given in twips from the
// sheet's physical edges. The document itself is left as it is (a copy is laid
// out for the printer). True when the whole text went to the printer.
bool PrintRichText(QTextDocument& document, QPrinter& printer, int left, int top, int right,
                   int bottom);

// Why PrintRichText failed, in words for a message box.
QString PrintFailureReason(const QPrinter& printer);

}  // namespace torrenta::gui
