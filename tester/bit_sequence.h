// A sequence of bits packed into 64-bit words, the first bit in the most significant place,
// so that bytes read from a file keep their bit order.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zentrope {

struct BitSequence {
    std::vector<uint64_t> words;
    uint64_t size = 0; // bits in use; the unused low bits of the last word are zero
};

inline int BitAt(const BitSequence& s, uint64_t pos) {
    return static_cast<int>((s.words[pos >> 6] >> (63 - (pos & 63))) & 1u);
}

// `count` (0 to 64) bits from `pos` on, the first of them the most significant of the result.
// The bits must lie within the sequence. Inline: the tests call it once per block.
inline uint64_t BitsAt(const BitSequence& s, uint64_t pos, int count) {
    if (count == 0)
        return 0;
    const uint64_t word = pos >> 6;
    const int offset = static_cast<int>(pos & 63);
    uint64_t high = s.words[word] << offset;
    if (offset + count > 64)
        high |= s.words[word + 1] >> (64 - offset);
    return high >> (64 - count);
}

// The 64 bits from `pos` on, zeros for those beyond the sequence's end.
inline uint64_t WordAt(const BitSequence& s, uint64_t pos) {
    const uint64_t word = pos >> 6;
    const int offset = static_cast<int>(pos & 63);
    if (word >= s.words.size())
        return 0;
    uint64_t high = s.words[word] << offset;
    if (offset != 0 && word + 1 < s.words.size())
        high |= s.words[word + 1] >> (64 - offset);
    return high;
}

// Ones among the `length` bits from `pos` on.
uint64_t CountOnes(const BitSequence& s, uint64_t pos, uint64_t length);

// Appends the low `count` bits of `value` (0 to 64), the highest of them first.
void AppendBits(BitSequence& s, uint64_t value, int count);

void ClearBits(BitSequence& s);

// "0110..." to bits; any other character is skipped, so examples may be spaced.
BitSequence BitsFromText(std::string_view text);

} // namespace zentrope
