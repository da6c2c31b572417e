#include "records/input_files.h"

#include "platform/file_matching.h"

#include <QDir>
#include <QFileInfo>

namespace zentrope {

QStringList MatchInputFiles(const QString& inFile, const QString& testerFolder) {
    if (inFile.isEmpty())
        return {};
    const QString pattern =
        QDir::isRelativePath(inFile) ? QDir(testerFolder).absoluteFilePath(inFile) : inFile;
    QStringList paths;
    for (const std::string& path : ListMatchingFiles(QFile::encodeName(pattern).toStdString()))
        paths << QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).absoluteFilePath();
    paths.sort();
    return paths;
}

} // namespace zentrope
