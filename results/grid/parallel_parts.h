// Running one piece of work per part on threads of its own, the first part on the calling
// thread; an exception of any part is thrown again once every part has ended.
#pragma once

#include <algorithm>
#include <cstdint>
#include <exception>
#include <thread>
#include <vector>

namespace zentrope {

// How many parts `amount` of work makes when each part should get at least `least`: one per
// core at most.
inline int32_t PartCount(int64_t amount, int64_t least) {
    const int64_t cores = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<int32_t>(
        std::clamp<int64_t>(amount / std::max<int64_t>(least, 1), 1, std::min<int64_t>(cores, 64)));
}

// work(part) for every part in 0 .. parts - 1.
template <typename Work> void RunParts(int32_t parts, const Work& work) {
    std::vector<std::exception_ptr> failures(static_cast<size_t>(std::max(parts, 1)));
    const auto guarded = [&](int32_t part) {
        try {
            work(part);
        } catch (...) {
            failures[static_cast<size_t>(part)] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (int32_t part = 1; part < parts; ++part)
            helpers.emplace_back(guarded, part);
        guarded(0);
    }
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

} // namespace zentrope
