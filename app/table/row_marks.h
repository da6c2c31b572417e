// The marks beside the result table's rows, by result row: failing rows say what they cross;
// rows without a result, and rows with some cells without one, say why.
#pragma once

#include "app/table/result_table_model.h"
#include "results/grid/no_result_reasons.h"
#include "results/verdict/row_flags.h"
#include "results/verdict/verdict_rows.h"

#include <vector>

std::vector<ResultTableModel::RowMark>
RowMarksOf(const zentrope::ResultSet& results, const zentrope::VerdictRows& rows,
           const zentrope::FlagThresholds& thresholds, double alpha,
           const std::vector<zentrope::NoResultReason>& reasons);
