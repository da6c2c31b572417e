// Watching a waiting run: its progress and log lines on the notice, cancelling it, and what a
// failing tester's log tells the user.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <functional>

namespace {

// Calls `look` on the run panel every 50 ms while the window shows it.
class NoticeWatcher {
public:
    NoticeWatcher(const TFIN& window, std::function<void(QWidget&)> look) : look_(std::move(look)) {
        QWidget* panel = Control<QWidget>(window, "RunPanel");
        QObject::connect(&timer_, &QTimer::timeout, [this, panel] {
            if (panel->isVisible())
                look_(*panel);
        });
        timer_.start(50);
    }

private:
    std::function<void(QWidget&)> look_;
    QTimer timer_;
};

bool ProcessIsGone(qint64 pid) {
    return ::kill(pid_t(pid), 0) != 0;
}

} // namespace

class LaunchWatchTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsProgressAndLogLinesAsTheyCome_data();
    void ShowsProgressAndLogLinesAsTheyCome();
    void CancelEndsTheTesterAndLoadsNothing_data();
    void CancelEndsTheTesterAndLoadsNothing();
    void AFailingTestersLastLinesReachTheBox();
};

void LaunchWatchTest::ShowsProgressAndLogLinesAsTheyCome_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("withProgress");
    QTest::newRow("progress lines") << "say Testing sequence 1\nprogress 6 250" << true;
    QTest::newRow("prints nothing") << "sleep 600" << false;
}

void LaunchWatchTest::ShowsProgressAndLogLinesAsTheyCome() {
    QFETCH(QString, control);
    QFETCH(bool, withProgress);
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl(control);
    fixture.window->show();
    QList<int> values;
    QString log;
    QString timeLeft;
    bool barShown = false;
    NoticeWatcher watcher(*fixture.window, [&](QWidget& notice) {
        auto* bar = Control<QProgressBar>(notice, "WaitProgress");
        barShown = barShown || bar->isVisible();
        if (bar->isVisible() && (values.isEmpty() || values.last() != bar->value()))
            values << bar->value();
        log = Control<QPlainTextEdit>(notice, "WaitLog")->toPlainText();
        if (Control<QLabel>(notice, "WaitTimeLeft")->isVisible())
            timeLeft = Control<QLabel>(notice, "WaitTimeLeft")->text();
    });

    fixture.RunWaitToEnd();
    QCOMPARE(fixture.MessageTexts(), QStringList());
    QCOMPARE(CellText(*fixture.window, 3, RowOf(*fixture.window, "DFT")), QString("0.5"));
    QCOMPARE(barShown, withProgress);
    if (!withProgress)
        return;
    // The bar went up step by step while the tester ran, out of 6.
    QVERIFY2(values.size() >= 3, qPrintable(QString::number(values.size())));
    QVERIFY(std::is_sorted(values.begin(), values.end()));
    QVERIFY(values.first() < 6);
    // The progress lines feed the bar only; the pane keeps the tester's other lines.
    QVERIFY2(log.startsWith("Testing sequence 1") && !log.contains("Progress"), qPrintable(log));
    QVERIFY2(timeLeft.startsWith("About 0:00:0"), qPrintable(timeLeft));
}

void LaunchWatchTest::CancelEndsTheTesterAndLoadsNothing_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("heeds the request") << "sleep 60000";
    QTest::newRow("ignores the request") << "ignore-term\nsleep 60000";
}

void LaunchWatchTest::CancelEndsTheTesterAndLoadsNothing() {
    QFETCH(QString, control);
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl(control);
    fixture.window->show();
    QElapsedTimer sinceCancel;
    NoticeWatcher watcher(*fixture.window, [&](QWidget& notice) {
        if (!sinceCancel.isValid() && fixture.TesterStarted()) {
            sinceCancel.start();
            Control<QPushButton>(notice, "WaitCancel")->click();
        }
    });

    fixture.RunWaitToEnd();
    QVERIFY(sinceCancel.isValid());
    // Well inside the tester's own minute: the forced end follows a grace of a few seconds.
    QVERIFY2(sinceCancel.elapsed() < 10000, qPrintable(QString::number(sinceCancel.elapsed())));
    QVERIFY(ProcessIsGone(fixture.tester.WaitForRecord().pid));
    QCOMPARE(fixture.dialogs.messages,
             (QList<ShownMessage>{
                 {"Zentrope was cancelled. No result file is loaded.", MessageIcon::Information}}));
    QVERIFY(!QFile::exists(fixture.tester.FilePath("_Zentrope.txt")));
    QCOMPARE(RowOf(*fixture.window, "DFT"), -1);
}

void LaunchWatchTest::AFailingTestersLastLinesReachTheBox() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    // It writes its result, but an exit code that is not 0 says the result is not to be trusted.
    fixture.tester.SetControl("say Testing sequence 12 of 20\n"
                              "complain The result file could not be written\nexit 3");
    fixture.window->show();

    fixture.RunWaitToEnd();
    QCOMPARE(fixture.dialogs.messages.size(), 1);
    const ShownMessage box = fixture.dialogs.messages[0];
    QCOMPARE(box.icon, MessageIcon::Warning);
    QVERIFY2(box.text.contains("\nExit code: 3\n"), qPrintable(box.text));
    QVERIFY2(box.text.endsWith("\nTesting sequence 12 of 20\n"
                               "The result file could not be written"),
             qPrintable(box.text));
    QCOMPARE(RowOf(*fixture.window, "DFT"), -1);
    // The same lines are kept in the run's log.
    QCOMPARE(fixture.Logs().size(), 1);
    QFile log(fixture.Logs()[0]);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(),
             QByteArray("Testing sequence 12 of 20\nThe result file could not be written\n"));
}

ZENTROPE_GUI_TEST_MAIN(LaunchWatchTest)
#include "launch_watch_test.moc"
