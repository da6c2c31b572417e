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

} // namespace
} // namespace zentrope
