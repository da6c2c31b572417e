// The fixed table of the 21 tests: keys for the parameter file, names for the screen.
#pragma once

#include <optional>
#include <string_view>

namespace zentrope {

// 1-based position of a test in the catalogue; the zero-based index is TestId - 1.
using TestId = int;

inline constexpr int TestCount = 21;

struct CatalogueRow {
    std::string_view key;           // lower case, as in the [Enable] section
    std::string_view displayName;   // check box caption and execution-order list text
    std::string_view sectionHeader; // empty for the tests without parameters
    int checkBox;                   // N of the check box CheckBoxN showing this test
};

// Catalogue order matters: "serial two-bit" must stand before "serial" for prefix lookups.
const CatalogueRow& TestCatalogue(TestId id);

std::string_view TestKey(TestId id);
std::string_view DisplayName(TestId id);
std::string_view SectionHeader(TestId id);
bool HasParameters(TestId id);

// First test whose display name equals the text exactly (case-sensitive).
std::optional<TestId> FindByDisplayName(std::string_view text);
// First test whose key equals the start of the text over the key's whole length.
std::optional<TestId> FindByKeyPrefix(std::string_view text);
// As FindByKeyPrefix, but only among the tests that have a parameter section.
std::optional<TestId> FindSectionByKeyPrefix(std::string_view text);

} // namespace zentrope
