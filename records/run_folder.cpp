#include "records/run_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <filesystem>

namespace zentrope {
namespace {

constexpr qint64 CopyChunkBytes = 1 << 20;
constexpr int MaxNameTries = 1000;
constexpr const char* CreationLockName = ".making.lock";
constexpr qint64 UnownedLockGraceSeconds = 60;

std::shared_ptr<QLockFile> CreationLock(const QString& folder) {
    auto lock = std::make_shared<QLockFile>(QDir(folder).filePath(CreationLockName));
    // Held only while this program lives: a lock of a program that has gone is stale at once.
    lock->setStaleLockTime(0);
    return lock;
}

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
        return {QString(),
                QStringLiteral("The folder \"%1\" could not be made.")
                    .arg(QDir::toNativeSeparators(runs)),
                nullptr};
    const QString stem = startedAt.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QDir folder(runs);
    // mkdir fails on a name that exists, so two writers never share a folder.
    for (int attempt = 1; attempt <= MaxNameTries; ++attempt) {
        const QString name = attempt == 1 ? stem : stem + '-' + QString::number(attempt);
        if (folder.mkdir(name)) {
            const QString path = folder.absoluteFilePath(name);
            std::shared_ptr<QLockFile> lock = CreationLock(path);
            lock->tryLock(0);
            return {path, QString(), std::move(lock)};
        }
    }
    return {QString(),
            QStringLiteral("No new folder could be made in \"%1\".")
                .arg(QDir::toNativeSeparators(runs)),
            nullptr};
}

QString MakeUnrecordedLog(const QString& root, const QDateTime& startedAt) {
    const QString stem = startedAt.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    for (const QString& place : {QDir(root).absoluteFilePath(QStringLiteral("unrecorded logs")),
                                 QDir::temp().absoluteFilePath(QStringLiteral("zentrope logs"))}) {
        if (!QDir().mkpath(place))
            continue;
        for (int attempt = 1; attempt <= MaxNameTries; ++attempt) {
            QFile log(QDir(place).filePath(
                (attempt == 1 ? stem : stem + '-' + QString::number(attempt)) + ".log"));
            if (log.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                return log.fileName();
            if (!log.exists())
                break; // the folder takes no new file
        }
    }
    return QString();
}

bool FolderBeingMade(const QString& folder) {
    const QFileInfo lockFile(QDir(folder).filePath(CreationLockName));
    if (!lockFile.exists())
        return false;
    // A maker killed in the instant between creating its lock and writing its name into it
    // leaves a lock that names no owner and never turns stale by itself.
    if (lockFile.size() == 0 &&
        lockFile.lastModified().secsTo(QDateTime::currentDateTime()) > UnownedLockGraceSeconds)
        return false;
    const std::shared_ptr<QLockFile> lock = CreationLock(folder);
    return !lock->tryLock(0);
}

QString CopyWholeFile(const QString& source, const QString& target, const CopyStop& stop) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return CopyFailure(source, in.errorString());
    QSaveFile out(target);
    // Unbuffered, so that a failed write reports the system's reason at once.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return CopyFailure(source, out.errorString());
    while (!in.atEnd()) {
        if (stop && stop())
            return CopyFailure(source, QStringLiteral("stopped"));
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

QString KeepFileAt(const QString& source, const QString& target, const CopyStop& stop) {
    std::error_code ec;
    if (QFileInfo(source).size() >= LinkFromBytes) {
        std::filesystem::create_hard_link(QFile::encodeName(source).toStdString(),
                                          QFile::encodeName(target).toStdString(), ec);
        if (!ec)
            return QString();
    }
    return CopyWholeFile(source, target, stop);
}

} // namespace zentrope
