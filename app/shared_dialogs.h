// How the commands use the shared dialogs OD and SD, and the box they share.
#pragma once

#include <QString>
#include <optional>

class DialogSeam;
class QFileDialog;

// The path's folder part, resolved against the current folder (the current folder itself
// when the path has no folder part).
QString DialogFolder(const QString& path);

// Runs the dialog through the seam; a confirmed choice stays in the dialog as its folder
// and file name, so the next use opens where this one ended.
std::optional<QString> ChooseFile(DialogSeam& dialogs, QFileDialog* dialog);

// The text of the box for a parameter file that is not there.
QString ParameterFileNotFoundText(const QString& path);

// Why a parameter file cannot be written under `path` when its folder is missing, with the way
// out; empty when the folder exists.
QString ParameterFolderMissingText(const QString& path);
