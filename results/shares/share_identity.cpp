#include "results/shares/share_identity.h"

#include <charconv>
#include <map>

namespace zentrope {
namespace {

constexpr std::string_view RunPrefix = "Share of a run: ";
constexpr std::string_view SettingsPrefix = "Share summary settings: ";
constexpr std::string_view ShaKey = "parameter file SHA-256";

// Shortest text that reads back as the same double.
std::string ExactNumber(double v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    return std::string(text, end);
}

// "key value, key value, ..." into a map; none when a field has no value.
std::optional<std::map<std::string, std::string, std::less<>>> Fields(std::string_view text) {
    std::map<std::string, std::string, std::less<>> fields;
    while (!text.empty()) {
        const size_t comma = text.find(", ");
        const std::string_view field = text.substr(0, comma);
        const size_t space = field.rfind(' ');
        if (space == std::string_view::npos || space + 1 == field.size())
            return std::nullopt;
        fields.emplace(std::string(field.substr(0, space)), std::string(field.substr(space + 1)));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 2);
    }
    return fields;
}

template <typename T>
bool Read(const std::map<std::string, std::string, std::less<>>& fields, std::string_view key,
          T& value) {
    const auto it = fields.find(key);
    if (it == fields.end())
        return false;
    const std::string& text = it->second;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool IsSha256Hex(std::string_view text) {
    return text.size() == 64 &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

bool ReadRunLine(std::string_view line, ShareIdentity& share) {
    const auto fields = Fields(line.substr(RunPrefix.size()));
    if (!fields || !Read(*fields, "first", share.first) || !Read(*fields, "count", share.count) ||
        !Read(*fields, "NT", share.nt))
        return false;
    const auto sha = fields->find(ShaKey);
    if (sha == fields->end() || !IsSha256Hex(sha->second))
        return false;
    share.parameterSha256 = sha->second;
    return share.first >= 0 && share.count >= 1 && share.first <= share.nt - share.count;
}

bool ReadSettingsLine(std::string_view line, ParameterSet& s) {
    const auto fields = Fields(line.substr(SettingsPrefix.size()));
    return fields && Read(*fields, "pval_digits", s.pval_digits) &&
           Read(*fields, "TestName_pv", s.TestName_pv) && Read(*fields, "sortKS", s.sortKS) &&
           Read(*fields, "sortAD", s.sortAD) && Read(*fields, "sortSL", s.sortSL) &&
           Read(*fields, "KSmin", s.KSmin) && Read(*fields, "ADmin", s.ADmin) &&
           Read(*fields, "SLmax", s.SLmax);
}

} // namespace

std::vector<std::string> FormatShareLines(const ShareIdentity& share) {
    const ParameterSet& s = share.summary;
    return {std::string(RunPrefix) + "first " + std::to_string(share.first) + ", count " +
                std::to_string(share.count) + ", NT " + std::to_string(share.nt) + ", " +
                std::string(ShaKey) + " " + share.parameterSha256,
            std::string(SettingsPrefix) + "pval_digits " + std::to_string(s.pval_digits) +
                ", TestName_pv " + std::to_string(s.TestName_pv) + ", sortKS " +
                std::to_string(s.sortKS) + ", sortAD " + std::to_string(s.sortAD) + ", sortSL " +
                std::to_string(s.sortSL) + ", KSmin " + ExactNumber(s.KSmin) + ", ADmin " +
                ExactNumber(s.ADmin) + ", SLmax " + ExactNumber(s.SLmax)};
}

bool IsShareLine(std::string_view line) {
    return line.starts_with(RunPrefix) || line.starts_with(SettingsPrefix);
}

std::optional<ShareIdentity> ParseShareLines(const std::vector<std::string>& reportLines) {
    ShareIdentity share;
    bool run = false;
    bool settings = false;
    for (const std::string& line : reportLines) {
        if (line.starts_with(RunPrefix))
            run = ReadRunLine(line, share);
        else if (line.starts_with(SettingsPrefix))
            settings = ReadSettingsLine(line, share.summary);
    }
    return run && settings ? std::optional(share) : std::nullopt;
}

} // namespace zentrope
