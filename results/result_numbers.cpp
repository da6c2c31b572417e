// The load's numbers: the p-values read with the sections laid out by row, and the rows'
// figures computed on all cores, each thread taking a block of rows of its own.
#include "results/goodness_of_fit.h"
#include "results/parallel_parts.h"
#include "results/result_loader_steps.h"

#include <algorithm>
#include <vector>

namespace zentrope {
namespace {

constexpr int32_t FewestValuesForFigures = 3;
constexpr int32_t FewestSequencesForFigures = 2;
// Below this many cells per thread, starting a thread costs more than it saves.
constexpr int64_t FewestCellsPerThread = 20000;

// Rows are laid out in tiles of this many, a column at a time, so that each column is read
// in order and the tile's part of the set stays in the cache.
constexpr int32_t TileRows = 64;

void PlaceTilePValues(const std::vector<PValueColumn>& columns, int32_t first, int32_t end,
                      ResultSet& set) {
    for (int32_t sequence = 0; sequence < set.SequenceCount(); ++sequence) {
        const PValueColumn& column = columns[static_cast<size_t>(sequence)];
        const int32_t reached = std::min(end, static_cast<int32_t>(column.values.size()));
        for (int32_t row = first; row < reached; ++row) // the rows beyond stay Missing
            set.SetPValue(row, sequence, column.values[static_cast<size_t>(row)],
                          column.marks[static_cast<size_t>(row)]);
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

void ReadRows(const std::vector<PValueColumn>& columns, int32_t first, int32_t end,
              ResultSet& set) {
    RowRoom room(set.SequenceCount());
    for (int32_t tile = first; tile < end; tile += TileRows) {
        const int32_t tile_end = std::min(end, tile + TileRows);
        PlaceTilePValues(columns, tile, tile_end, set);
        for (int32_t row = tile; row < tile_end; ++row)
            FigureRow(row, set, room);
    }
}

} // namespace

ResultSet ReadResultNumbers(const std::vector<PValueColumn>& columns, int32_t rows) {
    const auto sequences = static_cast<int32_t>(columns.size());
    ResultSet set(rows, sequences);
    const int32_t parts = PartCount(int64_t{rows} * std::max(sequences, 1), FewestCellsPerThread);
    RunParts(parts, [&](int32_t part) {
        ReadRows(columns, int32_t(int64_t{rows} * part / parts),
                 int32_t(int64_t{rows} * (part + 1) / parts), set);
    });
    return set;
}

} // namespace zentrope
