#include "paramfile/record_checks.h"

#include "model/c_text.h"
#include "model/parameter_fields.h"
#include "model/sizes.h"

#include <algorithm>

namespace zentrope {
namespace {

// Empty for an index that selects no unit.
std::string_view UnitWord(std::string_view indexText) {
    const int index = ParseStrictInteger(indexText).value_or(-1);
    if (index < 0 || index >= static_cast<int>(SizeUnitList.size()))
        return {};
    return SizeUnitList[static_cast<size_t>(index)];
}

std::string_view SizeName(std::string_view member) {
    if (member == "n")
        return "The sequence length";
    if (member == "DFT_max_n")
        return "The DFT max n";
    return "The DFT optimization threshold";
}

// "Runs_run_length" counts the "run length".
std::string RangeName(std::string_view member) {
    std::string name(member.substr(member.find('_') + 1));
    std::replace(name.begin(), name.end(), '_', ' ');
    return name;
}

} // namespace

std::string SizeText(std::string_view number, std::string_view unitIndex) {
    const std::string_view word = UnitWord(unitIndex);
    const int index = ParseStrictInteger(unitIndex).value_or(-1);
    return std::string(number) + " " + (word.empty() ? "" : UnitAbbreviation(word, index));
}

std::optional<SizeOutOfRange> FirstSizeOutOfRange(const ParameterFileRecord& record) {
    for (const ParameterField& field : ParameterFields()) {
        if (field.kind != FieldKind::Size)
            continue;
        const std::string_view number = record.Value(field.controls[0]);
        const std::string_view unit = record.Value(field.controls[1]);
        if (ParseSizeWithUnit(SizeText(number, unit)).fits)
            continue;
        return SizeOutOfRange{field.controls[0],
                              std::string(SizeName(field.name)) + " " + std::string(number) + " " +
                                  std::string(UnitWord(unit)) +
                                  " is out of range: the tester takes sizes from 0 to "
                                  "4294967295 bits (512 MBytes less one bit)."};
    }
    return std::nullopt;
}

std::vector<InvertedRange> InvertedRanges(const ParameterFileRecord& record) {
    std::vector<InvertedRange> inverted;
    for (const TestId test : record.LBorder) {
        for (const ParameterField& field : ParameterFields()) {
            if (field.section != test || !IsRange(field.kind))
                continue;
            const std::optional<int32_t> min = ParseStrictInteger(record.Value(field.controls[0]));
            const std::optional<int32_t> max = ParseStrictInteger(record.Value(field.controls[1]));
            if (min && max && *min > *max)
                inverted.push_back({test, RangeName(field.name), *min, *max});
        }
    }
    return inverted;
}

} // namespace zentrope
