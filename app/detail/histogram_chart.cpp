#include "app/detail/histogram_chart.h"

#include "app/detail/chart_look.h"
#include "results/verdict/row_detail.h"

#include <QAreaSeries>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Bins = 10;
constexpr double BinWidth = 1.0 / Bins;
constexpr double Gap = 0.006; // between neighbouring bars

// The count axis: a round step (1, 2 or 5 times a power of ten) and a top just above the
// highest count, so that labels stay whole numbers.
struct CountScale {
    double top = 4;
    int ticks = 5;
};

CountScale ScaleFor(double highest) {
    const double raw = std::max(highest, 1.0) / 4;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = std::max(1.0, factor * power);
        if (step >= raw)
            break;
    }
    const double steps = std::ceil(highest / step) + (std::fmod(highest, step) == 0 ? 1 : 0);
    return {step * steps, int(steps) + 1};
}

QList<QPointF> BarOutline(const std::array<int32_t, 10>& bins) {
    QList<QPointF> points;
    for (int bin = 0; bin < Bins; ++bin) {
        const double low = bin * BinWidth + Gap;
        const double high = (bin + 1) * BinWidth - Gap;
        const double count = bins[size_t(bin)];
        points.append({{low, 0}, {low, count}, {high, count}, {high, 0}});
    }
    return points;
}

} // namespace

HistogramChart::HistogramChart()
    : tops_(new QLineSeries(this)), bars_(new QAreaSeries(tops_)), expected_(new QLineSeries),
      y_(MakeValueAxis(QStringLiteral("sequences"), 0, 4, 5, "%.0f")) {
    SetCompactLook(*this);
    bars_->setColor(QColor(90, 130, 200));
    bars_->setBorderColor(QColor(40, 70, 140));
    QPen pen(QColor(210, 0, 0), 2, Qt::DashLine);
    pen.setCosmetic(true);
    expected_->setPen(pen);
    addSeries(bars_);
    addSeries(expected_);
    QValueAxis* x = MakeValueAxis(QStringLiteral("p-value"), 0, 1, 6, "%.1f");
    AttachAxes(*this, x, y_);
    Clear();
}

void HistogramChart::Show(const zentrope::RowDetail& detail) {
    const zentrope::UniformityTest& test = detail.uniformity;
    if (test.m == 0) {
        Clear();
        return;
    }
    tops_->replace(BarOutline(test.bins));
    const double expected = test.m / 10.0;
    expected_->replace({{0, expected}, {1, expected}});
    setTitle(QStringLiteral("<span style=\"color:#d20000\">expected m/10 = %1</span> per bin")
                 .arg(expected, 0, 'g', 6));
    expected_->setVisible(true);
    const int highest = *std::max_element(test.bins.begin(), test.bins.end());
    const CountScale scale = ScaleFor(std::max(double(highest), expected));
    y_->setRange(0, scale.top);
    y_->setTickCount(scale.ticks);
}

void HistogramChart::Clear() {
    setTitle(QString());
    tops_->clear();
    expected_->clear();
    expected_->setVisible(false);
    y_->setRange(0, 4);
    y_->setTickCount(5);
}
