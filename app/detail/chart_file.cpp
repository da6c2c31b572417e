#include "app/detail/chart_file.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>

namespace {

bool SaveSvg(QWidget& view, const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(view.size());
    svg.setViewBox(view.rect());
    svg.setTitle(view.toolTip());
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    view.render(&painter);
    return painter.end();
}

} // namespace

bool SaveChartPicture(QWidget& view, const QString& path) {
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
        return SaveSvg(view, path);
    return view.grab().save(path, "PNG");
}
