// What a run does: one result line per enabled test and parameter combination, in execution
// order, with the bits each line needs and the way to compute its p-value.
#pragma once

#include "model/parameter_set.h"
#include "tester/bit_sequence.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zentrope {

struct PlannedTest {
    TestId test = 0;
    std::string name;  // display name and parameters, "Serial m=3"
    int64_t first = 0; // the parameters, in the order of the name
    int64_t second = 0;
};

struct TestPlan {
    std::vector<PlannedTest> lines;
    std::vector<std::string> notImplemented; // enabled tests (or parameter values) not run
    std::vector<std::string> notes;          // ranges cut short, values out of bounds
};

TestPlan MakeTestPlan(const ParameterSet& set);

// Bits per sequence for a valid p-value; shorter sequences give -1.
uint64_t RequiredBits(const PlannedTest& line, const ParameterSet& set);

// The p-value of the line on one sequence, or NoResult (-1).
double RunPlannedTest(const PlannedTest& line, const BitSequence& bits, const ParameterSet& set);

// Memory a line takes while it runs on a sequence of n bits, beside the sequence itself.
uint64_t WorkingBytes(const PlannedTest& line, const ParameterSet& set, uint64_t n);
// Memory a line keeps for the whole run once its first sequence ran, on any number of threads
// (the transform's plans and tables).
uint64_t SharedBytes(const PlannedTest& line, const ParameterSet& set, uint64_t n);

// Bits the spectral test uses of a sequence of n bits: at most DFT_max_n (0: no limit) and
// MaxDftLength, and above DFT_optimize cut to the largest length whose prime factors suit the
// transform.
uint64_t DftLength(uint64_t n, const ParameterSet& set);
// Below this many bits the count of small moduli takes too few values for uniform p-values.
inline constexpr uint64_t DftMinBits = 32768;
// The transform takes 8 bytes per bit: 512 MiB here.
inline constexpr uint64_t MaxDftLength = uint64_t{1} << 26;

// The largest m <= n of the form 2^a 3^b 5^c 7^d 11^e 13^f with e + f <= 1.
uint64_t LargestSmoothLength(uint64_t n);

} // namespace zentrope
