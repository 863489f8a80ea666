// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/gui/CareerChart.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

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
    if (points.empty()) {
        years_->setRange(0, 1);
        values_->setRange(0, 1);
        return;
    }
    const auto [low, high] =
        std::minmax_element(points.begin(), points.end(),
                            [](const auto& a, const auto& b) { return a.value < b.value; });
    // One year of room either side, so the first and last points are not on the frame.
    years_->setRange(points.front().year - 1, points.back().year + 1);
    // Whole years on the axis, about ten labels at most.
    const int span = points.back().year - points.front().year + 2;
    years_->setTickType(QValueAxis::TicksDynamic);
    years_->setTickAnchor(points.front().year);
    years_->setTickInterval(std::max(1, (span + 9) / 10));
    const double pad = std::max((high->value - low->value) * 0.1, decimals > 0 ? 0.01 : 1.0);
    values_->setRange(std::min(0.0, low->value), high->value + pad);
    values_->setLabelFormat(decimals > 0 ? QStringLiteral("%.") + QString::number(decimals) + 'f'
                                         : QStringLiteral("%d"));
}

}  // namespace rostrix
