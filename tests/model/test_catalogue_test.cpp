#include "model/test_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace zentrope;

TEST(TestCatalogue, KeysNamesAndCheckBoxesAreUnique) {
    std::set<std::string_view> keys, names;
    std::set<int> boxes;
    for (TestId id = 1; id <= TestCount; ++id) {
        keys.insert(TestKey(id));
        names.insert(DisplayName(id));
        boxes.insert(TestCatalogue(id).checkBox);
    }
    EXPECT_EQ(keys.size(), 21u);
    EXPECT_EQ(names.size(), 21u);
    EXPECT_EQ(boxes.size(), 21u);
    EXPECT_EQ(*boxes.begin(), 1);
    EXPECT_EQ(*boxes.rbegin(), 21);
}

TEST(TestCatalogue, SectionHeaders) {
    const char* expected[] = {"[DFT]",
                              "[Maurer]",
                              "[Short blocks]",
                              "[Long blocks]",
                              "[Runs]",
                              "[Serial]",
                              "[Non overlapping template matchings]",
                              "[Rank 6x8]",
                              "[Windowed autocorrelation]",
                              "[Permutation]",
                              "[Coupon collector]",
                              "[AMLS]",
                              "[Collision]"};
    std::vector<std::string_view> headers;
    for (TestId id = 1; id <= TestCount; ++id)
        if (HasParameters(id))
            headers.push_back(SectionHeader(id));
    ASSERT_EQ(headers.size(), 13u);
    for (size_t i = 0; i < headers.size(); ++i)
        EXPECT_EQ(headers[i], expected[i]);
}

TEST(TestCatalogue, FindByKeyPrefixFirstMatchWins) {
    EXPECT_EQ(FindByKeyPrefix("serial two-bit"), 5);
    EXPECT_EQ(FindByKeyPrefix("serial"), 9);
    EXPECT_EQ(FindByKeyPrefix("serialx"), 9);
    EXPECT_EQ(FindByKeyPrefix("non overlapping template matchings"), 10);
    EXPECT_EQ(FindByKeyPrefix("sparse occupancy bitstream"), 14);
    EXPECT_EQ(FindByKeyPrefix("xyz"), std::nullopt);
    EXPECT_EQ(FindByKeyPrefix("df"), std::nullopt);
    EXPECT_EQ(FindSectionByKeyPrefix("gcd]"), std::nullopt);
    EXPECT_EQ(FindSectionByKeyPrefix("rank 6x8]"), 11);
}

TEST(TestCatalogue, FindByDisplayNameIsExactAndCaseSensitive) {
    EXPECT_EQ(FindByDisplayName("DFT"), 1);
    EXPECT_EQ(FindByDisplayName("NOTM"), 10);
    EXPECT_EQ(FindByDisplayName("dft"), std::nullopt);
    EXPECT_EQ(FindByDisplayName("DFT "), std::nullopt);
    for (TestId id = 1; id <= TestCount; ++id)
        EXPECT_EQ(FindByDisplayName(DisplayName(id)), id);
}
