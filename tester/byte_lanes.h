// Each byte's eight bits spread into eight values, the most significant bit first, so that
// a loop can take a sequence eight values at a time.
#pragma once

#include <array>
#include <cstddef>

namespace zentrope {

template <typename T> using ByteLanes = std::array<std::array<T, 8>, 256>;

// The table of every byte, with `one` for a set bit and `zero` for a clear one.
template <typename T> ByteLanes<T> MakeByteLanes(T one, T zero) {
    ByteLanes<T> table{};
    for (size_t byte = 0; byte < 256; ++byte)
        for (size_t k = 0; k < 8; ++k)
            table[byte][k] = (byte >> (7 - k)) & 1 ? one : zero;
    return table;
}

} // namespace zentrope
