#include "tester/range_values.h"

namespace zentrope {
namespace {

// The value after v, or v itself when the range cannot grow from v.
int64_t NextValue(int64_t v, int32_t step) {
    if (step > 0)
        return v + step;
    const int shift = step < -62 ? 62 : -step;
    if (v < 1 || v > (int64_t{1} << 62) >> shift)
        return v;
    return v << shift;
}

} // namespace

RangeValues ExpandRange(const RangeParam& range) {
    RangeValues out;
    for (int64_t v = range.min; v <= range.max;) {
        if (out.values.size() == MaxRangeValues) {
            out.capped = true;
            break;
        }
        out.values.push_back(v);
        const int64_t next = NextValue(v, range.step);
        if (next <= v)
            break;
        v = next;
    }
    return out;
}

} // namespace zentrope
