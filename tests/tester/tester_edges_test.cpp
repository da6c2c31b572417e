// The edges of a run: settings the tester cannot honour, reasons for missing p-values, a
// sequence without usable GCD pairs, Maurer's variance against its published figures, and a
// run ended by a signal.
#include "paramfile/parameter_file_writer.h"
#include "tester/marsaglia_tests.h"
#include "tester/randomness_tests.h"
#include "tester/tester_run.h"
#include "tests/paramfile/test_support.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

namespace zentrope {
namespace {

using testing::DefaultRecord;
using testing::ScratchFolder;

ParameterFileRecord QuickRecord(const ScratchFolder& dir) {
    ParameterFileRecord r = DefaultRecord();
    r["Editn"] = "20000";
    r["CBnUM"] = "0";
    r["EditNT"] = "5";
    r.LBorder = {9, 8}; // Serial, Cumulative sum
    r["EditOutFile"] = dir.File("result.txt");
    return r;
}

struct RunOutput {
    int code = 0;
    std::string err;
};

RunOutput RunText(const ScratchFolder& dir, const std::string& parameterText) {
    const std::string para = dir.Write("para", parameterText);
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunTester({para}, out, err);
    return {code, err.str()};
}

std::string ParameterText(const ParameterFileRecord& record) {
    return FormatParameterFile(record).text;
}

// The first line of `text` that starts with `key`, its value replaced.
std::string WithValue(std::string text, const std::string& key, const std::string& value) {
    const size_t at = text.find("\n" + key + " ");
    const size_t end = text.find(' ', at + key.size() + 2);
    return text.replace(at + key.size() + 2, end - (at + key.size() + 2), value);
}

TEST(RunEdges, SettingsTheRunCannotHonourEndItNamingTheSetting) {
    ScratchFolder dir;
    const std::string text = ParameterText(QuickRecord(dir));
    for (const char* digits : {"-3", "400"}) {
        const RunOutput run = RunText(dir, WithValue(text, "pval_digits", digits));
        EXPECT_EQ(run.code, ExitBadParameterFile) << digits;
        EXPECT_NE(run.err.find("pval_digits"), std::string::npos) << run.err;
    }
    // Beyond a 32-bit number: the reader would test 2147483647 sequences instead.
    RunOutput run = RunText(dir, WithValue(text, "NT", "3000000000"));
    EXPECT_EQ(run.code, ExitBadParameterFile);
    EXPECT_NE(run.err.find("NT"), std::string::npos) << run.err;
    for (const char* threads : {"abc", "0", "-2", "4x", "100000"}) {
        setenv("ZENTROPE_THREADS", threads, 1);
        run = RunText(dir, text);
        unsetenv("ZENTROPE_THREADS");
        EXPECT_EQ(run.code, ExitBadArguments) << threads;
        EXPECT_NE(run.err.find("ZENTROPE_THREADS"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("result.txt")));
    setenv("ZENTROPE_THREADS", "2", 1);
    run = RunText(dir, text);
    unsetenv("ZENTROPE_THREADS");
    EXPECT_EQ(run.code, ExitOk) << run.err;
}

TEST(RunEdges, LinesTooLongForTheSequencesSayWhyInTheHeader) {
    ScratchFolder dir;
    ParameterFileRecord record = QuickRecord(dir);
    record["Editn"] = "1000000";
    record.LBorder = {2, 8}; // Maurer L=8 needs (10 + 1000) 2^8 8 bits; Cumulative sum fits
    record["uMAUmin"] = "8", record["uMAUmax"] = "8";
    const RunOutput run = RunText(dir, ParameterText(record));
    ASSERT_EQ(run.code, ExitOk) << run.err;
    const std::string result = testing::ReadBytes(dir.File("result.txt"));
    const size_t firstSection = result.find("Sequence #1");
    const size_t reason = result.find(
        "\nNo result: line 1 \"Maurer L=8\": needs 2,068,480 bits, a sequence holds 1,000,000\n");
    EXPECT_LT(reason, firstSection) << result.substr(0, firstSection);
    EXPECT_EQ(result.find("No result: line 2"), std::string::npos);
}

// A pair of 32-bit words without a zero has the chance (1 - 2^-32)^2.
constexpr double ZeroPair = 0x1p-31 - 0x1p-64;

TEST(GcdEdges, TooFewUsablePairsRejectTheSequence) {
    BitSequence zeros;
    for (int i = 0; i < 2000; ++i)
        AppendBits(zeros, 0, 64);
    const double allZero = GcdTest(zeros);
    EXPECT_GE(allZero, 0.0);
    EXPECT_LT(allZero, 1e-15);
    BitSequence halfZero;
    Xoshiro256 g = SeedXoshiro(5);
    for (int i = 0; i < 2000; ++i)
        AppendBits(halfZero, NextWord(g) >> 32, 64); // every other 32-bit word zero
    const double everyOther = GcdTest(halfZero);
    EXPECT_GE(everyOther, 0.0);
    EXPECT_LT(everyOther, 1e-15);
    // Three pairs of 2000 with a zero: P(D >= 3) = C(2000, 3) q^3 (1 + O(1e-6)).
    g = SeedXoshiro(6);
    BitSequence three = GeneratorBits(g, 128000);
    for (size_t pair = 0; pair < 3; ++pair)
        three.words[pair] &= 0xFFFFFFFFull; // the pair's first word
    const double expected = 2000.0 * 1999 * 1998 / 6 * std::pow(ZeroPair, 3);
    EXPECT_NEAR(GcdTest(three) / expected, 1, 1e-4);
}

// The variance of one log-distance as published with the test (NIST SP 800-22, 2.9.4), and
// the factors of Coron and Naccache's Table for L = 8.
TEST(MaurerVariance, MatchesThePublishedFigures) {
    const double published[] = {2.954, 3.125, 3.238, 3.311, 3.356, 3.384,
                                3.401, 3.410, 3.416, 3.419, 3.421};
    for (int L = 6; L <= 16; ++L)
        EXPECT_NEAR(VarianceFactors(L).variance, published[L - 6], 0.0011) << L;
    EXPECT_NEAR(VarianceFactors(8).d, 0.3732189, 1e-6);
    EXPECT_NEAR(VarianceFactors(8).e, 0.3730195, 1e-6);
}

// Expected collisions of n balls in m urns: n - m + m (1 - 1/m)^n (Knuth 3.3.2 I).
double Collisions(double n, double m) {
    return n - m + m * std::exp(n * std::log1p(-1 / m));
}

// The cap is the first count, in steps of about 0.1 %, that expects at least 4096 collisions.
TEST(CollisionEdges, TheCapExpectsAtLeast4096Collisions) {
    for (int s : {16, 20, 24, 32}) {
        const double n = static_cast<double>(CollisionBalls(UINT64_MAX / 2, s));
        const double m = std::ldexp(1.0, s);
        EXPECT_GE(Collisions(n, m), 4096 * (1 - 1e-9)) << s;
        EXPECT_LT(Collisions(std::floor(n * 0.9985), m), 4096.0) << s;
    }
}

// Waits until `path` exists, for at most 20 s.
bool AppearsWithin(const std::string& path) {
    for (int i = 0; i < 2000; ++i) {
        if (std::filesystem::exists(path))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(RunEdges, ARunEndedBySignalLeavesNoTemporary) {
    for (int signal : {SIGTERM, SIGABRT}) {
        ScratchFolder dir;
        ParameterFileRecord record = QuickRecord(dir);
        record["Editn"] = "1000000";
        record["EditNT"] = "100000"; // minutes of work
        const std::string para = dir.Write("para", ParameterText(record));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::ostringstream out;
            std::ostringstream err;
            _exit(RunTester({para}, out, err));
        }
        const std::string temporary = dir.File("result.txt") + ".partial";
        const bool appeared = AppearsWithin(temporary);
        kill(child, signal);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(appeared) << signal;
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_FALSE(std::filesystem::exists(temporary)) << signal;
        EXPECT_FALSE(std::filesystem::exists(dir.File("result.txt"))) << signal;
    }
}

} // namespace
} // namespace zentrope
