// The [Enable] section: one "digit key" line per test, in execution order.
#include "paramfile/reader_sections.h"

namespace zentrope {
namespace {

// Lines after the 21st entry have no slot; they are reported once and ignored.
void ReportExtraEntry(const ReaderState& state, const std::string& line) {
    Report(state, "\n\t!! ERROR !!\nMore than " + std::to_string(TestCount) +
                      " tests in the 'Enable' section, ignored from line: " + line + "\n\n");
}

} // namespace

SectionEnd ReadEnableSection(ReaderState& state, std::string& current) {
    ParameterSet& set = state.set;
    set.ExecutionOrder.fill(-1);
    int entries = 0;
    std::string line;
    for (;;) {
        LineRead read = state.lines.Next(line);
        if (read != LineRead::Line) {
            if (read == LineRead::End)
                return SectionEnd::FileEnd;
            ReportNoLine(state, read, "Enable");
            return SectionEnd::Fatal;
        }
        if (line.starts_with('[')) {
            state.sectionHeaderText = line;
            CutAtHash(state.sectionHeaderText);
            LowerCaseAscii(line);
            current = line;
            return SectionEnd::NextLine;
        }
        CutAtHash(line);
        if (line.empty() || (line[0] != '0' && line[0] != '1'))
            continue;
        LowerCaseAscii(line);
        std::optional<TestId> id =
            FindByKeyPrefix(std::string_view(line).substr(std::min<size_t>(2, line.size())));
        if (!id) {
            Report(state, "\n\t!! ERROR !!\nTest not found in line: " + line + "\n\n");
            return SectionEnd::Fatal;
        }
        if (entries >= TestCount) {
            if (entries++ == TestCount)
                ReportExtraEntry(state, line);
            continue;
        }
        set.Enable[static_cast<size_t>(*id - 1)] = line[0] - '0';
        set.ExecutionOrder[static_cast<size_t>(entries++)] = static_cast<int8_t>(*id - 1);
    }
}

} // namespace zentrope
