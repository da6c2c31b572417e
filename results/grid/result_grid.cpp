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
    columns_.resize(static_cast<size_t>(columnCount_));
    rowOrder_.resize(static_cast<size_t>(rowCount_));
    std::iota(rowOrder_.begin(), rowOrder_.end(), 0);
}

size_t ResultGrid::StoredRow(int32_t row) const {
    const auto shown = static_cast<size_t>(row);
    return shown < rowOrder_.size() ? static_cast<size_t>(rowOrder_[shown]) : shown;
}

std::string_view ResultGrid::TextOf(CellText text) const {
    const uint64_t offset = text.Offset();
    if (offset >= CellText::OwnBlockStart)
        return std::string_view(ownText_).substr(offset - CellText::OwnBlockStart, text.Length());
    return FileText().substr(offset, text.Length());
}

std::string_view ResultGrid::FileText() const {
    return fileText_ ? std::string_view(*fileText_) : std::string_view{};
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
    if (row < FixedRows || row >= rowCount_)
        return -1;
    const auto resultRow = static_cast<int32_t>(StoredRow(row)) - FixedRows;
    return resultRow < results_.RowCount() ? resultRow : -1;
}

std::string_view ResultGrid::Cell(int32_t col, int32_t row) const {
    if (col < 0 || row < 0 || static_cast<size_t>(col) >= columns_.size())
        return {};
    const auto& column = columns_[static_cast<size_t>(col)];
    const size_t stored = StoredRow(row);
    return stored < column.size() ? TextOf(column[stored]) : std::string_view{};
}

void ResultGrid::SetColumnCount(int32_t count) {
    columnCount_ = std::max(count, 0);
    if (columns_.size() < static_cast<size_t>(columnCount_))
        columns_.resize(static_cast<size_t>(columnCount_));
}

void ResultGrid::SetRowCount(int32_t count) {
    rowCount_ = std::max(count, 0);
    const size_t oldSize = rowOrder_.size();
    if (oldSize < static_cast<size_t>(rowCount_)) {
        rowOrder_.resize(static_cast<size_t>(rowCount_));
        std::iota(rowOrder_.begin() + static_cast<std::ptrdiff_t>(oldSize), rowOrder_.end(),
                  static_cast<int32_t>(oldSize));
    }
}

CellText ResultGrid::StoreText(std::string_view text) {
    const CellText stored = CellText::At(CellText::OwnBlockStart + ownText_.size(), text.size());
    ownText_.append(text);
    return stored;
}

CellText ResultGrid::AdoptFileText(std::shared_ptr<const std::string> text) {
    fileText_ = std::move(text);
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
    copy.columnCount_ = columnCount_;
    copy.rowCount_ = rowCount_;
    copy.sequenceColumnEnd_ = sequenceColumnEnd_;
    copy.spacerColumn_ = spacerColumn_;
    copy.rowOrder_.resize(static_cast<size_t>(rowCount_));
    std::iota(copy.rowOrder_.begin(), copy.rowOrder_.end(), 0);
    return copy;
}

void ResultGrid::InsertColumn(int32_t col, std::vector<CellText>&& cells) {
    col = std::clamp(col, 0, columnCount_);
    if (columns_.size() < static_cast<size_t>(columnCount_))
        columns_.resize(static_cast<size_t>(columnCount_));
    columns_.insert(columns_.begin() + col, std::move(cells));
    ++columnCount_;
    if (spacerColumn_ >= col)
        ++spacerColumn_;
    if (sequenceColumnEnd_ > col)
        ++sequenceColumnEnd_;
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
    ownText_ = std::move(headers);
    fileText_.reset();
    results_ = ResultSet();
    rowOrder_.resize(static_cast<size_t>(rowCount_));
    std::iota(rowOrder_.begin(), rowOrder_.end(), 0);
}

void ResultGrid::SwapRows(int32_t a, int32_t b) {
    const auto size = static_cast<int32_t>(rowOrder_.size());
    if (a < 0 || b < 0 || a >= size || b >= size)
        return;
    std::swap(rowOrder_[static_cast<size_t>(a)], rowOrder_[static_cast<size_t>(b)]);
}

} // namespace zentrope
