#include "results/grid/result_loader.h"
#include "tests/results/result_file_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <tuple>

using namespace zentrope;
using namespace zentrope::testing;
using Texts = std::vector<std::string>;

namespace {

const Texts Names = {"DFT", "SOB", "Serial"};

// Figures computed separately (python) for the rows of FourSections.
const std::string FourSections = ResultFile(Names, {{"0.10", "0.25", "-1"},
                                                    {"0.5", "0.5", "0.3"},
                                                    {"0.9", "0.75", "0.8"},
                                                    {"0.33", "-1.0", "0.65"}});

ResultLoadOptions Options(int32_t digits, bool ks, bool ad, bool sl) {
    ResultLoadOptions options;
    options.pval_digits = digits;
    options.sort_ks = ks;
    options.sort_ad = ad;
    options.sort_sl = sl;
    return options;
}

} // namespace

TEST(ResultLoaderSections, FileWithoutResultLinesEmptiesTheTable) {
    ResultGrid grid;
    LoadText(grid, FourSections);
    // No section, a section without data lines, and bytes of a binary file.
    for (const std::string& text : Texts{"just a report\nSeq\n0.5\tDFT\n", "Sequence #1\n\n",
                                         std::string("\x7f"
                                                     "ELF\x02\x01\x01\0\0\t\x03\n",
                                                     12)}) {
        const ResultLoadOutcome outcome = LoadText(grid, text, Options(7, true, false, false));
        EXPECT_TRUE(outcome.loaded);
        EXPECT_FALSE(outcome.sort_request);
        EXPECT_EQ(outcome.warning, "The result file holds no result lines.");
        for (int32_t row = 0; row < 4; ++row)
            for (int32_t col = 0; col < 11; ++col)
                EXPECT_EQ(grid.Cell(col, row), "") << col << "," << row;
        LoadText(grid, FourSections);
    }
}

TEST(ResultLoaderSections, OneSectionMakesNoSummaries) {
    ResultGrid grid;
    const ResultLoadOutcome outcome =
        LoadText(grid, ResultFile(Names, {{"0.5", "-1", "0.25"}}), Options(7, true, true, true));
    EXPECT_FALSE(outcome.sort_request);
    EXPECT_EQ(grid.ColumnCount(), 4);
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.SpacerColumn(), -1);
    EXPECT_EQ(grid.SequenceColumnEnd(), 4);
    EXPECT_EQ(RowTexts(grid, 0), (Texts{"N", "Test name", "pvals", "1"}));
    EXPECT_EQ(RowTexts(grid, 1), (Texts{"1", "DFT", "1", "0.5"}));
    EXPECT_EQ(RowTexts(grid, 2), (Texts{"2", "SOB", "1", "- error -"}));
    EXPECT_EQ(RowTexts(grid, 3), (Texts{"3", "Serial", "1", "0.25"}));
}

TEST(ResultLoaderSections, TwoSectionsGiveErrorFigures) {
    ResultGrid grid;
    const ResultLoadOutcome outcome =
        LoadText(grid, ResultFile({"DFT"}, {{"0.5"}, {"0.25"}}), Options(7, true, false, false));
    EXPECT_EQ(grid.ColumnCount(), 9);
    EXPECT_EQ(grid.SpacerColumn(), 5);
    EXPECT_EQ(RowTexts(grid, 0),
              (Texts{"N", "Test name", "pvals", "1", "2", "", "KS", "AD", "SL"}));
    EXPECT_EQ(RowTexts(grid, 1),
              (Texts{"1", "DFT", "2", "0.5", "0.25", "", "- error -", "- error -", "- error -"}));
    EXPECT_EQ(outcome.sort_request, 6);
}

TEST(ResultLoaderSections, FiguresOfEveryRow) {
    ResultGrid grid;
    LoadText(grid, FourSections, Options(7, false, false, false));
    EXPECT_EQ(grid.ColumnCount(), 11);
    EXPECT_EQ(grid.SequenceColumnEnd(), 7);
    EXPECT_EQ(RowTexts(grid, 0),
              (Texts{"N", "Test name", "pvals", "1", "2", "3", "4", "", "KS", "AD", "SL"}));
    EXPECT_EQ(RowTexts(grid, 1), (Texts{"1", "DFT", "4", "0.10", "0.5", "0.9", "0.33", "",
                                        "0.9289548", "0.9761605", "3.072"}));
    EXPECT_EQ(RowTexts(grid, 2), (Texts{"2", "SOB", "3", "0.25", "0.5", "0.75", "- error -", "",
                                        "0.9758684", "0.9592013", "10.000"}));
    EXPECT_EQ(RowTexts(grid, 3), (Texts{"3", "Serial", "3", "- error -", "0.3", "0.8", "0.65", "",
                                        "0.8554332", "0.8636784", "12.200"}));
    EXPECT_TRUE(grid.IsErrorCell(6, 2));
    EXPECT_TRUE(grid.IsSummaryColumn(8));
    EXPECT_FALSE(grid.IsSummaryColumn(7));
}

TEST(ResultLoaderSections, SortRequestFollowsTheFirstCheckedBox) {
    ResultGrid grid;
    EXPECT_EQ(LoadText(grid, FourSections, Options(7, true, true, true)).sort_request, 8);
    EXPECT_EQ(LoadText(grid, FourSections, Options(7, false, true, true)).sort_request, 9);
    EXPECT_EQ(LoadText(grid, FourSections, Options(7, false, false, true)).sort_request, -10);
    EXPECT_FALSE(LoadText(grid, FourSections, Options(7, false, false, false)).sort_request);
}

TEST(ResultLoaderSections, DigitsOfTheFigures) {
    ResultGrid grid;
    LoadText(grid, FourSections, Options(0, false, false, false));
    EXPECT_EQ(RowTexts(grid, 1)[8], "1");
    EXPECT_EQ(RowTexts(grid, 1)[10], "3.072"); // SL always has three
    LoadText(grid, FourSections, Options(2, false, false, false));
    EXPECT_EQ(RowTexts(grid, 1)[8], "0.93");
    // printf reads a negative precision as none given: six decimals.
    LoadText(grid, FourSections, Options(-3, false, false, false));
    EXPECT_EQ(RowTexts(grid, 1)[8], "0.928955");
    // A digit count from a file is bounded where it is used.
    LoadText(grid, FourSections, Options(2000000000, false, false, false));
    EXPECT_EQ(RowTexts(grid, 1)[8].size(), 22u);
}

TEST(ResultLoaderLines, MinusOneInItsWrittenForms) {
    ResultGrid grid;
    LoadText(grid,
             ResultFile({"A", "B", "C", "D", "E"}, {{"-1", "-1.0", "-1.0000000", "-0.5", "-1e0"},
                                                    {"0.1", "0.1", "0.1", "0.1", "0.1"},
                                                    {"0.2", "0.2", "0.2", "0.2", "0.2"}}));
    EXPECT_EQ(ColumnTexts(grid, 3),
              (Texts{"1", "- error -", "- error -", "- error -", "-0.5", "- error -"}));
    // -0.5 is shown as written, but it is no p-value: not counted.
    EXPECT_EQ(ColumnTexts(grid, 2), (Texts{"pvals", "2", "2", "2", "2", "2"}));
}

TEST(ResultLoaderLines, FileInTheOtherFormatIsReadInIt) {
    // FourSections with its fields swapped, one line with CR LF.
    std::string name_first;
    for (const std::string line :
         {"Sequence #1", "DFT\t0.10", "SOB\t0.25\r", "Serial\t-1", "", "Sequence #2", "DFT\t0.5",
          "SOB\t0.5", "Serial\t0.3", "", "Sequence #3", "DFT\t0.9", "SOB\t0.75", "Serial\t0.8", "",
          "Sequence #4", "DFT\t0.33", "SOB\t-1.0", "Serial\t0.65"})
        name_first += line + "\n";
    ResultGrid expected;
    LoadText(expected, FourSections);
    for (const auto& [text, chosen, found] :
         {std::tuple{FourSections, ResultLineFormat::NameThenPValue, "p-value[TAB]test_name"},
          std::tuple{name_first, ResultLineFormat::PValueThenName, "test_name[TAB]p-value"}}) {
        ResultGrid grid;
        ResultLoadOptions options;
        options.format = chosen;
        const ResultLoadOutcome outcome = LoadText(grid, text, options);
        EXPECT_EQ(outcome.warning, "The result file holds '" + std::string(found) +
                                       "' lines; it was read in that format.");
        for (int32_t row = 0; row < 4; ++row) {
            Texts want = RowTexts(expected, row);
            if (row == 2 && chosen == ResultLineFormat::PValueThenName)
                want[3] = "0.25\r";
            EXPECT_EQ(RowTexts(grid, row), want) << found;
        }
    }
}

TEST(ResultLoaderLines, AnyNumberInTheChosenFormatKeepsIt) {
    // One p-value field is a number: the file fits the chosen format, as described, and the
    // names read as numbers land where that format puts them.
    ResultGrid grid;
    const ResultLoadOutcome outcome =
        LoadText(grid, "Sequence #1\nDFT\t0.5\n0.25\tSOB\nInfo\t0.1\n\n");
    EXPECT_EQ(outcome.warning, "");
    EXPECT_EQ(ColumnTexts(grid, 1), (Texts{"Test name", "0.5", "SOB", "0.1"}));
    EXPECT_EQ(ColumnTexts(grid, 3), (Texts{"1", "DFT", "0.25", "Info"}));
}

TEST(ResultLoaderLines, LineEndsAreKeptButTheLineFeed) {
    ResultGrid grid;
    LoadText(grid, "Sequence #1\r\n0.5\tDFT\r\n\r\n");
    EXPECT_EQ(RowTexts(grid, 1), (Texts{"1", "DFT\r", "1", "0.5"}));
    ResultLoadOptions options;
    options.format = ResultLineFormat::NameThenPValue;
    LoadText(grid, "Sequence #1\nDFT\t0.5\r\n", options);
    EXPECT_EQ(RowTexts(grid, 1), (Texts{"1", "DFT", "1", "0.5\r"}));
    // The last line without a line feed keeps every character.
    LoadText(grid, "Sequence #1\n0.5\tDFT\n0.25\tSOB");
    EXPECT_EQ(RowTexts(grid, 2), (Texts{"2", "SOB", "1", "0.25"}));
    // Only the first TAB cuts.
    LoadText(grid, "Sequence #1\n0.5\tA\tB\n");
    EXPECT_EQ(RowTexts(grid, 1)[1], "A\tB");
}

TEST(ResultLoaderLines, WhatOpensClosesAndSkips) {
    ResultGrid grid;
    LoadText(grid, "Sequential run\n"
                   "no tab here\n" // skipped
                   "0.1\tA\n"
                   "Sequence #2\n" // inside a section: skipped like any line
                   "0.2\tB\n"
                   "x\n"      // shorter than 3: ends the section
                   "0.3\tC\n" // outside: ignored
                   "Sequence #3\n"
                   "\t\n" // 2 characters: ends the section
                   "0.4\tD\n"
                   "Sequ\n"
                   " Sequence #4\n");
    EXPECT_EQ(grid.ColumnCount(), 9);
    EXPECT_EQ(ColumnTexts(grid, 1), (Texts{"Test name", "A", "B"}));
    EXPECT_EQ(ColumnTexts(grid, 3), (Texts{"1", "0.1", "0.2"}));
    EXPECT_EQ(ColumnTexts(grid, 4), (Texts{"2", "", ""}));
}

TEST(ResultLoaderLines, LongLinesAreReadInPiecesOf999) {
    ResultGrid grid;
    // 1200 characters before the TAB: the first piece has no TAB and is skipped, the second
    // piece is a data line of its own.
    const std::string long_line = std::string(1200, '7') + "\tLONG\n";
    // A line of exactly 999 characters leaves its line feed as a line that ends the section.
    const std::string exact = std::string(995, '8') + "\tXYZ\n";
    LoadText(grid, "Sequence #1\n" + long_line + exact + "0.5\tAFTER\n");
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cell(3, 1), std::string(201, '7'));
    EXPECT_EQ(grid.Cell(1, 1), "LONG");
    EXPECT_EQ(grid.Cell(3, 2).size(), 995u);
    EXPECT_EQ(grid.Cell(1, 2), "XYZ");
}

TEST(ResultLoaderRows, HeadingWithoutBlankLineIsNotSeen) {
    ResultGrid grid;
    LoadText(grid, "Sequence #1\n0.1\tA\nSequence #2\n0.2\tA\n\nSequence #3\n0.3\tA\n0.4\tA\n");
    EXPECT_EQ(grid.ColumnCount(), 9);
    EXPECT_EQ(ColumnTexts(grid, 1), (Texts{"Test name", "A", "A"}));
    EXPECT_EQ(ColumnTexts(grid, 3), (Texts{"1", "0.1", "0.2"}));
    EXPECT_EQ(ColumnTexts(grid, 4), (Texts{"2", "0.3", "0.4"}));
}

TEST(ResultLoaderRows, ShorterAndLongerSectionsThanTheFirst) {
    ResultGrid grid;
    // The last section is shorter: rows below it get figures of the values they hold, an
    // empty cell being no value (SOB's are the published {0.25, 0.5, 0.75}).
    std::string text = FourSections + "Sequence #5\n0.2\tDFT\n";
    LoadText(grid, text);
    EXPECT_EQ(RowTexts(grid, 1), (Texts{"1", "DFT", "5", "0.10", "0.5", "0.9", "0.33", "0.2", "",
                                        "0.6750782", "0.7735867", "6.075"}));
    EXPECT_EQ(RowTexts(grid, 2), (Texts{"2", "SOB", "3", "0.25", "0.5", "0.75", "- error -", "", "",
                                        "0.9758684", "0.9592013", "10.000"}));
    EXPECT_EQ(RowTexts(grid, 3), (Texts{"3", "Serial", "3", "- error -", "0.3", "0.8", "0.65", "",
                                        "", "0.8554332", "0.8636784", "12.200"}));

    // A longer section adds no rows.
    LoadText(grid, ResultFile({"A", "B", "C"}, {{"0.1"}, {"0.2", "0.3"}, {"0.4", "0.5", "0.6"}}));
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(RowTexts(grid, 1)[2], "3");
    EXPECT_EQ(grid.Cell(4, 2), "");
}

TEST(ResultLoaderRows, SecondSmallerLoadShowsNothingOfTheFirst) {
    ResultGrid grid;
    LoadText(grid, ResultFile({"A", "B", "C"}, {{"0.1", "0.2", "0.3"}, {"0.4", "0.5", "0.6"}}));
    EXPECT_EQ(grid.Cell(8, 0), "SL");
    // Five sections: the spacer lands where "SL" was.
    LoadText(grid, ResultFile({"A"}, {{"0.9"}, {"0.8"}, {"0.7"}, {"0.6"}, {"0.5"}}));
    EXPECT_EQ(grid.SpacerColumn(), 8);
    EXPECT_EQ(grid.Cell(8, 0), "");
    // One section and one row: growing the counts again shows only empty cells.
    LoadText(grid, ResultFile({"Z"}, {{"0.5"}}));
    grid.SetColumnCount(12);
    grid.SetRowCount(4);
    for (int32_t row = 1; row < 4; ++row)
        for (int32_t col = 0; col < 12; ++col) {
            if (!(row == 1 && col < 4)) {
                EXPECT_EQ(grid.Cell(col, row), "") << col << "," << row;
            }
        }
}

TEST(ResultLoaderFiles, ReadsAFileAndReportsOneItCannotOpen) {
    // A name of its own, so that runs from two build folders at once do not collide.
    const auto path =
        std::filesystem::temp_directory_path() /
        ("zentrope_results_loader_" + std::to_string(std::random_device{}()) + ".txt");
    std::ofstream(path, std::ios::binary) << FourSections;
    ResultGrid grid;
    std::vector<std::string> messages;
    const auto report = [&messages](const std::string& m) { messages.push_back(m); };
    EXPECT_TRUE(LoadResultFile(path.string(), {}, grid, report).loaded);
    EXPECT_EQ(RowTexts(grid, 3)[8], "0.8554332");
    EXPECT_TRUE(messages.empty());
    std::filesystem::remove(path);

    const ResultLoadOutcome missing = LoadResultFile(path.string(), {}, grid, report);
    EXPECT_FALSE(missing.loaded);
    // A folder opens for reading on some systems but holds no file text.
    EXPECT_FALSE(LoadResultFile(path.parent_path().string(), {}, grid, report).loaded);
    EXPECT_EQ(messages, (Texts(2, "The result file can't be opened.")));
    EXPECT_EQ(RowTexts(grid, 3)[8], "0.8554332"); // untouched
}

TEST(ResultLoaderFiles, ArbitraryTextKeepsTheTableWhole) {
    const Texts pieces = {"Sequence #", "Seq", "\t", "\n",        "\r\n",
                          "-1",         "0.5", "x",  "- error -", std::string(700, 'y')};
    std::mt19937 random(7);
    ResultGrid grid;
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += pieces[random() % pieces.size()];
        const ResultLoadOutcome outcome = LoadText(grid, text, Options(7, true, false, false));
        if (outcome.warning == "The result file holds no result lines.") {
            EXPECT_EQ(grid.Cell(0, 0), "");
            continue;
        }
        const int32_t sequences = grid.SequenceColumnEnd() - 3;
        if (sequences >= 1) {
            EXPECT_EQ(grid.ColumnCount(), sequences == 1 ? 4 : 7 + sequences);
        }
        for (int32_t row = 1; row < grid.RowCount(); ++row) {
            const std::string_view count = grid.Cell(2, row);
            EXPECT_FALSE(count.empty());
            EXPECT_EQ(count.find_first_not_of("0123456789"), std::string_view::npos);
        }
    }
}

// A file of several megabytes is read in stretches on all cores; the sections must come out
// as one reading from the start would find them, also where a section is cut short, a blank
// line is missing or a line is longer than a piece.
TEST(ResultLoaderSections, LargeFilesKeepEverySectionInOrder) {
    constexpr int Tests = 100;
    constexpr int Sections = 4000; // about 6 MB
    std::string text = "report\n\n";
    std::vector<std::vector<std::string>> expected; // per column, rows 1 to Tests
    const auto cut_short = [](int s) { return s % 13 == 5; };
    const auto no_blank_line = [](int s) { return s % 7 == 0 && s != 0; };
    for (int s = 0; s < Sections; ++s) {
        // A heading right after a section that is still open is a line without a TAB.
        const bool swallowed = s > 0 && no_blank_line(s - 1) && !cut_short(s - 1);
        if (!swallowed)
            expected.emplace_back();
        text += "Sequence #" + std::to_string(s + 1) + "\n";
        for (int t = 0; t < Tests; ++t) {
            if (cut_short(s) && t == 50)
                text += "a\n"; // ends the section: its other lines are not read
            if (s % 11 == 3 && t == 20)
                text += std::string(1500, 'x') + "\n"; // two pieces, neither with a TAB
            char pvalue[16];
            std::snprintf(pvalue, sizeof pvalue, "0.%07d", s * Tests + t);
            text += std::string(pvalue) + "\tT" + std::to_string(t) + "\n";
            if (!swallowed && !(cut_short(s) && t >= 50))
                expected.back().push_back(pvalue);
        }
        if (!no_blank_line(s))
            text += "\n";
    }
    ResultGrid grid;
    LoadText(grid, text);
    ASSERT_EQ(grid.RowCount(), Tests + 1);
    ASSERT_EQ(grid.SequenceColumnEnd(), 3 + static_cast<int32_t>(expected.size()));
    for (size_t c = 0; c < expected.size(); ++c) {
        const auto col = static_cast<int32_t>(3 + c);
        ASSERT_EQ(grid.Cell(col, 0), std::to_string(c + 1));
        for (int32_t row = 1; row <= Tests; ++row) {
            const std::string want =
                size_t(row) <= expected[c].size() ? expected[c][size_t(row - 1)] : "";
            ASSERT_EQ(grid.Cell(col, row), want) << "column " << col << " row " << row;
        }
    }
    EXPECT_EQ(grid.Cell(1, Tests), "T99");
}
