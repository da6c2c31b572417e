// The Runs page's comparison: recorded runs and a result file from disk read off the window's
// thread, matched by test name worst first, their parameter files' differences beside, and the
// comparison exported as CSV.
#include "results/grid/csv.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

using namespace zentrope;

class RunsCompareTest : public QObject {
    Q_OBJECT
private slots:
    void comparesRunsWithAFileAndExportsCsv();
};

namespace {

QStringList RowTexts(const QAbstractItemModel& model, int row) {
    QStringList texts;
    for (int col = 0; col < model.columnCount(); ++col)
        texts << model.index(row, col).data().toString();
    return texts;
}

} // namespace

void RunsCompareTest::comparesRunsWithAFileAndExportsCsv() {
    LaunchFixture fixture;
    QVERIFY(fixture.isValid());
    TFIN& window = *fixture.window;
    window.show();
    Control<QLineEdit>(window, "EditKSmin")->setText("0.01");
    Control<QLineEdit>(window, "EditNT")->setText("7");
    fixture.RunWaitToEnd();
    QTest::qWait(1100); // runs are told apart by their start to the second
    Control<QLineEdit>(window, "EditNT")->setText("9");
    fixture.RunWaitToEnd();
    // DFT far from uniform (D = 0.97 with three values: a KS p-value well below KSmin), no
    // Runs row, and a Serial row that no run holds.
    fixture.Write("other.txt", "Sequence #1\n0.01\tDFT\n0.5\tSerial\n\n"
                               "Sequence #2\n0.02\tDFT\n0.5\tSerial\n\n"
                               "Sequence #3\n0.03\tDFT\n0.5\tSerial\n\n");

    auto* pages = Control<QTabWidget>(window, "PC");
    pages->setCurrentWidget(Control<QWidget>(window, "TSruns"));
    auto* list = Control<QTableView>(window, "RunsList");
    QCOMPARE(list->model()->rowCount(), 2);
    list->setCurrentIndex(list->model()->index(0, 0));
    Control<QPushButton>(window, "RunsCompare")->click();
    QCOMPARE(fixture.dialogs.messages.size(), 1); // one run alone is not compared

    list->selectAll();
    fixture.dialogs.answers = {fixture.Path("other.txt")};
    // The comparison follows the added file at once.
    Control<QPushButton>(window, "CompareAddFile")->click();
    QCOMPARE(Control<QTabWidget>(window, "RunsDetail")->currentWidget(),
             Control<QWidget>(window, "RunsCompareView"));
    const QAbstractItemModel& table = *Control<QTableView>(window, "CompareTable")->model();
    QTRY_COMPARE(table.rowCount(), 3);
    QCOMPARE(table.headerData(4, Qt::Horizontal).toString(),
             "KS generator " + fixture.Runs()[0].startedAt.toString(Qt::ISODate));
    QCOMPARE(table.headerData(12, Qt::Horizontal).toString(), QString("SL other.txt"));
    // Worst first: DFT, whose file differs from the runs; Runs, alike in the two runs that
    // hold it; Serial, held by the file alone and so without a test.
    const QStringList dft = RowTexts(table, 0);
    QCOMPARE(dft.mid(0, 3), QStringList({"DFT", "3 of 3", "1"}));
    QVERIFY(dft[3].toDouble() < 0.1);
    const QStringList runs = RowTexts(table, 1);
    QCOMPARE(runs.mid(0, 3), QStringList({"Runs", "2 of 3", "0"}));
    QVERIFY(runs[3].toDouble() > 0.5);
    QCOMPARE(runs.mid(10), QStringList({"missing", "missing", "missing"}));
    QCOMPARE(RowTexts(table, 2).mid(0, 4), QStringList({"Serial", "1 of 3", "0", "n/a"}));

    const QString differences = Control<QPlainTextEdit>(window, "CompareParameters")->toPlainText();
    QVERIFY2(
        differences.contains(QRegularExpression("^- NT 9\\s", QRegularExpression::MultilineOption)),
        qPrintable(differences));
    QVERIFY(differences.contains(
        QRegularExpression("^\\+ NT 7\\s", QRegularExpression::MultilineOption)));
    QVERIFY(differences.contains("other.txt: no parameter file."));

    fixture.dialogs.answers = {fixture.Path("comparison.csv")};
    Control<QPushButton>(window, "CompareExportCsv")->click();
    const QByteArray csv = fixture.Read("comparison.csv");
    const std::optional<CsvTable> rows = ReadCsv(csv.toStdString());
    QVERIFY(rows);
    QCOMPARE(rows->size(), size_t(4));
    QCOMPARE(QString::fromStdString((*rows)[1][0]), QString("DFT"));
    QCOMPARE(QString::fromStdString((*rows)[3][3]), QString("n/a"));
}

ZENTROPE_GUI_TEST_MAIN(RunsCompareTest)
#include "launch_runs_compare_test.moc"
