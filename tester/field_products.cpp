#include "tester/field_products.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace zentrope {

namespace {

// Words per chunk: a fixed count lets the compiler replace the whole loop by vector code, and
// 255 * 255 * 8 bytes * Chunk stays within 32 bits.
constexpr size_t Chunk = 32;

// Lanes of Lane's width; the order of the lanes within a word does not matter: a and b share
// it. A fixed count of lanes lets the compiler vectorize the loop.
template <typename Lane, typename ProductSum>
[[gnu::always_inline]] inline void AddLanes(const uint64_t* a, const uint64_t* b, FieldSums& sums) {
    Lane x[Chunk * 8 / sizeof(Lane)];
    Lane y[Chunk * 8 / sizeof(Lane)];
    std::memcpy(x, a, sizeof x);
    std::memcpy(y, b, sizeof y);
    ProductSum products = 0;
    uint32_t first = 0;
    uint32_t second = 0;
    for (size_t i = 0; i < std::size(x); ++i) {
        products += static_cast<uint32_t>(x[i]) * y[i];
        first += x[i];
        second += y[i];
    }
    sums.products += products;
    sums.first += first;
    sums.second += second;
}

// Byte lanes, each below 256.
void AddByteLanesPortable(const uint64_t* a, const uint64_t* b, FieldSums& sums) {
    AddLanes<uint8_t, uint32_t>(a, b, sums);
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same with AVX2: bytes widened to 16 bits and multiplied pairwise into 32-bit sums
// (at most 2 * 255^2 a lane and step), byte sums by sums of absolute differences from 0.
[[gnu::target("avx2")]] void AddByteLanesWide(const uint64_t* a, const uint64_t* b,
                                              FieldSums& sums) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i products = zero;
    __m256i first = zero;
    __m256i second = zero;
    for (size_t i = 0; i < Chunk; i += 4) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
        products = _mm256_add_epi32(products, _mm256_madd_epi16(_mm256_unpacklo_epi8(x, zero),
                                                                _mm256_unpacklo_epi8(y, zero)));
        products = _mm256_add_epi32(products, _mm256_madd_epi16(_mm256_unpackhi_epi8(x, zero),
                                                                _mm256_unpackhi_epi8(y, zero)));
        first = _mm256_add_epi64(first, _mm256_sad_epu8(x, zero));
        second = _mm256_add_epi64(second, _mm256_sad_epu8(y, zero));
    }
    alignas(32) uint32_t p[8];
    alignas(32) uint64_t f[4];
    alignas(32) uint64_t g[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(p), products);
    _mm256_store_si256(reinterpret_cast<__m256i*>(f), first);
    _mm256_store_si256(reinterpret_cast<__m256i*>(g), second);
    for (uint32_t lane : p)
        sums.products += lane;
    for (size_t k = 0; k < 4; ++k) {
        sums.first += f[k];
        sums.second += g[k];
    }
}

bool HasWideLanes() {
    static const bool wide = __builtin_cpu_supports("avx2");
    return wide;
}
#endif

void AddByteLanes(const uint64_t* a, const uint64_t* b, bool portable, FieldSums& sums) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (!portable && HasWideLanes())
        return AddByteLanesWide(a, b, sums);
#endif
    AddByteLanesPortable(a, b, sums);
}

#if defined(__x86_64__) && defined(__GNUC__)
[[gnu::target_clones("avx2", "default")]]
#endif
void AddShortLanes(const uint64_t* a, const uint64_t* b, FieldSums& sums) {
    AddLanes<uint16_t, uint64_t>(a, b, sums);
}

// The fields of 2 or 4 bits at one place of each byte, moved to the byte's low bits.
void AddFieldsOfBytes(const uint64_t* a, const uint64_t* b, int fieldBits, bool portable,
                      FieldSums& sums) {
    const uint64_t low = fieldBits == 2 ? 0x0303030303030303 : 0x0F0F0F0F0F0F0F0F;
    uint64_t x[Chunk];
    uint64_t y[Chunk];
    for (int shift = 0; shift < 8; shift += fieldBits) {
        for (size_t i = 0; i < Chunk; ++i) {
            x[i] = (a[i] >> shift) & low;
            y[i] = (b[i] >> shift) & low;
        }
        AddByteLanes(x, y, portable, sums);
    }
}

void AddChunk(const uint64_t* a, const uint64_t* b, int fieldBits, bool portable, FieldSums& sums) {
    if (fieldBits == 16)
        AddShortLanes(a, b, sums);
    else if (fieldBits == 8)
        AddByteLanes(a, b, portable, sums);
    else
        AddFieldsOfBytes(a, b, fieldBits, portable, sums);
}

} // namespace

FieldSums SumFieldProducts(const uint64_t* a, const uint64_t* b, size_t words, int fieldBits,
                           bool portable) {
    FieldSums sums;
    for (size_t i = 0; i < words; i += Chunk) {
        // The last, partial chunk padded with zero fields, which add nothing.
        uint64_t x[Chunk] = {};
        uint64_t y[Chunk] = {};
        const size_t take = std::min(Chunk, words - i);
        if (take < Chunk) {
            std::copy_n(a + i, take, x);
            std::copy_n(b + i, take, y);
            AddChunk(x, y, fieldBits, portable, sums);
        } else {
            AddChunk(a + i, b + i, fieldBits, portable, sums);
        }
    }
    return sums;
}

} // namespace zentrope
