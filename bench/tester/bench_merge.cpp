// Merging 100 shares of 10 sequences x 123 result lines (the default battery's line count)
// into one result file: the shares are written in the tester's own format, with random
// p-values, then merged as zentrope-merge does. Target: under 1 s.
#include "bench/results/best_time.h"
#include "model/c_text.h"
#include "results/shares/share_identity.h"
#include "tester/merge_shares.h"
#include "tester/result_report.h"
#include "tests/paramfile/test_support.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace zentrope {
namespace {

constexpr int Shares = 100;
constexpr int SequencesPerShare = 10;
constexpr int Lines = 123;

std::vector<std::string> WriteShares(const std::filesystem::path& folder) {
    ParameterSet settings = testing::DefaultSet();
    std::vector<std::string> names;
    for (int line = 0; line < Lines; ++line)
        names.push_back("Test line " + std::to_string(line));
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::vector<std::string> paths;
    for (int s = 0; s < Shares; ++s) {
        RunResults share;
        share.header = {"Zentrope stand-in tester", "Bits per sequence (n): 1048576"};
        const ShareIdentity identity{s * SequencesPerShare, SequencesPerShare,
                                     Shares * SequencesPerShare, std::string(64, '0'), settings};
        for (std::string& line : FormatShareLines(identity))
            share.header.push_back(std::move(line));
        share.lineNames = names;
        std::string text = FormatReportHeader(share.header);
        for (int k = 0; k < SequencesPerShare; ++k) {
            std::vector<double> row;
            for (int line = 0; line < Lines; ++line)
                row.push_back(AtofC(FormatFixed(uniform(random), settings.pval_digits)));
            text +=
                FormatSection(static_cast<size_t>(s * SequencesPerShare + k), names, row, settings);
            share.pValues.push_back(row);
        }
        text += FormatSummary(share, settings);
        paths.push_back((folder / ("share" + std::to_string(s) + ".txt")).string());
        std::ofstream(paths.back(), std::ios::binary) << text;
    }
    return paths;
}

} // namespace
} // namespace zentrope

int main() {
    using namespace zentrope;
    const testing::ScratchFolder folder;
    const std::vector<std::string> shares = WriteShares(folder.path());
    const std::string out = folder.File("merged.txt");
    std::string problem;
    const Timing t = BestTime([] {}, [&] { problem = MergeShares(shares, out); }, 5);
    if (!problem.empty()) {
        std::fprintf(stderr, "merge failed: %s\n", problem.c_str());
        return 1;
    }
    std::printf("Merge of %d shares x %d sequences x %d lines (%.1f MB): %.3f s wall, %.3f s "
                "processor (target: under 1 s)\n",
                Shares, SequencesPerShare, Lines,
                static_cast<double>(std::filesystem::file_size(out)) / 1e6, t.wall, t.cpu);
    return 0;
}
