#include "test_support.h"

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
    r.Editn = "1";
    r.CBnUM = 2;
    r.EditNT = "50";
    r.CBsaveFormat = 0;
    r.UDpvalDGT = 7;
    r.RBpriIdle = true;
    r.cbSortSL = true;
    r.EditKSmin = "0.0005";
    r.EditADmin = "0";
    r.EditSLmax = "100";
    r.EditOutFile = "_Zentrope.txt";
    for (TestId id = 1; id <= TestCount; ++id)
        r.LBorder.push_back(id);
    r.LabAMLSmin = "2";
    r.LabAMLSmax = "32768";
    r.LabAMLSstp = "-1";
    r.uCOLLsmin = 20;
    r.uCOLLsmax = 28;
    r.eCOLLsstp = "1";
    r.uCOUmin = 2;
    r.uCOUmax = 9;
    r.eCOUstp = "1";
    r.eDFTmax = "32";
    r.CBdftMax = 2;
    r.eDFToptimize = "3";
    r.CBdftOptimize = 2;
    r.eDFTdmin = "1";
    r.eDFTdmax = "32";
    r.eDFTdstp = "-1";
    r.cbDFTm0 = true;
    r.cbDFTm1 = true;
    r.eLBLKmin = "512";
    r.eLBLKmax = "2048";
    r.eLBLKstp = "-1";
    r.uMAUmin = 2;
    r.uMAUmax = 12;
    r.eMAUstp = "6";
    r.eMAU_n = "1000";
    r.eNOTMmin = "2";
    r.eNOTMmax = "31";
    r.eNOTMstp = "-2";
    r.eNOTMtemp = "3";
    r.ePERMsmin = "1";
    r.ePERMsmax = "8";
    r.ePERMsstp = "-1";
    r.uPERMtmin = 4;
    r.uPERMtmax = 8;
    r.ePERMtstp = "4";
    r.uRNKmin = 0;
    r.uRNKmax = 24;
    r.eRNKstp = "1";
    r.uRUNsmin = 4;
    r.uRUNsmax = 32;
    r.eRUNsstp = "-1";
    r.uRUNrmin = 6;
    r.uRUNrmax = 10;
    r.eRUNrstp = "2";
    r.eSERmin = "1";
    r.eSERmax = "3";
    r.eSERstp = "1";
    r.eSBLKsmin = "1";
    r.eSBLKsmax = "16";
    r.eSBLKsstp = "-1";
    r.eSBLKdmin = "1024";
    r.eSBLKdmax = "4096";
    r.eSBLKdstp = "-2";
    r.eAUTWdmin = "1024";
    r.eAUTWdmax = "4096";
    r.eAUTWdstp = "-2";
    r.eAUTWmmin = "1";
    r.eAUTWmmax = "16";
    r.eAUTWmstp = "-1";
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
    auto add = [&](const char* name, const auto& value) {
        d += std::string(name) + "=" + Text(value) + "\n";
    };
    add("n", s.n);
    add("NT", s.NT);
    add("TestName_pv", s.TestName_pv);
    add("pval_digits", s.pval_digits);
    add("auto_n", s.auto_n);
    add("ShowPvals", s.ShowPvals);
    add("OverallTestNumber", s.OverallTestNumber);
    add("IdlePriority", s.IdlePriority);
    add("sortKS", s.sortKS);
    add("sortAD", s.sortAD);
    add("sortSL", s.sortSL);
    add("KSmin", s.KSmin);
    add("ADmin", s.ADmin);
    add("SLmax", s.SLmax);
    add("InFile", s.InFile);
    add("OutFile", s.OutFile);
    d += "Enable=" + ListText(s.Enable) + "\n";
    d += "ExecutionOrder=" + ListText(s.ExecutionOrder) + "\n";
    add("DFT_max_n", s.DFT_max_n);
    add("DFT_optimize", s.DFT_optimize);
    add("DFT_rows", s.DFT_rows);
    add("DFT_mode0", s.DFT_mode0);
    add("DFT_mode1", s.DFT_mode1);
    add("WinAutocorr_distance", s.WinAutocorr_distance);
    add("WinAutocorr_block_size", s.WinAutocorr_block_size);
    add("ShortBlocks_block_size", s.ShortBlocks_block_size);
    add("ShortBlocks_bits_distance", s.ShortBlocks_bits_distance);
    add("Permutation_block_size", s.Permutation_block_size);
    add("Permutation_group_size", s.Permutation_group_size);
    add("Runs_block_size", s.Runs_block_size);
    add("Runs_run_length", s.Runs_run_length);
    add("Coupon_block_size", s.Coupon_block_size);
    add("LongBlocks_block_size", s.LongBlocks_block_size);
    add("Maurer_block_size", s.Maurer_block_size);
    add("Maurer_N", s.Maurer_N);
    add("NOTM_block_size", s.NOTM_block_size);
    add("NOTM_templates", s.NOTM_templates);
    add("Serial_block_size", s.Serial_block_size);
    add("Rank6x8_byte_order", s.Rank6x8_byte_order);
    add("AMLS_block_length", s.AMLS_block_length);
    add("Collision_block_size", s.Collision_block_size);
    return d;
}

} // namespace zentrope::testing
