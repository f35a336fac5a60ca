#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QWidget>

#include "detention/DetentionStorage.h"

class QChart;
class QChartView;
class QPainter;

namespace torrenta::gui {

// The pond of one return period in two pictures: on the left the inflow
// trapezoid of the critical storm and the outflow the method lets out, the
// storage shaded where inflow runs above outflow; on the right the storage
// every storm duration needs, the critical one marked. Saved and copied as one
// picture.
class DetentionCharts : public QWidget {
    Q_OBJECT
  public:
    explicit DetentionCharts(QWidget* parent);

    // One period of a sweep, drawn with the sweep's method, Tc and longest duration.
    void ShowPeriod(const DetentionPeriod& period, const DetentionSweep& sweep);
    // Empty charts: nothing calculated for the inputs shown.
    void Clear();

    QChart* HydrographChart() const;
    QChart* StorageChart() const;

    // At print resolution, as copied and saved as PNG.
    QImage Picture() const;
    // The file's bytes: PNG, or SVG for a name ending in .svg.
    QByteArray PictureBytes(const QString& path) const;

  private:
    QSize PictureSize() const;
    void PaintPicture(QPainter& painter) const;
    static void Replace(QChartView* view, QChart* chart);

    QChartView* hydrographs_;
    QChartView* storage_;
};

}  // namespace torrenta::gui
