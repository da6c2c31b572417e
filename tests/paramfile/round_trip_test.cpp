// Records as the window could hold them, written and read back: the reader must give the
// values that were saved, sizes in bits.
#include "parameter_file_writer.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

// Bits per unit of each unit combo box item, spelled out here rather than parsed.
const double UnitBits[] = {1, 1024, 1048576, 1073741824, 1000, 1e6, 1e9,
                           8, 8192, 8388608, 8589934592, 8000, 8e6, 8e9};

class RecordGenerator {
public:
    explicit RecordGenerator(unsigned seed) : rng_(seed) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool Coin() { return Pick(0, 1) == 1; }

    // Integer edits in every spelling a strict conversion accepts.
    std::string IntegerText() {
        int value = Pick(-100000, 100000);
        switch (Pick(0, 5)) {
        case 0:
            return "+" + std::to_string(std::abs(value));
        case 1:
            return "00" + std::to_string(std::abs(value));
        case 2:
            return Coin() ? "2147483647" : "-2147483648";
        case 3:
            return "-0";
        default:
            return std::to_string(value);
        }
    }

    int Position() { return Pick(-32768, 32767); }

    // A number text and unit index whose size fits in 32 bits.
    std::pair<std::string, int> Size() {
        static const char* numbers[] = {"0", "1", "3", "17", "1.5", "0.25", "", "4095", "1e3"};
        for (;;) {
            std::string number = numbers[Pick(0, 8)];
            int unit = Pick(0, 13);
            double number_value = number.empty() ? 0 : std::strtod(number.c_str(), nullptr);
            if (number_value * UnitBits[unit] <= 4294967295.0)
                return {number, unit};
        }
    }

    std::string ThresholdText() {
        static const char* odd[] = {"", ".5", "1e-05", "-0.001", "0", "100", "7e+300", "5x"};
        if (Coin())
            return odd[Pick(0, 7)];
        return std::to_string(std::uniform_real_distribution<double>(-10, 10)(rng_));
    }

    // Any bytes but the quotation mark, '#' and line ends, which the format cannot carry.
    std::string FileName() {
        static const std::string chars = "abcXYZ019 _-.:\\/*?[]()'\t\xE9\xFF";
        std::string name;
        for (int length = Pick(0, 40); length > 0; --length)
            name += chars[static_cast<size_t>(Pick(0, static_cast<int>(chars.size()) - 1))];
        return name;
    }

    std::vector<TestId> Order() {
        std::vector<TestId> ids;
        for (TestId id = 1; id <= TestCount; ++id)
            ids.push_back(id);
        std::shuffle(ids.begin(), ids.end(), rng_);
        ids.resize(static_cast<size_t>(Pick(0, TestCount)));
        return ids;
    }

    ParameterFileRecord Record();

private:
    std::mt19937 rng_;
};

ParameterFileRecord RecordGenerator::Record() {
    ParameterFileRecord r;
    std::tie(r.Editn, r.CBnUM) = Size();
    std::tie(r.eDFTmax, r.CBdftMax) = Size();
    std::tie(r.eDFToptimize, r.CBdftOptimize) = Size();
    r.EditNT = IntegerText();
    r.CBsaveFormat = Pick(0, 1);
    r.UDpvalDGT = Pick(1, 20);
    for (bool* flag : {&r.cbAutoN, &r.cbShowPvals, &r.cbOTnumber, &r.RBpriIdle, &r.cbSortKS,
                       &r.cbSortAD, &r.cbSortSL, &r.cbDFTm0, &r.cbDFTm1})
        *flag = Coin();
    for (std::string* text : {&r.EditKSmin, &r.EditADmin, &r.EditSLmax})
        *text = ThresholdText();
    r.EditInFile = FileName();
    r.EditOutFile = FileName();
    r.LBorder = Order();
    for (int* position :
         {&r.uCOLLsmin, &r.uCOLLsmax, &r.uCOUmin, &r.uCOUmax, &r.uMAUmin, &r.uMAUmax, &r.uPERMtmin,
          &r.uPERMtmax, &r.uRNKmin, &r.uRNKmax, &r.uRUNsmin, &r.uRUNsmax, &r.uRUNrmin, &r.uRUNrmax})
        *position = Position();
    for (std::string* text :
         {&r.LabAMLSmin, &r.LabAMLSmax, &r.LabAMLSstp, &r.eCOLLsstp, &r.eCOUstp,   &r.eDFTdmin,
          &r.eDFTdmax,   &r.eDFTdstp,   &r.eLBLKmin,   &r.eLBLKmax,  &r.eLBLKstp,  &r.eMAUstp,
          &r.eMAU_n,     &r.eNOTMmin,   &r.eNOTMmax,   &r.eNOTMstp,  &r.eNOTMtemp, &r.ePERMsmin,
          &r.ePERMsmax,  &r.ePERMsstp,  &r.ePERMtstp,  &r.eRNKstp,   &r.eRUNsstp,  &r.eRUNrstp,
          &r.eSERmin,    &r.eSERmax,    &r.eSERstp,    &r.eSBLKsmin, &r.eSBLKsmax, &r.eSBLKsstp,
          &r.eSBLKdmin,  &r.eSBLKdmax,  &r.eSBLKdstp,  &r.eAUTWdmin, &r.eAUTWdmax, &r.eAUTWdstp,
          &r.eAUTWmmin,  &r.eAUTWmmax,  &r.eAUTWmstp})
        *text = IntegerText();
    return r;
}

int32_t Int(const std::string& text) {
    return static_cast<int32_t>(std::stoll(text));
}

uint32_t Bits(const std::string& number, int unit) {
    double value = number.empty() ? 0 : std::strtod(number.c_str(), nullptr);
    return static_cast<uint32_t>(std::trunc(value * UnitBits[unit]));
}

RangeParam Range(const std::string& min, const std::string& max, const std::string& step) {
    return {Int(min), Int(max), Int(step)};
}

RangeParam Range(int min, int max, const std::string& step) {
    return {min, max, Int(step)};
}

// The set a reader must produce from the record's file, starting from before.
ParameterSet Expected(const ParameterFileRecord& r, const ParameterSet& before) {
    ParameterSet s = before;
    s.n = Bits(r.Editn, r.CBnUM);
    s.NT = Int(r.EditNT);
    s.TestName_pv = r.CBsaveFormat;
    s.pval_digits = r.UDpvalDGT;
    s.auto_n = r.cbAutoN;
    s.ShowPvals = r.cbShowPvals;
    s.OverallTestNumber = r.cbOTnumber;
    s.IdlePriority = r.RBpriIdle;
    s.sortKS = r.cbSortKS;
    s.sortAD = r.cbSortAD;
    s.sortSL = r.cbSortSL;
    s.KSmin = std::strtod(r.EditKSmin.c_str(), nullptr);
    s.ADmin = std::strtod(r.EditADmin.c_str(), nullptr);
    s.SLmax = std::strtod(r.EditSLmax.c_str(), nullptr);
    if (!r.EditInFile.empty())
        s.InFile = r.EditInFile;
    if (!r.EditOutFile.empty())
        s.OutFile = r.EditOutFile;
    s.ExecutionOrder.fill(-1);
    for (size_t slot = 0; slot < r.LBorder.size(); ++slot) {
        s.Enable[static_cast<size_t>(r.LBorder[slot] - 1)] = 1;
        s.ExecutionOrder[slot] = static_cast<int8_t>(r.LBorder[slot] - 1);
    }
    s.AMLS_block_length = Range(r.LabAMLSmin, r.LabAMLSmax, r.LabAMLSstp);
    s.Collision_block_size = Range(r.uCOLLsmin, r.uCOLLsmax, r.eCOLLsstp);
    s.Coupon_block_size = Range(r.uCOUmin, r.uCOUmax, r.eCOUstp);
    s.DFT_max_n = Bits(r.eDFTmax, r.CBdftMax);
    s.DFT_optimize = Bits(r.eDFToptimize, r.CBdftOptimize);
    s.DFT_rows = Range(r.eDFTdmin, r.eDFTdmax, r.eDFTdstp);
    s.DFT_mode0 = r.cbDFTm0;
    s.DFT_mode1 = r.cbDFTm1;
    s.LongBlocks_block_size = Range(r.eLBLKmin, r.eLBLKmax, r.eLBLKstp);
    s.Maurer_block_size = Range(r.uMAUmin, r.uMAUmax, r.eMAUstp);
    s.Maurer_N = Int(r.eMAU_n);
    s.NOTM_block_size = Range(r.eNOTMmin, r.eNOTMmax, r.eNOTMstp);
    s.NOTM_templates = Int(r.eNOTMtemp);
    s.Permutation_block_size = Range(r.ePERMsmin, r.ePERMsmax, r.ePERMsstp);
    s.Permutation_group_size = Range(r.uPERMtmin, r.uPERMtmax, r.ePERMtstp);
    s.Rank6x8_byte_order = Range(r.uRNKmin, r.uRNKmax, r.eRNKstp);
    s.Runs_block_size = Range(r.uRUNsmin, r.uRUNsmax, r.eRUNsstp);
    s.Runs_run_length = Range(r.uRUNrmin, r.uRUNrmax, r.eRUNrstp);
    s.Serial_block_size = Range(r.eSERmin, r.eSERmax, r.eSERstp);
    s.ShortBlocks_block_size = Range(r.eSBLKsmin, r.eSBLKsmax, r.eSBLKsstp);
    s.ShortBlocks_bits_distance = Range(r.eSBLKdmin, r.eSBLKdmax, r.eSBLKdstp);
    s.WinAutocorr_distance = Range(r.eAUTWdmin, r.eAUTWdmax, r.eAUTWdstp);
    s.WinAutocorr_block_size = Range(r.eAUTWmmin, r.eAUTWmmax, r.eAUTWmstp);
    return s;
}

ParameterSet Before() {
    ParameterSet set;
    ApplyDefaults(set);
    set.Enable[3] = 0;
    set.InFile = "previous in";
    return set;
}

} // namespace

TEST(ParameterFileRoundTrip, GeneratedRecordsReadBackAsSaved) {
    RecordGenerator generator(20260711);
    for (int i = 0; i < 500; ++i) {
        ParameterFileRecord record = generator.Record();
        FormattedParameterFile file = FormatParameterFile(record);
        ASSERT_TRUE(file.ok()) << file.error;
        ParameterSet set = Before();
        ReadOutcome read = ReadText(file.text, set);
        ASSERT_EQ(read.result, 0) << file.text;
        ASSERT_TRUE(read.messages.empty()) << read.messages.front();
        ASSERT_EQ(Dump(set), Dump(Expected(record, Before()))) << file.text;
    }
}

TEST(ParameterFileRoundTrip, ThroughFilesOnDisk) {
    RecordGenerator generator(7);
    ScratchFolder folder;
    const std::string path = (folder / "Zentrope GUI para").string();
    for (int i = 0; i < 20; ++i) {
        ParameterFileRecord record = generator.Record();
        ASSERT_EQ(WriteParameterFile(record, path).outcome, SaveOutcome::Saved);
        ParameterSet set = Before();
        std::vector<std::string> messages;
        int result =
            ReadParameterFile(path, set, [&](const std::string& m) { messages.push_back(m); });
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(Dump(set), Dump(Expected(record, Before())));
    }
}
