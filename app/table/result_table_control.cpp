#include "app/table/result_table_control.h"

#include "app/table/result_cell_delegate.h"
#include "app/table/result_table_headers.h"
#include "app/table/result_table_model.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <vector>

namespace {

constexpr int FixedColumnCount = FixedColumnsHeader::Count;

// Puts a header's sections back where they were after a drag; the cells move instead.
void UndoSectionMove(QHeaderView* header, int oldVisual, int newVisual) {
    const QSignalBlocker blocker(header);
    header->moveSection(newVisual, oldVisual);
}

// Sizes of sections from..to (inclusive) after the one at `from` moved to `to`.
std::vector<int> MovedSizes(const QHeaderView* header, int from, int to) {
    std::vector<int> sizes;
    for (int i = std::min(from, to); i <= std::max(from, to); ++i)
        sizes.push_back(header->sectionSize(i));
    if (from < to)
        std::rotate(sizes.begin(), sizes.begin() + 1, sizes.end());
    else
        std::rotate(sizes.rbegin(), sizes.rbegin() + 1, sizes.rend());
    return sizes;
}

void ApplySizes(QHeaderView* header, int from, int to, const std::vector<int>& sizes) {
    int index = std::min(from, to);
    for (int size : sizes)
        header->resizeSection(index++, size);
}

} // namespace

ResultTableControl::ResultTableControl(QTableView* view, ResultTableModel* model)
    : QObject(view), view_(view), model_(model), headerRow_(new ResultHeaderRow(model, view)),
      fixedColumns_(new FixedColumnsHeader(model, view)) {
    view->setModel(model);
    view->setItemDelegate(new ResultCellDelegate(model, view));
    view->setHorizontalHeader(headerRow_);
    view->setVerticalHeader(fixedColumns_);
    view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table, so that the keyboard reaches the verdict's list and the pane; the
    // arrows move between cells.
    view->setTabKeyNavigation(false);
    for (QHeaderView* header :
         {static_cast<QHeaderView*>(headerRow_), static_cast<QHeaderView*>(fixedColumns_)}) {
        header->setSectionsMovable(true);
        header->setSectionsClickable(false);
        header->setSectionResizeMode(QHeaderView::Interactive);
        header->setMinimumSectionSize(1);
        header->viewport()->installEventFilter(this);
    }
    corner_ = view->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_ != nullptr) {
        corner_->setMouseTracking(true);
        corner_->installEventFilter(this);
        // The corner shows the fixed columns' header cells, with the sort's arrow.
        connect(model, &QAbstractItemModel::headerDataChanged, corner_,
                qOverload<>(&QWidget::update));
    }
    view->viewport()->installEventFilter(this);

    connect(headerRow_, &QHeaderView::sectionMoved, this, &ResultTableControl::ColumnMoved);
    connect(fixedColumns_, &QHeaderView::sectionMoved, this, &ResultTableControl::RowMoved);
    connect(model, &QAbstractItemModel::modelReset, this, &ResultTableControl::HideFixedCells);
    connect(model, &QAbstractItemModel::columnsInserted, this,
            &ResultTableControl::HideInsertedSequenceColumns);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &ResultTableControl::ShowWholeColumns);
    HideFixedCells();
}

// Scrolled to the far right, the view puts the last column at the right edge and cuts the
// first one shown, whose cut figures read like other numbers: show whole columns instead, as
// at every other scroll position, leaving room after the last column.
void ResultTableControl::ShowWholeColumns() {
    const QScrollBar* bar = view_->horizontalScrollBar();
    if (view_->horizontalScrollMode() != QAbstractItemView::ScrollPerItem || bar->value() == 0 ||
        bar->value() != bar->maximum())
        return;
    const int first = headerRow_->logicalIndexAt(0);
    const bool last = headerRow_->visualIndex(first) == headerRow_->count() - 1;
    if (first < 0 || last || headerRow_->sectionViewportPosition(first) == 0)
        return;
    headerRow_->setOffset(headerRow_->sectionPosition(first) + headerRow_->sectionSize(first));
    view_->viewport()->update();
}

void ResultTableControl::HideFixedCells() {
    for (int col = 0; col < FixedColumnCount; ++col)
        view_->setColumnHidden(col, true);
    view_->setRowHidden(0, true);
    // A reset shows every section again: only hidden sequence columns need a call each.
    if (!sequenceColumnsShown_)
        SetSequenceColumnsShown(false);
}

// Sequences that a running tester adds come in hidden while the sequence columns are hidden.
void ResultTableControl::HideInsertedSequenceColumns(const QModelIndex&, int first, int last) {
    if (sequenceColumnsShown_)
        return;
    const int end = std::min(model_->SequenceColumnEnd() - 1, last);
    for (int col = std::max(first, FixedColumnCount); col <= end; ++col)
        view_->setColumnHidden(col, true);
}

void ResultTableControl::SetSequenceColumnsShown(bool shown) {
    sequenceColumnsShown_ = shown;
    const int end = std::min(model_->SequenceColumnEnd(), model_->columnCount());
    const bool updates = headerRow_->updatesEnabled();
    headerRow_->setUpdatesEnabled(false);
    for (int col = FixedColumnCount; col < end; ++col)
        view_->setColumnHidden(col, !shown);
    headerRow_->setUpdatesEnabled(updates);
}

void ResultTableControl::ColumnMoved(int, int oldVisual, int newVisual) {
    UndoSectionMove(headerRow_, oldVisual, newVisual);
    const int to = std::max(newVisual, FixedColumnCount); // the fixed columns stay first
    const std::vector<int> widths = MovedSizes(headerRow_, oldVisual, to);
    model_->MoveColumn(oldVisual, to);
    ApplySizes(headerRow_, oldVisual, to, widths);
}

void ResultTableControl::RowMoved(int, int oldVisual, int newVisual) {
    UndoSectionMove(fixedColumns_, oldVisual, newVisual);
    const int to = std::max(newVisual, 1); // the header row stays first
    const std::vector<int> heights = MovedSizes(fixedColumns_, oldVisual, to);
    model_->MoveRow(oldVisual, to);
    ApplySizes(fixedColumns_, oldVisual, to, heights);
}

void ResultTableControl::SetColumnWidth(int32_t col, int width) {
    if (col < FixedColumnCount)
        fixedColumns_->SetColumnWidth(col, width);
    else
        headerRow_->resizeSection(col, width);
}

void ResultTableControl::SetColumnWidths(const std::vector<int>& widths) {
    // With updates off the header only stores each size; laid out while shown, it would
    // place every section again for each column, which is quadratic in wide tables.
    const bool updates = headerRow_->updatesEnabled();
    headerRow_->setUpdatesEnabled(false);
    for (size_t col = 0; col < widths.size(); ++col)
        SetColumnWidth(static_cast<int32_t>(col), widths[col]);
    headerRow_->setUpdatesEnabled(updates);
}

int ResultTableControl::ColumnWidth(int32_t col) const {
    return col < FixedColumnCount ? fixedColumns_->ColumnWidth(col) : headerRow_->sectionSize(col);
}

void ResultTableControl::SetRowHeight(int height) {
    fixedColumns_->setDefaultSectionSize(height);
    headerRow_->setFixedHeight(height);
}

GridCell ResultTableControl::CellAt(QPoint viewPoint) const {
    const QPoint inRow = headerRow_->mapFrom(view_, viewPoint);
    const QPoint inFixed = fixedColumns_->mapFrom(view_, viewPoint);
    const bool overHeaderRow = inRow.y() >= 0 && inRow.y() < headerRow_->height();
    const bool overFixed = inFixed.x() >= 0 && inFixed.x() < fixedColumns_->width();
    const int fixedCol = fixedColumns_->ColumnAt(inFixed.x());
    if (overHeaderRow && overFixed)
        return {fixedCol, fixedCol < 0 ? -1 : 0};
    if (overHeaderRow && inRow.x() >= 0 && inRow.x() < headerRow_->width()) {
        const int col = headerRow_->logicalIndexAt(inRow.x());
        return {col, col < 0 ? -1 : 0};
    }
    if (overFixed && inFixed.y() >= 0 && inFixed.y() < fixedColumns_->height()) {
        const int row = fixedColumns_->logicalIndexAt(inFixed.y());
        return {fixedCol, fixedCol < 0 ? -1 : row};
    }
    const QPoint inCells = view_->viewport()->mapFrom(view_, viewPoint);
    if (!view_->viewport()->rect().contains(inCells))
        return {};
    const int col = view_->columnAt(inCells.x());
    const int row = view_->rowAt(inCells.y());
    return col < 0 || row < 0 ? GridCell{} : GridCell{col, row};
}

QPoint ResultTableControl::CellCentre(GridCell cell) const {
    const bool fixed = cell.col < FixedColumnCount;
    const int x =
        fixed
            ? fixedColumns_->ColumnLeft(cell.col) + fixedColumns_->ColumnWidth(cell.col) / 2
            : headerRow_->sectionViewportPosition(cell.col) + headerRow_->sectionSize(cell.col) / 2;
    const int y = cell.row == 0 ? headerRow_->height() / 2
                                : fixedColumns_->sectionViewportPosition(cell.row) +
                                      fixedColumns_->sectionSize(cell.row) / 2;
    const QWidget* xFrom = fixed ? static_cast<QWidget*>(fixedColumns_) : headerRow_;
    const QWidget* yFrom = cell.row == 0 ? static_cast<QWidget*>(headerRow_) : fixedColumns_;
    return {xFrom->mapTo(view_, QPoint(x, 0)).x(), yFrom->mapTo(view_, QPoint(0, y)).y()};
}

void ResultTableControl::ResizeFromCorner(QMouseEvent* event) {
    const int x = int(event->position().x());
    if (event->type() == QEvent::MouseButtonPress && event->button() == Qt::LeftButton)
        resizingColumn_ = fixedColumns_->BorderAt(x);
    else if (event->type() == QEvent::MouseButtonRelease)
        resizingColumn_ = -1;
    if (resizingColumn_ >= 0 && event->type() == QEvent::MouseMove)
        SetColumnWidth(resizingColumn_,
                       std::max(1, x - fixedColumns_->ColumnLeft(resizingColumn_)));
    const bool onBorder = resizingColumn_ >= 0 || fixedColumns_->BorderAt(x) >= 0;
    corner_->setCursor(onBorder ? Qt::SplitHCursor : Qt::ArrowCursor);
}

bool ResultTableControl::eventFilter(QObject* watched, QEvent* event) {
    const bool corner = watched == corner_;
    if (corner && event->type() == QEvent::Paint) {
        QPainter painter(corner_);
        fixedColumns_->PaintCorner(painter, corner_->rect());
        return true;
    }
    const bool mouse =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
        event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseMove;
    if (!mouse)
        return false;
    auto* mouseEvent = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonRelease) {
        const QPoint viewPoint =
            static_cast<QWidget*>(watched)->mapTo(view_, mouseEvent->position().toPoint());
        emit MouseReleased(mouseEvent->button(), viewPoint);
    }
    // The corner holds the fixed columns' header cells: their borders resize the columns, and
    // it selects nothing.
    if (corner)
        ResizeFromCorner(mouseEvent);
    return corner;
}
