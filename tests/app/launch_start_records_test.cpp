// At start the window checks its records: an unsound index is told once and runs go on being
// logged without it; runs and folders that a stopped program left unfinished are settled, and
// the Runs page's status line says what was done.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include "records/run_folder.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QProcess>

using namespace zentrope;

namespace {

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A new window on the same folders, as at the next start; the old one's work is done first.
void Restart(LaunchFixture& fixture) {
    fixture.window.reset();
    fixture.Open();
    Control<QLineEdit>(*fixture.window, "EditZTRPexe")->setText(fixture.tester.Executable());
    Control<QLineEdit>(*fixture.window, "EditParaFile")->setText(fixture.Path("para"));
}

qsizetype MessagesHolding(const LaunchFixture& fixture, const QString& part) {
    qsizetype count = 0;
    for (const QString& text : fixture.MessageTexts())
        count += text.contains(part);
    return count;
}

// A run of the fixture's tester started `start`, not ended, its process never noted.
RunRecord Unnoted(const LaunchFixture& fixture, const QDateTime& start) {
    RunRecord run;
    run.folder = MakeRunFolder(RunsRoot(), start).path;
    run.testerPath = fixture.tester.Executable();
    run.testerSize = QFileInfo(run.testerPath).size();
    run.testerSha256 = QString(64, u'0');
    run.startedAt = start;
    Put(run.folder + "/parameters.txt", QByteArray());
    return run;
}

} // namespace

class LaunchStartRecordsTest : public QObject {
    Q_OBJECT
private slots:
    void ADamagedIndexIsToldOnceAndRunsAreStillLogged() {
        LaunchFixture fixture;
        QVERIFY(fixture.IsValid());
        fixture.window.reset();
        const QString index = QDir(RunsRoot()).filePath("runs.sqlite");
        QVERIFY(QDir().mkpath(RunsRoot()));
        Put(index, QByteArray(8192, 'Z'));
        Restart(fixture);
        QTRY_COMPARE(MessagesHolding(fixture, "is damaged"), 1);
        QVERIFY(MessagesHolding(fixture, QDir::toNativeSeparators(index)) == 1);
        fixture.tester.SetControl("say fine");
        fixture.window->show();

        fixture.RunWaitToEnd();
        QVERIFY(fixture.TesterStarted());
        const QDir logs(QDir(RunsRoot()).filePath("unrecorded logs"));
        const QStringList logNames = logs.entryList(QDir::Files);
        QCOMPARE(logNames.size(), 1);
        QCOMPARE(Content(logs.filePath(logNames[0])), QByteArray("fine\n"));
        QCOMPARE(Content(index), QByteArray(8192, 'Z'));
        QCOMPARE(MessagesHolding(fixture, "is damaged"), 1);
    }

    void RunsAndFoldersLeftUnfinishedAreSettled() {
        LaunchFixture fixture;
        QVERIFY(fixture.IsValid());
        fixture.window.reset();
        const QDateTime now = QDateTime::currentDateTime();
        std::unique_ptr<RunStore> store = RunStore::Open(RunsRoot()).store;
        QVERIFY(store);
        // Its tester wrote its log and result, then ended.
        const RunRecord ended = Unnoted(fixture, now.addSecs(-7200));
        Put(ended.folder + "/tester.log", "fine\n");
        Put(fixture.tester.FilePath(fake_tester::DefaultOutput), "result of the ended run\n");
        QVERIFY(store->Add(ended).id);
        // Its tester never started.
        QVERIFY(store->Add(Unnoted(fixture, now.addSecs(-7100))).id);
        // Its tester still runs, writing its log.
        const RunRecord running = Unnoted(fixture, now.addSecs(-7000));
        QProcess tester;
        tester.setStandardOutputFile(running.folder + "/tester.log");
        tester.start("sleep", {"60"});
        QVERIFY(tester.waitForStarted());
        QVERIFY(store->Add(running).id);
        // Ended, but its tester was never hashed; the tester is unchanged since.
        RunRecord unhashed = Unnoted(fixture, now.addSecs(-6900));
        unhashed.testerSha256.clear();
        unhashed.end = {now.addSecs(-6800), 0, std::nullopt, false};
        QVERIFY(store->Add(unhashed).id);
        {
            QFile exe(fixture.tester.Executable());
            QVERIFY(exe.open(QIODevice::ReadWrite));
            QVERIFY(exe.setFileTime(now.addSecs(-9000), QFileDevice::FileModificationTime));
        }
        // A copy whose program stopped before its record.
        const QString halfMade = MakeRunFolder(RunsRoot(), now.addSecs(-60)).path;
        Put(halfMade + "/result.txt", "copied\n");
        store.reset();

        Restart(fixture);
        auto* status = Control<QLabel>(*fixture.window, "RunsStatus");
        QTRY_VERIFY(!status->text().isEmpty());
        const QList<RunRecord> runs = fixture.Runs(); // newest first
        QCOMPARE(runs.size(), 3);
        QCOMPARE(runs[2].folder, ended.folder);
        QVERIFY(runs[2].end.endedAt.isValid());
        QCOMPARE(runs[2].end.exitCode, std::nullopt);
        QCOMPARE(Content(ended.folder + "/result.txt"), QByteArray("result of the ended run\n"));
        QCOMPARE(runs[1].folder, running.folder);
        QCOMPARE(runs[1].testerPid, std::optional<qint64>(tester.processId()));
        QVERIFY(!runs[1].end.endedAt.isValid());
        QCOMPARE(runs[0].testerSha256,
                 QString::fromLatin1(QCryptographicHash::hash(Content(fixture.tester.Executable()),
                                                              QCryptographicHash::Sha256)
                                         .toHex()));
        QVERIFY(!QFileInfo::exists(halfMade));
        for (const char* done :
             {"1 unfinished run completed", "1 half-made run folder removed",
              "1 running tester found again", "never started removed", "SHA-256 recorded"})
            QVERIFY2(status->text().contains(done), qPrintable(status->text()));
        tester.kill();
        tester.waitForFinished();
    }
};

ZENTROPE_GUI_TEST_MAIN(LaunchStartRecordsTest)
#include "launch_start_records_test.moc"
