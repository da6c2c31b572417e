// The values a min, max, step triple stands for.
#pragma once

#include "model/parameter_set.h"

#include <cstdint>
#include <vector>

namespace zentrope {

// More values than this from one range are cut off (and the report says so).
inline constexpr size_t MaxRangeValues = 64;

struct RangeValues {
    std::vector<int64_t> values;
    bool capped = false; // the range had more than MaxRangeValues values
};

// step > 0: min, min + step, ... up to max. step = -k: min, min * 2^k, ... up to max, which
// needs min >= 1 (else min alone). step = 0: min alone. min > max gives no value.
RangeValues ExpandRange(const RangeParam& range);

} // namespace zentrope
