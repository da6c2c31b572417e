// The digests published with FIPS 180-2 (appendix B) and a file read in one piece.
#include "tester/sha256.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

namespace zentrope {
namespace {

TEST(Sha256, MatchesThePublishedExamples) {
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    testing::ScratchFolder dir;
    EXPECT_EQ(FileSha256Hex(dir.Write("f", "abc")), Sha256Hex("abc"));
    EXPECT_FALSE(FileSha256Hex(dir.File("missing")));
}

} // namespace
} // namespace zentrope
