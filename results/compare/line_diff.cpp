#include "results/compare/line_diff.h"

#include <algorithm>
#include <cstdint>

namespace zentrope {
namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

using Lines = std::vector<std::string_view>;

// Myers' greedy forward search: v[k] is the furthest x on diagonal k = x - y after d edits.
// Round d keeps its diagonals -d .. d to walk the path back: memory grows as the square of
// the number of edits, small for files that are mostly alike.
struct Round {
    int64_t d;
    std::vector<int64_t> x; // x[k + d]
    int64_t At(int64_t k) const { return x[size_t(k + d)]; }
};

std::vector<Round> ForwardRounds(const Lines& a, const Lines& b) {
    const auto n = static_cast<int64_t>(a.size());
    const auto m = static_cast<int64_t>(b.size());
    const int64_t offset = n + m + 1;
    std::vector<int64_t> v(static_cast<size_t>(2 * offset + 1), 0);
    std::vector<Round> rounds;
    const auto keep = [&](int64_t d) {
        rounds.push_back({d, {v.begin() + offset - d, v.begin() + offset + d + 1}});
    };
    for (int64_t d = 0; d <= n + m; ++d) {
        for (int64_t k = -d; k <= d; k += 2) {
            const bool down = k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]);
            int64_t x = down ? v[offset + k + 1] : v[offset + k - 1] + 1;
            int64_t y = x - k;
            while (x < n && y < m && a[size_t(x)] == b[size_t(y)])
                ++x, ++y;
            v[offset + k] = x;
            if (x >= n && y >= m) {
                keep(d);
                return rounds;
            }
        }
        keep(d);
    }
    return rounds;
}

} // namespace

std::vector<DiffLine> DiffLines(std::string_view before, std::string_view after) {
    const Lines a = SplitLines(before);
    const Lines b = SplitLines(after);
    const std::vector<Round> rounds = ForwardRounds(a, b);
    std::vector<DiffLine> reversed;
    int64_t x = static_cast<int64_t>(a.size());
    int64_t y = static_cast<int64_t>(b.size());
    for (auto d = static_cast<int64_t>(rounds.size()) - 1; d >= 0; --d) {
        const int64_t k = x - y;
        int64_t prev_x = 0;
        int64_t prev_y = 0;
        if (d > 0) {
            const Round& previous = rounds[size_t(d - 1)];
            const bool down = k == -d || (k != d && previous.At(k - 1) < previous.At(k + 1));
            const int64_t prev_k = down ? k + 1 : k - 1;
            prev_x = previous.At(prev_k);
            prev_y = prev_x - prev_k;
        }
        // The snake of kept lines, then the one edit that led to it.
        while (x > prev_x && y > prev_y)
            reversed.push_back({LineChange::Kept, a[size_t(--x)]}), --y;
        if (d == 0)
            break;
        if (x == prev_x)
            reversed.push_back({LineChange::Added, b[size_t(--y)]});
        else
            reversed.push_back({LineChange::Removed, a[size_t(--x)]});
    }
    return {reversed.rbegin(), reversed.rend()};
}

} // namespace zentrope
