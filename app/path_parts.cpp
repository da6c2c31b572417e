#include "path_parts.h"

namespace zentrope {
namespace {

#ifdef _WIN32
constexpr std::string_view Separators = "\\/:";
#else
constexpr std::string_view Separators = "/";
#endif

size_t NameStart(std::string_view path) {
    size_t last = path.find_last_of(Separators);
    return last == std::string_view::npos ? 0 : last + 1;
}

} // namespace

std::string DirectoryPart(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string NamePart(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

} // namespace zentrope
