#include "app/detail/histogram_chart.h"

#include "app/detail/chart_look.h"
#include "row_detail.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Bins = 10;

// A top for the count axis at a round number of 5 ticks, so that the labels stay integers.
double CountAxisTop(double highest) {
    const double step = std::max(1.0, std::ceil(highest * 1.1 / 4));
    return step * 4;
}

} // namespace

HistogramChart::HistogramChart()
    : counts_(new QBarSet(QStringLiteral("sequences per bin"))), expected_(new QLineSeries),
      y_(MakeValueAxis(QStringLiteral("sequences"), 0, 4, 5, "%.0f")) {
    SetCompactLook(*this);
    counts_->setColor(QColor(90, 130, 200));
    counts_->setBorderColor(QColor(40, 70, 140));
    for (int bin = 0; bin < Bins; ++bin)
        counts_->append(0);
    auto* bars = new QBarSeries;
    bars->setBarWidth(0.92);
    bars->append(counts_);
    QPen pen(QColor(210, 0, 0), 2, Qt::DashLine);
    pen.setCosmetic(true);
    expected_->setPen(pen);
    addSeries(bars);
    addSeries(expected_);

    auto* x = new QBarCategoryAxis;
    for (int bin = 0; bin < Bins; ++bin)
        x->append(QString::number(bin / 10.0, 'f', 1));
    x->setLabelsFont(y_->labelsFont());
    x->setTitleFont(y_->titleFont());
    x->setTitleText(QStringLiteral("bin's lower edge"));
    addAxis(x, Qt::AlignBottom);
    addAxis(y_, Qt::AlignLeft);
    for (QAbstractSeries* series : this->series()) {
        series->attachAxis(x);
        series->attachAxis(y_);
    }
    Clear();
}

void HistogramChart::Show(const zentrope::RowDetail& detail) {
    const zentrope::UniformityTest& test = detail.uniformity;
    if (test.m == 0) {
        Clear();
        return;
    }
    for (int bin = 0; bin < Bins; ++bin)
        counts_->replace(bin, test.bins[size_t(bin)]);
    const double expected = test.m / 10.0;
    // On a category axis bin i spans i - 0.5 to i + 0.5.
    expected_->replace({{-0.5, expected}, {Bins - 0.5, expected}});
    expected_->setName(QStringLiteral("expected m/10 = %1").arg(expected, 0, 'g', 6));
    expected_->setVisible(true);
    const int highest = *std::max_element(test.bins.begin(), test.bins.end());
    y_->setRange(0, CountAxisTop(std::max(double(highest), expected)));
}

void HistogramChart::Clear() {
    for (int bin = 0; bin < Bins; ++bin)
        counts_->replace(bin, 0);
    expected_->clear();
    expected_->setVisible(false);
    y_->setRange(0, 4);
}
