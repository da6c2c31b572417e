#include "results/grid/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zentrope;

namespace {
std::string Record(std::initializer_list<std::string_view> fields) {
    std::string out;
    AppendCsvRecord(out, std::vector<std::string_view>(fields));
    return out;
}
} // namespace

TEST(Csv, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(Record({"N", "Test name", "0.5000000"}), "N,Test name,0.5000000\r\n");
    EXPECT_EQ(Record({"a,b", "say \"hi\"", "two\nlines", "cr\r"}),
              "\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\"\r\n");
    EXPECT_EQ(Record({"", "Größe", " padded "}), ",Größe, padded \r\n");
}

TEST(Csv, ReadsTheStandardsExamplesAndRoundTrips) {
    EXPECT_EQ(ReadCsv("aaa,bbb,ccc\r\nzzz,yyy,xxx"),
              CsvTable({{"aaa", "bbb", "ccc"}, {"zzz", "yyy", "xxx"}}));
    EXPECT_EQ(ReadCsv("\"aaa\",\"b\r\nbb\",\"ccc\"\r\n"), CsvTable({{"aaa", "b\r\nbb", "ccc"}}));
    EXPECT_EQ(ReadCsv("\"aaa\",\"b\"\"bb\",\"ccc\"\n"), CsvTable({{"aaa", "b\"bb", "ccc"}}));
    EXPECT_EQ(ReadCsv(""), CsvTable());

    const CsvTable table = {{"N", "Test name", "KS"},
                            {"1", "Serial, m=2", "1e-300"},
                            {"2", "\"quoted\"", ""},
                            {"3", "multi\r\nline\n", "Größe"}};
    std::string text;
    for (const auto& row : table)
        AppendCsvRecord(text, std::vector<std::string_view>(row.begin(), row.end()));
    EXPECT_EQ(ReadCsv(text), table);
}

TEST(Csv, RejectsTextThatIsNotCsv) {
    EXPECT_FALSE(ReadCsv("a\"b,c\r\n"));
    EXPECT_FALSE(ReadCsv("\"a\"b,c\r\n"));
    EXPECT_FALSE(ReadCsv("\"open,c\r\n"));
    EXPECT_FALSE(ReadCsv("a\rb\r\n"));
}

// A spreadsheet runs a cell starting with =, +, -, @, TAB or CR as a formula: such text is
// written as text, while numbers of any sign and form stay numbers.
TEST(Csv, TextThatWouldRunAsAFormulaIsWrittenAsText) {
    EXPECT_EQ(Record({"=HYPERLINK(\"http://x\",\"y\")", "@SUM(A1:A2)"}),
              "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",\"'@SUM(A1:A2)\"\r\n");
    EXPECT_EQ(Record({"+cmd", "- error -", "\tx", "\rx", "-inf", "-1x", "-"}),
              "\"'+cmd\",\"'- error -\",\"'\tx\",\"'\rx\",\"'-inf\",\"'-1x\",\"'-\"\r\n");
    EXPECT_EQ(Record({"-1", "-0.5", "+2", "-.5", "-1.5e-300", "+3E+2", "0.25", "a=b"}),
              "-1,-0.5,+2,-.5,-1.5e-300,+3E+2,0.25,a=b\r\n");
}
