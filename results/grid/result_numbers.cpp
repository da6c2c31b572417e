// The load's numbers: every p-value cell read once and the rows' figures computed on all
// cores, each thread taking a block of rows of its own.
#include "model/c_text.h"
#include "results/stats/goodness_of_fit.h"
#include "results/grid/parallel_parts.h"
#include "results/grid/result_loader_steps.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace zentrope {
namespace {

// Below this many cells per thread, starting a thread costs more than it saves.
constexpr int64_t FewestCellsPerThread = 20000;

// Rows are read in tiles of this many, a section at a time, so that each section's cells and
// lines are read in order while the tile's part of the set stays in the cache for its figures.
constexpr int32_t TileRows = 64;

// The cell's number as atof reads it; NaN when the text holds none, which atof would read
// as a p-value of 0.
double NumberOf(std::string_view text) {
    size_t used = 0;
    const double value = AtofC(text, &used);
    return used > 0 ? value : std::numeric_limits<double>::quiet_NaN();
}

// The p-values of the rows first .. end - 1; rows below a section are Missing in it.
void ReadTilePValues(const std::vector<std::vector<CellText>*>& sections, std::string_view text,
                     CellText error, int32_t first, int32_t end, ResultSet& set) {
    for (int32_t sequence = 0; sequence < set.SequenceCount(); ++sequence) {
        const std::vector<CellText>& cells = *sections[static_cast<size_t>(sequence)];
        const int32_t reached =
            std::clamp(static_cast<int32_t>(cells.size()) - ResultGrid::FixedRows, first, end);
        for (int32_t row = first; row < reached; ++row) {
            const CellText at = cells[static_cast<size_t>(row + ResultGrid::FixedRows)];
            const std::string_view value =
                at.packed == error.packed ? ErrorCellText : text.substr(at.Offset(), at.Length());
            if (value == ErrorCellText)
                set.SetPValue(row, sequence, -1.0, PValueMark::Error);
            else
                set.SetPValue(row, sequence, NumberOf(value), PValueMark::Number);
        }
        for (int32_t row = reached; row < end; ++row)
            set.SetPValue(row, sequence, 0.0, PValueMark::Missing);
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
    int32_t invalid = 0;
    for (size_t sequence = 0; sequence < numbers.pvalues.size(); ++sequence) {
        const CellUse use = UseOf(numbers.marks[sequence], numbers.pvalues[sequence]);
        if (use == CellUse::PValue)
            values.push_back(numbers.pvalues[sequence]);
        invalid += use == CellUse::NoPValue;
    }
    const auto n = static_cast<int32_t>(values.size());
    SortPValuesWithRoom(values.data(), n, room.sort);
    set.SetFigures(row, n, FiguresOfSorted(values.data(), n, set.SequenceCount(), invalid),
                   invalid);
}

} // namespace

void ReadResultNumbers(const std::vector<std::vector<CellText>*>& sections, std::string_view text,
                       CellText error, ResultSet& set, LoadWatch* watch) {
    const int32_t rows = set.RowCount();
    if (watch)
        watch->Begin(LoadStage::Figures, rows);
    const int32_t parts =
        PartCount(int64_t{rows} * std::max(set.SequenceCount(), 1), FewestCellsPerThread);
    RunParts(parts, [&](int32_t part) {
        const auto first = int32_t(int64_t{rows} * part / parts);
        const auto end = int32_t(int64_t{rows} * (part + 1) / parts);
        RowRoom room(set.SequenceCount());
        for (int32_t tile = first; tile < end; tile += TileRows) {
            const int32_t tile_end = std::min(end, tile + TileRows);
            ReadTilePValues(sections, text, error, tile, tile_end, set);
            for (int32_t row = tile; row < tile_end; ++row)
                FigureRow(row, set, room);
            Advance(watch, tile_end - tile);
        }
    });
}

} // namespace zentrope
