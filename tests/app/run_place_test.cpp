// Where the run buttons start the tester, without a cluster: the cluster's settings kept
// between sessions after the seven prefs.ini lines, and settings that cannot work refused with
// a message naming them.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include "app/run_place/run_place_box.h"
#include "runner/slurm_backend.h"

#include <QComboBox>
#include <QSpinBox>

namespace {

void ChooseCluster(TFIN& window, int shards) {
    Control<QComboBox>(window, "CBrunPlace")->setCurrentIndex(1);
    Control<QSpinBox>(window, "SlurmShards")->setValue(shards);
}

} // namespace

class RunPlaceTest : public QObject {
    Q_OBJECT
private slots:
    void ClusterSettingsAreKeptBetweenSessions() {
        WindowFixture fixture;
        fixture.Open();
        TFIN& window = *fixture.window;
        ChooseCluster(window, 6);
        Control<QLineEdit>(window, "SlurmPartition")->setText("short");
        Control<QLineEdit>(window, "SlurmTime")->setText("0:30:00");
        Control<QSpinBox>(window, "SlurmCpus")->setValue(2);
        Control<QLineEdit>(window, "SlurmMemory")->setText("2G");
        Control<QLineEdit>(window, "SlurmAccount")->setText("lab 7");
        Control<QLineEdit>(window, "SlurmOptions")->setText("--qos=long --nice");
        Control<QLineEdit>(window, "SlurmPrefix")->setText("ssh login.example.org");
        QVERIFY(window.close());
        const QByteArray written = fixture.WrittenPrefs();
        // The seven lines come first, as a window that knows no cluster writes them.
        QCOMPARE(written.split('\n').mid(0, 7).join('\n').count('='), 7);
        QVERIFY(written.split('\n').at(7).startsWith("run_place="));

        fixture.WritePrefs(written);
        TFIN& reopened = fixture.Open();
        const RunPlaceBox& place = reopened.RunPlace();
        QVERIFY(place.OnCluster());
        QCOMPARE(place.Shards(), 6);
        const zentrope::SlurmSettings settings = place.Settings();
        QCOMPARE(settings.partition, QString("short"));
        QCOMPARE(settings.timeLimit, QString("0:30:00"));
        QCOMPARE(settings.cpusPerTask, 2);
        QCOMPARE(settings.memory, QString("2G"));
        QCOMPARE(settings.account, QString("lab 7"));
        QCOMPARE(settings.extraOptions, QString("--qos=long --nice"));
        QCOMPARE(settings.commandPrefix, QString("ssh login.example.org"));
    }

    void AWindowThatNeverChoseAClusterWritesTheSevenLinesOnly() {
        WindowFixture fixture;
        fixture.Open();
        QVERIFY(fixture.window->close());
        QCOMPARE(fixture.WrittenPrefs().count('\n'), 7);
    }

    // A shard would test nothing: nothing starts, nothing is recorded.
    void MoreShardsThanSequencesIsRefusedNamingTheSetting() {
        LaunchFixture fixture;
        QVERIFY(fixture.IsValid());
        TFIN& window = *fixture.window;
        Control<QLineEdit>(window, "EditNT")->setText("3");
        ChooseCluster(window, 4);
        window.ButtRunWaitClick();
        QCOMPARE(window.WatchedRun(), nullptr);
        QCOMPARE(fixture.dialogs.messages.size(), 1);
        const QString message = fixture.dialogs.messages[0].text;
        QVERIFY2(message.contains("shards (4") && message.contains("3 sequences") &&
                     message.contains("Cluster settings"),
                 qPrintable(message));
        QVERIFY(fixture.Runs().isEmpty());
        // Three shards of three sequences are allowed: the check is not off by one.
        ChooseCluster(window, 3);
        Control<QLineEdit>(window, "SlurmPrefix")->setText("env PATH=/nonexistent /bin/sh -c");
        window.ButtRunWaitClick();
        QVERIFY(fixture.WaitForRunEnd());
        QVERIFY(!fixture.dialogs.messages.last().text.contains("shards (3"));
    }

    // The kind that finds cluster runs again knows no shards: started by name it would test
    // a wrong share of the run, so it starts nothing.
    void TheClusterByNameAloneStartsNothing() {
        LaunchFixture fixture;
        QVERIFY(fixture.IsValid());
        fixture.window->SetBackendName(zentrope::SlurmBackendName);
        fixture.window->ButtRunWaitClick();
        QCOMPARE(fixture.window->WatchedRun(), nullptr);
        QCOMPARE(fixture.MessageTexts().size(), 1);
        QVERIFY(fixture.MessageTexts()[0].contains("needs its number of shards"));
        QVERIFY(fixture.Runs().isEmpty());
    }

    // As through ssh to a host without Slurm: the shell on the other side finds no sbatch.
    void SbatchNotFoundNamesTheCommandAndThePrefix() {
        LaunchFixture fixture;
        QVERIFY(fixture.IsValid());
        TFIN& window = *fixture.window;
        Control<QLineEdit>(window, "EditNT")->setText("8");
        ChooseCluster(window, 2);
        const QString prefix = "env PATH=/nonexistent /bin/sh -c";
        Control<QLineEdit>(window, "SlurmPrefix")->setText(prefix);
        window.ButtRunWaitClick();
        QVERIFY(fixture.WaitForRunEnd());
        QCOMPARE(fixture.dialogs.messages.size(), 1);
        const QString message = fixture.dialogs.messages[0].text;
        QVERIFY2(message.startsWith("sbatch was not found") &&
                     message.contains("command prefix: \"" + prefix + "\"") &&
                     message.contains("sbatch --parsable"),
                 qPrintable(message));
        QVERIFY(!fixture.TesterStarted());
        // The record tells the run has ended, so no later window waits for it.
        const QList<zentrope::RunRecord> runs = fixture.Runs();
        QCOMPARE(runs.size(), 1);
        QVERIFY(runs[0].end.endedAt.isValid());
        QVERIFY(!runs[0].end.cancelled);
        QCOMPARE(runs[0].end.exitCode, std::optional<int>(1));
    }
};

ZENTROPE_GUI_TEST_MAIN(RunPlaceTest)
#include "run_place_test.moc"
