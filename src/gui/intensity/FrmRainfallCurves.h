#pragma once

#include <QDialog>
#include <optional>

#include "intensity/IntensityDatabase.h"

class QLabel;
class QPixmap;

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
    // The picture as saved and copied.
    QPixmap Picture() const;
    // Writes the picture as PNG or, for a name ending in .svg, as SVG.
    bool SavePicture(const QString& path) const;

  private:
    void CmdSave_Click();
    void CmdCopy_Click();

    QChartView* view_;
    QLabel* lblTcIntensities_;
    QLabel* lblLeftOut_;
};

}  // namespace torrenta::gui
