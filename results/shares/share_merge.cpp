#include "results/shares/share_merge.h"
#include "paramfile/file_replacement.h"
#include "results/shares/share_file.h"

#include <algorithm>

namespace zentrope {
namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Sequences a to b (from 0) as the headings number them.
std::string Range(int64_t from, int64_t to) {
    return from == to ? "sequence " + std::to_string(from + 1)
                      : "sequences " + std::to_string(from + 1) + " to " + std::to_string(to + 1);
}

std::vector<std::string> RunReport(const ShareFile& share) {
    std::vector<std::string> lines;
    for (const std::string& line : share.header)
        if (!IsShareLine(line))
            lines.push_back(line);
    return lines;
}

// What makes `other` a share of another run than `first`; empty when it is not.
std::string RunDifference(const ShareFile& first, const ShareFile& other) {
    if (first.identity.parameterSha256 != other.identity.parameterSha256)
        return "another parameter file (SHA-256)";
    if (first.identity.nt != other.identity.nt)
        return "another NT";
    if (first.lineNames != other.lineNames)
        return "other result lines";
    const std::vector<std::string> a = RunReport(first);
    const std::vector<std::string> b = RunReport(other);
    const auto differ = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (differ.first != a.end())
        return "a report that says \"" + (differ.second == b.end() ? "" : *differ.second) +
               "\" where the other says \"" + *differ.first + "\"";
    if (differ.second != b.end())
        return "a report with the extra line \"" + *differ.second + "\"";
    return {};
}

// Sorted by first sequence, the shares must cover 0 .. NT - 1 once each.
std::string CoverageProblem(const std::vector<ShareFile>& shares) {
    int64_t next = 0;
    const ShareFile* previous = nullptr;
    for (const ShareFile& share : shares) {
        const int64_t first = share.identity.first;
        if (first > next)
            return "No share holds " + Range(next, first - 1) +
                   (previous ? " (between " + Quoted(previous->path) + " and " : " (before ") +
                   Quoted(share.path) + ")";
        if (first < next)
            return "The shares " + Quoted(previous->path) + " and " + Quoted(share.path) +
                   " both hold " +
                   Range(first, std::min<int64_t>(next, first + share.identity.count) - 1);
        next = first + share.identity.count;
        previous = &share;
    }
    const int64_t nt = shares.front().identity.nt;
    if (next < nt)
        return "No share holds " + Range(next, nt - 1) + " (the run has " + std::to_string(nt) +
               ")";
    return {};
}

std::string MergedText(const std::vector<ShareFile>& shares, const RunEndWriter& runEnd) {
    MergedRun run;
    run.lineNames = shares.front().lineNames;
    run.summarySettings = shares.front().identity.summary;
    std::string text;
    for (const std::string& line : RunReport(shares.front()))
        text += line + "\n";
    for (const ShareFile& share : shares) {
        text.append(share.text, share.sectionsBegin, share.sectionsEnd - share.sectionsBegin);
        run.pValues.insert(run.pValues.end(), share.pValues.begin(), share.pValues.end());
    }
    for (const ShareFile& share : shares)
        for (const std::string& line : share.sequenceNotes)
            run.sequenceNotes += line + "\n";
    return text + runEnd(run);
}

} // namespace

std::string MergeShareFiles(const std::vector<std::string>& sharePaths, const std::string& outPath,
                            const RunEndWriter& runEnd) {
    if (sharePaths.empty())
        return "No share to merge";
    std::vector<ShareFile> shares;
    for (const std::string& path : sharePaths) {
        ShareReading reading = ReadShareFile(path);
        if (!reading.problem.empty())
            return reading.problem;
        shares.push_back(std::move(reading.share));
    }
    for (const ShareFile& share : shares)
        if (const std::string what = RunDifference(shares.front(), share); !what.empty())
            return "The share " + Quoted(share.path) + " belongs to another run than " +
                   Quoted(shares.front().path) + ": it has " + what;
    std::stable_sort(shares.begin(), shares.end(), [](const ShareFile& a, const ShareFile& b) {
        return a.identity.first < b.identity.first;
    });
    if (std::string problem = CoverageProblem(shares); !problem.empty())
        return problem;
    if (!ReplaceFileContents(outPath, MergedText(shares, runEnd)))
        return "The merged result " + Quoted(outPath) + " could not be written";
    return {};
}

} // namespace zentrope
