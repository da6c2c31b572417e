#include "app/guarded_application.h"
#include "app/main_window.h"
#include "app/process_signals.h"
#include "app/verdict_command.h"

#include <clocale>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    IgnoreFileSizeSignal();
    // Files are written and read with a decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    // A verdict for scripts needs no display: answered before any application object exists.
    const std::vector<std::string> args(argv, argv + argc);
    if (AsksForVerdict(args))
        return RunVerdictCommand(args, std::cout, std::cerr);
    GuardedApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // the application took the user's locale
    try {
        TFIN window;
        window.show();
        app.exec();
    } catch (...) {
        ShowException(std::current_exception());
    }
    return 0;
}
