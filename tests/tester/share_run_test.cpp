// Shares of a run (Zentrope.exe --sequences) and their merge: the merged file must be the
// whole run's file byte for byte, and anything that would make it another file is refused.
#include "paramfile/file_replacement.h"
#include "paramfile/parameter_file_writer.h"
#include "results/grid/result_loader.h"
#include "results/shares/share_identity.h"
#include "tester/merge_shares.h"
#include "tester/no_result_reasons.h"
#include "tester/result_report.h"
#include "tester/tester_run.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <numeric>
#include <sstream>

namespace zentrope {
namespace {

using testing::DefaultRecord;
using testing::ReadBytes;
using testing::ScratchFolder;

struct Outcome {
    int code = 0;
    std::string out;
    std::string err;
};

Outcome Tester(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunTester(args, out, err);
    return {code, out.str(), err.str()};
}

std::string WriteParameters(const ScratchFolder& dir, const std::string& name,
                            ParameterFileRecord record) {
    record["EditOutFile"] = dir.File("whole.txt");
    return dir.Write(name, FormatParameterFile(record).text);
}

// One share per count, in order; returns their result files.
std::vector<std::string> RunShares(const ScratchFolder& dir, const std::string& para,
                                   const std::vector<int>& counts,
                                   const std::string& prefix = "share") {
    std::vector<std::string> results;
    int first = 0;
    for (const int count : counts) {
        const std::string range = std::to_string(first) + ":" + std::to_string(count);
        results.push_back(dir.File(prefix + std::to_string(first) + ".txt"));
        const Outcome run = Tester({para, "--sequences", range, "--result", results.back()});
        EXPECT_EQ(run.code, ExitOk) << range << ": " << run.err;
        first += count;
    }
    return results;
}

// Runs the whole run and each split of it, merged in reverse order, against its bytes.
void ExpectSplitsMergeIntoTheWholeRun(const ParameterFileRecord& record,
                                      const std::vector<std::vector<int>>& splits) {
    ScratchFolder dir;
    const std::string para = WriteParameters(dir, "para", record);
    const Outcome whole = Tester({para});
    ASSERT_EQ(whole.code, ExitOk) << whole.err;
    const std::string expected = ReadBytes(dir.File("whole.txt"));
    ASSERT_EQ(expected.find("Share"), std::string::npos); // a whole run names no share
    for (const std::vector<int>& counts : splits) {
        std::vector<std::string> shares = RunShares(dir, para, counts);
        std::reverse(shares.begin(), shares.end());
        const std::string merged = dir.File("merged.txt");
        ASSERT_EQ(MergeShares(shares, merged), "");
        EXPECT_TRUE(ReadBytes(merged) == expected) << counts.size() << " shares";
        for (const std::string& share : shares)
            std::filesystem::remove(share);
    }
}

TEST(ShareMerge, DefaultBatteryFromTheGeneratorMergesIntoTheWholeRunsFile) {
    ExpectSplitsMergeIntoTheWholeRun(DefaultRecord(),
                                     {{50}, {17, 16, 17}, {1, 9, 3, 12, 7, 8, 10}});
}

TEST(ShareMerge, InputFilesSplitEvenlyAndAutoLengthGiveEveryShareTheRunsLength) {
    // n = 0 over three files: 7 sequences of 1,497,978 bits, so shares start inside bytes
    // and files, and the empty middle file is passed over.
    ScratchFolder input;
    std::string bytes(1310731, '\0');
    uint64_t x = 12345;
    for (char& c : bytes) {
        x = x * 6364136223846793005u + 1442695040888963407u;
        c = static_cast<char>(x >> 56);
    }
    input.Write("in1.bin", bytes.substr(0, 400001));
    input.Write("in2.bin", "");
    input.Write("in3.bin", bytes.substr(400001));
    ParameterFileRecord record = DefaultRecord();
    record["Editn"] = "0";
    record["EditNT"] = "7";
    record["EditInFile"] = input.File("in*.bin");
    ExpectSplitsMergeIntoTheWholeRun(record, {{2, 1, 4}});
    // auto_n raises n for the whole run; each share must raise it the same way.
    ParameterFileRecord autoLength = DefaultRecord();
    autoLength["Editn"] = "20000";
    autoLength["CBnUM"] = "0";
    autoLength["EditNT"] = "5";
    autoLength["cbAutoN"] = "1";
    autoLength["CBsaveFormat"] = "1"; // "test_name[TAB]p-value" lines read back too
    autoLength.LBorder = {9, 8};
    ExpectSplitsMergeIntoTheWholeRun(autoLength, {{3, 2}});
}

// Lines the tester writes after the last section about single sequences ("No result: line 1
// "A", sequence 2: ...") must come from every share, in sequence order, followed by one empty
// line. No test gives such a line on the bits a test can make on demand, so the files are
// written with the tester's own formatting, as a run with a -1 on sequences 2 and 5 writes them.
TEST(ShareMerge, ReasonsFoundOnSingleSequencesComeFromEveryShare) {
    const ParameterSet set = testing::DefaultSet();
    const std::vector<std::string> names = {"A", "B"};
    std::vector<std::vector<double>> pValues;
    for (int k = 0; k < 6; ++k)
        pValues.push_back({k == 1 || k == 4 ? -1.0 : 0.125 * (k + 1), 0.5 - 0.0625 * k});
    const auto file = [&](int first, int count, bool share) {
        RunResults results;
        results.header = {"Zentrope stand-in tester", "Number of sequences (NT): 6"};
        if (share)
            for (std::string& line : FormatShareLines({first, count, 6, std::string(64, 'e'), set}))
                results.header.push_back(std::move(line));
        results.lineNames = names;
        std::string text = FormatReportHeader(results.header);
        std::string reasons;
        for (int k = first; k < first + count; ++k) {
            text += FormatSection(static_cast<size_t>(k), names, pValues[k], set);
            results.pValues.push_back(pValues[k]);
            if (pValues[k][0] < 0)
                reasons += NoResultLine(0, "A", static_cast<size_t>(k), SequenceReason) + "\n";
        }
        return text + FormatRunEnd(reasons, results, set);
    };
    ScratchFolder dir;
    const std::string whole = file(0, 6, false);
    ASSERT_NE(whole.find(", sequence 5: "), std::string::npos);
    const std::vector<std::string> shares = {dir.Write("a", file(0, 2, true)),
                                             dir.Write("b", file(2, 1, true)),
                                             dir.Write("c", file(3, 3, true))};
    ASSERT_EQ(MergeShares(shares, dir.File("merged")), "");
    EXPECT_EQ(ReadBytes(dir.File("merged")), whole);
}

// A quick run of two lines and six sequences, in shares 0:2, 2:2 and 4:2.
struct QuickShares {
    ScratchFolder dir;
    std::string para;
    std::vector<std::string> shares;
    std::string out;

    QuickShares() {
        ParameterFileRecord record = DefaultRecord();
        record["Editn"] = "20000";
        record["CBnUM"] = "0";
        record["EditNT"] = "6";
        record.LBorder = {9, 8};
        para = WriteParameters(dir, "para", record);
        shares = RunShares(dir, para, {2, 2, 2});
        out = dir.Write("merged.txt", "older result");
    }
    // Refused with every phrase in the message, and nothing written.
    void ExpectRefused(const std::vector<std::string>& files,
                       const std::vector<std::string>& phrases) const {
        const std::string message = MergeShares(files, out);
        for (const std::string& phrase : phrases)
            EXPECT_NE(message.find(phrase), std::string::npos) << message;
        EXPECT_EQ(ReadBytes(out), "older result");
    }
};

std::string Truncated(const ScratchFolder& dir, const std::string& file, const std::string& at) {
    const std::string text = ReadBytes(file);
    return dir.Write("truncated.txt", text.substr(0, text.find(at)));
}

TEST(ShareMerge, RefusesWhatWouldNotGiveTheWholeRunNamingTheFile) {
    QuickShares q;
    const auto& s = q.shares;
    q.ExpectRefused({s[0], s[2]}, {"No share holds sequences 3 to 4", s[0], s[2]});
    q.ExpectRefused({s[1], s[2]}, {"No share holds sequences 1 to 2", s[1]});
    q.ExpectRefused({s[0], s[1]}, {"No share holds sequences 5 to 6"});
    const std::string overlapping =
        RunShares(q.dir, q.para, {1, 2}, "over")[1]; // sequences 2 and 3
    q.ExpectRefused({s[0], overlapping, s[1], s[2]}, {"both hold sequence 2", overlapping});
    q.ExpectRefused({s[0], s[0], s[1], s[2]}, {"both hold sequences 1 to 2"});
    // Another parameter file, even one that differs only in its comment, is another run.
    const std::string otherPara = q.dir.Write("other", ReadBytes(q.para) + "# changed\n");
    const std::string other = q.dir.File("other.txt");
    ASSERT_EQ(Tester({otherPara, "--sequences", "2:2", "--result", other}).code, ExitOk);
    q.ExpectRefused({s[0], other, s[2]}, {"belongs to another run", other, "SHA-256"});
    // Cut short: without the summary (as a .partial would be), within a section, one
    // section missing, in the middle of a line.
    q.ExpectRefused({s[0], Truncated(q.dir, s[1], "Summary over"), s[2]},
                    {"is cut short", "summary", "truncated.txt"});
    q.ExpectRefused({s[0], Truncated(q.dir, s[1], "\nSequence #4"), s[2]},
                    {"is cut short", "Sequence #3"});
    q.ExpectRefused({s[0], Truncated(q.dir, s[1], "Sequence #4"), s[2]},
                    {"is cut short", "1 of its 2 sequences"});
    const std::string text = ReadBytes(s[1]);
    q.ExpectRefused({s[0], q.dir.Write("truncated.txt", text.substr(0, text.size() - 3)), s[2]},
                    {"is cut short"});
    // Not a share's result: the parameter file, a whole run's result, a missing file.
    q.ExpectRefused({q.para}, {"is not the result of a share", q.para});
    ASSERT_EQ(Tester({q.para}).code, ExitOk);
    q.ExpectRefused({q.dir.File("whole.txt")}, {"is not the result of a share"});
    q.ExpectRefused({s[0], q.dir.File("gone.txt")}, {"cannot be read", "gone.txt"});
    EXPECT_FALSE(std::filesystem::exists(TemporaryNameFor(q.out)));
    EXPECT_EQ(MergeShares(q.shares, q.out), "");
    EXPECT_EQ(ReadBytes(q.out), ReadBytes(q.dir.File("whole.txt")));
}

TEST(TesterShare, TestsOnlyItsSequencesAndRefusesRangesOutsideTheRun) {
    QuickShares q;
    const Outcome share = Tester({q.para, "--sequences", "3:2", "--result", q.dir.File("s.txt")});
    ASSERT_EQ(share.code, ExitOk);
    const std::string text = ReadBytes(q.dir.File("s.txt"));
    const size_t section = text.find("\nSequence #4\n");
    const size_t lines = static_cast<size_t>(std::count(
        text.begin() + static_cast<std::ptrdiff_t>(section),
        text.begin() + static_cast<std::ptrdiff_t>(text.find("\n\n", section + 1)), '\t'));
    EXPECT_NE(share.out.find("Progress: 0 of " + std::to_string(2 * lines) + "\n"),
              std::string::npos); // its own two sequences

    EXPECT_NE(text.find("\nSequence #4\n"), std::string::npos);
    EXPECT_NE(text.find("\nSequence #5\n"), std::string::npos);
    EXPECT_EQ(text.find("\nSequence #3\n"), std::string::npos);
    EXPECT_EQ(text.find("\nSequence #6\n"), std::string::npos);
    EXPECT_NE(text.find("Share of a run: first 3, count 2, NT 6, parameter file SHA-256 "),
              std::string::npos);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{q.para, "--sequences", "5:2"},
                                               {q.para, "--sequences", "6:1"},
                                               {q.para, "--sequences", "-1:2"},
                                               {q.para, "--sequences", "0:0"},
                                               {q.para, "--sequences", "2"},
                                               {q.para, "--sequences"},
                                               {q.para, "--result", ""},
                                               {q.para, "--shards", "2"}}) {
        const Outcome refused = Tester(args);
        EXPECT_EQ(refused.code, ExitBadArguments) << args.back();
        EXPECT_NE(refused.err.find("Usage: Zentrope.exe"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(q.dir.File("whole.txt")));
}

// The summary after the sections must give the figures the window computes from the file's
// p-values, since a merge can only compute them from those.
TEST(TesterSummary, FiguresAreThoseTheLoaderComputesFromTheWrittenPValues) {
    ScratchFolder dir;
    ParameterFileRecord record = DefaultRecord();
    record["Editn"] = "20000";
    record["CBnUM"] = "0";
    record["EditNT"] = "40";
    record["UDpvalDGT"] = "2"; // coarse p-values move the figures far from the exact ones
    record.LBorder = {9, 8, 17, 18};
    ASSERT_EQ(Tester({WriteParameters(dir, "para", record)}).code, ExitOk);
    ResultGrid grid;
    ResultLoadOptions options;
    options.pval_digits = 2;
    ASSERT_TRUE(
        LoadResultFile(dir.File("whole.txt"), options, grid, [](const std::string&) {}).loaded);
    // Summary lines: KS, AD, SL, valid, name, and maybe a remark, TAB-separated.
    const std::string text = ReadBytes(dir.File("whole.txt"));
    const std::string titles = "KS\tAD\tSL\tvalid\ttest\n";
    std::istringstream lines(text.substr(text.find(titles) + titles.size()));
    std::map<std::string, std::string, std::less<>> summary; // name -> "KS\tAD\tSL"
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields(1);
        for (const char c : line)
            if (c == '\t')
                fields.emplace_back();
            else
                fields.back().push_back(c);
        ASSERT_GE(fields.size(), 5u) << line;
        summary[fields[4]] = fields[0] + "\t" + fields[1] + "\t" + fields[2];
    }
    const int ks = grid.SequenceColumnEnd() + 1;
    ASSERT_EQ(summary.size(), static_cast<size_t>(grid.RowCount() - 1));
    // The summary writes "n/a" where the table shows "- error -" (no result on this length).
    const auto figure = [&grid](int column, int row) {
        return grid.IsErrorCell(column, row) ? std::string("n/a")
                                             : std::string(grid.Cell(column, row));
    };
    int withFigures = 0;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const std::string name(grid.Cell(1, row));
        withFigures += grid.IsErrorCell(ks, row) ? 0 : 1;
        EXPECT_EQ(summary[name],
                  figure(ks, row) + "\t" + figure(ks + 1, row) + "\t" + figure(ks + 2, row))
            << name;
    }
    EXPECT_GE(withFigures, 5);
}

} // namespace
} // namespace zentrope
