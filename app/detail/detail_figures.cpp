#include "app/detail/detail_figures.h"

#include "app/table/result_table_model.h"
#include "results/grid/figure_text.h"
#include "results/grid/no_result_reasons.h"
#include "results/verdict/row_detail.h"

#include <QStringList>
#include <cmath>

namespace {

// Uniformity P-values below this fail NIST SP 800-22's check of a set of sequences.
constexpr double UniformityFailsBelow = 0.0001;

// A probability: four decimals, or scientific notation once they would hide it.
QString Probability(double p) {
    if (std::isnan(p))
        return QStringLiteral("\u2013");
    if (p >= 0 && p < zentrope::SmallestFigure) // underflowed: a bound, never 0.0000
        return QString::fromUtf8(zentrope::UnderflowText).toHtmlEscaped();
    if (p < 0.001)
        return QString::number(p, 'e', 2);
    return QString::number(p, 'f', 4);
}

QString Warning(const QString& text) {
    return QStringLiteral("<span style=\"color:#c00000\"><b>%1</b></span>").arg(text);
}

// The tester's reasons follow the errors they explain.
QString LeftOut(const zentrope::RowDetail& detail, const QString& reasons) {
    QStringList parts;
    if (detail.errors > 0)
        parts << QStringLiteral("%1 \u201c- error -\u201d (\u22121): %2")
                     .arg(detail.errors)
                     .arg(reasons.isEmpty() ? QString::fromUtf8(zentrope::NoReasonGiven)
                                            : reasons.toHtmlEscaped());
    if (detail.empty > 0)
        parts << QStringLiteral("%1 empty").arg(detail.empty);
    if (detail.out_of_range > 0)
        parts << QStringLiteral("%1 not p-values").arg(detail.out_of_range);
    return parts.isEmpty() ? QStringLiteral("none left out")
                           : QStringLiteral("left out: ") + parts.join(QStringLiteral(", "));
}

QString Uniformity(const zentrope::UniformityTest& test) {
    QString text = QStringLiteral("\u03c7\u00b2 = %1, P = %2")
                       .arg(QString::number(test.chi_square, 'f', 2), Probability(test.p_value));
    if (test.too_few)
        return text + QStringLiteral("<br><i>unreliable: m = %1 &lt; 55</i>").arg(test.m);
    if (test.p_value < UniformityFailsBelow)
        text += QStringLiteral(" ") + Warning(QStringLiteral("not uniform"));
    return text;
}

QString Proportion(const zentrope::PassProportion& pass) {
    QString text = QStringLiteral("%1 of %2 = %3; 3\u03c3 interval %4 \u2013 %5")
                       .arg(pass.passed)
                       .arg(pass.m)
                       .arg(QString::number(pass.proportion, 'f', 4),
                            QString::number(pass.low, 'f', 4), QString::number(pass.high, 'f', 4));
    if (!pass.Inside())
        text += QStringLiteral(" ") + Warning(QStringLiteral("outside"));
    return text;
}

QString Smallest(const zentrope::SmallestPValue& smallest) {
    if (smallest.index < 0)
        return QStringLiteral("\u2013");
    return QStringLiteral("%1 (\u2212log10 p = %2), sequence %3")
        .arg(QString::number(smallest.p, 'e', 2), QString::number(smallest.minus_log10, 'f', 2))
        .arg(smallest.index + 1);
}

QString TableFigures(const zentrope::ResultRow& row) {
    if (!row.figures)
        return QStringLiteral("\u201c- error -\u201d");
    return QStringLiteral("KS %1, AD %2, SL %3")
        .arg(Probability(row.figures->ks), Probability(row.figures->ad),
             QString::number(row.figures->sl, 'f', 3));
}

QString Line(const QString& caption, const QString& value) {
    return QStringLiteral("<tr><td style=\"padding-right:8px\">%1</td><td>%2</td></tr>")
        .arg(caption, value);
}

} // namespace

QString DetailFiguresHtml(const zentrope::ResultRow& row, const zentrope::RowDetail& detail,
                          RowQValues q, double alpha, const QString& reasons) {
    const QString values =
        QStringLiteral("%1 of %2 sequences, %3")
            .arg(detail.Count())
            .arg(row.pvalues.size())
            .arg(LeftOut(detail, reasons)) +
        (row.invalid > 0
             ? QStringLiteral("<br>") + Warning(InvalidValuesText(row.invalid).toHtmlEscaped())
             : QString());
    if (detail.sorted.empty())
        return QStringLiteral("<table>%1</table>").arg(Line(QStringLiteral("Values"), values));
    const QString a = QString::number(alpha);
    QString html = QStringLiteral("<table>");
    html += Line(QStringLiteral("Values"), values);
    html += Line(QStringLiteral("KS distance D"),
                 QStringLiteral("%1 at p = %2")
                     .arg(QString::number(detail.ks.d, 'f', 4),
                          QString::number(detail.sorted[size_t(detail.ks.at)], 'g', 6)));
    html += Line(QStringLiteral("Exact KS p (n = %1)").arg(detail.Count()),
                 Probability(detail.ks_exact_p));
    html +=
        Line(QStringLiteral("AD statistic A\u00b2"), QString::number(detail.ad_statistic, 'f', 3));
    html += Line(QStringLiteral("Table figures"), TableFigures(row));
    html += Line(QStringLiteral("BY q-values"),
                 QStringLiteral("KS %1, AD %2").arg(Probability(q.ks), Probability(q.ad)));
    html += Line(QStringLiteral("Smallest p"), Smallest(detail.smallest));
    html += Line(QStringLiteral("Uniformity, 10 bins"), Uniformity(detail.uniformity));
    html += Line(QStringLiteral("p \u2265 \u03b1 = %1").arg(a), Proportion(detail.proportion));
    html += Line(QStringLiteral("DKW band at 1 \u2212 \u03b1"),
                 QStringLiteral("\u00b1 %1").arg(QString::number(detail.dkw_half_width, 'f', 4)));
    return html + QStringLiteral("</table>");
}
