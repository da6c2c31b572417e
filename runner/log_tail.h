// Following the log that a running tester writes: its newest lines and its latest progress.
#pragma once

#include "runner/progress_line.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <optional>

namespace zentrope {

enum class LogWriter { Running, Ended };

class LogTail {
public:
    static constexpr int DefaultKeptLines = 200;

    explicit LogTail(QString path, int keptLines = DefaultKeptLines);

    // The complete lines added since the last call, oldest first. Once the writer has ended,
    // an unfinished last line counts as complete. A log too long to read at one look is read
    // from near its end only; a log that shrank is read again from its start.
    QStringList ReadNew(LogWriter writer = LogWriter::Running);

    // The newest lines read so far, oldest first, at most keptLines of them.
    const QStringList& LastLines() const { return lastLines_; }
    // The figures of the newest progress line read so far.
    std::optional<TesterProgress> Progress() const { return progress_; }

private:
    bool OpenIfPresent();
    QByteArray ReadAdded();
    void Keep(const QStringList& lines);

    QFile file_;
    int keptLines_;
    qint64 offset_ = 0;
    bool skipToNewline_ = false;
    QByteArray unfinished_;
    QStringList lastLines_;
    std::optional<TesterProgress> progress_;
};

} // namespace zentrope
