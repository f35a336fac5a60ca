#include "report/ReportPdf.h"

#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryFile>
#include <optional>

#include "Errors.h"
#include "report/RichDocumentConversion.h"
#include "report/RichText.h"
#include "report/RichTextPrinter.h"
#include "store/OutputFile.h"

namespace torrenta::gui {

std::unique_ptr<QPrinter> PdfPrinter(const QString& fileName) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setOutputFileName(fileName);
    return printer;
}

bool PrintReportPages(QTextDocument& document, QPrinter& printer) {
    // The name a print queue lists and a PDF reader shows as the title.
    if (const std::optional<PageFooter> footer = FooterOf(document)) {
        const QString project = QString::fromStdString(footer->projectName);
        printer.setDocName(project.isEmpty() ? QStringLiteral("Torrenta report")
                                             : project + QStringLiteral(" \u2014 Torrenta report"));
    }
    return PrintRichText(document, printer, kReportPage.left, kReportPage.top, kReportPage.right,
                         kReportPage.bottom);
}

QString RenderReportPdf(QTextDocument& document, std::string& pdf) {
    QTemporaryFile pages(QDir::tempPath() + QStringLiteral("/torrenta-report-XXXXXX.pdf"));
    if (!pages.open()) {
        return QStringLiteral("A temporary file for the pages could not be made: %1")
            .arg(pages.errorString());
    }
    pages.close();
    {
        const std::unique_ptr<QPrinter> printer = PdfPrinter(pages.fileName());
        if (!PrintReportPages(document, *printer)) {
            return QStringLiteral("The pages could not be laid out.");
        }
    }
    QFile file(pages.fileName());
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("The pages could not be read back: %1").arg(file.errorString());
    }
    const QByteArray bytes = file.readAll();
    // The printer says nothing of a write cut short (a full disk): a PDF
    // without its trailer is no PDF.
    if (!bytes.startsWith("%PDF") || !bytes.trimmed().endsWith("%%EOF")) {
        return QStringLiteral("The pages could not be written to %1.")
            .arg(QDir::toNativeSeparators(QDir::tempPath()));
    }
    pdf.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return {};
}

QString WriteReportPdf(QTextDocument& document, const QString& fileName) {
    std::string pdf;
    const QString failure = RenderReportPdf(document, pdf);
    if (!failure.isEmpty()) {
        return failure;
    }
    try {
        WriteOutputFile(QFile::encodeName(fileName).toStdString(), pdf);
    } catch (const TorrentaError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

}  // namespace torrenta::gui
