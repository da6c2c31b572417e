#include "results/grid/csv.h"
#include "results/verdict/figures_csv.h"
#include "tests/results/result_file_text.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace zentrope;
using zentrope::testing::LoadText;
using zentrope::testing::ResultFile;

namespace {

size_t Column(const std::vector<std::string>& header, const std::string& caption) {
    for (size_t i = 0; i < header.size(); ++i)
        if (header[i] == caption)
            return i;
    ADD_FAILURE() << caption;
    return 0;
}

} // namespace

TEST(FiguresCsv, EveryNumberInFullWithMarksAndReasons) {
    // Low = {0.01, 0.02, 0.03}: KS 0.0020055, AD 7.938e-5, SL 93.712, and for d >= 1 - 1/n the
    // exact tail 2 (1 - d)^n = 2 x 0.03^3 = 5.4e-5. "Short" has no line in the third section.
    std::string text =
        "No result: line 3 \"Wide\": needs 268,435,456 bits, a sequence holds "
        "2,000,000\n" +
        ResultFile({"Low", "Mid", "Wide", "Odd", "Short"}, {{"0.0100", "0.1", "-1", "-1", "0.5"},
                                                            {"0.02", "0.5", "-1.0", "-1", "0.25"},
                                                            {"0.03", "0.9", "-1", "-1"}});
    ResultGrid grid;
    LoadText(grid, text);
    const std::string csv = FiguresCsv(grid, {0.0005, 0.001, 100}, 0.01, ReadNoResultReasons(text));
    ASSERT_NE(csv.find("\r\n"), std::string::npos);
    const std::optional<CsvTable> table = ReadCsv(csv);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->size(), 6u);
    const std::vector<std::string>& header = (*table)[0];
    const std::vector<std::string>& low = (*table)[1];
    EXPECT_EQ(low[Column(header, "Test name")], "Low");
    // The p-values as the file writes them.
    EXPECT_EQ(low[Column(header, "1")], "0.0100");
    EXPECT_EQ(low[Column(header, "3")], "0.03");
    const std::string ks = low[Column(header, "KS")];
    EXPECT_NEAR(std::strtod(ks.c_str(), nullptr), 0.0020055, 5e-8);
    EXPECT_EQ(ks.size(), std::string("0.0020054862645179916").size()) << ks; // 17 digits
    EXPECT_NEAR(std::strtod(low[Column(header, "AD")].c_str(), nullptr), 7.938e-5, 5e-9);
    EXPECT_NEAR(std::strtod(low[Column(header, "SL")].c_str(), nullptr), 93.712, 5e-4);
    EXPECT_NEAR(std::strtod(low[Column(header, "exact KS p")].c_str(), nullptr) / 5.4e-5, 1, 1e-9);
    // Holm over the two rows with figures ("Short" has two values, its missing cell none): 2 x KS.
    EXPECT_NEAR(std::strtod(low[Column(header, "Holm KS p")].c_str(), nullptr), 2 * 0.0020055,
                2e-7);
    EXPECT_EQ(low[Column(header, "mark")], "fails");
    EXPECT_NE(low[Column(header, "crosses")].find("AD below ADmin: "), std::string::npos);

    const std::vector<std::string>& wide = (*table)[3];
    EXPECT_EQ(wide[Column(header, "1")], "-1");
    EXPECT_EQ(wide[Column(header, "2")], "-1");
    EXPECT_EQ(wide[Column(header, "KS")], "");
    EXPECT_EQ(wide[Column(header, "mark")], "no result");
    EXPECT_EQ(wide[Column(header, "no result")],
              "needs 268,435,456 bits, a sequence holds 2,000,000");
    const std::vector<std::string>& odd = (*table)[4];
    EXPECT_EQ(odd[Column(header, "mark")], "no result");
    EXPECT_EQ(odd[Column(header, "no result")], "no reason given");
    EXPECT_EQ((*table)[5][Column(header, "3")], ""); // no line in that section
}

TEST(FiguresCsv, UnderflowIsABoundAndRowsFollowTheTable) {
    std::vector<std::vector<std::string>> sections;
    for (int s = 0; s < 400; ++s)
        sections.push_back({std::to_string((s + 0.5) / 400), "0"});
    ResultGrid grid;
    LoadText(grid, ResultFile({"Even", "Zero"}, sections), {.sortKs = true});
    grid.SwapRows(1, 2);
    const std::optional<CsvTable> table = ReadCsv(FiguresCsv(grid, {}, 0.01, {}));
    ASSERT_TRUE(table);
    const std::vector<std::string>& header = (*table)[0];
    EXPECT_EQ((*table)[1][1], grid.Cell(1, 1));
    for (const std::vector<std::string>& row : *table)
        if (row[1] == "Zero") {
            EXPECT_EQ(row[Column(header, "KS")], "< 1e-300");
            EXPECT_EQ(row[Column(header, "AD")], "< 1e-300");
            EXPECT_EQ(row[Column(header, "exact KS p")], "< 1e-300");
        }
}
