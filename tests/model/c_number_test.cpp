#include "c_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

using namespace zentrope;

TEST(AtofC, ReadsLikeTheCLibrary) {
    size_t used = 0;
    EXPECT_EQ(AtofC("  -12.5e1xyz", &used), -125.0);
    EXPECT_EQ(used, 9u);
    EXPECT_EQ(AtofC("\t+3"), 3.0);
    EXPECT_EQ(AtofC("x1", &used), 0.0);
    EXPECT_EQ(used, 0u);
    EXPECT_EQ(AtofC("--1"), 0.0);
    EXPECT_EQ(AtofC(""), 0.0);
    EXPECT_EQ(AtofC(".5"), 0.5);
    EXPECT_TRUE(std::isinf(AtofC("1e999")));
    EXPECT_EQ(AtofC("1e-999"), 0.0);
    EXPECT_TRUE(std::isnan(AtofC("nan")));
}

TEST(AtofC, OutOfRangeGoesByTheMagnitudeNotTheSpelling) {
    const std::string zeros(400, '0');
    EXPECT_EQ(AtofC("0." + zeros + "1"), 0.0);
    EXPECT_EQ(AtofC("-0." + zeros + "1e-5"), 0.0);
    EXPECT_TRUE(std::isinf(AtofC("1" + zeros + "e-50")));
    EXPECT_EQ(AtofC("-1" + zeros + "xyz"), -HUGE_VAL);
    EXPECT_EQ(AtofC("0." + zeros + "1e300"), 1e-101); // in range: read as it is
}

TEST(FormatNumbers, MatchPrintfInTheCLocale) {
    EXPECT_EQ(FormatG(0.0005), "0.0005");
    EXPECT_EQ(FormatG(0.00001), "1e-05");
    EXPECT_EQ(FormatG(0), "0");
    EXPECT_EQ(FormatG(100), "100");
    EXPECT_EQ(FormatG(0.0001234), "0.0001234");
    EXPECT_EQ(FormatG(1234567), "1.23457e+06");
    EXPECT_EQ(FormatFixed(0.98833517, 7), "0.9883352");
    EXPECT_EQ(FormatFixed(22.8881, 1), "22.9");
    EXPECT_EQ(FormatFixed(0.5, -3), "0");
    EXPECT_EQ(FormatFixed(1.0 / 3, 1000).size(), 22u);
}

TEST(FormatNumbers, IgnoreTheProcessLocale) {
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale on this machine";
    EXPECT_EQ(FormatG(0.5), "0.5");
    EXPECT_EQ(AtofC("0.5"), 0.5);
    std::setlocale(LC_NUMERIC, "C");
}
