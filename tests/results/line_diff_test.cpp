#include "line_diff.h"

#include <gtest/gtest.h>

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

TEST(LineDiff, ShortestScriptOfMyersExample) {
    // Myers' example A = abcabba, B = cbabac: the shortest script has 5 edits, and the kept
    // lines are a longest common subsequence (length 4).
    const std::string a = "a\nb\nc\na\nb\nb\na\n";
    const std::string b = "c\nb\na\nb\na\nc\n";
    const std::vector<DiffLine> diff = DiffLines(a, b);
    std::string rebuilt_a;
    std::string rebuilt_b;
    int32_t edits = 0;
    for (const DiffLine& line : diff) {
        if (line.change != LineChange::Added)
            rebuilt_a.append(line.text) += '\n';
        if (line.change != LineChange::Removed)
            rebuilt_b.append(line.text) += '\n';
        edits += line.change != LineChange::Kept;
    }
    EXPECT_EQ(rebuilt_a, a);
    EXPECT_EQ(rebuilt_b, b);
    EXPECT_EQ(edits, 5);
}
