#include "runner/log_tail.h"

namespace zentrope {
namespace {

// Bounds the work of one look at a log that grew fast: only its last lines matter.
constexpr qint64 MaxReadBytes = 256 * 1024;
// A line longer than this is cut, so that a log without line ends cannot fill the memory.
constexpr qsizetype MaxLineBytes = 4096;

QString LineText(QByteArray bytes) {
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    return QString::fromLocal8Bit(bytes);
}

} // namespace

LogTail::LogTail(QString path, int keptLines) : file_(std::move(path)), keptLines_(keptLines) {}

bool LogTail::OpenIfPresent() {
    return file_.isOpen() || file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

QByteArray LogTail::ReadAdded() {
    const qint64 size = file_.size();
    if (size < offset_) {
        offset_ = 0;
        unfinished_.clear();
        skipToNewline_ = false;
    }
    if (size - offset_ > MaxReadBytes) {
        offset_ = size - MaxReadBytes;
        unfinished_.clear();
        skipToNewline_ = true;
    }
    if (size == offset_ || !file_.seek(offset_))
        return {};
    QByteArray added = file_.read(size - offset_);
    offset_ += added.size();
    if (skipToNewline_) {
        const qsizetype end = added.indexOf('\n');
        skipToNewline_ = end < 0;
        added = end < 0 ? QByteArray() : added.mid(end + 1);
    }
    return added;
}

QStringList LogTail::ReadNew(LogWriter writer) {
    QStringList lines;
    if (!OpenIfPresent())
        return lines;
    unfinished_ += ReadAdded();
    qsizetype start = 0;
    for (qsizetype end; (end = unfinished_.indexOf('\n', start)) >= 0; start = end + 1)
        lines << LineText(unfinished_.mid(start, std::min(end - start, MaxLineBytes)));
    unfinished_.remove(0, start);
    if (unfinished_.size() > MaxLineBytes ||
        (writer == LogWriter::Ended && !unfinished_.isEmpty())) {
        lines << LineText(unfinished_.left(MaxLineBytes));
        unfinished_.clear();
        skipToNewline_ = writer == LogWriter::Running;
    }
    Keep(lines);
    return lines;
}

void LogTail::Keep(const QStringList& lines) {
    for (const QString& line : lines) {
        if (const std::optional<TesterProgress> progress = ParseProgressLine(line))
            progress_ = progress;
    }
    lastLines_ << lines;
    if (lastLines_.size() > keptLines_)
        lastLines_.remove(0, lastLines_.size() - keptLines_);
}

} // namespace zentrope
