#include "results/result_set.h"

namespace zentrope {

ResultSet::ResultSet(int32_t rows, int32_t sequences)
    : rows_(rows), sequences_(sequences), names_(size_t(rows)),
      values_(size_t(rows) * size_t(sequences), 0.0),
      marks_(size_t(rows) * size_t(sequences), PValueMark::Missing), counts_(size_t(rows), 0),
      invalid_(size_t(rows), 0), figures_(size_t(rows)) {}

ResultSet::ResultSet(int32_t rows, int32_t sequences, Unset)
    : rows_(rows), sequences_(sequences), names_(size_t(rows)),
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

} // namespace zentrope
