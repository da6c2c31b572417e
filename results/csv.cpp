#include "results/csv.h"

#include <algorithm>

namespace zentrope {

void AppendCsvRecord(std::string& out, std::span<const std::string_view> fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        const std::string_view field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
            out += field;
            continue;
        }
        out += '"';
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
