#include "app/table/result_table_model.h"

#include "app/name_text.h"
#include "results/grid/result_append.h"
#include "results/grid/result_loader_steps.h"
#include "results/verdict/verdict_rows.h"

#include <algorithm>
#include <numeric>

ResultTableModel::ResultTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.RowCount();
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.ColumnCount();
}

int32_t ResultTableModel::GridColumn(int32_t col) const {
    return col < int32_t(columnOrder_.size()) ? columnOrder_[size_t(col)] : col;
}

std::string_view ResultTableModel::Cell(int32_t col, int32_t row) const {
    return grid_.Cell(GridColumn(col), row);
}

static QString CellString(std::string_view text) {
    return DisplayText(text);
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return CellString(Cell(index.column(), index.row()));
    if (index.row() < zentrope::ResultGrid::FixedRows)
        return {};
    if (role == NumberRole)
        return zentrope::CellNumber(grid_, GridColumn(index.column()), index.row());
    const int32_t row = grid_.ResultRowAt(index.row());
    if (role == RowRole && row >= 0)
        return QVariant::fromValue(grid_.Results().Row(row));
    if (role == Qt::ToolTipRole && row >= 0)
        return ToolTip(index.column(), row);
    return {};
}

// The flags a "Test name" cell names, and the unrounded KS and AD figures.
QString ResultTableModel::ToolTip(int32_t col, int32_t resultRow) const {
    const int32_t gridCol = GridColumn(col);
    const zentrope::ResultRow row = grid_.Results().Row(resultRow);
    const bool figureColumn = grid_.SpacerColumn() >= 0 && gridCol > grid_.SpacerColumn();
    if (row.invalid > 0 && (gridCol == 1 || figureColumn))
        return InvalidValuesText(row.invalid);
    if (gridCol == 1) {
        // Why cells have no result; what a failing row crosses is the mark's own tooltip.
        if (const RowMark mark = MarkOf(resultRow); mark.kind != FailingMark && !mark.tip.isEmpty())
            return mark.tip;
        const QStringList crossed = CrossedThresholds(resultRow);
        return crossed.isEmpty() ? QString() : QStringLiteral("Flagged\n") + crossed.join('\n');
    }
    if (!row.figures || gridCol <= grid_.SpacerColumn())
        return {};
    const std::string_view header = grid_.Cell(gridCol, 0);
    if (header == "KS")
        return QString::number(row.figures->ks, 'e', 16);
    if (header == "AD")
        return QString::number(row.figures->ad, 'e', 16);
    return {};
}

QString InvalidValuesText(int32_t count) {
    return QStringLiteral("Holds %1 %2 not a p-value (outside [0, 1], infinite or no number): "
                          "no figures, and the row does not pass.")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("value that is") : QStringLiteral("values that are"));
}

QStringList ResultTableModel::CrossedThresholds(int32_t resultRow) const {
    const zentrope::ResultRow row = grid_.Results().Row(resultRow);
    QStringList crossed;
    if (size_t(resultRow) >= rowFlags_.size() || !row.figures)
        return crossed;
    for (const std::string& text :
         zentrope::CrossedTexts(*row.figures, rowFlags_[size_t(resultRow)], thresholds_))
        crossed << QString::fromStdString(text);
    return crossed;
}

void ResultTableModel::SetRowMarks(std::vector<RowMark> marks) {
    rowMarks_ = std::move(marks);
    if (rowCount() > 0)
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

ResultTableModel::RowMark ResultTableModel::MarkOf(int32_t resultRow) const {
    return resultRow >= 0 && size_t(resultRow) < rowMarks_.size() ? rowMarks_[size_t(resultRow)]
                                                                  : RowMark{};
}

void ResultTableModel::SetRowFlags(std::vector<zentrope::RowFlags> flags,
                                   const zentrope::FlagThresholds& thresholds) {
    rowFlags_ = std::move(flags);
    thresholds_ = thresholds;
}

int32_t ResultTableModel::ModelRowOf(int32_t resultRow) const {
    for (int32_t row = zentrope::ResultGrid::FixedRows; row < grid_.RowCount(); ++row)
        if (grid_.ResultRowAt(row) == resultRow)
            return row;
    return -1;
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical && (role == RowMarkRole || role == Qt::ToolTipRole)) {
        const RowMark mark = MarkOf(section > 0 ? grid_.ResultRowAt(section) : -1);
        return role == RowMarkRole ? QVariant(int(mark.kind)) : QVariant(mark.tip);
    }
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return CellString(Cell(section, 0));
    return section;
}

void ResultTableModel::Reload(const std::function<void(zentrope::ResultGrid&)>& load) {
    beginResetModel();
    load(grid_);
    columnOrder_.clear();
    rowFlags_.clear();
    rowMarks_.clear();
    sorted_.reset();
    endResetModel();
}

void ResultTableModel::AllCellsChanged() {
    if (rowCount() == 0 || columnCount() == 0)
        return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    // The header row and the fixed columns are drawn by the headers.
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void ResultTableModel::Sort(const zentrope::SortDecision& decision) {
    zentrope::ApplySort(grid_, decision, GridColumn(decision.column));
    sorted_ = SortMark{GridColumn(decision.column), decision.ascending};
    AllCellsChanged();
}

std::optional<ResultTableModel::SortMark> ResultTableModel::SortedColumn() const {
    if (!sorted_)
        return std::nullopt;
    const auto shown = std::find(columnOrder_.begin(), columnOrder_.end(), sorted_->column);
    const int32_t column =
        shown == columnOrder_.end() ? sorted_->column : int32_t(shown - columnOrder_.begin());
    return SortMark{column, sorted_->ascending};
}

void ResultTableModel::MoveRow(int32_t from, int32_t to) {
    const int32_t step = from < to ? 1 : -1;
    for (int32_t row = from; row != to; row += step)
        grid_.SwapRows(row, row + step);
    if (from != to)
        sorted_.reset();
    AllCellsChanged();
}

void ResultTableModel::MoveColumn(int32_t from, int32_t to) {
    const size_t needed = size_t(std::max({from, to, columnCount() - 1})) + 1;
    const size_t known = columnOrder_.size();
    if (known < needed) {
        columnOrder_.resize(needed);
        std::iota(columnOrder_.begin() + qsizetype(known), columnOrder_.end(), int32_t(known));
    }
    const auto first = columnOrder_.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    AllCellsChanged();
}

std::vector<int32_t> ResultTableModel::InsertGridColumns(int32_t first, int32_t count,
                                                         const std::function<void()>& insert) {
    // After the column shown left of grid column `first`, or at `first` with no order kept.
    int32_t place = first;
    if (!columnOrder_.empty()) {
        const auto before = std::find(columnOrder_.begin(), columnOrder_.end(), first - 1);
        place = before == columnOrder_.end() ? int32_t(columnOrder_.size())
                                             : int32_t(before - columnOrder_.begin()) + 1;
    }
    beginInsertColumns(QModelIndex(), place, place + count - 1);
    insert();
    if (!columnOrder_.empty()) {
        for (int32_t& col : columnOrder_)
            if (col >= first)
                col += count;
        std::vector<int32_t> added(static_cast<size_t>(count));
        std::iota(added.begin(), added.end(), first);
        columnOrder_.insert(columnOrder_.begin() + place, added.begin(), added.end());
    }
    if (sorted_ && sorted_->column >= first)
        sorted_->column += count;
    endInsertColumns();
    std::vector<int32_t> places(static_cast<size_t>(count));
    std::iota(places.begin(), places.end(), place);
    return places;
}

void ResultTableModel::SortAgain() {
    const std::optional<SortMark> shown = SortedColumn();
    if (!shown)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int32_t> resultRows;
    for (const QModelIndex& index : before)
        resultRows.push_back(grid_.ResultRowAt(index.row()));
    zentrope::ApplySort(grid_, zentrope::SortDecision{shown->column, shown->ascending, {}},
                        sorted_->column);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int32_t row = resultRows[size_t(i)] < 0 ? -1 : ModelRowOf(resultRows[size_t(i)]);
        after << (row < 0 ? before[i] : index(row, before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::vector<int32_t> ResultTableModel::AppendSections(std::string_view text,
                                                      zentrope::ResultLineFormat format,
                                                      int32_t digits) {
    const zentrope::SectionPValues sections = zentrope::ReadNewSections(text, format);
    if (sections.empty() || grid_.Results().RowCount() == 0)
        return {};
    std::vector<int32_t> added =
        InsertGridColumns(grid_.SequenceColumnEnd(), int32_t(sections.size()),
                          [&] { zentrope::AppendSequenceColumns(grid_, sections); });
    if (zentrope::NeedsSummaryColumns(grid_)) {
        const std::vector<int32_t> summaries =
            InsertGridColumns(grid_.ColumnCount(), 4, [&] { zentrope::AddSummaryColumns(grid_); });
        added.insert(added.end(), summaries.begin(), summaries.end());
    }
    zentrope::WriteRowSummaries(grid_, digits);
    SortAgain();
    AllCellsChanged();
    return added;
}
