// Times 50 sequences of 1 Mbit from the built-in generator through every implemented test at
// its default ranges: each test's throughput on one core, then the whole run on one thread and
// on all of them, and the speed-up between the two.
#include "tester/bit_input.h"
#include "tester/parallel_run.h"
#include "tester/test_plan.h"

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

// Each test's time over all its lines, on one thread.
std::map<TestId, TestTime> TimeEachTest(const ParameterSet& set, const TestPlan& plan) {
    BitInput input(DefaultSeed);
    BitSequence bits;
    std::map<TestId, TestTime> times;
    for (const PlannedTest& line : plan.lines)
        ++times[line.test].lines;
    for (int k = 0; k < set.NT; ++k) {
        input.Next(set.n, bits);
        for (const PlannedTest& line : plan.lines) {
            const Clock::time_point t = Clock::now();
            const double p = RunPlannedTest(line, bits, set);
            times[line.test].seconds += Seconds(Clock::now() - t);
            if (k == 0 && p < 0)
                ++times[line.test].withoutResult;
        }
    }
    return times;
}

// The whole run as the tester makes it, generator included, on the given threads.
double TimeWholeRun(const ParameterSet& set, const TestPlan& plan, unsigned threads) {
    BitInput input(DefaultSeed);
    const SequenceWork work{&plan, &set, &input, set.n, set.NT, threads, false};
    const Clock::time_point start = Clock::now();
    TestAllSequences(
        work, [](int32_t, const std::vector<double>&) {}, [](uint64_t, uint64_t) {});
    return Seconds(Clock::now() - start);
}

} // namespace

int main() {
    ParameterSet set;
    ApplyDefaults(set);
    const TestPlan plan = MakeTestPlan(set);
    const double mbits = static_cast<double>(set.n) * set.NT / 1048576.0;
    std::printf("%d sequences of %u bits (%.0f Mbit), %zu result lines\n", set.NT, set.n, mbits,
                plan.lines.size());
    std::printf("%-26s %6s %10s %9s %14s\n", "test", "lines", "no result", "seconds",
                "Mbit/s (1 core)");
    for (const auto& [test, time] : TimeEachTest(set, plan))
        std::printf("%-26s %6d %10d %9.3f %14.1f\n", std::string(DisplayName(test)).c_str(),
                    time.lines, time.withoutResult, time.seconds, mbits / time.seconds);
    const unsigned all = ThreadsToUse();
    const double one = TimeWholeRun(set, plan, 1);
    const double many = TimeWholeRun(set, plan, all);
    std::printf("whole run on 1 thread: %.3f s (%.1f Mbit/s)\n", one, mbits / one);
    std::printf("whole run on %u threads: %.3f s (%.1f Mbit/s)\n", all, many, mbits / many);
    std::printf("speed-up: %.2f\n", one / many);
    return 0;
}
