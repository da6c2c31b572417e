// xoshiro256** (Blackman and Vigna), seeded through splitmix64: the built-in bit source.
#pragma once

#include <array>
#include <cstdint>

namespace zentrope {

struct Xoshiro256 {
    std::array<uint64_t, 4> state{};
};

// The seed printed in every report, so runs repeat.
inline constexpr uint64_t DefaultSeed = 0x5A454E54524F5045u; // "ZENTROPE"

Xoshiro256 SeedXoshiro(uint64_t seed);
// splitmix64 (Steele, Lea and Flood): advances x and returns a well-mixed word of it.
uint64_t SplitMix64(uint64_t& x);
uint64_t NextWord(Xoshiro256& g);

} // namespace zentrope
