#include "tester/test_plan.h"
#include "model/parameter_fields.h"
#include "tester/chirp_z.h"
#include "tester/dft_rows.h"
#include "tester/fftw_shared.h"
#include "tester/randomness_tests.h"
#include "tester/range_values.h"
#include "tester/single_precision_counts.h"
#include "tester/test_plan_more.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <stdexcept>

namespace zentrope {
namespace {

constexpr TestId DftId = 1, MaurerId = 2, ShortBlocksId = 3, LongBlocksId = 4, RunsId = 7,
                 CusumId = 8, SerialId = 9, NotmId = 10, Rank6x8Id = 11, Rank31Id = 12,
                 Rank32Id = 13, WinAutocorrId = 17, PermutationId = 18, CouponId = 19,
                 CollisionId = 21;

// Collision lines need this many collisions expected (a spread of 20), so that the count is
// fine enough for nearly uniform p-values. At most 2^s balls in 2^s urns expect about 2^s / e
// collisions, so blocks of fewer than 11 bits never get there.
constexpr double CollisionsNeeded = 400;
constexpr int64_t MinCollisionBits = 11;

// Tests whose statistic is a count of ones or a walk of +-1 steps (frequency within blocks,
// cumulative sums, serial m = 1) take too few distinct values for uniform p-values over 1000
// sequences on fewer bits.
constexpr uint64_t FrequencyMinBits = 20000;
// Chi-square tests over more than two cells need this many counts in all.
constexpr uint64_t ChiSquareMinCounts = 2000;
// The rarest rank class must expect this many matrices.
constexpr double RankRarestClass = 50;
// Template matching needs this many matches expected in each block.
constexpr uint64_t NotmMatchesPerBlock = 50;

// Coupon collector and runs lines need this many segments.
constexpr uint64_t CouponSegments = 50;
constexpr uint64_t RunsNeeded = 1000;
// Blocks of one bit leave Coupon collector geometric segment lengths, whose pooled chi-square
// rejected too often at every length tried.
constexpr int64_t CouponMinS = 2;

// Template matching counts in this many blocks, as the published test recommends.
constexpr uint64_t NotmBlocks = 8;

// What a test makes of one of its ranges: the label in line names and the valid values.
struct AxisLimits {
    const char* label;
    int64_t lowest;
    int64_t highest;
};

// One parameter of a test: its limits and its range as the set holds it.
struct ParameterAxis {
    AxisLimits limits;
    RangeParam range;
};

// The test's ranges from the parameter field table, in its order, each with its limits.
std::vector<ParameterAxis> Axes(TestId test, const ParameterSet& set,
                                std::initializer_list<AxisLimits> limits) {
    const std::vector<RangeParam> ranges = SectionRanges(set, test);
    if (ranges.size() != limits.size())
        throw std::logic_error("The plan's ranges of " + std::string(DisplayName(test)) +
                               " differ from its parameter fields");
    std::vector<ParameterAxis> axes;
    for (size_t k = 0; k < ranges.size(); ++k)
        axes.push_back({limits.begin()[k], ranges[k]});
    return axes;
}

std::string LineName(TestId test, const std::vector<std::pair<const char*, int64_t>>& values) {
    std::string name(DisplayName(test));
    for (const auto& [label, value] : values)
        name += " " + std::string(label) + "=" + std::to_string(value);
    return name;
}

// The values of one axis that the test accepts; the others are reported.
std::vector<int64_t> AxisValues(TestId test, const ParameterAxis& axis, TestPlan& plan) {
    const RangeValues r = ExpandRange(axis.range);
    const AxisLimits& limits = axis.limits;
    const std::string where = std::string(DisplayName(test)) + " " + limits.label;
    if (r.capped)
        plan.notes.push_back(where + ": range cut to its first " + std::to_string(MaxRangeValues) +
                             " values");
    if (r.values.empty())
        plan.notes.push_back(where + ": empty range (min > max), no line");
    std::vector<int64_t> kept;
    for (int64_t v : r.values) {
        if (v >= limits.lowest && v <= limits.highest)
            kept.push_back(v);
        else
            plan.notes.push_back(where + "=" + std::to_string(v) + " skipped: outside " +
                                 std::to_string(limits.lowest) + " to " +
                                 std::to_string(limits.highest));
    }
    return kept;
}

void AddLines(TestId test, const std::vector<ParameterAxis>& axes, TestPlan& plan) {
    if (axes.empty()) {
        plan.lines.push_back({test, LineName(test, {}), 0, 0});
        return;
    }
    const std::vector<int64_t> firsts = AxisValues(test, axes[0], plan);
    const std::vector<int64_t> seconds =
        axes.size() > 1 ? AxisValues(test, axes[1], plan) : std::vector<int64_t>{0};
    for (int64_t a : firsts)
        for (int64_t b : seconds) {
            std::vector<std::pair<const char*, int64_t>> named{{axes[0].limits.label, a}};
            if (axes.size() > 1)
                named.emplace_back(axes[1].limits.label, b);
            plan.lines.push_back({test, LineName(test, named), a, b});
        }
}

void AddDftLines(const ParameterSet& set, TestPlan& plan) {
    if (set.DFT_max_n > 0 && set.DFT_max_n < DftMinBits) {
        plan.notes.push_back("DFT: DFT_max_n=" + std::to_string(set.DFT_max_n) +
                             " is below the test's minimum of " + std::to_string(DftMinBits) +
                             " bits, no line");
        return;
    }
    AddLines(DftId, Axes(DftId, set, {{"rows", 1, DftMaxRows}}), plan);
}

// Fewer test blocks per pattern leave the p-values miscalibrated.
constexpr int32_t MaurerMinN = 40;

void AddMaurerLines(const ParameterSet& set, TestPlan& plan) {
    if (set.Maurer_N < MaurerMinN) {
        plan.notes.push_back("Maurer: Maurer_N=" + std::to_string(set.Maurer_N) + " is below " +
                             std::to_string(MaurerMinN) +
                             " (too few test blocks for a calibrated p-value), no line");
        return;
    }
    AddLines(MaurerId, Axes(MaurerId, set, {{"L", MaurerMinL, MaurerMaxL}}), plan);
}

std::string TemplateText(uint32_t pattern, int m) {
    std::string text;
    for (int bit = m - 1; bit >= 0; --bit)
        text += ((pattern >> bit) & 1) ? '1' : '0';
    return text;
}

// Every length from the range with its first NOTM_templates aperiodic templates (0: all),
// at most MaxRangeValues of them per length.
void AddTemplateLines(const ParameterSet& set, TestPlan& plan) {
    const size_t wanted =
        set.NOTM_templates <= 0 ? SIZE_MAX : static_cast<size_t>(set.NOTM_templates);
    for (int64_t m : AxisValues(NotmId, Axes(NotmId, set, {{"m", 2, 31}})[0], plan)) {
        const int width = static_cast<int>(m);
        std::vector<uint32_t> templates =
            AperiodicTemplates(width, std::min(wanted, MaxRangeValues + 1));
        if (templates.size() > MaxRangeValues) {
            templates.resize(MaxRangeValues);
            plan.notes.push_back("NOTM m=" + std::to_string(m) + ": templates cut to the first " +
                                 std::to_string(MaxRangeValues));
        }
        for (uint32_t pattern : templates)
            plan.lines.push_back(
                {NotmId, LineName(NotmId, {{"m", m}}) + " B=" + TemplateText(pattern, width), m,
                 pattern});
    }
}

constexpr int64_t Unbounded = INT32_MAX;
// Shorter blocks give a chi-square whose spread is visibly narrower than assumed (the
// published test asks for blocks of at least 20 bits).
constexpr int64_t LongBlocksMinM = 20;

bool AddTestLines(TestId test, const ParameterSet& set, TestPlan& plan) {
    switch (test) {
    case DftId:
        AddDftLines(set, plan);
        return true;
    case MaurerId:
        AddMaurerLines(set, plan);
        return true;
    case ShortBlocksId:
        AddLines(test, Axes(test, set, {{"s", 1, 24}, {"d", 1, Unbounded}}), plan);
        return true;
    case LongBlocksId:
        AddLines(test, Axes(test, set, {{"m", LongBlocksMinM, Unbounded}}), plan);
        return true;
    case SerialId:
        AddLines(test, Axes(test, set, {{"m", 1, 24}}), plan);
        return true;
    case NotmId:
        AddTemplateLines(set, plan);
        return true;
    case Rank6x8Id:
        AddLines(test, Axes(test, set, {{"order", 0, 24}}), plan);
        return true;
    case CusumId:
    case Rank31Id:
    case Rank32Id:
    case SerialTwoBitId:
    case BlocksAndGapsId:
    case SparseOccupancyId:
    case GcdId:
    case BirthdayId:
        AddLines(test, {}, plan);
        return true;
    case CouponId:
        AddLines(test, Axes(test, set, {{"s", CouponMinS, 12}}), plan);
        return true;
    case CollisionId:
        AddLines(test, Axes(test, set, {{"s", MinCollisionBits, 32}}), plan);
        return true;
    case PermutationId:
        AddLines(test, Axes(test, set, {{"s", 1, 32}, {"t", 2, MaxPermutationGroup}}), plan);
        return true;
    case RunsId:
        AddLines(test, Axes(test, set, {{"s", 1, 32}, {"r", 2, 32}}), plan);
        return true;
    case WinAutocorrId:
        AddLines(test, Axes(test, set, {{"d", 1, Unbounded}, {"s", 1, 16}}), plan);
        return true;
    case AmlsId:
        AddLines(test, Axes(test, set, {{"kbits", 1, AmlsMaxKbits}}), plan);
        return true;
    default:
        return false;
    }
}

// Matrices of the given shape needed so that the rarest rank class expects RankRarestClass.
uint64_t RankMatrices(int rows, int cols) {
    const int full = std::min(rows, cols);
    const double rarest =
        1 - RankProbability(rows, cols, full) - RankProbability(rows, cols, full - 1);
    return static_cast<uint64_t>(RankRarestClass / rarest + 1);
}

// Cells of a chi-square over equally likely cells expect at least 5 counts; beyond 1024 cells
// the statistic is close to normal and 1 per cell suffices. Few cells take few distinct
// statistics unless the counts are large: one degree of freedom needs as many counts as the
// frequency tests need bits.
uint64_t CountsForCells(uint64_t cells) {
    if (cells <= 2)
        return FrequencyMinBits;
    return std::max<uint64_t>(cells <= 1024 ? 5 * cells : cells, ChiSquareMinCounts);
}

// Groups with equal values are left out; enough remain even at the shortfall that the test
// counts as a rejection: groups * p - k * sqrt(groups * p * (1 - p)) >= needed, solved for
// sqrt(groups).
uint64_t PermutationBits(int s, int t) {
    const double p = DistinctGroupProbability(s, t);
    if (p <= 0)
        return UINT64_MAX;
    const double needed = static_cast<double>(CountsForCells(Factorial(t)));
    const double spread = DistinctShortfallSds * std::sqrt(p * (1 - p));
    const double root = (spread + std::sqrt(spread * spread + 4 * p * needed)) / (2 * p);
    const double bits = std::ceil(root * root) * s * t;
    return bits < 0x1p63 ? static_cast<uint64_t>(bits) : UINT64_MAX;
}

uint64_t ShortBlocksBits(int64_t s, int64_t d) {
    const uint64_t blocks = CountsForCells(uint64_t{1} << s);
    const auto distance = static_cast<uint64_t>(d);
    const uint64_t frames = (blocks + distance - 1) / distance;
    return frames * static_cast<uint64_t>(s) * distance;
}

// The fewest bits whose blocks expect CollisionsNeeded collisions.
uint64_t CollisionBits(int s) {
    uint64_t low = 2;
    uint64_t high = uint64_t{1} << s;
    if (ExpectedCollisions(high, s) < CollisionsNeeded)
        return UINT64_MAX;
    while (low < high) {
        const uint64_t mid = low + (high - low) / 2;
        if (ExpectedCollisions(mid, s) < CollisionsNeeded)
            low = mid + 1;
        else
            high = mid;
    }
    return high * static_cast<uint64_t>(s);
}

// Lagged products of single bits are +-1: their sum takes few values on fewer pairs than the
// frequency tests' bits. Wider blocks take more values.
uint64_t AutocorrelationBits(int64_t d, int64_t s) {
    const auto distance = static_cast<uint64_t>(d);
    return s == 1 ? distance + FrequencyMinBits : (distance + 1000) * static_cast<uint64_t>(s);
}

uint64_t MaurerBits(int64_t L, int32_t n) {
    const uint64_t patterns = uint64_t{1} << L;
    const auto testMultiple = static_cast<uint64_t>(n);
    return (10 + testMultiple) * patterns * static_cast<uint64_t>(L);
}

} // namespace

TestPlan MakeTestPlan(const ParameterSet& set) {
    TestPlan plan;
    std::array<bool, TestCount> planned{};
    for (int8_t slot : set.ExecutionOrder) {
        if (slot < 0 || slot >= TestCount || !set.Enable[static_cast<size_t>(slot)] ||
            planned[static_cast<size_t>(slot)])
            continue;
        planned[static_cast<size_t>(slot)] = true;
        const TestId test = slot + 1;
        if (!AddTestLines(test, set, plan))
            plan.notImplemented.emplace_back(DisplayName(test));
    }
    return plan;
}

uint64_t RequiredBits(const PlannedTest& line, const ParameterSet& set) {
    switch (line.test) {
    case DftId:
        return line.first == 1 ? DftMinBits : DftRowsBits(static_cast<int>(line.first));
    case MaurerId:
        return MaurerBits(line.first, set.Maurer_N);
    case ShortBlocksId:
        return ShortBlocksBits(line.first, line.second);
    case LongBlocksId:
        return std::max(static_cast<uint64_t>(line.first), FrequencyMinBits);
    case CusumId:
        return FrequencyMinBits;
    case SerialId:
        return std::max(uint64_t{1} << (line.first + 3), FrequencyMinBits);
    case NotmId:
        return NotmBlocks * (NotmMatchesPerBlock * (uint64_t{1} << line.first) +
                             static_cast<uint64_t>(line.first));
    case Rank6x8Id:
        return RankMatrices(6, 8) * 6 * 32; // each row takes a 32-bit word
    case Rank31Id:
        return RankMatrices(31, 31) * 31 * 31;
    case Rank32Id:
        return RankMatrices(32, 32) * 32 * 32;
    case WinAutocorrId:
        return AutocorrelationBits(line.first, line.second);
    case CouponId:
        return BlocksForSegments(CouponSegments, CouponMoments(uint64_t{1} << line.first)) *
               static_cast<uint64_t>(line.first);
    case CollisionId:
        return CollisionBits(static_cast<int>(line.first));
    case PermutationId:
        return PermutationBits(static_cast<int>(line.first), static_cast<int>(line.second));
    case RunsId:
        return BlocksForSegments(RunsNeeded, RunMoments(static_cast<int>(line.first))) *
               static_cast<uint64_t>(line.first);
    default:
        return MoreTestRequiredBits(line);
    }
}

double RunPlannedTest(const PlannedTest& line, const BitSequence& bits, const ParameterSet& set) {
    if (bits.size < RequiredBits(line, set))
        return NoResult;
    const auto first = static_cast<int>(line.first);
    switch (line.test) {
    case DftId: {
        const uint64_t length = DftLength(bits.size, set);
        if (length < RequiredBits(line, set))
            return NoResult;
        return line.first == 1 ? DftTest(bits, length) : DftRowsTest(bits, length, first);
    }
    case MaurerId:
        return MaurerTest(bits, first, 10 * (uint64_t{1} << first));
    case ShortBlocksId:
        return ShortBlocksTest(bits, first, static_cast<uint64_t>(line.second));
    case LongBlocksId:
        return BlockFrequencyTest(bits, static_cast<uint64_t>(line.first));
    case CusumId:
        return CumulativeSumTest(bits);
    case SerialId:
        return SerialTest(bits, first);
    case NotmId:
        return NonOverlappingTemplateTest(bits, static_cast<uint32_t>(line.second), first,
                                          NotmBlocks);
    case Rank6x8Id:
        return Rank6x8Test(bits, first);
    case Rank31Id:
        return MatrixRankTest(bits, 31, 31);
    case Rank32Id:
        return MatrixRankTest(bits, 32, 32);
    case CouponId:
        return CouponCollectorTest(bits, first);
    case CollisionId:
        return CollisionTest(bits, first);
    case PermutationId:
        return PermutationTest(bits, first, static_cast<int>(line.second));
    case RunsId:
        return RunsUpTest(bits, first, static_cast<int>(line.second));
    case WinAutocorrId:
        return WindowedAutocorrelationTest(bits, static_cast<uint64_t>(line.first),
                                           static_cast<int>(line.second));
    default:
        return RunMoreTest(line, bits);
    }
}

uint64_t LargestSmoothLength(uint64_t n) {
    uint64_t best = 1;
    for (uint64_t big : {uint64_t{1}, uint64_t{11}, uint64_t{13}})
        for (uint64_t p7 = big; p7 <= n; p7 *= 7)
            for (uint64_t p5 = p7; p5 <= n; p5 *= 5)
                for (uint64_t p3 = p5; p3 <= n; p3 *= 3) {
                    uint64_t v = p3;
                    while (v * 2 <= n)
                        v *= 2;
                    best = std::max(best, v);
                }
    return n == 0 ? 0 : best;
}

uint64_t DftLength(uint64_t n, const ParameterSet& set) {
    uint64_t length = std::min(n, MaxDftLength);
    if (set.DFT_max_n > 0)
        length = std::min<uint64_t>(length, set.DFT_max_n);
    if (set.DFT_optimize > 0 && length > set.DFT_optimize)
        length = LargestSmoothLength(length);
    return length;
}

namespace {

uint64_t DftColumnsFor(int rows, uint64_t length) {
    return rows == 1 ? length : DftColumns(length, rows);
}

// Each thread's transform buffer (in place, 16 bytes a coefficient of the stored half, or the
// chirp-z convolution at lengths FFTW has no fast transform for), and the single-precision
// path's buffers where it applies.
uint64_t DftWorkingBytes(int rows, uint64_t length) {
    const auto r = static_cast<uint64_t>(rows);
    const uint64_t columns = DftColumnsFor(rows, length);
    if (rows == 1 && !IsSmoothLength(length))
        return ChirpZThreadBytes(length);
    return 16 * r * (columns / 2 + 1) +
           (SinglePrecisionFits(r, columns) ? SinglePrecisionBytes(r, columns) : 0);
}

} // namespace

uint64_t WorkingBytes(const PlannedTest& line, const ParameterSet& set, uint64_t n) {
    constexpr uint64_t Small = uint64_t{1} << 20; // counters, tables and the like
    const auto cells = [&line](int64_t bits) { return uint64_t{8} << std::min<int64_t>(bits, 40); };
    switch (line.test) {
    case DftId:
        return DftWorkingBytes(static_cast<int>(line.first), DftLength(n, set)) + Small;
    case MaurerId: // the last positions, and the variance's tables while they are computed
        return cells(line.first) + VarianceFactorsBytes(static_cast<int>(line.first)) + Small;
    case ShortBlocksId:
    case CouponId:
        return cells(line.first) + Small;
    case SerialId: // the pattern counts and their first fold
        return 2 * cells(line.first) + Small;
    case PermutationId:
        return 8 * Factorial(static_cast<int>(line.second)) + Small;
    case CollisionId:
        return CollisionWorkingBytes(static_cast<int>(line.first),
                                     CollisionBalls(n, static_cast<int>(line.first))) +
               Small;
    default:
        return n / 8 + Small;
    }
}

uint64_t SharedBytes(const PlannedTest& line, const ParameterSet& set, uint64_t n) {
    if (line.test != DftId)
        return 0;
    const uint64_t length = DftLength(n, set);
    const auto rows = static_cast<int>(line.first);
    if (rows == 1 && !IsSmoothLength(length))
        return ChirpZSharedBytes(length);
    // A plan in single precision, and one in double precision for the lines that need it.
    return 2 * FftwPlanBytes(static_cast<uint64_t>(rows), DftColumnsFor(rows, length));
}

} // namespace zentrope
