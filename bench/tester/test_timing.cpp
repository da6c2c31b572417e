#include "bench/tester/test_timing.h"

#include "tester/bit_input.h"

#include <ctime>

namespace zentrope {

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

ParameterSet TimingSettings(uint32_t n) {
    ParameterSet set;
    ApplyDefaults(set);
    set.n = n;
    set.Maurer_block_size = {6, 16, 1};
    return set;
}

void KeepNamedTests(TestPlan& plan, const std::set<std::string>& names) {
    if (names.empty())
        return;
    std::erase_if(plan.lines, [&](const PlannedTest& line) {
        return names.count(std::string(DisplayName(line.test))) == 0;
    });
}

std::map<TestId, TestTime> TimeEachTest(const ParameterSet& set, const TestPlan& plan) {
    std::map<TestId, TestTime> times;
    std::vector<const PlannedTest*> timed;
    for (const PlannedTest& line : plan.lines) {
        TestTime& t = times[line.test];
        if (set.n < RequiredBits(line, set)) {
            ++t.withoutResult;
            continue;
        }
        ++t.lines;
        timed.push_back(&line);
    }
    BitInput input(DefaultSeed);
    BitSequence bits;
    for (int k = 0; k < set.NT; ++k) {
        input.Next(set.n, bits);
        for (const PlannedTest* line : timed) {
            const double start = ThreadSeconds();
            RunPlannedTest(*line, bits, set);
            times[line->test].seconds += ThreadSeconds() - start;
        }
    }
    return times;
}

} // namespace zentrope
