#include "app/table/row_marks.h"

#include <QStringList>

using namespace zentrope;

namespace {

const QString SomeWithoutResult = QStringLiteral("No result in some sequences: ");

} // namespace

std::vector<ResultTableModel::RowMark> RowMarksOf(const ResultSet& results, const VerdictRows& rows,
                                                  const FlagThresholds& thresholds, double alpha,
                                                  const std::vector<NoResultReason>& reasons) {
    std::vector<ResultTableModel::RowMark> marks(size_t(results.RowCount()));
    for (int32_t row = 0; row < results.RowCount(); ++row) {
        const QString why = QString::fromStdString(RowReasonText(reasons, results.Row(row), row));
        if (!why.isEmpty())
            marks[size_t(row)] = {ResultTableModel::NoMark, SomeWithoutResult + why, why};
    }
    for (const RowWithoutResult& row : rows.without) {
        const QString why = QString::fromStdString(row.reason);
        marks[size_t(row.row)] = {ResultTableModel::NoResultMark,
                                  QStringLiteral("No result: ") + why, why};
    }
    for (const FailingRow& row : rows.failing) {
        QStringList tip{QStringLiteral("Fails")};
        for (const std::string& text : CrossedTexts(row, thresholds, alpha))
            tip << QString::fromStdString(text);
        const QString why = QString::fromStdString(row.reasons);
        if (!why.isEmpty())
            tip << SomeWithoutResult + why;
        marks[size_t(row.row)] = {ResultTableModel::FailingMark, tip.join('\n'), why};
    }
    return marks;
}
