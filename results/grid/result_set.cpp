#include "results/grid/result_set.h"

#include "results/stats/goodness_of_fit.h"
#include "results/stats/pvalue_sample.h"

#include <algorithm>
#include <cmath>

namespace zentrope {
namespace {

constexpr int32_t FewestValuesForFigures = 3;
constexpr int32_t FewestSequencesForFigures = 2;

// The order SortPValues gives: numbers ascending, NaN after every number.
bool Before(double a, double b) {
    return !std::isnan(a) && (std::isnan(b) || a < b);
}

} // namespace

std::optional<RowFigures> FiguresOfSorted(const double* sorted, int32_t n, int32_t sequences,
                                          int32_t invalid) {
    if (sequences < FewestSequencesForFigures || n < FewestValuesForFigures || invalid > 0)
        return std::nullopt;
    return RowFigures{KsPValue(sorted, n), AdPValue(sorted, n), SlPercent(sorted, n)};
}

CellUse UseOf(PValueMark mark, double value) {
    if (mark != PValueMark::Number)
        return CellUse::Nothing;
    return IsPValue(value) ? CellUse::PValue : CellUse::NoPValue;
}

ResultSet::ResultSet(int32_t rows, int32_t sequences)
    : rows_(rows), sequences_(sequences), stride_(sequences), names_(size_t(rows)),
      values_(size_t(rows) * size_t(sequences), 0.0),
      marks_(size_t(rows) * size_t(sequences), PValueMark::Missing), counts_(size_t(rows), 0),
      invalid_(size_t(rows), 0), figures_(size_t(rows)) {}

ResultSet::ResultSet(int32_t rows, int32_t sequences, Unset)
    : rows_(rows), sequences_(sequences), stride_(sequences), names_(size_t(rows)),
      values_(size_t(rows) * size_t(sequences)), marks_(size_t(rows) * size_t(sequences)),
      counts_(size_t(rows), 0), invalid_(size_t(rows), 0), figures_(size_t(rows)) {}

ResultSet ResultSet::ToBeWritten(int32_t rows, int32_t sequences) {
    return ResultSet(rows, sequences, Unset{});
}

ResultRow ResultSet::Row(int32_t row) const {
    const size_t first = Index(row, 0);
    const auto n = size_t(sequences_);
    return ResultRow{names_[size_t(row)],
                     std::span(values_).subspan(first, n),
                     std::span(marks_).subspan(first, n),
                     counts_[size_t(row)],
                     invalid_[size_t(row)],
                     figures_[size_t(row)]};
}

void ResultSet::SetFigures(int32_t row, int32_t count, std::optional<RowFigures> figures,
                           int32_t invalid) {
    counts_[size_t(row)] = count;
    invalid_[size_t(row)] = invalid;
    figures_[size_t(row)] = figures;
}

void ResultSet::Reserve(int32_t sequences) {
    if (sequences <= stride_)
        return;
    const int32_t stride = std::max(sequences, stride_ * 2);
    decltype(values_) values(size_t(rows_) * size_t(stride));
    decltype(marks_) marks(size_t(rows_) * size_t(stride));
    for (int32_t row = 0; row < rows_; ++row) {
        const size_t from = Index(row, 0);
        const size_t to = size_t(row) * size_t(stride);
        std::copy_n(values_.begin() + std::ptrdiff_t(from), sequences_,
                    values.begin() + std::ptrdiff_t(to));
        std::copy_n(marks_.begin() + std::ptrdiff_t(from), sequences_,
                    marks.begin() + std::ptrdiff_t(to));
    }
    values_ = std::move(values);
    marks_ = std::move(marks);
    stride_ = stride;
}

void ResultSet::KeepSorted() {
    if (int32_t(sorted_.size()) == rows_)
        return;
    sorted_.assign(size_t(rows_), {});
    for (int32_t row = 0; row < rows_; ++row) {
        std::vector<double>& sorted = sorted_[size_t(row)];
        invalid_[size_t(row)] = 0;
        for (int32_t sequence = 0; sequence < sequences_; ++sequence)
            Take(row, Mark(row, sequence), PValue(row, sequence), sorted);
        std::sort(sorted.begin(), sorted.end(), Before);
    }
}

void ResultSet::Take(int32_t row, PValueMark mark, double value, std::vector<double>& values) {
    switch (UseOf(mark, value)) {
    case CellUse::PValue:
        values.push_back(value);
        break;
    case CellUse::NoPValue:
        ++invalid_[size_t(row)];
        break;
    case CellUse::Nothing:
        break;
    }
}

void ResultSet::FigureFromSorted(int32_t row) {
    const std::vector<double>& sorted = sorted_[size_t(row)];
    const auto n = int32_t(sorted.size());
    const int32_t invalid = invalid_[size_t(row)];
    SetFigures(row, n, FiguresOfSorted(sorted.data(), n, sequences_, invalid), invalid);
}

bool ResultSet::AppendSequence(std::span<const double> pvalues, std::span<const PValueMark> marks) {
    if (pvalues.size() != size_t(rows_) || marks.size() != size_t(rows_))
        return false;
    KeepSorted();
    Reserve(sequences_ + 1);
    const int32_t sequence = sequences_++;
    for (int32_t row = 0; row < rows_; ++row) {
        const auto at = size_t(row);
        const double value = marks[at] == PValueMark::Error ? -1.0 : pvalues[at];
        SetPValue(row, sequence, value, marks[at]);
        std::vector<double> taken;
        Take(row, marks[at], value, taken);
        if (!taken.empty()) {
            std::vector<double>& sorted = sorted_[at];
            sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), value, Before), value);
        }
        FigureFromSorted(row);
    }
    return true;
}

bool ResultSet::Merge(const ResultSet& other) {
    if (other.rows_ != rows_)
        return false;
    for (size_t row = 0; row < names_.size(); ++row)
        if (!names_[row].empty() && !other.names_[row].empty() && names_[row] != other.names_[row])
            return false;
    KeepSorted();
    Reserve(sequences_ + other.sequences_);
    const int32_t first = sequences_;
    sequences_ += other.sequences_;
    for (int32_t row = 0; row < rows_; ++row) {
        std::vector<double> added;
        for (int32_t sequence = 0; sequence < other.sequences_; ++sequence) {
            const PValueMark mark = other.Mark(row, sequence);
            SetPValue(row, first + sequence, other.PValue(row, sequence), mark);
            Take(row, mark, other.PValue(row, sequence), added);
        }
        std::sort(added.begin(), added.end(), Before);
        std::vector<double>& sorted = sorted_[size_t(row)];
        std::vector<double> merged(sorted.size() + added.size());
        std::merge(sorted.begin(), sorted.end(), added.begin(), added.end(), merged.begin(),
                   Before);
        sorted = std::move(merged);
        if (names_[size_t(row)].empty())
            names_[size_t(row)] = other.names_[size_t(row)];
        FigureFromSorted(row);
    }
    return true;
}

} // namespace zentrope
