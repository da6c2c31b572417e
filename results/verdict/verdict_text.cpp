#include "results/verdict/verdict_text.h"

#include "model/c_text.h"
#include "results/grid/figure_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zentrope {
namespace {

// So many failing rows, and rows without a result, the line names before "and N more".
constexpr size_t FailingShown = 6;
constexpr size_t WithoutShown = 3;

std::string Identity(std::string_view text) {
    return std::string(text);
}

std::string OneDecimal(double value) {
    return FormatFixed(value, 1);
}

std::string Count(std::string_view what, const ThresholdCount& count, double limit, bool on,
                  const VerdictMarkup& m) {
    if (!on)
        return m.text(std::string(what) + ": off");
    return m.text(std::string(what) + " " + FormatG(limit) + ": ") +
           m.strong(std::to_string(count.flagged)) +
           m.text(" (" + OneDecimal(count.expected) + " expected by chance)");
}

// "passes" only for a whole run: a run that lacks lines is "incomplete" instead.
std::string Outcome(const RunVerdict& verdict) {
    if (verdict.fails)
        return "FAILS";
    return verdict.incomplete ? "incomplete" : "passes";
}

std::string Battery(const RunVerdict& verdict, double alpha, const VerdictMarkup& m) {
    if (verdict.family == 0 || verdict.worst_row < 0) {
        if (verdict.fails || verdict.incomplete)
            return m.strong(Outcome(verdict)) + m.text(": no row has a KS figure");
        return m.text("no row has a KS figure to judge the battery by");
    }
    return m.text("Holm over " + std::to_string(verdict.family) + " rows at " + FormatG(alpha) +
                  ": ") +
           m.strong(Outcome(verdict)) + m.text(", worst row ") + m.worst(verdict.worst_name) +
           m.text(" (adjusted p " + ScientificText(verdict.worst_adjusted, 2) + ")");
}

std::string More(size_t all, size_t shown, const VerdictMarkup& m) {
    return m.more("and " + std::to_string(all - shown) + " more");
}

std::string Failing(const VerdictRows& rows, const VerdictMarkup& m) {
    if (rows.failing.empty())
        return {};
    std::string text = m.text(" Failing: ");
    const size_t shown = std::min(FailingShown, rows.failing.size());
    for (size_t i = 0; i < shown; ++i) {
        const FailingRow& row = rows.failing[i];
        if (i > 0)
            text += m.text(", ");
        text +=
            m.row(row.row, row.name) + m.text(" (KS " + ScientificText(row.figures.ks, 1) + ")");
    }
    if (rows.failing.size() > shown)
        text += m.text(", ") + More(rows.failing.size(), shown, m);
    return text + m.text(".");
}

// Rows holding values that are no p-values: they have no figures and do not pass.
std::string Invalid(const RunVerdict& verdict, const VerdictMarkup& m) {
    const size_t all = verdict.invalid_rows.size();
    if (all == 0)
        return {};
    std::string text = m.text(" Not passing, holding values that are not p-values: ");
    const size_t shown = std::min(FailingShown, all);
    for (size_t i = 0; i < shown; ++i)
        text += (i > 0 ? m.text(", ") : std::string()) +
                m.row(verdict.invalid_rows[i].row, verdict.invalid_rows[i].name);
    if (all > shown) // the list behind "more" holds failing rows, not these
        text += m.text(", and " + std::to_string(all - shown) + " more");
    return text + m.text(".");
}

std::string Without(const VerdictRows& rows, const VerdictMarkup& m) {
    const size_t all = rows.without.size();
    if (all == 0)
        return {};
    std::string text = m.text(" " + std::to_string(all) +
                              (all == 1 ? " row without a result: " : " rows without a result: "));
    const size_t shown = std::min(WithoutShown, all);
    for (size_t i = 0; i < shown; ++i)
        text += m.text((i > 0 ? "; " : "") + WithoutResultText(rows.without[i]));
    if (all > shown)
        text += m.text("; ") + More(all, shown, m);
    return text + m.text(".");
}

std::string Joined(const std::vector<std::string>& parts, std::string_view between) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : std::string(between)) + part;
    return text;
}

std::string RowNumber(int32_t row) {
    return std::to_string(row + 1);
}

// A JSON string's contents.
std::string JsonEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", unsigned(static_cast<unsigned char>(c)));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

std::string JsonString(std::string_view text) {
    return "\"" + JsonEscaped(text) + "\"";
}

std::string JsonFigure(double value) {
    if (std::isnan(value))
        return "null";
    if (value >= 0 && value < SmallestFigure)
        return JsonString(UnderflowText);
    return FigureText(value);
}

std::string JsonStrings(const std::vector<std::string>& texts) {
    std::vector<std::string> quoted;
    for (const std::string& text : texts)
        quoted.push_back(JsonString(text));
    return "[" + Joined(quoted, ", ") + "]";
}

std::string FailingJson(const FailingRow& row, const FlagThresholds& thresholds, double alpha) {
    return "{\"row\": " + RowNumber(row.row) + ", \"name\": " + JsonString(row.name) +
           ", \"ks\": " + JsonFigure(row.figures.ks) + ", \"ad\": " + JsonFigure(row.figures.ad) +
           ", \"sl\": " + JsonFigure(row.figures.sl) +
           ", \"exact_ks\": " + JsonFigure(row.exact_ks) +
           ", \"holm_adjusted_ks\": " + JsonFigure(row.adjusted) +
           ", \"rejected\": " + (row.rejected ? "true" : "false") +
           ", \"crosses\": " + JsonStrings(CrossedTexts(row, thresholds, alpha)) +
           ", \"no_result\": " + JsonString(row.reasons) + "}";
}

std::string WithoutJson(const RowWithoutResult& row) {
    return "{\"row\": " + RowNumber(row.row) + ", \"name\": " + JsonString(row.name) +
           ", \"values\": " + std::to_string(row.values) +
           ", \"reason\": " + JsonString(row.reason) + "}";
}

} // namespace

std::string FailingRowText(const FailingRow& row, const FlagThresholds& thresholds, double alpha);

VerdictMarkup PlainMarkup() {
    return {Identity, Identity, Identity,
            [](int32_t, std::string_view name) { return std::string(name); }, Identity};
}

std::string VerdictLine(const RunVerdict& verdict, const VerdictRows& rows,
                        const FlagThresholds& thresholds, double alpha, const VerdictMarkup& m) {
    const std::string counts =
        Count("below KSmin", verdict.ks, thresholds.ks_min, thresholds.ks_min > 0, m) +
        m.text("; ") +
        Count("below ADmin", verdict.ad, thresholds.ad_min, thresholds.ad_min > 0, m) +
        m.text("; ") +
        Count("above SLmax", verdict.sl, thresholds.sl_max, thresholds.SlEnabled(), m);
    return m.text(std::to_string(verdict.rows) + " rows, " + std::to_string(verdict.sequences) +
                  " sequences. ") +
           counts + m.text(". ") + Battery(verdict, alpha, m) + m.text(".") + Failing(rows, m) +
           Invalid(verdict, m) + Without(rows, m);
}

std::string FailingRowText(const FailingRow& row, const FlagThresholds& thresholds, double alpha) {
    std::string text = "row " + RowNumber(row.row) + " \"" + std::string(row.name) + "\": KS " +
                       FigureText(row.figures.ks) + ", AD " + FigureText(row.figures.ad) + ", SL " +
                       FigureText(row.figures.sl) + ", exact KS p " + FigureText(row.exact_ks) +
                       "; crosses: " + Joined(CrossedTexts(row, thresholds, alpha), "; ");
    if (!row.reasons.empty())
        text += "; no result: " + row.reasons;
    return text;
}

std::string VerdictReport(const RunVerdict& verdict, const VerdictRows& rows,
                          const FlagThresholds& thresholds, double alpha) {
    std::string text = VerdictLine(verdict, rows, thresholds, alpha, PlainMarkup()) + "\n";
    text += "\nFailing rows: " + std::to_string(rows.failing.size()) + "\n";
    for (const FailingRow& row : rows.failing)
        text += FailingRowText(row, thresholds, alpha) + "\n";
    text += "\nRows without a result: " + std::to_string(rows.without.size()) + "\n";
    for (const RowWithoutResult& row : rows.without)
        text += "row " + RowNumber(row.row) + " \"" + std::string(row.name) + "\": " + row.reason +
                "\n";
    return text;
}

std::string VerdictJson(const RunVerdict& verdict, const VerdictRows& rows,
                        const FlagThresholds& thresholds, double alpha) {
    std::vector<std::string> failing;
    for (const FailingRow& row : rows.failing)
        failing.push_back(FailingJson(row, thresholds, alpha));
    std::vector<std::string> without;
    for (const RowWithoutResult& row : rows.without)
        without.push_back(WithoutJson(row));
    const char* judged = verdict.fails         ? "fails"
                         : verdict.incomplete  ? "incomplete"
                         : verdict.family == 0 ? "none"
                                               : "passes";
    return "{\"verdict\": " + JsonString(judged) + ", \"line\": " +
           JsonString(VerdictLine(verdict, rows, thresholds, alpha, PlainMarkup())) +
           ", \"rows\": " + std::to_string(verdict.rows) +
           ", \"sequences\": " + std::to_string(verdict.sequences) +
           ", \"family\": " + std::to_string(verdict.family) + ", \"alpha\": " + NumberText(alpha) +
           ", \"ksmin\": " + NumberText(thresholds.ks_min) +
           ", \"admin\": " + NumberText(thresholds.ad_min) +
           ", \"slmax\": " + NumberText(thresholds.sl_max) + ",\n \"failing\": [" +
           Joined(failing, ",\n  ") + "],\n \"without_result\": [" + Joined(without, ",\n  ") +
           "]}\n";
}

} // namespace zentrope
