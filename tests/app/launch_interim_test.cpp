// A run the window watches beside the pages: its finished sections fill the table as they
// come without disturbing the user's view, and cancelling, closing the window mid-run and a
// tester that dies each leave the run's record in the right state.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include "app/run_watch/run.h"
#include "app/table/result_table_model.h"
#include "records/run_folder.h"
#include "results/grid/table_sort.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <csignal>

using zentrope::ResultCopyName;
using zentrope::ResultGrid;
using zentrope::RunRecord;
using zentrope::SortMarker;

namespace {

int SequenceColumns(const TFIN& window) {
    return window.Table().Model().SequenceColumnEnd() - ResultGrid::FixedColumns;
}

int ColumnNamed(const TFIN& window, const QString& header) {
    const QAbstractItemModel& model = *Control<QTableView>(window, "SG")->model();
    for (int col = 0; col < model.columnCount(); ++col)
        if (CellText(window, col, 0) == header)
            return col;
    return -1;
}

bool WaitForSequences(const TFIN& window, int count, int timeoutMs = 20000) {
    return QTest::qWaitFor([&] { return SequenceColumns(window) >= count; }, timeoutMs);
}

QString Verdict(const TFIN& window) {
    return Control<QLabel>(window, "LabVerdict")->text();
}

bool ProcessGone(qint64 pid) {
    return ::kill(pid_t(pid), 0) != 0;
}

// The cells of every row but its place ("N"), keyed by test name, whatever the rows' order.
QMap<QString, QStringList> RowsShown(const TFIN& window) {
    QMap<QString, QStringList> rows;
    const int columns = Control<QTableView>(window, "SG")->model()->columnCount();
    for (const QString& name : ColumnTexts(window, 1)) {
        QStringList cells;
        for (int col = 1; col < columns; ++col)
            cells << CellText(window, col, RowOf(window, name));
        rows[name] = cells;
    }
    return rows;
}

// The same as a load of `text` into a fresh window shows it.
QMap<QString, QStringList> LoadedRows(const QByteArray& text) {
    WindowFixture fresh;
    fresh.Open();
    fresh.Write("loaded.txt", text);
    fresh.window->LoadResultFile(fresh.Path("loaded.txt"));
    return RowsShown(*fresh.window);
}

} // namespace

class LaunchInterimTest : public QObject {
    Q_OBJECT
private slots:
    void SectionsFillTheTableWithoutResettingTheUsersSort();
    void CancelledRunIsRecordedCancelled();
    void RunLeftRunningIsWatchedAgainAndCollectedOnce();
    void TesterThatDiesIsRecordedFailed();
    void AnotherResultOrASaveDuringTheRunAsksFirst();
};

void LaunchInterimTest::SectionsFillTheTableWithoutResettingTheUsersSort() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl("sections 6 700");
    TFIN& window = *fixture.window;
    Control<QLineEdit>(window, "EditNT")->setText("6");
    window.show();
    const auto& model = window.Table().Model();
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::columnsInserted);

    window.ButtRunWaitClick();
    QVERIFY(window.WatchedRun());
    QVERIFY(WaitForSequences(window, 3));
    QCOMPARE(resets.count(), 1); // the first sections arrive as a load
    // The user sorts by SL, worst first, and selects the Runs row.
    const int sl = ColumnNamed(window, "SL");
    QVERIFY(sl > 0);
    window.Table().SGMouseUp(Qt::LeftButton, SortMarker, -sl);
    auto* grid = Control<QTableView>(window, "SG");
    grid->setCurrentIndex(model.index(RowOf(window, "Runs"), 1));
    const int seen = SequenceColumns(window);
    QVERIFY(WaitForSequences(window, seen + 1));
    QVERIFY(window.WatchedRun()); // still interim

    // Columns were inserted, never reset; the selection stayed on its row; the rows stand
    // sorted by SL descending; the figures are those a load of the same sections gives.
    QCOMPARE(resets.count(), 1);
    QVERIFY(inserted.count() >= 1);
    QCOMPARE(CellText(window, 1, grid->currentIndex().row()), QString("Runs"));
    const int slNow = ColumnNamed(window, "SL");
    QVERIFY(model.index(1, slNow).data(ResultTableModel::NumberRole).toDouble() >=
            model.index(2, slNow).data(ResultTableModel::NumberRole).toDouble());
    const int k = SequenceColumns(window);
    QVERIFY2(Verdict(window).contains(QString("interim: %1 of 6 sequences").arg(k)),
             qPrintable(Verdict(window)));
    // The pane follows the selected row with the same note.
    const QString pane = Control<QLabel>(window, "LabDetailRow")->text();
    QVERIFY2(pane.contains(QString("interim: %1 of 6 sequences").arg(k)) && pane.contains("Runs"),
             qPrintable(pane));
    QByteArray sections = zentrope::fake_tester::PartialHeader;
    for (int i = 1; i <= k; ++i)
        sections += zentrope::fake_tester::PartialSection(i, 6);
    QCOMPARE(RowsShown(window), LoadedRows(sections));

    // At the end the table is what a load of the result file gives, without the note.
    QVERIFY(fixture.WaitForRunEnd());
    QCOMPARE(SequenceColumns(window), 6);
    QVERIFY(!Verdict(window).contains("interim"));
    QCOMPARE(fixture.MessageTexts(), QStringList());
    QFile result(fixture.tester.FilePath("_Zentrope.txt"));
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(RowsShown(window), LoadedRows(result.readAll()));
    QVERIFY(!QFile::exists(fixture.tester.FilePath("_Zentrope.txt.partial")));
}

void LaunchInterimTest::CancelledRunIsRecordedCancelled() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl("sections 200 150");
    TFIN& window = *fixture.window;
    window.show();
    window.ButtRunWaitClick();
    QVERIFY(WaitForSequences(window, 2));
    Control<QPushButton>(window, "WaitCancel")->click();
    QVERIFY(fixture.WaitForRunEnd());

    QCOMPARE(fixture.MessageTexts(),
             QStringList{"Zentrope was cancelled. No result file is loaded."});
    const QList<RunRecord> runs = fixture.Runs();
    QCOMPARE(runs.size(), 1);
    QVERIFY(runs[0].end.cancelled);
    QVERIFY(runs[0].end.endedAt.isValid());
    QVERIFY(!QFile::exists(runs[0].folder + '/' + ResultCopyName));
    QVERIFY(ProcessGone(fixture.tester.WaitForRecord().pid));
    // The sections shown stay, saying they are not a whole result.
    QVERIFY2(Verdict(window).contains("cancelled after"), qPrintable(Verdict(window)));
}

void LaunchInterimTest::RunLeftRunningIsWatchedAgainAndCollectedOnce() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl("sections 8 400");
    fixture.window->show();
    fixture.window->ButtRunWaitClick();
    QVERIFY(WaitForSequences(*fixture.window, 1));

    // Closing asks; "Leave it running" closes the window and leaves the tester going.
    fixture.dialogs.choiceAnswers = {0};
    QVERIFY(fixture.window->close());
    QCOMPARE(fixture.dialogs.choiceQuestions.size(), 1);
    fixture.window.reset();
    const qint64 pid = fixture.tester.WaitForRecord().pid;
    QVERIFY(!ProcessGone(pid));
    QList<RunRecord> runs = fixture.Runs();
    QCOMPARE(runs.size(), 1);
    QVERIFY(!runs[0].end.endedAt.isValid());
    QCOMPARE(runs[0].runner.backend, QString("local"));
    QVERIFY2(runs[0].runner.id.startsWith(QString::number(pid) + ' '),
             qPrintable(runs[0].runner.id));

    // The next window watches it again and loads its result once it has ended.
    fixture.Open();
    QVERIFY(fixture.window->WatchedRun());
    QVERIFY(fixture.WaitForRunEnd());
    QCOMPARE(SequenceColumns(*fixture.window), 8);
    runs = fixture.Runs();
    QCOMPARE(runs.size(), 1);
    const QString copy = runs[0].folder + '/' + ResultCopyName;
    QVERIFY(QFile::exists(copy));
    const QDateTime collected = QFileInfo(copy).lastModified();

    // A later window, and its Runs page, find nothing more to watch or collect.
    QTest::qWait(1100); // a second copy would bear a later time
    fixture.Open();
    QVERIFY(!fixture.window->WatchedRun());
    Control<QTabWidget>(*fixture.window, "PC")->setCurrentIndex(4);
    QCOMPARE(QFileInfo(copy).lastModified(), collected);
    QCOMPARE(fixture.Runs().size(), 1);
}

void LaunchInterimTest::TesterThatDiesIsRecordedFailed() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl("sections 3 100\ndie");
    TFIN& window = *fixture.window;
    window.show();
    fixture.RunWaitToEnd();

    const QList<RunRecord> runs = fixture.Runs();
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs[0].end.endSignal, std::optional<int>(SIGKILL));
    QVERIFY(!runs[0].end.cancelled);
    QVERIFY(!QFile::exists(runs[0].folder + '/' + ResultCopyName));
    QCOMPARE(fixture.dialogs.messages.size(), 1);
    QVERIFY2(fixture.dialogs.messages[0].text.contains(
                 QString("Zentrope was ended by signal %1.").arg(SIGKILL)),
             qPrintable(fixture.dialogs.messages[0].text));
    // Whatever sections it finished stay shown as such, never as a whole result.
    QVERIFY(!Verdict(window).contains("interim"));
    if (SequenceColumns(window) > 0)
        QVERIFY2(Verdict(window).contains("failed after"), qPrintable(Verdict(window)));
}

void LaunchInterimTest::AnotherResultOrASaveDuringTheRunAsksFirst() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl("sleep 1500\nsections 20 200");
    TFIN& window = *fixture.window;
    window.show();
    window.ButtRunWaitClick();

    // Before the tester wrote anything, a save over its parameter file asks; going back
    // writes nothing.
    const QByteArray kept = fixture.Read("para");
    Control<QLineEdit>(window, "EditNT")->setText("77");
    QVERIFY(!window.ButtParaSaveClick());
    QCOMPARE(fixture.dialogs.questions.size(), 1);
    QVERIFY(fixture.dialogs.questions[0].contains("may not have read the parameter file"));
    QCOMPARE(fixture.Read("para"), kept);

    // While its sections fill the table, another result asks which to show; keeping the
    // run's leaves the table to it.
    QVERIFY(WaitForSequences(window, 2));
    fixture.Write("other.txt", "Sequence #1\n0.5\tOther\n\n");
    fixture.dialogs.answers = {fixture.Path("other.txt")};
    fixture.dialogs.choiceAnswers = {1};
    Control<QPushButton>(window, "ButtLoadResult")->click();
    QCOMPARE(fixture.dialogs.choiceQuestions.size(), 1);
    QCOMPARE(RowOf(window, "Other"), -1);
    // Showing the other result stops the run's sections from reaching the table.
    fixture.dialogs.answers = {fixture.Path("other.txt")};
    fixture.dialogs.choiceAnswers = {0};
    Control<QPushButton>(window, "ButtLoadResult")->click();
    QVERIFY(RowOf(window, "Other") > 0);
    QTest::qWait(1500);
    QVERIFY(RowOf(window, "DFT") < 0);
    window.WatchedRun()->Cancel();
    QVERIFY(fixture.WaitForRunEnd());
}

ZENTROPE_GUI_TEST_MAIN(LaunchInterimTest)
#include "launch_interim_test.moc"
