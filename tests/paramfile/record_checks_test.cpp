#include "paramfile/file_replacement.h"
#include "paramfile/parameter_file_writer.h"
#include "paramfile/record_checks.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

using namespace zentrope;
using namespace zentrope::testing;
namespace fs = std::filesystem;

namespace {

// Unit combo box indexes.
const std::string Bits = "0";
const std::string MBytes = "9";
const std::string KiloBytes = "11"; // "kBytes": x1000 bytes

} // namespace

TEST(SizeChecks, SizesOfThirtyTwoBitsAndMoreAreRefused) {
    struct Case {
        std::string number;
        std::string unit;
        bool fits;
    };
    // 2^32 bits is 512 MBytes; "9999999999 kBytes" is 8e13 bits.
    const Case cases[] = {
        {"4294967295", Bits, true}, {"4294967296", Bits, false},      {"511", MBytes, true},
        {"512", MBytes, false},     {"9999999999", KiloBytes, false}, {"-1", Bits, false},
        {"", MBytes, true}};
    for (const Case& c : cases) {
        ParameterFileRecord record = DefaultRecord();
        record["eDFToptimize"] = c.number;
        record["CBdftOptimize"] = c.unit;
        const std::optional<SizeOutOfRange> refused = FirstSizeOutOfRange(record);
        EXPECT_EQ(refused.has_value(), !c.fits) << c.number << " unit " << c.unit;
        if (refused) {
            EXPECT_EQ(refused->field, "eDFToptimize");
        }
    }
}

TEST(SizeChecks, TheFirstFieldIsNamedWithItsValueAndTheLimit) {
    ParameterFileRecord record = DefaultRecord();
    record["Editn"] = "9999999999";
    record["CBnUM"] = KiloBytes;
    record["eDFTmax"] = "600";
    record["CBdftMax"] = MBytes;
    const std::optional<SizeOutOfRange> refused = FirstSizeOutOfRange(record);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->field, "Editn");
    EXPECT_EQ(refused->message, "The sequence length 9999999999 kBytes is out of range: the tester "
                                "takes sizes from 0 to 4294967295 bits (512 MBytes less one bit).");
    record["Editn"] = "1";
    EXPECT_EQ(FirstSizeOutOfRange(record)->field, "eDFTmax");
}

TEST(SizeChecks, ASaveOfAnOutOfRangeSizeWritesNothing) {
    ScratchFolder folder;
    const fs::path path = folder / "para";
    WriteBytes(path, "old\n");
    ParameterFileRecord record = DefaultRecord();
    record["eDFTmax"] = "4294967296";
    record["CBdftMax"] = Bits;
    const SaveResult result = WriteParameterFile(record, path.string());
    EXPECT_EQ(result.outcome, SaveOutcome::SizeOutOfRange);
    EXPECT_EQ(result.field, "eDFTmax");
    EXPECT_EQ(ReadBytes(path), "old\n");
}

TEST(RangeChecks, OnlyInvertedRangesOfTestsInTheOrderAreFound) {
    ParameterFileRecord record = DefaultRecord();
    const TestId serial = *FindByKeyPrefix("serial");
    const TestId runs = *FindByKeyPrefix("runs");
    const TestId amls = *FindByKeyPrefix("amls");
    record["eSERmin"] = "5";
    record["eSERmax"] = "3";
    record["uRUNrmin"] = "9";
    record["uRUNrmax"] = "-2";
    record["LabAMLSmin"] = "7";
    record["LabAMLSmax"] = "7"; // equal ends are a range of one value
    record["eLBLKmin"] = "900";
    record["eLBLKmax"] = "x"; // not a number: the save refuses it
    record.LBorder = {amls, runs, *FindByKeyPrefix("long blocks")};
    const std::vector<InvertedRange> found = InvertedRanges(record);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].test, runs);
    EXPECT_EQ(found[0].range, "run length");
    EXPECT_EQ(found[0].min, 9);
    EXPECT_EQ(found[0].max, -2);

    record.LBorder.insert(record.LBorder.begin(), serial); // ticked only now, run first
    const std::vector<InvertedRange> both = InvertedRanges(record);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0].test, serial); // in execution order
    EXPECT_EQ(both[0].range, "block size");
    EXPECT_EQ(both[1].test, runs);
}
