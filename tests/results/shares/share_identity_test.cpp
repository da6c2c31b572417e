// The share lines must carry the summary's settings exactly (the merged summary compares and
// prints them) and refuse a range that is not within the run.
#include "results/shares/share_identity.h"

#include <gtest/gtest.h>

namespace zentrope {
namespace {

const std::string Sha(64, 'a');

TEST(ShareIdentity, SettingsReadBackExactlyAndBadRangesAreRefused) {
    ShareIdentity share{5, 3, 8, Sha, {}};
    share.summary.pval_digits = 12;
    share.summary.TestName_pv = 1;
    share.summary.sortAD = 1;
    share.summary.KSmin = 0.1; // not exact in binary: must not come back as 0.1000001
    share.summary.ADmin = 1.0 / 3.0;
    share.summary.SLmax = 1e-300;
    const std::vector<std::string> lines = FormatShareLines(share);
    for (const std::string& line : lines) {
        EXPECT_TRUE(IsShareLine(line));
        EXPECT_LT(line.size(), 240u); // longer report lines are cut by the tester
    }
    const auto back = ParseShareLines({"Zentrope stand-in tester", lines[0], "x", lines[1]});
    ASSERT_TRUE(back);
    EXPECT_EQ(back->first, 5);
    EXPECT_EQ(back->count, 3);
    EXPECT_EQ(back->nt, 8);
    EXPECT_EQ(back->parameterSha256, Sha);
    EXPECT_EQ(back->summary.pval_digits, 12);
    EXPECT_EQ(back->summary.TestName_pv, 1);
    EXPECT_EQ(back->summary.sortKS, 0);
    EXPECT_EQ(back->summary.sortAD, 1);
    EXPECT_EQ(back->summary.KSmin, 0.1);
    EXPECT_EQ(back->summary.ADmin, 1.0 / 3.0);
    EXPECT_EQ(back->summary.SLmax, 1e-300);
    EXPECT_FALSE(ParseShareLines({lines[0]})); // the settings line is needed too
    EXPECT_FALSE(ParseShareLines({lines[1]}));
    for (const ShareIdentity& bad :
         {ShareIdentity{6, 3, 8, Sha, {}}, ShareIdentity{0, 0, 8, Sha, {}},
          ShareIdentity{-1, 2, 8, Sha, {}}, ShareIdentity{0, 1, 8, "ABC", {}}}) {
        const std::vector<std::string> badLines = FormatShareLines(bad);
        EXPECT_FALSE(ParseShareLines(badLines)) << badLines[0];
    }
    EXPECT_FALSE(ParseShareLines({"Share of a run: first 1x, count 2, NT 3, parameter file "
                                  "SHA-256 " +
                                      Sha,
                                  lines[1]}));
}

} // namespace
} // namespace zentrope
