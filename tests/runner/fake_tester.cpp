// Stands in for the tester: records how it was started, follows the steps of its control file,
// then writes a known result file into the output named by the parameter file, unless told
// otherwise.
#include "tests/runner/fake_tester_protocol.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace zentrope::fake_tester;

namespace {

struct Step {
    std::string word;
    std::string text;
};

struct Control {
    int exitCode = 0;
    bool silent = false;
    bool ignoreTerm = false;
    std::vector<Step> steps;
};

Control ReadControl(const fs::path& file) {
    Control control;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const size_t space = line.find(' ');
        Step step{line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1)};
        if (step.word == "exit")
            control.exitCode = std::stoi(step.text);
        else if (step.word == "silent")
            control.silent = true;
        else if (step.word == "ignore-term")
            control.ignoreTerm = true;
        else
            control.steps.push_back(step);
    }
    return control;
}

// Written under another name first, so that a reader never sees half a record.
void WriteRecord(const fs::path& folder, int argc, char* argv[]) {
    std::ostringstream text;
    text << "pid " << getpid() << "\nsid " << getsid(0) << "\ncwd " << fs::current_path().string()
         << "\nargc " << argc << "\n";
    for (int i = 1; i < argc; ++i)
        text << "arg " << argv[i] << "\n";
    const fs::path record = folder / RecordFile;
    const fs::path partial = folder / (std::string(RecordFile) + ".part");
    std::ofstream(partial) << text.str();
    fs::rename(partial, record);
}

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void WriteLine(std::FILE* stream, const std::string& text) {
    std::fprintf(stream, "%s\n", text.c_str());
    std::fflush(stream);
}

// The output file named by the parameter file, and whether its text was written as sections.
struct Output {
    std::string name;
    bool fromSections = false;
};

void WriteSections(const Step& step, Output& output) {
    std::istringstream numbers(step.text);
    int total = 0, pauseMs = 0;
    numbers >> total >> pauseMs;
    const std::string partial = output.name + ".partial";
    std::ofstream(partial, std::ios::binary) << PartialHeader << std::flush;
    for (int k = 1; k <= total; ++k) {
        std::ofstream(partial, std::ios::binary | std::ios::app)
            << PartialSection(k, total) << std::flush;
        Pause(pauseMs);
    }
    output.fromSections = true;
}

void RunStep(const Step& step, Output& output) {
    std::istringstream numbers(step.text);
    if (step.word == "sleep") {
        Pause(std::stoi(step.text));
    } else if (step.word == "say") {
        WriteLine(stdout, step.text);
    } else if (step.word == "complain") {
        WriteLine(stderr, step.text);
    } else if (step.word == "progress") {
        int total = 0, pauseMs = 0;
        numbers >> total >> pauseMs;
        for (int k = 1; k <= total; ++k) {
            WriteLine(stdout, "Progress: " + std::to_string(k) + " of " + std::to_string(total));
            Pause(pauseMs);
        }
    } else if (step.word == "sections") {
        WriteSections(step, output);
    } else if (step.word == "die") {
        std::raise(SIGKILL);
    }
}

// The text between the quotes of the line "OutFile "...""; relative to the working folder.
std::string OutputName(const char* parameterFile) {
    std::ifstream in(parameterFile);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("OutFile", 0) != 0)
            continue;
        const size_t open = line.find('"');
        const size_t close = line.find('"', open + 1);
        if (open != std::string::npos && close != std::string::npos && close > open + 1)
            return line.substr(open + 1, close - open - 1);
    }
    return DefaultOutput;
}

} // namespace

int main(int argc, char* argv[]) {
    const fs::path folder = fs::read_symlink("/proc/self/exe").parent_path();
    const Control control = ReadControl(folder / ControlFile);
    if (control.ignoreTerm)
        std::signal(SIGTERM, SIG_IGN);
    WriteRecord(folder, argc, argv);
    Output output{OutputName(argc > 1 ? argv[1] : ""), false};
    for (const Step& step : control.steps)
        RunStep(step, output);
    if (control.silent)
        return control.exitCode;
    if (output.fromSections)
        fs::rename(output.name + ".partial", output.name);
    else
        std::ofstream(output.name) << ResultText;
    return control.exitCode;
}
