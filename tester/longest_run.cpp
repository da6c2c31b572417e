#include "tester/longest_run.h"
#include "tester/pooled_chi_square.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <bit>
#include <map>
#include <mutex>

namespace zentrope {
namespace {

using Matrix = std::vector<double>; // r x r, row-major

Matrix Multiply(const Matrix& a, const Matrix& b, size_t r) {
    Matrix c(r * r, 0);
    for (size_t i = 0; i < r; ++i)
        for (size_t k = 0; k < r; ++k) {
            const double aik = a[i * r + k];
            if (aik != 0)
                for (size_t j = 0; j < r; ++j)
                    c[i * r + j] += aik * b[k * r + j];
        }
    return c;
}

// One distribution per block length: every sequence of a run uses the same.
const std::vector<double>& CachedProbabilities(uint64_t m) {
    static std::mutex lock;
    static std::map<uint64_t, std::vector<double>> cache;
    const std::lock_guard<std::mutex> guard(lock);
    auto [it, added] = cache.try_emplace(m);
    if (added)
        it->second = LongestRunProbabilities(m);
    return it->second;
}

// Longest run of ones inside one word, its edges included.
int LongestInWord(uint64_t x) {
    int length = 0;
    while (x != 0) {
        x &= x << 1;
        ++length;
    }
    return length;
}

} // namespace

double NoRunOfLength(uint64_t m, int r) {
    if (r <= 0)
        return 0;
    // State: the current run of ones (0 to r - 1); a run reaching r leaves the chain.
    const auto size = static_cast<size_t>(r);
    Matrix step(size * size, 0);
    for (size_t i = 0; i < size; ++i) {
        step[i * size] = 0.5; // a zero ends the run
        if (i + 1 < size)
            step[i * size + i + 1] = 0.5;
    }
    Matrix power(size * size, 0);
    for (size_t i = 0; i < size; ++i)
        power[i * size + i] = 1;
    for (uint64_t e = m; e > 0; e >>= 1) {
        if (e & 1)
            power = Multiply(power, step, size);
        if (e > 1)
            step = Multiply(step, step, size);
    }
    double stay = 0; // from state 0, still in the chain after m bits
    for (size_t j = 0; j < size; ++j)
        stay += power[j];
    return stay;
}

std::vector<double> LongestRunProbabilities(uint64_t m) {
    // Far below log2(m) the chance is under e^-128: left at 0, which also keeps the matrix
    // powers clear of subnormal numbers.
    const int lowest = std::max(0, static_cast<int>(std::bit_width(m)) - 9);
    std::vector<double> p(static_cast<size_t>(lowest), 0.0);
    double below = NoRunOfLength(m, lowest); // P(longest < r)
    for (int r = lowest; 1 - below > 1e-10 && static_cast<uint64_t>(r) <= m; ++r) {
        const double next = NoRunOfLength(m, r + 1);
        p.push_back(next - below);
        below = next;
    }
    return p;
}

int LongestRunOfOnes(const BitSequence& s, uint64_t start, uint64_t length) {
    int longest = 0;
    int current = 0;
    for (uint64_t pos = start; pos < start + length; pos += 64) {
        const int take = static_cast<int>(std::min<uint64_t>(64, start + length - pos));
        const uint64_t x = BitsAt(s, pos, take) << (64 - take);
        const int lead = std::countl_one(x);
        if (lead >= take) {
            current += take;
        } else {
            longest = std::max({longest, current + lead, LongestInWord(x)});
            current = std::countr_one(x >> (64 - take));
        }
        longest = std::max(longest, current);
    }
    return longest;
}

double LongestRunTest(const BitSequence& s, uint64_t blockBits) {
    if (blockBits == 0)
        return NoResult;
    const uint64_t blocks = s.size / blockBits;
    if (blocks < LongestRunMinBlocks)
        return NoResult;
    const std::vector<double>& p = CachedProbabilities(blockBits);
    std::vector<uint64_t> counts(p.size() + 1, 0);
    for (uint64_t b = 0; b < blocks; ++b) {
        const auto longest = static_cast<size_t>(LongestRunOfOnes(s, b * blockBits, blockBits));
        ++counts[std::min(longest, p.size())];
    }
    return PooledChiSquarePValue(counts, p);
}

} // namespace zentrope
