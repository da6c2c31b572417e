// Tests a run's sequences on several threads. The unit of work is one result line on one
// sequence, so a run of one long sequence keeps every thread busy as well as a run of many
// short ones. Rows of p-values leave in sequence order whatever the thread count, so the
// result is the same on one core as on many.
#pragma once

#include "tester/bit_input.h"
#include "tester/test_plan.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zentrope {

struct SequenceWork {
    const TestPlan* plan = nullptr;
    const ParameterSet* set = nullptr;
    BitInput* input = nullptr;
    uint64_t n = 0;        // bits per sequence
    int32_t sequences = 0; // NT
    unsigned threads = 1;
    bool lowPriority = false; // every worker thread runs at the lowest priority (nice 19)
};

// Receives sequence k (from 0) with one p-value per result line, in order, one at a time.
using RowSink = std::function<void(int32_t k, const std::vector<double>& pValues)>;
// Receives the p-values done and the total (sequences times result lines); called from the
// thread that runs TestAllSequences, at least once a second while work goes on.
using ProgressSink = std::function<void(uint64_t done, uint64_t total)>;

// False when the input ends before the last sequence. An exception in a worker stops the run
// and is thrown again here.
bool TestAllSequences(const SequenceWork& work, const RowSink& rows, const ProgressSink& progress);

inline constexpr unsigned MaxThreads = 1024;

// The threads a run uses: ZENTROPE_THREADS when it holds a number from 1 to MaxThreads, else
// every core the process may run on.
unsigned ThreadsToUse();
// Why ZENTROPE_THREADS cannot be used as set; empty when it is unset or valid. A run refuses
// an invalid setting rather than silently taking every core.
std::string ThreadsSettingProblem();

} // namespace zentrope
