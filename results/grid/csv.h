// Comma-separated values as RFC 4180 defines them: fields holding a comma, a double quote,
// CR or LF are quoted, quotes inside doubled, records end with CRLF. Bytes pass through
// unchanged, so UTF-8 text stays UTF-8. A text field that a spreadsheet would run as a formula
// (one starting with =, +, -, @, TAB or CR that is not a plain number) is written quoted with
// a leading apostrophe, so that it shows as the text it is.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

// Appends one record and its CRLF, so a large table can be written a row at a time.
void AppendCsvRecord(std::string& out, std::span<const std::string_view> fields);

using CsvTable = std::vector<std::vector<std::string>>;

// Reads records ended by CRLF (or a lone LF); the last record needs no line end. Nothing for
// text that is not CSV: a quote inside an unquoted field, text after a closing quote, or a
// quoted field left open.
std::optional<CsvTable> ReadCsv(std::string_view text);

} // namespace zentrope
