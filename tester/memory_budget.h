// Whether a run fits in memory, decided before the first sequence so that a run too large
// ends with a clear message instead of failing halfway.
#pragma once

#include "tester/test_plan.h"

#include <cstdint>

namespace zentrope {

// Bytes the system can give this process now: the available memory, within the process's
// address space and data limits; UINT64_MAX when unknown.
uint64_t AvailableMemory();

// Bytes a run takes: the sequences in flight (threads + 1), each thread's largest working
// memory, and every p-value kept for the summary.
uint64_t RunMemory(const TestPlan& plan, const ParameterSet& set, uint64_t n, int32_t sequences,
                   unsigned threads);

// The most threads, up to `wanted`, whose run fits in `available` bytes; 0 when none does.
unsigned ThreadsThatFit(const TestPlan& plan, const ParameterSet& set, uint64_t n,
                        int32_t sequences, unsigned wanted, uint64_t available);

} // namespace zentrope
