#include "results/compare/parameter_differences.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrope;

TEST(ParameterDifferences, ChangedLinesUnderTheirSectionsAgainstTheFirstFile) {
    const std::string base = "[General]\nn = 100\nNT = 10\n[Serial]\nmin = 2\nmax = 8\n"
                             "[Runs]\nmin = 1\n";
    const std::vector<ComparedParameters> runs = {
        {"imported", std::nullopt},
        {"A", base},
        {"B", "[General]\r\nn = 100\r\nNT = 12\r\n[Serial]\r\nmin = 2\r\nmax = 9\r\n"
              "[Runs]\r\nmin = 1\r\n[Rank]\r\nmin = 3\r\n"},
        {"C", base},
    };
    EXPECT_EQ(ParameterDifferences(runs), "imported: no parameter file.\n\n"
                                          "B against A:\n"
                                          "  [General]\n"
                                          "- NT = 10\n"
                                          "+ NT = 12\n"
                                          "  [Serial]\n"
                                          "- max = 8\n"
                                          "+ max = 9\n"
                                          "+ [Rank]\n"
                                          "+ min = 3\n"
                                          "\n"
                                          "C: the same parameters as A.\n\n");
}
