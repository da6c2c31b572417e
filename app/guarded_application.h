// The application object: an exception that escapes an event handler is shown in a box and
// the program goes on, as the toolkit's own event loop would do.
#pragma once

#include <QApplication>
#include <exception>

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

// The standard box for an exception: its message (empty for one of no known kind) as an error.
void ShowException(const std::exception_ptr& exception);
