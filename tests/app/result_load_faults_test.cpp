// Loads that must not freeze or mislead the window: a pipe, a load stopped or the window closed
// while it runs, rows holding values that are no p-values, and files cut short.
#include "app/table/result_table_model.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/results/result_file_text.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTableView>
#include <QTimer>
#include <sys/stat.h>

using zentrope::testing::ResultFile;

namespace {

const std::vector<std::string> Names = {"DFT", "SOB", "Serial"};
const std::string ThreeSections =
    ResultFile(Names, {{"0.5", "0.0012", "0.2"}, {"0.25", "0.987", "0.3"}, {"0.75", "0.5", "0.6"}});

TFIN& OpenUnsorted(WindowFixture& f) {
    TFIN& w = f.Open();
    for (const char* box : {"cbSortKS", "cbSortAD", "cbSortSL"})
        Control<QCheckBox>(w, box)->setChecked(false);
    return w;
}

QString Cell(TFIN& w, int col, int row) {
    return w.Table().Model().data(w.Table().Model().index(row, col)).toString();
}

QString ToolTip(TFIN& w, int col, int row) {
    return w.Table().Model().data(w.Table().Model().index(row, col), Qt::ToolTipRole).toString();
}

// A file that takes the loader a good while: 400 tests over 2,000 sequences, about 9 MB.
std::string LargeFile() {
    std::vector<std::string> names;
    for (int t = 0; t < 400; ++t)
        names.push_back("Test " + std::to_string(t));
    std::string text;
    for (int s = 1; s <= 2000; ++s) {
        text += "Sequence #" + std::to_string(s) + "\n";
        for (int t = 0; t < 400; ++t)
            text += "0." + std::to_string((s * 7919 + t * 104729) % 9999991) + "\t" +
                    names[size_t(t)] + "\n";
        text += "\n";
    }
    return text;
}

} // namespace

class ResultLoadFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void APipeIsRefusedAtOnceAndChangesNothing() {
        WindowFixture f;
        TFIN& w = OpenUnsorted(f);
        f.Write("run.txt", QByteArray::fromStdString(ThreeSections));
        w.LoadResultFile(f.Path("run.txt"));
        const QString fifo = f.Path("pipe");
        QVERIFY(mkfifo(fifo.toLocal8Bit().constData(), 0600) == 0);
        QElapsedTimer clock;
        clock.start();
        w.LoadResultFile(fifo); // without the check, this waits for a writer for ever
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(f.MessageTexts().last(),
                 fifo +
                     " is not a regular file (a pipe, a device or a socket) and cannot be loaded.");
        QCOMPARE(Cell(w, 1, 1), QString("DFT"));
    }

    void AStoppedLoadLeavesTheWindowAsItWas() {
        WindowFixture f;
        TFIN& w = OpenUnsorted(f);
        f.Write("run.txt", QByteArray::fromStdString(ThreeSections));
        w.LoadResultFile(f.Path("run.txt"));
        f.Write("large.txt", QByteArray::fromStdString(LargeFile()));
        // The window's events go on during the load: a stop comes through.
        QTimer::singleShot(0, &w, [&w] { w.CancelResultLoad(); });
        w.LoadResultFile(f.Path("large.txt"));
        QCOMPARE(w.Table().Model().rowCount(), 4);
        QCOMPARE(Cell(w, 1, 1), QString("DFT"));
        QCOMPARE(f.MessageTexts().size(), 0);
        // Not stopped, the same file loads whole.
        w.LoadResultFile(f.Path("large.txt"));
        QCOMPARE(w.Table().Model().rowCount(), 401);
    }

    void ClosingTheWindowStopsTheLoad() {
        WindowFixture f;
        TFIN& w = OpenUnsorted(f);
        w.show();
        f.Write("large.txt", QByteArray::fromStdString(LargeFile()));
        QTimer::singleShot(0, &w, [&w] { w.close(); });
        w.LoadResultFile(f.Path("large.txt"));
        QVERIFY(!w.isVisible());
        QCOMPARE(w.Table().Model().rowCount() <= 2, true); // the empty table, nothing loaded
        QCOMPARE(f.MessageTexts().size(), 0);
    }

    void ARowHoldingNoPValuesSaysSoAndFailsTheRun() {
        WindowFixture f;
        TFIN& w = OpenUnsorted(f);
        f.Write("run.txt", QByteArray::fromStdString(ResultFile(Names, {{"0.1", "0.1", "0.1"},
                                                                        {"0.5", "inf", "0.5"},
                                                                        {"0.9", "0.5", "0.9"},
                                                                        {"0.3", "0.9", "0.3"}})));
        w.LoadResultFile(f.Path("run.txt"));
        // SOB: three p-values counted, no figures (not AD 1.0000000 for "inf").
        QCOMPARE(Cell(w, 2, 2), QString("3"));
        for (int col = 8; col <= 10; ++col)
            QCOMPARE(Cell(w, col, 2), QString("- error -"));
        const QString tip = ToolTip(w, 8, 2);
        QVERIFY2(tip.contains("not a p-value"), qPrintable(tip));
        QCOMPARE(ToolTip(w, 1, 2), tip);
        const QString verdict = Control<QLabel>(w, "LabVerdict")->text();
        QVERIFY2(verdict.contains("<b>FAILS</b>") && verdict.contains("not p-values") &&
                     verdict.contains("SOB"),
                 qPrintable(verdict));
        auto* view = Control<QTableView>(w, "SG");
        view->setCurrentIndex(w.Table().Model().index(2, 4));
        const QString pane = Control<QLabel>(w, "LabDetailFigures")->text();
        QVERIFY2(pane.contains("1 not p-values") && pane.contains("not a p-value"),
                 qPrintable(pane));
    }

    void AFileCutShortWarnsAndIsIncomplete() {
        WindowFixture f;
        TFIN& w = OpenUnsorted(f);
        f.Write("run.txt", QByteArray::fromStdString(ThreeSections + "Sequence #4\n0.4\tDFT\n"));
        w.LoadResultFile(f.Path("run.txt"));
        QCOMPARE(f.MessageTexts(),
                 QStringList("The result file is incomplete. Sequence 4 holds 1 line of 3. The "
                             "rows are figured from the values they hold."));
        QVERIFY(Control<QLabel>(w, "LabVerdict")->text().contains("<b>incomplete</b>"));
        // SOB has no line in sequence 4: three values, not four with a 0.
        QCOMPARE(Cell(w, 2, 2), QString("3"));
    }
};

ZENTROPE_GUI_TEST_MAIN(ResultLoadFaultsTest)
#include "result_load_faults_test.moc"
