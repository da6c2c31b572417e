#include "tester/xoshiro.h"

#include <bit>

namespace zentrope {
uint64_t SplitMix64(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

Xoshiro256 SeedXoshiro(uint64_t seed) {
    Xoshiro256 g;
    for (uint64_t& word : g.state)
        word = SplitMix64(seed);
    return g;
}

uint64_t NextWord(Xoshiro256& g) {
    auto& s = g.state;
    const uint64_t result = std::rotl(s[1] * 5, 7) * 9;
    const uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = std::rotl(s[3], 45);
    return result;
}

} // namespace zentrope
