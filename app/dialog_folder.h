// The folder a file dialog opens in for a path the user typed.
#pragma once

#include <QString>

// The path's folder part, resolved against the current folder (the current folder itself
// when the path has no folder part).
QString DialogFolder(const QString& path);
