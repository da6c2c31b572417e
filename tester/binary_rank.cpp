#include "tester/lane_clones.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>

namespace zentrope {
namespace {

// Index of a rank in the three classes: full, full - 1, anything lower.
size_t RankClass(int rank, int full) {
    return static_cast<size_t>(std::min(full - rank, 2));
}

// Matrices ranked side by side, one a lane (a byte for 6 x 8, 32 bits up to 32 x 32): the
// elimination of SmallRank, with zero rows kept in the basis (they reduce nothing), is the same
// steps for every matrix, so the compiler runs it on whole vector registers. Ranking one matrix
// at a time, with its branches on random bits, took about 2 us a 32 x 32 matrix. Leaves the
// number of zero rows of each lane in `zeros`; the rows become the basis.
template <typename Lane, size_t LaneCount, size_t MaxRows>
[[gnu::always_inline]] inline void
ZeroRowsOfLanes(std::array<std::array<Lane, LaneCount>, MaxRows>& basis, size_t rows,
                std::array<Lane, LaneCount>& zeros) {
    zeros.fill(0);
    for (size_t r = 0; r < rows; ++r) {
        std::array<Lane, LaneCount> v = basis[r];
        for (size_t j = 0; j < r; ++j)
            for (size_t l = 0; l < LaneCount; ++l)
                v[l] = std::min<Lane>(v[l], v[l] ^ basis[j][l]);
        for (size_t l = 0; l < LaneCount; ++l)
            zeros[l] += v[l] == 0 ? 1 : 0;
        basis[r] = v;
    }
}

} // namespace

double RankProbability(int rows, int cols, int r) {
    if (r < 0 || r > std::min(rows, cols))
        return 0;
    double p = std::ldexp(1.0, r * (rows + cols - r) - rows * cols);
    for (int i = 0; i < r; ++i)
        p *= (1 - std::ldexp(1.0, i - rows)) * (1 - std::ldexp(1.0, i - cols)) /
             (1 - std::ldexp(1.0, i - r));
    return p;
}

double RankClassPValue(const std::vector<uint64_t>& classCounts, int rows, int cols) {
    const int full = std::min(rows, cols);
    const double pFull = RankProbability(rows, cols, full);
    const double pBelow = RankProbability(rows, cols, full - 1);
    const std::array<double, 3> probability{pFull, pBelow, 1 - pFull - pBelow};
    double total = 0;
    for (uint64_t c : classCounts)
        total += static_cast<double>(c);
    if (total == 0)
        return NoResult;
    double chi2 = 0;
    for (size_t k = 0; k < 3; ++k) {
        const double expected = total * probability[k];
        const double d = static_cast<double>(classCounts[k]) - expected;
        chi2 += d * d / expected;
    }
    return std::exp(-chi2 / 2); // chi-square tail with 2 degrees of freedom
}

namespace {

// Sixteen matrices of up to 32 x 32 at a time, one a 32-bit lane.
constexpr size_t WideRankLanes = 16;
constexpr int WideRankMax = 32;
using WideRankRows = std::array<std::array<uint32_t, WideRankLanes>, WideRankMax>;

ZENTROPE_LANE_CLONES void ZeroRowsOfWideLanes(WideRankRows& basis, int rows,
                                              std::array<uint32_t, WideRankLanes>& zeros) {
    ZeroRowsOfLanes(basis, static_cast<size_t>(rows), zeros);
}

void AddWideRankClasses(const BitSequence& s, int rows, int cols, uint64_t matrices,
                        std::vector<uint64_t>& classCounts) {
    const auto bitsPerMatrix = static_cast<uint64_t>(rows * cols);
    const int full = std::min(rows, cols);
    WideRankRows lanes{};
    std::array<uint32_t, WideRankLanes> zeros{};
    for (uint64_t first = 0; first < matrices; first += WideRankLanes) {
        const size_t take =
            static_cast<size_t>(std::min<uint64_t>(WideRankLanes, matrices - first));
        for (size_t l = 0; l < WideRankLanes; ++l)
            for (size_t j = 0; j < static_cast<size_t>(rows); ++j)
                lanes[j][l] = l < take ? static_cast<uint32_t>(BitsAt(
                                             s, (first + l) * bitsPerMatrix + j * cols, cols))
                                       : 0;
        ZeroRowsOfWideLanes(lanes, rows, zeros);
        for (size_t l = 0; l < take; ++l)
            ++classCounts[RankClass(rows - static_cast<int>(zeros[l]), full)];
    }
}

} // namespace

double MatrixRankTest(const BitSequence& s, int rows, int cols) {
    if (rows > WideRankMax || cols > WideRankMax)
        return NoResult;
    std::vector<uint64_t> classCounts(3, 0);
    AddWideRankClasses(s, rows, cols, s.size / static_cast<uint64_t>(rows * cols), classCounts);
    return RankClassPValue(classCounts, rows, cols);
}

int SmallRank(uint64_t packedRows, int rows, int cols) {
    // An echelon basis kept in insertion order: each new vector was reduced by the earlier
    // ones, so it lacks their leading bits, and x ^ b < x exactly when x holds b's leading bit.
    std::array<uint64_t, 8> basis{};
    int rank = 0;
    const uint64_t mask = (uint64_t{1} << cols) - 1;
    for (int r = 0; r < rows; ++r) {
        uint64_t v = (packedRows >> (r * cols)) & mask;
        for (int j = 0; j < rank; ++j)
            v = std::min(v, v ^ basis[static_cast<size_t>(j)]);
        if (v != 0)
            basis[static_cast<size_t>(rank++)] = v;
    }
    return rank;
}

namespace {

// Sixty-four 6 x 8 matrices at a time, one a byte lane.
constexpr size_t RankLanes = 64;
using RankRows = std::array<std::array<uint8_t, RankLanes>, 6>;

ZENTROPE_LANE_CLONES void ZeroRows6x8(RankRows& basis, std::array<uint8_t, RankLanes>& zeros) {
    ZeroRowsOfLanes(basis, 6, zeros);
}

void AddRankClasses6x8(RankRows& rows, std::vector<uint64_t>& classCounts) {
    std::array<uint8_t, RankLanes> zeros;
    ZeroRows6x8(rows, zeros);
    uint64_t full = 0;
    uint64_t belowFull = 0;
    for (uint8_t z : zeros) {
        full += z == 0 ? 1 : 0;
        belowFull += z == 1 ? 1 : 0;
    }
    classCounts[0] += full;
    classCounts[1] += belowFull;
    classCounts[2] += RankLanes - full - belowFull;
}

} // namespace

double Rank6x8Test(const BitSequence& s, int byteOrder) {
    if (byteOrder < 0 || byteOrder > 24)
        return NoResult;
    // Six 32-bit words are three 64-bit words: each holds two rows.
    const uint64_t matrices = s.size / (6 * 32);
    const int highShift = 56 - byteOrder;
    const int lowShift = 24 - byteOrder;
    std::vector<uint64_t> classCounts(3, 0);
    RankRows rows{};
    for (uint64_t first = 0; first < matrices; first += RankLanes) {
        const size_t take = static_cast<size_t>(std::min<uint64_t>(RankLanes, matrices - first));
        for (size_t lane = 0; lane < take; ++lane)
            for (size_t w = 0; w < 3; ++w) {
                const uint64_t word = s.words[3 * (first + lane) + w];
                rows[2 * w][lane] = static_cast<uint8_t>(word >> highShift);
                rows[2 * w + 1][lane] = static_cast<uint8_t>(word >> lowShift);
            }
        // Lanes past the last matrix are zero, rank 0: taken back out of the lowest class.
        for (auto& row : rows)
            std::fill(row.begin() + static_cast<std::ptrdiff_t>(take), row.end(), uint8_t{0});
        AddRankClasses6x8(rows, classCounts);
        classCounts[2] -= RankLanes - take;
    }
    return RankClassPValue(classCounts, 6, 8);
}

} // namespace zentrope
