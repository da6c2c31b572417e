#include "tester/memory_budget.h"

#include <sys/resource.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace zentrope {
namespace {

// Saturating, so that absurd runs compare as too large instead of wrapping around.
uint64_t Add(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

uint64_t Multiply(uint64_t a, uint64_t b) {
    return b != 0 && a > UINT64_MAX / b ? UINT64_MAX : a * b;
}

uint64_t MemAvailable() {
    std::ifstream in("/proc/meminfo");
    std::string key;
    uint64_t kib = 0;
    std::string unit;
    while (in >> key >> kib >> unit)
        if (key == "MemAvailable:")
            return Multiply(kib, 1024);
    return UINT64_MAX;
}

uint64_t Limit(int resource) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return UINT64_MAX;
    return static_cast<uint64_t>(limit.rlim_cur);
}

// The program, its libraries and the plan around the figures counted here.
constexpr uint64_t BaseBytes = uint64_t{64} << 20;

} // namespace

uint64_t AvailableMemory() {
    return std::min({MemAvailable(), Limit(RLIMIT_AS), Limit(RLIMIT_DATA)});
}

uint64_t RunMemory(const TestPlan& plan, const ParameterSet& set, uint64_t n, int32_t sequences,
                   unsigned threads) {
    uint64_t working = 0;
    for (const PlannedTest& line : plan.lines)
        working = std::max(working, WorkingBytes(line, set, n));
    const uint64_t sequenceBytes = Multiply((n + 63) / 64, 8);
    const uint64_t pValues =
        Multiply(Multiply(static_cast<uint64_t>(sequences), plan.lines.size() + 1), 8);
    uint64_t total = Add(BaseBytes, pValues);
    total = Add(total, Multiply(sequenceBytes, uint64_t{threads} + 1));
    return Add(total, Multiply(working, threads));
}

unsigned ThreadsThatFit(const TestPlan& plan, const ParameterSet& set, uint64_t n,
                        int32_t sequences, unsigned wanted, uint64_t available) {
    for (unsigned threads = wanted; threads >= 1; --threads)
        if (RunMemory(plan, set, n, sequences, threads) <= available)
            return threads;
    return 0;
}

} // namespace zentrope
