// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/gui/CareerChart.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "careers/ChartScale.h"

namespace rostrix {

CareerChart::CareerChart(QWidget* parent)
    : QChartView(parent),
      series_(new QLineSeries),
      years_(new QValueAxis),
      values_(new QValueAxis) {
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->addSeries(series_);
    series_->setPointsVisible(true);
    years_->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(years_, Qt::AlignBottom);
    chart->addAxis(values_, Qt::AlignLeft);
    series_->attachAxis(years_);
    series_->attachAxis(values_);
    chart->setMargins(QMargins(4, 4, 4, 4));
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(160);
}

void CareerChart::showPoints(const QString& title, const std::vector<ChartPoint>& points,
                             int decimals) {
    QList<QPointF> list;
    for (const auto& p : points) list.append(QPointF(p.year, p.value));
    series_->replace(list);
    series_->setName(title);
    chart()->setTitle(title);
    setAccessibleDescription(QStringLiteral("%1 by year, %2 points").arg(title).arg(points.size()));
    // No seasons, no axes: an empty chart says so better than an axis of zeros.
    years_->setVisible(!points.empty());
    values_->setVisible(!points.empty());
    if (points.empty()) {
        chart()->setTitle(QString());
        return;
    }
    const auto [low, high] =
        std::minmax_element(points.begin(), points.end(),
                            [](const auto& a, const auto& b) { return a.value < b.value; });
    // One year of room either side, so the first and last points are not on the frame; a
    // tick on whole years only, about ten at most.
    const int first = points.front().year - 1, last = points.back().year + 1;
    years_->setRange(first, last);
    years_->setTickType(QValueAxis::TicksDynamic);
    years_->setTickAnchor(0);
    years_->setTickInterval(roundScale(first, last, 10, 1).step);
    const AxisScale scale =
        roundScale(std::min(0.0, low->value), high->value, 8, std::pow(10.0, -decimals));
    values_->setRange(scale.low, scale.high);
    values_->setTickType(QValueAxis::TicksDynamic);
    values_->setTickAnchor(0);
    values_->setTickInterval(scale.step);
    values_->setLabelFormat(decimals > 0 ? QStringLiteral("%.") + QString::number(decimals) + 'f'
                                         : QStringLiteral("%d"));
}

}  // namespace rostrix
