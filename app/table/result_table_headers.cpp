#include "app/table/result_table_headers.h"

#include "app/table/result_cell_delegate.h"
#include "app/table/result_table_model.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace {

// The table's font, not the header's: every cell is measured and drawn in it.
QFont TableFont(const QWidget* header) {
    return header->parentWidget() ? header->parentWidget()->font() : header->font();
}

// Past the last cell lies the table's own background, as in the cells' area, not an empty
// header.
void FillPastLastSection(QHeaderView& header) {
    QRect past = header.viewport()->rect();
    const int end = header.length() - header.offset();
    if (header.orientation() == Qt::Horizontal)
        past.setLeft(end);
    else
        past.setTop(end);
    if (past.isEmpty())
        return;
    QPainter painter(header.viewport());
    painter.fillRect(past, header.palette().color(QPalette::Base));
}

// A small triangle at the right of the header cell, pointing up for an ascending sort.
void PaintSortArrow(QPainter& painter, const QRect& cell, bool ascending, const QColor& colour) {
    const int half = std::max(2, cell.height() / 6);
    const int right = cell.right() - 3;
    const int middle = cell.center().y();
    const int tip = ascending ? middle - half : middle + half;
    const int base = ascending ? middle + half : middle - half;
    const QPoint points[] = {{right - 2 * half, base}, {right, base}, {right - half, tip}};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(points, 3);
    painter.restore();
}

// A header cell (row 0) as the table draws it, with the arrow of the last sort.
void PaintHeaderCell(QPainter& painter, const QRect& rect, const ResultTableModel& model,
                     int32_t col, const QWidget& header) {
    SGDrawCell(painter, rect, model, {col, 0, false}, header.palette(), TableFont(&header));
    const std::optional<ResultTableModel::SortMark> sorted = model.SortedColumn();
    if (sorted && sorted->column == col)
        PaintSortArrow(painter, rect, sorted->ascending,
                       header.palette().color(QPalette::WindowText));
}

} // namespace

ResultHeaderRow::ResultHeaderRow(const ResultTableModel* model, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), model_(model) {}

void ResultHeaderRow::paintEvent(QPaintEvent* event) {
    QHeaderView::paintEvent(event);
    FillPastLastSection(*this);
}

void ResultHeaderRow::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    PaintHeaderCell(*painter, rect, *model_, logicalIndex, *this);
}

FixedColumnsHeader::FixedColumnsHeader(const ResultTableModel* model, QWidget* parent)
    : QHeaderView(Qt::Vertical, parent), model_(model) {}

void FixedColumnsHeader::SetColumnWidth(int col, int width) {
    widths_[size_t(col)] = width;
    // The table reserves the header's width when its geometry is laid out again.
    emit geometriesChanged();
    viewport()->update();
}

int FixedColumnsHeader::MarkWidth() const {
    return fontMetrics().height();
}

int FixedColumnsHeader::ColumnLeft(int col) const {
    return MarkWidth() + std::accumulate(widths_.begin(), widths_.begin() + col, 0);
}

int FixedColumnsHeader::ColumnAt(int x) const {
    for (int col = 0; col < Count; ++col) {
        if (x >= ColumnLeft(col) && x < ColumnLeft(col) + widths_[size_t(col)])
            return col;
    }
    return -1;
}

int FixedColumnsHeader::BorderAt(int x) const {
    constexpr int Grip = 3;
    for (int col = 0; col < Count; ++col) {
        if (std::abs(x - ColumnLeft(col + 1)) <= Grip)
            return col;
    }
    return -1;
}

QSize FixedColumnsHeader::sizeHint() const {
    return {ColumnLeft(Count), QHeaderView::sizeHint().height()};
}

// A failing row: a white "!" on red; a row without a result: a grey dash. Colour is not the
// only sign, so the marks also read in grey scale.
void FixedColumnsHeader::PaintMark(QPainter& painter, const QRect& strip, int row) const {
    painter.fillRect(strip, palette().color(QPalette::Window));
    const QVariant kind =
        row > 0 ? model_->headerData(row, Qt::Vertical, ResultTableModel::RowMarkRole) : QVariant();
    if (kind.toInt() == ResultTableModel::NoMark)
        return;
    const bool failing = kind.toInt() == ResultTableModel::FailingMark;
    painter.save();
    const QRect inner = strip.adjusted(1, 1, -1, -1);
    if (failing)
        painter.fillRect(inner, QColor(200, 0, 0));
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(failing ? QColor(Qt::white) : palette().color(QPalette::PlaceholderText));
    painter.drawText(inner, Qt::AlignCenter,
                     failing ? QStringLiteral("!") : QStringLiteral("\u2013"));
    painter.restore();
}

void FixedColumnsHeader::PaintRow(QPainter& painter, const QRect& rect, int row) const {
    PaintMark(painter, QRect(rect.left(), rect.top(), MarkWidth(), rect.height()), row);
    for (int col = 0; col < Count; ++col) {
        const QRect cell(rect.left() + ColumnLeft(col), rect.top(), widths_[size_t(col)],
                         rect.height());
        if (row == 0)
            PaintHeaderCell(painter, cell, *model_, col, *this);
        else
            SGDrawCell(painter, cell, *model_, {col, row, false}, palette(), TableFont(this));
    }
}

void FixedColumnsHeader::paintEvent(QPaintEvent* event) {
    QHeaderView::paintEvent(event);
    FillPastLastSection(*this);
}

void FixedColumnsHeader::paintSection(QPainter* painter, const QRect& rect,
                                      int logicalIndex) const {
    PaintRow(*painter, rect, logicalIndex);
}

void FixedColumnsHeader::PaintCorner(QPainter& painter, const QRect& rect) const {
    PaintRow(painter, rect, 0);
}

bool FixedColumnsHeader::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QHeaderView::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const int col = ColumnAt(help->pos().x());
    const int row = logicalIndexAt(help->pos().y());
    QString tip;
    if (row >= 0 && help->pos().x() < MarkWidth())
        tip = model_->headerData(row, Qt::Vertical, Qt::ToolTipRole).toString();
    else if (row >= 0 && col >= 0)
        tip = model_->index(row, col).data(Qt::ToolTipRole).toString();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore(); // the table's own hint, if any
        return false;
    }
    QToolTip::showText(help->globalPos(), tip, viewport());
    return true;
}
