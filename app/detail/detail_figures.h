// The detail view's figures of one row as a small HTML table of captions and values.
#pragma once

#include <QString>

namespace zentrope {
struct ResultRow;
struct RowDetail;
} // namespace zentrope

struct RowQValues {
    double ks = 0; // NaN for a row without figures
    double ad = 0;
};

// `reasons`: the tester's reasons for the row's cells without a result, empty when it gave none.
QString DetailFiguresHtml(const zentrope::ResultRow& row, const zentrope::RowDetail& detail,
                          RowQValues q, double alpha, const QString& reasons);
