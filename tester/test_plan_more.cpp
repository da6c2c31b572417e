#include "tester/test_plan_more.h"
#include "tester/basic_five_tests.h"
#include "tester/longest_run.h"
#include "tester/marsaglia_tests.h"
#include "tester/randomness_tests.h"

namespace zentrope {
namespace {

// Shortest lengths at which the p-values of random sequences are uniform (tests/tester).
constexpr uint64_t SerialTwoBitMinBits = 1000;
constexpr uint64_t BlocksAndGapsMinBits = 1000;

} // namespace

uint64_t MoreTestRequiredBits(const PlannedTest& line) {
    switch (line.test) {
    case SerialTwoBitId:
        return SerialTwoBitMinBits;
    case BlocksAndGapsId:
        return BlocksAndGapsMinBits;
    case SparseOccupancyId:
        return SparseOccupancyBits(SparseOccupancyMinWord);
    case GcdId:
        return 64 * GcdMinPairs;
    case BirthdayId:
        return 32 * Birthdays * BirthdayMinSamples;
    case AmlsId:
        return static_cast<uint64_t>(line.first) * AmlsUnitBits * LongestRunMinBlocks;
    default:
        return UINT64_MAX;
    }
}

double RunMoreTest(const PlannedTest& line, const BitSequence& bits) {
    switch (line.test) {
    case SerialTwoBitId:
        return SerialTwoBitTest(bits);
    case BlocksAndGapsId:
        return BlocksAndGapsTest(bits);
    case SparseOccupancyId:
        return SparseOccupancyTest(bits);
    case GcdId:
        return GcdTest(bits);
    case BirthdayId:
        return BirthdaySpacingsTest(bits);
    case AmlsId:
        return LongestRunTest(bits, static_cast<uint64_t>(line.first) * AmlsUnitBits);
    default:
        return NoResult;
    }
}

} // namespace zentrope
