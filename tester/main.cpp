#include "tester_run.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return zentrope::RunTester(args, std::cout, std::cerr);
}
