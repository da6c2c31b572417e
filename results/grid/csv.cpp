#include "results/grid/csv.h"

#include <algorithm>
#include <cctype>

namespace zentrope {
namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Skips a run of digits; true when there was at least one.
bool SkipDigits(std::string_view text, size_t& at) {
    const size_t from = at;
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at > from;
}

// A plain decimal number as a spreadsheet reads one: sign, digits with an optional fraction,
// an optional exponent. Nothing else, so "-inf" or "-1x" stay text.
bool IsPlainNumber(std::string_view text) {
    size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    bool digits = SkipDigits(text, at);
    if (at < text.size() && text[at] == '.') {
        ++at;
        digits = SkipDigits(text, at) || digits;
    }
    if (!digits)
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            ++at;
        if (!SkipDigits(text, at))
            return false;
    }
    return at == text.size();
}

// A spreadsheet takes a cell starting with one of these as a formula.
bool ReadsAsFormula(std::string_view field) {
    return !field.empty() &&
           std::string_view("=+-@\t\r").find(field[0]) != std::string_view::npos &&
           !IsPlainNumber(field);
}

} // namespace

void AppendCsvRecord(std::string& out, std::span<const std::string_view> fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        const std::string_view field = fields[i];
        const bool formula = ReadsAsFormula(field);
        if (!formula && field.find_first_of(",\"\r\n") == std::string_view::npos) {
            out += field;
            continue;
        }
        out += '"';
        if (formula)
            out += '\''; // the spreadsheets' mark for text; it is not shown
        for (const char c : field) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
}

std::optional<CsvTable> ReadCsv(std::string_view text) {
    CsvTable table;
    size_t at = 0;
    while (at < text.size()) {
        std::vector<std::string>& record = table.emplace_back();
        for (;;) {
            std::string& field = record.emplace_back();
            if (at < text.size() && text[at] == '"') {
                for (++at;; ++at) {
                    if (at >= text.size())
                        return std::nullopt; // the quote is never closed
                    if (text[at] == '"') {
                        if (at + 1 < text.size() && text[at + 1] == '"')
                            ++at;
                        else
                            break;
                    }
                    field += text[at];
                }
                ++at; // the closing quote
            } else {
                const size_t end = std::min(text.find_first_of(",\"\r\n", at), text.size());
                field.assign(text.substr(at, end - at));
                at = end;
            }
            if (at >= text.size())
                return table;
            if (text[at] == ',') {
                ++at;
                continue;
            }
            if (text.substr(at, 2) == "\r\n")
                at += 2;
            else if (text[at] == '\n')
                ++at;
            else
                return std::nullopt; // a stray quote or CR
            break;
        }
    }
    return table;
}

} // namespace zentrope
