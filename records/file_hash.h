// SHA-256 of files that may be large: meant to run off the window's thread, reporting its
// progress and stopping when asked.
#pragma once

#include "records/run_record.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace zentrope {

// Told the bytes hashed so far and the bytes to hash in all; returns false to stop.
// Called from the hashing thread.
using HashProgress = std::function<bool(qint64 done, qint64 total)>;

struct FileHash {
    QString sha256; // lower-case hex; empty when stopped or failed
    qint64 size = 0;
    QString error; // why the file could not be read
    bool stopped = false;
};

FileHash HashFile(const QString& path, const HashProgress& progress = {});

struct InputsHash {
    QList<InputFileFacts> files; // every file, in the given order; complete unless stopped
    bool stopped = false;
};

// Size, modification time and hash of each file, with one progress over all of them. A file
// that cannot be read keeps an empty hash: the record tells so rather than failing.
InputsHash DescribeInputFiles(const QStringList& paths, const HashProgress& progress = {});

} // namespace zentrope
