// Every parameter of a run described once: its member of the set, its default, the controls
// that show it and its place in the parameter file. The reader, the writer, the defaults and
// the window all walk this table.
#pragma once

#include "model/parameter_set.h"

#include <array>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

namespace zentrope {

// How a value is held by its controls, written, read and shown.
enum class FieldKind {
    Size,         // bits; controls: the number edit, the unit combo box
    Integer,      // controls: an edit holding a whole number
    Position,     // controls: a spinner, the edit that shows its position
    Choice,       // non-zero selects item 1; controls: a combo box
    Flag,         // controls: the button checked when on, the radio button checked when off
    Number,       // a C-locale decimal number shown with "%g"; controls: an edit
    Text,         // a quoted name, absent shown as empty; controls: an edit
    KeptText,     // as Text, but absent leaves the edit as it is
    Range,        // min, max, step; controls: three edits
    SpinnerRange, // controls: min and max spinners, the step edit
    PowerRange,   // min and max shown as powers of two; controls: the min, max and step labels
                  // that hold the values, then their three spinners
};

using FieldMember =
    std::variant<uint32_t ParameterSet::*, int32_t ParameterSet::*, double ParameterSet::*,
                 std::optional<std::string> ParameterSet::*, RangeParam ParameterSet::*>;

// std::monostate: the defaults leave the field alone.
using FieldDefault = std::variant<std::monostate, int64_t, double, RangeParam>;

inline constexpr TestId GeneralSection = 0;

struct ParameterField {
    std::string_view name; // the member's name
    FieldMember member;
    FieldKind kind;
    FieldDefault byDefault;
    std::array<std::string_view, 6> controls;
    TestId section; // GeneralSection or the test whose section holds the field
    int row;        // the file row; the fields of one line share it and are written tab-separated
    std::string_view key;  // [General] key as written, matched lower-cased by prefix
    std::string_view lead; // lines written before the row
    std::string_view tail; // the rest of the line after the values; on the line's last field
};

// In the order a set reaches the window: NT before the input file, whose change handler
// reads it, and the input file before the length, whose handlers read the input size.
std::span<const ParameterField> ParameterFields();

// The fields of one line of the file, in their order on it.
using FieldRow = std::vector<const ParameterField*>;

// Every line that holds fields, in file order: [General] first, then the test sections.
const std::vector<FieldRow>& FileRows();

// How many of the first controls a save reads: the values' texts, in file order.
int SavedControlCount(FieldKind kind);

// The kinds that hold min, max and step.
bool IsRange(FieldKind kind);

// 3 for the ranges, 1 for the others.
int ValueCount(FieldKind kind);

// The ranges of a test's section as the set holds them, in the table's order.
std::vector<RangeParam> SectionRanges(const ParameterSet& set, TestId section);

} // namespace zentrope
