#include "app/guarded_application.h"
#include "app/main_window.h"
#include "app/process_signals.h"

#include <clocale>
#include <exception>

int main(int argc, char* argv[]) {
    IgnoreFileSizeSignal();
    GuardedApplication app(argc, argv);
    // Files are written and read with a decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    try {
        TFIN window;
        window.show();
        app.exec();
    } catch (...) {
        ShowException(std::current_exception());
    }
    return 0;
}
