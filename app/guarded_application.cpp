#include "app/guarded_application.h"

#include "app/dialog_seam.h"

#include <exception>

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowException(std::current_exception());
        return false;
    }
}

void ShowException(const std::exception_ptr& exception) {
    QString text;
    try {
        std::rethrow_exception(exception);
    } catch (const std::exception& e) {
        text = QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    ScreenDialogs().ShowMessage(text, MessageIcon::Error);
}
