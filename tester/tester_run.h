// One run of the stand-in tester, from the parameter file to the result file.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zentrope {

enum TesterExit : int {
    ExitOk = 0,
    ExitBadArguments = 1,
    ExitBadParameterFile = 2,
    ExitNothingToRun = 3,
    ExitBadInput = 4,     // no input file, or too few bits for the run
    ExitOutputFailed = 5, // the result file could not be written
    ExitFailed = 6,       // out of memory or another unexpected failure
};

// args: the program's arguments after its name. Progress goes to `out`, problems to `err`.
int RunTester(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zentrope
