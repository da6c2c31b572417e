// Paints the result table's cells with the decision of result_cell_style.h.
#pragma once

#include "app/table/result_cell_style.h"

#include <QStyledItemDelegate>

class QPainter;
class ResultTableModel;

// Fills the cell, draws the raised frame of fixed cells and the text at the top of the cell,
// ampersands as they are.
void PaintResultCell(QPainter& painter, const QRect& rect, const QString& text,
                     const CellLook& look, const QFont& font);

// The owner drawing of one cell: its look decided from the model as it stands, then painted.
void SGDrawCell(QPainter& painter, const QRect& rect, const ResultTableModel& model,
                CellPlace place, const QPalette& palette, const QFont& font);

class ResultCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ResultCellDelegate(const ResultTableModel* model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const ResultTableModel* model_;
};
