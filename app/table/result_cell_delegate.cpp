#include "app/table/result_cell_delegate.h"

#include "app/name_text.h"
#include "app/table/result_table_model.h"

#include <QPainter>

void PaintResultCell(QPainter& painter, const QRect& rect, const QString& text,
                     const CellLook& look, const QFont& font) {
    painter.save();
    painter.fillRect(rect, look.background);
    if (look.raisedFrame) {
        painter.setPen(look.frameLight);
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
        painter.setPen(look.frameShadow);
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
    }
    QFont textFont = font;
    textFont.setBold(look.bold);
    painter.setFont(textFont);
    painter.setPen(look.foreground);
    painter.drawText(rect.marginsRemoved(look.textMargins), int(look.alignment | Qt::AlignTop),
                     text);
    painter.restore();
}

void SGDrawCell(QPainter& painter, const QRect& rect, const ResultTableModel& model,
                CellPlace place, const QPalette& palette, const QFont& font) {
    const std::string_view text = model.Cell(place.col, place.row);
    const CellLook look = DecideCellLook(text, place, model.SequenceColumnEnd(), palette);
    PaintResultCell(painter, rect, DisplayText(text), look, font);
}

ResultCellDelegate::ResultCellDelegate(const ResultTableModel* model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

void ResultCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const CellPlace place{index.column(), index.row(),
                          option.state.testFlag(QStyle::State_Selected)};
    SGDrawCell(*painter, option.rect, *model_, place, option.palette, option.font);
}
