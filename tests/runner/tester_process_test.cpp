// Starting the tester: which file is started, the failures, a tester that runs on alone, its
// log, how it ended and cancelling it. What it receives and how the window waits for it are
// tested through the run buttons.
#include "runner/log_tail.h"
#include "runner/tester_process.h"
#include "tests/runner/fake_tester_folder.h"
#include "tests/runner/fake_tester_protocol.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
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

// Started with its log beside it; the test fails when it cannot start.
std::unique_ptr<TesterProcess> StartLogged(const FakeTesterFolder& tester) {
    TesterStart start =
        StartTester(tester.Executable(), "p", tester.Folder(), tester.FilePath("tester.log"));
    if (!start.process)
        qWarning("%s", qPrintable(start.error));
    return std::move(start.process);
}

QStringList WholeLog(const FakeTesterFolder& tester) {
    LogTail tail(tester.FilePath("tester.log"));
    return tail.ReadNew(LogWriter::Ended);
}

} // namespace

class TesterProcessTest : public QObject {
    Q_OBJECT
private slots:
    void RelativePathsAreTakenFromTheCurrentFolderNeverFromPath();
    void FailedStartGivesTheSystemsText_data();
    void FailedStartGivesTheSystemsText();
    void ALogThatCannotBeMadeStartsNothing();
    void TesterOutlivesItsHandleAndItsStarter();
    void FailingTesterLeavesBothStreamsInItsLogAndItsExitCode();
    void SilentTesterLeavesAnEmptyLogAndSucceeds();
    void LogIsReadWhileTheTesterRuns();
    void CancelEndsATesterThatHeedsTheRequestWithinTheGrace();
    void CancelForcesATesterThatIgnoresTheRequest();
    void AnEndWithoutStatusIsNoSuccess();
};

void TesterProcessTest::RelativePathsAreTakenFromTheCurrentFolderNeverFromPath() {
    FakeTesterFolder tester("tester folder");
    tester.SetControl("silent");
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tester.Folder()));
    TesterStart bare = StartTester("fake_tester", "p", QString());
    TesterStart onPathOnly = StartTester("sh", "-c true", QString());
    QVERIFY(QDir::setCurrent(tester.Folder() + "/.."));
    // Resolved before the child moves into its folder.
    TesterStart withFolder = StartTester("tester folder/fake_tester", "p", "tester folder/");
    QDir::setCurrent(previous);

    QVERIFY(!onPathOnly.process);
    QCOMPARE(onPathOnly.error, SystemText(ENOENT));
    for (TesterStart* start : {&bare, &withFolder}) {
        QVERIFY2(start->process, qPrintable(start->error));
        start->process->WaitForEnd();
    }
    QCOMPARE(tester.WaitForRecord().workingFolder, Canonical(tester.Folder()));
}

void TesterProcessTest::FailedStartGivesTheSystemsText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << QByteArray() << false << ENOENT;
    QTest::newRow("text without execute permission") << QByteArray("n 1 Mb\n") << false << EACCES;
    QTest::newRow("executable that is no program")
        << QByteArray("\x01\x02garbage") << true << ENOEXEC;
}

void TesterProcessTest::FailingTesterLeavesBothStreamsInItsLogAndItsExitCode() {
    FakeTesterFolder tester;
    tester.SetControl("say Testing sequence 1 of 2\ncomplain Serial m: empty range, no line\n"
                      "say The result file could not be written\nsilent\nexit 3");
    std::unique_ptr<TesterProcess> process = StartLogged(tester);
    QVERIFY(process);
    process->WaitForEnd();
    QCOMPARE(WholeLog(tester),
             QStringList({"Testing sequence 1 of 2", "Serial m: empty range, no line",
                          "The result file could not be written"}));
    const TesterEnd end = process->End();
    QVERIFY(!end.Succeeded());
    QVERIFY(!end.cancelled);
    QVERIFY(!end.signalled);
    QCOMPARE(end.code, 3);
}

void TesterProcessTest::SilentTesterLeavesAnEmptyLogAndSucceeds() {
    FakeTesterFolder tester;
    std::unique_ptr<TesterProcess> process = StartLogged(tester);
    QVERIFY(process);
    process->WaitForEnd();
    QVERIFY(process->End().Succeeded());
    QVERIFY(QFile::exists(tester.FilePath("tester.log")));
    QVERIFY(WholeLog(tester).isEmpty());
    QVERIFY(QFile::exists(tester.FilePath(fake_tester::DefaultOutput)));
}

void TesterProcessTest::LogIsReadWhileTheTesterRuns() {
    FakeTesterFolder tester;
    tester.SetControl("progress 2 0\nsleep 60000");
    std::unique_ptr<TesterProcess> process = StartLogged(tester);
    QVERIFY(process);
    LogTail tail(tester.FilePath("tester.log"));
    QTRY_VERIFY_WITH_TIMEOUT((tail.ReadNew(), tail.Progress() == TesterProgress{2, 2}), 10000);
    QVERIFY(!process->HasEnded());
    QCOMPARE(tail.LastLines(), QStringList({"Progress: 1 of 2", "Progress: 2 of 2"}));
    process->Cancel();
    process->WaitForEnd();
}

void TesterProcessTest::CancelEndsATesterThatHeedsTheRequestWithinTheGrace() {
    FakeTesterFolder tester;
    tester.SetControl("sleep 60000");
    std::unique_ptr<TesterProcess> process = StartLogged(tester);
    QVERIFY(process);
    QVERIFY(tester.WaitForRecord().found);
    // A grace this long would outlast the test's own time limit: only the polite request can
    // end the tester in time.
    process->Cancel(std::chrono::seconds(100));
    process->WaitForEnd();
    const TesterEnd end = process->End();
    QVERIFY(end.cancelled);
    QVERIFY(!end.Succeeded());
    QVERIFY(end.signalled);
    QCOMPARE(end.code, SIGTERM);
    QVERIFY(!QFile::exists(tester.FilePath(fake_tester::DefaultOutput)));
}

void TesterProcessTest::CancelForcesATesterThatIgnoresTheRequest() {
    FakeTesterFolder tester;
    tester.SetControl("ignore-term\nsleep 60000");
    std::unique_ptr<TesterProcess> process = StartLogged(tester);
    QVERIFY(process);
    QVERIFY(tester.WaitForRecord().found);
    process->Cancel(std::chrono::milliseconds(300));
    process->WaitForEnd();
    const TesterEnd end = process->End();
    QVERIFY(end.cancelled);
    QVERIFY(end.signalled);
    QCOMPARE(end.code, SIGKILL);
}

void TesterProcessTest::FailedStartGivesTheSystemsText() {
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

void TesterProcessTest::ALogThatCannotBeMadeStartsNothing() {
    FakeTesterFolder tester;
    const QString log = tester.FilePath("missing folder/tester.log");
    TesterStart start = StartTester(tester.Executable(), "p", tester.Folder(), log);
    QVERIFY(!start.process);
    QCOMPARE(start.error, log + ": " + SystemText(ENOENT));
    QVERIFY(!tester.WaitForRecord(300).found);
}

void TesterProcessTest::TesterOutlivesItsHandleAndItsStarter() {
    FakeTesterFolder tester;
    tester.SetControl("sleep 1500\nsay written after its starter has gone");
    const QString result = tester.FilePath(fake_tester::DefaultOutput);
    QProcess starter;
    starter.start(LAUNCH_PROBE_PATH,
                  {tester.Executable(), "p", tester.Folder(), tester.FilePath("tester.log")});
    QVERIFY(starter.waitForFinished(10000));
    QCOMPARE(starter.exitCode(), 0);

    const FakeTesterRecord record = tester.WaitForRecord();
    QCOMPARE(record.pid, starter.readAllStandardOutput().trimmed().toLongLong());
    QCOMPARE(record.sid, record.pid); // its own session: a closing terminal does not end it
    QVERIFY(!QFile::exists(result));
    QVERIFY(WaitForFile(result)); // written after the log line
    QCOMPARE(WholeLog(tester), QStringList("written after its starter has gone"));
}

// A program that ignores SIGCHLD has its children collected by the system, status and all.
void TesterProcessTest::AnEndWithoutStatusIsNoSuccess() {
    FakeTesterFolder tester;
    const auto previous = std::signal(SIGCHLD, SIG_IGN);
    std::unique_ptr<TesterProcess> process = StartLogged(tester);
    if (process)
        process->WaitForEnd();
    std::signal(SIGCHLD, previous);
    QVERIFY(process);
    QVERIFY(!process->End().Succeeded());
    QCOMPARE(process->End().code, -1);
}

QTEST_GUILESS_MAIN(TesterProcessTest)
#include "tester_process_test.moc"
