#include "results/compare/line_diff.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace zentrope;

namespace {
// The script as "  kept", "- removed", "+ added" lines.
std::string Script(std::string_view before, std::string_view after) {
    std::string out;
    for (const DiffLine& line : DiffLines(before, after)) {
        out += line.change == LineChange::Kept      ? "  "
               : line.change == LineChange::Removed ? "- "
                                                    : "+ ";
        out.append(line.text) += '\n';
    }
    return out;
}

// Both texts rebuilt from a script (kept and removed lines; kept and added lines) and the
// number of kept lines.
struct Rebuilt {
    std::string before;
    std::string after;
    int32_t kept = 0;
};
Rebuilt Rebuild(const std::vector<DiffLine>& diff) {
    Rebuilt rebuilt;
    for (const DiffLine& line : diff) {
        if (line.change != LineChange::Added)
            rebuilt.before.append(line.text) += '\n';
        if (line.change != LineChange::Removed)
            rebuilt.after.append(line.text) += '\n';
        rebuilt.kept += line.change == LineChange::Kept;
    }
    return rebuilt;
}
} // namespace

TEST(LineDiff, SmallEditsInOrder) {
    EXPECT_EQ(Script("n 10\nNT 20\n", "n 10\nNT 20\n"), "  n 10\n  NT 20\n");
    EXPECT_EQ(Script("a\nb\nc\n", "a\nc\n"), "  a\n- b\n  c\n");
    EXPECT_EQ(Script("a\nc", "a\nb\nc"), "  a\n+ b\n  c\n");
    EXPECT_EQ(Script("KSmin 0.0005\nx\n", "KSmin 1e-05\nx\n"),
              "- KSmin 0.0005\n+ KSmin 1e-05\n  x\n");
    EXPECT_EQ(Script("", "a\nb\n"), "+ a\n+ b\n");
    EXPECT_EQ(Script("a\nb\n", ""), "- a\n- b\n");
    EXPECT_EQ(Script("", ""), "");
    // Line ends do not count; an empty line does.
    EXPECT_EQ(Script("a\r\nb\r\n", "a\nb"), "  a\n  b\n");
    EXPECT_EQ(Script("a\n\nb\n", "a\nb\n"), "  a\n- \n  b\n");
}

TEST(LineDiff, ShortestScriptOfThePapersExample) {
    // Myers' example A = abcabba, B = cbabac: the shortest script has 5 edits, and the kept
    // lines are a longest common subsequence (length 4).
    const std::string a = "a\nb\nc\na\nb\nb\na\n";
    const std::string b = "c\nb\na\nb\na\nc\n";
    const Rebuilt rebuilt = Rebuild(DiffLines(a, b));
    EXPECT_EQ(rebuilt.before, a);
    EXPECT_EQ(rebuilt.after, b);
    EXPECT_EQ(rebuilt.kept, 4);
}

TEST(LineDiff, EditCountEqualsTheLongestCommonSubsequenceBound) {
    // Random texts over three lines, against the textbook LCS table: a shortest script
    // removes and adds exactly the lines outside a longest common subsequence.
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string a;
        std::string b;
        std::vector<char> la(random() % 12);
        std::vector<char> lb(random() % 12);
        for (char& c : la)
            a += c = static_cast<char>('a' + random() % 3), a += '\n';
        for (char& c : lb)
            b += c = static_cast<char>('a' + random() % 3), b += '\n';
        std::vector<std::vector<int>> lcs(la.size() + 1, std::vector<int>(lb.size() + 1, 0));
        for (size_t i = 1; i <= la.size(); ++i)
            for (size_t j = 1; j <= lb.size(); ++j)
                lcs[i][j] = la[i - 1] == lb[j - 1] ? lcs[i - 1][j - 1] + 1
                                                   : std::max(lcs[i - 1][j], lcs[i][j - 1]);
        const Rebuilt rebuilt = Rebuild(DiffLines(a, b));
        EXPECT_EQ(rebuilt.before, a);
        EXPECT_EQ(rebuilt.after, b);
        EXPECT_EQ(rebuilt.kept, lcs[la.size()][lb.size()]) << a << "|" << b;
    }
}
