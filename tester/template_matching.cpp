#include "tester/distributions.h"
#include "tester/randomness_tests.h"

#include <bit>
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

namespace {

// Bit t (from the top) set where the m bits from pos + t on equal the template, for the 64
// starting places pos to pos + 63: the template's bits compared with 64 places at once.
uint64_t MatchesFrom(const BitSequence& s, uint64_t pos, uint32_t pattern, int m) {
    uint64_t match = ~uint64_t{0};
    for (int j = 0; j < m; ++j) {
        const uint64_t bits = WordAt(s, pos + static_cast<uint64_t>(j));
        match &= ((pattern >> (m - 1 - j)) & 1) ? bits : ~bits;
    }
    return match;
}

// Matches starting in [begin, end - m], a match blocking the m - 1 places after it.
uint64_t MatchesWithin(const BitSequence& s, uint64_t begin, uint64_t end, uint32_t pattern,
                       int m) {
    const auto width = static_cast<uint64_t>(m);
    uint64_t count = 0;
    uint64_t free = begin; // first place not covered by the last match
    for (uint64_t pos = begin; pos + width <= end; pos += 64) {
        uint64_t match = MatchesFrom(s, pos, pattern, m);
        const uint64_t places = end - width + 1 - pos;
        if (places < 64)
            match &= ~uint64_t{0} << (64 - places);
        while (match != 0) {
            const int first = std::countl_zero(match);
            match ^= uint64_t{1} << (63 - first);
            const uint64_t at = pos + static_cast<uint64_t>(first);
            if (at >= free) {
                ++count;
                free = at + width;
            }
        }
    }
    return count;
}

} // namespace

std::vector<uint64_t> TemplateMatchesPerBlock(const BitSequence& s, uint32_t pattern, int m,
                                              uint64_t blocks) {
    const uint64_t blockBits = s.size / blocks;
    std::vector<uint64_t> matches(static_cast<size_t>(blocks), 0);
    for (uint64_t b = 0; b < blocks; ++b)
        matches[b] = MatchesWithin(s, b * blockBits, (b + 1) * blockBits, pattern, m);
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
