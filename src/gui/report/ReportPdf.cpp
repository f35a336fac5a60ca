#include "report/ReportPdf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "report/RichText.h"
#include "report/RichTextPrinter.h"

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
    return PrintRichText(document, printer, kReportPage.left, kReportPage.top, kReportPage.right,
                         kReportPage.bottom);
}

QString WriteReportPdf(QTextDocument& document, const QString& fileName) {
    const QFileInfo target(fileName);
    QTemporaryFile partial(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                           QStringLiteral(".XXXXXX"));
    if (!partial.open()) {
        return QStringLiteral("The file %1 could not be written: %2")
            .arg(QDir::toNativeSeparators(fileName), partial.errorString());
    }
    partial.close();
    // A temporary file is private to its owner; the PDF is a document like
    // the others, or keeps the permissions of the file it replaces.
    partial.setPermissions(target.exists()
                               ? QFile::permissions(fileName)
                               : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                     QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);

    const std::unique_ptr<QPrinter> printer = PdfPrinter(partial.fileName());
    if (!PrintReportPages(document, *printer)) {
        return QStringLiteral("The file %1 could not be written.")
            .arg(QDir::toNativeSeparators(fileName));
    }
    // rename() replaces the target in one step; QFile::rename would refuse
    // an existing file.
    if (std::rename(QFile::encodeName(partial.fileName()).constData(),
                    QFile::encodeName(fileName).constData()) != 0) {
        return QStringLiteral("The file %1 could not be written: %2")
            .arg(QDir::toNativeSeparators(fileName), QString::fromLocal8Bit(std::strerror(errno)));
    }
    partial.setAutoRemove(false);
    return {};
}

}  // namespace torrenta::gui
