#include "app/detail/edf_chart.h"

#include "app/detail/chart_look.h"
#include "row_detail.h"

#include <QAreaSeries>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>

namespace {

QList<QPointF> StepPoints(const std::vector<double>& sorted) {
    const double n = double(sorted.size());
    QList<QPointF> points;
    points.reserve(qsizetype(sorted.size()) * 2 + 2);
    points.append({0, 0});
    for (size_t i = 0; i < sorted.size(); ++i) {
        points.append({sorted[i], double(i) / n});
        points.append({sorted[i], double(i + 1) / n});
    }
    points.append({1, 1});
    return points;
}

QPen Pen(const QColor& colour, qreal width, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour, width, style);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

EdfChart::EdfChart()
    : bandUpper_(new QLineSeries(this)), bandLower_(new QLineSeries(this)),
      band_(new QAreaSeries(bandUpper_, bandLower_)), diagonal_(new QLineSeries),
      edf_(new QLineSeries), distance_(new QLineSeries) {
    SetCompactLook(*this);
    band_->setColor(QColor(120, 170, 230, 70));
    band_->setBorderColor(QColor(120, 170, 230));
    diagonal_->setName(QStringLiteral("uniform"));
    diagonal_->setPen(Pen(Qt::darkGray, 1, Qt::DashLine));
    diagonal_->append({{0, 0}, {1, 1}});
    edf_->setName(QStringLiteral("EDF"));
    edf_->setPen(Pen(QColor(20, 60, 160), 1.5));
    distance_->setPen(Pen(QColor(210, 0, 0), 3));
    for (QAbstractSeries* series :
         std::initializer_list<QAbstractSeries*>{band_, diagonal_, edf_, distance_})
        addSeries(series);
    QValueAxis* x = MakeValueAxis(QStringLiteral("p-value"), 0, 1, 6, "%.1f");
    QValueAxis* y = MakeValueAxis(QStringLiteral("share of values \u2264 p"), 0, 1, 6, "%.1f");
    addAxis(x, Qt::AlignBottom);
    addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : this->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    Clear();
}

void EdfChart::Show(const zentrope::RowDetail& detail, double alpha) {
    if (detail.sorted.empty()) {
        Clear();
        return;
    }
    const double e = detail.dkw_half_width;
    bandUpper_->replace({{0, std::min(e, 1.0)}, {std::max(1 - e, 0.0), 1}, {1, 1}});
    bandLower_->replace({{0, 0}, {std::min(e, 1.0), 0}, {1, std::max(1 - e, 0.0)}});
    band_->setName(QStringLiteral("DKW band, 1 \u2212 \u03b1 = %1").arg(1 - alpha));
    edf_->replace(StepPoints(detail.sorted));
    const double at = detail.sorted[size_t(detail.ks.at)];
    distance_->replace({{at, at}, {at, detail.d_edf}});
    distance_->setName(QStringLiteral("D = %1").arg(detail.ks.d, 0, 'f', 4));
    for (QAbstractSeries* series : this->series())
        series->setVisible(true);
}

void EdfChart::Clear() {
    for (QLineSeries* series : {bandUpper_, bandLower_, edf_, distance_})
        series->clear();
    band_->setVisible(false);
    edf_->setVisible(false);
    distance_->setVisible(false);
}
