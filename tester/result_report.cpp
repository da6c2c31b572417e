#include "tester/result_report.h"
#include "model/c_text.h"
#include "results/stats/goodness_of_fit.h"

#include <algorithm>
#include <string_view>

namespace zentrope {
namespace {

// The loader reads long lines in pieces, and a piece that began like a heading would open a
// section: report lines are cut well before that, each piece after the first indented.
constexpr size_t MaxReportPiece = 240;

void AppendReportLine(std::string& out, std::string_view line) {
    out += line.substr(0, MaxReportPiece);
    out += "\n";
    for (size_t at = MaxReportPiece; at < line.size(); at += MaxReportPiece) {
        out += "  ";
        out += line.substr(at, MaxReportPiece);
        out += "\n";
    }
}

std::string FormatPValue(double p, int32_t digits) {
    return p < 0 ? std::string("-1") : FormatFixed(p, digits);
}

std::string FormatFigure(const std::optional<double>& v, int32_t digits) {
    return v ? FormatFixed(*v, digits) : std::string("n/a");
}

// The thresholds that a line's figures break, as a trailing remark.
std::string Flags(const LineSummary& row, const ParameterSet& set) {
    std::string flags;
    if (set.KSmin > 0 && row.ks && *row.ks < set.KSmin)
        flags += " KS<" + FormatG(set.KSmin);
    if (set.ADmin > 0 && row.ad && *row.ad < set.ADmin)
        flags += " AD<" + FormatG(set.ADmin);
    if (set.SLmax < 100 && row.sl && *row.sl > set.SLmax)
        flags += " SL>" + FormatG(set.SLmax);
    return flags.empty() ? flags : "\t<-- bad:" + flags;
}

void AppendSummary(std::string& out, const RunResults& results, const ParameterSet& set) {
    std::vector<LineSummary> rows = SummarizeLines(results);
    SortSummaries(rows, set);
    out += "Summary over " + std::to_string(results.pValues.size()) +
           " sequences: KS and AD are p-values of the uniformity of each line's p-values, SL "
           "their deviation from an even spread in percent\n";
    out += "KS\tAD\tSL\tvalid\ttest\n";
    for (const LineSummary& row : rows) {
        out += FormatFigure(row.ks, set.pval_digits) + "\t" +
               FormatFigure(row.ad, set.pval_digits) + "\t" + FormatFigure(row.sl, 3) + "\t" +
               std::to_string(row.count) + "\t" + row.name + Flags(row, set) + "\n";
    }
}

} // namespace

std::vector<LineSummary> SummarizeLines(const RunResults& results) {
    std::vector<LineSummary> rows;
    for (size_t line = 0; line < results.lineNames.size(); ++line) {
        LineSummary row;
        row.name = results.lineNames[line];
        std::vector<double> values;
        for (const std::vector<double>& sequence : results.pValues)
            if (sequence[line] >= 0)
                values.push_back(sequence[line]);
        row.count = values.size();
        if (values.size() >= 3) {
            const auto n = static_cast<int32_t>(values.size());
            SortPValues(values.data(), n);
            row.ks = KsPValue(values.data(), n);
            row.ad = AdPValue(values.data(), n);
            row.sl = SlPercent(values.data(), n);
        }
        rows.push_back(row);
    }
    return rows;
}

void SortSummaries(std::vector<LineSummary>& rows, const ParameterSet& set) {
    std::optional<double> LineSummary::*figure = nullptr;
    if (set.sortKS)
        figure = &LineSummary::ks;
    else if (set.sortAD)
        figure = &LineSummary::ad;
    else if (set.sortSL)
        figure = &LineSummary::sl;
    if (!figure)
        return;
    const bool descending = figure == &LineSummary::sl;
    std::stable_sort(rows.begin(), rows.end(), [&](const LineSummary& a, const LineSummary& b) {
        const std::optional<double>& x = a.*figure;
        const std::optional<double>& y = b.*figure;
        if (!x || !y)
            return x.has_value() && !y.has_value();
        return descending ? *x > *y : *x < *y;
    });
}

std::string FormatResultLine(const std::string& name, double p, const ParameterSet& set) {
    const std::string value = FormatPValue(p, set.pval_digits);
    return set.TestName_pv ? name + "\t" + value : value + "\t" + name;
}

std::string FormatReportHeader(const std::vector<std::string>& header) {
    std::string out;
    for (const std::string& line : header)
        AppendReportLine(out, line);
    out += "\n";
    return out;
}

std::string FormatSection(size_t k, const std::vector<std::string>& lineNames,
                          const std::vector<double>& pValues, const ParameterSet& set) {
    std::string out = "Sequence #" + std::to_string(k + 1) + "\n";
    for (size_t line = 0; line < lineNames.size(); ++line)
        out += FormatResultLine(lineNames[line], pValues[line], set) + "\n";
    out += "\n";
    return out;
}

std::string FormatSummary(const RunResults& results, const ParameterSet& set) {
    std::string out;
    AppendSummary(out, results, set);
    return out;
}

std::string FormatRunEnd(const std::string& sequenceReasons, const RunResults& results,
                         const ParameterSet& set) {
    return (sequenceReasons.empty() ? "" : sequenceReasons + "\n") + FormatSummary(results, set);
}

std::string FormatResultFile(const RunResults& results, const ParameterSet& set) {
    std::string out = FormatReportHeader(results.header);
    for (size_t k = 0; k < results.pValues.size(); ++k)
        out += FormatSection(k, results.lineNames, results.pValues[k], set);
    return out + FormatSummary(results, set);
}

} // namespace zentrope
