#include "model/parameter_fields.h"

#include <algorithm>

namespace zentrope {
namespace {

using K = FieldKind;
using P = ParameterSet;

// Sections by TestId in the catalogue.
constexpr TestId Dft = 1, Maurer = 2, ShortBlocks = 3, LongBlocks = 4, Runs = 7, Serial = 9,
                 Notm = 10, Rank6x8 = 11, WinAutocorr = 17, Permutation = 18, Coupon = 19,
                 Amls = 20, Collision = 21;

constexpr std::string_view BlockSizeBits = " \t# BLOCK SIZE [bits]: min, max, step";

// clang-format off
// name, member, kind, default, controls,
//  section, file row, [General] key, lead, tail
const ParameterField Fields[] = {
    {"NT", &P::NT, K::Integer, int64_t{50}, {"EditNT"},
     GeneralSection, 4, "NT", "", " \t# Number of sequences to test"},
    {"pval_digits", &P::pval_digits, K::Position, int64_t{7}, {"UDpvalDGT", "EditPVdgt"},
     GeneralSection, 6, "pval_digits", "", " \t# P-values digits"},
    {"TestName_pv", &P::TestName_pv, K::Choice, std::monostate{}, {"CBsaveFormat"},
     GeneralSection, 5, "TestName_pv", "",
     " \t# If !=0 save test_name[TAB]p-value, else p-value[TAB]test name"},
    {"InFile", &P::InFile, K::Text, std::monostate{}, {"EditInFile"},
     GeneralSection, 18, "InFile", "\n# Always enclose these file names in quotation marks\n",
     " \t# Full path of the file with the bits to test. If InFile is not specified, then the "
     "generator in the module RBG will be used"},
    {"OutFile", &P::OutFile, K::KeptText, std::monostate{}, {"EditOutFile"},
     GeneralSection, 19, "OutFile", "", " \t# Full path of the output file"},
    {"n", &P::n, K::Size, int64_t{1048576}, {"Editn", "CBnUM"},
     GeneralSection, 3, "n", "",
     " \t# Sequence length [k, m, g: x1000; K, M, G: x1024; b=bits, B=bytes]"},
    {"auto_n", &P::auto_n, K::Flag, int64_t{0}, {"cbAutoN"},
     GeneralSection, 7, "auto_n", "",
     " \t# If =1 n will be accomodated to run all the enabled tests"},
    {"ShowPvals", &P::ShowPvals, K::Flag, int64_t{0}, {"cbShowPvals"},
     GeneralSection, 8, "ShowPvals", "",
     " \t# If =1 the p-values will be showed while the test generates them"},
    {"OverallTestNumber", &P::OverallTestNumber, K::Flag, int64_t{0}, {"cbOTnumber"},
     GeneralSection, 9, "OverallTestNumber", "",
     " \t# If =0 the overall p-value for the test# is skipped (it is really useless)"},
    {"IdlePriority", &P::IdlePriority, K::Flag, int64_t{1}, {"RBpriIdle", "RBpriNorm"},
     GeneralSection, 10, "IdlePriority", "", " \t# Running priority"},
    {"sortKS", &P::sortKS, K::Flag, int64_t{0}, {"cbSortKS"},
     GeneralSection, 11, "sortKS", "\n",
     " \t# The overall test-name p-values will be sorted by KS"},
    {"sortAD", &P::sortAD, K::Flag, int64_t{0}, {"cbSortAD"},
     GeneralSection, 12, "sortAD", "", " \t# The overall test-name p-values will be sorted by AD"},
    {"sortSL", &P::sortSL, K::Flag, int64_t{1}, {"cbSortSL"},
     GeneralSection, 13, "sortSL", "", " \t# The overall test-name p-values will be sorted by SL"},
    {"KSmin", &P::KSmin, K::Number, 0.0005, {"EditKSmin"},
     GeneralSection, 14, "KSmin", "\n", " \t# KS threshold for bad p-values (0= disabled)"},
    {"ADmin", &P::ADmin, K::Number, 0.0, {"EditADmin"},
     GeneralSection, 15, "ADmin", "", " \t# AD threshold for bad p-values (0= disabled)"},
    {"SLmax", &P::SLmax, K::Number, 100.0, {"EditSLmax"},
     GeneralSection, 16, "SLmax", "", " \t# SL threshold for bad values (100= disabled)"},
    {"DFT_max_n", &P::DFT_max_n, K::Size, int64_t{33554432}, {"eDFTmax", "CBdftMax"},
     Dft, 31, "", "", " \t# max n used in the DFT test (save the memory and the running time)"},
    {"DFT_optimize", &P::DFT_optimize, K::Size, int64_t{3145728}, {"eDFToptimize", "CBdftOptimize"},
     Dft, 32, "", "",
     " \t# optimization threshold. Sequence lengths greater than this will be converted in "
     "the form 2^a * 3^b * 5^c * 7^d * 11^e * 13^f where e + f is either 0 or 1 and the other "
     "exponents are arbitrary."},
    {"DFT_rows", &P::DFT_rows, K::Range, RangeParam{1, 32, -1},
     {"eDFTdmin", "eDFTdmax", "eDFTdstp"},
     Dft, 33, "", "", "\t# ROWS: min, max, step. Using 1 1 1 yields the old 1-D DFT test"},
    {"DFT_mode0", &P::DFT_mode0, K::Flag, int64_t{1}, {"cbDFTm0"},
     Dft, 34, "", "", ""},
    {"DFT_mode1", &P::DFT_mode1, K::Flag, int64_t{1}, {"cbDFTm1"},
     Dft, 34, "", "",
     "\t\t# Mode 0, mode 1. If !=0 the mode will be used. \"0 0\" is not allowed."},
    {"WinAutocorr_distance", &P::WinAutocorr_distance, K::Range, RangeParam{1024, 4096, -2},
     {"eAUTWdmin", "eAUTWdmax", "eAUTWdstp"},
     WinAutocorr, 55, "", "", " \t# DISTANCE [blocks]: min, max, step"},
    {"WinAutocorr_block_size", &P::WinAutocorr_block_size, K::Range, RangeParam{1, 16, -1},
     {"eAUTWmmin", "eAUTWmmax", "eAUTWmstp"},
     WinAutocorr, 56, "", "", BlockSizeBits},
    {"ShortBlocks_block_size", &P::ShortBlocks_block_size, K::Range, RangeParam{1, 16, -1},
     {"eSBLKsmin", "eSBLKsmax", "eSBLKsstp"},
     ShortBlocks, 52, "", "", BlockSizeBits},
    {"ShortBlocks_bits_distance", &P::ShortBlocks_bits_distance, K::Range,
     RangeParam{1024, 4096, -2},
     {"eSBLKdmin", "eSBLKdmax", "eSBLKdstp"},
     ShortBlocks, 53, "", "",
     " \t# BITS DISTANCE [bits]: min, max, step. Using 1 1 1 and block size=4 yields FIPS140 "
     "poker test"},
    {"Runs_block_size", &P::Runs_block_size, K::SpinnerRange, RangeParam{4, 32, -1},
     {"uRUNsmin", "uRUNsmax", "eRUNsstp"},
     Runs, 47, "", "", " \t# BLOCK SIZE [bits]: min, max, step (2 <= s <= 32)"},
    {"Runs_run_length", &P::Runs_run_length, K::SpinnerRange, RangeParam{6, 10, 2},
     {"uRUNrmin", "uRUNrmax", "eRUNrstp"},
     Runs, 48, "", "", " \t# RUN LENGTH [s-bit numbers]: min, max, step (2 <= r <= 10)"},
    {"Permutation_block_size", &P::Permutation_block_size, K::Range, RangeParam{1, 8, -1},
     {"ePERMsmin", "ePERMsmax", "ePERMsstp"},
     Permutation, 42, "", "", BlockSizeBits},
    {"Permutation_group_size", &P::Permutation_group_size, K::SpinnerRange, RangeParam{4, 8, 4},
     {"uPERMtmin", "uPERMtmax", "ePERMtstp"},
     Permutation, 43, "", "",
     " \t# GROUP SIZE [numbers]: min, max, step (2 <= max <= 12, 13!=6,227,020,800)"},
    {"Coupon_block_size", &P::Coupon_block_size, K::SpinnerRange, RangeParam{2, 9, 1},
     {"uCOUmin", "uCOUmax", "eCOUstp"},
     Coupon, 29, "", "", " \t# BLOCK SIZE [bits]: min, max, step (2 <= s <= 9)"},
    {"LongBlocks_block_size", &P::LongBlocks_block_size, K::Range, RangeParam{512, 2048, -1},
     {"eLBLKmin", "eLBLKmax", "eLBLKstp"},
     LongBlocks, 36, "", "", " \t# min, max, step (block size 8<= m < n)"},
    {"Maurer_block_size", &P::Maurer_block_size, K::SpinnerRange, RangeParam{2, 12, 6},
     {"uMAUmin", "uMAUmax", "eMAUstp"},
     Maurer, 38, "", "", ""},
    {"Maurer_N", &P::Maurer_N, K::Integer, int64_t{1000}, {"eMAU_n"},
     Maurer, 38, "", "",
     " \t# min, max, step, N (2<= max <= 16; N >= 40). If max=16 this test needs about 1 Gbit"},
    {"NOTM_block_size", &P::NOTM_block_size, K::Range, RangeParam{2, 31, -2},
     {"eNOTMmin", "eNOTMmax", "eNOTMstp"},
     Notm, 40, "", "", ""},
    {"NOTM_templates", &P::NOTM_templates, K::Integer, int64_t{3}, {"eNOTMtemp"},
     Notm, 40, "", "",
     " \t# min, max, step, templates (if templates=0 all the templates will be tested)"},
    {"Serial_block_size", &P::Serial_block_size, K::Range, RangeParam{1, 3, 1},
     {"eSERmin", "eSERmax", "eSERstp"},
     Serial, 50, "", "", " \t# min, max, step"},
    {"Collision_block_size", &P::Collision_block_size, K::SpinnerRange, RangeParam{20, 28, 1},
     {"uCOLLsmin", "uCOLLsmax", "eCOLLsstp"},
     Collision, 27, "", "", BlockSizeBits},
    {"Rank6x8_byte_order", &P::Rank6x8_byte_order, K::SpinnerRange, RangeParam{0, 24, 1},
     {"uRNKmin", "uRNKmax", "eRNKstp"},
     Rank6x8, 45, "", "", " \t# min, max, step (range: 0 - 24)"},
    {"AMLS_block_length", &P::AMLS_block_length, K::PowerRange, RangeParam{2, 32768, -1},
     {"LabAMLSmin", "LabAMLSmax", "LabAMLSstp", "uAMLSmin", "uAMLSmax", "uAMLSstp"},
     Amls, 25, "", "", " \t# BLOCK LENGTH [kbits]: min, max, step"},
};
// clang-format on

} // namespace

std::span<const ParameterField> ParameterFields() {
    return Fields;
}

const std::vector<FieldRow>& FileRows() {
    static const std::vector<FieldRow> rows = [] {
        std::vector<const ParameterField*> fields;
        for (const ParameterField& field : Fields)
            fields.push_back(&field);
        std::stable_sort(fields.begin(), fields.end(),
                         [](const auto* a, const auto* b) { return a->row < b->row; });
        std::vector<FieldRow> grouped;
        for (const ParameterField* field : fields) {
            if (grouped.empty() || grouped.back().front()->row != field->row)
                grouped.emplace_back();
            grouped.back().push_back(field);
        }
        return grouped;
    }();
    return rows;
}

bool IsRange(FieldKind kind) {
    return kind == K::Range || kind == K::SpinnerRange || kind == K::PowerRange;
}

int ValueCount(FieldKind kind) {
    return IsRange(kind) ? 3 : 1;
}

std::vector<RangeParam> SectionRanges(const ParameterSet& set, TestId section) {
    std::vector<RangeParam> ranges;
    for (const ParameterField& field : Fields)
        if (field.section == section && IsRange(field.kind))
            ranges.push_back(set.*std::get<RangeParam ParameterSet::*>(field.member));
    return ranges;
}

int SavedControlCount(FieldKind kind) {
    return kind == K::Size ? 2 : ValueCount(kind);
}

} // namespace zentrope
