// zentrope-merge OUT SHARE...: the result files of a run's shares into the run's result file.
#include "tester/merge_shares.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "Usage: zentrope-merge OUT SHARE...\n"
                     "Merges the result files of shares of one run (Zentrope.exe --sequences) "
                     "into the result file of the whole run.\n";
        return 1;
    }
    try {
        const std::string problem = zentrope::MergeShares({argv + 2, argv + argc}, argv[1]);
        if (!problem.empty()) {
            std::cerr << problem << "\nNothing written.\n";
            return 2;
        }
    } catch (const std::exception& e) {
        std::cerr << "zentrope-merge stopped: " << e.what() << "\nNothing written.\n";
        return 2;
    }
    return 0;
}
