#include "intensity/FrmRainfallCurves.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <algorithm>
#include <cmath>

#include "common/ChartPicture.h"
#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "rainfall/IdfCurves.h"
#include "rainfall/RainfallTable.h"

namespace torrenta::gui {

namespace {

constexpr std::array<const char*, 7> kPeriodLabels = {"1 yr",   "2 yrs",  "5 yrs",  "10 yrs",
                                                      "25 yrs", "50 yrs", "100 yrs"};
// Light rain to rare storm, blue to red, each curve its own colour.
constexpr std::array<QRgb, 7> kCurveColours = {0x1f77b4, 0x17becf, 0x2ca02c, 0xbcbd22,
                                               0xff7f0e, 0xd62728, 0x7b1fa2};

// The duration axis is logarithmic: positions are log10(minutes), so the ten
// durations can carry their own labels in minutes and hours.
double Position(double minutes) {
    return std::log10(minutes);
}

// The intensity axis is logarithmic the same way, labelled at 1-2-5 steps.
double Height(double intensity) {
    return std::log10(intensity);
}

}  // namespace

FrmRainfallCurves::FrmRainfallCurves(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmRainfallCurves"));
    setWindowTitle(QStringLiteral("Rainfall Curves"));
    resize(820, 600);

    view_ = new QChartView(new QChart, this);
    view_->setObjectName(QStringLiteral("ChartView"));
    view_->setRenderHint(QPainter::Antialiasing);
    lblTcIntensities_ = NamedLabel(this, QStringLiteral("LblTcIntensities"), QString());
    lblTcIntensities_->setWordWrap(true);
    lblTcIntensities_->hide();
    lblLeftOut_ = NamedLabel(this, QStringLiteral("LblLeftOut"), QString());
    lblLeftOut_->setWordWrap(true);
    lblLeftOut_->hide();

    QPushButton* save = NamedButton(this, QStringLiteral("CmdSave"), QStringLiteral("Save As..."));
    QPushButton* copy = NamedButton(this, QStringLiteral("CmdCopy"), QStringLiteral("Copy"));
    QPushButton* close = NamedButton(this, QStringLiteral("CmdClose"), QStringLiteral("Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(copy);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addWidget(lblTcIntensities_);
    layout->addWidget(lblLeftOut_);
    layout->addLayout(buttons);

    connect(save, &QPushButton::clicked, this, &FrmRainfallCurves::CmdSave_Click);
    connect(copy, &QPushButton::clicked, this, &FrmRainfallCurves::CmdCopy_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

QChart* FrmRainfallCurves::Chart() const {
    return view_->chart();
}

void FrmRainfallCurves::ShowTable(const QString& name, const IntensityGrid& grid,
                                  std::optional<double> tcMinutes) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("%1: rainfall intensity by duration").arg(name));
    chart->legend()->setAlignment(Qt::AlignRight);
    // A line's entry shows a line, the dots' entry a dot.
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    setWindowTitle(QStringLiteral("Rainfall Curves - %1").arg(name));

    const IdfCurves curves = CurvesOfGrid(grid);
    double lowest = 0.0;
    double highest = 0.0;
    for (std::size_t k = 0; k < curves.curves.size(); ++k) {
        auto* series = new QLineSeries(chart);
        series->setName(QString::fromLatin1(kPeriodLabels[k]));
        series->setPointsVisible(true);
        QPen pen(QColor::fromRgb(kCurveColours[k]));
        pen.setWidthF(2.0);
        series->setPen(pen);
        for (const IdfPoint& point : curves.curves[k]) {
            series->append(Position(point.minutes), Height(point.intensity));
            lowest = lowest == 0.0 ? point.intensity : std::min(lowest, point.intensity);
            highest = std::max(highest, point.intensity);
        }
        chart->addSeries(series);
    }

    double first = kDurationMinutes.front() * 0.8;
    double last = kDurationMinutes.back() * 1.25;
    if (tcMinutes && *tcMinutes > 0.0) {
        first = std::min(first, *tcMinutes * 0.8);
        last = std::max(last, *tcMinutes * 1.25);
    }
    if (highest <= 0.0) {
        lowest = 0.1;
        highest = 10.0;
    }
    const double bottom = std::pow(10.0, std::floor(std::log10(lowest)));
    const double top = highest * 1.3;

    tcLine_.clear();
    if (tcMinutes && *tcMinutes > 0.0) {
        auto* line = new QLineSeries(chart);
        line->setObjectName(QStringLiteral("TcLine"));
        line->setName(QStringLiteral("Tc %1 min").arg(QString::number(*tcMinutes, 'f', 1)));
        QPen pen(QColor::fromRgb(0x555555));
        pen.setStyle(Qt::DashLine);
        pen.setWidthF(1.5);
        line->setPen(pen);
        line->append(Position(*tcMinutes), Height(bottom));
        line->append(Position(*tcMinutes), Height(top));
        chart->addSeries(line);

        // Round black dots against the dashed grey line: each its own legend entry.
        auto* marks = new QScatterSeries(chart);
        marks->setObjectName(QStringLiteral("TcIntensities"));
        marks->setName(QStringLiteral("I at Tc (in/hr)"));
        marks->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        marks->setMarkerSize(8.0);
        marks->setColor(Qt::black);
        marks->setBorderColor(Qt::white);
        // The seven values sit too close on the line to be labelled there;
        // they are written out under the chart, three decimals each.
        QStringList values;
        const auto intensities = DesignIntensities(grid, *tcMinutes);
        for (std::size_t k = 0; k < intensities.size(); ++k) {
            if (intensities[k] > 0.0f) {
                marks->append(Position(*tcMinutes), Height(intensities[k]));
                values << QStringLiteral("%1 %2").arg(QString::fromLatin1(kPeriodLabels[k]),
                                                      QString::number(intensities[k], 'f', 3));
            }
        }
        chart->addSeries(marks);
        tcLine_ = QStringLiteral("Intensities at Tc %1 min (in/hr): %2")
                      .arg(QString::number(*tcMinutes, 'f', 1), values.join(QStringLiteral(", ")));
        lblTcIntensities_->setText(tcLine_);
    }

    auto* durations = new QCategoryAxis(chart);
    durations->setTitleText(QStringLiteral("Duration"));
    durations->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (std::size_t i = 0; i < kDurationMinutes.size(); ++i) {
        durations->append(ToQ(kDurationLabels[i]), Position(kDurationMinutes[i]));
    }
    durations->setRange(Position(first), Position(last));
    durations->setLabelsAngle(-45);

    auto* intensity = new QCategoryAxis(chart);
    intensity->setObjectName(QStringLiteral("IntensityAxis"));
    intensity->setTitleText(QStringLiteral("Intensity (in/hr)"));
    intensity->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (double step : OneTwoFiveSteps(bottom, top)) {
        intensity->append(QString::number(step, 'g', 6), Height(step));
    }
    intensity->setRange(Height(bottom), Height(top));

    chart->addAxis(durations, Qt::AlignBottom);
    chart->addAxis(intensity, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(durations);
        series->attachAxis(intensity);
    }

    lblTcIntensities_->setVisible(tcMinutes && *tcMinutes > 0.0);
    QChart* old = view_->chart();
    view_->setChart(chart);
    delete old;

    if (curves.leftOut.empty()) {
        lblLeftOut_->hide();
    } else {
        QStringList cells;
        for (const auto& cell : curves.leftOut) {
            cells << ToQ(cell);
        }
        lblLeftOut_->setText(QStringLiteral("Left out, not a positive number: %1")
                                 .arg(cells.join(QStringLiteral("; "))));
        lblLeftOut_->show();
    }
}

void FrmRainfallCurves::ShowCurrentTable() {
    Session& session = CurrentSession();
    if (session.IntensityTableName.empty()) {
        session.IntensityTableName = kDefaultIntensityTable;
    }
    const IntensityGrid grid = ReadIntensityGrid(session.AppFolder, session.IntensityTableName);
    std::optional<double> tc;
    if (!session.ProjectPath.empty()) {
        tc = ProjectTotalTc(session.ProjectPath);
    }
    ShowTable(ToQ(session.IntensityTableName), grid, tc);
}

QSize FrmRainfallCurves::PictureSize() const {
    const QSize chart = view_->viewport()->size();
    if (tcLine_.isEmpty()) {
        return chart;
    }
    const QRect text = fontMetrics().boundingRect(QRect(0, 0, chart.width() - 24, 10000),
                                                  Qt::TextWordWrap, tcLine_);
    return {chart.width(), chart.height() + text.height() + 16};
}

void FrmRainfallCurves::PaintPicture(QPainter& painter) const {
    const QSize size = PictureSize();
    const QRect chart = view_->viewport()->rect();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    // Drawn again from the chart's items, so it is as sharp as the page it lands on.
    view_->render(&painter, QRectF(chart), chart);
    if (!tcLine_.isEmpty()) {
        painter.setPen(Qt::black);
        painter.setFont(font());
        painter.drawText(QRect(12, chart.height() + 8, size.width() - 24, size.height()),
                         Qt::TextWordWrap, tcLine_);
    }
}

QImage FrmRainfallCurves::Picture() const {
    return PrintResolutionImage(PictureSize(),
                                [this](QPainter& painter) { PaintPicture(painter); });
}

QByteArray FrmRainfallCurves::PictureBytes(const QString& path) const {
    return ChartFileBytes(path, PictureSize(), windowTitle(),
                          [this](QPainter& painter) { PaintPicture(painter); });
}

// Never over the project or a database, and never called saved when it was not.
void FrmRainfallCurves::CmdSave_Click() {
    SaveChartPicture(this, [this](const QString& path) { return PictureBytes(path); });
}

void FrmRainfallCurves::CmdCopy_Click() {
    QApplication::clipboard()->setImage(Picture());
}

}  // namespace torrenta::gui
