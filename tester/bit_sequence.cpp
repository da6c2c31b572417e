#include "tester/bit_sequence.h"

#include <algorithm>
#include <bit>

namespace zentrope {

uint64_t CountOnes(const BitSequence& s, uint64_t pos, uint64_t length) {
    uint64_t ones = 0;
    while (length > 0 && (pos & 63) != 0) {
        const int take = static_cast<int>(std::min<uint64_t>(length, 64 - (pos & 63)));
        ones += static_cast<uint64_t>(std::popcount(BitsAt(s, pos, take)));
        pos += static_cast<uint64_t>(take);
        length -= static_cast<uint64_t>(take);
    }
    for (; length >= 64; pos += 64, length -= 64)
        ones += static_cast<uint64_t>(std::popcount(s.words[pos >> 6]));
    if (length > 0)
        ones += static_cast<uint64_t>(std::popcount(BitsAt(s, pos, static_cast<int>(length))));
    return ones;
}

void AppendBits(BitSequence& s, uint64_t value, int count) {
    if (count == 0)
        return;
    if (count < 64)
        value &= (uint64_t{1} << count) - 1;
    const int used = static_cast<int>(s.size & 63);
    if (used == 0) {
        s.words.push_back(value << (64 - count));
    } else {
        const int room = 64 - used;
        if (count <= room) {
            s.words.back() |= value << (room - count);
        } else {
            s.words.back() |= value >> (count - room);
            s.words.push_back(value << (64 - (count - room)));
        }
    }
    s.size += static_cast<uint64_t>(count);
}

void ClearBits(BitSequence& s) {
    s.words.clear();
    s.size = 0;
}

BitSequence BitsFromText(std::string_view text) {
    BitSequence s;
    for (char c : text)
        if (c == '0' || c == '1')
            AppendBits(s, static_cast<uint64_t>(c - '0'), 1);
    return s;
}

} // namespace zentrope
