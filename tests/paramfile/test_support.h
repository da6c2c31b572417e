// Shared by the parameter file and stand-in tester tests: the built-in defaults, the record a
// fresh window saves, scratch folders, file bytes and a reader run that collects its messages.
#pragma once

#include "model/parameter_set.h"
#include "paramfile/parameter_file_reader.h"
#include "paramfile/parameter_file_record.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zentrope::testing {

ParameterSet DefaultSet();

// The controls after the built-in defaults are applied to a freshly built window.
ParameterFileRecord DefaultRecord();

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// A fresh empty folder under the system's temporary folder, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& Path() const { return path_; }
    // The path of a file in the folder, as the readers and the tester take it.
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Writes the file and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

using Messages = std::vector<std::string>;

// Opens the detail text of every reader error.
inline const std::string ErrorMark = "\n\t!! ERROR !!\n";

struct ReadOutcome {
    int result = -1;
    Messages messages; // the detail texts, without the common introduction
};

// Reads text as a parameter file into set.
ReadOutcome ReadText(const std::string& text, ParameterSet& set);

} // namespace zentrope::testing

namespace zentrope::testing {

// Every field as "name=value" lines, so two sets compare with a readable difference.
std::string Dump(const ParameterSet& set);

} // namespace zentrope::testing
