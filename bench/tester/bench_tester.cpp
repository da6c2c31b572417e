// Times 50 sequences of 1 Mbit from the built-in generator through every implemented test at
// its default ranges, and prints each test's throughput.
#include "bit_input.h"
#include "test_plan.h"

#include <chrono>
#include <cstdio>
#include <map>

using namespace zentrope;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

struct TestTime {
    int lines = 0;
    int withoutResult = 0; // lines whose sequences are too short for them
    double seconds = 0;
};

} // namespace

int main() {
    ParameterSet set;
    ApplyDefaults(set);
    const TestPlan plan = MakeTestPlan(set);
    BitInput input(DefaultSeed);
    BitSequence bits;
    std::map<TestId, TestTime> times;
    double generating = 0;
    const Clock::time_point start = Clock::now();
    for (int k = 0; k < set.NT; ++k) {
        Clock::time_point t = Clock::now();
        input.Next(set.n, bits);
        generating += Seconds(Clock::now() - t);
        for (const PlannedTest& line : plan.lines) {
            t = Clock::now();
            const double p = RunPlannedTest(line, bits, set);
            times[line.test].seconds += Seconds(Clock::now() - t);
            if (k == 0 && p < 0)
                ++times[line.test].withoutResult;
        }
    }
    const double total = Seconds(Clock::now() - start);
    for (const PlannedTest& line : plan.lines)
        ++times[line.test].lines;
    const double mbits = static_cast<double>(set.n) * set.NT / 1048576.0;
    std::printf("%d sequences of %u bits (%.0f Mbit), %zu result lines\n", set.NT, set.n, mbits,
                plan.lines.size());
    std::printf("%-26s %6s %10s %9s %10s\n", "test", "lines", "no result", "seconds", "Mbit/s");
    for (const auto& [test, time] : times)
        std::printf("%-26s %6d %10d %9.3f %10.1f\n", std::string(DisplayName(test)).c_str(),
                    time.lines, time.withoutResult, time.seconds, mbits / time.seconds);
    std::printf("%-26s %6s %10s %9.3f %10.1f\n", "(generator)", "", "", generating,
                mbits / generating);
    std::printf("%-26s %6zu %10s %9.3f %10.1f\n", "whole run", plan.lines.size(), "", total,
                mbits / total);
    return 0;
}
