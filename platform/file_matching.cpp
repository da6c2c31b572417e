#include "platform/file_matching.h"

#include "platform/path_parts.h"

#include <filesystem>
#include <system_error>

namespace zentrope {
namespace {

namespace fs = std::filesystem;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameChar(char a, char b, const PathRules& rules) {
    return rules.caseSensitiveNames ? a == b : LowerAscii(a) == LowerAscii(b);
}

// Iterative wildcard matching: on a mismatch, let the last '*' swallow one more character.
bool Glob(std::string_view name, std::string_view pattern, const PathRules& rules) {
    size_t n = 0, p = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || SameChar(pattern[p], name[n], rules))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

bool IsFile(const fs::directory_entry& entry) {
    std::error_code ec;
    return !entry.is_directory(ec);
}

// Calls visit with every entry that matches the pattern, folders left out.
template <typename Visit>
void VisitMatches(std::string_view pattern, const PathRules& rules, Visit visit) {
    std::string folder = DirectoryPart(pattern, rules);
    std::string namePattern = NamePart(pattern, rules);
    if (namePattern.empty() || HasWildcard(folder))
        return;
    std::error_code ec;
    if (!HasWildcard(namePattern)) {
        fs::directory_entry entry(fs::path(std::string(pattern)), ec);
        if (!ec && entry.exists(ec) && IsFile(entry))
            visit(entry);
        return;
    }
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (NameMatchesPattern(it->path().filename().string(), namePattern, rules) && IsFile(*it))
            visit(*it);
    }
}

} // namespace

bool NameMatchesPattern(std::string_view name, std::string_view pattern, const PathRules& rules) {
    if (Glob(name, pattern, rules))
        return true;
    // A trailing ".*" also accepts an empty extension: "*.*" matches "README".
    bool dotStar = pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*";
    return dotStar && name.find('.') == std::string_view::npos &&
           Glob(name, pattern.substr(0, pattern.size() - 2), rules);
}

MatchedFiles CountMatchingFiles(std::string_view pattern, const PathRules& rules) {
    MatchedFiles result;
    VisitMatches(pattern, rules, [&result](const fs::directory_entry& entry) {
        ++result.count;
        std::error_code ec;
        uintmax_t size = entry.is_regular_file(ec) ? entry.file_size(ec) : 0;
        if (!ec)
            result.totalBytes += size;
    });
    return result;
}

std::vector<std::string> ListMatchingFiles(std::string_view pattern, const PathRules& rules) {
    std::vector<std::string> paths;
    VisitMatches(pattern, rules,
                 [&paths](const fs::directory_entry& entry) { paths.push_back(entry.path()); });
    return paths;
}

} // namespace zentrope
