#include "app/detail/edf_chart.h"

#include "app/detail/chart_look.h"
#include "results/verdict/row_detail.h"

#include <QAreaSeries>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>

namespace {

// Beyond this many steps a chart shows every stride-th one: each step then stands for at most
// 1/1000 of the values, below a pixel on any screen, and long rows draw as fast as short ones.
constexpr size_t MostSteps = 1000;

QList<QPointF> StepPoints(const std::vector<double>& sorted) {
    const double n = double(sorted.size());
    const size_t stride = (sorted.size() + MostSteps - 1) / MostSteps;
    QList<QPointF> points;
    points.reserve(qsizetype(sorted.size() / stride) * 2 + 4);
    points.append({0, 0});
    for (size_t i = 0; i < sorted.size(); i += stride) {
        points.append({sorted[i], double(i) / n});
        points.append({sorted[i], double(std::min(i + stride, sorted.size())) / n});
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
    diagonal_->setPen(Pen(Qt::darkGray, 1, Qt::DashLine));
    diagonal_->append({{0, 0}, {1, 1}});
    edf_->setPen(Pen(QColor(20, 60, 160), 1.5));
    distance_->setPen(Pen(QColor(210, 0, 0), 3));
    for (QAbstractSeries* series :
         std::initializer_list<QAbstractSeries*>{band_, diagonal_, edf_, distance_})
        addSeries(series);
    QValueAxis* x = MakeValueAxis(QStringLiteral("p-value"), 0, 1, 6, "%.1f");
    QValueAxis* y = MakeValueAxis(QStringLiteral("share of values \u2264 p"), 0, 1, 6, "%.1f");
    AttachAxes(*this, x, y);
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

    edf_->replace(StepPoints(detail.sorted));
    const double at = detail.sorted[size_t(detail.ks.at)];
    distance_->replace({{at, at}, {at, detail.d_edf}});
    setTitle(QStringLiteral("<span style=\"color:#d20000\">D = %1</span> in the DKW %2% band")
                 .arg(QString::number(detail.ks.d, 'f', 3))
                 .arg(100 * (1 - alpha), 0, 'g', 4));
    band_->setVisible(true);
    distance_->setVisible(true);
}

void EdfChart::Clear() {
    for (QLineSeries* series : {bandUpper_, bandLower_, edf_, distance_})
        series->clear();
    setTitle(QString());
    band_->setVisible(false);
    distance_->setVisible(false);
}
