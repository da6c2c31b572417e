// Whole runs: the front end's parameter file in, the result file out and read back by the
// front end's loader.
#include "paramfile/parameter_file_writer.h"
#include "results/grid/result_loader.h"
#include "tester/tester_run.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string_view>

namespace zentrope {
namespace {

using testing::DefaultRecord;
using testing::ReadBytes;
using testing::ScratchFolder;

// A quick run: Serial and Cumulative sum on short sequences.
ParameterFileRecord QuickRecord(const ScratchFolder& dir) {
    ParameterFileRecord r = DefaultRecord();
    r["Editn"] = "20000";
    r["CBnUM"] = "0";
    r["EditNT"] = "5";
    r.LBorder = {9, 8};
    r["EditOutFile"] = dir.File("result.txt");
    return r;
}

struct RunOutput {
    int code = 0;
    std::string out;
    std::string err;
};

RunOutput RunWith(const ScratchFolder& dir, const ParameterFileRecord& record) {
    const std::string para = dir.Write("para", FormatParameterFile(record).text);
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunTester({para}, out, err);
    return {code, out.str(), err.str()};
}

size_t FilesIn(const ScratchFolder& dir) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                             std::filesystem::directory_iterator()));
}

TEST(TesterRun, DefaultsGiveAFileTheLoaderTurnsIntoATableWithFigures) {
    ScratchFolder dir;
    ParameterFileRecord record = DefaultRecord();
    record["EditOutFile"] = dir.File("result.txt");
    const RunOutput run = RunWith(dir, record);
    ASSERT_EQ(run.code, ExitOk) << run.err;
    ResultGrid grid;
    ResultLoadOptions options;
    options.sort_sl = true;
    const ResultLoadOutcome outcome =
        LoadResultFile(dir.File("result.txt"), options, grid, [](const std::string&) {});
    ASSERT_TRUE(outcome.loaded);
    EXPECT_EQ(grid.SequenceColumnEnd(), 3 + 50);
    EXPECT_EQ(grid.RowCount(), 1 + 123);
    const int ks = grid.SequenceColumnEnd() + 1;
    EXPECT_EQ(grid.Cell(ks, 0), "KS");
    EXPECT_EQ(grid.Cell(ks + 2, 0), "SL");
    // Every row has a result on all 50 sequences and figures, or (lines that need more than
    // 1 Mbit) none at all.
    std::set<std::string, std::less<>> withoutResult;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const std::string_view name = grid.Cell(1, row);
        if (grid.IsErrorCell(3, row)) {
            EXPECT_EQ(grid.Cell(2, row), "0") << name;
            EXPECT_TRUE(grid.IsErrorCell(ks, row)) << name;
            withoutResult.emplace(name);
        } else {
            EXPECT_EQ(grid.Cell(2, row), "50") << name;
            EXPECT_FALSE(grid.IsErrorCell(ks, row)) << name;
        }
    }
    EXPECT_EQ(withoutResult.size(), 25u);
    EXPECT_TRUE(withoutResult.count("Maurer L=8"));
    EXPECT_TRUE(withoutResult.count("AMLS kbits=32")); // 64 blocks of 32 kbits: 2 Mbits
    EXPECT_FALSE(withoutResult.count("AMLS kbits=16"));
    EXPECT_TRUE(withoutResult.count("Collision s=22"));
    EXPECT_FALSE(withoutResult.count("Collision s=21"));
    EXPECT_NE(run.out.find("Results written to"), std::string::npos);
}

TEST(TesterRun, NameFirstFormatReadsBackInThatFormat) {
    ScratchFolder dir;
    ParameterFileRecord record = QuickRecord(dir);
    record["CBsaveFormat"] = "1";
    ASSERT_EQ(RunWith(dir, record).code, ExitOk);
    EXPECT_NE(ReadBytes(dir.File("result.txt")).find("Sequence #5\nSerial m=1\t0."),
              std::string::npos);
    ResultGrid grid;
    ResultLoadOptions options;
    options.format = ResultLineFormat::NameThenPValue;
    LoadResultFile(dir.File("result.txt"), options, grid, [](const std::string&) {});
    EXPECT_EQ(grid.Cell(1, 1), "Serial m=1");
    EXPECT_EQ(grid.Cell(1, 4), "Cumulative sum");
    EXPECT_EQ(grid.Cell(2, 4), "5");
}

TEST(TesterRun, ShowsProgressAndOnRequestEveryPValue) {
    ScratchFolder dir;
    ParameterFileRecord record = QuickRecord(dir);
    RunOutput run = RunWith(dir, record);
    // Four lines (Serial m=1 to 3, Cumulative sum) on five sequences: 20 p-values.
    EXPECT_NE(run.out.find("\nProgress: 0 of 20\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nProgress: 20 of 20\nResults written to"), std::string::npos);
    EXPECT_EQ(run.out.find("\tSerial m=1\n"), std::string::npos);
    record["cbShowPvals"] = "1";
    run = RunWith(dir, record);
    // Every sequence's p-values in line order.
    size_t at = 0;
    for (int k = 0; k < 5; ++k)
        for (const char* name : {"\tSerial m=1\n", "\tSerial m=3\n", "\tCumulative sum\n"}) {
            at = run.out.find(name, at);
            ASSERT_NE(at, std::string::npos) << k << name;
        }
}

// The same run on one thread and on several writes the same bytes.
TEST(TesterRun, ResultsDoNotDependOnTheThreads) {
    ScratchFolder dir;
    ParameterFileRecord record = QuickRecord(dir);
    record["EditNT"] = "9";
    record["Editn"] = "65536";
    record.LBorder = {1, 9, 21, 7, 19, 8}; // DFT, Serial, Collision, Runs, Coupon, Cusum
    record["uCOLLsmin"] = "12", record["uCOLLsmax"] = "14";
    const auto runOn = [&](const char* threads) {
        setenv("ZENTROPE_THREADS", threads, 1);
        const RunOutput run = RunWith(dir, record);
        unsetenv("ZENTROPE_THREADS");
        EXPECT_EQ(run.code, ExitOk) << run.err;
        return ReadBytes(dir.File("result.txt"));
    };
    const std::string one = runOn("1");
    EXPECT_NE(one.find("Sequence #9\n"), std::string::npos);
    EXPECT_NE(one.find("Collision s=12"), std::string::npos);
    EXPECT_EQ(runOn("3"), one);
    EXPECT_EQ(runOn("8"), one);
}

TEST(TesterRun, RunsThatCannotFitInMemoryEndBeforeTheFirstSequence) {
    ScratchFolder dir;
    dir.Write("result.txt", "old result");
    ParameterFileRecord record = QuickRecord(dir);
    record["EditNT"] = "2147483646"; // p-values alone would take more than 100 GiB
    RunOutput run = RunWith(dir, record);
    EXPECT_EQ(run.code, ExitFailed);
    EXPECT_NE(run.err.find("Not enough memory: the run needs about "), std::string::npos);
    EXPECT_EQ(run.out.find("Progress"), std::string::npos);
    // n = 0 splits a 1 TiB input (sparse) into one sequence of 2^43 bits.
    const std::string big = dir.Write("big.bin", "");
    std::filesystem::resize_file(big, uint64_t{1} << 40);
    record = QuickRecord(dir);
    record["Editn"] = "0";
    record["EditNT"] = "1";
    record["EditInFile"] = big;
    run = RunWith(dir, record);
    EXPECT_EQ(run.code, ExitFailed);
    EXPECT_NE(run.err.find("Not enough memory"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir.File("result.txt")), "old result");
    EXPECT_EQ(FilesIn(dir), 3u); // no temporary left behind
}

TEST(TesterRun, RefusesBadArgumentsAndUnreadableParameterFiles) {
    ScratchFolder dir;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunTester({}, out, err), ExitBadArguments);
    EXPECT_EQ(RunTester({"a", "b"}, out, err), ExitBadArguments);
    EXPECT_EQ(RunTester({dir.File("missing")}, out, err), ExitBadParameterFile);
    EXPECT_NE(err.str().find("missing"), std::string::npos);
    dir.Write("broken", "[General]\nnonsense 1\n");
    EXPECT_EQ(RunTester({dir.File("broken")}, out, err), ExitBadParameterFile);
}

TEST(TesterRun, TooFewBitsWriteNoResultAndKeepTheOldOne) {
    ScratchFolder dir;
    dir.Write("result.txt", "old result");
    ParameterFileRecord record = QuickRecord(dir);
    record["EditInFile"] = dir.Write("input.bin", std::string(2000, 'x')); // 16000 bits
    const RunOutput run = RunWith(dir, record);                            // needs 5 x 4096
    EXPECT_EQ(run.code, ExitBadInput);
    EXPECT_NE(run.err.find("Too few bits"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir.File("result.txt")), "old result");
    EXPECT_EQ(FilesIn(dir), 3u); // no temporary left behind
    record["EditInFile"] = dir.File("*.none");
    EXPECT_EQ(RunWith(dir, record).code, ExitBadInput);
}

TEST(TesterRun, ZeroLengthSplitsTheInputFilesOverTheSequences) {
    ScratchFolder dir;
    ParameterFileRecord record = QuickRecord(dir);
    record["Editn"] = "0";
    dir.Write("in1.bin", std::string(1000, '\x5A'));
    dir.Write("in2.bin", std::string(1000, '\x3C'));
    record["EditInFile"] = dir.File("in?.bin");
    ASSERT_EQ(RunWith(dir, record).code, ExitOk);
    const std::string text = ReadBytes(dir.File("result.txt"));
    EXPECT_NE(text.find("Bits per sequence (n): 3200\n"), std::string::npos);
    EXPECT_NE(text.find("in1.bin, "), std::string::npos);
    record["EditInFile"] = "";
    EXPECT_EQ(RunWith(dir, record).code, ExitBadInput); // the generator has no length of its own
}

TEST(TesterRun, AutoLengthRaisesNToWhatTheTestsNeed) {
    ScratchFolder dir;
    ParameterFileRecord record = QuickRecord(dir);
    record.LBorder = {2, 18}; // Maurer, Permutation
    record["uMAUmin"] = "6", record["uMAUmax"] = "6";
    // Four different 1-bit values never occur: no length is enough, so it is not chased.
    record["ePERMsmin"] = "1", record["ePERMsmax"] = "1", record["uPERMtmax"] = "4";
    record["EditNT"] = "3";
    record["cbAutoN"] = "1";
    ASSERT_EQ(RunWith(dir, record).code, ExitOk);
    const std::string text = ReadBytes(dir.File("result.txt"));
    EXPECT_NE(text.find("Bits per sequence (n): 387840\n"), std::string::npos);
    EXPECT_EQ(text.find("\n-1\tMaurer L=6"), std::string::npos);
    EXPECT_NE(text.find("\n-1\tPermutation s=1 t=4"), std::string::npos);
    EXPECT_NE(text.find("Permutation s=1 t=4: more than a sequence can hold"), std::string::npos);
}

TEST(TesterRun, ValuesTheReaderRefusesEndTheRunWithItsMessage) {
    ScratchFolder dir;
    dir.Write("result.txt", "old result");
    ParameterFileRecord record = QuickRecord(dir);
    record["Editn"] = "4";
    record["CBnUM"] = "3"; // Gbits: one more than a size holds
    const RunOutput run = RunWith(dir, record);
    EXPECT_EQ(run.code, ExitBadParameterFile);
    EXPECT_NE(run.err.find("Size out of range (0 to 4294967295 bits) in line: n 4 G"),
              std::string::npos);
    EXPECT_EQ(run.out.find("Bits per sequence"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir.File("result.txt")), "old result");
}

TEST(TesterRun, NothingToRunOrNowhereToWriteFails) {
    ScratchFolder dir;
    ParameterFileRecord record = QuickRecord(dir);
    record.LBorder = {};
    RunOutput run = RunWith(dir, record);
    EXPECT_EQ(run.code, ExitNothingToRun);
    // Enabled, but with no value in range: said so, with the values.
    record = QuickRecord(dir);
    record.LBorder = {21}; // Collision
    record["uCOLLsmin"] = "9", record["uCOLLsmax"] = "10";
    run = RunWith(dir, record);
    EXPECT_EQ(run.code, ExitNothingToRun);
    EXPECT_NE(run.err.find("no value in range"), std::string::npos);
    EXPECT_NE(run.err.find("Collision s=9 skipped: outside 11 to 32"), std::string::npos);
    record = QuickRecord(dir);
    record["EditOutFile"] = dir.File("no/such/folder/result.txt");
    EXPECT_EQ(RunWith(dir, record).code, ExitOutputFailed);
}

TEST(TesterRun, EmptyOutputNameWritesTheDefaultNameInTheWorkingFolder) {
    ScratchFolder dir;
    ParameterFileRecord record = QuickRecord(dir);
    record["EditOutFile"] = "";
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const int code = RunWith(dir, record).code;
    std::filesystem::current_path(before);
    EXPECT_EQ(code, ExitOk);
    EXPECT_TRUE(std::filesystem::exists(dir.File("_Zentrope.txt")));
}

} // namespace
} // namespace zentrope
