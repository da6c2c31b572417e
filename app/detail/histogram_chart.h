// The row's p-values counted in ten bins of width 0.1, beside the count each bin expects
// under uniformity (m/10, not rounded). Bars stand on a value axis, whose labels fit where
// ten category labels would not.
#pragma once

#include <QChart>

class QAreaSeries;
class QLineSeries;
class QValueAxis;

namespace zentrope {
struct RowDetail;
}

class HistogramChart : public QChart {
    Q_OBJECT
public:
    HistogramChart();

    void Show(const zentrope::RowDetail& detail);
    void Clear();

private:
    QLineSeries* tops_;
    QAreaSeries* bars_;
    QLineSeries* expected_;
    QValueAxis* y_;
};
