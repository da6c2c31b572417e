// The run's verdict above the table after a load, the flags and full figures in tooltips, and
// the switch that hides the sequence columns.
#include "app/table/result_table_model.h"
#include "app/table/run_verdict_line.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/results/result_file_text.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <cmath>

using zentrope::testing::ResultFile;

namespace {

// Ten sequences. "Bad" holds only values near 0, so its KS p-value is tiny; the other three
// spread evenly over [0, 1] and pass any threshold below 0.25.
std::string FourTests() {
    std::vector<std::vector<std::string>> sections;
    for (int s = 0; s < 10; ++s) {
        const std::string even = "0." + std::to_string(s) + "5";
        const std::string low = "0.00" + std::to_string(s + 1);
        sections.push_back({even, low, even, even});
    }
    return ResultFile({"Even1", "Bad", "Even2", "Even3"}, sections);
}

TFIN& LoadFourTests(WindowFixture& f) {
    TFIN& w = f.Open();
    for (const char* box : {"cbSortKS", "cbSortAD", "cbSortSL"})
        Control<QCheckBox>(w, box)->setChecked(false);
    Control<QLineEdit>(w, "EditKSmin")->setText("0.25");
    Control<QLineEdit>(w, "EditADmin")->setText("0");
    Control<QLineEdit>(w, "EditSLmax")->setText("100");
    f.Write("run.txt", QByteArray::fromStdString(FourTests()));
    w.LoadResultFile(f.Path("run.txt"));
    return w;
}

int ColumnNamed(const ResultTableModel& model, std::string_view header) {
    for (int col = 0; col < model.columnCount(); ++col)
        if (model.Cell(col, 0) == header)
            return col;
    return -1;
}

QStringList AllCells(const ResultTableModel& model) {
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row)
        for (int col = 0; col < model.columnCount(); ++col)
            cells << QString::fromUtf8(model.Cell(col, row));
    return cells;
}

} // namespace

class RunVerdictTest : public QObject {
    Q_OBJECT

private slots:
    void VerdictCountsTheFailingRowAndNamesIt() {
        WindowFixture f;
        TFIN& w = LoadFourTests(f);
        const QString text = Control<QLabel>(w, "LabVerdict")->text();
        QVERIFY2(text.startsWith("4 rows, 10 sequences."), qPrintable(text));
        // One row below KSmin; four rows with a KS figure times 0.25 expected by chance.
        QVERIFY2(text.contains("below KSmin 0.25: <b>1</b> (1.0 expected by chance)"),
                 qPrintable(text));
        QVERIFY2(text.contains("below ADmin: off") && text.contains("above SLmax: off"),
                 qPrintable(text));
        // Holm's smallest adjusted value is the smallest p-value times the family's size.
        const int ks = ColumnNamed(w.Table().Model(), "KS");
        QVERIFY(ks > 0);
        const double badKs =
            w.Table().Model().index(2, ks).data(Qt::ToolTipRole).toString().toDouble();
        QVERIFY(badKs > 0 && badKs < 1e-6);
        QVERIFY2(text.contains("Holm over 4 rows at 0.01: <b>FAILS</b>, worst row "
                               "<a href=\"row\">Bad</a> (adjusted p " +
                               QString::number(4 * badKs, 'e', 2) + ")"),
                 qPrintable(text));

        // The worst row's link selects its row, wherever sorting has put it.
        w.Table().SGMouseUp(Qt::LeftButton, zentrope::SortMarker, -ks);
        QCOMPARE(w.Table().Model().Cell(1, 4), "Bad");
        emit Control<QLabel>(w, "LabVerdict")->linkActivated("row");
        QCOMPARE(Control<QTableView>(w, "SG")->currentIndex().row(), 4);
        // It is the one row the battery fails on, listed with its own link.
        QVERIFY2(text.endsWith(QStringLiteral(" Failing: <a href=\"row:1\">Bad</a> (KS %1).")
                                   .arg(QString::number(badKs, 'e', 1))),
                 qPrintable(text));
        Control<QTableView>(w, "SG")->setCurrentIndex({});
        emit Control<QLabel>(w, "LabVerdict")->linkActivated("row:1");
        QCOMPARE(Control<QTableView>(w, "SG")->currentIndex().row(), 4);
    }

    // An emptied threshold field switches its check off; it never becomes a threshold of 0,
    // which every row's SL would cross.
    void EmptiedThresholdsSwitchTheirChecksOff() {
        WindowFixture f;
        TFIN& w = f.Open();
        for (const char* box : {"cbSortKS", "cbSortAD", "cbSortSL"})
            Control<QCheckBox>(w, box)->setChecked(false);
        for (const char* field : {"EditKSmin", "EditADmin", "EditSLmax"})
            Control<QLineEdit>(w, field)->setText("");
        f.Write("run.txt", QByteArray::fromStdString(FourTests()));
        w.LoadResultFile(f.Path("run.txt"));
        const QString text = Control<QLabel>(w, "LabVerdict")->text();
        QVERIFY2(text.contains("below ADmin: off") && text.contains("above SLmax: off"),
                 qPrintable(text));
        for (int row = 1; row <= 4; ++row)
            QCOMPARE(w.Table().Model().index(row, 1).data(Qt::ToolTipRole).toString(), QString());
    }

    void TooltipsNameFlagsAndFullFigures() {
        WindowFixture f;
        TFIN& w = LoadFourTests(f);
        const QString bad = w.Table().Model().index(2, 1).data(Qt::ToolTipRole).toString();
        QVERIFY2(bad.contains("KS below KSmin") && !bad.contains("AD"), qPrintable(bad));
        QVERIFY(w.Table().Model().index(1, 1).data(Qt::ToolTipRole).toString().isEmpty());
        // Full precision in scientific notation: the 7-decimal cell rounds the same number.
        for (std::string_view header : {"KS", "AD"}) {
            const int col = ColumnNamed(w.Table().Model(), header);
            for (int row = 1; row < w.Table().Model().rowCount(); ++row) {
                const QString tip =
                    w.Table().Model().index(row, col).data(Qt::ToolTipRole).toString();
                QVERIFY2(tip.contains('e'), qPrintable(tip));
                const QString cell = QString::fromUtf8(w.Table().Model().Cell(col, row));
                const qsizetype decimals = cell.size() - cell.indexOf('.') - 1;
                const double halfStep = 0.5 * std::pow(10.0, -double(decimals)) * 1.0001;
                QVERIFY2(std::abs(tip.toDouble() - cell.toDouble()) <= halfStep, qPrintable(tip));
            }
        }
        QVERIFY(w.Table().Model().index(1, 3).data(Qt::ToolTipRole).toString().isEmpty());
    }

    void SequenceColumnsSwitchHidesOnlyThem() {
        WindowFixture f;
        TFIN& w = LoadFourTests(f);
        auto* view = Control<QTableView>(w, "SG");
        const QStringList before = AllCells(w.Table().Model());
        const int end = w.Table().Model().SequenceColumnEnd();
        QCOMPARE(end, 13);
        Control<QCheckBox>(w, "cbSequenceColumns")->setChecked(false);
        for (int col = 3; col < end; ++col)
            QVERIFY(view->isColumnHidden(col));
        for (int col = end; col < w.Table().Model().columnCount(); ++col)
            QVERIFY(!view->isColumnHidden(col));
        QCOMPARE(AllCells(w.Table().Model()), before);
        // The choice holds for the next load, and switching back shows the columns again.
        w.LoadResultFile(f.Path("run.txt"));
        QVERIFY(view->isColumnHidden(3) && view->isColumnHidden(end - 1));
        // Sequences a running tester adds meanwhile come in hidden; the summaries stay shown.
        w.Table().AppendSections("Sequence #11\n0.5\tEven1\n0.5\tBad\n0.5\tEven2\n0.5\tEven3\n\n",
                                 zentrope::ResultLoadOptions{}, QString());
        const int grown = w.Table().Model().SequenceColumnEnd();
        QCOMPARE(grown, end + 1);
        for (int col = 3; col < w.Table().Model().columnCount(); ++col)
            QCOMPARE(view->isColumnHidden(col), col < grown);
        Control<QCheckBox>(w, "cbSequenceColumns")->setChecked(true);
        for (int col = 3; col < grown; ++col)
            QVERIFY(!view->isColumnHidden(col));
        w.LoadResultFile(f.Path("run.txt"));
        QCOMPARE(AllCells(w.Table().Model()), before);
    }
};

ZENTROPE_GUI_TEST_MAIN(RunVerdictTest)
#include "run_verdict_test.moc"
