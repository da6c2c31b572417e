// The result table's cells: row 0 holds the headers, columns 0 to 2 are the fixed ones
// ("N", "Test name", "pvals"), then one column per sequence and, with two or more
// sequences, a spacer and the "KS", "AD" and "SL" columns.
//
// A run can fill millions of cells, so each cell is a packed reference into one of two
// character blocks: the loaded file's bytes, shared with whoever shows them as text, and the
// grid's own texts (headers, numbers, figures). Rows are reached through an order vector, so a
// sort moves indices, never text. The load's numbers are kept beside the texts (Results()).
#pragma once

#include "results/grid/result_set.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

inline constexpr std::string_view ErrorCellText = "- error -";

// Where a text sits in a grid's blocks; empty by default.
struct CellText {
    uint64_t packed = 0; // offset << LengthBits | length

    static constexpr int LengthBits = 24;
    static constexpr uint64_t MaxLength = (uint64_t{1} << LengthBits) - 1;
    // Offsets from here on address the grid's own block, those below the file's text.
    static constexpr uint64_t OwnBlockStart = uint64_t{1} << 39;
    static CellText At(uint64_t offset, uint64_t length);
    uint64_t Offset() const { return packed >> LengthBits; }
    uint64_t Length() const { return packed & MaxLength; }
    // The part [from, from + length) of this text.
    CellText Part(uint64_t from, uint64_t length) const;
};

class ResultGrid {
public:
    static constexpr int32_t FixedColumns = 3;
    static constexpr int32_t FixedRows = 1;

    ResultGrid(); // 4 columns and 2 rows, as the empty table is laid out

    int32_t ColumnCount() const { return column_count_; }
    int32_t RowCount() const { return row_count_; }
    // Empty outside the stored cells.
    std::string_view Cell(int32_t col, int32_t row) const;
    // The same, but nothing for a cell not written since the last ClearBody.
    std::optional<std::string_view> WrittenCell(int32_t col, int32_t row) const;
    bool IsErrorCell(int32_t col, int32_t row) const { return Cell(col, row) == ErrorCellText; }

    // One past the last sequence column as the last load left it; 0 before any load.
    int32_t SequenceColumnEnd() const { return sequence_column_end_; }
    // Drawn in the summary colour: every column beyond SequenceColumnEnd.
    bool IsSummaryColumn(int32_t col) const { return col > sequence_column_end_; }
    // The blank column before "KS" made by the last load, or -1 when it made none.
    int32_t SpacerColumn() const { return spacer_column_; }

    // Writing, used by the loader.
    void SetColumnCount(int32_t count);
    void SetRowCount(int32_t count);
    void SetSequenceColumnEnd(int32_t end) { sequence_column_end_ = end; }
    void SetSpacerColumn(int32_t col) { spacer_column_ = col; }
    // Copies text into the own block. A text longer than CellText::MaxLength is stored
    // whole; its handle shows the first MaxLength characters and Part() reaches all of it.
    CellText StoreText(std::string_view text);
    // Shares a loaded file's bytes without copying them; cells may then refer to its parts
    // (through the returned handle's Part()) until the next ClearBody, which lets go of them.
    CellText AdoptFileText(std::shared_ptr<const std::string> text);
    std::string_view FileText() const;
    const std::shared_ptr<const std::string>& FileBytes() const { return file_text_; }
    void SetCell(int32_t col, int32_t row, CellText text);
    // Puts a column of cells by stored row before column `col`; the columns from there on, the
    // spacer and the sequence end among them, move one place right.
    void InsertColumn(int32_t col, std::vector<CellText>&& cells);
    // Replaces a whole column with cells by stored row, as a load builds it after ClearBody.
    void AdoptColumn(int32_t col, std::vector<CellText>&& cells);
    void SetCell(int32_t col, int32_t row, std::string_view text) {
        SetCell(col, row, StoreText(text));
    }
    // Empties every cell below the header row and the results, and restores the file's row
    // order; the counts and the header row stay.
    void ClearBody();
    // A grid as ClearBody would leave this one, made without copying the body: a load can
    // build its table there while this one is still shown.
    ResultGrid WithoutBody() const;

    // The last load's numbers, rows in the file's order: shown row r (r >= 1) is the results'
    // row ResultRowAt(r), which is -1 for the header and for rows the results do not hold.
    const ResultSet& Results() const { return results_; }
    void SetResults(ResultSet results) { results_ = std::move(results); }
    // For a table that grows while its run goes on.
    ResultSet& GrowingResults() { return results_; }
    int32_t ResultRowAt(int32_t row) const;

    // Exchanges two whole rows (every column moves together); rows out of range are ignored.
    void SwapRows(int32_t a, int32_t b);

private:
    size_t StoredRow(int32_t row) const;
    std::string_view TextOf(CellText text) const;

    std::shared_ptr<const std::string> file_text_;
    std::string own_text_;
    ResultSet results_;
    std::vector<std::vector<CellText>> columns_; // indexed by stored row
    std::vector<int32_t> row_order_;             // shown row -> stored row
    int32_t column_count_ = 4;
    int32_t row_count_ = 2;
    int32_t sequence_column_end_ = 0;
    int32_t spacer_column_ = -1;
};

} // namespace zentrope
