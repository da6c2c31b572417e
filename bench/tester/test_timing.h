// Each test's processor time on the lines that give it p-values, for the benchmarks.
#pragma once

#include "tester/test_plan.h"

#include <map>
#include <set>
#include <string>

namespace zentrope {

// Processor time of the calling thread: a test's throughput per core does not depend on what
// else the machine runs (it is shared while building).
double ThreadSeconds();

struct TestTime {
    int lines = 0;         // lines with p-values
    int withoutResult = 0; // lines whose sequences are too short for them, not timed
    double seconds = 0;
};

// The defaults, with sequences of n bits, and Maurer over its whole domain: its default block
// sizes give no p-value at 1 Mbit (L = 2 is outside it, L = 8 needs 2,068,480 bits).
ParameterSet TimingSettings(uint32_t n);

// Keeps the lines of the named tests; no names keep all.
void KeepNamedTests(TestPlan& plan, const std::set<std::string>& names);

// Each test's processor time over its lines with p-values, on this thread, over set.NT
// sequences of set.n bits from the built-in generator.
std::map<TestId, TestTime> TimeEachTest(const ParameterSet& set, const TestPlan& plan);

} // namespace zentrope
