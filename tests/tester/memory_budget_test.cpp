// The memory check against real runs: each run goes to a child process whose address space is
// limited with setrlimit, so a run the check lets through but that needs more dies there
// (FFTW aborts, new throws), and a run refused is refused before its first sequence.
#include "paramfile/parameter_file_reader.h"
#include "paramfile/parameter_file_writer.h"
#include "tester/memory_budget.h"
#include "tester/tester_run.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace zentrope {
namespace {

using testing::DefaultRecord;
using testing::ReadBytes;
using testing::ScratchFolder;

constexpr uint64_t MiB = uint64_t{1} << 20;

struct ChildRun {
    bool exited = false; // false: killed by a signal (FFTW's abort on a failed allocation)
    int code = -1;
    std::string out;
    std::string err;
    uint64_t peakBytes = 0;  // the child's largest resident size
    uint64_t startBytes = 0; // its resident size when it began, shared with this process
    MemoryBytes need;        // what the check counted for one thread
};

uint64_t StatusField(const std::string& key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.starts_with(key))
            return std::stoull(line.substr(key.size())) * 1024;
    ADD_FAILURE() << key << " missing";
    return 0;
}

MemoryBytes NeedOnOneThread(const std::string& para) {
    ParameterSet set;
    ApplyDefaults(set);
    ReadParameterFile(para, set, [](const std::string&) {});
    return RunMemory(MakeTestPlan(set), set, set.n, set.NT, 1);
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Runs the tester on one thread in a child whose address space may grow by `room` bytes
// beyond what it holds at the start; room 0 grants exactly what the check counts.
ChildRun RunLimited(const ScratchFolder& dir, const ParameterFileRecord& record, uint64_t room) {
    const std::string para = dir.Write("para", FormatParameterFile(record).text);
    ChildRun run;
    run.need = NeedOnOneThread(para);
    run.startBytes = StatusField("VmRSS:");
    const pid_t child = fork();
    if (child == 0) {
        setenv("ZENTROPE_THREADS", "1", 1);
        const uint64_t limit = StatusField("VmSize:") + (room == 0 ? run.need.mapped : room);
        const rlimit as{limit, limit};
        setrlimit(RLIMIT_AS, &as);
        std::ostringstream out, err;
        int code = ExitFailed;
        try {
            code = RunTester({para}, out, err);
        } catch (const std::bad_alloc&) {
            err << "out of memory in the run";
        }
        WriteText(dir.File("child.out"), out.str());
        WriteText(dir.File("child.err"), err.str());
        _exit(code);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.exited = WIFEXITED(status);
    run.code = run.exited ? WEXITSTATUS(status) : -1;
    run.out = ReadBytes(dir.File("child.out"));
    run.err = ReadBytes(dir.File("child.err"));
    run.peakBytes = static_cast<uint64_t>(usage.ru_maxrss) * 1024;
    return run;
}

ParameterFileRecord Record(const ScratchFolder& dir, const std::string& n, const std::string& nt,
                           std::vector<int> tests) {
    ParameterFileRecord r = DefaultRecord();
    r["Editn"] = n;
    r["CBnUM"] = "0";
    r["EditNT"] = nt;
    r.LBorder = std::move(tests);
    r["EditOutFile"] = dir.File("result.txt");
    return r;
}

// One-row DFT lines without the length limits: every bit transformed as it is.
ParameterFileRecord WholeLengthDft(const ScratchFolder& dir, const std::string& n) {
    ParameterFileRecord r = Record(dir, n, "1", {1});
    r["eDFTmax"] = "0", r["CBdftMax"] = "0";
    r["eDFToptimize"] = "0", r["CBdftOptimize"] = "0";
    r["eDFTdmin"] = "1", r["eDFTdmax"] = "1", r["eDFTdstp"] = "0";
    return r;
}

uint64_t NamedNeed(const std::string& message) {
    const std::string lead = "Not enough memory: the run needs about ";
    return message.starts_with(lead) ? std::stoull(message.substr(lead.size())) * MiB : 0;
}

void ExpectRefusedBeforeTheFirstSequence(const ChildRun& run, uint64_t room,
                                         const ScratchFolder& dir) {
    ASSERT_TRUE(run.exited) << "killed by a signal: " << run.err;
    EXPECT_EQ(run.code, ExitFailed) << run.err;
    EXPECT_GT(NamedNeed(run.err), room) << run.err;
    EXPECT_EQ(run.out.find("Progress"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "result.txt"));
}

// A million p-values of one line take 56 bytes each in their rows, not 8: under a limit of
// 200 MB the run is refused at once instead of dying after seconds.
TEST(MemoryBudget, RefusesBeforeTheFirstSequenceWhatALimitCannotHold) {
    ScratchFolder dir;
    constexpr uint64_t Room = 200 * 1000 * 1000;
    ExpectRefusedBeforeTheFirstSequence(RunLimited(dir, Record(dir, "1000", "4194304", {5}), Room),
                                        Room, dir);
    // A prime length without limits: 67,108,837 bits took FFTW 3.7 GB.
    ExpectRefusedBeforeTheFirstSequence(
        RunLimited(dir, WholeLengthDft(dir, "67108837"), 2 * 1024 * MiB), 2 * 1024 * MiB, dir);
    // The default spectral lines at a prime length of 3 Mbit: FFTW aborted under 200 MB.
    ExpectRefusedBeforeTheFirstSequence(RunLimited(dir, Record(dir, "2999999", "1", {1}), Room),
                                        Room, dir);
}

// Given exactly the address space the check counts, runs complete, and what they touch stays
// within what it counts: p-values of many sequences, a prime-length transform, and the
// default spectral lines at a length of large prime factors.
TEST(MemoryBudget, RunsCompleteInTheMemoryTheCheckCounts) {
    ScratchFolder dir;
    for (const ParameterFileRecord& record :
         {Record(dir, "1000", "262144", {5}), WholeLengthDft(dir, "1000003"),
          Record(dir, "1048575", "2", {1})}) {
        const ChildRun run = RunLimited(dir, record, 0);
        ASSERT_TRUE(run.exited) << "killed by a signal: " << run.err;
        EXPECT_EQ(run.code, ExitOk) << run.err << " (counted " << run.need.mapped / MiB << " MiB)";
        EXPECT_LE(run.peakBytes, run.startBytes + run.need.touched)
            << "counted " << run.need.touched / MiB << " MiB";
        std::filesystem::remove(dir / "result.txt");
    }
}

} // namespace
} // namespace zentrope
