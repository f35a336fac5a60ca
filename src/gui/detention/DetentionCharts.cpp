#include "detention/DetentionCharts.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>
#include <vector>

#include "common/ChartPicture.h"
#include "common/QtText.h"
#include "intensity/IntensityDatabase.h"
#include "rainfall/RainfallTable.h"
#include "text/NumberText.h"

namespace torrenta::gui {

namespace {

constexpr QRgb kInflowColour = 0x1f77b4;
constexpr QRgb kOutflowColour = 0xd62728;
constexpr QRgb kStorageColour = 0x2ca02c;

QString Fixed(double value, int decimals) {
    return ToQ(FormatFixed(value, decimals));
}

QPen LinePen(QRgb colour, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen{QColor::fromRgb(colour)};
    pen.setWidthF(2.0);
    pen.setStyle(style);
    return pen;
}

// A hydrograph's flow just before and just after `minutes`: the outflow of a
// constant release jumps at the start and the end of the storm. Outside the
// polyline the flow is 0.
struct Sides {
    double before = 0.0;
    double after = 0.0;
};

Sides FlowAt(const std::vector<HydrographPoint>& line, double minutes) {
    Sides flow;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const HydrographPoint& a = line[i];
        const HydrographPoint& b = line[i + 1];
        if (b.minutes <= a.minutes) {
            continue;
        }
        const auto at = [&] {
            return a.flow + (b.flow - a.flow) * (minutes - a.minutes) / (b.minutes - a.minutes);
        };
        if (minutes > a.minutes && minutes <= b.minutes) {
            flow.before = at();
        }
        if (minutes >= a.minutes && minutes < b.minutes) {
            flow.after = at();
        }
    }
    return flow;
}

// The band the pond holds: the inflow above, the lower of inflow and outflow
// below, so it has no width wherever the outlet passes all that comes in.
struct Band {
    QList<QPointF> upper;
    QList<QPointF> lower;
};

Band StorageBand(const StormHydrographs& storm) {
    std::vector<double> times;
    for (const auto* line : {&storm.inflow, &storm.outflow}) {
        for (const HydrographPoint& point : *line) {
            times.push_back(point.minutes);
        }
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    // Where the two lines cross between corners, the band closes.
    std::vector<double> crossings;
    for (std::size_t i = 0; i + 1 < times.size(); ++i) {
        const double start =
            FlowAt(storm.inflow, times[i]).after - FlowAt(storm.outflow, times[i]).after;
        const double end =
            FlowAt(storm.inflow, times[i + 1]).before - FlowAt(storm.outflow, times[i + 1]).before;
        if (start * end < 0.0) {
            crossings.push_back(times[i] + (times[i + 1] - times[i]) * start / (start - end));
        }
    }
    times.insert(times.end(), crossings.begin(), crossings.end());
    std::sort(times.begin(), times.end());

    Band band;
    for (const double t : times) {
        const Sides in = FlowAt(storm.inflow, t);
        const Sides out = FlowAt(storm.outflow, t);
        band.upper << QPointF(t, in.before) << QPointF(t, in.after);
        band.lower << QPointF(t, std::min(in.before, out.before))
                   << QPointF(t, std::min(in.after, out.after));
    }
    return band;
}

QLineSeries* Polyline(QChart* chart, const QString& name, const std::vector<HydrographPoint>& line,
                      const QPen& pen) {
    auto* series = new QLineSeries(chart);
    series->setName(name);
    series->setPen(pen);
    for (const HydrographPoint& point : line) {
        series->append(point.minutes, point.flow);
    }
    return series;
}

QValueAxis* ValueAxis(QChart* chart, const QString& title, double top, const QString& format) {
    auto* axis = new QValueAxis(chart);
    axis->setTitleText(title);
    axis->setRange(0.0, top > 0.0 ? top : 1.0);
    axis->applyNiceNumbers();
    axis->setLabelFormat(format);
    return axis;
}

void AttachAll(QChart* chart, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
}

QChart* NewChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    return chart;
}

// The storm durations run from Tc to a day: on a logarithmic axis, labelled
// at the table's own durations, the short storms where the pond is usually
// decided keep their room.
double Position(double minutes) {
    return std::log10(minutes);
}

QChart* HydrographChartOf(const DetentionPeriod& period, DetentionMethod method, double tc) {
    const QString years = QStringLiteral("%1-year storm").arg(period.years);
    if (!period.storageNeeded) {
        return NewChart(QStringLiteral("%1: no storage needed, the release of %2 cfs passes "
                                       "every storm")
                            .arg(years, Fixed(period.release, 2)));
    }
    // The method in the title: a saved picture says how its outflow was drawn.
    const QString drawn = method == DetentionMethod::ConstantRelease
                              ? QStringLiteral("constant release")
                              : QStringLiteral("rising release");
    auto* chart = NewChart(QStringLiteral("%1 lasting Td* = %2 min, %3")
                               .arg(years, Fixed(period.criticalDuration, 2), drawn));
    const StormHydrographs storm = DetentionHydrographs(method, tc, period.criticalDuration,
                                                        period.inflowPeak, period.release);
    // With a constant release the pond holds what comes in above the release
    // line, through the whole storm: the band's floor is that line, not the
    // outflow's drop to nothing when the storm ends.
    StormHydrographs floor = storm;
    if (method == DetentionMethod::ConstantRelease) {
        floor.outflow = {{0.0, period.release}, {storm.inflow.back().minutes, period.release}};
    }
    const Band band = StorageBand(floor);
    auto* area = new QAreaSeries(chart);
    area->setObjectName(QStringLiteral("StorageArea"));
    area->setName(QStringLiteral("Storage %1 ft\u00b3").arg(Fixed(period.storage, 0)));
    auto* upper = new QLineSeries(area);
    upper->append(band.upper);
    auto* lower = new QLineSeries(area);
    lower->append(band.lower);
    area->setUpperSeries(upper);
    area->setLowerSeries(lower);
    QColor fill = QColor::fromRgb(kInflowColour);
    fill.setAlpha(70);
    area->setBrush(fill);
    area->setPen(Qt::NoPen);
    chart->addSeries(area);
    // Without a pen the legend would show the band as an empty box.
    for (QLegendMarker* marker : chart->legend()->markers(area)) {
        marker->setShape(QLegend::MarkerShapeRectangle);
        marker->setBrush(fill);
        marker->setPen(QPen(QColor::fromRgb(kInflowColour)));
    }
    chart->addSeries(Polyline(chart,
                              QStringLiteral("Inflow (Qi %1 cfs)").arg(Fixed(period.inflowPeak, 2)),
                              storm.inflow, LinePen(kInflowColour)));
    chart->addSeries(Polyline(chart,
                              QStringLiteral("Outflow (Qo %1 cfs)").arg(Fixed(period.release, 2)),
                              storm.outflow, LinePen(kOutflowColour)));

    const double end = storm.inflow.back().minutes;
    auto* time = ValueAxis(chart, QStringLiteral("Time (min)"), end, QStringLiteral("%.0f"));
    auto* flow =
        ValueAxis(chart, QStringLiteral("Flow (cfs)"),
                  std::max(period.inflowPeak, period.release) * 1.1, QStringLiteral("%.1f"));
    AttachAll(chart, time, flow);
    return chart;
}

QChart* StorageChartOf(const DetentionPeriod& period, const DetentionSweep& sweep) {
    auto* chart = NewChart(QStringLiteral("Storage by storm duration"));
    auto* curve = new QLineSeries(chart);
    curve->setObjectName(QStringLiteral("StorageCurve"));
    curve->setName(QStringLiteral("V (ft\u00b3)"));
    curve->setPen(LinePen(kStorageColour));
    double highest = 0.0;
    for (const StoragePoint& point : period.curve) {
        curve->append(Position(point.duration), point.storage);
        highest = std::max(highest, point.storage);
    }
    chart->addSeries(curve);
    // Whole cubic feet on the labels: a pond that stores nothing still gets
    // an axis they can mark.
    auto* volume = ValueAxis(chart, QStringLiteral("Storage V (ft\u00b3)"),
                             std::max(highest * 1.15, 100.0), QStringLiteral("%.0f"));

    if (period.storageNeeded) {
        auto* line = new QLineSeries(chart);
        line->setName(QStringLiteral("Td* %1 min").arg(Fixed(period.criticalDuration, 2)));
        line->setPen(LinePen(0x555555, Qt::DashLine));
        line->append(Position(period.criticalDuration), 0.0);
        line->append(Position(period.criticalDuration), volume->max());
        chart->addSeries(line);
        auto* mark = new QScatterSeries(chart);
        mark->setObjectName(QStringLiteral("CriticalStorage"));
        mark->setName(QStringLiteral("V %1 ft\u00b3").arg(Fixed(period.storage, 0)));
        mark->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        mark->setMarkerSize(9.0);
        mark->setColor(Qt::black);
        mark->setBorderColor(Qt::white);
        mark->append(Position(period.criticalDuration), period.storage);
        chart->addSeries(mark);
    }

    const double first = std::max(sweep.tc, 1.0);
    const double last = std::max(sweep.longestDuration, first);
    auto* durations = new QCategoryAxis(chart);
    durations->setTitleText(QStringLiteral("Storm duration Td"));
    durations->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (std::size_t i = 0; i < kDurationMinutes.size(); ++i) {
        if (kDurationMinutes[i] >= first * 0.9 && kDurationMinutes[i] <= last * 1.1) {
            durations->append(ToQ(kDurationLabels[i]), Position(kDurationMinutes[i]));
        }
    }
    durations->setRange(Position(first * 0.9), Position(last * 1.1));
    durations->setLabelsAngle(-45);
    AttachAll(chart, durations, volume);
    return chart;
}

}  // namespace

DetentionCharts::DetentionCharts(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DetentionCharts"));
    hydrographs_ = new QChartView(new QChart, this);
    hydrographs_->setObjectName(QStringLiteral("HydrographView"));
    storage_ = new QChartView(new QChart, this);
    storage_->setObjectName(QStringLiteral("StorageView"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QChartView* view : {hydrographs_, storage_}) {
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumSize(380, 300);
        layout->addWidget(view, 1);
    }
}

QChart* DetentionCharts::HydrographChart() const {
    return hydrographs_->chart();
}

QChart* DetentionCharts::StorageChart() const {
    return storage_->chart();
}

void DetentionCharts::Replace(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

void DetentionCharts::ShowPeriod(const DetentionPeriod& period, const DetentionSweep& sweep) {
    Replace(hydrographs_, HydrographChartOf(period, sweep.method, sweep.tc));
    Replace(storage_, StorageChartOf(period, sweep));
}

void DetentionCharts::Clear() {
    Replace(hydrographs_, NewChart(QStringLiteral("Calculate to draw the critical storm")));
    Replace(storage_, NewChart(QStringLiteral("Calculate to draw the storage by duration")));
}

QSize DetentionCharts::PictureSize() const {
    const QSize left = hydrographs_->viewport()->size();
    const QSize right = storage_->viewport()->size();
    return {left.width() + right.width(), std::max(left.height(), right.height())};
}

void DetentionCharts::PaintPicture(QPainter& painter) const {
    painter.fillRect(QRect(QPoint(0, 0), PictureSize()), Qt::white);
    // Drawn again from the charts' items, so they are as sharp as the page.
    const QRect left = hydrographs_->viewport()->rect();
    hydrographs_->render(&painter, QRectF(left), left);
    const QRect right = storage_->viewport()->rect();
    storage_->render(&painter, QRectF(right.translated(left.width(), 0)), right);
}

QImage DetentionCharts::Picture() const {
    return PrintResolutionImage(PictureSize(),
                                [this](QPainter& painter) { PaintPicture(painter); });
}

QByteArray DetentionCharts::PictureBytes(const QString& path) const {
    return ChartFileBytes(path, PictureSize(), HydrographChart()->title(),
                          [this](QPainter& painter) { PaintPicture(painter); });
}

}  // namespace torrenta::gui
