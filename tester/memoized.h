// Values that depend only on a test's parameters (an exact distribution, say), computed once
// per run and shared by all threads instead of once per sequence.
#pragma once

#include <map>
#include <memory>
#include <mutex>

namespace zentrope {

// The value `make()` gives for `key`; each call site (each `Make` type) keeps its own table.
// A thread asking for a value being computed waits for it; other keys are computed meanwhile.
template <class Key, class Make> const auto& Memoized(const Key& key, Make make) {
    using Value = decltype(make());
    struct Entry {
        std::once_flag once;
        Value value;
    };
    static std::mutex lock;
    static std::map<Key, std::unique_ptr<Entry>> entries;
    Entry* entry = nullptr;
    {
        const std::lock_guard<std::mutex> guard(lock);
        std::unique_ptr<Entry>& slot = entries[key];
        if (!slot)
            slot = std::make_unique<Entry>();
        entry = slot.get();
    }
    std::call_once(entry->once, [&] { entry->value = make(); });
    return entry->value;
}

} // namespace zentrope
