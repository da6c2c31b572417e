// Times 50 sequences of 1 Mbit from the built-in generator through every implemented test at
// its default ranges: each test's throughput on one core, then the whole run on one thread and
// on all of them, and the speed-up between the two. With test names as arguments only those
// tests are timed, and the whole run is left out.
#include "tester/bit_input.h"
#include "tester/parallel_run.h"
#include "tester/test_plan.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <set>
#include <string>

using namespace zentrope;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Processor time of the calling thread or of the process: a test's throughput per core does
// not depend on what else the machine runs (it is shared while building).
double ProcessorSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double ThreadSeconds() {
    return ProcessorSeconds(CLOCK_THREAD_CPUTIME_ID);
}

struct TestTime {
    int lines = 0;
    int withoutResult = 0; // lines whose sequences are too short for them
    double seconds = 0;
};

// Each test's processor time over all its lines, on one thread.
std::map<TestId, TestTime> TimeEachTest(const ParameterSet& set, const TestPlan& plan) {
    BitInput input(DefaultSeed);
    BitSequence bits;
    std::map<TestId, TestTime> times;
    for (const PlannedTest& line : plan.lines)
        ++times[line.test].lines;
    for (int k = 0; k < set.NT; ++k) {
        input.Next(set.n, bits);
        for (const PlannedTest& line : plan.lines) {
            const double t = ThreadSeconds();
            const double p = RunPlannedTest(line, bits, set);
            times[line.test].seconds += ThreadSeconds() - t;
            if (k == 0 && p < 0)
                ++times[line.test].withoutResult;
        }
    }
    return times;
}

struct RunTime {
    double wall = 0;
    double processor = 0; // all threads together: above one thread's, the cost of sharing
};

// The whole run as the tester makes it, generator included, on the given threads.
RunTime TimeWholeRun(const ParameterSet& set, const TestPlan& plan, unsigned threads) {
    BitInput input(DefaultSeed);
    const SequenceWork work{&plan, &set, &input, set.n, set.NT, threads, false};
    const Clock::time_point start = Clock::now();
    const double processor = ProcessorSeconds(CLOCK_PROCESS_CPUTIME_ID);
    TestAllSequences(
        work, [](int32_t, const std::vector<double>&) {}, [](uint64_t, uint64_t) {});
    return {Seconds(Clock::now() - start), ProcessorSeconds(CLOCK_PROCESS_CPUTIME_ID) - processor};
}

void PrintWholeRun(unsigned threads, const RunTime& t, double mbits) {
    std::printf("whole run on %u thread%s: %.3f s (%.1f Mbit/s), processor time %.3f s\n", threads,
                threads == 1 ? "" : "s", t.wall, mbits / t.wall, t.processor);
}

// Keeps the lines of the named tests; no names keep all.
void KeepNamedTests(TestPlan& plan, const std::set<std::string>& names) {
    if (names.empty())
        return;
    std::erase_if(plan.lines, [&](const PlannedTest& line) {
        return names.count(std::string(DisplayName(line.test))) == 0;
    });
}

} // namespace

int main(int argc, char** argv) {
    ParameterSet set;
    ApplyDefaults(set);
    std::set<std::string> names;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("n="))
            set.n = static_cast<uint32_t>(std::stoul(arg.substr(2)));
        else
            names.insert(arg);
    }
    TestPlan plan = MakeTestPlan(set);
    KeepNamedTests(plan, names);
    const double mbits = static_cast<double>(set.n) * set.NT / 1048576.0;
    std::printf("%d sequences of %u bits (%.0f Mbit), %zu result lines\n", set.NT, set.n, mbits,
                plan.lines.size());
    std::printf("%-26s %6s %10s %9s %14s\n", "test", "lines", "no result", "cpu s",
                "Mbit/s (1 core)");
    for (const auto& [test, time] : TimeEachTest(set, plan))
        std::printf("%-26s %6d %10d %9.3f %14.1f\n", std::string(DisplayName(test)).c_str(),
                    time.lines, time.withoutResult, time.seconds, mbits / time.seconds);
    if (!names.empty())
        return 0;
    const unsigned all = ThreadsToUse();
    const RunTime one = TimeWholeRun(set, plan, 1);
    const RunTime many = TimeWholeRun(set, plan, all);
    PrintWholeRun(1, one, mbits);
    PrintWholeRun(all, many, mbits);
    std::printf("speed-up: %.2f\n", one.wall / many.wall);
    return 0;
}
