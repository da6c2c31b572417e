// Folder and name parts of typed paths, and wildcard names, under the host's rules and under
// rules with drive letters and names that ignore case.
#include "platform/file_matching.h"
#include "platform/path_parts.h"

#include <gtest/gtest.h>

using namespace zentrope;

namespace {

constexpr PathRules DriveLetterRules{"\\/:", false};

} // namespace

TEST(PathParts, SplitAfterTheLastSeparator) {
    EXPECT_EQ(DirectoryPart("/opt/z t/Zentrope.exe"), "/opt/z t/");
    EXPECT_EQ(NamePart("/opt/z t/Zentrope.exe"), "Zentrope.exe");
    EXPECT_EQ(DirectoryPart("Zentrope.exe"), "");
    EXPECT_EQ(NamePart("Zentrope.exe"), "Zentrope.exe");
    EXPECT_EQ(DirectoryPart("out/"), "out/");
    EXPECT_EQ(NamePart("out/"), "");
    // Backslashes and colons belong to names where the host does not separate at them.
    EXPECT_EQ(NamePart("a\\b:c"), "a\\b:c");
}

TEST(PathParts, EverySeparatorOfTheRulesCounts) {
    EXPECT_EQ(DirectoryPart("C:\\tools/z\\t.exe", DriveLetterRules), "C:\\tools/z\\");
    EXPECT_EQ(DirectoryPart("C:t.exe", DriveLetterRules), "C:");
    EXPECT_EQ(NamePart("C:t.exe", DriveLetterRules), "t.exe");
}

TEST(WildcardNames, CaseCountsOnlyWhereTheRulesSaySo) {
    EXPECT_FALSE(NameMatchesPattern("DATA.BIN", "*.bin"));
    EXPECT_TRUE(NameMatchesPattern("DATA.BIN", "*.bin", DriveLetterRules));
    EXPECT_TRUE(NameMatchesPattern("data.b1n", "DATA.B?N", DriveLetterRules));
    EXPECT_FALSE(NameMatchesPattern("data.bin", "*.bix", DriveLetterRules));
}
