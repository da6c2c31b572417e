// The load's numbers: every p-value cell read once, a block of sections per thread, and the
// rows' figures, a block of rows per thread.
#include "model/c_text.h"
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

// The p-values of one section, which are the file's lines in order: read in that order, a
// row's value lands beside those of the sections read just before, still in the cache.
void ReadSectionPValues(const std::vector<CellText>& cells, std::string_view text, CellText error,
                        int32_t sequence, ResultSet& set) {
    for (size_t cell = ResultGrid::FixedRows; cell < cells.size(); ++cell) {
        const auto row = static_cast<int32_t>(cell) - ResultGrid::FixedRows;
        const CellText at = cells[cell];
        const std::string_view value =
            at.packed == error.packed ? ErrorCellText : text.substr(at.Offset(), at.Length());
        if (value == ErrorCellText)
            set.SetPValue(row, sequence, -1.0, PValueMark::Error);
        else
            set.SetPValue(row, sequence, AtofC(value), PValueMark::Number);
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

// work(first, end) for blocks of [0, count) on all cores, when the set is large enough.
template <typename Work> void ShareOut(int32_t count, const ResultSet& set, const Work& work) {
    const int64_t cells = int64_t{set.RowCount()} * std::max(set.SequenceCount(), 1);
    const int32_t parts = std::min(PartCount(cells, FewestCellsPerThread), std::max(count, 1));
    RunParts(parts, [&](int32_t part) {
        work(int32_t(int64_t{count} * part / parts), int32_t(int64_t{count} * (part + 1) / parts));
    });
}

} // namespace

void ReadPValues(const std::vector<std::vector<CellText>*>& sections, std::string_view text,
                 CellText error, ResultSet& set) {
    ShareOut(set.SequenceCount(), set, [&](int32_t first, int32_t end) {
        for (int32_t sequence = first; sequence < end; ++sequence)
            ReadSectionPValues(*sections[static_cast<size_t>(sequence)], text, error, sequence,
                               set);
    });
}

void FigureRows(ResultSet& set) {
    ShareOut(set.RowCount(), set, [&set](int32_t first, int32_t end) {
        RowRoom room(set.SequenceCount());
        for (int32_t row = first; row < end; ++row)
            FigureRow(row, set, room);
    });
}

} // namespace zentrope
