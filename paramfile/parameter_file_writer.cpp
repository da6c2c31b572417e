#include "paramfile/parameter_file_writer.h"

#include "model/c_text.h"
#include "model/parameter_fields.h"
#include "paramfile/file_replacement.h"
#include "paramfile/record_checks.h"

namespace zentrope {
namespace {

// The text being built and the first integer field that failed to convert, with its control.
struct Output {
    std::string text;
    std::string error;
    std::string errorControl;
};

std::string Int(Output& out, std::string_view text, std::string_view control) {
    std::optional<int32_t> value = ParseStrictInteger(text);
    if (value)
        return std::to_string(*value);
    if (out.error.empty()) {
        out.error = "'" + std::string(text) + "' is not a valid integer value";
        out.errorControl = control;
    }
    return "0";
}

// The field's values as they stand on its line; integers are converted in file order, so the
// first failing one is the one reported.
std::string Values(const ParameterField& field, const ParameterFileRecord& r, Output& out) {
    const auto value = [&](int i) { return r.Value(field.controls[static_cast<size_t>(i)]); };
    switch (field.kind) {
    case FieldKind::Size:
        return SizeText(value(0), value(1));
    case FieldKind::Number:
        return std::string(value(0));
    case FieldKind::Text:
    case FieldKind::KeptText:
        return "\"" + std::string(value(0)) + "\"";
    default:
        break;
    }
    std::string values;
    for (int i = 0; i < SavedControlCount(field.kind); ++i)
        values += (i == 0 ? "" : "\t") + Int(out, value(i), field.controls[static_cast<size_t>(i)]);
    return values;
}

// One line: the fields that share a row stand tab-separated, the last one ends the line.
void WriteRow(const FieldRow& row, const ParameterFileRecord& r, Output& out) {
    const ParameterField& first = *row.front();
    std::string line = std::string(first.lead);
    if (!first.key.empty())
        line += std::string(first.key) + " ";
    for (const ParameterField* field : row)
        line += (field == row.front() ? "" : "\t") + Values(*field, r, out);
    out.text += line + std::string(row.back()->tail) + "\n";
}

void WriteEnable(const ParameterFileRecord& r, Output& out) {
    out.text += "\n# Test enabling and execution order, DON'T CHANGE THE TEST NAMES\n\n";
    out.text += "[Enable] # 1= test enabled, 0= test disabled\n";
    for (TestId id : r.LBorder)
        out.text += "1 " + std::string(TestKey(id)) + "\n";
    out.text += "\n# TEST PARAMETERS (DON'T CHANGE THE TEST NAMES, change only the numbers)\n";
}

// General first, the Enable section after it, then each test's section under its header.
void WriteFields(const ParameterFileRecord& r, Output& out) {
    out.text += "# Created with Zentrope GUI v050711\n\n[General]\n";
    TestId section = GeneralSection;
    for (const FieldRow& row : FileRows()) {
        if (row.front()->section != section) {
            if (section == GeneralSection)
                WriteEnable(r, out);
            section = row.front()->section;
            out.text += "\n" + std::string(SectionHeader(section)) + "\n";
        }
        WriteRow(row, r, out);
    }
    if (section == GeneralSection)
        WriteEnable(r, out);
}

} // namespace

FormattedParameterFile FormatParameterFile(const ParameterFileRecord& record) {
    Output out;
    WriteFields(record, out);
    if (!out.error.empty())
        return {{}, out.error, out.errorControl};
    return {out.text, {}, {}};
}

SaveResult WriteParameterFile(const ParameterFileRecord& record, const std::string& path,
                              const std::string& recoveryFolder) {
    FormattedParameterFile file = FormatParameterFile(record);
    if (!file.Ok())
        return {SaveOutcome::InvalidInteger, file.error, file.errorControl};
    if (std::optional<SizeOutOfRange> size = FirstSizeOutOfRange(record))
        return {SaveOutcome::SizeOutOfRange, size->message, std::string(size->field)};
    if (!ReplaceFileContents(path, file.text, recoveryFolder))
        return {SaveOutcome::NotSaved, std::string(ParameterFileNotSaved), {}};
    return {};
}

} // namespace zentrope
