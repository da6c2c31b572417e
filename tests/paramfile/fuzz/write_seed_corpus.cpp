// Writes the fuzzer's seed corpus into the folder given as the only argument: files as the
// writer produces them, in a few shapes that reach every section reader.
#include "paramfile/parameter_file_writer.h"
#include "tests/paramfile/test_support.h"

#include <iostream>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

std::string WithCrLf(const std::string& text) {
    std::string converted;
    for (char c : text)
        converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return converted;
}

ParameterFileRecord OddRecord() {
    ParameterFileRecord record = DefaultRecord();
    record.LBorder = {7, 20, 1};
    record["Editn"] = "";
    record["CBnUM"] = "9";
    record["eDFTmax"] = "1.5";
    record["CBdftMax"] = "13";
    record["EditKSmin"] = "";
    record["EditInFile"] = "C:\\My bits\\*.bin";
    record["eAUTWmstp"] = "-2147483648";
    return record;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <corpus folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    ParameterFileRecord none = DefaultRecord();
    none.LBorder.clear();
    const std::string defaults = FormatParameterFile(DefaultRecord()).text;
    WriteBytes(folder / "defaults", defaults);
    WriteBytes(folder / "defaults-crlf", WithCrLf(defaults));
    WriteBytes(folder / "no-tests", FormatParameterFile(none).text);
    WriteBytes(folder / "odd", FormatParameterFile(OddRecord()).text);
    WriteBytes(folder / "general-only", defaults.substr(0, defaults.find("\n# Test enabling")));
    return 0;
}
