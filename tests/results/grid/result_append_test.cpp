// A table that grows by sections while its run goes on must end exactly as a load of the whole
// file shows it, and a feed that follows a growing file must never give out half a section.
#include "results/grid/result_append.h"
#include "results/grid/result_loader_steps.h"
#include "results/grid/section_feed.h"
#include "tests/results/result_file_text.h"

#include <gtest/gtest.h>

#include <random>

namespace zentrope {
namespace {

using testing::LoadText;
using testing::ResultFile;
using testing::RowTexts;

const std::vector<std::string> Names{"DFT", "Runs", "Serial", "Rank"};

// Sections of random p-value texts with errors ("-1"), one short section (its last line
// missing) and one longer than the first (its extra line below the table).
std::vector<std::vector<std::string>> RandomSections(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<std::vector<std::string>> sections(static_cast<size_t>(count));
    for (int s = 0; s < count; ++s) {
        for (size_t t = 0; t < Names.size(); ++t)
            sections[size_t(s)].push_back(uniform(random) < 0.1 ? "-1.0000000"
                                                                : std::to_string(uniform(random)));
        if (s == 2)
            sections[size_t(s)].pop_back();
        if (s == 4)
            sections[size_t(s)].push_back("0.5");
    }
    return sections;
}

std::string SectionsText(const std::vector<std::vector<std::string>>& sections, size_t from) {
    const std::string whole = ResultFile(Names, sections);
    const std::string before =
        ResultFile(Names, {sections.begin(), sections.begin() + std::ptrdiff_t(from)});
    return whole.substr(before.size());
}

void ExpectSameTable(const ResultGrid& grown, const ResultGrid& loaded) {
    ASSERT_EQ(grown.ColumnCount(), loaded.ColumnCount());
    ASSERT_EQ(grown.RowCount(), loaded.RowCount());
    EXPECT_EQ(grown.SequenceColumnEnd(), loaded.SequenceColumnEnd());
    EXPECT_EQ(grown.SpacerColumn(), loaded.SpacerColumn());
    for (int32_t row = 0; row < loaded.RowCount(); ++row)
        EXPECT_EQ(RowTexts(grown, row), RowTexts(loaded, row)) << "row " << row;
    const ResultSet& a = grown.Results();
    const ResultSet& b = loaded.Results();
    ASSERT_EQ(a.RowCount(), b.RowCount());
    for (int32_t row = 0; row < b.RowCount(); ++row) {
        const ResultRow x = a.Row(row);
        const ResultRow y = b.Row(row);
        EXPECT_EQ(x.count, y.count);
        EXPECT_EQ(std::vector<double>(x.pvalues.begin(), x.pvalues.end()),
                  std::vector<double>(y.pvalues.begin(), y.pvalues.end()));
        EXPECT_EQ(std::vector<PValueMark>(x.marks.begin(), x.marks.end()),
                  std::vector<PValueMark>(y.marks.begin(), y.marks.end()));
        ASSERT_EQ(x.figures.has_value(), y.figures.has_value()) << "row " << row;
        if (y.figures) {
            EXPECT_EQ(x.figures->ks, y.figures->ks);
            EXPECT_EQ(x.figures->ad, y.figures->ad);
            EXPECT_EQ(x.figures->sl, y.figures->sl);
        }
    }
}

// The summaries' first appearance (one sequence, then more), sections added one at a time
// and several at once, and every kind of line.
TEST(ResultAppend, GrownTableIsTheLoadOfTheWholeFile) {
    const auto sections = RandomSections(9, 7);
    ResultGrid loaded;
    LoadText(loaded, ResultFile(Names, sections));
    for (size_t first : {size_t{1}, size_t{2}, size_t{4}}) {
        for (bool oneAtATime : {true, false}) {
            ResultGrid grown;
            LoadText(grown, ResultFile(Names, {sections.begin(),
                                               sections.begin() + std::ptrdiff_t(first)}));
            for (size_t next = first; next < sections.size();) {
                const size_t upTo = oneAtATime ? next + 1 : sections.size();
                const std::vector<std::vector<std::string>> part(
                    sections.begin(), sections.begin() + std::ptrdiff_t(upTo));
                const std::string text = SectionsText(part, next);
                AppendSequenceColumns(grown,
                                      ReadNewSections(text, ResultLineFormat::PValueThenName));
                if (NeedsSummaryColumns(grown))
                    AddSummaryColumns(grown);
                WriteRowSummaries(grown, 7);
                next = upTo;
            }
            SCOPED_TRACE(first);
            ExpectSameTable(grown, loaded);
        }
    }
}

// The number of a p-value is read as a load reads it, in the other line format too.
TEST(ResultAppend, NewSectionsAreReadInTheFormatThatFits) {
    const std::string text = "Sequence #3\nDFT\t0.25\nRuns\t-1\n\n";
    const SectionPValues sections = ReadNewSections(text, ResultLineFormat::PValueThenName);
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0], (std::vector<std::string_view>{"0.25", ErrorCellText}));
}

TEST(ResultAppend, MergedPartsAreTheWholeRun) {
    const auto sections = RandomSections(9, 11);
    const size_t cut = 5;
    ResultGrid whole, first, second;
    LoadText(whole, ResultFile(Names, sections));
    LoadText(first, ResultFile(Names, {sections.begin(), sections.begin() + cut}));
    // The second part's first section is full, so that both parts have the same rows.
    LoadText(second, ResultFile(Names, {sections.begin() + cut, sections.end()}));
    ResultSet merged = first.Results();
    ASSERT_TRUE(merged.Merge(second.Results()));
    ASSERT_EQ(merged.SequenceCount(), whole.Results().SequenceCount());
    for (int32_t row = 0; row < merged.RowCount(); ++row) {
        const ResultRow x = merged.Row(row);
        const ResultRow y = whole.Results().Row(row);
        EXPECT_EQ(x.count, y.count);
        EXPECT_EQ(std::vector<double>(x.pvalues.begin(), x.pvalues.end()),
                  std::vector<double>(y.pvalues.begin(), y.pvalues.end()));
        ASSERT_TRUE(x.figures && y.figures);
        EXPECT_EQ(x.figures->ks, y.figures->ks);
        EXPECT_EQ(x.figures->ad, y.figures->ad);
        EXPECT_EQ(x.figures->sl, y.figures->sl);
    }
}

TEST(ResultAppend, OnlySetsOfTheSameRowsMerge) {
    ResultGrid four, two, renamed;
    LoadText(four, ResultFile(Names, RandomSections(3, 1)));
    LoadText(two, ResultFile({"DFT", "Runs"}, {{"0.1", "0.2"}, {"0.3", "0.4"}}));
    LoadText(renamed, ResultFile({"DFT", "Runs", "Serial", "Other"}, RandomSections(3, 2)));
    ResultSet set = four.Results();
    EXPECT_FALSE(set.Merge(two.Results()));
    EXPECT_FALSE(set.Merge(renamed.Results()));
    EXPECT_EQ(set.SequenceCount(), 3);
    EXPECT_FALSE(set.AppendSequence(std::vector<double>{0.5}, std::vector<PValueMark>{}));
    EXPECT_EQ(set.SequenceCount(), 3);
}

// Fed in pieces of every size, the feed gives out whole sections only, and as many as a load
// of the whole text finds, including a heading that starts a long line's second piece.
TEST(SectionFeed, GivesOutWholeSectionsOnly) {
    std::string text = ResultFile(Names, RandomSections(6, 3));
    text.insert(text.find("Sequence #1"), std::string(999, 'x') + "Sequence #0\n0.5\tDFT\n\n");
    ResultGrid loaded;
    LoadText(loaded, text);
    const int32_t sequences = loaded.SequenceColumnEnd() - ResultGrid::FixedColumns;
    for (size_t piece : {size_t{1}, size_t{7}, size_t{64}, text.size()}) {
        SectionFeed feed;
        std::string given;
        for (size_t at = 0; at < text.size(); at += piece) {
            const SectionFeed::Completed out = feed.Add(std::string_view(text).substr(at, piece));
            given += out.text;
            // What was given out ends a section: an empty line after a data line.
            if (out.sections > 0)
                EXPECT_EQ(given.substr(given.size() - 2), "\n\n");
            else
                EXPECT_TRUE(out.text.empty());
        }
        EXPECT_EQ(given, text) << piece;
        EXPECT_EQ(feed.Sections(), sequences) << piece;
    }
}

} // namespace
} // namespace zentrope
