#include "platform/path_parts.h"

namespace zentrope {
namespace {

size_t NameStart(std::string_view path, const PathRules& rules) {
    size_t last = path.find_last_of(rules.separators);
    return last == std::string_view::npos ? 0 : last + 1;
}

} // namespace

std::string DirectoryPart(std::string_view path, const PathRules& rules) {
    return std::string(path.substr(0, NameStart(path, rules)));
}

std::string NamePart(std::string_view path, const PathRules& rules) {
    return std::string(path.substr(NameStart(path, rules)));
}

} // namespace zentrope
