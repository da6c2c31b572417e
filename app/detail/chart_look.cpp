#include "app/detail/chart_look.h"

#include <QAbstractSeries>
#include <QApplication>
#include <QChart>
#include <QGraphicsLayout>
#include <QLegend>
#include <QValueAxis>

namespace {

QFont SmallFont() {
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    return font;
}

} // namespace

void SetCompactLook(QChart& chart) {
    chart.setMargins(QMargins(2, 2, 2, 2));
    chart.layout()->setContentsMargins(0, 0, 0, 0);
    chart.setBackgroundRoundness(0);
    chart.setAnimationOptions(QChart::NoAnimation);
    // A legend cuts its names short in a narrow chart; the title says what the marks are.
    chart.legend()->hide();
    chart.setTitleFont(SmallFont());
}

QValueAxis* MakeValueAxis(const QString& title, double low, double high, int ticks,
                          const char* format) {
    auto* axis = new QValueAxis;
    axis->setRange(low, high);
    axis->setTickCount(ticks);
    axis->setLabelFormat(QString::fromLatin1(format));
    axis->setLabelsFont(SmallFont());
    QFont titleFont = SmallFont();
    titleFont.setBold(false);
    axis->setTitleFont(titleFont);
    axis->setTitleText(title);
    return axis;
}

void AttachAxes(QChart& chart, QValueAxis* x, QValueAxis* y) {
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : chart.series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
}
