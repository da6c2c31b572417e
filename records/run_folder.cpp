#include "records/run_folder.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace zentrope {
namespace {

constexpr qint64 CopyChunkBytes = 1 << 20;
constexpr int MaxNameTries = 1000;

QString CopyFailure(const QString& source, const QString& reason) {
    return QStringLiteral("The file \"%1\" could not be copied into the run's folder: %2")
        .arg(QDir::toNativeSeparators(source), reason);
}

// A write may take only part of the bytes, the disk being full; the next one then tells why.
bool WriteWhole(QSaveFile& out, const QByteArray& bytes) {
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = out.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

QString RunsFolderOf(const QString& root) {
    return QDir(root).absoluteFilePath(QStringLiteral("runs"));
}

RunFolder MakeRunFolder(const QString& root, const QDateTime& startedAt) {
    const QString runs = RunsFolderOf(root);
    if (!QDir().mkpath(runs))
        return {QString(), QStringLiteral("The folder \"%1\" could not be made.")
                               .arg(QDir::toNativeSeparators(runs))};
    const QString stem = startedAt.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QDir folder(runs);
    // mkdir fails on a name that exists, so two writers never share a folder.
    for (int attempt = 1; attempt <= MaxNameTries; ++attempt) {
        const QString name = attempt == 1 ? stem : stem + '-' + QString::number(attempt);
        if (folder.mkdir(name))
            return {folder.absoluteFilePath(name), QString()};
    }
    return {QString(), QStringLiteral("No new folder could be made in \"%1\".")
                           .arg(QDir::toNativeSeparators(runs))};
}

QString CopyWholeFile(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return CopyFailure(source, in.errorString());
    QSaveFile out(target);
    // Unbuffered, so that a failed write reports the system's reason at once.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return CopyFailure(source, out.errorString());
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(CopyChunkBytes);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return CopyFailure(source, in.errorString());
        if (!WriteWhole(out, chunk))
            return CopyFailure(source, out.errorString());
    }
    if (!out.commit())
        return CopyFailure(source, out.errorString());
    return QString();
}

} // namespace zentrope
