// The row's p-values as an empirical distribution function against the uniform diagonal,
// with the KS distance drawn where it occurs and the Dvoretzky-Kiefer-Wolfowitz band at
// 1 - alpha around the diagonal: the step line leaves the band exactly when D exceeds the
// band's half-width.
#pragma once

#include <QChart>

class QAreaSeries;
class QLineSeries;

namespace zentrope {
struct RowDetail;
}

class EdfChart : public QChart {
    Q_OBJECT
public:
    EdfChart();

    void Show(const zentrope::RowDetail& detail, double alpha);
    void Clear();

private:
    QLineSeries* bandUpper_;
    QLineSeries* bandLower_;
    QAreaSeries* band_;
    QLineSeries* diagonal_;
    QLineSeries* edf_;
    QLineSeries* distance_;
};
