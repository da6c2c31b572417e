// Bits needed and the run of one line for Serial two-bit, Blocks'n'gaps, SOB, GCD, Tough
// birthday spacings and AMLS; test_plan.cpp hands these tests over here.
#pragma once

#include "tester/test_plan.h"

namespace zentrope {

inline constexpr TestId SerialTwoBitId = 5, BlocksAndGapsId = 6, SparseOccupancyId = 14, GcdId = 15,
                        BirthdayId = 16, AmlsId = 20;

uint64_t MoreTestRequiredBits(const PlannedTest& line);
double RunMoreTest(const PlannedTest& line, const BitSequence& bits);

// AMLS block lengths are given in kbits, up to 2^21 (2 Gbits).
inline constexpr uint64_t AmlsUnitBits = 1024;
inline constexpr int64_t AmlsMaxKbits = int64_t{1} << 21;

} // namespace zentrope
