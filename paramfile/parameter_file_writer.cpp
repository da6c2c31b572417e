#include "parameter_file_writer.h"

#include "file_replacement.h"
#include "model/c_text.h"
#include "sizes.h"

#include <initializer_list>

namespace zentrope {
namespace {

// The text being built and the first integer field that failed to convert.
struct Output {
    std::string text;
    std::string error;
};

std::string Int(Output& out, std::string_view text) {
    std::optional<int32_t> value = ParseStrictInteger(text);
    if (value)
        return std::to_string(*value);
    if (out.error.empty())
        out.error = "'" + std::string(text) + "' is not a valid integer value";
    return "0";
}

std::string Number(int value) {
    return std::to_string(value);
}
std::string Flag(bool checked) {
    return checked ? "1" : "0";
}

std::string Unit(int index) {
    if (index < 0 || index >= static_cast<int>(SizeUnitList.size()))
        return {};
    return UnitAbbreviation(SizeUnitList[static_cast<size_t>(index)], index);
}

// Values are evaluated left to right, so the first failing field is the first reported.
std::string Tabbed(std::initializer_list<std::string> values) {
    std::string line;
    for (const std::string& v : values)
        line += (line.empty() ? "" : "\t") + v;
    return line;
}

void WriteGeneral(const ParameterFileRecord& r, Output& out) {
    std::string& t = out.text;
    t += "# Created with Zentrope GUI v050711\n\n";
    t += "[General]\n";
    t += "n " + r.Editn + " " + Unit(r.CBnUM) +
         " \t# Sequence length [k, m, g: x1000; K, M, G: x1024; b=bits, B=bytes]\n";
    t += "NT " + Int(out, r.EditNT) + " \t# Number of sequences to test\n";
    t += "TestName_pv " + Number(r.CBsaveFormat) +
         " \t# If !=0 save test_name[TAB]p-value, else p-value[TAB]test name\n";
    t += "pval_digits " + Number(r.UDpvalDGT) + " \t# P-values digits\n";
    t += "auto_n " + Flag(r.cbAutoN) +
         " \t# If =1 n will be accomodated to run all the enabled tests\n";
    t += "ShowPvals " + Flag(r.cbShowPvals) +
         " \t# If =1 the p-values will be showed while the test generates them\n";
    t += "OverallTestNumber " + Flag(r.cbOTnumber) +
         " \t# If =0 the overall p-value for the test# is skipped (it is really useless)\n";
    t += "IdlePriority " + Flag(r.RBpriIdle) + " \t# Running priority\n";
    t += "\nsortKS " + Flag(r.cbSortKS) +
         " \t# The overall test-name p-values will be sorted by KS\n";
    t +=
        "sortAD " + Flag(r.cbSortAD) + " \t# The overall test-name p-values will be sorted by AD\n";
    t +=
        "sortSL " + Flag(r.cbSortSL) + " \t# The overall test-name p-values will be sorted by SL\n";
    t += "\nKSmin " + r.EditKSmin + " \t# KS threshold for bad p-values (0= disabled)\n";
    t += "ADmin " + r.EditADmin + " \t# AD threshold for bad p-values (0= disabled)\n";
    t += "SLmax " + r.EditSLmax + " \t# SL threshold for bad values (100= disabled)\n";
    t += "\n# Always enclose these file names in quotation marks\n";
    t += "InFile \"" + r.EditInFile +
         "\" \t# Full path of the file with the bits to test. If InFile is not specified, then "
         "the generator in the module RBG will be used\n";
    t += "OutFile \"" + r.EditOutFile + "\" \t# Full path of the output file\n";
}

void WriteEnable(const ParameterFileRecord& r, Output& out) {
    out.text += "\n# Test enabling and execution order, DON'T CHANGE THE TEST NAMES\n\n";
    out.text += "[Enable] # 1= test enabled, 0= test disabled\n";
    for (TestId id : r.LBorder)
        out.text += "1 " + std::string(TestKey(id)) + "\n";
}

void WriteFirstSections(const ParameterFileRecord& r, Output& out) {
    std::string& t = out.text;
    t += "\n# TEST PARAMETERS (DON'T CHANGE THE TEST NAMES, change only the numbers)\n";
    t += "\n[AMLS]\n";
    t += Tabbed({Int(out, r.LabAMLSmin), Int(out, r.LabAMLSmax), Int(out, r.LabAMLSstp)}) +
         " \t# BLOCK LENGTH [kbits]: min, max, step\n";
    t += "\n[Collision]\n";
    t += Tabbed({Number(r.uCOLLsmin), Number(r.uCOLLsmax), Int(out, r.eCOLLsstp)}) +
         " \t# BLOCK SIZE [bits]: min, max, step\n";
    t += "\n[Coupon collector]\n";
    t += Tabbed({Number(r.uCOUmin), Number(r.uCOUmax), Int(out, r.eCOUstp)}) +
         " \t# BLOCK SIZE [bits]: min, max, step (2 <= s <= 9)\n";
    t += "\n[DFT]\n";
    t += r.eDFTmax + " " + Unit(r.CBdftMax) +
         " \t# max n used in the DFT test (save the memory and the running time)\n";
    t += r.eDFToptimize + " " + Unit(r.CBdftOptimize) +
         " \t# optimization threshold. Sequence lengths greater than this will be converted in "
         "the form 2^a * 3^b * 5^c * 7^d * 11^e * 13^f where e + f is either 0 or 1 and the "
         "other exponents are arbitrary.\n";
    t += Tabbed({Int(out, r.eDFTdmin), Int(out, r.eDFTdmax), Int(out, r.eDFTdstp)}) +
         "\t# ROWS: min, max, step. Using 1 1 1 yields the old 1-D DFT test\n";
    t += Tabbed({Flag(r.cbDFTm0), Flag(r.cbDFTm1)}) +
         "\t\t# Mode 0, mode 1. If !=0 the mode will be used. \"0 0\" is not allowed.\n";
    t += "\n[Long blocks]\n";
    t += Tabbed({Int(out, r.eLBLKmin), Int(out, r.eLBLKmax), Int(out, r.eLBLKstp)}) +
         " \t# min, max, step (block size 8<= m < n)\n";
    t += "\n[Maurer]\n";
    t += Tabbed({Number(r.uMAUmin), Number(r.uMAUmax), Int(out, r.eMAUstp), Int(out, r.eMAU_n)}) +
         " \t# min, max, step, N (2<= max <= 16; N >= 40). If max=16 this test needs about 1 "
         "Gbit\n";
    t += "\n[Non overlapping template matchings]\n";
    t += Tabbed({Int(out, r.eNOTMmin), Int(out, r.eNOTMmax), Int(out, r.eNOTMstp),
                 Int(out, r.eNOTMtemp)}) +
         " \t# min, max, step, templates (if templates=0 all the templates will be tested)\n";
}

void WriteLastSections(const ParameterFileRecord& r, Output& out) {
    std::string& t = out.text;
    t += "\n[Permutation]\n";
    t += Tabbed({Int(out, r.ePERMsmin), Int(out, r.ePERMsmax), Int(out, r.ePERMsstp)}) +
         " \t# BLOCK SIZE [bits]: min, max, step\n";
    t += Tabbed({Number(r.uPERMtmin), Number(r.uPERMtmax), Int(out, r.ePERMtstp)}) +
         " \t# GROUP SIZE [numbers]: min, max, step (2 <= max <= 12, 13!=6,227,020,800)\n";
    t += "\n[Rank 6x8]\n";
    t += Tabbed({Number(r.uRNKmin), Number(r.uRNKmax), Int(out, r.eRNKstp)}) +
         " \t# min, max, step (range: 0 - 24)\n";
    t += "\n[Runs]\n";
    t += Tabbed({Number(r.uRUNsmin), Number(r.uRUNsmax), Int(out, r.eRUNsstp)}) +
         " \t# BLOCK SIZE [bits]: min, max, step (2 <= s <= 32)\n";
    t += Tabbed({Number(r.uRUNrmin), Number(r.uRUNrmax), Int(out, r.eRUNrstp)}) +
         " \t# RUN LENGTH [s-bit numbers]: min, max, step (2 <= r <= 10)\n";
    t += "\n[Serial]\n";
    t += Tabbed({Int(out, r.eSERmin), Int(out, r.eSERmax), Int(out, r.eSERstp)}) +
         " \t# min, max, step\n";
    t += "\n[Short blocks]\n";
    t += Tabbed({Int(out, r.eSBLKsmin), Int(out, r.eSBLKsmax), Int(out, r.eSBLKsstp)}) +
         " \t# BLOCK SIZE [bits]: min, max, step\n";
    t += Tabbed({Int(out, r.eSBLKdmin), Int(out, r.eSBLKdmax), Int(out, r.eSBLKdstp)}) +
         " \t# BITS DISTANCE [bits]: min, max, step. Using 1 1 1 and block size=4 yields "
         "FIPS140 poker test\n";
    t += "\n[Windowed autocorrelation]\n";
    t += Tabbed({Int(out, r.eAUTWdmin), Int(out, r.eAUTWdmax), Int(out, r.eAUTWdstp)}) +
         " \t# DISTANCE [blocks]: min, max, step\n";
    t += Tabbed({Int(out, r.eAUTWmmin), Int(out, r.eAUTWmmax), Int(out, r.eAUTWmstp)}) +
         " \t# BLOCK SIZE [bits]: min, max, step\n";
}

} // namespace

FormattedParameterFile FormatParameterFile(const ParameterFileRecord& record) {
    Output out;
    WriteGeneral(record, out);
    WriteEnable(record, out);
    WriteFirstSections(record, out);
    WriteLastSections(record, out);
    if (!out.error.empty())
        return {{}, out.error};
    return {out.text, {}};
}

SaveResult WriteParameterFile(const ParameterFileRecord& record, const std::string& path) {
    FormattedParameterFile file = FormatParameterFile(record);
    if (!file.ok())
        return {SaveOutcome::InvalidInteger, file.error};
    if (!ReplaceFileContents(path, file.text))
        return {SaveOutcome::NotSaved, std::string(ParameterFileNotSaved)};
    return {};
}

} // namespace zentrope
