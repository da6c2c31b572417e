#include "app/table/table_text.h"

#include "app/name_text.h"
#include "app/table/result_table_model.h"
#include "results/grid/csv.h"

#include <QStringList>
#include <string_view>

QString TabSeparated(const ResultTableModel& model, const std::vector<int>& rows,
                     const std::vector<int>& cols) {
    QStringList lines;
    for (int row : rows) {
        QStringList cells;
        for (int col : cols) {
            QString cell = DisplayText(model.Cell(col, row));
            cell.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
            cells << cell;
        }
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

std::string CsvOfTable(const ResultTableModel& model) {
    std::string out;
    std::vector<std::string> texts(size_t(model.columnCount()));
    std::vector<std::string_view> fields(texts.size());
    for (int row = 0; row < model.rowCount(); ++row) {
        for (size_t col = 0; col < texts.size(); ++col) {
            texts[col] = DisplayText(model.Cell(int(col), row)).toStdString();
            fields[col] = texts[col];
        }
        zentrope::AppendCsvRecord(out, fields);
    }
    return out;
}
