// Starting the tester: its command line, its folder, the failures, and waiting for its end.
#include "fake_tester_folder.h"
#include "fake_tester_protocol.h"
#include "tester_process.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
    void argumentArrivesAsOneEntryInTheTestersFolder_data();
    void argumentArrivesAsOneEntryInTheTestersFolder();
    void emptyFolderMeansTheCurrentOne();
    void bareNameIsTakenFromTheCurrentFolderNeverFromPath();
    void failedStartGivesTheSystemsText_data();
    void failedStartGivesTheSystemsText();
    void waitingKeepsTheEventLoopRunning();
    void testerOutlivesItsHandleAndItsStarter();
};

void TesterProcessTest::argumentArrivesAsOneEntryInTheTestersFolder_data() {
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<QString>("argument");
    QTest::newRow("plain") << ""
                           << "para.txt";
    QTest::newRow("spaces") << "my tester"
                            << "/some folder/my para file";
    QTest::newRow("quotes") << "say \"hi\" 'there'"
                            << "\"quoted\" and 'single' \\ end\"";
    QTest::newRow("shell characters") << "a $b; c"
                                      << "$HOME * `x` | y";
}

void TesterProcessTest::argumentArrivesAsOneEntryInTheTestersFolder() {
    QFETCH(QString, subfolder);
    QFETCH(QString, argument);
    FakeTesterFolder tester(subfolder);
    QVERIFY(tester.isValid());
    tester.setControl("silent");

    TesterStart start = StartTester(tester.executable(), argument, tester.folder());
    QVERIFY2(start.process, qPrintable(start.error));
    const FakeTesterRecord record = tester.waitForRecord();
    QVERIFY(record.found);
    QCOMPARE(record.arguments, QStringList{argument});
    QCOMPARE(record.workingFolder, Canonical(tester.folder()));
    start.process->waitForEnd();
}

void TesterProcessTest::emptyFolderMeansTheCurrentOne() {
    FakeTesterFolder tester;
    tester.setControl("silent");
    TesterStart start = StartTester(tester.executable(), "p", QString());
    QVERIFY2(start.process, qPrintable(start.error));
    QCOMPARE(tester.waitForRecord().workingFolder, Canonical(QDir::currentPath()));
    start.process->waitForEnd();
}

void TesterProcessTest::bareNameIsTakenFromTheCurrentFolderNeverFromPath() {
    FakeTesterFolder tester;
    tester.setControl("silent");
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tester.folder()));
    TesterStart bare = StartTester("fake_tester", "p", QString());
    TesterStart onPathOnly = StartTester("sh", "-c true", QString());
    QDir::setCurrent(previous);

    QVERIFY2(bare.process, qPrintable(bare.error));
    QCOMPARE(tester.waitForRecord().workingFolder, Canonical(tester.folder()));
    bare.process->waitForEnd();
    QVERIFY(!onPathOnly.process);
    QCOMPARE(onPathOnly.error, SystemText(ENOENT));
}

void TesterProcessTest::failedStartGivesTheSystemsText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<int>("error");
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
    const QString path = MakeFile(folder.path(), "not a program", bytes, permissions);

    TesterStart start = StartTester(path, "p", folder.path());
    QVERIFY(!start.process);
    QCOMPARE(start.error, SystemText(error));
    TesterStart missing = StartTester(folder.filePath("missing"), "p", folder.path());
    QVERIFY(!missing.process);
    QCOMPARE(missing.error, SystemText(ENOENT));
}

void TesterProcessTest::waitingKeepsTheEventLoopRunning() {
    FakeTesterFolder tester;
    tester.setControl("sleep 600\nexit 3");
    TesterStart start = StartTester(tester.executable(), "p", tester.folder());
    QVERIFY2(start.process, qPrintable(start.error));
    QSignalSpy ended(start.process.get(), &TesterProcess::ended);
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(50);

    start.process->waitForEnd();
    QVERIFY(start.process->hasEnded());
    QCOMPARE(ended.count(), 1);
    QVERIFY2(ticks >= 5, qPrintable(QString("only %1 ticks").arg(ticks)));
    QVERIFY(QFile::exists(tester.filePath(fake_tester::DefaultOutput)));
    start.process->waitForEnd(); // returns at once once ended
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
