#include "app/table/run_verdict_line.h"

#include "app/name_text.h"

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

QString Battery(const RunVerdict& verdict, double alpha) {
    if (verdict.family == 0 || verdict.worst_row < 0)
        return QStringLiteral("no row has a KS figure to judge the battery by");
    const QString worst = QStringLiteral("<a href=\"row\">%1</a>")
                              .arg(DisplayText(verdict.worst_name).toHtmlEscaped());
    return QStringLiteral("Holm over %1 rows at %2: <b>%3</b>, worst row %4 (adjusted p %5)")
        .arg(verdict.family)
        .arg(QString::number(alpha))
        .arg(verdict.fails ? QStringLiteral("FAILS") : QStringLiteral("passes"))
        .arg(worst)
        .arg(QString::number(verdict.worst_adjusted, 'e', 2));
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
    return QStringLiteral("%1 rows, %2 sequences. %3. %4.")
        .arg(verdict.rows)
        .arg(verdict.sequences)
        .arg(counts, Battery(verdict, alpha));
}

RunVerdictLine::RunVerdictLine(QWidget* parent) : QLabel(parent) {
    setObjectName("LabVerdict");
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(this, &QLabel::linkActivated, this, [this] {
        if (worstRow_ >= 0)
            emit worstRowChosen(worstRow_);
    });
}

void RunVerdictLine::Show(const RunVerdict& verdict, const FlagThresholds& thresholds,
                          double alpha) {
    worstRow_ = verdict.worst_row;
    setText(VerdictText(verdict, thresholds, alpha));
}

void RunVerdictLine::Clear() {
    worstRow_ = -1;
    clear();
}
