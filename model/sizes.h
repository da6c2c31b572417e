// Sizes are counts of bits, shown and stored as a number with a unit word.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zentrope {

// Items of the three unit combo boxes; indexes 0 to 6 are the bit units.
inline constexpr std::array<std::string_view, 14> SizeUnitList{
    "bits",  "Kbits",  "Mbits",  "Gbits",  "kbits",  "mbits",  "gbits",
    "Bytes", "KBytes", "MBytes", "GBytes", "kBytes", "mBytes", "gBytes"};

inline constexpr std::string_view SizeUnitHint = "K, M, G: x1024 - k, m, g: x1000";

// The unit text written after a size: the word's first letter for index 0 and 7,
// its first two letters otherwise.
std::string UnitAbbreviation(std::string_view unitWord, int index);

struct ParsedSize {
    uint32_t bits = 0;
    bool fits = true; // false: negative, not a number, or 2^32 bits and more; bits is 0 then
};

// "64 Mb" -> 67108864: a number, then after the first blank a unit letter and an optional B.
ParsedSize ParseSizeWithUnit(std::string_view text);

struct ReducedSize {
    uint64_t number = 0;
    int unitIndex = 0; // 0 to 6 into SizeUnitList
    bool operator==(const ReducedSize&) const = default;
};

// The exact number in the largest bit unit that divides the count (ties to 1024).
// At most three divisions by 1024 or by 1000, so 2^40 bits reads 1024 Gbits.
ReducedSize ReduceBitCount(uint64_t count);

// ", %.1f %cb" with K, M or G; empty below 1024 bits.
std::string FormatApproxSize(uint64_t count);

} // namespace zentrope
