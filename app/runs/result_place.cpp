#include "app/runs/result_place.h"

#include "app/pages/general_page.h"
#include "app/run_watch/run_keeping.h"
#include "platform/path_parts.h"

using namespace zentrope;

std::string ResolveResultPath(const std::string& outFile, const QString& executable) {
    return DirectoryPart(outFile).empty() ? DirectoryPart(executable.toStdString()) + outFile
                                          : outFile;
}

QString KeptResultPath(const QString& parameterFile, const QString& executable) {
    const std::string outFile = ReadKeptParameters(parameterFile).OutFile.value_or(std::string());
    return QString::fromLocal8Bit(
        ResolveResultPath(outFile.empty() ? DefaultOutFileName : outFile, executable));
}
