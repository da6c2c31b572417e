#include "tester/distributions.h"
#include "tester/randomness_tests.h"

#include <cmath>

namespace zentrope {

bool IsAperiodicTemplate(uint32_t pattern, int m) {
    for (int shift = 1; shift < m; ++shift) {
        const uint32_t overlap = (uint32_t{1} << (m - shift)) - 1;
        // The template's last m - shift bits against its first m - shift bits.
        if ((pattern & overlap) == ((pattern >> shift) & overlap))
            return false;
    }
    return true;
}

std::vector<uint32_t> AperiodicTemplates(int m, size_t limit) {
    std::vector<uint32_t> found;
    const uint64_t end = uint64_t{1} << m;
    for (uint64_t p = 0; p < end && found.size() < limit; ++p)
        if (IsAperiodicTemplate(static_cast<uint32_t>(p), m))
            found.push_back(static_cast<uint32_t>(p));
    return found;
}

std::vector<uint64_t> TemplateMatchesPerBlock(const BitSequence& s, uint32_t pattern, int m,
                                              uint64_t blocks) {
    const uint64_t blockBits = s.size / blocks;
    const auto width = static_cast<uint64_t>(m);
    std::vector<uint64_t> matches(static_cast<size_t>(blocks), 0);
    for (uint64_t b = 0; b < blocks; ++b) {
        const uint64_t end = (b + 1) * blockBits;
        for (uint64_t i = b * blockBits; i + width <= end;) {
            if (BitsAt(s, i, m) == pattern) {
                ++matches[b];
                i += width; // matches do not overlap
            } else {
                ++i;
            }
        }
    }
    return matches;
}

double NonOverlappingTemplateTest(const BitSequence& s, uint32_t pattern, int m, uint64_t blocks) {
    if (m < 1 || m > 31 || blocks == 0 || s.size / blocks < static_cast<uint64_t>(m))
        return NoResult;
    const double blockBits = static_cast<double>(s.size / blocks);
    const double chance = std::ldexp(1.0, -m);
    const double mean = (blockBits - m + 1) * chance;
    const double variance = blockBits * (chance - (2 * m - 1) * chance * chance);
    double chi2 = 0;
    for (uint64_t w : TemplateMatchesPerBlock(s, pattern, m, blocks)) {
        const double d = static_cast<double>(w) - mean;
        chi2 += d * d / variance;
    }
    return Igamc(static_cast<double>(blocks) / 2, chi2 / 2);
}

} // namespace zentrope
