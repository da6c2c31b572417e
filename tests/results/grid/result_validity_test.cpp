// What a load makes of values that are not there or are no p-values, of files that end too
// early or are no regular files, of memory running out, and of a stop asked for meanwhile.
#include "results/grid/completeness.h"
#include "results/grid/result_loader.h"
#include "results/verdict/run_verdict.h"
#include "tests/results/result_file_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <limits>
#include <random>
#include <streambuf>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zentrope;
using namespace zentrope::testing;
using Texts = std::vector<std::string>;

namespace {

// Three good values, whose figures are published: KS 0.9883352, AD 0.9572371, SL 1.6.
const Texts Good = {"0.1", "0.5", "0.9"};

std::string WithFourth(const std::string& value) {
    return ResultFile({"Good", "Bad"},
                      {{Good[0], Good[0]}, {Good[1], Good[1]}, {Good[2], Good[2]}, {"0.1", value}});
}

std::filesystem::path TempPath(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("zentrope_validity_" + std::to_string(std::random_device{}()) + "_" + name);
}

} // namespace

TEST(ResultValidity, ValuesThatAreNoPValuesGiveNoFiguresAndFailTheRun) {
    for (const std::string bad : {"inf", "-inf", "nan", "1.5", "-0.5", "1e300", "abc"}) {
        SCOPED_TRACE(bad);
        ResultGrid grid;
        LoadText(grid, WithFourth(bad));
        // The good row: its four values {0.1, 0.1, 0.5, 0.9} are all counted and figured.
        EXPECT_EQ(RowTexts(grid, 1)[2], "4");
        EXPECT_EQ(grid.Results().Row(0).invalid, 0);
        // The bad row counts its three p-values only and shows no figure that could pass.
        const Texts bad_row = RowTexts(grid, 2);
        EXPECT_EQ(bad_row[2], "3");
        EXPECT_EQ(bad_row[6], bad); // the cell shows what the file holds
        EXPECT_EQ(Texts(bad_row.begin() + 8, bad_row.end()), Texts(3, "- error -"));
        EXPECT_EQ(grid.Results().Row(1).invalid, 1);
        const RunVerdict verdict = JudgeRun(grid.Results(), {}, 0.01);
        EXPECT_EQ(verdict.invalid_rows, (std::vector<InvalidRow>{{1, "Bad"}}));
        EXPECT_TRUE(verdict.fails);
    }
    // 0 and 1 are p-values; the same file with 1 passes.
    ResultGrid grid;
    LoadText(grid, WithFourth("1"));
    EXPECT_EQ(RowTexts(grid, 2)[2], "4");
    EXPECT_FALSE(JudgeRun(grid.Results(), {}, 0.01).fails);
}

TEST(ResultValidity, MissingCellsNeverEnterCountsOrFigures) {
    // The last section lacks Bad's line: Bad's figures are those of the published three.
    ResultGrid grid;
    const std::string text =
        ResultFile({"Good", "Bad"}, {{Good[0], Good[0]}, {Good[1], Good[1]}, {Good[2], Good[2]}}) +
        "Sequence #4\n0.1\tGood\n";
    const ResultLoadOutcome outcome = LoadText(grid, text);
    EXPECT_EQ(RowTexts(grid, 2), (Texts{"2", "Bad", "3", "0.1", "0.5", "0.9", "", "", "0.9883352",
                                        "0.9572371", "1.600"}));
    EXPECT_EQ(outcome.warning, "The result file is incomplete. Sequence 4 holds 1 line of 2. "
                               "The rows are figured from the values they hold.");
    const RunVerdict verdict = JudgeRun(grid.Results(), {}, 0.01);
    EXPECT_TRUE(verdict.incomplete);
    EXPECT_FALSE(verdict.fails);
}

TEST(ResultValidity, FilesCutShortAreIncompleteAndSayWhere) {
    const std::string whole =
        ResultFile({"A", "B", "C"}, std::vector<Texts>(8, {"0.1", "0.2", "0.3"}));
    ResultGrid grid;
    const ResultLoadOutcome complete = LoadText(grid, whole);
    EXPECT_EQ(complete.warning, "");
    EXPECT_FALSE(JudgeRun(grid.Results(), {}, 0.01).incomplete);
    // Without its final empty line, the file is still whole.
    EXPECT_EQ(LoadText(grid, whole.substr(0, whole.size() - 1)).warning, "");

    // Cut inside the last line of the last section: that line lost its line feed.
    EXPECT_EQ(LoadText(grid, whole.substr(0, whole.size() - 3)).warning,
              "The result file is incomplete. Its last line is cut. The rows are figured from the "
              "values they hold.");
    EXPECT_TRUE(JudgeRun(grid.Results(), {}, 0.01).incomplete);
    // Cut before the TAB, the line is no data line: the section is short.
    EXPECT_EQ(LoadText(grid, whole.substr(0, whole.size() - 4)).warning,
              "The result file is incomplete. Sequence 8 holds 2 lines of 3. The rows are figured "
              "from the values they hold.");

    // Seven short sections: five named, the rest counted.
    std::vector<Texts> sections(1, {"0.1", "0.2", "0.3"});
    for (int k = 0; k < 7; ++k)
        sections.push_back(k == 2 ? Texts{} : Texts{"0.1", "0.2"});
    const std::string many = ResultFile({"A", "B", "C"}, sections);
    EXPECT_EQ(LoadText(grid, many).warning,
              "The result file is incomplete. Sequence 2 holds 2 lines of 3. Sequence 3 holds 2 "
              "lines of 3. Sequence 4 holds 0 lines of 3. Sequence 5 holds 2 lines of 3. "
              "Sequence 6 holds 2 lines of 3. 2 more sequences hold fewer lines than the first. "
              "The rows are figured from the values they hold.");
}

TEST(ResultValidity, WhatIsNoRegularFileIsRefusedWithoutWaiting) {
    const std::filesystem::path fifo = TempPath("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ResultGrid grid;
    std::vector<std::string> messages;
    auto load = std::async(std::launch::async, [&] {
        return LoadResultFile(fifo.string(), {}, grid,
                              [&](const std::string& m) { messages.push_back(m); });
    });
    if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        std::ofstream(fifo) << ""; // let the blocked reader go, so that the test can end
    EXPECT_FALSE(load.get().loaded);
    EXPECT_EQ(messages, Texts{fifo.string() + " is not a regular file (a pipe, a device or a "
                                              "socket) and cannot be loaded."});
    std::filesystem::remove(fifo);
    EXPECT_EQ(ReadResultFileBytes("/dev/zero").failure, ResultReadFailure::NotRegularFile);
    EXPECT_EQ(ReadResultFileBytes(fifo.string()).failure, ResultReadFailure::CannotOpen);
}

namespace {
// Line feeds without end.
struct EndlessLines : std::streambuf {
    char block[1 << 16];
    EndlessLines() { std::fill(std::begin(block), std::end(block), '\n'); }
    int_type underflow() override {
        setg(block, block, block + sizeof block);
        return '\n';
    }
};
} // namespace

#if defined(__SANITIZE_ADDRESS__)
#define ZENTROPE_NO_ADDRESS_LIMIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZENTROPE_NO_ADDRESS_LIMIT 1
#endif
#endif

// A stream copy would take a failed allocation for the end of the file and report a file
// without result lines.
TEST(ResultValidity, MemoryRunningOutWhileReadingIsNoEndOfFile) {
#ifdef ZENTROPE_NO_ADDRESS_LIMIT
    GTEST_SKIP() << "the address sanitizer reserves more than a limit allows";
#else
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{size_t{1} << 30, size_t{1} << 30};
        setrlimit(RLIMIT_AS, &limit);
        EndlessLines endless;
        std::istream in(&endless);
        ResultGrid grid;
        try {
            LoadResultStream(in, {}, grid);
        } catch (const std::bad_alloc&) {
            _exit(0);
        } catch (const std::length_error&) {
            _exit(0);
        }
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

TEST(ResultValidity, AWatchSeesTheLoadToItsEndOrStopsIt) {
    const std::filesystem::path path = TempPath("watched.txt");
    std::ofstream(path, std::ios::binary)
        << ResultFile({"A", "B"}, std::vector<Texts>(5000, {"0.25", "0.5"}));
    LoadWatch watch;
    const ResultBytes read = ReadResultFileBytes(path.string(), &watch);
    ASSERT_TRUE(read.bytes);
    EXPECT_FALSE(read.grew);
    ResultGrid grid;
    const ResultLoadOutcome outcome = LoadReadBytes(read, {}, grid, {}, &watch);
    EXPECT_TRUE(outcome.loaded);
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(watch.Permille(), 1000);
    EXPECT_EQ(RowTexts(grid, 2)[2], "5000");

    LoadWatch stopped;
    stopped.Cancel();
    EXPECT_FALSE(ReadResultFileBytes(path.string(), &stopped).bytes);
    ResultGrid other;
    EXPECT_TRUE(LoadReadBytes(read, {}, other, {}, &stopped).cancelled);
    std::filesystem::remove(path);
}

// A set that grows a sequence at a time, or merges another, judges its cells as a load does.
TEST(ResultValidity, GrowingAndMergedSetsCountAsALoadDoes) {
    const double inf = std::numeric_limits<double>::infinity();
    ResultSet grown(2, 0);
    const std::vector<std::vector<double>> sequences = {
        {0.1, 0.1}, {0.5, inf}, {0.9, 0.5}, {0.2, 0.9}};
    for (const auto& values : sequences)
        ASSERT_TRUE(grown.AppendSequence(values, std::vector<PValueMark>(2, PValueMark::Number)));
    ASSERT_TRUE(
        grown.AppendSequence(std::vector<double>{0.0, 0.0},
                             std::vector<PValueMark>{PValueMark::Number, PValueMark::Missing}));
    ResultGrid loaded;
    LoadText(loaded,
             ResultFile({"A", "B"},
                        {{"0.1", "0.1"}, {"0.5", "inf"}, {"0.9", "0.5"}, {"0.2", "0.9"}, {"0"}}));
    for (int32_t row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(grown.Row(row).count, loaded.Results().Row(row).count);
        EXPECT_EQ(grown.Row(row).invalid, loaded.Results().Row(row).invalid);
        EXPECT_EQ(grown.Row(row).figures.has_value(),
                  loaded.Results().Row(row).figures.has_value());
    }
    EXPECT_EQ(grown.Row(0).count, 5);
    EXPECT_EQ(grown.Row(1).count, 3); // 0.1, 0.5, 0.9: inf is no p-value, the missing no value
    EXPECT_EQ(grown.Row(1).invalid, 1);
    EXPECT_FALSE(grown.Row(1).figures);

    ResultSet merged(2, 0);
    ASSERT_TRUE(merged.AppendSequence(std::vector<double>{0.3, 0.3},
                                      std::vector<PValueMark>(2, PValueMark::Number)));
    ASSERT_TRUE(merged.Merge(grown));
    EXPECT_EQ(merged.Row(1).count, 4);
    EXPECT_EQ(merged.Row(1).invalid, 1);
    EXPECT_FALSE(merged.Row(1).figures);
    EXPECT_TRUE(merged.Row(0).figures);
}
