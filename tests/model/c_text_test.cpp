#include "model/c_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

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

// Short decimals take a quicker way than long ones; both must give the C library's double.
TEST(AtofC, AgreesWithStrtodOnShortAndLongDecimals) {
    std::setlocale(LC_NUMERIC, "C");
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 200000; ++i) {
        const int digits = 1 + int(random() % 19);
        std::string text = i % 7 == 0 ? "-" : "";
        for (int d = 0; d < digits; ++d)
            text += char('0' + random() % 10);
        text.insert(text.size() - size_t(random() % (digits + 1)), ".");
        text += i % 5 == 0 ? "\tDFT" : "";
        size_t used = 0;
        const double ours = AtofC(text, &used);
        char* end = nullptr;
        const double theirs = std::strtod(text.c_str(), &end);
        ASSERT_EQ(std::memcmp(&ours, &theirs, sizeof ours), 0) << text;
        ASSERT_EQ(used, size_t(end - text.c_str())) << text;
    }
    EXPECT_EQ(AtofC("0.5e-1"), 0.05);
    EXPECT_EQ(AtofC("7."), 7.0);
    EXPECT_EQ(AtofC("-.25x"), -0.25);
}

TEST(AtolC, ReadsLikeTheCLibraryWithin32Bits) {
    EXPECT_EQ(AtolC(" +2"), 2);
    EXPECT_EQ(AtolC("-7x"), -7);
    EXPECT_EQ(AtolC("abc"), 0);
    EXPECT_EQ(AtolC("- 7"), 0);
    EXPECT_EQ(AtolC("99999999999"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(AtolC("-99999999999"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(AtolC("-2147483648"), std::numeric_limits<int32_t>::min());
}

TEST(LeadingUnsigned, DigitsOnlyAndTooLargeIsNotZero) {
    EXPECT_EQ(LeadingUnsigned("  12abc"), 12u);
    EXPECT_EQ(LeadingUnsigned("-5"), 0u);
    EXPECT_EQ(LeadingUnsigned("4294967296"), 4294967295u);
    EXPECT_EQ(LeadingUnsigned("99999999999999999999"), 4294967295u);
}

TEST(ParseStrictInteger, TheWholeTextWithin32Bits) {
    EXPECT_EQ(ParseStrictInteger("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ParseStrictInteger("+12"), 12);
    for (const char* bad : {"", "-", " 1", "1 ", "2147483648", "1.5", "0x1"})
        EXPECT_EQ(ParseStrictInteger(bad), std::nullopt) << bad;
}

TEST(NextLinePiece, EndsAfterTheLineFeedOrAtTheLimit) {
    const std::string text = "ab\r\n" + std::string(7, 'x') + "\n\nlast";
    std::vector<std::string_view> pieces;
    for (size_t pos = 0; pos < text.size();)
        pieces.push_back(NextLinePiece(text, pos, 5));
    EXPECT_EQ(pieces, (std::vector<std::string_view>{"ab\r\n", "xxxxx", "xx\n", "\n", "last"}));
    size_t end = text.size();
    EXPECT_EQ(NextLinePiece(text, end, 5), "");
    EXPECT_EQ(end, text.size());

    // Lines around the few bytes looked at before memchr, with limits on either side of them.
    for (const size_t length : {14, 15, 16, 17, 40}) {
        for (const size_t limit : {size_t{10}, size_t{16}, size_t{30}, size_t{999}}) {
            const std::string line = std::string(length, 'y') + "\n";
            const std::string two = line + "z\n";
            size_t pos = 0;
            const std::string_view first = NextLinePiece(two, pos, limit);
            EXPECT_EQ(first, std::string_view(line).substr(0, std::min(limit, line.size())))
                << length << " " << limit;
            EXPECT_EQ(pos, first.size());
        }
    }
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
