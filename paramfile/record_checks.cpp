#include "record_checks.h"

#include "model/c_text.h"
#include "sizes.h"

#include <algorithm>
#include <variant>

namespace zentrope {
namespace {

// A range end as the window holds it: a spinner's position or an edit's (or label's) text.
using RangeEnd = std::variant<int, const std::string*>;

std::optional<int32_t> ValueOf(const RangeEnd& end) {
    if (const int* position = std::get_if<int>(&end))
        return *position;
    return ParseStrictInteger(*std::get<const std::string*>(end));
}

struct Range {
    TestId test;
    std::string_view name;
    RangeEnd min;
    RangeEnd max;
};

std::vector<Range> RangesOf(const ParameterFileRecord& r) {
    const auto id = [](std::string_view key) { return *FindSectionByKeyPrefix(key); };
    return {
        {id("amls"), "block length", &r.LabAMLSmin, &r.LabAMLSmax},
        {id("collision"), "block size", r.uCOLLsmin, r.uCOLLsmax},
        {id("coupon collector"), "block size", r.uCOUmin, r.uCOUmax},
        {id("dft"), "rows", &r.eDFTdmin, &r.eDFTdmax},
        {id("long blocks"), "block size", &r.eLBLKmin, &r.eLBLKmax},
        {id("maurer"), "block size", r.uMAUmin, r.uMAUmax},
        {id("non overlapping template matchings"), "block size", &r.eNOTMmin, &r.eNOTMmax},
        {id("permutation"), "block size", &r.ePERMsmin, &r.ePERMsmax},
        {id("permutation"), "group size", r.uPERMtmin, r.uPERMtmax},
        {id("rank 6x8"), "byte order", r.uRNKmin, r.uRNKmax},
        {id("runs"), "block size", r.uRUNsmin, r.uRUNsmax},
        {id("runs"), "run length", r.uRUNrmin, r.uRUNrmax},
        {id("serial"), "block size", &r.eSERmin, &r.eSERmax},
        {id("short blocks"), "block size", &r.eSBLKsmin, &r.eSBLKsmax},
        {id("short blocks"), "bits distance", &r.eSBLKdmin, &r.eSBLKdmax},
        {id("windowed autocorrelation"), "distance", &r.eAUTWdmin, &r.eAUTWdmax},
        {id("windowed autocorrelation"), "block size", &r.eAUTWmmin, &r.eAUTWmmax},
    };
}

// Empty for an index that selects no unit.
std::string_view UnitWord(int index) {
    if (index < 0 || index >= static_cast<int>(SizeUnitList.size()))
        return {};
    return SizeUnitList[static_cast<size_t>(index)];
}

} // namespace

std::string SizeText(std::string_view number, int unit_index) {
    const std::string_view word = UnitWord(unit_index);
    return std::string(number) + " " + (word.empty() ? "" : UnitAbbreviation(word, unit_index));
}

std::optional<SizeOutOfRange> FirstSizeOutOfRange(const ParameterFileRecord& r) {
    struct Size {
        std::string_view field;
        std::string_view name;
        const std::string& number;
        int unit;
    };
    const Size sizes[] = {
        {"Editn", "The sequence length", r.Editn, r.CBnUM},
        {"eDFTmax", "The DFT max n", r.eDFTmax, r.CBdftMax},
        {"eDFToptimize", "The DFT optimization threshold", r.eDFToptimize, r.CBdftOptimize},
    };
    for (const Size& size : sizes) {
        if (ParseSizeWithUnit(SizeText(size.number, size.unit)).fits)
            continue;
        return SizeOutOfRange{size.field, std::string(size.name) + " " + size.number + " " +
                                              std::string(UnitWord(size.unit)) +
                                              " is out of range: the tester takes sizes from 0 "
                                              "to 4294967295 bits (512 MBytes less one bit)."};
    }
    return std::nullopt;
}

std::vector<InvertedRange> InvertedRanges(const ParameterFileRecord& record) {
    std::vector<InvertedRange> inverted;
    for (const Range& range : RangesOf(record)) {
        if (std::find(record.LBorder.begin(), record.LBorder.end(), range.test) ==
            record.LBorder.end())
            continue;
        const std::optional<int32_t> min = ValueOf(range.min);
        const std::optional<int32_t> max = ValueOf(range.max);
        if (min && max && *min > *max)
            inverted.push_back({range.test, range.name, *min, *max});
    }
    return inverted;
}

} // namespace zentrope
