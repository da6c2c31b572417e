// The waiting run: where the result is looked for, no result loaded that this run
// did not write, and a window that keeps painting, but takes no input, while it
// waits.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

namespace {

void MakeOlder(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                             QFileDevice::FileModificationTime));
}

// Through the window system, where a modal window blocks input, as a user's
// click would.
void ClickAsTheUserWould(QWidget* button) {
    QWidget* window = button->window();
    const QPoint centre = button->mapTo(window, button->rect().center());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, centre);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class LaunchWaitTest : public QObject {
    Q_OBJECT
private slots:
    void LoadsTheResultFromWhereTheTesterWroteIt_data();
    void LoadsTheResultFromWhereTheTesterWroteIt();
    void LoadsNoResultNotWrittenByThisRun();
    void FindsAnOutputNameThatIsNotUtf8ByItsBytes();
    void KeepsPaintingAndTakingInputWhileWaiting();
};

void LaunchWaitTest::LoadsTheResultFromWhereTheTesterWroteIt_data() {
    QTest::addColumn<QString>("outFile");
    QTest::addColumn<bool>("inTestersFolder");
    QTest::addColumn<bool>("bareExecutable");
    QTest::newRow("empty name") << "" << true << false;
    QTest::newRow("bare name") << "result.txt" << true << false;
    QTest::newRow("full path") << "out folder/result file.txt" << false << false;
    // Started from the current folder, which is then where the result lies.
    QTest::newRow("bare executable") << "result.txt" << true << true;
}

void LaunchWaitTest::LoadsTheResultFromWhereTheTesterWroteIt() {
    QFETCH(QString, outFile);
    QFETCH(bool, inTestersFolder);
    QFETCH(bool, bareExecutable);
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    if (bareExecutable) {
        QDir::setCurrent(fixture.tester.Folder());
        Control<QLineEdit>(*fixture.window, "EditZTRPexe")->setText("fake_tester");
    }
    if (!inTestersFolder) {
        QVERIFY(QDir(fixture.currentDir.path()).mkpath("out folder"));
        outFile = fixture.currentDir.filePath(outFile);
    }
    Control<QLineEdit>(*fixture.window, "EditOutFile")->setText(outFile);
    fixture.window->show();

    fixture.RunWaitToEnd();
    QVERIFY(fixture.dialogs.messages.isEmpty());
    // The parameter file keeps the name as typed; the edit shows where the result
    // was read.
    QVERIFY(fixture.Read("para").contains("OutFile \"" + outFile.toLocal8Bit() + "\""));
    const QString shown = outFile.isEmpty() ? "_Zentrope.txt" : outFile;
    QCOMPARE(Control<QLineEdit>(*fixture.window, "EditOutFile")->text(), shown);
    const QString path = inTestersFolder ? fixture.tester.FilePath(shown) : shown;
    QVERIFY(QFile::exists(path));
    QCOMPARE(Control<QTabWidget>(*fixture.window, "PC")->currentWidget(),
             Control<QWidget>(*fixture.window, "TStable"));

    const int dft = RowOf(*fixture.window, "DFT");
    const int runs = RowOf(*fixture.window, "Runs");
    QVERIFY(dft > 0 && runs > 0);
    QCOMPARE(CellText(*fixture.window, 3, dft), QString("0.5"));
    QCOMPARE(CellText(*fixture.window, 5, dft), QString("0.125"));
    QCOMPARE(CellText(*fixture.window, 2, dft), QString("3"));
    QCOMPARE(CellText(*fixture.window, 4, runs), QString("- error -"));
    QCOMPARE(CellText(*fixture.window, 2, runs), QString("2"));
}

void LaunchWaitTest::FindsAnOutputNameThatIsNotUtf8ByItsBytes() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    const std::string name = "\xe9t\xe9 r.txt";
    const std::string written = fixture.tester.Folder().toStdString() + "/" + name;
    // A name the temporary folder's clean-up cannot spell.
    const std::unique_ptr<const std::string, void (*)(const std::string*)> removal(
        &written, [](const std::string* file) { std::filesystem::remove(*file); });
    fixture.Write("loaded.par", QByteArray::fromStdString("[General]\nOutFile \"" + name +
                                                          "\"\n[Enable]\n1 runs\n"));
    auto* paraFile = Control<QLineEdit>(*fixture.window, "EditParaFile");
    paraFile->setText(fixture.Path("loaded.par"));
    fixture.window->ButtParaReloadClick();
    paraFile->setText(fixture.Path("para"));
    fixture.window->show();

    fixture.RunWaitToEnd();
    QVERIFY(std::filesystem::exists(written));
    QCOMPARE(fixture.MessageTexts(), QStringList());
    QCOMPARE(CellText(*fixture.window, 3, RowOf(*fixture.window, "DFT")), QString("0.5"));
}

void LaunchWaitTest::LoadsNoResultNotWrittenByThisRun() {
    LaunchFixture fixture;
    fixture.tester.SetControl("silent");
    const QString result = fixture.tester.FilePath("_Zentrope.txt");
    const QString warning =
        "Zentrope has ended without writing the output file\n\"" + result + "\".\nExit code: 0";
    Control<QLineEdit>(*fixture.window, "EditOutFile")->setText("_Zentrope.txt");
    fixture.window->show();

    fixture.RunWaitToEnd();
    QCOMPARE(fixture.dialogs.messages.size(), 1);
    QCOMPARE(fixture.dialogs.messages[0].icon, MessageIcon::Warning);
    QVERIFY2(fixture.dialogs.messages[0].text.startsWith(warning),
             qPrintable(fixture.dialogs.messages[0].text));
    QCOMPARE(RowOf(*fixture.window, "Old"), -1);

    fixture.dialogs.messages.clear();
    fixture.Write(result, "Sequence #1\n0.9\tOld\n\n");
    MakeOlder(result);
    fixture.RunWaitToEnd();
    QCOMPARE(fixture.dialogs.messages.size(), 1);
    QVERIFY(fixture.dialogs.messages[0].text.startsWith(warning));
    QCOMPARE(RowOf(*fixture.window, "Old"), -1);
}

// The run panel shows the time waited while the window keeps painting and taking input; a
// second click on the wait button is told the tester is still running and starts nothing.
void LaunchWaitTest::KeepsPaintingAndTakingInputWhileWaiting() {
    LaunchFixture fixture;
    fixture.tester.SetControl("sleep 1500\nsilent");
    TFIN& window = *fixture.window;
    window.show();
    Control<QTabWidget>(window, "PC")->setCurrentWidget(Control<QWidget>(window, "TSparam"));
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    PaintCounter counter;
    window.installEventFilter(&counter);
    QSignalSpy clicks(Control<QPushButton>(window, "ButtRunWait"), &QPushButton::clicked);
    int ticks = 0;
    QString notice;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        if (Control<QWidget>(window, "RunPanel")->isVisible())
            notice = Control<QLabel>(window, "WaitStatus")->text();
        window.update();
        if (ticks == 3)
            ClickAsTheUserWould(Control<QPushButton>(window, "ButtRunWait"));
    });
    timer.start(100);

    fixture.RunWaitToEnd();
    timer.stop();
    QVERIFY2(ticks >= 8, qPrintable(QString("%1 ticks").arg(ticks)));
    QVERIFY2(counter.paints >= 4, qPrintable(QString("%1 paints").arg(counter.paints)));
    QVERIFY2(notice.startsWith("Waiting for Zentrope to end.\nTime waited: 0:00:0"),
             qPrintable(notice));
    QCOMPARE(clicks.count(), 1);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!Control<QWidget>(window, "RunPanel")->isVisible());
    // One tester ran: the second click was refused while the first ran; then the silent
    // tester's missing output was reported.
    QCOMPARE(fixture.Runs().size(), 1);
    QCOMPARE(fixture.dialogs.messages.size(), 2);
    QVERIFY2(fixture.dialogs.messages[0].text.startsWith("Zentrope is still running"),
             qPrintable(fixture.dialogs.messages[0].text));
}

ZENTROPE_GUI_TEST_MAIN(LaunchWaitTest)
#include "launch_wait_test.moc"
