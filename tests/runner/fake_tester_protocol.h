// What the test double of the tester reads and writes, shared with the tests that drive it.
#pragma once

#include <string>

namespace zentrope::fake_tester {

// Read beside the executable, one instruction a line. Settings: "exit <code>", "silent" (write
// no result file), "ignore-term" (ignore SIGTERM from the start). Steps, done in their order
// after the record is written: "sleep <ms>", "say <text>" (a line on standard output),
// "complain <text>" (a line on standard error), "progress <N> <ms>" (the lines
// "Progress: k of N" for k = 1..N, each followed by a pause of <ms>). Every line is written
// at once, unbuffered.
inline constexpr const char* ControlFile = "fake_tester.control";
// Written beside the executable before anything else, as lines "pid <n>", "sid <n>",
// "cwd <folder>", "argc <n>" and one "arg <text>" per argument.
inline constexpr const char* RecordFile = "fake_tester.record";
// Used when the parameter file names no output file, as the real tester does.
inline constexpr const char* DefaultOutput = "_Zentrope.txt";

// Three sequences of two tests, in the "p-value[TAB]test_name" format.
inline constexpr const char* ResultText = "Fake Zentrope run\n"
                                          "\n"
                                          "Sequence #1\n"
                                          "0.5\tDFT\n"
                                          "0.25\tRuns\n"
                                          "\n"
                                          "Sequence #2\n"
                                          "0.75\tDFT\n"
                                          "-1\tRuns\n"
                                          "\n"
                                          "Sequence #3\n"
                                          "0.125\tDFT\n"
                                          "0.625\tRuns\n"
                                          "\n";

// Section k of N written by the "sections" step: "Sequence #k", then the p-values of DFT and
// Runs, spread evenly over (0, 1) in two different orders, then an empty line.
inline std::string PartialSection(int k, int total) {
    const auto pvalue = [&](int index) { return std::to_string((index % total + 0.5) / total); };
    return "Sequence #" + std::to_string(k) + "\n" + pvalue(k - 1) + "\tDFT\n" + pvalue(total - k) +
           "\tRuns\n\n";
}
inline constexpr const char* PartialHeader = "Fake Zentrope run, sections as they finish\n\n";

} // namespace zentrope::fake_tester
