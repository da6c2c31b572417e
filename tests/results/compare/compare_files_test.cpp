#include "results/compare/compare_files.h"
#include "results/grid/csv.h"
#include "tests/results/result_file_text.h"
#include "tests/results/temp_folder.h"

#include <gtest/gtest.h>

using namespace zentrope;
using zentrope::testing::ResultFile;
using zentrope::testing::TempFolder;

namespace {

// Scholz and Stephens' (1987) smoothness example: four laboratories, eight values each.
const std::vector<std::vector<std::string>> Laboratories = {
    {".387", ".415", ".438", ".445", ".455", ".460", ".477", ".580"},
    {".392", ".393", ".397", ".414", ".418", ".429", ".433", ".458"},
    {".340", ".350", ".390", ".400", ".430", ".430", ".440", ".450"},
    {".340", ".348", ".348", ".354", ".372", ".378", ".412", ".428"},
};

// A run's file: one section per sequence; "Extra" only where `extra` is set.
std::string LabFile(const std::vector<std::string>& lab, bool extra) {
    std::vector<std::vector<std::string>> sections;
    for (const std::string& value : lab)
        sections.push_back(extra ? std::vector<std::string>{value, "0.5"}
                                 : std::vector<std::string>{value});
    return ResultFile(extra ? std::vector<std::string>{"Paper", "Extra"}
                            : std::vector<std::string>{"Paper"},
                      sections);
}

} // namespace

TEST(CompareFiles, PublishedExampleAcrossFourFilesWithPartialRowsAndUnreadFile) {
    const TempFolder folder{"compare_files_test_"};
    std::vector<ComparedFile> files;
    for (size_t lab = 0; lab < Laboratories.size(); ++lab)
        files.push_back(
            {"lab " + std::to_string(lab + 1),
             folder.Write("lab" + std::to_string(lab), LabFile(Laboratories[lab], lab % 2 == 0)),
             ""});
    files.insert(files.begin() + 2, {"gone", folder.Write("gone", "") + ".missing", ""});
    std::vector<size_t> progress;
    ResultLoadOptions options;
    options.pval_digits = 4;
    const FilesComparison outcome = CompareResultFiles(
        files, options, {0.5, 0, 100}, [&](size_t read) { progress.push_back(read); });

    EXPECT_EQ(progress, (std::vector<size_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(outcome.unread, std::vector<std::string>{"gone"});
    ASSERT_EQ(outcome.table.rows.size(), 2u);
    const std::vector<std::string>& paper = outcome.table.rows[0];
    EXPECT_EQ(paper[0], "Paper");
    EXPECT_EQ(paper[1], "4 of 4");
    // Every lab's values lie in [.34, .58]: each KS p-value against the uniform is below 0.5.
    EXPECT_EQ(paper[2], "4");
    // Published: P about 0.0022 for A2akN = 8.3926.
    EXPECT_EQ(paper[3], "0.0022");
    const std::vector<std::string>& extra = outcome.table.rows[1];
    EXPECT_EQ(extra[1], "2 of 4");
    EXPECT_FALSE(outcome.table.in_every_run[1]);
    // Labs 2 and 4 (runs 2 and 4 of those read) lack the row.
    EXPECT_EQ(std::vector<std::string>(extra.begin() + 7, extra.begin() + 10),
              std::vector<std::string>(3, "missing"));
    EXPECT_EQ(extra[4 + 3 * 3], "missing");
    EXPECT_NE(extra[4], "missing");

    const std::optional<CsvTable> csv = ReadCsv(ComparisonCsv(outcome.table));
    ASSERT_TRUE(csv);
    ASSERT_EQ(csv->size(), 3u);
    EXPECT_EQ((*csv)[0][7], "KS lab 2");
    EXPECT_EQ((*csv)[1], paper);
}

TEST(CompareFiles, FewerThanTwoReadFilesGiveNoTable) {
    const TempFolder folder{"compare_files_test_"};
    const std::vector<ComparedFile> files = {
        {"one", folder.Write("one", LabFile(Laboratories[0], false)), ""},
        {"none", folder.Write("none", "") + ".missing", ""}};
    const FilesComparison outcome = CompareResultFiles(files, {}, {});
    EXPECT_TRUE(outcome.table.rows.empty());
    EXPECT_TRUE(outcome.table.header.empty());
    EXPECT_EQ(outcome.unread, std::vector<std::string>{"none"});
}
