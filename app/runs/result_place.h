// Where a tester started by the window writes its result.
#pragma once

#include <QString>
#include <string>

// A bare output name lies in the tester's folder, where the tester was started. Bytes: the
// output name is the one the parameter file holds.
std::string ResolveResultPath(const std::string& outFile, const QString& executable);

// The result path of a run from its kept parameter file, the tester's default name standing
// for an empty one.
QString KeptResultPath(const QString& parameterFile, const QString& executable);
