#include "app/popup_escape_guard.h"

#include <QApplication>
#include <QKeyEvent>

PopupEscapeGuard::PopupEscapeGuard(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

// An accepted override makes the key a plain key press, which goes to the popup.
bool PopupEscapeGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        QApplication::activePopupWidget() != nullptr) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
