// Starts the tester the way the front end does and ends at once, without waiting, so that a
// test can see the tester run on after its starter is gone. Prints the tester's process id.
// Arguments: executable, parameter, working folder and, optionally, the log file.
#include "runner/tester_process.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 4 && argc != 5)
        return 2;
    zentrope::TesterStart start =
        zentrope::StartTester(argv[1], argv[2], argv[3], argc == 5 ? argv[4] : QString());
    if (!start.process) {
        std::fprintf(stderr, "%s\n", qPrintable(start.error));
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(start.process->ProcessId()));
    return 0;
}
