#include "common/ChartPicture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "Errors.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "store/OutputFile.h"
#include "store/ReportTarget.h"

namespace torrenta::gui {
namespace {

// A saved picture prints sharp on a page: at least this many pixels across.
constexpr int kPrintWidth = 1600;
constexpr int kPrintDotsPerMeter = 11811;  // 300 dpi

}  // namespace

QImage PrintResolutionImage(QSize size, const ChartPainter& paint) {
    const double scale = std::max(2.0, static_cast<double>(kPrintWidth) / size.width());
    QImage image(static_cast<int>(std::ceil(size.width() * scale)),
                 static_cast<int>(std::ceil(size.height() * scale)), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale, scale);
        paint(painter);
    }
    // Stated only now: painted at 300 dpi, point sizes would grow once more.
    image.setDotsPerMeterX(kPrintDotsPerMeter);
    image.setDotsPerMeterY(kPrintDotsPerMeter);
    return image;
}

QByteArray ChartFileBytes(const QString& path, QSize size, const QString& title,
                          const ChartPainter& paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        QPainter painter(&svg);
        paint(painter);
    } else {
        PrintResolutionImage(size, paint).save(&buffer, "PNG");
    }
    return bytes;
}

void SaveChartPicture(QWidget* parent, const std::function<QByteArray(const QString&)>& bytesFor) {
    const QString path = CurrentPrompts().SaveFileName(
        parent, QStringLiteral("PNG image (*.png);;SVG image (*.svg)"), QStringLiteral("png"));
    if (path.isEmpty()) {
        return;
    }
    const Session& session = CurrentSession();
    const std::string target = QFile::encodeName(path).toStdString();
    std::string refusal = ReportTargetRefusal(target, session.ProjectPath, session.AppFolder);
    if (!refusal.empty()) {
        // The same files are as precious under a chart as under a report.
        const std::string report = "The report";
        if (refusal.starts_with(report)) {
            refusal.replace(0, report.size(), "The chart");
        }
        ShowMessage(parent, ToQ(refusal), QStringLiteral("Save As"), QMessageBox::Warning);
        return;
    }
    const QByteArray bytes = bytesFor(path);
    QString failure;
    if (bytes.isEmpty()) {
        // An empty file would pass for a picture that was never drawn.
        failure = QStringLiteral("The picture could not be drawn.");
    } else {
        try {
            WriteOutputFile(target, std::string_view(bytes.constData(), bytes.size()));
        } catch (const TorrentaError& e) {
            failure = ToQ(e.what());
        }
    }
    if (!failure.isEmpty()) {
        ShowMessage(parent,
                    QStringLiteral("The chart could not be saved as %1.\n%2")
                        .arg(QDir::toNativeSeparators(path), failure),
                    QStringLiteral("Error"), QMessageBox::Critical);
    }
}

}  // namespace torrenta::gui
