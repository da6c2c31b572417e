// How far the hashing of each run's files has come, told from the pool threads that hash them
// to whoever shows it on the window's thread.
#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QString>

class HashingProgress : public QObject {
    Q_OBJECT
public:
    // Made on first use, which must be on the window's thread.
    static HashingProgress& Instance();

    // From any thread: `done` of `total` bytes of the run's files are hashed.
    void Report(qint64 run, qint64 done, qint64 total);
    // From any thread: the run's files are hashed, or the hashing stopped.
    void Finish(qint64 run);
    // "Hashing input files... 37%" while the run's files are hashed, else empty.
    QString TextOf(qint64 run) const;

signals:
    // Queued to receivers on the window's thread; only when the shown figure changes.
    void Changed(qint64 run);

private:
    mutable QMutex mutex_;
    QHash<qint64, int> percent_;
};
