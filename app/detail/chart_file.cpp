#include "app/detail/chart_file.h"

#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <QSvgGenerator>
#include <QWidget>

namespace {

constexpr int Scale = 2;
// Each of the test and the run, in characters: a name well within any file system's 255.
constexpr qsizetype PartLength = 80;

bool SaveSvg(QWidget& view, const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(view.size() * Scale);
    svg.setViewBox(view.rect());
    svg.setTitle(view.toolTip());
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    view.render(&painter);
    return painter.end();
}

// Drawn afresh at the larger size, not the screen's pixels enlarged.
bool SavePng(QWidget& view, const QString& path) {
    const qreal ratio = Scale * view.devicePixelRatioF();
    QPixmap picture(view.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    view.render(&picture);
    return picture.save(path, "PNG");
}

bool SafeInFileName(QChar c) {
    return c.isLetterOrNumber() || c == u'.' || c == u'-' || c == u'=' || c == u'+' || c == u',' ||
           c == u'(' || c == u')';
}

// Runs of unsafe characters become one "_"; no leading dot, so the file is not hidden.
QString SafePart(const QString& text) {
    QString safe;
    for (const QChar c : text) {
        if (SafeInFileName(c))
            safe += c;
        else if (!safe.endsWith(u'_'))
            safe += u'_';
    }
    while (safe.startsWith(u'.') || safe.startsWith(u'_'))
        safe.remove(0, 1);
    while (safe.endsWith(u'_'))
        safe.chop(1);
    return safe.left(PartLength);
}

} // namespace

bool SaveChartPicture(QWidget& view, const QString& path) {
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
        return SaveSvg(view, path);
    return SavePng(view, path);
}

QString ChartRunName(const QString& input, const QDateTime& time) {
    const QString stamp = time.isValid() ? time.toString(QStringLiteral("yyyyMMdd-HHmmss")) : "";
    return QStringList{input, stamp}.join(u' ').trimmed();
}

QString ChartFileName(const QString& test, const QString& run, const QString& chart) {
    QStringList parts;
    for (const QString& part : {test, run, chart})
        if (const QString safe = SafePart(part); !safe.isEmpty())
            parts << safe;
    return parts.join(u'_');
}
