// zentrope-gui --verdict run as a script would run it: no display, the exit code and the
// printed verdict.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

struct Ran {
    int code = -1;
    std::string out;
};

// Without any display: no X, no Wayland, no platform plugin named.
Ran RunVerdict(const std::string& args) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                std::string(ZENTROPE_GUI) + "' --verdict " + args + " 2>&1";
    Ran ran;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return ran;
    std::array<char, 4096> chunk{};
    while (const size_t n = fread(chunk.data(), 1, chunk.size(), pipe))
        ran.out.append(chunk.data(), n);
    const int status = pclose(pipe);
    ran.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ran;
}

class VerdictCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() / ("verdict_cli_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return "'" + (dir_ / name).string() + "'";
    }

    // Three sequences: Low = {0.01, 0.02, 0.03} has KS 0.0020055, so Holm over its three rows
    // with figures gives 0.0060 (fails at 0.01, passes at 0.005); Wide has no value.
    std::string ThreeSequences() {
        std::string text = "Zentrope report\n"
                           "No result: line 4 \"Wide\": needs 268,435,456 bits, a sequence "
                           "holds 2,000,000\n\n";
        const char* values[3][3] = {
            {"0.01", "0.1", "0.25"}, {"0.02", "0.5", "0.5"}, {"0.03", "0.9", "0.75"}};
        for (int s = 0; s < 3; ++s)
            text += "Sequence #" + std::to_string(s + 1) + "\n" + values[s][0] + "\tLow\n" +
                    values[s][1] + "\tMid\n" + values[s][2] + "\tQuarter\n-1\tWide\n\n";
        return Write("run.txt", text);
    }

    std::filesystem::path dir_;
};

} // namespace

TEST_F(VerdictCli, ExitCodesFollowTheVerdict) {
    const std::string run = ThreeSequences();
    const Ran fails = RunVerdict(run);
    EXPECT_EQ(fails.code, 1) << fails.out;
    EXPECT_NE(fails.out.find("Holm over 3 rows at 0.01: FAILS, worst row Low"), std::string::npos)
        << fails.out;
    // Every failing row with full digits; every row without a result with its reason.
    EXPECT_NE(fails.out.find("\nrow 1 \"Low\": KS 0.00200548"), std::string::npos) << fails.out;
    EXPECT_NE(fails.out.find("\nrow 4 \"Wide\": needs 268,435,456 bits, a sequence holds "
                             "2,000,000\n"),
              std::string::npos)
        << fails.out;

    const Ran passes = RunVerdict(run + " --alpha 0.005 --json");
    EXPECT_EQ(passes.code, 0) << passes.out;
    EXPECT_EQ(passes.out.rfind("{\"verdict\": \"passes\"", 0), 0u) << passes.out;
    EXPECT_NE(passes.out.find("\"admin\": 0,"), std::string::npos) << passes.out;

    // KSmin 0.01 flags Low without changing Holm's verdict.
    const Ran flagged = RunVerdict(run + " --alpha 0.005 --ksmin 0.01");
    EXPECT_EQ(flagged.code, 0) << flagged.out;
    EXPECT_NE(flagged.out.find("crosses: KS below KSmin: 0.00200548"), std::string::npos)
        << flagged.out;
}

TEST_F(VerdictCli, UnreadableFilesAndWrongOptionsExitTwo) {
    const Ran missing = RunVerdict(Write("x", "") + "-missing");
    EXPECT_EQ(missing.code, 2) << missing.out;
    EXPECT_NE(missing.out.find("The result file can't be opened."), std::string::npos);
    const Ran empty = RunVerdict(Write("empty.txt", "no sections here\n"));
    EXPECT_EQ(empty.code, 2) << empty.out;
    const std::string run = ThreeSequences();
    for (const char* wrong :
         {" --alpha 0", " --alpha x", " --ksmin 2", " --slmax", " --frobnicate"}) {
        const Ran ran = RunVerdict(run + wrong);
        EXPECT_EQ(ran.code, 2) << wrong << ": " << ran.out;
        EXPECT_EQ(ran.out.find("Holm"), std::string::npos) << wrong;
    }
}
