#include "results/grid/result_grid.h"

#include <algorithm>
#include <numeric>

namespace zentrope {

CellText CellText::At(uint64_t offset, uint64_t length) {
    return CellText{offset << LengthBits | std::min(length, MaxLength)};
}

CellText CellText::Part(uint64_t from, uint64_t length) const {
    return At(Offset() + from, length);
}

ResultGrid::ResultGrid() {
    columns_.resize(static_cast<size_t>(column_count_));
    row_order_.resize(static_cast<size_t>(row_count_));
    std::iota(row_order_.begin(), row_order_.end(), 0);
}

size_t ResultGrid::StoredRow(int32_t row) const {
    const auto shown = static_cast<size_t>(row);
    return shown < row_order_.size() ? static_cast<size_t>(row_order_[shown]) : shown;
}

std::string_view ResultGrid::TextOf(CellText text) const {
    const uint64_t offset = text.Offset();
    if (offset >= CellText::OwnBlockStart)
        return std::string_view(own_text_).substr(offset - CellText::OwnBlockStart, text.Length());
    return FileText().substr(offset, text.Length());
}

std::string_view ResultGrid::FileText() const {
    return file_text_ ? std::string_view(*file_text_) : std::string_view{};
}

std::optional<std::string_view> ResultGrid::WrittenCell(int32_t col, int32_t row) const {
    if (col < 0 || row < 0 || static_cast<size_t>(col) >= columns_.size())
        return std::nullopt;
    const auto& column = columns_[static_cast<size_t>(col)];
    const size_t stored = StoredRow(row);
    // No written cell packs to 0: the file's texts that cells show start after a heading
    // line, and the own block starts at OwnBlockStart.
    if (stored >= column.size() || column[stored].packed == 0)
        return std::nullopt;
    return TextOf(column[stored]);
}

int32_t ResultGrid::ResultRowAt(int32_t row) const {
    if (row < FixedRows || row >= row_count_)
        return -1;
    const auto result_row = static_cast<int32_t>(StoredRow(row)) - FixedRows;
    return result_row < results_.RowCount() ? result_row : -1;
}

std::string_view ResultGrid::Cell(int32_t col, int32_t row) const {
    if (col < 0 || row < 0 || static_cast<size_t>(col) >= columns_.size())
        return {};
    const auto& column = columns_[static_cast<size_t>(col)];
    const size_t stored = StoredRow(row);
    return stored < column.size() ? TextOf(column[stored]) : std::string_view{};
}

void ResultGrid::SetColumnCount(int32_t count) {
    column_count_ = std::max(count, 0);
    if (columns_.size() < static_cast<size_t>(column_count_))
        columns_.resize(static_cast<size_t>(column_count_));
}

void ResultGrid::SetRowCount(int32_t count) {
    row_count_ = std::max(count, 0);
    const size_t old_size = row_order_.size();
    if (old_size < static_cast<size_t>(row_count_)) {
        row_order_.resize(static_cast<size_t>(row_count_));
        std::iota(row_order_.begin() + static_cast<std::ptrdiff_t>(old_size), row_order_.end(),
                  static_cast<int32_t>(old_size));
    }
}

CellText ResultGrid::StoreText(std::string_view text) {
    const CellText stored = CellText::At(CellText::OwnBlockStart + own_text_.size(), text.size());
    own_text_.append(text);
    return stored;
}

CellText ResultGrid::AdoptFileText(std::shared_ptr<const std::string> text) {
    file_text_ = std::move(text);
    return CellText::At(0, FileText().size());
}

void ResultGrid::SetCell(int32_t col, int32_t row, CellText text) {
    if (col < 0 || row < 0)
        return;
    if (columns_.size() <= static_cast<size_t>(col))
        columns_.resize(static_cast<size_t>(col) + 1);
    auto& column = columns_[static_cast<size_t>(col)];
    const size_t stored = StoredRow(row);
    if (column.size() <= stored)
        column.resize(stored + 1); // grows geometrically; no room for cells never written
    column[stored] = text;
}

void ResultGrid::AdoptColumn(int32_t col, std::vector<CellText>&& cells) {
    if (col < 0)
        return;
    if (columns_.size() <= static_cast<size_t>(col))
        columns_.resize(static_cast<size_t>(col) + 1);
    columns_[static_cast<size_t>(col)] = std::move(cells);
}

ResultGrid ResultGrid::WithoutBody() const {
    ResultGrid copy;
    copy.columns_.resize(columns_.size());
    for (size_t col = 0; col < columns_.size(); ++col)
        if (!columns_[col].empty())
            copy.SetCell(int32_t(col), 0, TextOf(columns_[col][0]));
    copy.column_count_ = column_count_;
    copy.row_count_ = row_count_;
    copy.sequence_column_end_ = sequence_column_end_;
    copy.spacer_column_ = spacer_column_;
    copy.row_order_.resize(static_cast<size_t>(row_count_));
    std::iota(copy.row_order_.begin(), copy.row_order_.end(), 0);
    return copy;
}

void ResultGrid::InsertColumn(int32_t col, std::vector<CellText>&& cells) {
    col = std::clamp(col, 0, column_count_);
    if (columns_.size() < static_cast<size_t>(column_count_))
        columns_.resize(static_cast<size_t>(column_count_));
    columns_.insert(columns_.begin() + col, std::move(cells));
    ++column_count_;
    if (spacer_column_ >= col)
        ++spacer_column_;
    if (sequence_column_end_ > col)
        ++sequence_column_end_;
}

void ResultGrid::ClearBody() {
    std::string headers;
    for (auto& column : columns_) {
        if (column.empty())
            continue;
        const std::string_view header = TextOf(column[0]);
        column.assign(1, CellText::At(CellText::OwnBlockStart + headers.size(), header.size()));
        headers.append(header);
    }
    own_text_ = std::move(headers);
    file_text_.reset();
    results_ = ResultSet();
    row_order_.resize(static_cast<size_t>(row_count_));
    std::iota(row_order_.begin(), row_order_.end(), 0);
}

void ResultGrid::SwapRows(int32_t a, int32_t b) {
    const auto size = static_cast<int32_t>(row_order_.size());
    if (a < 0 || b < 0 || a >= size || b >= size)
        return;
    std::swap(row_order_[static_cast<size_t>(a)], row_order_[static_cast<size_t>(b)]);
}

} // namespace zentrope
