#include "tester/tester_run.h"
#include "model/c_text.h"
#include "paramfile/parameter_file_reader.h"
#include "results/shares/share_identity.h"
#include "tester/bit_input.h"
#include "tester/memory_budget.h"
#include "tester/no_result_reasons.h"
#include "tester/parallel_run.h"
#include "tester/result_report.h"
#include "tester/result_stream.h"
#include "tester/sha256.h"
#include "tester/temporary_cleanup.h"
#include "tester/test_plan.h"
#include "tester/tester_arguments.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <ostream>

namespace zentrope {
namespace {

constexpr std::string_view DefaultOutFile = "_Zentrope.txt";

struct RunSetup {
    ParameterSet set;
    TestPlan plan;
    std::unique_ptr<BitInput> input;
    uint64_t n = 0;
    unsigned threads = 1;
    std::vector<std::string> header;
    // The sequences tested: the whole run, or the share the command line asks for.
    int32_t first = 0;
    int32_t count = 0;
    std::string outFile;
};

std::string HexSeed() {
    char hex[24];
    std::snprintf(hex, sizeof hex, "0x%016llX", static_cast<unsigned long long>(DefaultSeed));
    return hex;
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text.empty() ? "none" : text;
}

// The most bits a line needs, among the lines that a sequence (at most 2^32 - 1 bits) can
// satisfy at all.
uint64_t MostRequiredBits(const RunSetup& run) {
    uint64_t most = 0;
    for (const PlannedTest& line : run.plan.lines) {
        const uint64_t needed = RequiredBits(line, run.set);
        if (needed <= UINT32_MAX)
            most = std::max(most, needed);
    }
    return most;
}

std::string NeededText(uint64_t bits) {
    return bits <= UINT32_MAX ? std::to_string(bits) : "more than a sequence can hold";
}

// Settles n from the settings and the input; an empty text means it fits.
std::string ChooseLength(RunSetup& run) {
    const auto sequences = static_cast<uint64_t>(run.set.NT);
    const uint64_t available = run.input->TotalFileBits() / sequences;
    const bool files = !run.input->IsGenerator();
    run.n = run.set.n;
    if (run.n == 0 && files)
        run.n = available;
    if (run.n == 0)
        return "n = 0 needs an input file (all its bits split over the sequences)";
    if (run.set.auto_n) {
        const uint64_t wanted = MostRequiredBits(run);
        if (wanted > run.n) {
            run.n = files ? std::max(run.n, std::min(wanted, available)) : wanted;
            run.header.push_back("auto_n: n raised to " + std::to_string(run.n) + " bits");
        }
    }
    if (files && run.n > available)
        return "Too few bits: " + std::to_string(sequences) + " sequences of " +
               std::to_string(run.n) + " bits need " + std::to_string(sequences * run.n) +
               " bits, the input has " + std::to_string(run.input->TotalFileBits());
    return {};
}

std::string OpenInput(RunSetup& run) {
    const std::string pattern = run.set.InFile.value_or("");
    if (pattern.empty()) {
        run.input = std::make_unique<BitInput>(DefaultSeed);
        return {};
    }
    std::vector<std::string> files = ExpandInputPattern(pattern);
    if (files.empty())
        return "No input file matches \"" + pattern + "\"";
    run.input = std::make_unique<BitInput>(std::move(files));
    return {};
}

std::string OutFileName(const ParameterSet& set) {
    return set.OutFile.value_or("").empty() ? std::string(DefaultOutFile) : *set.OutFile;
}

// A share names its run and range, and the summary's settings, so that shares can be merged
// into the file the whole run would have written.
std::string DescribeShare(RunSetup& run, const std::string& paramPath) {
    const std::optional<std::string> sha = FileSha256Hex(paramPath);
    if (!sha)
        return "The parameter file \"" + paramPath + "\" could not be read";
    ShareIdentity share{run.first, run.count, run.set.NT, *sha, run.set};
    for (std::string& line : FormatShareLines(share))
        run.header.push_back(std::move(line));
    return {};
}

// A share's sequences take the bits they get in the whole run.
std::string ChooseShare(RunSetup& run, const TesterArguments& arguments) {
    run.outFile = arguments.resultPath.value_or(OutFileName(run.set));
    run.count = run.set.NT;
    if (!arguments.sequences)
        return {};
    const SequenceRange range = *arguments.sequences;
    if (range.first > run.set.NT - range.count)
        return "--sequences " + std::to_string(range.first) + ":" + std::to_string(range.count) +
               " reaches past the run's last sequence (NT = " + std::to_string(run.set.NT) + ")";
    run.first = range.first;
    run.count = range.count;
    return {};
}

void DescribeRun(RunSetup& run, const std::string& paramPath) {
    std::vector<std::string>& h = run.header;
    h.insert(h.begin(), {"Zentrope stand-in tester", "Parameter file: " + paramPath});
    if (run.input->IsGenerator())
        h.push_back("Input: built-in generator xoshiro256**, seed " + HexSeed());
    else
        h.push_back("Input: " + Joined(run.input->Files()) + " (" +
                    std::to_string(run.input->TotalFileBits()) + " bits)");
    h.push_back("Bits per sequence (n): " + std::to_string(run.n));
    h.push_back("Number of sequences (NT): " + std::to_string(run.set.NT));
    h.push_back("Result lines, with the bits per sequence each needs:");
    for (const PlannedTest& line : run.plan.lines)
        h.push_back("  " + line.name + ": " + NeededText(RequiredBits(line, run.set)));
    h.push_back("Not implemented, no line written: " + Joined(run.plan.notImplemented));
    for (const std::string& note : run.plan.notes)
        h.push_back("Note: " + note);
    for (size_t row = 0; row < run.plan.lines.size(); ++row) {
        const PlannedTest& line = run.plan.lines[row];
        if (const auto reason = LengthReason(line, run.set, run.n))
            h.push_back(NoResultLine(row, line.name, *reason));
    }
}

// Any problem the reader reports ends the run: a value it could not take would otherwise be
// replaced by its default, and the run would test something the file does not ask for.
std::string ReadSettings(const std::string& path, ParameterSet& set, std::ostream& err) {
    ApplyDefaults(set);
    bool reported = false;
    const MessageSink sink = [&err, &reported](const std::string& text) {
        err << text << "\n";
        reported = true;
    };
    if (ReadParameterFile(path, set, sink) != 0)
        return "The parameter file \"" + path + "\" could not be read";
    if (reported)
        return "The run stops: the parameter file \"" + path +
               "\" holds a value that cannot be used as written";
    if (set.NT < 1)
        return "NT must be at least 1";
    // The reader takes larger numbers as the largest it holds: the run would test fewer.
    if (set.NT == INT32_MAX)
        return "NT must be below " + std::to_string(INT32_MAX);
    if (set.pval_digits < 0 || set.pval_digits > MaxFixedDigits)
        return "pval_digits must be from 0 to " + std::to_string(MaxFixedDigits) + ", not " +
               std::to_string(set.pval_digits);
    return {};
}

// Enabled tests whose values are all out of range leave notes; they say why nothing runs.
void ReportNothingToRun(const TestPlan& plan, std::ostream& err) {
    if (plan.notes.empty()) {
        err << "No implemented test is enabled; not implemented: " << Joined(plan.notImplemented)
            << "\n";
        return;
    }
    err << "No result line to run: the enabled tests have no value in range\n";
    for (const std::string& note : plan.notes)
        err << "Note: " << note << "\n";
    if (!plan.notImplemented.empty())
        err << "Not implemented: " << Joined(plan.notImplemented) << "\n";
}

void LowerPriority(const ParameterSet& set) {
    if (set.IdlePriority)
        setpriority(PRIO_PROCESS, 0, 19);
}

// Lowers the threads until the run fits in memory; an empty text means it fits.
std::string FitInMemory(RunSetup& run) {
    const unsigned wanted = ThreadsToUse();
    const MemoryBytes available = AvailableMemory();
    run.threads = ThreadsThatFit(run.plan, run.set, run.n, run.set.NT, wanted, available);
    if (run.threads > 0)
        return {};
    const MemoryBytes need = RunMemory(run.plan, run.set, run.n, run.set.NT, 1);
    const bool touched = need.touched > available.touched;
    const uint64_t needed = touched ? need.touched : need.mapped;
    const uint64_t room = touched ? available.touched : available.mapped;
    return "Not enough memory: the run needs about " +
           std::to_string((needed + (1 << 20) - 1) >> 20) + " MiB" +
           (touched ? "" : " of address space") + " (sequences of " + std::to_string(run.n) +
           " bits, " + std::to_string(run.set.NT) + " sequences of p-values), " +
           std::to_string(room >> 20) + " MiB are available";
}

// The summary takes the p-values as the file holds them, as the window's figures do; so
// does a merge of shares, which can only read them back.
std::vector<double> AsWritten(const std::vector<double>& pValues, int32_t digits) {
    std::vector<double> written;
    written.reserve(pValues.size());
    for (const double p : pValues)
        written.push_back(p < 0 ? -1.0 : AtofC(FormatFixed(p, digits)));
    return written;
}

// Lines whose reason is already in the header: every sequence fails them on its length.
std::vector<bool> LinesFailingOnLength(const RunSetup& run) {
    std::vector<bool> fails;
    for (const PlannedTest& line : run.plan.lines)
        fails.push_back(LengthReason(line, run.set, run.n).has_value());
    return fails;
}

void ShowProgress(std::ostream& out, uint64_t done, uint64_t total) {
    out << "Progress: " << done << " of " << total << std::endl;
}

// Sections go to the temporary as their sequences finish; the p-values stay for the summary.
// ExitOk, or the failure's exit code after its message.
int TestSequences(RunSetup& run, std::ostream& out, std::ostream& err) {
    RunResults results;
    results.header = run.header;
    for (const PlannedTest& line : run.plan.lines)
        results.lineNames.push_back(line.name);
    const std::string& outFile = run.outFile;
    RemoveTemporariesOnSignals();
    ResultStream stream(outFile);
    if (!stream.Open()) {
        err << "The result file \"" << outFile << "\" could not be written\n";
        return ExitOutputFailed;
    }
    stream.Write(FormatReportHeader(results.header));
    results.pValues.reserve(static_cast<size_t>(run.count));
    // Rows come from the worker threads, progress from this one; both write to `out`.
    std::mutex outLock;
    const std::vector<bool> lengthFails = LinesFailingOnLength(run);
    std::string sequenceReasons;
    const RowSink rows = [&](int32_t k, const std::vector<double>& pValues) {
        stream.Write(
            FormatSection(static_cast<size_t>(run.first + k), results.lineNames, pValues, run.set));
        for (size_t line = 0; line < pValues.size(); ++line)
            if (pValues[line] < 0 && !lengthFails[line])
                sequenceReasons +=
                    NoResultLine(line, results.lineNames[line], static_cast<size_t>(run.first + k),
                                 SequenceReason) +
                    "\n";
        results.pValues.push_back(AsWritten(pValues, run.set.pval_digits));
        if (!run.set.ShowPvals)
            return;
        const std::lock_guard lock(outLock);
        for (size_t line = 0; line < pValues.size(); ++line)
            out << FormatResultLine(results.lineNames[line], pValues[line], run.set) << "\n";
    };
    const ProgressSink progress = [&](uint64_t done, uint64_t total) {
        const std::lock_guard lock(outLock);
        ShowProgress(out, done, total);
    };
    const SequenceWork work{&run.plan, &run.set,    run.input.get(),          run.n,
                            run.count, run.threads, run.set.IdlePriority != 0};
    if (!TestAllSequences(work, rows, progress)) {
        err << "The input ended before the last sequence.\nNo result file written.\n";
        return ExitBadInput;
    }
    stream.Write(FormatRunEnd(sequenceReasons, results, run.set));
    if (!stream.Commit()) {
        err << "The result file \"" << outFile << "\" could not be written\n";
        return ExitOutputFailed;
    }
    out << "Results written to " << outFile << std::endl;
    return ExitOk;
}

} // namespace

int RunTester(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<TesterArguments> arguments = ParseTesterArguments(args, problem);
    if (!arguments) {
        err << problem << "\n" << TesterUsage << "\n";
        return ExitBadArguments;
    }
    if (problem = ThreadsSettingProblem(); !problem.empty()) {
        err << problem << "\n";
        return ExitBadArguments;
    }
    const std::string& paramPath = arguments->parameterFile;
    RunSetup run;
    if (problem = ReadSettings(paramPath, run.set, err); !problem.empty()) {
        err << problem << "\n";
        return ExitBadParameterFile;
    }
    if (problem = ChooseShare(run, *arguments); !problem.empty()) {
        err << problem << "\n" << TesterUsage << "\n";
        return ExitBadArguments;
    }
    run.plan = MakeTestPlan(run.set);
    if (run.plan.lines.empty()) {
        ReportNothingToRun(run.plan, err);
        return ExitNothingToRun;
    }
    problem = OpenInput(run);
    if (problem.empty())
        problem = ChooseLength(run);
    if (problem.empty() && !run.input->SkipSequences(static_cast<uint64_t>(run.first), run.n))
        problem = "The input ended before the share's first sequence";
    if (!problem.empty()) {
        err << problem << "\nNo result file written.\n";
        return ExitBadInput;
    }
    if (problem = FitInMemory(run); !problem.empty()) {
        err << problem << "\nNo result file written.\n";
        return ExitFailed;
    }
    DescribeRun(run, paramPath);
    if (arguments->sequences) {
        if (problem = DescribeShare(run, paramPath); !problem.empty()) {
            err << problem << "\n";
            return ExitBadParameterFile;
        }
    }
    LowerPriority(run.set);
    for (const std::string& line : run.header)
        out << line << "\n";
    return TestSequences(run, out, err);
}

} // namespace zentrope
