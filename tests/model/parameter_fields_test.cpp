#include "model/parameter_fields.h"

#include <gtest/gtest.h>

#include <set>

using namespace zentrope;

namespace {

std::string Lower(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

int NamedControls(const ParameterField& field) {
    int count = 0;
    for (std::string_view name : field.controls)
        count += name.empty() ? 0 : 1;
    return count;
}

} // namespace

// The reader tries the keys in table order, which is right only while no key begins another
// (a size key is matched with its blank, so "n" does not take "nt").
TEST(ParameterFields, GeneralKeysDoNotShadowEachOther) {
    std::set<std::string> names;
    for (const ParameterField& a : ParameterFields()) {
        EXPECT_TRUE(names.insert(std::string(a.name)).second) << a.name;
        if (a.section != GeneralSection)
            continue;
        const std::string key = Lower(a.key) + (a.kind == FieldKind::Size ? " " : "");
        for (const ParameterField& b : ParameterFields()) {
            if (&a != &b && b.section == GeneralSection) {
                EXPECT_FALSE(Lower(b.key).starts_with(key)) << a.key << " takes " << b.key;
            }
        }
    }
}

// Every control a kind shows its value in is named, and a line's fields fit one value line.
TEST(ParameterFields, EachKindNamesItsControlsAndRowsFitALine) {
    std::set<std::string_view> controls;
    for (const ParameterField& field : ParameterFields()) {
        const int minimum = field.kind == FieldKind::PowerRange ? 6
                            : field.kind == FieldKind::Position || field.kind == FieldKind::Size
                                ? 2
                                : SavedControlCount(field.kind);
        EXPECT_GE(NamedControls(field), minimum) << field.name;
        for (std::string_view name : field.controls) {
            if (!name.empty()) {
                EXPECT_TRUE(controls.insert(name).second) << name << " shows two fields";
            }
        }
    }
    int previousRow = 0;
    for (const FieldRow& row : FileRows()) {
        EXPECT_GT(row.front()->row, previousRow);
        previousRow = row.front()->row;
        int values = 0;
        for (const ParameterField* field : row) {
            EXPECT_EQ(field->section, row.front()->section) << field->name;
            values += ValueCount(field->kind);
        }
        EXPECT_LE(values, 4) << row.front()->name;
        EXPECT_FALSE(row.back()->tail.empty()) << row.back()->name << " ends no line";
    }
}

// The file puts [General] first and gives every test with parameters its own section.
TEST(ParameterFields, SectionsFollowTheCatalogue) {
    std::set<TestId> sections;
    bool testSectionSeen = false;
    for (const FieldRow& row : FileRows()) {
        const TestId section = row.front()->section;
        if (section == GeneralSection) {
            EXPECT_FALSE(testSectionSeen) << row.front()->name;
            continue;
        }
        testSectionSeen = true;
        EXPECT_TRUE(HasParameters(section)) << row.front()->name;
        sections.insert(section);
    }
    for (TestId id = 1; id <= TestCount; ++id)
        EXPECT_EQ(sections.contains(id), HasParameters(id)) << DisplayName(id);
}
