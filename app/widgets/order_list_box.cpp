#include "app/widgets/order_list_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

OrderListBox::OrderListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setDragEnabled(false);
    setAcceptDrops(false);
    viewport()->setCursor(Qt::SizeVerCursor);
}

int OrderListBox::RowHeight() const {
    const int height = sizeHintForRow(0);
    return height > 0 ? height : fontMetrics().height();
}

void OrderListBox::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    emit EntryClicked();
    pressed_ = event->button() == Qt::LeftButton;
    dragging_ = false;
    pressPos_ = event->position().toPoint();
}

void OrderListBox::mouseMoveEvent(QMouseEvent* event) {
    // While the button is held the list drags; it never sweeps the selection along.
    if (!pressed_ || !(event->buttons() & Qt::LeftButton))
        return QListWidget::mouseMoveEvent(event);
    const QPoint pos = event->position().toPoint();
    if (!dragging_ && (pos - pressPos_).manhattanLength() < QApplication::startDragDistance())
        return;
    dragging_ = true;
    bool allowed = true;
    emit DragMoved(pos.y(), &allowed);
    viewport()->setCursor(allowed ? Qt::SizeVerCursor : Qt::ForbiddenCursor);
}

void OrderListBox::mouseReleaseEvent(QMouseEvent* event) {
    pressed_ = false;
    dragging_ = false;
    viewport()->setCursor(Qt::SizeVerCursor);
    QListWidget::mouseReleaseEvent(event);
}

void OrderListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before)
        emit EntryClicked();
}
