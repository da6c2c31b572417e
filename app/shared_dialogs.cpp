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

QString ParameterFolderMissingText(const QString& path) {
    const QString folder = DialogFolder(path);
    if (QFileInfo(folder).isDir())
        return QString();
    return QStringLiteral("The folder \"%1\" does not exist. Create it, or choose another "
                          "\"Parameter file name\" on page \"General\".")
        .arg(QDir::toNativeSeparators(folder));
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
