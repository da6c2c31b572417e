#include "tester/bit_input.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

namespace zentrope {
namespace {

using testing::ScratchFolder;

TEST(BitInput, PatternsMatchFilesInNameOrder) {
    ScratchFolder dir;
    dir.Write("b.bin", "b");
    dir.Write("a.bin", "a");
    dir.Write("c.txt", "c");
    std::filesystem::create_directory(dir.File("d.bin"));
    EXPECT_EQ(ExpandInputPattern(dir.File("*.bin")),
              (std::vector<std::string>{dir.File("a.bin"), dir.File("b.bin")}));
    EXPECT_EQ(ExpandInputPattern(dir.File("?.txt")), (std::vector<std::string>{dir.File("c.txt")}));
    EXPECT_EQ(ExpandInputPattern(dir.File("c.txt")), (std::vector<std::string>{dir.File("c.txt")}));
    EXPECT_TRUE(ExpandInputPattern(dir.File("d.bin")).empty());
    EXPECT_TRUE(ExpandInputPattern(dir.File("*.none")).empty());
    EXPECT_TRUE(ExpandInputPattern(dir.File("missing")).empty());
}

TEST(BitInput, ConcatenatesFilesMostSignificantBitFirst) {
    ScratchFolder dir;
    BitInput input({dir.Write("1", "\xA5\x0F"), dir.Write("2", "\xC3")});
    EXPECT_EQ(input.TotalFileBits(), 24u);
    BitSequence s;
    // 12-bit sequences cut bytes in half, and the second one spans both files.
    ASSERT_TRUE(input.Next(12, s));
    EXPECT_EQ(BitsAt(s, 0, 12), 0xA50u);
    ASSERT_TRUE(input.Next(12, s));
    EXPECT_EQ(s.size, 12u);
    EXPECT_EQ(BitsAt(s, 0, 12), 0xFC3u);
    EXPECT_FALSE(input.Next(1, s));
}

TEST(BitInput, ReportsAnInputThatEndsEarly) {
    ScratchFolder dir;
    BitInput input({dir.Write("only", "\xFF\xFF")});
    BitSequence s;
    EXPECT_FALSE(input.Next(17, s));
}

TEST(BitInput, GeneratorRepeatsForTheSameSeed) {
    BitInput a(DefaultSeed);
    BitInput b(DefaultSeed);
    BitSequence x;
    BitSequence y;
    ASSERT_TRUE(a.Next(100, x));
    ASSERT_TRUE(b.Next(100, y));
    EXPECT_EQ(x.words, y.words);
    EXPECT_TRUE(a.IsGenerator());
    ASSERT_TRUE(a.Next(100, y));
    EXPECT_NE(x.words, y.words);
}

// Skipping k sequences must leave the input where reading them would: bit k·n of the files
// (inside a byte, at a file's end, past an empty file), k·ceil(n / 64) outputs of the generator.
TEST(BitInput, SkippedSequencesLeaveTheInputWhereReadingThemWould) {
    ScratchFolder dir;
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += static_cast<char>(i * 37 + 11);
    const std::vector<std::string> files = {dir.Write("a", bytes.substr(0, 100)),
                                            dir.Write("b", ""), dir.Write("c", bytes.substr(100))};
    for (const uint64_t n : {1u, 13u, 64u, 100u, 800u}) {
        for (const uint64_t k : {0u, 1u, 3u, 7u}) {
            if ((k + 1) * n > 2400)
                continue;
            BitInput read(files);
            BitInput skipped(files);
            BitSequence expected;
            BitSequence got;
            for (uint64_t i = 0; i <= k; ++i)
                ASSERT_TRUE(read.Next(n, expected));
            ASSERT_TRUE(skipped.SkipSequences(k, n));
            ASSERT_TRUE(skipped.Next(n, got)) << "n " << n << " k " << k;
            EXPECT_EQ(got.words, expected.words) << "n " << n << " k " << k;
        }
    }
    BitInput tooShort(files);
    EXPECT_FALSE(tooShort.SkipSequences(3, 801));
    for (const uint64_t n : {1u, 64u, 65u, 1000u}) {
        BitInput read(DefaultSeed);
        BitInput skipped(DefaultSeed);
        BitSequence expected;
        BitSequence got;
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(read.Next(n, expected));
        ASSERT_TRUE(skipped.SkipSequences(3, n));
        ASSERT_TRUE(skipped.Next(n, got));
        EXPECT_EQ(got.words, expected.words) << "n " << n;
    }
}

} // namespace
} // namespace zentrope
