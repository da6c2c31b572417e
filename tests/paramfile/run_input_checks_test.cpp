#include "paramfile/run_input_checks.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

const std::string Bits = "0";
const std::string Mbits = "2"; // x 1024 x 1024

ParameterFileRecord Planned(const std::string& length, const std::string& unit,
                            const std::string& sequences, const std::string& input) {
    ParameterFileRecord record = DefaultRecord();
    record["Editn"] = length;
    record["CBnUM"] = unit;
    record["EditNT"] = sequences;
    record["EditInFile"] = input;
    return record;
}

MatchedFiles Bytes(uint64_t bytes) {
    return {1, bytes};
}

} // namespace

TEST(RunInputChecks, EnoughInputPassesAndOneByteShortFails) {
    // 1024 bits x 8 sequences = 8192 bits = 1024 bytes exactly.
    EXPECT_FALSE(FirstRunInputProblem(Planned("1024", Bits, "8", "in.bin"), Bytes(1024)));
    const auto short1 = FirstRunInputProblem(Planned("1024", Bits, "8", "in.bin"), Bytes(1023));
    ASSERT_TRUE(short1);
    EXPECT_EQ(short1->field, "Editn");
    EXPECT_NE(short1->message.find("8,192 bits"), std::string::npos) << short1->message;
    EXPECT_NE(short1->message.find("8,184 bits"), std::string::npos) << short1->message;
}

// The unit counts: 1 Mbit is 1,048,576 bits, so 50 of them need 52,428,800 bits.
TEST(RunInputChecks, TheLengthIsTakenInItsUnit) {
    const auto problem =
        FirstRunInputProblem(Planned("1", Mbits, "50", "in.bin"), Bytes(6'553'599));
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->message.find("52,428,800"), std::string::npos) << problem->message;
    EXPECT_FALSE(FirstRunInputProblem(Planned("1", Mbits, "50", "in.bin"), Bytes(6'553'600)));
}

TEST(RunInputChecks, TheGeneratorNeedsNoInputButLengthZeroDoes) {
    EXPECT_FALSE(FirstRunInputProblem(Planned("1", Mbits, "50", ""), MatchedFiles{}));
    const auto zero = FirstRunInputProblem(Planned("0", Bits, "50", ""), MatchedFiles{});
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero->field, "Editn");
    // Length 0 splits the input: one bit a sequence at least.
    EXPECT_FALSE(FirstRunInputProblem(Planned("0", Bits, "8", "in.bin"), Bytes(1)));
    EXPECT_TRUE(FirstRunInputProblem(Planned("0", Bits, "9", "in.bin"), Bytes(1)));
}

TEST(RunInputChecks, APatternMatchingNothingNamesItself) {
    const auto problem =
        FirstRunInputProblem(Planned("1", Bits, "1", "/data/gen*.bin"), MatchedFiles{});
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->field, "EditInFile");
    EXPECT_NE(problem->message.find("\"/data/gen*.bin\""), std::string::npos) << problem->message;
}

// The order of the page: no sequences first, whatever else is wrong.
TEST(RunInputChecks, NoSequencesComesFirst) {
    for (const std::string count : {"0", "", "-3"}) {
        const auto problem =
            FirstRunInputProblem(Planned("0", Bits, count, "missing"), MatchedFiles{});
        ASSERT_TRUE(problem) << count;
        EXPECT_EQ(problem->field, "EditNT");
    }
}

TEST(RunInputChecks, DigitsAreGroupedByThousands) {
    EXPECT_EQ(GroupedDigits(0), "0");
    EXPECT_EQ(GroupedDigits(999), "999");
    EXPECT_EQ(GroupedDigits(1000), "1,000");
    EXPECT_EQ(GroupedDigits(268435456), "268,435,456");
    EXPECT_EQ(GroupedDigits(18446744073709551615u), "18,446,744,073,709,551,615");
}
