// Result files of several runs read and compared side by side, with the differences of their
// parameter files: the whole work of a comparison, meant for a thread other than the window's.
#pragma once

#include "results/compare/comparison_table.h"
#include "results/grid/result_loader.h"
#include "results/verdict/row_flags.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace zentrope {

struct ComparedFile {
    std::string label;
    std::string result_path;    // the file system's bytes
    std::string parameter_path; // empty when the run has no parameter file
};

struct FilesComparison {
    ComparisonTable table;           // empty unless two or more result files were read
    std::string parameters;          // the parameter differences of the files read
    std::vector<std::string> unread; // labels of the result files that could not be read
};

// Reads the files in order, telling `progress` how many have been read so far, then compares
// those it could read.
FilesComparison CompareResultFiles(std::span<const ComparedFile> files,
                                   const ResultLoadOptions& options,
                                   const FlagThresholds& thresholds,
                                   const std::function<void(size_t read)>& progress = {});

} // namespace zentrope
