#include "tester/basic_five_tests.h"
#include "tester/distributions.h"
#include "tester/randomness_tests.h"

#include <bit>

namespace zentrope {

double SerialTwoBitStatistic(const BitSequence& s) {
    const uint64_t n = s.size;
    // Pairs "11" are counted a word at a time: each bit against its successor.
    uint64_t n11 = 0;
    for (size_t w = 0; w < s.words.size(); ++w) {
        const uint64_t next = w + 1 < s.words.size() ? s.words[w + 1] >> 63 : 0;
        n11 += static_cast<uint64_t>(std::popcount(s.words[w] & ((s.words[w] << 1) | next)));
    }
    const uint64_t ones = CountOnes(s, 0, n);
    const uint64_t first = static_cast<uint64_t>(BitAt(s, 0));
    const uint64_t last = static_cast<uint64_t>(BitAt(s, n - 1));
    const uint64_t n10 = ones - last - n11;  // a one that is not the last bit, then a zero
    const uint64_t n01 = ones - first - n11; // a zero, then a one that is not the first bit
    const uint64_t n00 = n - 1 - n11 - n10 - n01;
    const auto sq = [](uint64_t v) { return static_cast<double>(v) * static_cast<double>(v); };
    const auto pairs = static_cast<double>(n - 1);
    return 4 / pairs * (sq(n00) + sq(n01) + sq(n10) + sq(n11)) -
           2 / static_cast<double>(n) * (sq(n - ones) + sq(ones)) + 1;
}

double SerialTwoBitTest(const BitSequence& s) {
    if (s.size < 3)
        return NoResult;
    return Igamc(1, SerialTwoBitStatistic(s) / 2);
}

} // namespace zentrope
