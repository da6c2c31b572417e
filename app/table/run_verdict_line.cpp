#include "app/table/run_verdict_line.h"

#include "app/name_text.h"

#include <algorithm>
#include <cmath>

using namespace zentrope;

namespace {

QString Count(const char* what, const ThresholdCount& count, double limit, bool on) {
    if (!on)
        return QStringLiteral("%1: off").arg(QString::fromLatin1(what));
    return QStringLiteral("%1 %2: <b>%3</b> (%4 expected by chance)")
        .arg(QString::fromLatin1(what), QString::number(limit))
        .arg(count.flagged)
        .arg(QString::number(count.expected, 'f', 1));
}

// "passes" only for a whole run: a run that lacks lines is "incomplete" instead.
QString Outcome(const RunVerdict& verdict) {
    if (verdict.fails)
        return QStringLiteral("FAILS");
    return verdict.incomplete ? QStringLiteral("incomplete") : QStringLiteral("passes");
}

QString Battery(const RunVerdict& verdict, double alpha) {
    if (verdict.family == 0 || verdict.worst_row < 0) {
        if (verdict.fails || verdict.incomplete)
            return QStringLiteral("<b>%1</b>: no row has a KS figure").arg(Outcome(verdict));
        return QStringLiteral("no row has a KS figure to judge the battery by");
    }
    const QString worst = QStringLiteral("<a href=\"row\">%1</a>")
                              .arg(DisplayText(verdict.worst_name).toHtmlEscaped());
    return QStringLiteral("Holm over %1 rows at %2: <b>%3</b>, worst row %4 (adjusted p %5)")
        .arg(verdict.family)
        .arg(QString::number(alpha))
        .arg(Outcome(verdict))
        .arg(worst)
        .arg(QString::number(verdict.worst_adjusted, 'e', 2));
}

// The rows the battery fails on, each a link that selects it, with the KS p-value that put it
// there; a long list is cut so that the line stays a line.
QString Rejected(const RunVerdict& verdict) {
    constexpr size_t Shown = 6;
    if (verdict.rejected.empty())
        return {};
    QStringList rows;
    for (size_t i = 0; i < std::min(Shown, verdict.rejected.size()); ++i) {
        const RejectedRow& row = verdict.rejected[i];
        rows << QStringLiteral("<a href=\"row:%1\">%2</a> (KS %3)")
                    .arg(row.row)
                    .arg(DisplayText(row.name).toHtmlEscaped(), QString::number(row.ks, 'e', 1));
    }
    if (verdict.rejected.size() > Shown)
        rows << QStringLiteral("and %1 more").arg(verdict.rejected.size() - Shown);
    return QStringLiteral(" Failing: %1.").arg(rows.join(QStringLiteral(", ")));
}

// Rows holding values that are no p-values: they have no figures and do not pass.
QString Invalid(const RunVerdict& verdict) {
    constexpr size_t Shown = 6;
    if (verdict.invalid_rows.empty())
        return {};
    QStringList rows;
    for (size_t i = 0; i < std::min(Shown, verdict.invalid_rows.size()); ++i) {
        const InvalidRow& row = verdict.invalid_rows[i];
        rows << QStringLiteral("<a href=\"row:%1\">%2</a>")
                    .arg(row.row)
                    .arg(DisplayText(row.name).toHtmlEscaped());
    }
    if (verdict.invalid_rows.size() > Shown)
        rows << QStringLiteral("and %1 more").arg(verdict.invalid_rows.size() - Shown);
    return QStringLiteral(" Not passing, holding values that are not p-values: %1.")
        .arg(rows.join(QStringLiteral(", ")));
}

} // namespace

QString VerdictText(const RunVerdict& verdict, const FlagThresholds& thresholds, double alpha) {
    const QString counts =
        QStringList{
            Count("below KSmin", verdict.ks, thresholds.ks_min, thresholds.ks_min > 0),
            Count("below ADmin", verdict.ad, thresholds.ad_min, thresholds.ad_min > 0),
            Count("above SLmax", verdict.sl, thresholds.sl_max, thresholds.SlEnabled()),
        }
            .join(QStringLiteral("; "));
    return QStringLiteral("%1 rows, %2 sequences. %3. %4.%5%6")
        .arg(verdict.rows)
        .arg(verdict.sequences)
        .arg(counts, Battery(verdict, alpha), Rejected(verdict), Invalid(verdict));
}

RunVerdictLine::RunVerdictLine(QWidget* parent) : QLabel(parent) {
    setObjectName("LabVerdict");
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(this, &QLabel::linkActivated, this, [this](const QString& link) {
        bool named = false;
        const int32_t row = link.section(':', 1).toInt(&named);
        if (named)
            emit rowChosen(row);
        else if (worstRow_ >= 0)
            emit rowChosen(worstRow_);
    });
}

void RunVerdictLine::Show(const RunVerdict& verdict, const FlagThresholds& thresholds, double alpha,
                          const QString& note) {
    worstRow_ = verdict.worst_row;
    const QString text = VerdictText(verdict, thresholds, alpha);
    setText(note.isEmpty() ? text
                           : QStringLiteral("<i>%1</i>. %2").arg(note.toHtmlEscaped(), text));
}

void RunVerdictLine::Clear() {
    worstRow_ = -1;
    clear();
}
