// Leaves Escape to an open popup (a combo box's list, a context menu, a completion list).
// Under a window manager a popup does not take the keyboard focus from its window, so the
// window's Escape shortcut would see the key too: the popup closes while the shortcut is
// matched, and the window closes with it.
#pragma once

#include <QObject>

class PopupEscapeGuard : public QObject {
    Q_OBJECT
public:
    // Watches every event of the application while it lives.
    explicit PopupEscapeGuard(QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
