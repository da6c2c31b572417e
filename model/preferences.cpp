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

constexpr std::string_view PlaceKey = "run_place=";
constexpr std::string_view ClusterPlace = "slurm";

// The run place's lines by key, each a text or a number of the record.
struct PlaceText {
    std::string_view key;
    std::string RunPlacePreferences::*field;
};
struct PlaceNumber {
    std::string_view key;
    int32_t RunPlacePreferences::*field;
};
constexpr PlaceText PlaceTexts[] = {
    {"slurm_partition=", &RunPlacePreferences::partition},
    {"slurm_time=", &RunPlacePreferences::timeLimit},
    {"slurm_mem=", &RunPlacePreferences::memory},
    {"slurm_account=", &RunPlacePreferences::account},
    {"slurm_options=", &RunPlacePreferences::options},
    {"slurm_prefix=", &RunPlacePreferences::commandPrefix},
};
constexpr PlaceNumber PlaceNumbers[] = {
    {"slurm_shards=", &RunPlacePreferences::shards},
    {"slurm_cpus_per_task=", &RunPlacePreferences::cpusPerTask},
};

void ApplyPlaceLine(std::string_view line, RunPlacePreferences& place) {
    if (line.starts_with(PlaceKey))
        place.onCluster = line.substr(PlaceKey.size()) == ClusterPlace;
    for (const PlaceText& text : PlaceTexts)
        if (line.starts_with(text.key))
            place.*text.field = std::string(line.substr(text.key.size()));
    for (const PlaceNumber& number : PlaceNumbers)
        if (line.starts_with(number.key))
            place.*number.field = static_cast<int32_t>(AtolC(line.substr(number.key.size())));
}

void ApplyLine(std::string_view line, Preferences& prefs) {
    ApplyPlaceLine(line, prefs.runPlace);
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

std::string FormatRunPlacePreferences(const RunPlacePreferences& place) {
    std::string out;
    const auto line = [&out](std::string_view key, std::string_view value) {
        out.append(key).append(value).push_back('\n');
    };
    if (place.onCluster)
        line(PlaceKey, ClusterPlace);
    for (const PlaceNumber& number : PlaceNumbers)
        if (place.*number.field != 0)
            line(number.key, std::to_string(place.*number.field));
    // A line ends at a control character: one in a text would cut it, so it goes as a blank.
    for (const PlaceText& text : PlaceTexts) {
        std::string value = place.*text.field;
        for (char& c : value)
            if (static_cast<unsigned char>(c) < 32)
                c = ' ';
        if (!value.empty())
            line(text.key, value);
    }
    return out;
}

} // namespace zentrope
