// `zentrope-gui --verdict RESULT_FILE [--alpha A] [--ksmin X] [--admin Y] [--slmax Z] [--json]`:
// the run's verdict for scripts, printed without a window or a display.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

inline constexpr int VerdictPasses = 0;
// The run fails, or is incomplete: lines the tester meant to write are missing.
inline constexpr int VerdictFails = 1;
// The file cannot be read as a result file, holds nothing to judge, or the options are wrong.
inline constexpr int VerdictUnreadable = 2;

// Whether the command line asks for a verdict rather than the window.
bool AsksForVerdict(const std::vector<std::string>& args);

// Prints the verdict (text or JSON) to out and problems to err; returns the exit code.
int RunVerdictCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
