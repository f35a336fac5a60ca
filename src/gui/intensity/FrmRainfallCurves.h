#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <optional>

#include "intensity/IntensityDatabase.h"

class QImage;
class QLabel;
class QPainter;

class QChart;
class QChartView;

namespace torrenta::gui {

// Rainfall Curves: the seven intensity-duration curves of one table on
// log-log axes and, with a project open, the project's total Tc as a vertical
// line with the intensities a solve reads there. Saves as PNG or SVG and
// copies the picture.
class FrmRainfallCurves : public QDialog {
    Q_OBJECT
  public:
    explicit FrmRainfallCurves(QWidget* parent);

    // Draws `grid` under the name `name`; `tcMinutes` marks the design duration.
    void ShowTable(const QString& name, const IntensityGrid& grid, std::optional<double> tcMinutes);

    // The session's current table and, with a project open, its total Tc.
    void ShowCurrentTable();

    QChart* Chart() const;
    // The picture as saved and copied, at print resolution: the chart with
    // the line of intensities at Tc under it.
    QImage Picture() const;
    // The file's bytes: PNG, or SVG for a name ending in .svg.
    QByteArray PictureBytes(const QString& path) const;

  private:
    QSize PictureSize() const;
    void PaintPicture(QPainter& painter) const;
    void CmdSave_Click();
    void CmdCopy_Click();

    QChartView* view_;
    QLabel* lblTcIntensities_;
    QLabel* lblLeftOut_;
    // The intensities at Tc in words; empty without a Tc.
    QString tcLine_;
};

}  // namespace torrenta::gui
