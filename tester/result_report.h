// The result file: a report header, one section per sequence and a closing summary per
// result line. The front end's loader reads the sections; everything else must not look like
// one to it (no line outside a section may start with "Sequen").
#pragma once

#include "model/parameter_set.h"

#include <optional>
#include <string>
#include <vector>

namespace zentrope {

struct RunResults {
    std::vector<std::string> header;          // report lines before the first section
    std::vector<std::string> lineNames;       // one per result line, in execution order
    std::vector<std::vector<double>> pValues; // [sequence][line]; -1 where no result
};

// Goodness of fit of one result line's valid p-values; figures need 3 values or more.
struct LineSummary {
    std::string name;
    size_t count = 0;
    std::optional<double> ks;
    std::optional<double> ad;
    std::optional<double> sl;
};

std::vector<LineSummary> SummarizeLines(const RunResults& results);

// Orders the summaries as sortKS, sortAD and sortSL ask (the first set wins): KS or AD
// ascending, SL descending, lines without figures last; none set keeps execution order.
void SortSummaries(std::vector<LineSummary>& rows, const ParameterSet& set);

// "p-value[TAB]name" or, with TestName_pv, "name[TAB]p-value".
std::string FormatResultLine(const std::string& name, double p, const ParameterSet& set);

// The pieces of the file, in the order it holds them: the header, one section per sequence
// (k from 0), the summary.
std::string FormatReportHeader(const std::vector<std::string>& header);
std::string FormatSection(size_t k, const std::vector<std::string>& lineNames,
                          const std::vector<double>& pValues, const ParameterSet& set);
std::string FormatSummary(const RunResults& results, const ParameterSet& set);
// What follows the last section: the "No result" lines of single sequences (each ending in a
// line feed; a merge of shares gathers them from every share), an empty line after them when
// there are any, and the summary.
std::string FormatRunEnd(const std::string& sequenceReasons, const RunResults& results,
                         const ParameterSet& set);

std::string FormatResultFile(const RunResults& results, const ParameterSet& set);

} // namespace zentrope
