#include "tester/lane_clones.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zentrope {
namespace {

// Index of a rank in the three classes: full, full - 1, anything lower.
size_t RankClass(int rank, int full) {
    return static_cast<size_t>(std::min(full - rank, 2));
}

} // namespace

int BinaryRank(std::span<uint64_t> rows, int cols) {
    int rank = 0;
    const auto count = static_cast<int>(rows.size());
    for (int col = cols - 1; col >= 0 && rank < count; --col) {
        const uint64_t bit = uint64_t{1} << col;
        const auto pivot = std::find_if(rows.begin() + rank, rows.end(),
                                        [bit](uint64_t r) { return (r & bit) != 0; });
        if (pivot == rows.end())
            continue;
        std::iter_swap(rows.begin() + rank, pivot);
        for (int r = rank + 1; r < count; ++r)
            if (rows[static_cast<size_t>(r)] & bit)
                rows[static_cast<size_t>(r)] ^= rows[static_cast<size_t>(rank)];
        ++rank;
    }
    return rank;
}

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

// Matrices of up to 32 x 32 ranked side by side, one a 32-bit lane, with the elimination of
// SmallRank: the same steps for every matrix, so a vector register ranks sixteen at a time
// (the rank of one matrix at a time, with its branches on random bits, took 2 us a matrix).
constexpr size_t WideRankLanes = 16;
constexpr int WideRankMax = 32;
using WideRankRows = std::array<std::array<uint32_t, WideRankLanes>, WideRankMax>;

// The number of zero rows left in each lane after the elimination of the first `rows` rows;
// the rows become the basis.
ZENTROPE_LANE_CLONES void ZeroRowsOfLanes(WideRankRows& basis, int rows,
                                          std::array<uint32_t, WideRankLanes>& zeros) {
    zeros.fill(0);
    for (size_t r = 0; r < static_cast<size_t>(rows); ++r) {
        std::array<uint32_t, WideRankLanes> v = basis[r];
        for (size_t j = 0; j < r; ++j)
            for (size_t l = 0; l < WideRankLanes; ++l)
                v[l] = std::min(v[l], v[l] ^ basis[j][l]);
        for (size_t l = 0; l < WideRankLanes; ++l)
            zeros[l] += v[l] == 0 ? 1 : 0;
        basis[r] = v;
    }
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
        ZeroRowsOfLanes(lanes, rows, zeros);
        for (size_t l = 0; l < take; ++l)
            ++classCounts[RankClass(rows - static_cast<int>(zeros[l]), full)];
    }
}

} // namespace

double MatrixRankTest(const BitSequence& s, int rows, int cols) {
    const auto bitsPerMatrix = static_cast<uint64_t>(rows * cols);
    const uint64_t matrices = s.size / bitsPerMatrix;
    std::vector<uint64_t> classCounts(3, 0);
    if (rows <= WideRankMax && cols <= WideRankMax) {
        AddWideRankClasses(s, rows, cols, matrices, classCounts);
        return RankClassPValue(classCounts, rows, cols);
    }
    std::vector<uint64_t> matrix(static_cast<size_t>(rows));
    for (uint64_t k = 0; k < matrices; ++k) {
        for (int j = 0; j < rows; ++j)
            matrix[static_cast<size_t>(j)] =
                BitsAt(s, k * bitsPerMatrix + static_cast<uint64_t>(j * cols), cols);
        ++classCounts[RankClass(BinaryRank(matrix, cols), std::min(rows, cols))];
    }
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

// Matrices ranked side by side, one a byte lane: the elimination of SmallRank, with zero rows
// kept in the basis (they reduce nothing), is the same steps for every matrix, so it runs on
// sixteen lanes at a time with SSE2's byte minimum (part of every x86-64), elsewhere on one.
constexpr size_t RankLanes = 64;
using RankRows = std::array<std::array<uint8_t, RankLanes>, 6>;

#if defined(__SSE2__)
constexpr size_t LanesAtOnce = 16;

// The number of zero rows left in each lane of `rows`, lanes `first` to `first + 15`.
void ZeroRowsAfterElimination(const RankRows& rows, size_t first, uint8_t* zeros) {
    __m128i basis[6];
    __m128i zeroRows = _mm_setzero_si128();
    for (size_t r = 0; r < 6; ++r) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[r].data() + first));
        for (size_t j = 0; j < r; ++j)
            v = _mm_min_epu8(v, _mm_xor_si128(v, basis[j]));
        basis[r] = v;
        // A true comparison is all ones, -1 a lane.
        zeroRows = _mm_sub_epi8(zeroRows, _mm_cmpeq_epi8(v, _mm_setzero_si128()));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(zeros), zeroRows);
}
#else
constexpr size_t LanesAtOnce = 1;

void ZeroRowsAfterElimination(const RankRows& rows, size_t first, uint8_t* zeros) {
    std::array<uint8_t, 6> basis{};
    *zeros = 0;
    for (size_t r = 0; r < 6; ++r) {
        uint8_t v = rows[r][first];
        for (size_t j = 0; j < r; ++j)
            v = std::min<uint8_t>(v, v ^ basis[j]);
        basis[r] = v;
        *zeros += v == 0 ? 1 : 0;
    }
}
#endif

void AddRankClasses6x8(const RankRows& rows, std::vector<uint64_t>& classCounts) {
    std::array<uint8_t, RankLanes> zeros;
    for (size_t first = 0; first < RankLanes; first += LanesAtOnce)
        ZeroRowsAfterElimination(rows, first, zeros.data() + first);
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
