#include "tester/memory_budget.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace zentrope {
namespace {

// Saturating, so that absurd runs compare as too large instead of wrapping around.
uint64_t Add(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

uint64_t Multiply(uint64_t a, uint64_t b) {
    return b != 0 && a > UINT64_MAX / b ? UINT64_MAX : a * b;
}

uint64_t Subtract(uint64_t a, uint64_t b) {
    return a == UINT64_MAX ? a : (a > b ? a - b : 0);
}

// A "Key: value kB" field of a /proc file, in bytes; UINT64_MAX when absent.
uint64_t ProcField(const char* file, const std::string& field) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.starts_with(field))
            return Multiply(std::strtoull(line.c_str() + field.size(), nullptr, 10), 1024);
    return UINT64_MAX;
}

uint64_t Limit(int resource) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return UINT64_MAX;
    return static_cast<uint64_t>(limit.rlim_cur);
}

uint64_t ReadNumber(const std::string& path) {
    std::ifstream in(path);
    uint64_t value = 0;
    return in >> value ? value : UINT64_MAX; // "max" (no limit) reads as no number
}

// The room left under the memory limit of the process's control group (version 2, or the
// memory controller of version 1); UINT64_MAX when there is none.
uint64_t ControlGroupRoom() {
    std::ifstream in("/proc/self/cgroup");
    std::string line;
    while (std::getline(in, line)) {
        const size_t first = line.find(':');
        const size_t second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos)
            continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        const std::string path = line.substr(second + 1);
        std::string limit, usage;
        if (controllers.empty()) {
            limit = "/sys/fs/cgroup" + path + "/memory.max";
            usage = "/sys/fs/cgroup" + path + "/memory.current";
        } else if (controllers == "memory") {
            limit = "/sys/fs/cgroup/memory" + path + "/memory.limit_in_bytes";
            usage = "/sys/fs/cgroup/memory" + path + "/memory.usage_in_bytes";
        } else {
            continue;
        }
        const uint64_t max = ReadNumber(limit);
        if (max != UINT64_MAX && max < (uint64_t{1} << 62))
            return Subtract(max, std::min(max, ReadNumber(usage)));
    }
    return UINT64_MAX;
}

// glibc's malloc block around `bytes`: an 8-byte header, 16-byte granules, 32 at least.
uint64_t HeapBlock(uint64_t bytes) {
    return std::max<uint64_t>(32, (bytes + 8 + 15) / 16 * 16);
}

// Each sequence's row of p-values is a vector of its own, kept to the end for the summary,
// which then copies one line's p-values at a time and sorts them.
uint64_t PValueBytes(size_t lines, int32_t sequences) {
    const auto k = static_cast<uint64_t>(sequences);
    const uint64_t row = sizeof(std::vector<double>) + HeapBlock(Multiply(lines, 8));
    return Add(Multiply(k, row), Multiply(k, 2 * sizeof(double)));
}

// A worker's stack (pthreads take the stack limit, 32 MiB where it is unlimited) and the heap
// arena glibc's malloc makes for it: 64 MiB of address space aligned to 64 MiB, which it finds
// by mapping 128 MiB first. A thread whose arena cannot be made maps a page for every block
// it allocates instead (measured: a 32-byte row of p-values took 4 KiB).
uint64_t ThreadAddressSpace() {
    const uint64_t stack = Limit(RLIMIT_STACK);
    return Add(stack == UINT64_MAX ? uint64_t{32} << 20 : stack, uint64_t{128} << 20);
}

// Growth of what the program already holds (library heaps, output buffers, the plan) while
// the run goes on.
constexpr uint64_t MarginBytes = uint64_t{16} << 20;

} // namespace

MemoryBytes AvailableMemory() {
    MemoryBytes room;
    const uint64_t data = Subtract(Limit(RLIMIT_DATA), ProcField("/proc/self/status", "VmData:"));
    room.touched =
        std::min({ProcField("/proc/meminfo", "MemAvailable:"), ControlGroupRoom(), data});
    room.mapped = Subtract(Limit(RLIMIT_AS), ProcField("/proc/self/status", "VmSize:"));
    return room;
}

MemoryBytes RunMemory(const TestPlan& plan, const ParameterSet& set, uint64_t n, int32_t sequences,
                      unsigned threads) {
    uint64_t working = 0;
    uint64_t shared = 0;
    for (const PlannedTest& line : plan.lines) {
        working = std::max(working, WorkingBytes(line, set, n));
        shared = Add(shared, SharedBytes(line, set, n));
    }
    const uint64_t sequenceBytes = Multiply((n + 63) / 64, 8);
    uint64_t total = Add(MarginBytes, PValueBytes(plan.lines.size(), sequences));
    total = Add(total, shared);
    total = Add(total, Multiply(sequenceBytes, uint64_t{threads} + 1));
    total = Add(total, Multiply(working, threads));
    return {total, Add(total, Multiply(ThreadAddressSpace(), threads))};
}

bool Fits(const MemoryBytes& need, const MemoryBytes& available) {
    return need.touched <= available.touched && need.mapped <= available.mapped;
}

unsigned ThreadsThatFit(const TestPlan& plan, const ParameterSet& set, uint64_t n,
                        int32_t sequences, unsigned wanted, const MemoryBytes& available) {
    for (unsigned threads = wanted; threads >= 1; --threads)
        if (Fits(RunMemory(plan, set, n, sequences, threads), available))
            return threads;
    return 0;
}

} // namespace zentrope
