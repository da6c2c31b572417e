#include "results/shares/share_file.h"
#include "model/c_text.h"

#include <fstream>
#include <iterator>

namespace zentrope {
namespace {

constexpr std::string_view Heading = "Sequence #";
constexpr std::string_view SummaryStart = "Summary over ";
constexpr size_t SummaryTitleLines = 2; // "Summary over ..." and the column titles

// Hands out the file's lines (without line feeds) with the place each starts.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool AtEnd() const { return pos_ >= text_.size(); }
    size_t Pos() const { return pos_; }
    std::string_view Peek() const {
        const size_t end = text_.find('\n', pos_);
        return text_.substr(pos_, end == std::string_view::npos ? end : end - pos_);
    }
    std::string_view Take() {
        const std::string_view line = Peek();
        pos_ += line.size() + 1;
        return line;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// A result's report is a few hundred lines; a file with none within this many bytes is not
// a result.
constexpr size_t MaxReportBytes = 1 << 20;

std::string CannotRead(const std::string& path) {
    return "The share " + Quoted(path) + " cannot be read";
}

std::string NotAShare(const std::string& path) {
    return Quoted(path) + " is not the result of a share of a run: its report has no \"Share of "
                          "a run\" lines";
}

std::string CutShort(const std::string& path, const std::string& what) {
    return "The share " + Quoted(path) + " is cut short: " + what;
}

// One data line: p-value and name in the order TestName_pv asks.
bool SplitDataLine(std::string_view line, bool nameFirst, std::string_view& name, double& p) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
        return false;
    name = nameFirst ? line.substr(0, tab) : line.substr(tab + 1);
    p = AtofC(nameFirst ? line.substr(tab + 1) : line.substr(0, tab));
    return true;
}

// A section: its heading, one data line per result line, an empty line.
std::string ReadSection(Lines& lines, ShareFile& share, int32_t number) {
    const std::string heading = std::string(Heading) + std::to_string(number);
    if (lines.Take() != heading)
        return "The share " + Quoted(share.path) + " has a section out of place where \"" +
               heading + "\" should be";
    const bool first = share.pValues.empty();
    const bool nameFirst = share.identity.summary.TestName_pv != 0;
    std::vector<double>& row = share.pValues.emplace_back();
    while (!lines.AtEnd() && !lines.Peek().empty()) {
        std::string_view name;
        double p = 0;
        if (!SplitDataLine(lines.Take(), nameFirst, name, p))
            return "The share " + Quoted(share.path) + " has a line without a TAB in \"" + heading +
                   "\"";
        if (first)
            share.lineNames.emplace_back(name);
        else if (row.size() >= share.lineNames.size() || share.lineNames[row.size()] != name)
            return "The share " + Quoted(share.path) + " has other result lines in \"" + heading +
                   "\" than in its first section";
        row.push_back(p);
    }
    if (lines.AtEnd())
        return CutShort(share.path, "\"" + heading + "\" has no end");
    lines.Take();
    if (row.size() != share.lineNames.size())
        return CutShort(share.path, "\"" + heading + "\" lacks result lines");
    return {};
}

// The summary: its two title lines and one line per result line, then the end of the file.
std::string ReadSummary(Lines& lines, const ShareFile& share) {
    size_t count = 0;
    while (!lines.AtEnd()) {
        lines.Take();
        ++count;
    }
    if (count != SummaryTitleLines + share.lineNames.size())
        return CutShort(share.path, "its closing summary is incomplete");
    return {};
}

} // namespace

ShareReading ParseShareText(const std::string& path, std::string text) {
    ShareReading reading;
    ShareFile& share = reading.share;
    share.path = path;
    share.text = std::move(text);
    Lines lines(share.text);
    while (!lines.AtEnd() && !lines.Peek().starts_with("Sequen"))
        share.header.emplace_back(lines.Take());
    const std::optional<ShareIdentity> identity = ParseShareLines(share.header);
    if (!identity) {
        reading.problem = NotAShare(path);
        return reading;
    }
    share.identity = *identity;
    if (share.text.empty() || share.text.back() != '\n') {
        reading.problem = CutShort(path, "its last line has no end");
        return reading;
    }
    const size_t begin = lines.Pos();
    for (int32_t k = 0; k < share.identity.count; ++k) {
        if (lines.AtEnd() || !lines.Peek().starts_with(Heading)) {
            reading.problem =
                CutShort(path, "it holds " + std::to_string(k) + " of its " +
                                   std::to_string(share.identity.count) + " sequences");
            return reading;
        }
        reading.problem = ReadSection(lines, share, share.identity.first + k + 1);
        if (!reading.problem.empty())
            return reading;
    }
    share.sectionsBegin = begin;
    share.sectionsEnd = lines.Pos();
    while (!lines.AtEnd() && !lines.Peek().starts_with(SummaryStart))
        if (const std::string_view line = lines.Take(); !line.empty())
            share.sequenceNotes.emplace_back(line);
    reading.problem = ReadSummary(lines, share);
    return reading;
}

ShareReading ReadShareFile(const std::string& path) {
    ShareReading refused;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        refused.problem = CannotRead(path);
        return refused;
    }
    // The report comes first: a file without share lines there is refused before the rest
    // of it, which may be a large file of another kind, is read.
    std::string text(MaxReportBytes, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    std::vector<std::string> report;
    for (Lines lines(text); !lines.AtEnd() && !lines.Peek().starts_with("Sequen");)
        report.emplace_back(lines.Take());
    if (!ParseShareLines(report)) {
        refused.problem = NotAShare(path);
        return refused;
    }
    text.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        refused.problem = CannotRead(path);
        return refused;
    }
    return ParseShareText(path, std::move(text));
}

} // namespace zentrope
