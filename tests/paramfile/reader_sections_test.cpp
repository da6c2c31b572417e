#include "paramfile/parameter_file_writer.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

std::string DefaultFile() {
    return FormatParameterFile(DefaultRecord()).text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line + "\n");
    return lines;
}

std::string Joined(const std::vector<std::string>& lines, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += lines[i];
    return text;
}

std::string MissingValue(const std::string& header) {
    return ErrorMark + "Parameter missing in section: " + header + "\n";
}

} // namespace

TEST(ReaderSections, DefaultFileReadsBackToTheDefaults) {
    ParameterSet set;
    ReadOutcome read = ReadText(DefaultFile(), set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messages, Messages{});
    ParameterSet expected = DefaultSet();
    expected.OutFile = "_Zentrope.txt";
    EXPECT_EQ(Dump(set), Dump(expected));
}

TEST(ReaderSections, MissingValuesAreReportedAndKept) {
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText("[Rank 6x8]\n0\t24\n", set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messages, Messages{MissingValue("[Rank 6x8]\n")});
    EXPECT_EQ(set.Rank6x8_byte_order, (RangeParam{0, 24, 1}));

    // The header is named as written, cut at its comment; a blank line has no values at all.
    set = DefaultSet();
    read = ReadText("[MAURER] # m\n\n", set);
    EXPECT_EQ(read.messages, Messages(4, MissingValue("[MAURER] ")));
    EXPECT_EQ(set.Maurer_block_size, (RangeParam{2, 12, 6}));
    EXPECT_EQ(set.Maurer_N, 1000);
}

TEST(ReaderSections, NumbersAreSeparatedByAnythingButDigitsAndMinus) {
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText("[Serial]\n# a comment line\n#\n2.5 +7 # 8\n"
                                "[Permutation]\n-\t--5\t-3-4\nx9y8z7w6\n"
                                "[Non overlapping template matchings]\n1\t2\t3\t4\t5\r\n",
                                set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messages, Messages{});
    EXPECT_EQ(set.Serial_block_size, (RangeParam{2, 5, 7}));
    EXPECT_EQ(set.Permutation_block_size, (RangeParam{0, 0, -3}));
    EXPECT_EQ(set.Permutation_group_size, (RangeParam{9, 8, 7}));
    EXPECT_EQ(set.NOTM_block_size, (RangeParam{1, 2, 3}));
    EXPECT_EQ(set.NOTM_templates, 4);
}

TEST(ReaderSections, OutOfRangeIntegersSaturate) {
    ParameterSet set = DefaultSet();
    ReadText("[Serial]\n99999999999 -99999999999 2147483647\n", set);
    EXPECT_EQ(set.Serial_block_size, (RangeParam{2147483647, -2147483648, 2147483647}));
}

TEST(ReaderSections, SectionHeadersMatchByPrefixFromTheSecondCharacter) {
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText("[Serial two-bit]\n4 5 6\n(runs)\n1 2 3\n4 5 6\n"
                                "[GCD]\n7 8 9\n[AMLS]\n1 2 3\n",
                                set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messages, Messages{"Test not found: [gcd]\n"});
    EXPECT_EQ(set.Serial_block_size, (RangeParam{4, 5, 6}));
    EXPECT_EQ(set.Runs_block_size, (RangeParam{1, 2, 3}));
    EXPECT_EQ(set.Runs_run_length, (RangeParam{4, 5, 6}));
    EXPECT_EQ(set.AMLS_block_length, (RangeParam{1, 2, 3}));
}

TEST(ReaderSections, DftSizeLinesAreTakenAsTheyStand) {
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText("[dft]\n64 MB # c\n1.5 kb\n2 4 8\n0 1\n", set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(set.DFT_max_n, 536870912u);
    EXPECT_EQ(set.DFT_optimize, 1500u);
    EXPECT_EQ(set.DFT_rows, (RangeParam{2, 4, 8}));
    EXPECT_EQ(set.DFT_mode0, 0);
    EXPECT_EQ(set.DFT_mode1, 1);

    // Not skipped when commented: the comment line is read as a size of 0.
    set = DefaultSet();
    ReadText("[DFT]\n# c\n3 Mb\n1 1 1\n1 1\n", set);
    EXPECT_EQ(set.DFT_max_n, 0u);
    EXPECT_EQ(set.DFT_optimize, 3145728u);
}

TEST(ReaderSections, DftSizeBeyond32BitsIsReportedAndKept) {
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText("[DFT]\n1 GB \t# max n\n8 gB\n1 1 1\n1 1\n", set);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messages,
              (Messages{ErrorMark +
                            "Size out of range (0 to 4294967295 bits) in line: 1 GB \t# max n\n\n",
                        ErrorMark + "Size out of range (0 to 4294967295 bits) in line: 8 gB\n\n"}));
    EXPECT_EQ(set.DFT_max_n, 33554432u);
    EXPECT_EQ(set.DFT_optimize, 3145728u);
    EXPECT_EQ(set.DFT_rows, (RangeParam{1, 1, 1}));
}

TEST(ReaderSections, CrLfFileReadsLikeLfFile) {
    ParameterFileRecord record = DefaultRecord();
    record["EditInFile"] = "C:\\bits\\a b.bin";
    record["Editn"] = "3";
    record["CBnUM"] = "9";
    std::string lf = FormatParameterFile(record).text;
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ParameterSet fromLf;
    ParameterSet fromCrLf;
    ReadText(lf, fromLf);
    ReadOutcome read = ReadText(crlf, fromCrLf);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.messages, Messages{});
    EXPECT_EQ(Dump(fromCrLf), Dump(fromLf));
    EXPECT_EQ(fromCrLf.InFile, "C:\\bits\\a b.bin");
    EXPECT_EQ(fromCrLf.n, 25165824u);
}

TEST(ReaderSections, SectionOrderDoesNotMatter) {
    std::string text = DefaultFile();
    size_t sectionsStart = text.find("\n[AMLS]");
    std::vector<std::string> sections;
    for (size_t pos = sectionsStart; pos != std::string::npos;) {
        size_t next = text.find("\n\n[", pos + 2);
        sections.push_back(text.substr(pos, next == std::string::npos ? next : next + 1 - pos));
        pos = next == std::string::npos ? next : next + 1;
    }
    ASSERT_EQ(sections.size(), 13u);
    std::string reversed = text.substr(0, sectionsStart);
    for (auto it = sections.rbegin(); it != sections.rend(); ++it)
        reversed += *it;

    ParameterFileRecord changed = DefaultRecord();
    changed["LabAMLSmin"] = "5";
    changed["uCOLLsmin"] = "11";
    changed["eAUTWmstp"] = "-7";
    ParameterSet inOrder;
    ParameterSet inReverse;
    ReadText(text, inOrder);
    ReadOutcome read = ReadText(reversed, inReverse);
    EXPECT_EQ(read.messages, Messages{});
    EXPECT_EQ(Dump(inReverse), Dump(inOrder));
}

// Cut the writer's file after every line of the test sections: where a section still expects
// a line the reading stops with a message naming it; where a section is complete it succeeds.
TEST(ReaderSections, TruncatedFileStopsInEverySectionKind) {
    std::vector<std::string> lines = SplitLines(DefaultFile());
    size_t first = 0;
    while (lines[first] != "[AMLS]\n")
        ++first;
    std::string header;
    int fatalCuts = 0;
    for (size_t count = first + 1; count <= lines.size(); ++count) {
        if (lines[count - 1].starts_with('['))
            header = lines[count - 1].substr(0, lines[count - 1].size() - 1);
        bool sectionComplete =
            count == lines.size() || lines[count] == "\n" || lines[count - 1] == "\n";
        ParameterSet set = DefaultSet();
        ReadOutcome read = ReadText(Joined(lines, count), set);
        if (sectionComplete) {
            EXPECT_EQ(read.result, 0) << count;
            EXPECT_EQ(read.messages, Messages{}) << count;
            continue;
        }
        ++fatalCuts;
        EXPECT_EQ(read.result, 1) << count;
        EXPECT_EQ(read.messages,
                  Messages{ErrorMark +
                           "Reached the end of the configuration file while reading the '" +
                           header + "' section."})
            << count;
    }
    // After every header, after three more DFT lines and after four first value lines.
    EXPECT_EQ(fatalCuts, 13 + 3 + 4);
}

TEST(ReaderSections, LastLineWithoutLineEndIsStillRead) {
    ParameterSet set = DefaultSet();
    ReadOutcome read = ReadText("[Runs]\n4\t32", set);
    EXPECT_EQ(read.result, 1);
    EXPECT_EQ(read.messages,
              (Messages{MissingValue("[Runs]\n"),
                        ErrorMark + "Reached the end of the configuration file while reading the "
                                    "'[Runs]' section."}));
    EXPECT_EQ(set.Runs_block_size, (RangeParam{4, 32, -1}));
}
