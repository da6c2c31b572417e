// The completed shares of a run put together as the whole run's partial result: the first
// share's report once, every share's sections in order, nothing a share wrote after them.
#include "results/shares/share_interim.h"

#include <gtest/gtest.h>

using namespace zentrope;

namespace {

std::string Section(int k) {
    return "Sequence #" + std::to_string(k) + "\n0.5\tFreq\n0.25\tRuns\n\n";
}

// A share's result as the tester writes it: report, sections, then its closing lines.
std::string Share(int first, int count) {
    std::string text = "Zentrope stand-in tester\nShare of a run: abc " + std::to_string(first) +
                       " " + std::to_string(count) + " 6\n\n";
    for (int k = first + 1; k <= first + count; ++k)
        text += Section(k);
    return text + "No result: line 2 \"Runs\", sequence 1: too short\nKS\t0.1\n";
}

} // namespace

TEST(ShareInterim, SharesJoinAsOneRunsSectionsInOrder) {
    const std::string joined = InterimShareText(Share(0, 2), true) +
                               InterimShareText(Share(2, 3), false) +
                               InterimShareText(Share(5, 1), false);
    std::string expected = "Zentrope stand-in tester\nShare of a run: abc 0 2 6\n\n";
    for (int k = 1; k <= 6; ++k)
        expected += Section(k);
    EXPECT_EQ(joined, expected);
}

// A later share's report ends where the loader sees the first heading: a line that starts like
// one, not a line that merely holds the word.
TEST(ShareInterim, ALaterSharesReportEndsWhereTheLoaderSeesAHeading) {
    const std::string share = "Input: Sequences.bin\nSequencer note\n" + Section(4);
    EXPECT_EQ(InterimShareText(share, false), "Sequencer note\n" + Section(4));
    const std::string plain = "Input: Sequences.bin\nNT 6\n" + Section(4);
    EXPECT_EQ(InterimShareText(plain, false), Section(4));
}

TEST(ShareInterim, AShareCutShortGivesItsWholeSectionsOnly) {
    const std::string cut = Share(0, 2).substr(0, Share(0, 2).find("Sequence #2") + 20);
    EXPECT_EQ(InterimShareText(cut, false), Section(1));
    EXPECT_EQ(InterimShareText("Zentrope stand-in tester\n", false), "");
}
