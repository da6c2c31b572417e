#include "app/widgets/text_search.h"

#include <algorithm>
#include <array>

namespace {

unsigned char Folded(char c, bool matchCase) {
    const auto byte = static_cast<unsigned char>(c);
    return !matchCase && byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 32) : byte;
}

// Horspool's search, with a shift for every byte value: the first match starting in
// [from, last], where last + needle's size is within the text.
class Searcher {
public:
    Searcher(std::string_view needle, bool matchCase) : needle_(needle), matchCase_(matchCase) {
        shift_.fill(needle.size());
        for (size_t i = 0; i + 1 < needle.size(); ++i)
            shift_[Folded(needle[i], matchCase)] = needle.size() - 1 - i;
    }

    size_t First(std::string_view text, size_t from, size_t last) const {
        const size_t n = needle_.size();
        for (size_t at = from; at <= last;) {
            size_t i = n;
            while (i > 0 &&
                   Folded(text[at + i - 1], matchCase_) == Folded(needle_[i - 1], matchCase_))
                --i;
            if (i == 0)
                return at;
            at += shift_[Folded(text[at + n - 1], matchCase_)];
        }
        return std::string_view::npos;
    }

    // The last match starting in [from, last].
    size_t Last(std::string_view text, size_t from, size_t last) const {
        size_t found = std::string_view::npos;
        for (size_t at = First(text, from, last); at != std::string_view::npos;
             at = at < last ? First(text, at + 1, last) : std::string_view::npos)
            found = at;
        return found;
    }

private:
    std::string_view needle_;
    bool matchCase_;
    std::array<size_t, 256> shift_{};
};

} // namespace

TextMatch FindInText(std::string_view text, std::string_view needle, size_t from, bool backward,
                     bool matchCase) {
    if (needle.empty() || needle.size() > text.size())
        return {};
    const Searcher searcher(needle, matchCase);
    const size_t lastStart = text.size() - needle.size();
    from = std::min(from, text.size());
    if (!backward) {
        if (from <= lastStart)
            if (const size_t at = searcher.First(text, from, lastStart);
                at != std::string_view::npos)
                return {at, false};
        return {searcher.First(text, 0, lastStart), true};
    }
    if (from > 0)
        if (const size_t at = searcher.Last(text, 0, std::min(from - 1, lastStart));
            at != std::string_view::npos)
            return {at, false};
    return {searcher.Last(text, 0, lastStart), true};
}
