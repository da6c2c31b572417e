#include "records/file_hash.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace zentrope {
namespace {

constexpr qint64 HashChunkBytes = 256 * 1024;

// Hashes `file` from where it stands; `before` bytes of other files came first.
FileHash HashOpenFile(QFile& file, qint64 before, qint64 total, const HashProgress& progress) {
    FileHash result;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray chunk(HashChunkBytes, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0) {
            result.error = file.errorString();
            return result;
        }
        if (got == 0)
            break;
        hash.addData(QByteArrayView(chunk.constData(), got));
        result.size += got;
        if (progress && !progress(before + result.size, std::max(total, before + result.size))) {
            result.stopped = true;
            return result;
        }
    }
    result.sha256 = QString::fromLatin1(hash.result().toHex());
    return result;
}

FileHash HashWithin(const QString& path, qint64 before, qint64 total,
                    const HashProgress& progress) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QString(), 0, file.errorString(), false};
    return HashOpenFile(file, before, total, progress);
}

} // namespace

FileHash HashFile(const QString& path, const HashProgress& progress) {
    return HashWithin(path, 0, QFileInfo(path).size(), progress);
}

InputsHash DescribeInputFiles(const QStringList& paths, const HashProgress& progress) {
    InputsHash result;
    qint64 total = 0;
    for (const QString& path : paths)
        total += QFileInfo(path).size();
    qint64 before = 0;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        const FileHash hash = HashWithin(path, before, total, progress);
        if (hash.stopped) {
            result.stopped = true;
            return result;
        }
        result.files << InputFileFacts{info.absoluteFilePath(), info.size(),
                                       info.lastModified().toUTC(), hash.sha256};
        before += info.size();
    }
    return result;
}

} // namespace zentrope
