// The result table's cells as text for other programs: tab-separated for the clipboard and
// CSV for a file, both in the order the table shows them.
#pragma once

#include <QString>
#include <string>
#include <vector>

class ResultTableModel;

// One line per row, cells separated by tabs; tabs and line breaks inside a cell become spaces.
QString TabSeparated(const ResultTableModel& model, const std::vector<int>& rows,
                     const std::vector<int>& cols);

// Every row, header first, every column, as RFC 4180 records in UTF-8.
std::string CsvOfTable(const ResultTableModel& model);
