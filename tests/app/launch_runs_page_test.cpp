// The Runs page: recorded runs listed newest first and filtered by text, a run's result and
// parameters brought back into the window, and a run deleted with its folder.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QThreadPool>
#include <sys/wait.h>

using zentrope::RunKind;
using zentrope::RunRecord;

class RunsPageTest : public QObject {
    Q_OBJECT
private slots:
    void ListsOpensAndDeletesRuns();
    void RunAgainReadsTheKeptFileAndWarnsOfAChangedInput();
    void AResultFileLoadedFromOutsideIsRecordedAsImported();
    void ARunLeftToItselfGetsItsResultOnceItsTesterHasEnded();
};

void RunsPageTest::ListsOpensAndDeletesRuns() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    TFIN& window = *fixture.window;
    window.show();
    Control<QLineEdit>(window, "EditNT")->setText("7");
    fixture.RunWaitToEnd();
    // Runs are told apart, and sorted, by their start to the second.
    QTest::qWait(1100);
    Control<QLineEdit>(window, "EditNT")->setText("9");
    fixture.tester.SetControl("silent\nexit 2");
    fixture.RunWaitToEnd();
    QCOMPARE(fixture.Runs().size(), 2);
    const RunRecord older = fixture.Runs()[1];

    auto* pages = Control<QTabWidget>(window, "PC");
    QCOMPARE(pages->indexOf(Control<QWidget>(window, "TSruns")),
             pages->indexOf(Control<QWidget>(window, "TStable")) + 1);
    pages->setCurrentWidget(Control<QWidget>(window, "TSruns"));
    auto* list = Control<QTableView>(window, "RunsList");
    QCOMPARE(list->model()->rowCount(), 2);
    // Newest first: the failed run's exit code heads the list.
    QCOMPARE(list->model()->index(0, 2).data().toString(), QString("2"));
    Control<QLineEdit>(window, "RunsFilter")->setText(older.startedAt.toString(Qt::ISODate));
    QCOMPARE(list->model()->rowCount(), 1);
    list->setCurrentIndex(list->model()->index(0, 0));
    QVERIFY(Control<QPlainTextEdit>(window, "RunRecord")->toPlainText().contains("NT: 7"));

    Control<QPushButton>(window, "RunsOpenResult")->click();
    QCOMPARE(CellText(window, 3, RowOf(window, "DFT")), QString("0.5"));
    const QString ownFile = Control<QLineEdit>(window, "EditParaFile")->text();
    Control<QPushButton>(window, "RunsLoadParameters")->click();
    QCOMPARE(Control<QLineEdit>(window, "EditNT")->text(), QString("7"));
    QCOMPARE(Control<QLineEdit>(window, "EditParaFile")->text(), ownFile);

    fixture.dialogs.goOnAnswers = {true};
    Control<QPushButton>(window, "RunsDelete")->click();
    QCOMPARE(list->model()->rowCount(), 0);
    QCOMPARE(fixture.Runs().size(), 1);
    QVERIFY(!QFileInfo::exists(older.folder));
}

void RunsPageTest::RunAgainReadsTheKeptFileAndWarnsOfAChangedInput() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    TFIN& window = *fixture.window;
    window.show();
    fixture.Write("input.bin", "abc");
    Control<QLineEdit>(window, "EditInFile")->setText(fixture.Path("input.bin"));
    Control<QLineEdit>(window, "EditNT")->setText("7");
    // 7 sequences of 3 bits fit in the 24 bits of the input; more would stop the run.
    Control<QLineEdit>(window, "Editn")->setText("3");
    Control<QComboBox>(window, "CBnUM")->setCurrentText("bits");
    fixture.RunWaitToEnd();
    QThreadPool::globalInstance()->waitForDone(); // the input's hash is recorded
    const RunRecord first = fixture.Runs()[0];
    QCOMPARE(first.inputs.size(), 1);
    fixture.Write("input.bin", "abd");
    Control<QLineEdit>(window, "EditNT")->setText("9");

    Control<QTabWidget>(window, "PC")->setCurrentWidget(Control<QWidget>(window, "TSruns"));
    auto* list = Control<QTableView>(window, "RunsList");
    list->setCurrentIndex(list->model()->index(0, 0));
    Control<QPushButton>(window, "RunsRunAgain")->click();
    QTRY_COMPARE(fixture.dialogs.questions.size(), 1);
    QVERIFY(fixture.dialogs.questions[0].contains(fixture.Path("input.bin")));
    QCOMPARE(fixture.Runs().size(), 1); // went back

    QTest::qWait(1100); // runs are told apart by their start to the second
    fixture.dialogs.goOnAnswers = {true};
    list->setCurrentIndex(list->model()->index(0, 0));
    Control<QPushButton>(window, "RunsRunAgain")->click();
    QTRY_COMPARE(fixture.Runs().size(), 2);
    QVERIFY(fixture.WaitForRunEnd()); // watched beside the pages
    const RunRecord again = fixture.Runs()[0];
    // The tester read the kept file, not the window's, whose NT is 9 by now.
    QCOMPARE(fixture.tester.WaitForRecord().arguments,
             QStringList{first.folder + "/parameters.txt"});
    QCOMPARE(again.NT, std::optional<qint32>(7));
    QCOMPARE(again.end.exitCode, std::optional<int>(0));
    QCOMPARE(CellText(window, 3, RowOf(window, "DFT")), QString("0.5"));
}

void RunsPageTest::AResultFileLoadedFromOutsideIsRecordedAsImported() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    TFIN& window = *fixture.window;
    const QByteArray result = "Sequence #1\n0.5\tDFT\n\n";
    fixture.Write("outside.txt", result);
    fixture.dialogs.answers = {fixture.Path("outside.txt")};
    window.ButtLoadResultClick();
    QThreadPool::globalInstance()->waitForDone();
    QCOMPARE(fixture.Runs().size(), 1);
    const RunRecord imported = fixture.Runs()[0];
    QCOMPARE(imported.kind, RunKind::Imported);
    QCOMPARE(imported.source, fixture.Path("outside.txt"));
    QFile copy(imported.folder + "/result.txt");
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), result);

    // Its copy, loaded again, is a recorded file already; so is the file itself, unchanged.
    // Changed, it is recorded anew.
    fixture.dialogs.answers = {copy.fileName(), fixture.Path("outside.txt")};
    window.ButtLoadResultClick();
    window.ButtLoadResultClick();
    QThreadPool::globalInstance()->waitForDone();
    QCOMPARE(fixture.Runs().size(), 1);
    fixture.Write("outside.txt", "Sequence #1\n0.25\tDFT\n\n");
    fixture.dialogs.answers = {fixture.Path("outside.txt")};
    window.ButtLoadResultClick();
    QThreadPool::globalInstance()->waitForDone();
    QCOMPARE(fixture.Runs().size(), 2);
}

void RunsPageTest::ARunLeftToItselfGetsItsResultOnceItsTesterHasEnded() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    // Long enough to be still running when the later window starts and watches it again.
    fixture.tester.SetControl("sleep 1500");
    fixture.window->show();
    fixture.window->ButtRunExitClick();
    const qint64 pid = fixture.tester.WaitForRecord().pid;
    QVERIFY(pid > 0);

    TFIN& later = fixture.Open();
    later.show();
    auto* pages = Control<QTabWidget>(later, "PC");
    pages->setCurrentWidget(Control<QWidget>(later, "TSruns"));
    auto* list = Control<QTableView>(later, "RunsList");
    QCOMPARE(list->model()->index(0, 2).data().toString(), QString("not known"));
    const RunRecord running = fixture.Runs()[0];
    QVERIFY(!QFile::exists(running.folder + "/result.txt"));

    // This test program started the tester, so it collects its status, as the system does
    // once the window that started it has ended.
    int status = 0;
    QCOMPARE(qint64(::waitpid(pid_t(pid), &status, 0)), pid);
    pages->setCurrentIndex(0);
    pages->setCurrentWidget(Control<QWidget>(later, "TSruns"));
    QFile copy(running.folder + "/result.txt");
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray(zentrope::fake_tester::ResultText));
    QCOMPARE(list->model()->index(0, 2).data().toString(), QString("not known"));
    list->setCurrentIndex(list->model()->index(0, 0));
    QVERIFY(Control<QPlainTextEdit>(later, "RunRecord")
                ->toPlainText()
                .contains("Ended: not known; the tester ran on its own"));
}

ZENTROPE_GUI_TEST_MAIN(RunsPageTest)
#include "launch_runs_page_test.moc"
