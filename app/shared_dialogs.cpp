#include "app/shared_dialogs.h"

#include "app/dialog_seam.h"
#include "platform/path_parts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

QString DialogFolder(const QString& path) {
    return QDir::current().absoluteFilePath(
        QString::fromStdString(zentrope::DirectoryPart(path.toStdString())));
}

QString ParameterFileNotFoundText(const QString& path) {
    return QStringLiteral("Parameter file\n\"") + path + QStringLiteral("\"\nnot found.");
}

std::optional<QString> ChooseFile(DialogSeam& dialogs, QFileDialog* dialog) {
    std::optional<QString> chosen = dialogs.RunFileDialog(*dialog);
    if (chosen) {
        const QFileInfo file(*chosen);
        dialog->setDirectory(file.absolutePath());
        dialog->selectFile(file.fileName());
    }
    return chosen;
}
