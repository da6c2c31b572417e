// The input summary and the sequence length captions, computed from real files.
#include "model/label_captions.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace zentrope;
using zentrope::testing::ScratchFolder;

namespace {

// Sparse where the file system allows it.
void MakeFile(const std::filesystem::path& path, uintmax_t bytes) {
    std::ofstream(path, std::ios::binary).close();
    std::filesystem::resize_file(path, bytes);
}

class LabelCaptions : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_ / "three");
        for (const char* name : {"three/a.bin", "three/b.bin", "three/c.bin"})
            MakeFile(dir_ / name, 1000000);
        MakeFile(dir_ / "mib.bin", 1048576);
        MakeFile(dir_ / "small.dat", 100);
        MakeFile(dir_ / "empty.dat", 0);
        MakeFile(dir_ / "README", 5);
        std::filesystem::create_directories(dir_ / "folders/one.d");
        std::filesystem::create_directories(dir_ / "folders/two.d");
    }
    std::string In(const std::string& name) const { return dir_.File(name); }

    ScratchFolder dir_;
};

} // namespace

TEST_F(LabelCaptions, TotalLengthOfTheMatchedFiles) {
    const struct {
        const char* pattern;
        const char* caption;
    } cases[] = {{"three/*", "3 files, 24 mbits, 22.9 Mb"},
                 {"mib.bin", "1 file, 8 Mbits, 8.0 Mb"},
                 {"small.dat", "1 file, 800 bits"},
                 {"empty.dat", "1 file, 0 bits"},
                 {"folders/*", "(No file)"},
                 {"folders/one.d", "(No file)"},
                 {"*.none", "(No file)"},
                 {"nowhere/*", "(No file)"},
                 {"three/", "(No file)"}};
    for (const auto& c : cases)
        EXPECT_EQ(TotalLengthCaption(CountMatchingFiles(In(c.pattern))), c.caption) << c.pattern;
    EXPECT_EQ(TotalLengthCaption(CountMatchingFiles("")), "(No file)");
}

TEST_F(LabelCaptions, WildcardsInTheNamePart) {
    EXPECT_EQ(CountMatchingFiles(In("three/?.bin")).count, 3u);
    EXPECT_EQ(CountMatchingFiles(In("three/??.bin")).count, 0u);
    EXPECT_EQ(CountMatchingFiles(In("*.dat")).count, 2u);
    EXPECT_EQ(CountMatchingFiles(In("*.*")).count, 4u); // README too
    EXPECT_EQ(CountMatchingFiles(In("th*/a.bin")).count, 0u);
    std::vector<std::string> listed = ListMatchingFiles(In("*.*"));
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{In("README"), In("empty.dat"), In("mib.bin"),
                                                In("small.dat")}));
    EXPECT_EQ(ListMatchingFiles(In("mib.bin")), std::vector<std::string>{In("mib.bin")});
    EXPECT_TRUE(ListMatchingFiles(In("folders/one.d")).empty());
    EXPECT_TRUE(NameMatchesPattern("aXbXc", "a*b*c"));
    EXPECT_FALSE(NameMatchesPattern("a.txt", "*.tx"));
}

TEST_F(LabelCaptions, RelativePatternsUseTheCurrentFolder) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_.Path());
    const MatchedFiles files = CountMatchingFiles("*.bin");
    std::filesystem::current_path(previous);
    EXPECT_EQ(files.count, 1u);
    EXPECT_EQ(files.totalBytes, 1048576u);
}

// Totals of 512 MiB and more no longer fit 32 bits of bits.
TEST_F(LabelCaptions, LargeInputsKeepTheirSize) {
    std::filesystem::create_directories(dir_ / "large");
    MakeFile(dir_ / "large/big.bin", uintmax_t{600} << 20);
    const MatchedFiles files = CountMatchingFiles(In("large/*"));
    EXPECT_EQ(InputBitsOf(files), uint64_t{600} << 23);
    EXPECT_EQ(TotalLengthCaption(files), "1 file, 4800 Mbits, 4.7 Gb");
    MakeFile(dir_ / "large/big.bin", uintmax_t{512} << 20);
    EXPECT_EQ(InputBitsOf(CountMatchingFiles(In("large/*"))), uint64_t{1} << 32);
}

TEST(SequenceLengthCaption, DividesTheInputAmongTheSequences) {
    const struct {
        uint64_t inputBits;
        int32_t sequences;
        const char* caption;
    } cases[] = {
        {24000000, 50, "The sequence length will be 480 kbits, 468.8 Kb"},
        {75000, 50, "The sequence length will be 1500 bits, 1.5 Kb"},
        {40, 50, "The sequence length will be 0 bits"},
        {uint64_t{1} << 41, 2, "The sequence length will be 1024 Gbits, 1024.0 Gb"},
    };
    for (const auto& c : cases) {
        const auto length = ComputedSequenceLength(c.inputBits, 0, c.sequences);
        ASSERT_TRUE(length.has_value()) << c.caption;
        EXPECT_EQ(SequenceLengthCaption(*length), c.caption);
    }
}

TEST(SequenceLengthCaption, NoneWithoutInputOrCountOrWithALength) {
    EXPECT_FALSE(ComputedSequenceLength(0, 0, 50).has_value());
    EXPECT_FALSE(ComputedSequenceLength(8000, 1, 50).has_value());
    EXPECT_FALSE(ComputedSequenceLength(8000, 0, 0).has_value());
    EXPECT_TRUE(ComputedSequenceLength(uint64_t{1} << 32, 0, 1).has_value());
}
