// Counting short bit patterns 64 places at a time. Place t of word j holds the j-th bit of the
// pattern at place t; the places of each pattern are the AND of these words or their
// complements, built as a tree over the pattern's bits and counted with popcount. A table of
// counters incremented place by place waits on its own last store when it has few cells; this
// does not.
#pragma once

#include "tester/popcount_clones.h"

#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <vector>

namespace zentrope {

// Patterns up to this many bits are counted this way (2^(m+1) ANDs for 64 places).
inline constexpr int MaxMaskedPatternBits = 5;

// Adds to counts[p] the places set in `places` (bit 63: place 0) whose bits in rows[0],
// rows[1], ... (the first the most significant) spell p; rows.size() <= MaxMaskedPatternBits.
// Always inlined: it runs once per 64 places, and it must take its callers' popcount.
[[gnu::always_inline]] inline void CountMaskedPatterns(std::span<const uint64_t> rows,
                                                       uint64_t places,
                                                       std::vector<uint64_t>& counts) {
    // Left uninitialised: every node read is written first, and clearing the whole tree for
    // each 64 places took a third of a short pattern's count.
    std::array<uint64_t, size_t{2} << MaxMaskedPatternBits> tree;
    tree[1] = places;
    for (size_t j = 0; j < rows.size(); ++j)
        for (size_t node = size_t{1} << j; node < size_t{2} << j; ++node) {
            tree[2 * node] = tree[node] & ~rows[j];
            tree[2 * node + 1] = tree[node] & rows[j];
        }
    const size_t leaves = size_t{1} << rows.size();
    for (size_t p = 0; p < leaves; ++p)
        counts[p] += static_cast<uint64_t>(std::popcount(tree[leaves + p]));
}

// The mask of the first `count` places (at most 64).
inline uint64_t FirstPlaces(uint64_t count) {
    return count >= 64 ? ~uint64_t{0} : ~(~uint64_t{0} >> count);
}

} // namespace zentrope
