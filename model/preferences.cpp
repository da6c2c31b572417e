#include "model/preferences.h"

#include "model/c_text.h"

namespace zentrope {
namespace {

constexpr size_t PieceLength = 999;

std::string_view WithoutControlEnd(std::string_view line) {
    while (!line.empty() && static_cast<unsigned char>(line.back()) < 32)
        line.remove_suffix(1);
    return line;
}

void ApplyLine(std::string_view line, Preferences& prefs) {
    const auto value = [&](std::string_view key) { return std::string(line.substr(key.size())); };
    const auto number = [&](std::string_view key) { return AtolC(line.substr(key.size())); };
    if (line.starts_with("zentrope_exe="))
        prefs.zentropeExe = value("zentrope_exe=");
    if (line.starts_with("para_file="))
        prefs.paraFile = value("para_file=");
    if (line.starts_with("ActivePageIndex="))
        prefs.activePageIndex = number("ActivePageIndex=");
    if (line.starts_with("FINl="))
        prefs.left = number("FINl=");
    if (line.starts_with("FINt="))
        prefs.top = number("FINt=");
    if (line.starts_with("FINw="))
        prefs.width = number("FINw=");
    if (line.starts_with("FINh="))
        prefs.height = number("FINh=");
}

} // namespace

Preferences ParsePreferences(std::string_view content) {
    Preferences prefs;
    for (size_t pos = 0; pos < content.size();) {
        const std::string_view line = WithoutControlEnd(NextLinePiece(content, pos, PieceLength));
        if (!line.empty())
            ApplyLine(line, prefs);
    }
    return prefs;
}

std::string FormatPreferences(std::string_view zentropeExe, std::string_view paraFile,
                              int32_t activePageIndex, const WindowRect& window) {
    std::string out;
    const auto line = [&out](std::string_view key, std::string_view value) {
        out.append(key).append(value).push_back('\n');
    };
    line("zentrope_exe=", zentropeExe);
    line("para_file=", paraFile);
    line("ActivePageIndex=", std::to_string(activePageIndex));
    line("FINl=", std::to_string(window.left));
    line("FINt=", std::to_string(window.top));
    line("FINw=", std::to_string(window.width));
    line("FINh=", std::to_string(window.height));
    return out;
}

} // namespace zentrope
