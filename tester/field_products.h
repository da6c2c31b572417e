// Sums over the s-bit fields of pairs of words, s dividing 16, many fields at a time in vector
// registers: the lagged products of the windowed autocorrelation.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zentrope {

struct FieldSums {
    uint64_t products = 0; // sum of x * x' over the fields x of a[i] and x' of b[i], same place
    uint64_t first = 0;    // sum of the fields of a
    uint64_t second = 0;   // sum of the fields of b
};

// Whether SumFieldProducts takes fields of this many bits.
inline bool SummedFieldBits(int fieldBits) {
    return fieldBits == 2 || fieldBits == 4 || fieldBits == 8 || fieldBits == 16;
}

// The sums over words a[0..words) paired with b[0..words); SummedFieldBits(fieldBits).
// `portable` keeps to the loops every processor runs (the same sums), for the tests.
FieldSums SumFieldProducts(const uint64_t* a, const uint64_t* b, size_t words, int fieldBits,
                           bool portable = false);

} // namespace zentrope
