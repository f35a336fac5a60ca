#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

class QPainter;
class QWidget;

namespace torrenta::gui {

// Paints a chart of `size` (screen pixels) onto a painter of that size.
using ChartPainter = std::function<void(QPainter&)>;

// The chart at print resolution, as copied and saved as PNG: at least 1600
// pixels across, marked 300 dpi so a page shows it at its screen size.
QImage PrintResolutionImage(QSize size, const ChartPainter& paint);

// The file's bytes: SVG for a name ending in .svg, PNG otherwise.
QByteArray ChartFileBytes(const QString& path, QSize size, const QString& title,
                          const ChartPainter& paint);

// Save PNG/SVG of a chart window: asks for the name, refuses the open project
// and the two databases as a report's Save As does, writes the file whole
// (beside it first, then renamed over) and says so when it could not.
void SaveChartPicture(QWidget* parent, const std::function<QByteArray(const QString&)>& bytesFor);

}  // namespace torrenta::gui
