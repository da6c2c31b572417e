// The run that closes the front end: the window goes through its normal close,
// and the tester runs on.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include <QTest>

class LaunchExitTest : public QObject {
    Q_OBJECT
private slots:
    void ClosesTheWindowAndLeavesTheTesterRunning();
};

void LaunchExitTest::ClosesTheWindowAndLeavesTheTesterRunning() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl("sleep 1500\nsay still running");
    fixture.window->show();

    fixture.window->ButtRunExitClick();
    QVERIFY(!fixture.window->isVisible());
    QVERIFY(fixture.WrittenPrefs().startsWith("zentrope_exe=" +
                                              fixture.tester.Executable().toLocal8Bit()));

    const QString result = fixture.tester.FilePath("_Zentrope.txt");
    QVERIFY(fixture.tester.WaitForRecord().found);
    QVERIFY(!QFile::exists(result));
    QVERIFY(zentrope::testing::WaitForFile(result));
    // Its output goes on into the run's log after the window has gone.
    QCOMPARE(fixture.Logs().size(), 1);
    QFile log(fixture.Logs()[0]);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("still running\n"));
}

ZENTROPE_GUI_TEST_MAIN(LaunchExitTest)
#include "launch_exit_test.moc"
