// Fits a QTableView to show the result table as a fixed-row, fixed-column grid: the header row
// and the three fixed columns stay in view, cells are drawn by the table's own rules, rows and
// columns move by dragging (their cells move with them), and every mouse release is reported in
// the view's coordinates with the cell under it.
#pragma once

#include <QObject>
#include <QPoint>
#include <cstdint>
#include <vector>

class FixedColumnsHeader;
class QAbstractButton;
class QMouseEvent;
class QTableView;
class ResultHeaderRow;
class ResultTableModel;

struct GridCell {
    int32_t col = -1;
    int32_t row = -1; // -1 outside the cells
};

class ResultTableControl : public QObject {
    Q_OBJECT
public:
    ResultTableControl(QTableView* view, ResultTableModel* model);

    GridCell CellAt(QPoint viewPoint) const;
    // The middle of a cell in the view's coordinates, when it is in sight.
    QPoint CellCentre(GridCell cell) const;
    void SetColumnWidth(int32_t col, int width);
    // Columns 0 .. widths.size() - 1 at once, with one layout of the header for all of them.
    void SetColumnWidths(const std::vector<int>& widths);
    int ColumnWidth(int32_t col) const;
    // Every row, the header row included.
    void SetRowHeight(int height);
    // Hides or shows the columns between the fixed ones and SequenceColumnEnd, now and after
    // each load; cells and order stay as they are.
    void SetSequenceColumnsShown(bool shown);

signals:
    void MouseReleased(Qt::MouseButton button, QPoint viewPoint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HideFixedCells();
    void ColumnMoved(int logical, int oldVisual, int newVisual);
    void RowMoved(int logical, int oldVisual, int newVisual);
    void ResizeFromCorner(QMouseEvent* event);
    void ShowWholeColumns();
    void HideInsertedSequenceColumns(const QModelIndex& parent, int first, int last);

    QTableView* view_;
    ResultTableModel* model_;
    ResultHeaderRow* headerRow_;
    FixedColumnsHeader* fixedColumns_;
    QAbstractButton* corner_;
    bool sequenceColumnsShown_ = true;
    int resizingColumn_ = -1; // the fixed column whose border is being dragged
};
