#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

// A General section holding lines, closed by an empty Enable section.
std::string General(const std::string& lines) {
    return "[General]\n" + lines + "[Enable]\n";
}

} // namespace

TEST(ReaderGeneral, KeysMatchInAnyCaseByPrefix) {
    for (const char* line :
         {"NT 50\n", "nt 50\n", "Nt 50\n", "nT\t50 \t# 60\n", "  7 NT 50\n", "NTimes50\n"}) {
        ParameterSet set = DefaultSet();
        set.NT = 3;
        ReadOutcome read = ReadText(General(line), set);
        EXPECT_EQ(read.result, 0) << line;
        EXPECT_EQ(read.messages, Messages{}) << line;
        EXPECT_EQ(set.NT, std::string(line) == "NTimes50\n" ? 0 : 50) << line;
    }
    for (const char* line : {"NT=50\n", "NTx 5\n", "NT\n"}) {
        ParameterSet set = DefaultSet();
        ReadText(General(line), set);
        EXPECT_EQ(set.NT, 0) << line; // the value is taken right after the prefix
    }
}

TEST(ReaderGeneral, EveryKeyReachesItsField) {
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText(General("TESTNAME_PV 1\nPval_Digits 12\nAuto_N 1\nshowpvals 1\n"
                                        "OverallTestNumber 1\nIdlePriority 0\nsortKS 1\nsortAD 1\n"
                                        "sortSL 0\nKSmin 1e-05\nADmin .25\nSLmax 99.5xyz\n"
                                        "n 8 MB\n"),
                                set);
    EXPECT_EQ(read.result, 0);
    ParameterSet expected = DefaultSet();
    expected.TestName_pv = 1;
    expected.pval_digits = 12;
    expected.auto_n = expected.ShowPvals = expected.OverallTestNumber = 1;
    expected.IdlePriority = 0;
    expected.sortKS = expected.sortAD = 1;
    expected.sortSL = 0;
    expected.KSmin = 1e-05;
    expected.ADmin = 0.25;
    expected.SLmax = 99.5;
    expected.n = 67108864;
    expected.ExecutionOrder.fill(-1);
    EXPECT_EQ(Dump(set), Dump(expected));
}

TEST(ReaderGeneral, SequenceLengthTakesItsUnitAsWritten) {
    struct Case {
        const char* line;
        uint32_t n;
    } cases[] = {{"n 8 MB\n", 67108864},         {"N 64 Mbits\n", 67108864},
                 {"n 1.5 Kb # x\n", 1536},       {"n  Mb \t# S\n", 0},
                 {"n 3 mb\r\n", 3000000},        {"n 8 bytes\n", 8},
                 {"n 4294967295\n", 4294967295u}};
    for (const Case& c : cases) {
        ParameterSet set = DefaultSet();
        EXPECT_EQ(ReadText(General(c.line), set).result, 0) << c.line;
        EXPECT_EQ(set.n, c.n) << c.line;
    }
}

TEST(ReaderGeneral, SequenceLengthBeyond32BitsIsReportedAndKept) {
    for (const char* line : {"n 4 Gb", "n 1 GB", "n -1 b"}) {
        ParameterSet set = DefaultSet();
        ReadOutcome read = ReadText(General(std::string(line) + "\nNT 9\n"), set);
        EXPECT_EQ(read.result, 0);
        EXPECT_EQ(read.messages,
                  Messages{ErrorMark + "Size out of range (0 to 4294967295 bits) in line: " + line +
                           "\n\n"});
        EXPECT_EQ(set.n, 1048576u);
        EXPECT_EQ(set.NT, 9); // reading went on
    }
}

TEST(ReaderGeneral, QuotedNames) {
    struct Case {
        const char* line;
        std::optional<std::string> in, out;
    } cases[] = {
        {"InFile \"\" \t# Full path\n", "previous", "kept"},
        {"OutFile \"D:\\Out Dir\\R.TXT\" \t# c\n", "previous", "D:\\Out Dir\\R.TXT"},
        {"infile \"a\" \"b\"\n", "a", "kept"},
        {"INFILE \"  spaced  \"\r\n", "  spaced  ", "kept"},
        {"OutFileName\"x.txt\"\n", "previous", "x.txt"},
    };
    for (const Case& c : cases) {
        ParameterSet set = DefaultSet();
        set.InFile = "previous";
        set.OutFile = "kept";
        ReadOutcome read = ReadText(General(c.line), set);
        EXPECT_EQ(read.result, 0) << c.line;
        EXPECT_EQ(set.InFile, c.in) << c.line;
        EXPECT_EQ(set.OutFile, c.out) << c.line;
    }
    ParameterSet set = DefaultSet();
    ReadText(General("InFile \"\"\n"), set);
    EXPECT_FALSE(set.InFile.has_value()); // an empty name leaves an absent name absent
}

TEST(ReaderGeneral, NameWithoutBothQuotationMarksIsFatal) {
    const std::string outMessage =
        ErrorMark + "The OutFile file name must be always enclosed in quotation marks.";
    const std::string inMessage =
        ErrorMark + "The InFile file name must be always enclosed in quotation marks.";
    struct Case {
        const char* line;
        const std::string& message;
    } cases[] = {{"OutFile _out.txt\n", outMessage},
                 {"OutFile \"_out.txt\n", outMessage},
                 {"InFile \"C:\\bits#1.bin\"\n", inMessage},
                 {"InFile\n", inMessage}};
    for (const Case& c : cases) {
        ParameterSet set = DefaultSet();
        ReadOutcome read = ReadText(General(std::string(c.line) + "NT 9\n"), set);
        EXPECT_EQ(read.result, 1) << c.line;
        EXPECT_EQ(read.messages, Messages{c.message}) << c.line;
        EXPECT_EQ(set.NT, 50) << c.line; // nothing after the failure is read
    }
}

TEST(ReaderGeneral, UnknownKeyIsFatalAndNamedWithoutLineEnd) {
    struct Case {
        const char* line;
        const char* named;
    } cases[] = {{"Colour 5\r\n", "colour 5"},
                 {"  12 Colour 5 # comment\n", "colour 5 "},
                 {"n\t5\n", "n\t5"},
                 {"Colour\n", "colour"}};
    for (const Case& c : cases) {
        ParameterSet set = DefaultSet();
        ReadOutcome read = ReadText(General(c.line), set);
        EXPECT_EQ(read.result, 1) << c.line;
        EXPECT_EQ(read.messages, Messages{ErrorMark + "Parameter \"" + c.named +
                                          "\" not recognised in the \"General\" section.\n"});
    }
}

TEST(ReaderGeneral, EndOfFileInsideTheSectionIsFatal) {
    for (const char* text : {"# Created with Zentrope GUI v050711\n\n[General]\nNT 7\nsortSL 0\n",
                             "[General]", "[general] # x\n\n   \n# only comments\n12345\n"}) {
        ParameterSet set = DefaultSet();
        ReadOutcome read = ReadText(text, set);
        EXPECT_EQ(read.result, 1) << text;
        EXPECT_EQ(read.messages,
                  Messages{ErrorMark +
                           "Reached the end of the configuration file while reading the "
                           "'General' section."});
    }
}

TEST(ReaderGeneral, HeadersAreRecognisedOnlyAtTheLineStart) {
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText(" [General]\nNT 7\n", set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(set.NT, 50);

    // General after Enable is not looked for: its lines are then ignored one by one.
    set = DefaultSet();
    read = ReadText("[Enable]\n1 dft\n[General]\nNT 7\n", set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messages, Messages{"Test not found: [general]\n"});
    EXPECT_EQ(set.NT, 50);
}

TEST(ReaderEnable, EntriesFillSlotsInFileOrder) {
    ParameterSet set = DefaultSet();
    set.Enable[2] = 0;
    ReadOutcome read = ReadText("[ENABLE]\n1 gcd\n0 dft\n1 runs\n", set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messages, Messages{});
    EXPECT_EQ(set.Enable[14], 1);
    EXPECT_EQ(set.Enable[0], 0);
    EXPECT_EQ(set.Enable[6], 1);
    EXPECT_EQ(set.Enable[2], 0); // a test not mentioned keeps its flag
    std::array<int8_t, TestCount> order = FilledWith<int8_t>(-1);
    order[0] = 14;
    order[1] = 0;
    order[2] = 6;
    EXPECT_EQ(set.ExecutionOrder, order);
}

TEST(ReaderEnable, DuplicatesEmptySectionAndIgnoredLines) {
    ParameterSet set = DefaultSet();
    ReadText("[Enable]\n1 dft\n\n# 1 gcd\n2 gcd\n 1 gcd\n1-runs\n0 DFT # again\n", set);
    EXPECT_EQ(set.Enable[0], 0); // the later line decides
    EXPECT_EQ(set.Enable[14], 1);
    EXPECT_EQ(std::vector<int>(set.ExecutionOrder.begin(), set.ExecutionOrder.begin() + 4),
              (std::vector<int>{0, 6, 0, -1}));

    set = DefaultSet();
    EXPECT_EQ(ReadText("[Enable] # 1= test enabled\n\n[AMLS]\n1 2 3\n", set).result, 0);
    EXPECT_EQ(set.ExecutionOrder, FilledWith<int8_t>(-1));
    EXPECT_EQ(set.AMLS_block_length, (RangeParam{1, 2, 3}));
}

TEST(ReaderEnable, OverlappingKeysFollowTheCatalogueOrder) {
    struct Case {
        const char* line;
        int index;
    } cases[] = {{"1 serial two-bit\n", 4}, {"1 serial\n", 8}, {"1 SERIAL TWO-BIT extra\n", 4},
                 {"1 serialx\n", 8},        {"1xdft\n", 0},    {"1 rank 6x8 # r\n", 10},
                 {"1 Runs\r\n", 6},         {"0 dft2 x", 0}};
    for (const Case& c : cases) {
        ParameterSet set = DefaultSet();
        ReadText(std::string("[Enable]\n") + c.line, set);
        EXPECT_EQ(set.ExecutionOrder[0], c.index) << c.line;
    }
}

TEST(ReaderEnable, UnknownTestIsFatal) {
    struct Case {
        const char* line;
        const char* shown;
    } cases[] = {{"1 xyz\n", "1 xyz\n"}, {"1 XYZ # c\n", "1 xyz "}, {"1\n", "1\n"}};
    for (const Case& c : cases) {
        ParameterSet set = DefaultSet();
        ReadOutcome read = ReadText(std::string("[Enable]\n") + c.line + "[AMLS]\n1 2 3\n", set);
        EXPECT_EQ(read.result, 1) << c.line;
        EXPECT_EQ(read.messages,
                  Messages{ErrorMark + "Test not found in line: " + c.shown + "\n\n"});
        EXPECT_EQ(set.AMLS_block_length, (RangeParam{2, 32768, -1}));
    }
}

TEST(ReaderEnable, EntriesBeyondTheSlotsAreReportedOnceAndIgnored) {
    std::string text = "[Enable]\n";
    for (TestId id = 1; id <= TestCount; ++id)
        text += "1 " + std::string(TestKey(id)) + "\n";
    text += "0 DFT\n0 gcd\n[Runs]\n9 9 9\n9 9 9\n";
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText(text, set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messages,
              Messages{ErrorMark + "More than 21 tests in the 'Enable' section, ignored from line: "
                                   "0 dft\n\n\n"});
    for (int i = 0; i < TestCount; ++i) {
        EXPECT_EQ(set.ExecutionOrder[static_cast<size_t>(i)], i);
        EXPECT_EQ(set.Enable[static_cast<size_t>(i)], 1);
    }
    EXPECT_EQ(set.Runs_run_length, (RangeParam{9, 9, 9}));
}

TEST(ReaderEnable, HeaderEndingTheSectionIsTakenWhole) {
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText("[Enable]\n1 dft\n[GCD] # no such section\n1 2 3\n", set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messages, Messages{"Test not found: [gcd] # no such section\n"});
}

TEST(ReaderFile, UnopenableFileIsFatal) {
    ScratchFolder folder;
    for (const std::string& path : {(folder / "missing").string(), folder.Path().string()}) {
        ParameterSet set = DefaultSet();
        std::vector<std::string> shown;
        int result =
            ReadParameterFile(path, set, [&](const std::string& text) { shown.push_back(text); });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(shown, Messages{"ERROR while parsing the parameter file:\n" + ErrorMark +
                                  "Parameter file \"" + path + "\" not opened.\n"});
    }
}

TEST(ReaderFile, LongLineIsReadIn998CharacterPieces) {
    std::string first = "NT 7";
    first.resize(998, ' ');
    std::string line = first + "sortSL 0";
    line.resize(1500, ' ');
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText(General(line + "\n"), set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(set.NT, 7);
    EXPECT_EQ(set.sortSL, 0);

    // Three characters fewer before the key split it: the second piece starts "tSL 0".
    set = DefaultSet();
    EXPECT_EQ(ReadText(General(line.erase(4, 3) + "\n"), set).result, 1);
}

namespace {

// A stream whose reads break after a given number of characters.
class BreakingBuffer : public std::streambuf {
public:
    explicit BreakingBuffer(std::string text) : text_(std::move(text)) {}

protected:
    int_type underflow() override {
        if (pos_ == text_.size())
            throw std::ios_base::failure("device error");
        return traits_type::to_int_type(text_[pos_]);
    }
    int_type uflow() override {
        int_type c = underflow();
        ++pos_;
        return c;
    }

private:
    std::string text_;
    size_t pos_ = 0;
};

} // namespace

TEST(ReaderFile, BrokenReadIsFatal) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {{"[General]\nNT 7\n", "Error while reading the 'General' section."},
                 {"[Enable]\n1 dft\n", "Error while reading the 'Enable' section."},
                 {"[Maurer] # m\n", "Error while reading the '[Maurer]' section."},
                 {"\n", "Error while reading the parameter file."}};
    for (const Case& c : cases) {
        BreakingBuffer buffer(c.text);
        std::istream in(&buffer);
        ParameterSet set = DefaultSet();
        Messages shown;
        int result =
            ReadParameterStream(in, set, [&](const std::string& text) { shown.push_back(text); });
        EXPECT_EQ(result, 1) << c.text;
        EXPECT_EQ(shown,
                  Messages{"ERROR while parsing the parameter file:\n" + ErrorMark + c.message});
    }
}
