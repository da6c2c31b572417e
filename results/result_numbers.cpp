// The load's numbers: every p-value cell read once, and the rows' figures computed on all
// cores, each thread taking a block of rows of its own.
#include "results/result_loader_steps.h"

#include "model/c_text.h"
#include "results/goodness_of_fit.h"
#include "results/parallel_parts.h"

#include <algorithm>
#include <vector>

namespace zentrope {
namespace {

constexpr int32_t FirstSequenceColumn = ResultGrid::FixedColumns;
constexpr int32_t FewestValuesForFigures = 3;
constexpr int32_t FewestSequencesForFigures = 2;
// Below this many cells per thread, starting a thread costs more than it saves.
constexpr int64_t FewestCellsPerThread = 20000;

// Rows are read in tiles of this many, a column at a time, so that the grid's cells are
// read in the order they are stored and the tile's part of the set stays in the cache.
constexpr int32_t TileRows = 64;

void ReadTilePValues(const ResultGrid& grid, int32_t first, int32_t end, ResultSet& set) {
    for (int32_t sequence = 0; sequence < set.SequenceCount(); ++sequence) {
        const int32_t col = FirstSequenceColumn + sequence;
        for (int32_t row = first; row < end; ++row) {
            // An unwritten cell stays Missing: it counts as 0.
            const std::optional<std::string_view> text =
                grid.WrittenCell(col, row + ResultGrid::FixedRows);
            if (!text)
                continue;
            if (*text == ErrorCellText)
                set.SetPValue(row, sequence, -1.0, PValueMark::Error);
            else
                set.SetPValue(row, sequence, AtofC(*text), PValueMark::Number);
        }
    }
}

// Scratch space of one thread, sized for a row.
struct RowRoom {
    explicit RowRoom(int32_t sequences) : sort(sequences) {
        values.reserve(static_cast<size_t>(sequences));
    }
    std::vector<double> values;
    SortRoom sort;
};

// The row's count and figures.
void FigureRow(int32_t row, ResultSet& set, RowRoom& room) {
    std::vector<double>& values = room.values;
    const ResultRow numbers = set.Row(row);
    values.clear();
    for (size_t sequence = 0; sequence < numbers.pvalues.size(); ++sequence)
        if (numbers.marks[sequence] != PValueMark::Error)
            values.push_back(numbers.pvalues[sequence]);
    const auto n = static_cast<int32_t>(values.size());
    std::optional<RowFigures> figures;
    if (set.SequenceCount() >= FewestSequencesForFigures && n >= FewestValuesForFigures) {
        SortPValuesWithRoom(values.data(), n, room.sort);
        figures = RowFigures{KsPValue(values.data(), n), AdPValue(values.data(), n),
                             SlPercent(values.data(), n)};
    }
    set.SetFigures(row, n, figures);
}

void ReadRows(const ResultGrid& grid, int32_t first, int32_t end, ResultSet& set) {
    RowRoom room(set.SequenceCount());
    for (int32_t tile = first; tile < end; tile += TileRows) {
        const int32_t tile_end = std::min(end, tile + TileRows);
        ReadTilePValues(grid, tile, tile_end, set);
        for (int32_t row = tile; row < tile_end; ++row)
            FigureRow(row, set, room);
    }
}

} // namespace

ResultSet ReadResultNumbers(const ResultGrid& grid, int32_t sequences) {
    ResultSet set(std::max(grid.RowCount() - ResultGrid::FixedRows, 0), sequences);
    const int32_t rows = set.RowCount();
    const int32_t parts = PartCount(int64_t{rows} * std::max(sequences, 1), FewestCellsPerThread);
    RunParts(parts, [&](int32_t part) {
        ReadRows(grid, int32_t(int64_t{rows} * part / parts),
                 int32_t(int64_t{rows} * (part + 1) / parts), set);
    });
    return set;
}

} // namespace zentrope
