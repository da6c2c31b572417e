// One share's result file, read strictly: the report header with the share's identity, its
// sections as the tester wrote them, the lines after them and the closing summary. Anything
// missing or out of order is a problem that names the file.
#pragma once

#include "results/shares/share_identity.h"

#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

struct ShareFile {
    std::string path;
    std::string text;
    ShareIdentity identity;
    std::vector<std::string> header; // report lines before the first section, no line feeds
    size_t sectionsBegin = 0;        // the sections' bytes in text, headings to closing empty lines
    size_t sectionsEnd = 0;
    std::vector<std::string> lineNames;       // of the first section
    std::vector<std::vector<double>> pValues; // [section][line] as written; -1 for no result
    // The non-empty lines between the last section and the summary.
    std::vector<std::string> sequenceNotes;
};

// The file's parts; an empty problem when it is a complete share's result.
struct ShareReading {
    ShareFile share;
    std::string problem;
};

ShareReading ReadShareFile(const std::string& path);

// Splits text already in memory (as read from `path`, which the problems name).
ShareReading ParseShareText(const std::string& path, std::string text);

} // namespace zentrope
