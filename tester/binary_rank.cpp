#include "tester/randomness_tests.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

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

double MatrixRankTest(const BitSequence& s, int rows, int cols) {
    const auto bitsPerMatrix = static_cast<uint64_t>(rows * cols);
    const uint64_t matrices = s.size / bitsPerMatrix;
    std::vector<uint64_t> classCounts(3, 0);
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

double Rank6x8Test(const BitSequence& s, int byteOrder) {
    if (byteOrder < 0 || byteOrder > 24)
        return NoResult;
    // Six 32-bit words are three 64-bit words: each holds two rows.
    const uint64_t matrices = s.size / (6 * 32);
    const int highShift = 56 - byteOrder;
    const int lowShift = 24 - byteOrder;
    std::vector<uint64_t> classCounts(3, 0);
    for (uint64_t k = 0; k < matrices; ++k) {
        uint64_t packed = 0;
        for (uint64_t w = 0; w < 3; ++w) {
            const uint64_t word = s.words[3 * k + w];
            packed |= (((word >> highShift) & 0xFF) | ((word >> lowShift) & 0xFF) << 8) << (16 * w);
        }
        ++classCounts[RankClass(SmallRank(packed, 6, 8), 6)];
    }
    return RankClassPValue(classCounts, 6, 8);
}

} // namespace zentrope
