// The window drives runs through a real Slurm cluster (scripts/slurm-cluster start): a sharded
// run is followed shard by shard, its completed shards fill the table while others wait, and
// it is merged, loaded and recorded once; Cancel in the run panel cancels every shard and the
// record says so; a failed shard shows Slurm's state and its log and, submitted again,
// completes the run; a partition Slurm refuses is reported in Slurm's words. Shards are held
// (--hold) and let go one by one, so every step is seen whatever the machine's speed.
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include "app/run_place/run_place_box.h"
#include "app/run_watch/run.h"
#include "app/run_watch/run_end_text.h"
#include "app/run_watch/run_folder_place.h"
#include "app/table/result_table_model.h"
#include "records/run_folder.h"
#include "records/run_store.h"
#include "runner/slurm_backend.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>

#include <unistd.h>

using namespace zentrope;

namespace {

constexpr int SlurmTimeoutMs = 180000;
constexpr int Sequences = 8;
constexpr int Shards = 4;

QString RunCommand(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lets the given array tasks of a held job go.
void Release(const QString& jobId, const QList<int>& tasks) {
    QStringList ids;
    for (const int task : tasks)
        ids.append(QStringLiteral("%1_%2").arg(jobId).arg(task));
    RunCommand("scontrol", QStringList{"release"} + ids);
}

int SequenceColumns(const TFIN& window) {
    return window.Table().Model().SequenceColumnEnd() - ResultGrid::FixedColumns;
}

QString Verdict(const TFIN& window) {
    return Control<QLabel>(window, "LabVerdict")->text();
}

QString ShardCell(const TFIN& window, int shard, int column) {
    const QTableWidgetItem* item = Control<QTableWidget>(window, "ShardTable")->item(shard, column);
    return item ? item->text() : QString();
}

// A window with the real tester, a parameter file, a result file and a runs folder of its
// own, set to run on the cluster in held shards.
class ClusterWindow : public WindowFixture {
public:
    ClusterWindow() {
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        TFIN& w = Open();
        Control<QLineEdit>(w, "EditZTRPexe")->setText(QStringLiteral(TESTER_PATH));
        Control<QLineEdit>(w, "EditParaFile")->setText(Path("para"));
        Control<QLineEdit>(w, "EditOutFile")->setText(Path("out.txt"));
        Control<QLineEdit>(w, "EditNT")->setText(QString::number(Sequences));
        Control<QComboBox>(w, "CBrunPlace")->setCurrentIndex(1);
        Control<QSpinBox>(w, "SlurmShards")->setValue(Shards);
        Control<QLineEdit>(w, "SlurmOptions")->setText("--hold");
    }
    ~ClusterWindow() {
        for (const QString& id : jobs)
            RunCommand("scancel", {id});
    }

    // Starts the run; the array's job id once the record notes it.
    QString Start() {
        window->ButtRunWaitClick();
        QString id;
        const bool noted = QTest::qWaitFor(
            [&] {
                const QList<RunRecord> runs = Runs();
                id = runs.isEmpty() ? QString() : runs[0].runner.id;
                return !id.isEmpty();
            },
            SlurmTimeoutMs);
        if (!noted)
            return {};
        jobs.append(id);
        return id;
    }
    bool WaitForRunEnd() {
        return QTest::qWaitFor([this] { return window->WatchedRun() == nullptr; }, SlurmTimeoutMs);
    }
    QList<RunRecord> Runs() const {
        StoreOpening opening = RunStore::Open(RunsRoot());
        return opening.store ? opening.store->List() : QList<RunRecord>();
    }
    // Each shard's state as the run's folder keeps it.
    static QStringList KeptStates(const RunRecord& run) {
        const QSettings state(run.folder + "/" + SlurmStateName, QSettings::IniFormat);
        return state.value("shards/states").toStringList();
    }
    // The whole run on this computer, from the same parameter file, as the window runs it.
    QByteArray LocalRun() {
        const QByteArray merged = ReadAll(Path("out.txt"));
        QProcess tester;
        tester.setWorkingDirectory(QFileInfo(QStringLiteral(TESTER_PATH)).absolutePath());
        tester.start(QStringLiteral(TESTER_PATH), {Path("para")});
        tester.waitForFinished(SlurmTimeoutMs);
        const QByteArray local = ReadAll(Path("out.txt"));
        Write("out.txt", merged);
        return local;
    }

    QTemporaryDir dataHome;
    QStringList jobs;
};

} // namespace

class SlurmWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        int code = -1;
        RunCommand("sinfo", {"-h"}, &code);
        if (code == 0)
            return;
        if (geteuid() == 0 && qEnvironmentVariableIsSet("CI"))
            QFAIL("No Slurm cluster answers, though this is CI as root: scripts/slurm-cluster "
                  "start should have started one");
        QSKIP("No Slurm cluster answers (sinfo fails); as root, scripts/slurm-cluster start "
              "starts a one-node cluster");
    }

    void AShardedRunIsFollowedMergedLoadedAndRecordedOnce() {
        ClusterWindow fixture;
        TFIN& window = *fixture.window;
        const QString id = fixture.Start();
        QVERIFY(!id.isEmpty());
        QCOMPARE(ShardCell(window, 3, 2), QString("pending"));

        // The first two shards complete while the others wait: their sequences are shown.
        Release(id, {0, 1});
        QVERIFY(QTest::qWaitFor([&] { return SequenceColumns(window) == 4; }, SlurmTimeoutMs));
        QVERIFY2(Verdict(window).contains("interim: 4 of 8 sequences"),
                 qPrintable(Verdict(window)));
        QCOMPARE(ShardCell(window, 0, 2), QString("completed"));
        QCOMPARE(ShardCell(window, 1, 4), QString("0:0"));
        QCOMPARE(ShardCell(window, 2, 2), QString("pending"));
        QCOMPARE(ShardCell(window, 2, 1), QString("5 to 6"));

        Release(id, {2, 3});
        QVERIFY(fixture.WaitForRunEnd());
        QCOMPARE(fixture.MessageTexts(), QStringList());
        QCOMPARE(SequenceColumns(window), Sequences);
        QVERIFY(!Verdict(window).contains("interim"));
        const QByteArray merged = fixture.Read("out.txt");
        QVERIFY(!QFile::exists(fixture.Path("out.txt.partial")));
        QCOMPARE(merged, fixture.LocalRun());

        const QList<RunRecord> runs = fixture.Runs();
        QCOMPARE(runs.size(), 1);
        const RunRecord& run = runs[0];
        QCOMPARE(run.runner, (BackendIdentity{SlurmBackendName, id}));
        QCOMPARE(run.end.exitCode, std::optional<int>(0));
        QCOMPARE(ReadAll(run.folder + "/" + ResultCopyName), merged);
        const QByteArray script = ReadAll(run.folder + "/shards.sbatch");
        QVERIFY(script.contains("#SBATCH --array=0-3") && script.contains("#SBATCH --hold"));
        QCOMPARE(ClusterWindow::KeptStates(run), QStringList(Shards, "COMPLETED exit 0:0"));
        for (int i = 0; i < Shards; ++i) {
            QVERIFY(ReadAll(QStringLiteral("%1/shard-%2.log").arg(run.folder).arg(i))
                        .contains("Progress: "));
            QVERIFY(QFile::exists(QStringLiteral("%1/shard-%2.txt").arg(run.folder).arg(i)));
        }
    }

    void CancelInThePanelCancelsEveryShard() {
        ClusterWindow fixture;
        TFIN& window = *fixture.window;
        const QString id = fixture.Start();
        QVERIFY(!id.isEmpty());
        QTest::mouseClick(Control<QPushButton>(window, "WaitCancel"), Qt::LeftButton);
        QVERIFY(fixture.WaitForRunEnd());
        QCOMPARE(fixture.MessageTexts(), QStringList{CancelledRunText});
        QVERIFY(RunCommand("squeue", {"-h", "-j", id}).trimmed().isEmpty());
        const QList<RunRecord> runs = fixture.Runs();
        QCOMPARE(runs.size(), 1);
        QVERIFY(runs[0].end.cancelled);
        QCOMPARE(ClusterWindow::KeptStates(runs[0]).size(), Shards);
        for (const QString& state : ClusterWindow::KeptStates(runs[0]))
            QVERIFY2(state.startsWith("CANCELLED"), qPrintable(state));
        QVERIFY(!QFile::exists(fixture.Path("out.txt")));
    }

    void AFailedShardIsShownAndResubmittedToCompletion() {
        ClusterWindow fixture;
        TFIN& window = *fixture.window;
        const QString input = fixture.Path("input.bin");
        QByteArray bits(Sequences * 131072, '\0'); // 8 sequences of 1 Mbit
        QRandomGenerator random(23);
        random.fillRange(reinterpret_cast<quint32*>(bits.data()), bits.size() / 4);
        fixture.Write("input.bin", bits);
        Control<QLineEdit>(window, "EditInFile")->setText(input);
        const QString id = fixture.Start();
        QVERIFY(!id.isEmpty());
        Release(id, {0, 1, 3});
        QVERIFY(QTest::qWaitFor([&] { return ShardCell(window, 3, 2) == "completed"; },
                                SlurmTimeoutMs));
        QVERIFY(QFile::rename(input, input + ".away"));
        Release(id, {2});
        auto* resubmit = Control<QPushButton>(window, "ButtResubmitFailed");
        QVERIFY(QTest::qWaitFor([&] { return resubmit->isEnabled(); }, SlurmTimeoutMs));
        QVERIFY(window.WatchedRun()); // waiting for the user, not ended
        QCOMPARE(ShardCell(window, 2, 2), QString("failed"));
        QCOMPARE(ShardCell(window, 2, 3), QString("FAILED"));
        QVERIFY2(ShardCell(window, 2, 4).startsWith("4:"), qPrintable(ShardCell(window, 2, 4)));
        const QString log = Control<QPlainTextEdit>(window, "ShardLog")->toPlainText();
        QVERIFY2(log.startsWith("Shard 2") && log.contains("No input file matches"),
                 qPrintable(log));

        QVERIFY(QFile::rename(input + ".away", input));
        QTest::mouseClick(resubmit, Qt::LeftButton);
        QString again;
        QVERIFY(QTest::qWaitFor(
            [&] {
                const QStringList ids = fixture.Runs()[0].runner.id.split(' ');
                again = ids.size() == 2 ? ids[1] : QString();
                return !again.isEmpty();
            },
            SlurmTimeoutMs));
        fixture.jobs.append(again);
        Release(again, {2}); // the script holds every submission
        QVERIFY(fixture.WaitForRunEnd());
        QCOMPARE(fixture.MessageTexts(), QStringList());
        QCOMPARE(fixture.Read("out.txt"), fixture.LocalRun());
        const RunRecord run = fixture.Runs()[0];
        QCOMPARE(run.end.exitCode, std::optional<int>(0));
        QCOMPARE(ClusterWindow::KeptStates(run), QStringList(Shards, "COMPLETED exit 0:0"));
    }

    // EXIT leaves the run to the cluster once its job id is on record; the next window picks
    // it up from there, merges it, loads and records it once.
    void ARunLeftToTheClusterIsPickedUpAtTheNextStart() {
        ClusterWindow fixture;
        fixture.window->ButtRunExitClick();
        // A closed window has written its preferences.
        QVERIFY(QTest::qWaitFor([&] { return !fixture.WrittenPrefs().isEmpty(); }, SlurmTimeoutMs));
        QCOMPARE(fixture.MessageTexts(), QStringList());
        const QList<RunRecord> left = fixture.Runs();
        QCOMPARE(left.size(), 1);
        const QString id = left[0].runner.id;
        QVERIFY(!id.isEmpty());
        fixture.jobs.append(id);
        QVERIFY(!left[0].end.endedAt.isValid());

        TFIN& next = fixture.Open();
        QVERIFY(next.WatchedRun());
        Release(id, {0, 1, 2, 3});
        QVERIFY(fixture.WaitForRunEnd());
        QCOMPARE(fixture.MessageTexts(), QStringList());
        QCOMPARE(SequenceColumns(next), Sequences);
        const QByteArray merged = fixture.Read("out.txt");
        QCOMPARE(merged, fixture.LocalRun());
        const QList<RunRecord> runs = fixture.Runs();
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs[0].end.exitCode, std::optional<int>(0));
        QCOMPARE(ReadAll(runs[0].folder + "/" + ResultCopyName), merged);
    }

    void APartitionSlurmRefusesIsReportedInSlurmsWords() {
        ClusterWindow fixture;
        TFIN& window = *fixture.window;
        Control<QLineEdit>(window, "SlurmPartition")->setText("no-such-partition");
        window.ButtRunWaitClick();
        QVERIFY(fixture.WaitForRunEnd());
        QCOMPARE(fixture.dialogs.messages.size(), 1);
        const QString message = fixture.dialogs.messages[0].text;
        QVERIFY2(message.contains("sbatch --parsable") &&
                     message.contains("invalid partition specified: no-such-partition"),
                 qPrintable(message));
    }
};

ZENTROPE_GUI_TEST_MAIN(SlurmWindowTest)
#include "slurm_window_test.moc"
