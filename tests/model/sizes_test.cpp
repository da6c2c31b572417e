#include "model/sizes.h"

#include <gtest/gtest.h>

using namespace zentrope;

TEST(UnitAbbreviation, EveryUnitWord) {
    const char* expected[] = {"b", "Kb", "Mb", "Gb", "kb", "mb", "gb",
                              "B", "KB", "MB", "GB", "kB", "mB", "gB"};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(UnitAbbreviation(SizeUnitList[i], i), expected[i]) << i;
}

TEST(ParseSizeWithUnit, DescribedExamples) {
    struct Case {
        const char* text;
        uint32_t bits;
    } cases[] = {
        {"64 Mb", 67108864},
        {"64 Mbits", 67108864},
        {"64 M", 67108864},
        {"3 MB", 25165824},
        {"3 MBytes", 25165824},
        {"8 B", 64},
        {"8 Bytes", 64},
        {"8 bytes", 8},
        {"64Mb", 64},
        {"1.5 Kb", 1536},
        {"0.5 Kb", 512},
        {"12", 12},
        {"12 x", 12},
        {"", 0},
        {"64  Mb", 67108864},
        {" 64 Mb", 64},
        {"32 Mb # max n used in the DFT test", 33554432},
        {"1e3 kb", 1000000},
        {"2\tMb", 2},
        {"4294967295 b", 4294967295u},
        {"-0.5", 0},
    };
    for (const Case& c : cases) {
        ParsedSize p = ParseSizeWithUnit(c.text);
        EXPECT_TRUE(p.fits) << c.text;
        EXPECT_EQ(p.bits, c.bits) << c.text;
    }
}

TEST(ParseSizeWithUnit, SizesBeyond32BitsAreFlagged) {
    for (const char* text : {"4 Gb", "1 GB", "1 gB", "-1", "-3 Mb", "4294967296", "1e30 b", "nan"})
        EXPECT_FALSE(ParseSizeWithUnit(text).fits) << text;
    EXPECT_TRUE(ParseSizeWithUnit("3 Gb").fits);
}

TEST(ReduceBitCount, DescribedExamples) {
    EXPECT_EQ(ReduceBitCount(0), (ReducedSize{0, 0}));
    EXPECT_EQ(ReduceBitCount(1048576), (ReducedSize{1, 2}));
    EXPECT_EQ(ReduceBitCount(3000000), (ReducedSize{3, 5}));
    EXPECT_EQ(ReduceBitCount(1024000), (ReducedSize{1000, 1}));
    EXPECT_EQ(ReduceBitCount(1000), (ReducedSize{1, 4}));
    EXPECT_EQ(ReduceBitCount(8), (ReducedSize{8, 0}));
    EXPECT_EQ(ReduceBitCount(4294967295u), (ReducedSize{4294967295u, 0}));
}

TEST(ReduceBitCount, StopsAtTheGigaUnits) {
    EXPECT_EQ(ReduceBitCount(uint64_t{1} << 40), (ReducedSize{1024, 3}));
    EXPECT_EQ(ReduceBitCount(uint64_t{1000000000000}), (ReducedSize{1000, 6}));
    EXPECT_EQ(ReduceBitCount(uint64_t{8} << 30), (ReducedSize{8, 3}));
}

TEST(ParseAndReduce, RoundTripOverEveryBitUnit) {
    const uint64_t factors[] = {1, 1024, 1048576, 1073741824, 1000, 1000000, 1000000000};
    for (int unit = 0; unit < 7; ++unit) {
        for (uint64_t number : {1u, 3u, 7u, 1000u, 1024u, 3000u}) {
            uint64_t bits = number * factors[unit];
            if (bits > 4294967295u)
                continue;
            std::string text =
                std::to_string(number) + " " + UnitAbbreviation(SizeUnitList[unit], unit);
            ParsedSize parsed = ParseSizeWithUnit(text);
            ASSERT_TRUE(parsed.fits) << text;
            EXPECT_EQ(parsed.bits, bits) << text;
            ReducedSize r = ReduceBitCount(parsed.bits);
            ASSERT_LE(r.unitIndex, 6);
            EXPECT_EQ(r.number * factors[r.unitIndex], bits) << text;
        }
    }
}

TEST(FormatApproxSize, DescribedExamples) {
    EXPECT_EQ(FormatApproxSize(0), "");
    EXPECT_EQ(FormatApproxSize(1023), "");
    EXPECT_EQ(FormatApproxSize(1024), ", 1.0 Kb");
    EXPECT_EQ(FormatApproxSize(1536), ", 1.5 Kb");
    EXPECT_EQ(FormatApproxSize(24000000), ", 22.9 Mb");
    EXPECT_EQ(FormatApproxSize(67108864), ", 64.0 Mb");
    EXPECT_EQ(FormatApproxSize(4294967295u), ", 4.0 Gb");
    EXPECT_EQ(FormatApproxSize(uint64_t{1} << 40), ", 1024.0 Gb");
}
