#include "tests/runner/fake_tester_folder.h"

#include "tests/runner/fake_tester_protocol.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace zentrope::testing {
namespace {

constexpr int PollStepMs = 20;

void ReadRecordLine(const QString& line, FakeTesterRecord& record) {
    const QString key = line.section(' ', 0, 0);
    const QString value = line.section(' ', 1);
    if (key == "pid")
        record.pid = value.toLongLong();
    else if (key == "sid")
        record.sid = value.toLongLong();
    else if (key == "cwd")
        record.workingFolder = value;
    else if (key == "arg")
        record.arguments << value;
}

FakeTesterRecord ReadRecord(const QString& path) {
    FakeTesterRecord record;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return record;
    record.found = true;
    for (const QByteArray& line : file.readAll().split('\n'))
        ReadRecordLine(QString::fromLocal8Bit(line), record);
    return record;
}

} // namespace

FakeTesterFolder::FakeTesterFolder(const QString& subfolder, const QString& name) {
    folder_ = subfolder.isEmpty() ? root_.path() : root_.filePath(subfolder);
    const QString copy = folder_ + '/' + name;
    if (QDir().mkpath(folder_) && QFile::copy(FAKE_TESTER_PATH, copy))
        executable_ = copy;
}

void FakeTesterFolder::SetControl(const QString& lines) const {
    QFile file(FilePath(fake_tester::ControlFile));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(lines.toLocal8Bit());
}

FakeTesterRecord FakeTesterFolder::WaitForRecord(int timeoutMs) const {
    WaitForFile(FilePath(fake_tester::RecordFile), timeoutMs);
    return ReadRecord(FilePath(fake_tester::RecordFile));
}

bool WaitForFile(const QString& path, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!QFile::exists(path)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(PollStepMs);
    }
    return true;
}

} // namespace zentrope::testing
