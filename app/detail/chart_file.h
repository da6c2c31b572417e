// Writes what a chart view shows to a file, and proposes the file's name.
#pragma once

#include <QDateTime>
#include <QString>

class QWidget;

// SVG for a path ending in ".svg" (any case), PNG otherwise; at twice the view's size on
// screen, so that a chart stays sharp in a paper or on a slide. False when the file cannot be
// written.
bool SaveChartPicture(QWidget& view, const QString& path);

// A run as a chart's file name tells it: what it tested and when ("bits.bin_20261207-120000").
QString ChartRunName(const QString& input, const QDateTime& time);

// "<test>_<run>_<chart>" with every character a file name cannot hold on any desktop (path
// separators, ":*?\"<>|", blanks, control characters) made "_"; parts that are empty are left
// out, the test and the run cut so that the name stays short.
QString ChartFileName(const QString& test, const QString& run, const QString& chart);
