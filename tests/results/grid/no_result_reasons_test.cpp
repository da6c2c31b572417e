#include "results/grid/no_result_reasons.h"
#include "tests/results/result_set_of.h"

#include <gtest/gtest.h>

using namespace zentrope;

TEST(NoResultReasons, ReadsBothFormsAndSkipsWhatIsNotOne) {
    const std::string text =
        "Zentrope report\r\n"
        "No result: line 17 \"AMLS kbits=32768\": needs 268,435,456 bits, a sequence holds "
        "2,000,000\r\n"
        "No result: line 3 \"Serial m=\"16\"\", sequence 12: value out of domain: x < 0\n"
        "  No result: line 4 \"Indented\": not at the line's start\n"
        "No result: line 0 \"Zero\": rows count from 1\n"
        "No result: line 5 \"Unclosed: no quote\n"
        "No result: line 6 \"Empty\": \n"
        "No result: line 7 \"Seq\", sequence x: not a number\n"
        "Sequence #1\n"
        "No result: line 9 \"Last\", sequence 1: no line end";
    const std::vector<NoResultReason> reasons = ReadNoResultReasons(text);
    ASSERT_EQ(reasons.size(), 3u);
    // By row: line 3, line 9, line 17.
    EXPECT_EQ(reasons[2].row, 16);
    EXPECT_EQ(reasons[2].name, "AMLS kbits=32768");
    EXPECT_EQ(reasons[2].sequence, -1);
    EXPECT_EQ(reasons[2].reason, "needs 268,435,456 bits, a sequence holds 2,000,000");
    // A quote inside the name, and a colon inside the reason.
    EXPECT_EQ(reasons[0].row, 2);
    EXPECT_EQ(reasons[0].name, "Serial m=\"16\"");
    EXPECT_EQ(reasons[0].sequence, 11);
    EXPECT_EQ(reasons[0].reason, "value out of domain: x < 0");
    EXPECT_EQ(reasons[1].row, 8);
    EXPECT_EQ(reasons[1].sequence, 0);
    EXPECT_EQ(reasons[1].reason, "no line end");
}

TEST(NoResultReasons, RowTextGroupsSequencesAndIgnoresOtherRowsAndNames) {
    const ResultSet results = ResultSetOf({{"Plain", {0.5}}, {"AMLS kbits=32768\r", {-1}}});
    const std::vector<NoResultReason> reasons =
        ReadNoResultReasons("No result: line 2 \"AMLS kbits=32768\", sequence 4: too short\n"
                            "No result: line 2 \"AMLS kbits=32768\": needs more bits\n"
                            "No result: line 2 \"AMLS kbits=32768\", sequence 9: too short\n"
                            "No result: line 2 \"AMLS kbits=32768\", sequence 5: odd value\n"
                            "No result: line 2 \"AMLS kbits=32768\": needs more bits\n"
                            "No result: line 2 \"Other name\": not this row's\n"
                            "No result: line 1 \"AMLS kbits=32768\": the name is on another row\n");
    // The carriage return that a CRLF file leaves on a name does not part it from its reasons.
    EXPECT_EQ(RowReasonText(reasons, results.Row(1), 1),
              "needs more bits; in 2 sequences: too short; in sequence 5: odd value");
    EXPECT_EQ(RowReasonText(reasons, results.Row(0), 0), "");
}
