// The Runs page tells runs apart without opening them: what each tested and how it came out,
// judged once off the window's thread and kept in the record, sortable worst first and found
// by the filter.
#include "records/run_folder.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"
#include "tests/results/result_file_text.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QThreadPool>

using namespace zentrope;

namespace {

// Ten sequences; each "Bad" test holds only values at most 0.01, far below any level after
// Holm, the others spread evenly over [0, 1].
QByteArray TwoBadRows() {
    const std::vector<std::string> names = {"Bad1", "Frequency", "Bad2", "Serial"};
    std::vector<std::vector<std::string>> sections(10);
    for (int s = 0; s < 10; ++s)
        for (const std::string& name : names)
            sections[size_t(s)].push_back(name.starts_with("Bad") ? "0.00" + std::to_string(s + 1)
                                                                  : "0." + std::to_string(s) + "5");
    return QByteArray::fromStdString(testing::ResultFile(names, sections));
}

QTableView* ShowRuns(TFIN& window) {
    Control<QTabWidget>(window, "PC")->setCurrentWidget(Control<QWidget>(window, "TSruns"));
    return Control<QTableView>(window, "RunsList");
}

int ColumnOf(const QTableView& list, const QString& header) {
    for (int col = 0; col < list.model()->columnCount(); ++col)
        if (list.model()->headerData(col, Qt::Horizontal).toString() == header)
            return col;
    return -1;
}

// Each row as "input | exit | verdict", top first.
QStringList Rows(const QTableView& list) {
    QStringList rows;
    const QAbstractItemModel& model = *list.model();
    for (int row = 0; row < model.rowCount(); ++row)
        rows << QStringList{model.index(row, ColumnOf(list, "Input")).data().toString(),
                            model.index(row, ColumnOf(list, "Exit")).data().toString(),
                            model.index(row, ColumnOf(list, "Verdict")).data().toString()}
                    .join(" | ");
    return rows;
}

} // namespace

class RunsColumnsTest : public QObject {
    Q_OBJECT
private slots:
    void RunsAndImportsSayHowTheyCameOut();
    void AnOlderRecordIsJudgedOnceInTheBackground();
    void ARunOpenedFromTheListNamesItsCharts();
};

void RunsColumnsTest::RunsAndImportsSayHowTheyCameOut() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    TFIN& window = *fixture.window;
    window.show();
    fixture.RunWaitToEnd(); // the test double's result passes
    fixture.tester.SetControl("silent\nexit 2");
    fixture.RunWaitToEnd();
    fixture.Write("bad.txt", TwoBadRows());
    fixture.dialogs.answers = {fixture.Path("bad.txt")};
    window.ButtLoadResultClick();
    QThreadPool::globalInstance()->waitForDone();

    QTableView* list = ShowRuns(window);
    const QString generator = Rows(*list).value(1).section(" | ", 0, 0);
    QVERIFY(!generator.isEmpty());
    QCOMPARE(Rows(*list), (QStringList{"bad.txt |  | FAILS 2 rows", generator + " | 2 | failed",
                                       generator + " | 0 | passes"}));

    // Worst first, then the other way.
    list->sortByColumn(ColumnOf(*list, "Verdict"), Qt::AscendingOrder);
    QCOMPARE(Rows(*list).join(';').count("FAILS"), 1);
    QVERIFY(Rows(*list)[0].endsWith("FAILS 2 rows"));
    QVERIFY(Rows(*list)[1].endsWith("failed"));
    list->sortByColumn(ColumnOf(*list, "Verdict"), Qt::DescendingOrder);
    QVERIFY(Rows(*list)[0].endsWith("passes"));
    QVERIFY(Rows(*list)[2].endsWith("FAILS 2 rows"));

    Control<QLineEdit>(window, "RunsFilter")->setText("fails");
    QCOMPARE(Rows(*list), QStringList{"bad.txt |  | FAILS 2 rows"});
    Control<QLineEdit>(window, "RunsFilter")->setText("bad.txt");
    QCOMPARE(Rows(*list).size(), 1);
}

// A record kept before verdicts were: judged once when the page shows, the cell filled in
// place; the list then never reads its result again.
void RunsColumnsTest::AnOlderRecordIsJudgedOnceInTheBackground() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.Write("bad.txt", TwoBadRows());
    qint64 id = 0;
    QString copy;
    {
        StoreOpening opening = RunStore::Open(RunsRoot());
        QVERIFY(opening.store);
        RunRecord old;
        old.kind = RunKind::Imported;
        old.startedAt = QDateTime::currentDateTime();
        old.folder = MakeRunFolder(opening.store->Root(), old.startedAt).path;
        old.source = fixture.Path("bad.txt");
        id = opening.store->Add(old, fixture.Path("bad.txt")).id;
        QVERIFY(id > 0);
        copy = old.folder + '/' + ResultCopyName;
    }
    TFIN& window = *fixture.window;
    window.show();
    QTableView* list = ShowRuns(window);
    QCOMPARE(list->model()->rowCount(), 1);
    QTRY_COMPARE(Rows(*list), QStringList{"bad.txt |  | FAILS 2 rows"});
    QThreadPool::globalInstance()->waitForDone();
    const std::optional<RunRecord> judged = RunStore::Open(RunsRoot()).store->Get(id);
    QVERIFY(judged && judged->verdict);
    QCOMPARE(judged->verdict->failingRows, 2);

    // Whatever the kept file says now, the list shows what was judged.
    fixture.Write(copy, zentrope::fake_tester::ResultText);
    Control<QTabWidget>(window, "PC")->setCurrentIndex(0);
    ShowRuns(window);
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCOMPARE(Rows(*list), QStringList{"bad.txt |  | FAILS 2 rows"});
}

// A chart of a run opened from the list is proposed under the run's input and start time,
// not the kept copy's own name.
void RunsColumnsTest::ARunOpenedFromTheListNamesItsCharts() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.Write("bad.txt", TwoBadRows());
    {
        StoreOpening opening = RunStore::Open(RunsRoot());
        QVERIFY(opening.store);
        RunRecord run;
        run.startedAt = QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0));
        run.end.endedAt = run.startedAt.addSecs(60);
        run.end.exitCode = 0;
        run.folder = MakeRunFolder(opening.store->Root(), run.startedAt).path;
        run.inputs << InputFileFacts{"/data/bits 51%.bin", 1000, run.startedAt, QString()};
        QVERIFY(opening.store->Add(run, fixture.Path("bad.txt")).id > 0);
    }
    TFIN& window = *fixture.window;
    window.show();
    QTableView* list = ShowRuns(window);
    list->setCurrentIndex(list->model()->index(0, 0));
    Control<QPushButton>(window, "RunsOpenResult")->click();
    Control<QPushButton>(window, "ButtSaveEdfChart")->click();
    QCOMPARE(fixture.dialogs.opened.size(), 1);
    const QString proposed = fixture.dialogs.opened[0].fileName;
    QVERIFY2(proposed.endsWith("bits_51_.bin_20261207-120000_distribution.png"),
             qPrintable(proposed));
}

ZENTROPE_GUI_TEST_MAIN(RunsColumnsTest)
#include "launch_runs_columns_test.moc"
