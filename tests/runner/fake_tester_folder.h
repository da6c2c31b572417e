// A private copy of the tester's test double, in a temporary folder of its own, so that tests
// running at the same time never share its control, record or result files.
#pragma once

#include <QStringList>
#include <QTemporaryDir>

namespace zentrope::testing {

struct FakeTesterRecord {
    bool found = false;
    qint64 pid = 0;
    qint64 sid = 0;
    QString workingFolder;
    QStringList arguments;
};

class FakeTesterFolder {
public:
    // `subfolder` (it may hold spaces and quotes) and `name` shape the copy's path.
    explicit FakeTesterFolder(const QString& subfolder = QString(),
                              const QString& name = "fake_tester");

    bool IsValid() const { return !executable_.isEmpty(); }
    QString Folder() const { return folder_; }
    QString Executable() const { return executable_; }
    QString FilePath(const QString& name) const { return folder_ + '/' + name; }

    // Lines of the control file, e.g. "sleep 500\nsilent\nexit 3".
    void SetControl(const QString& lines) const;
    // Polls until the double has recorded its start, or the time is up.
    FakeTesterRecord WaitForRecord(int timeoutMs = 10000) const;

private:
    QTemporaryDir root_;
    QString folder_;
    QString executable_;
};

// Polls until `path` exists, or the time is up.
bool WaitForFile(const QString& path, int timeoutMs = 10000);

} // namespace zentrope::testing
