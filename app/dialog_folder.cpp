#include "dialog_folder.h"

#include "path_parts.h"

#include <QDir>

QString DialogFolder(const QString& path) {
    return QDir::current().absoluteFilePath(
        QString::fromStdString(zentrope::DirectoryPart(path.toStdString())));
}
