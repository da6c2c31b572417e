// The input files of a run: those that the parameter file's InFile matches where the tester
// looks for them.
#pragma once

#include <QString>
#include <QStringList>

namespace zentrope {

// `inFile` may hold wildcards in its name part; a relative one is taken from `testerFolder`,
// the tester's working folder. Absolute paths, sorted.
QStringList MatchInputFiles(const QString& inFile, const QString& testerFolder);

} // namespace zentrope
