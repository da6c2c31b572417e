#include "tester/tester_run.h"

#include <exception>
#include <iostream>
#include <new>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return zentrope::RunTester(args, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "Zentrope.exe ran out of memory.\nNo result file written.\n";
        return zentrope::ExitFailed;
    } catch (const std::exception& e) {
        std::cerr << "Zentrope.exe stopped: " << e.what() << "\nNo result file written.\n";
        return zentrope::ExitFailed;
    }
}
