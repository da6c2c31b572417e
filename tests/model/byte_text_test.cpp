#include "model/byte_text.h"

#include <gtest/gtest.h>

using namespace zentrope;

TEST(ByteText, ValidUtf8IsShownAsItIs) {
    for (const std::string text : {"", "plain.txt", "\xc3\xa9t\xc3\xa9", "\xce\xa9 \xe2\x82\xac",
                                   "\xf0\x9f\x8e\xb2", "\xf4\x8f\xbf\xbf"}) {
        EXPECT_TRUE(IsValidUtf8(text)) << text;
        EXPECT_EQ(DisplayUtf8(text), text);
    }
}

TEST(ByteText, OtherBytesShowAsTheirLatin1Characters) {
    struct Case {
        std::string bytes, shown;
    };
    const Case cases[] = {
        {"\xe9t\xe9 r.txt", "\xc3\xa9t\xc3\xa9 r.txt"}, // Latin-1 "ete r.txt" with accents
        {"caf\xe9", "caf\xc3\xa9"},
        {"\x80\xff", "\xc2\x80\xc3\xbf"},
        {"\xc0\xaf", "\xc3\x80\xc2\xaf"},                         // an overlong '/'
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},             // a surrogate
        {"\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xc2\x80\xc2\x80"}, // beyond U+10FFFF
        {"a\xe2\x82", "a\xc3\xa2\xc2\x82"},                       // cut short at the end
        {"\xe2\x82\xac\xe2", "\xe2\x82\xac\xc3\xa2"},             // a valid one kept before it
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(IsValidUtf8(c.bytes));
        EXPECT_EQ(DisplayUtf8(c.bytes), c.shown);
        EXPECT_TRUE(IsValidUtf8(DisplayUtf8(c.bytes)));
    }
}
