// Every launch is recorded: its parameter file, log and result kept in its folder, the tester
// that ran, the settings, how it ended and the input files it read.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include <QComboBox>
#include <QCryptographicHash>

using namespace zentrope;

namespace {

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Sha256Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

} // namespace

class LaunchRecordTest : public QObject {
    Q_OBJECT
private slots:
    void RecordsAWaitingRunWithItsFiles_data();
    void RecordsAWaitingRunWithItsFiles();
    void RecordsARunLeftToItself();
};

void LaunchRecordTest::RecordsAWaitingRunWithItsFiles_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("ends well") << "say fine" << 0;
    QTest::newRow("fails") << "say fine\nsilent\nexit 4" << 4;
}

void LaunchRecordTest::RecordsAWaitingRunWithItsFiles() {
    QFETCH(QString, control);
    QFETCH(int, exitCode);
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl(control);
    fixture.Write("input.bin", "abc");
    Control<QLineEdit>(*fixture.window, "EditInFile")->setText(fixture.Path("input.bin"));
    Control<QLineEdit>(*fixture.window, "EditNT")->setText("7");
    // 7 sequences of 3 bits fit in the 24 bits of the input; more would stop the run.
    Control<QLineEdit>(*fixture.window, "Editn")->setText("3");
    Control<QComboBox>(*fixture.window, "CBnUM")->setCurrentText("bits");
    const QStringList order = OrderTexts(*fixture.window);
    fixture.window->show();

    fixture.RunWaitToEnd();
    QCOMPARE(fixture.Runs().size(), 1);
    const RunRecord run = fixture.Runs()[0];
    QCOMPARE(Content(run.folder + "/parameters.txt"), fixture.Read("para"));
    QCOMPARE(Content(run.folder + "/tester.log"), QByteArray("fine\n"));
    QCOMPARE(Content(run.folder + "/result.txt"),
             QByteArray(exitCode ? "" : fake_tester::ResultText));
    QCOMPARE(run.testerPath, fixture.tester.Executable());
    QCOMPARE(run.testerSize, QFileInfo(fixture.tester.Executable()).size());
    QCOMPARE(run.end.exitCode, std::optional<int>(exitCode));
    QVERIFY(run.startedAt <= run.end.endedAt);
    QCOMPARE(run.NT, std::optional<qint32>(7));
    // Every test is enabled in a new window.
    QCOMPARE(run.enabledTests, order);
    // The tester and then the input are hashed after the start, off the window's thread.
    QTRY_COMPARE(fixture.Runs()[0].inputs.size(), 1);
    const InputFileFacts input = fixture.Runs()[0].inputs[0];
    QCOMPARE(fixture.Runs()[0].testerSha256, Sha256Of(Content(fixture.tester.Executable())));
    QCOMPARE(input.path, fixture.Path("input.bin"));
    QCOMPARE(input.size, 3);
    // SHA-256("abc"), FIPS 180-2 appendix B.1.
    QCOMPARE(input.sha256,
             QString("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
}

void LaunchRecordTest::RecordsARunLeftToItself() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.window->show();

    fixture.window->ButtRunExitClick();
    QVERIFY(fixture.tester.WaitForRecord().found);
    QCOMPARE(fixture.Runs().size(), 1);
    const RunRecord run = fixture.Runs()[0];
    QCOMPARE(Content(run.folder + "/parameters.txt"), fixture.Read("para"));
    // Its end is not known to the window that started it.
    QVERIFY(!run.end.endedAt.isValid());
    QVERIFY(!run.end.exitCode);
}

ZENTROPE_GUI_TEST_MAIN(LaunchRecordTest)
#include "launch_record_test.moc"
