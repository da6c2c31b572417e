// Stands in for the tester: records how it was started, then writes a known result file into
// the output named by the parameter file, unless told otherwise by its control file.
#include "fake_tester_protocol.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace zentrope::fake_tester;

namespace {

struct Control {
    int sleepMs = 0;
    int exitCode = 0;
    bool silent = false;
};

Control ReadControl(const fs::path& file) {
    Control control;
    std::ifstream in(file);
    std::string word;
    while (in >> word) {
        if (word == "sleep")
            in >> control.sleepMs;
        else if (word == "exit")
            in >> control.exitCode;
        else if (word == "silent")
            control.silent = true;
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
    WriteRecord(folder, argc, argv);
    std::this_thread::sleep_for(std::chrono::milliseconds(control.sleepMs));
    if (!control.silent)
        std::ofstream(OutputName(argc > 1 ? argv[1] : "")) << ResultText;
    return control.exitCode;
}
