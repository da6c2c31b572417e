#include "app/table/run_verdict_line.h"

#include "app/name_text.h"
#include "results/verdict/verdict_text.h"

using namespace zentrope;

namespace {

std::string Escaped(std::string_view text) {
    return DisplayText(text).toHtmlEscaped().toStdString();
}

std::string Link(std::string_view target, std::string_view text) {
    return "<a href=\"" + std::string(target) + "\">" + Escaped(text) + "</a>";
}

VerdictMarkup HtmlMarkup() {
    VerdictMarkup markup;
    markup.text = Escaped;
    markup.strong = [](std::string_view text) { return "<b>" + Escaped(text) + "</b>"; };
    markup.worst = [](std::string_view name) { return Link("row", name); };
    markup.row = [](int32_t row, std::string_view name) {
        return Link("row:" + std::to_string(row), name);
    };
    markup.more = [](std::string_view text) { return Link("more", text); };
    return markup;
}

} // namespace

RunVerdictLine::RunVerdictLine(QWidget* parent) : QLabel(parent) {
    setObjectName("LabVerdict");
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(this, &QLabel::linkActivated, this, [this](const QString& link) {
        if (link == QStringLiteral("more")) {
            emit listRequested();
            return;
        }
        bool named = false;
        const int32_t row = link.section(':', 1).toInt(&named);
        if (named)
            emit rowChosen(row);
        else if (worstRow_ >= 0)
            emit rowChosen(worstRow_);
    });
}

void RunVerdictLine::Show(const RunVerdict& verdict, const VerdictRows& rows,
                          const FlagThresholds& thresholds, double alpha, const QString& note) {
    worstRow_ = verdict.worst_row;
    const QString text =
        QString::fromStdString(VerdictLine(verdict, rows, thresholds, alpha, HtmlMarkup()));
    setText(note.isEmpty() ? text
                           : QStringLiteral("<i>%1</i>. %2").arg(note.toHtmlEscaped(), text));
}

void RunVerdictLine::Clear() {
    worstRow_ = -1;
    clear();
}
