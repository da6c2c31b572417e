// Times 50 sequences of 1 Mbit (or of n bits: `n=...`) from the built-in generator through
// every implemented test: each test's throughput on one core over its lines with p-values,
// then the default run (every default line, generator included) on one thread and on all of
// them, and the speed-up between the two, against the targets. With test names as arguments
// only those tests are timed, and the whole run is left out.
#include "bench/tester/test_timing.h"
#include "tester/bit_input.h"
#include "tester/parallel_run.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

using namespace zentrope;
using Clock = std::chrono::steady_clock;

namespace {

// The targets: the default run within 1.2 s on two threads, with a speed-up of 1.8 or more,
// and no test below 50 Mbit/s on one core.
constexpr double MaxRunSeconds = 1.2;
constexpr double MinSpeedUp = 1.8;
constexpr double MinTestMbits = 50;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double ProcessSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

struct RunTime {
    double wall = 0;
    double processor = 0; // all threads together: above one thread's, the cost of sharing
};

// The whole run as the tester makes it, generator included, on the given threads.
RunTime TimeWholeRun(const ParameterSet& set, const TestPlan& plan, unsigned threads) {
    BitInput input(DefaultSeed);
    const SequenceWork work{&plan, &set, &input, set.n, set.NT, threads, false};
    const Clock::time_point start = Clock::now();
    const double processor = ProcessSeconds();
    TestAllSequences(
        work, [](int32_t, const std::vector<double>&) {}, [](uint64_t, uint64_t) {});
    return {Seconds(Clock::now() - start), ProcessSeconds() - processor};
}

// The machine's load while the figures were taken: wall times mean little when it is high.
void PrintLoad() {
    double load = 0;
    if (FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &load) != 1)
            load = -1;
        std::fclose(f);
    }
    std::printf("load average (1 min): %.2f\n", load);
}

void PrintWholeRun(unsigned threads, const RunTime& t, double mbits) {
    std::printf("whole run on %u thread%s: %.3f s (%.1f Mbit/s), processor time %.3f s\n", threads,
                threads == 1 ? "" : "s", t.wall, mbits / t.wall, t.processor);
}

const char* Verdict(bool met) {
    return met ? "met" : "NOT MET";
}

// True when every test reaches the per-core target.
bool PrintEachTest(const ParameterSet& set, const TestPlan& plan, double mbits) {
    std::printf("%-26s %6s %10s %9s %14s\n", "test", "lines", "no result", "cpu s",
                "Mbit/s (1 core)");
    bool met = true;
    for (const auto& [test, time] : TimeEachTest(set, plan)) {
        const double rate = time.seconds > 0 ? mbits / time.seconds : 0;
        met = met && (time.lines == 0 || rate >= MinTestMbits);
        std::printf("%-26s %6d %10d %9.3f %14.1f%s\n", std::string(DisplayName(test)).c_str(),
                    time.lines, time.withoutResult, time.seconds, rate,
                    time.lines > 0 && rate < MinTestMbits ? "  below target" : "");
    }
    std::printf("target: every test at least %.0f Mbit/s on one core: %s\n", MinTestMbits,
                Verdict(met));
    return met;
}

} // namespace

int main(int argc, char** argv) {
    std::set<std::string> names;
    uint32_t n = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("n="))
            n = static_cast<uint32_t>(std::stoul(arg.substr(2)));
        else
            names.insert(arg);
    }
    ParameterSet defaults;
    ApplyDefaults(defaults);
    ParameterSet timing = TimingSettings(n == 0 ? defaults.n : n);
    TestPlan timingPlan = MakeTestPlan(timing);
    KeepNamedTests(timingPlan, names);
    const double mbits = static_cast<double>(timing.n) * timing.NT / 1048576.0;
    std::printf("%d sequences of %u bits (%.0f Mbit)\n", timing.NT, timing.n, mbits);
    PrintEachTest(timing, timingPlan, mbits);
    if (!names.empty() || n != 0)
        return 0;
    const TestPlan plan = MakeTestPlan(defaults);
    std::printf("default run: %zu result lines\n", plan.lines.size());
    const unsigned all = ThreadsToUse();
    const RunTime one = TimeWholeRun(defaults, plan, 1);
    const RunTime many = TimeWholeRun(defaults, plan, all);
    PrintWholeRun(1, one, mbits);
    PrintWholeRun(all, many, mbits);
    const double speedUp = one.wall / many.wall;
    std::printf("speed-up: %.2f\n", speedUp);
    // With every thread busy all the way, wall time on a quiet machine is the processor time
    // shared out; a loaded machine's wall times cannot show that.
    std::printf("processor time per thread (the wall time on a quiet machine at best): %.3f s\n",
                many.processor / all);
    PrintLoad();
    std::printf("target: at most %.1f s on 2 threads: %s; speed-up at least %.1f: %s\n",
                MaxRunSeconds, all == 2 ? Verdict(many.wall <= MaxRunSeconds) : "(not 2 threads)",
                MinSpeedUp, Verdict(speedUp >= MinSpeedUp));
    return 0;
}
