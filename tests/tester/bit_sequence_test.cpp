#include "tester/bit_sequence.h"
#include "tester/xoshiro.h"

#include <gtest/gtest.h>

namespace zentrope {
namespace {

BitSequence RandomBits(uint64_t count, uint64_t seed) {
    Xoshiro256 g = SeedXoshiro(seed);
    BitSequence s;
    while (s.size + 64 <= count)
        AppendBits(s, NextWord(g), 64);
    AppendBits(s, NextWord(g), static_cast<int>(count - s.size));
    return s;
}

TEST(BitSequence, KeepsTheFirstBitInTheHighestPlace) {
    BitSequence s;
    AppendBits(s, 0xA5, 8); // 10100101
    AppendBits(s, 1, 1);
    EXPECT_EQ(s.size, 9u);
    EXPECT_EQ(s.words[0], 0xA580000000000000u);
    EXPECT_EQ(BitsAt(s, 0, 4), 0xAu);
    EXPECT_EQ(BitAt(s, 8), 1);
}

TEST(BitSequence, ReadsAndWritesAcrossWordBoundaries) {
    BitSequence s;
    AppendBits(s, 0, 60);
    AppendBits(s, 0x1234567, 28); // straddles the first two words
    EXPECT_EQ(BitsAt(s, 60, 28), 0x1234567u);
    EXPECT_EQ(BitsAt(s, 56, 12), 0x012u);
    const BitSequence r = RandomBits(1000, 7);
    for (uint64_t pos : {0u, 1u, 63u, 64u, 100u, 936u}) {
        uint64_t slow = 0;
        for (uint64_t i = 0; i < 64; ++i)
            slow = (slow << 1) | static_cast<uint64_t>(BitAt(r, pos + i));
        EXPECT_EQ(BitsAt(r, pos, 64), slow) << pos;
    }
}

TEST(BitSequence, CountsOnesOverAnyStretch) {
    const BitSequence r = RandomBits(777, 11);
    for (uint64_t pos : {0u, 5u, 64u, 130u}) {
        for (uint64_t len : {0u, 1u, 59u, 64u, 200u, 777u - 130u}) {
            uint64_t slow = 0;
            for (uint64_t i = 0; i < len; ++i)
                slow += static_cast<uint64_t>(BitAt(r, pos + i));
            EXPECT_EQ(CountOnes(r, pos, len), slow) << pos << " " << len;
        }
    }
}

TEST(BitSequence, ParsesSpacedText) {
    const BitSequence s = BitsFromText("10 11\n0");
    EXPECT_EQ(s.size, 5u);
    EXPECT_EQ(BitsAt(s, 0, 5), 0b10110u);
}

TEST(Xoshiro, MatchesTheReferenceOutputForAKnownState) {
    // Reference state {1, 2, 3, 4}: the first outputs of the published algorithm.
    Xoshiro256 g;
    g.state = {1, 2, 3, 4};
    EXPECT_EQ(NextWord(g), 11520u);
    EXPECT_EQ(NextWord(g), 0u);
    EXPECT_EQ(NextWord(g), 1509978240u);
    EXPECT_EQ(NextWord(g), 1215971899390074240u);
}

} // namespace
} // namespace zentrope
