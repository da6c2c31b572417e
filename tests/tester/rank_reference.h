// The textbook binary rank, Gaussian elimination over GF(2) one matrix at a time: the
// reference the tester's lane-parallel ranks are checked against.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

namespace zentrope {

// Each row holds `cols` bits in its low bits; the rows are used as working space.
inline int BinaryRank(std::span<uint64_t> rows, int cols) {
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

} // namespace zentrope
