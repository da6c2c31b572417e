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

QString DetailFiguresHtml(const zentrope::ResultRow& row, const zentrope::RowDetail& detail,
                          RowQValues q, double alpha);
