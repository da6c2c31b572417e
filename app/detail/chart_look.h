// What the detail charts share: a compact frame that leaves the plot most of its room, a small
// title in place of a legend, and axes over fixed ranges whose labels stay readable at any
// font size.
#pragma once

#include <QString>

class QChart;
class QValueAxis;

void SetCompactLook(QChart& chart);
// An axis over [low, high] with `ticks` labels in `format` (printf style), titled `title`.
QValueAxis* MakeValueAxis(const QString& title, double low, double high, int ticks,
                          const char* format);
// Puts x at the bottom and y at the left and draws every series of the chart against them.
void AttachAxes(QChart& chart, QValueAxis* x, QValueAxis* y);
