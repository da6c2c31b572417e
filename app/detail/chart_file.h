// Writes what a chart view shows to a file: SVG for a path ending in ".svg" (any case), PNG
// otherwise. False when the file cannot be written.
#pragma once

#include <QString>

class QWidget;

bool SaveChartPicture(QWidget& view, const QString& path);
