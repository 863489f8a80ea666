// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChartView>
#include <vector>

#include "careers/CareerStats.h"

class QLineSeries;
class QValueAxis;

namespace rostrix {

// A statistic by year, one point per season: what the seasons table shows, drawn.
class CareerChart : public QChartView {
    Q_OBJECT
public:
    explicit CareerChart(QWidget* parent = nullptr);
    void showPoints(const QString& title, const std::vector<ChartPoint>& points, int decimals);
    QLineSeries* series() const { return series_; }

protected:
    // Tab moves on to the next control, not among the chart's parts.
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }

private:
    QLineSeries* series_;
    QValueAxis* years_;
    QValueAxis* values_;
};

}  // namespace rostrix
