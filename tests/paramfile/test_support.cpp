#include "tests/paramfile/test_support.h"

#include "model/parameter_fields.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace zentrope::testing {

ParameterSet DefaultSet() {
    ParameterSet set;
    ApplyDefaults(set);
    return set;
}

ParameterFileRecord DefaultRecord() {
    ParameterFileRecord r;
    r.controls = {
        {"Editn", "1"},
        {"CBnUM", "2"},
        {"EditNT", "50"},
        {"CBsaveFormat", "0"},
        {"UDpvalDGT", "7"},
        {"cbAutoN", "0"},
        {"cbShowPvals", "0"},
        {"cbOTnumber", "0"},
        {"RBpriIdle", "1"},
        {"cbSortKS", "0"},
        {"cbSortAD", "0"},
        {"cbSortSL", "1"},
        {"EditKSmin", "0.0005"},
        {"EditADmin", "0"},
        {"EditSLmax", "100"},
        {"EditInFile", ""},
        {"EditOutFile", "_Zentrope.txt"},
        {"LabAMLSmin", "2"},
        {"LabAMLSmax", "32768"},
        {"LabAMLSstp", "-1"},
        {"uCOLLsmin", "20"},
        {"uCOLLsmax", "28"},
        {"eCOLLsstp", "1"},
        {"uCOUmin", "2"},
        {"uCOUmax", "9"},
        {"eCOUstp", "1"},
        {"eDFTmax", "32"},
        {"CBdftMax", "2"},
        {"eDFToptimize", "3"},
        {"CBdftOptimize", "2"},
        {"eDFTdmin", "1"},
        {"eDFTdmax", "32"},
        {"eDFTdstp", "-1"},
        {"cbDFTm0", "1"},
        {"cbDFTm1", "1"},
        {"eLBLKmin", "512"},
        {"eLBLKmax", "2048"},
        {"eLBLKstp", "-1"},
        {"uMAUmin", "2"},
        {"uMAUmax", "12"},
        {"eMAUstp", "6"},
        {"eMAU_n", "1000"},
        {"eNOTMmin", "2"},
        {"eNOTMmax", "31"},
        {"eNOTMstp", "-2"},
        {"eNOTMtemp", "3"},
        {"ePERMsmin", "1"},
        {"ePERMsmax", "8"},
        {"ePERMsstp", "-1"},
        {"uPERMtmin", "4"},
        {"uPERMtmax", "8"},
        {"ePERMtstp", "4"},
        {"uRNKmin", "0"},
        {"uRNKmax", "24"},
        {"eRNKstp", "1"},
        {"uRUNsmin", "4"},
        {"uRUNsmax", "32"},
        {"eRUNsstp", "-1"},
        {"uRUNrmin", "6"},
        {"uRUNrmax", "10"},
        {"eRUNrstp", "2"},
        {"eSERmin", "1"},
        {"eSERmax", "3"},
        {"eSERstp", "1"},
        {"eSBLKsmin", "1"},
        {"eSBLKsmax", "16"},
        {"eSBLKsstp", "-1"},
        {"eSBLKdmin", "1024"},
        {"eSBLKdmax", "4096"},
        {"eSBLKdstp", "-2"},
        {"eAUTWdmin", "1024"},
        {"eAUTWdmax", "4096"},
        {"eAUTWdstp", "-2"},
        {"eAUTWmmin", "1"},
        {"eAUTWmmax", "16"},
        {"eAUTWmstp", "-1"},
    };
    for (TestId id = 1; id <= TestCount; ++id)
        r.LBorder.push_back(id);
    return r;
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

ScratchFolder::ScratchFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("zentrope-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    WriteBytes(path_ / name, bytes);
    return File(name);
}

ReadOutcome ReadText(const std::string& text, ParameterSet& set) {
    ReadOutcome outcome;
    std::istringstream in(text);
    outcome.result = ReadParameterStream(in, set, [&](const std::string& message) {
        if (message.starts_with(ParseErrorIntro))
            outcome.messages.push_back(message.substr(ParseErrorIntro.size()));
        else
            outcome.messages.push_back("(no introduction) " + message);
    });
    return outcome;
}

} // namespace zentrope::testing

namespace zentrope::testing {
namespace {

std::string Text(const RangeParam& r) {
    return std::to_string(r.min) + " " + std::to_string(r.max) + " " + std::to_string(r.step);
}

std::string Text(const std::optional<std::string>& name) {
    return name ? "\"" + *name + "\"" : "(absent)";
}

std::string Text(double v) {
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}

template <typename T> std::string Text(const T& v) {
    return std::to_string(v);
}

std::string ListText(const auto& values) {
    std::string text;
    for (auto v : values)
        text += std::to_string(v) + " ";
    return text;
}

} // namespace

std::string Dump(const ParameterSet& s) {
    std::string d;
    for (const ParameterField& field : ParameterFields())
        std::visit(
            [&](auto member) { d += std::string(field.name) + "=" + Text(s.*member) + "\n"; },
            field.member);
    d += "Enable=" + ListText(s.Enable) + "\n";
    d += "ExecutionOrder=" + ListText(s.ExecutionOrder) + "\n";
    return d;
}

} // namespace zentrope::testing
