// Turns the values read from the window into the tester's parameter file.
#pragma once

#include "paramfile/parameter_file_record.h"

#include <string>
#include <string_view>

namespace zentrope {

// The name used when the parameter file edit is empty: a bare name, so the current folder.
inline constexpr std::string_view DefaultParameterFileName = "Zentrope_GUI_para";
inline constexpr std::string_view ParameterFileNotSaved = "Parameter file not saved.";

struct FormattedParameterFile {
    std::string text;         // the whole file; empty when an integer field did not convert
    std::string error;        // "'<text>' is not a valid integer value", empty on success
    std::string errorControl; // the control whose text that is
    bool Ok() const { return error.empty(); }
};

// The file's exact text, or the conversion error of the first integer field (in file
// order) whose text is not a whole decimal integer.
FormattedParameterFile FormatParameterFile(const ParameterFileRecord& record);

enum class SaveOutcome {
    Saved,
    InvalidInteger, // shown as an error box, the focus then on `field`; nothing was written
    SizeOutOfRange, // shown as a warning box, the focus then on `field`; nothing was written
    NotSaved,       // shown as the warning ParameterFileNotSaved; the target is untouched
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Saved;
    std::string message; // the text for the box; empty when saved
    std::string field;   // the record member (and control) at fault, if one is
};

// Writes the file completely under a temporary name in the target's folder and only then
// moves it over the target, so a failed save never leaves a truncated parameter file (a
// folder that takes no new file gets the target rewritten in place instead, with a recovery
// copy in `recoveryFolder`; without one it is not saved there).
SaveResult WriteParameterFile(const ParameterFileRecord& record, const std::string& path,
                              const std::string& recoveryFolder = {});

} // namespace zentrope
