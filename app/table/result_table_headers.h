// The header row and the three fixed columns of the result table, drawn like its other cells.
// As the view's own headers they stay in view while the other cells scroll.
#pragma once

#include <QHeaderView>
#include <array>

class ResultTableModel;

// The horizontal header: row 0 of every column.
class ResultHeaderRow : public QHeaderView {
    Q_OBJECT
public:
    ResultHeaderRow(const ResultTableModel* model, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    const ResultTableModel* model_;
};

// The vertical header: a narrow strip that marks failing rows and rows without a result, then
// columns 0 to 2 of every row side by side, and their header cells for the corner above it.
class FixedColumnsHeader : public QHeaderView {
    Q_OBJECT
public:
    static constexpr int Count = 3;

    FixedColumnsHeader(const ResultTableModel* model, QWidget* parent);

    void SetColumnWidth(int col, int width);
    int ColumnWidth(int col) const { return widths_[size_t(col)]; }
    int ColumnLeft(int col) const;
    // The strip left of column 0 that holds the rows' marks.
    int MarkWidth() const;
    // The fixed column under x (header coordinates), or -1.
    int ColumnAt(int x) const;
    // The fixed column whose right border lies within a few pixels of x, or -1.
    int BorderAt(int x) const;
    void PaintCorner(QPainter& painter, const QRect& rect) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    // Each fixed cell has its own tooltip, not one for the whole row.
    bool viewportEvent(QEvent* event) override;

private:
    void PaintRow(QPainter& painter, const QRect& rect, int row) const;
    void PaintMark(QPainter& painter, const QRect& strip, int row) const;

    const ResultTableModel* model_;
    std::array<int, Count> widths_{64, 64, 64};
};
