// Starting the tester: which file is started, the failures, and a tester that runs on alone.
// What it receives and how the window waits for it are tested through the run buttons.
#include "fake_tester_folder.h"
#include "fake_tester_protocol.h"
#include "tester_process.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

QString Canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Makes `name` in `folder` with the given bytes and permissions.
QString MakeFile(const QString& folder, const QString& name, const QByteArray& bytes,
                 QFile::Permissions permissions) {
    const QString path = folder + '/' + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    file.close();
    file.setPermissions(permissions);
    return path;
}

} // namespace

class TesterProcessTest : public QObject {
    Q_OBJECT
private slots:
    void relativePathsAreTakenFromTheCurrentFolderNeverFromPath();
    void failedStartGivesTheSystemsText_data();
    void failedStartGivesTheSystemsText();
    void testerOutlivesItsHandleAndItsStarter();
};

void TesterProcessTest::relativePathsAreTakenFromTheCurrentFolderNeverFromPath() {
    FakeTesterFolder tester("tester folder");
    tester.setControl("silent");
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tester.folder()));
    TesterStart bare = StartTester("fake_tester", "p", QString());
    TesterStart onPathOnly = StartTester("sh", "-c true", QString());
    QVERIFY(QDir::setCurrent(tester.folder() + "/.."));
    // Resolved before the child moves into its folder.
    TesterStart withFolder = StartTester("tester folder/fake_tester", "p", "tester folder/");
    QDir::setCurrent(previous);

    QVERIFY(!onPathOnly.process);
    QCOMPARE(onPathOnly.error, SystemText(ENOENT));
    for (TesterStart* start : {&bare, &withFolder}) {
        QVERIFY2(start->process, qPrintable(start->error));
        start->process->waitForEnd();
    }
    QCOMPARE(tester.waitForRecord().workingFolder, Canonical(tester.folder()));
}

void TesterProcessTest::failedStartGivesTheSystemsText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << QByteArray() << false << ENOENT;
    QTest::newRow("text without execute permission") << QByteArray("n 1 Mb\n") << false << EACCES;
    QTest::newRow("executable that is no program")
        << QByteArray("\x01\x02garbage") << true << ENOEXEC;
}

void TesterProcessTest::failedStartGivesTheSystemsText() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, executable);
    QFETCH(int, error);
    QTemporaryDir folder;
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    const QString path = bytes.isEmpty()
                             ? folder.filePath("missing")
                             : MakeFile(folder.path(), "not a program", bytes, permissions);

    TesterStart start = StartTester(path, "p", folder.path());
    QVERIFY(!start.process);
    QCOMPARE(start.error, SystemText(error));
}

void TesterProcessTest::testerOutlivesItsHandleAndItsStarter() {
    FakeTesterFolder tester;
    tester.setControl("sleep 1500");
    const QString result = tester.filePath(fake_tester::DefaultOutput);
    QProcess starter;
    starter.start(LAUNCH_PROBE_PATH, {tester.executable(), "p", tester.folder()});
    QVERIFY(starter.waitForFinished(10000));
    QCOMPARE(starter.exitCode(), 0);

    const FakeTesterRecord record = tester.waitForRecord();
    QCOMPARE(record.pid, starter.readAllStandardOutput().trimmed().toLongLong());
    QCOMPARE(record.sid, record.pid); // its own session: a closing terminal does not end it
    QVERIFY(!QFile::exists(result));
    QVERIFY(WaitForFile(result));
}

QTEST_GUILESS_MAIN(TesterProcessTest)
#include "tester_process_test.moc"
