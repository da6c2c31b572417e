// The execution-order list: pressing an entry and moving the mouse drags it, and every move
// during the drag is reported so the window can reorder the list live.
#pragma once

#include <QListWidget>

class OrderListBox : public QListWidget {
    Q_OBJECT
public:
    explicit OrderListBox(QWidget* parent = nullptr);

    bool Dragging() const { return dragging_; }
    // Height of one entry in pixels.
    int RowHeight() const;

signals:
    // The user pressed an entry or moved the selection with the keyboard.
    void EntryClicked();
    // y in the list's client area; the receiver answers whether a drop there is allowed.
    void DragMoved(int y, bool* allowed);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPoint pressPos_;
    bool pressed_ = false;
    bool dragging_ = false;
};
