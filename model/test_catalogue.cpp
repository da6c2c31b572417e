#include "model/test_catalogue.h"

#include <array>

namespace zentrope {
namespace {

constexpr std::array<CatalogueRow, TestCount> Rows{{
    {"dft", "DFT", "[DFT]", 1},
    {"maurer", "Maurer", "[Maurer]", 7},
    {"short blocks", "Short blocks", "[Short blocks]", 3},
    {"long blocks", "Long blocks", "[Long blocks]", 8},
    {"serial two-bit", "Serial two-bit", "", 12},
    {"blocks'n'gaps", "Blocks'n'gaps", "", 13},
    {"runs", "Runs", "[Runs]", 14},
    {"cumulative sum", "Cumulative sum", "", 15},
    {"serial", "Serial", "[Serial]", 10},
    {"non overlapping template matchings", "NOTM", "[Non overlapping template matchings]", 6},
    {"rank 6x8", "Rank 6x8", "[Rank 6x8]", 11},
    {"rank 31x31", "Rank 31x31", "", 17},
    {"rank 32x32", "Rank 32x32", "", 18},
    {"sparse occupancy bitstream", "SOB", "", 16},
    {"gcd", "GCD", "", 19},
    {"tough birthday spacings", "Tough birthday spacings", "", 20},
    {"windowed autocorrelation", "Windowed autocorrelation", "[Windowed autocorrelation]", 2},
    {"permutation", "Permutation", "[Permutation]", 4},
    {"coupon collector", "Coupon collector", "[Coupon collector]", 5},
    {"amls", "AMLS", "[AMLS]", 9},
    {"collision", "Collision", "[Collision]", 21},
}};

std::optional<TestId> FindKey(std::string_view text, bool sectionsOnly) {
    for (TestId id = 1; id <= TestCount; ++id) {
        const CatalogueRow& row = Rows[id - 1];
        if (sectionsOnly && row.sectionHeader.empty())
            continue;
        if (text.starts_with(row.key))
            return id;
    }
    return std::nullopt;
}

} // namespace

const CatalogueRow& TestCatalogue(TestId id) {
    return Rows.at(static_cast<size_t>(id - 1));
}
std::string_view TestKey(TestId id) {
    return TestCatalogue(id).key;
}
std::string_view DisplayName(TestId id) {
    return TestCatalogue(id).displayName;
}
std::string_view SectionHeader(TestId id) {
    return TestCatalogue(id).sectionHeader;
}
bool HasParameters(TestId id) {
    return !TestCatalogue(id).sectionHeader.empty();
}

std::optional<TestId> FindByDisplayName(std::string_view text) {
    for (TestId id = 1; id <= TestCount; ++id)
        if (Rows[id - 1].displayName == text)
            return id;
    return std::nullopt;
}

std::optional<TestId> FindByKeyPrefix(std::string_view text) {
    return FindKey(text, false);
}
std::optional<TestId> FindSectionByKeyPrefix(std::string_view text) {
    return FindKey(text, true);
}

} // namespace zentrope
