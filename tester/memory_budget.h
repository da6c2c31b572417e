// Whether a run fits in memory, decided before the first sequence so that a run too large
// ends with a clear message instead of failing halfway.
#pragma once

#include "tester/test_plan.h"

#include <cstdint>

namespace zentrope {

// Memory in two measures: bytes the process touches (against the machine's available memory,
// its control group's limit and RLIMIT_DATA) and address space it maps (against RLIMIT_AS;
// thread stacks and malloc's per-thread arenas take address space they do not touch).
struct MemoryBytes {
    uint64_t touched = 0;
    uint64_t mapped = 0;
};

// What the process may still take now, beyond what it holds; UINT64_MAX where unlimited.
MemoryBytes AvailableMemory();

// What a run adds to the process on `threads` workers: the sequences in flight (threads + 1),
// each thread's largest working memory, what the lines keep for the whole run (FFTW's plans,
// the transforms' tables), the p-values kept for the summary and the summary's own copy.
MemoryBytes RunMemory(const TestPlan& plan, const ParameterSet& set, uint64_t n, int32_t sequences,
                      unsigned threads);

bool Fits(const MemoryBytes& need, const MemoryBytes& available);

// The most threads, up to `wanted`, whose run fits in `available`; 0 when none does.
unsigned ThreadsThatFit(const TestPlan& plan, const ParameterSet& set, uint64_t n,
                        int32_t sequences, unsigned wanted, const MemoryBytes& available);

} // namespace zentrope
