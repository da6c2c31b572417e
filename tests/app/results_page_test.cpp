// Loading a result file through the window: the text page, the table model, the fixed cells,
// sorting by right clicks on the header row and by the sort boxes, and the failures.
#include "app/table/result_table_control.h"
#include "app/table/result_table_headers.h"
#include "app/table/result_table_model.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/results/result_file_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <sys/resource.h>

using zentrope::testing::ResultFile;

namespace {

const std::vector<std::string> Names = {"DFT", "SOB", "Serial"};
// Three sections: every row gets KS, AD and SL figures.
const std::string ThreeSections =
    ResultFile(Names, {{"0.5", "0.0012", "-1"}, {"0.25", "0.987", "0.3"}, {"0.75", "0.5", "0.6"}});

// A window shown offscreen, with no sort box checked.
TFIN& OpenShown(WindowFixture& f) {
    TFIN& w = f.Open();
    for (QCheckBox* box : {Control<QCheckBox>(w, "cbSortKS"), Control<QCheckBox>(w, "cbSortAD"),
                           Control<QCheckBox>(w, "cbSortSL")})
        box->setChecked(false);
    w.resize(900, 700);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        qWarning("window not exposed");
    return w;
}

QString WriteResults(const WindowFixture& f, const std::string& text,
                     const QString& name = "results.txt") {
    f.Write(name, QByteArray::fromStdString(text));
    return f.Path(name);
}

// Presses and releases a mouse button over cell (col, row) of SG, on whichever part of the
// table shows it.
void ClickCell(TFIN& w, Qt::MouseButton button, int col, int row) {
    QApplication::processEvents();
    const QPoint at = w.Table().GridControl().CellCentre({col, row});
    QWidget* target = Control<QTableView>(w, "SG")->childAt(at);
    QVERIFY(target != nullptr);
    QTest::mouseClick(target, button, {}, target->mapFrom(Control<QTableView>(w, "SG"), at));
}

// The process's virtual memory size (VmSize), in MB.
long VirtualMegabytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            return line.mid(7).trimmed().split(' ').value(0).toLong() / 1024;
    return -1;
}

} // namespace

class ResultsPageTest : public QObject {
    Q_OBJECT

private slots:
    void LoadShowsTheTextThenTheTable() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        const QString path = WriteResults(f, ThreeSections);
        w.LoadResultFile(path);
        const qsizetype lastLine = Control<ResultTextView>(w, "RE")->Lines().Count() - 1;
        QCOMPARE(Control<ResultTextView>(w, "RE")->Lines().Text(0, lastLine).toStdString(),
                 ThreeSections);
        QCOMPARE(Control<QTabWidget>(w, "PC")->tabText(
                     Control<QTabWidget>(w, "PC")->indexOf(Control<QWidget>(w, "TSresults"))),
                 "Results: " + path);
        QCOMPARE(Control<ResultTextView>(w, "RE")->SelectedText(), QString("\n"));
        QCOMPARE(Control<ResultTextView>(w, "RE")->Caret(),
                 Control<ResultTextView>(w, "RE")->EndPosition());
        QCOMPARE(Control<ResultTextView>(w, "RE")->TabStopsInPixels().size(), 5);
        QCOMPARE(Control<QTabWidget>(w, "PC")->currentWidget(), Control<QWidget>(w, "TStable"));
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.MessageTexts().join('|')));
    }

    void ModelRowZeroIsTheHeaderRow() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        QAbstractItemModel* model = Control<QTableView>(w, "SG")->model();
        QCOMPARE(model->rowCount(), 4);
        QCOMPARE(model->columnCount(), 10);
        QStringList headers;
        for (int col = 0; col < model->columnCount(); ++col)
            headers << CellText(w, col, 0);
        QCOMPARE(headers,
                 QStringList({"N", "Test name", "pvals", "1", "2", "3", "", "KS", "AD", "SL"}));
        // index(r, c) is cell (c, r): column 4 is the second sequence.
        QCOMPARE(ColumnTexts(w, 4), QStringList({"0.25", "0.987", "0.3"}));
        QCOMPARE(ColumnTexts(w, 1), QStringList({"DFT", "SOB", "Serial"}));
        QCOMPARE(ColumnTexts(w, 2), QStringList({"3", "3", "2"}));
        QCOMPARE(CellText(w, 3, 3), QString("- error -"));
        QCOMPARE(CellText(w, 7, 3), QString("- error -")); // two values give no KS
        QCOMPARE(model->headerData(7, Qt::Horizontal).toString(), QString("KS"));
    }

    void ALoadReplacesEveryCell() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        w.LoadResultFile(WriteResults(f, ResultFile({"GCD", "Runs"}, {{"0.1", "0.2"}}), "b.txt"));
        QAbstractItemModel* model = Control<QTableView>(w, "SG")->model();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->columnCount(), 4);
        QCOMPARE(ColumnTexts(w, 1), QStringList({"GCD", "Runs"}));
        QCOMPARE(ColumnTexts(w, 3), QStringList({"0.1", "0.2"}));
        QCOMPARE(ColumnTexts(w, 2), QStringList({"1", "1"}));
        // The header row and the fixed columns are drawn by the headers, not twice.
        QVERIFY(Control<QTableView>(w, "SG")->isRowHidden(0));
        for (int col = 0; col < 3; ++col)
            QVERIFY(Control<QTableView>(w, "SG")->isColumnHidden(col));
        QVERIFY(!Control<QTableView>(w, "SG")->isColumnHidden(3));
    }

    void ColumnsFitTheirWidestTextAndRowsTheFont() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        const std::string longName = "Tough birthday spacings";
        w.LoadResultFile(WriteResults(
            f, ResultFile({"DFT", longName}, {{"0.5", "0.25"}, {"0.5", "0.123456789"}})));
        const QFontMetrics metrics(Control<QTableView>(w, "SG")->font());
        QVERIFY(w.Table().GridControl().ColumnWidth(1) >=
                metrics.horizontalAdvance(QString::fromStdString(longName)) + 10);
        QVERIFY(w.Table().GridControl().ColumnWidth(4) >=
                metrics.horizontalAdvance("0.123456789") + 6);
        QVERIFY(w.Table().GridControl().ColumnWidth(3) < w.Table().GridControl().ColumnWidth(4));
        QCOMPARE(w.Table().GridControl().ColumnWidth(5), 20); // the spacer
        QCOMPARE(Control<QTableView>(w, "SG")->verticalHeader()->sectionSize(1),
                 metrics.height() + 4);
    }

    // Below the last row and right of the last column lies the table's background, also
    // beside the header row and under the fixed columns.
    void PastTheLastCellIsTheTablesBackground() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        QApplication::processEvents();
        const QImage shot = Control<QTableView>(w, "SG")->grab().toImage();
        const QRect fixed = Control<QTableView>(w, "SG")->verticalHeader()->geometry();
        const QRect headerRow = Control<QTableView>(w, "SG")->horizontalHeader()->geometry();
        const QColor base = Control<QTableView>(w, "SG")->palette().color(QPalette::Base);
        QCOMPARE(shot.pixelColor(fixed.center().x(), fixed.bottom() - 4), base);
        QCOMPARE(shot.pixelColor(headerRow.right() - 4, headerRow.center().y()), base);
        // The cells themselves keep their look.
        QVERIFY(shot.pixelColor(fixed.left() + 1, fixed.top() + 4) != base);
    }

    // A long path shortens the Results tab alone: every tab stays in sight, the others whole,
    // while the caption itself stays whole, also as the tab's hint.
    void ALongResultPathLeavesEveryTabInSight() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        const QString path = WriteResults(f, ThreeSections, QString(150, 'r') + ".txt");
        w.LoadResultFile(path);
        QApplication::processEvents();
        const QTabBar* tabs = Control<QTabWidget>(w, "PC")->tabBar();
        const int results = Control<QTabWidget>(w, "PC")->indexOf(Control<QWidget>(w, "TSresults"));
        QCOMPARE(Control<QTabWidget>(w, "PC")->tabText(results), "Results: " + path);
        QCOMPARE(Control<QTabWidget>(w, "PC")->tabToolTip(results), "Results: " + path);
        const QFontMetrics metrics(tabs->font());
        QVERIFY(tabs->tabRect(results).height() < metrics.horizontalAdvance(path));
        for (int tab = 0; tab < tabs->count(); ++tab) {
            QVERIFY(tabs->rect().contains(tabs->tabRect(tab)));
            if (tab != results)
                QVERIFY(tabs->tabRect(tab).height() >
                        metrics.horizontalAdvance(Control<QTabWidget>(w, "PC")->tabText(tab)));
        }
    }

    // Scrolled to the far right, the first column in sight is whole, as everywhere else, and so
    // is the last one.
    void ScrolledToTheEndEveryColumnInSightIsWhole() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        const std::vector<std::string> section(Names.size(), "0.123456789");
        w.LoadResultFile(WriteResults(f, ResultFile(Names, {30, section})));
        QApplication::processEvents();
        QScrollBar* bar = Control<QTableView>(w, "SG")->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        const QHeaderView* header = Control<QTableView>(w, "SG")->horizontalHeader();
        const int first = header->logicalIndexAt(0);
        const int last = header->count() - 1;
        QCOMPARE(header->sectionViewportPosition(first), 0);
        QVERIFY(header->sectionViewportPosition(last) + header->sectionSize(last) <=
                Control<QTableView>(w, "SG")->viewport()->width());
        QCOMPARE(w.Table().GridControl().CellAt(w.Table().GridControl().CellCentre({last, 1})).col,
                 last);
        bar->setValue(0);
        QCOMPARE(header->logicalIndexAt(0), 3);
    }

    void FixedColumnsResizeByTheirHeaderBorders() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        const int before = w.Table().GridControl().ColumnWidth(1);
        const QPoint name = w.Table().GridControl().CellCentre({1, 0});
        QWidget* corner = Control<QTableView>(w, "SG")->childAt(name);
        const QPoint border =
            corner->mapFrom(Control<QTableView>(w, "SG"), name) + QPoint(before / 2, 0);
        QTest::mousePress(corner, Qt::LeftButton, {}, border);
        QTest::mouseMove(corner, border + QPoint(30, 0));
        QTest::mouseRelease(corner, Qt::LeftButton, {}, border + QPoint(30, 0));
        QVERIFY(qAbs(w.Table().GridControl().ColumnWidth(1) - (before + 30)) <= 1);
        // The fixed columns and, left of them, the strip of the rows' marks.
        const auto* fixed =
            static_cast<FixedColumnsHeader*>(Control<QTableView>(w, "SG")->verticalHeader());
        QCOMPARE(fixed->width(), fixed->MarkWidth() + w.Table().GridControl().ColumnWidth(0) +
                                     w.Table().GridControl().ColumnWidth(1) +
                                     w.Table().GridControl().ColumnWidth(2));
    }

    void RightClicksOnTheHeaderRowSortAndToggle() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        ClickCell(w, Qt::RightButton, 4, 0);
        QCOMPARE(ColumnTexts(w, 4), QStringList({"0.25", "0.3", "0.987"}));
        QCOMPARE(ColumnTexts(w, 1), QStringList({"DFT", "Serial", "SOB"})); // rows stay whole
        ClickCell(w, Qt::RightButton, 4, 0);
        QCOMPARE(ColumnTexts(w, 4), QStringList({"0.987", "0.3", "0.25"}));
        // Another header starts ascending again; "- error -" counts as -1.
        ClickCell(w, Qt::RightButton, 3, 0);
        QCOMPARE(ColumnTexts(w, 3), QStringList({"- error -", "0.0012", "0.5"}));
        // The header of a fixed column sorts too: column 0 gives back the file's order.
        ClickCell(w, Qt::RightButton, 0, 0);
        QCOMPARE(ColumnTexts(w, 1), QStringList({"DFT", "SOB", "Serial"}));
        ClickCell(w, Qt::RightButton, 1, 0);
        QCOMPARE(ColumnTexts(w, 1), QStringList({"DFT", "SOB", "Serial"})); // upper case first
        QCOMPARE(w.Table().Sorting().LastSortColumn, 1);
        QCOMPARE(w.Table().Sorting().SortAscending, 1);
    }

    void OtherReleasesDoNotSort() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        const QStringList before = ColumnTexts(w, 1);
        ClickCell(w, Qt::LeftButton, 4, 0);
        ClickCell(w, Qt::RightButton, 4, 2);
        ClickCell(w, Qt::RightButton, 1, 2);
        QCOMPARE(ColumnTexts(w, 1), before);
        QCOMPARE(w.Table().Sorting().LastSortColumn, -9);
    }

    void TheCheckedSummaryBoxChoosesTheSort() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        const QString path = WriteResults(f, ResultFile(Names, {{"0.5", "0.01", "0.1"},
                                                                {"0.5", "0.02", "0.5"},
                                                                {"0.5", "0.03", "0.9"}}));
        Control<QCheckBox>(w, "cbSortKS")->setChecked(true);
        Control<QCheckBox>(w, "cbSortSL")->setChecked(true); // KS comes first
        w.LoadResultFile(path);
        QCOMPARE(w.Table().Sorting().LastSortColumn, 7);
        QCOMPARE(ColumnTexts(w, 1), QStringList({"SOB", "DFT", "Serial"})); // KS ascending
        // The same column again: the order is reversed.
        w.LoadResultFile(path);
        QCOMPARE(ColumnTexts(w, 1), QStringList({"Serial", "DFT", "SOB"}));

        Control<QCheckBox>(w, "cbSortKS")->setChecked(false);
        w.LoadResultFile(path); // SL: always descending, worst first
        QCOMPARE(w.Table().Sorting().LastSortColumn, 9);
        QCOMPARE(w.Table().Sorting().SortAscending, 0);
        QCOMPARE(ColumnTexts(w, 1).first(), QString("SOB"));
        w.LoadResultFile(path);
        QCOMPARE(w.Table().Sorting().SortAscending, 0);
    }

    void NamesFirstFormatReadsTheSecondField() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        Control<QComboBox>(w, "CBsaveFormat")->setCurrentIndex(1);
        w.LoadResultFile(WriteResults(f, "Sequence #1\nDFT\t0.5\nSOB\t0.25\n\n"));
        QCOMPARE(ColumnTexts(w, 1), QStringList({"DFT", "SOB"}));
        QCOMPARE(ColumnTexts(w, 3), QStringList({"0.5", "0.25"}));
    }

    // "nan" is no p-value: its row has no figures, and its "- error -" sorts as -1.
    void ANanPValueSortsAfterEveryFigure() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        Control<QCheckBox>(w, "cbSortSL")->setChecked(true);
        w.LoadResultFile(WriteResults(
            f, ResultFile({"A", "B", "C"},
                          {{"0.1", "nan", "0.5"}, {"0.2", "0.3", "0.6"}, {"0.4", "0.8", "0.9"}})));
        // SL descending, then a right click makes it ascending: B last, then first.
        for (const bool descending : {true, false}) {
            const QStringList sl = ColumnTexts(w, 9);
            const int b = descending ? 3 : 1; // B's row; sl counts from row 1
            const int first = descending ? 0 : 1;
            QCOMPARE(sl[b - 1], QString("- error -"));
            QCOMPARE(CellText(w, 1, b), QString("B"));
            QVERIFY2(descending ? sl[first].toDouble() > sl[first + 1].toDouble()
                                : sl[first].toDouble() < sl[first + 1].toDouble(),
                     qPrintable(sl.join(' ')));
            ClickCell(w, Qt::RightButton, 9, 0);
        }
        ClickCell(w, Qt::RightButton, 3, 0);
        QCOMPARE(ColumnTexts(w, 3), QStringList({"0.1", "0.5", "nan"}));
    }

    void AFileInTheOtherFormatIsReadInItWithAWarning() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        Control<QComboBox>(w, "CBsaveFormat")->setCurrentIndex(1);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        QCOMPARE(f.dialogs.messages,
                 QList<ShownMessage>({{"The result file holds 'p-value[TAB]test_name' lines; it "
                                       "was read in that format.",
                                       MessageIcon::Warning}}));
        QCOMPARE(Control<QComboBox>(w, "CBsaveFormat")->currentIndex(), 1);
        QCOMPARE(ColumnTexts(w, 1), QStringList({"DFT", "SOB", "Serial"}));
        QCOMPARE(ColumnTexts(w, 3), QStringList({"0.5", "0.0012", "- error -"}));
    }

    void AFileWithoutResultLinesLeavesTheTableEmpty() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        w.LoadResultFile(WriteResults(f, std::string("\x7f"
                                                     "ELF\x02\x01\0\x03\t\n\xff",
                                                     11)));
        QCOMPARE(f.MessageTexts(), QStringList("The result file holds no result lines."));
        QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Warning);
        for (int row = 0; row < Control<QTableView>(w, "SG")->model()->rowCount(); ++row)
            for (int col = 0; col < Control<QTableView>(w, "SG")->model()->columnCount(); ++col)
                QCOMPARE(CellText(w, col, row), QString());
    }

    void RunningOutOfMemoryEmptiesBothPages() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        // A sparse file far larger than the room left under a lowered address space limit.
        QFile big(f.Path("big.txt"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(qint64(512) << 20));
        big.close();
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_AS, &saved) == 0);
        rlimit lowered = saved;
        lowered.rlim_cur = rlim_t(VirtualMegabytes() + 128) << 20;
        QVERIFY(setrlimit(RLIMIT_AS, &lowered) == 0);
        try {
            w.LoadResultFile(big.fileName());
        } catch (...) {
            setrlimit(RLIMIT_AS, &saved);
            QFAIL("the load let an exception out");
        }
        QVERIFY(setrlimit(RLIMIT_AS, &saved) == 0);
        QCOMPARE(f.MessageTexts(), QStringList("The result file is too large to be loaded."));
        QCOMPARE(Control<ResultTextView>(w, "RE")->Lines().ByteSize(), 0);
        for (int row = 0; row < Control<QTableView>(w, "SG")->model()->rowCount(); ++row)
            for (int col = 0; col < Control<QTableView>(w, "SG")->model()->columnCount(); ++col)
                QCOMPARE(CellText(w, col, row), QString());
        // The window goes on.
        w.LoadResultFile(WriteResults(f, ThreeSections));
        QCOMPARE(CellText(w, 1, 1), QString("DFT"));
    }

    void AMissingFileIsReportedAndChangesNothing() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        Control<QTabWidget>(w, "PC")->setCurrentWidget(Control<QWidget>(w, "TSgeneral"));
        const QString caption = Control<QTabWidget>(w, "PC")->tabText(
            Control<QTabWidget>(w, "PC")->indexOf(Control<QWidget>(w, "TSresults")));
        const QString missing = f.Path("none.txt");
        w.LoadResultFile(missing);
        QCOMPARE(f.MessageTexts(), QStringList("Cannot open file " + missing));
        QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Error);
        QCOMPARE(Control<QTabWidget>(w, "PC")->currentWidget(), Control<QWidget>(w, "TSgeneral"));
        QCOMPARE(Control<QTabWidget>(w, "PC")->tabText(
                     Control<QTabWidget>(w, "PC")->indexOf(Control<QWidget>(w, "TSresults"))),
                 caption);
        QCOMPARE(Control<QTableView>(w, "SG")->model()->rowCount(), 4);
    }

    void TheButtonLoadsTheChosenFile() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        const QString path = WriteResults(f, ThreeSections);
        w.ButtLoadResultClick(); // cancelled
        QCOMPARE(Control<QTabWidget>(w, "PC")->currentWidget(), Control<QWidget>(w, "TSgeneral"));
        f.dialogs.answers.push_back(path);
        w.ButtLoadResultClick();
        QCOMPARE(f.dialogs.opened.last().dialog, QString("OD"));
        QCOMPARE(Control<QTabWidget>(w, "PC")->currentWidget(), Control<QWidget>(w, "TStable"));
        QCOMPARE(CellText(w, 1, 1), QString("DFT"));
    }

    void DraggedRowsAndColumnsTakeTheirCells() {
        WindowFixture f;
        TFIN& w = OpenShown(f);
        w.LoadResultFile(WriteResults(f, ThreeSections));
        Control<QTableView>(w, "SG")->verticalHeader()->moveSection(3, 1);
        QCOMPARE(ColumnTexts(w, 1), QStringList({"Serial", "DFT", "SOB"}));
        QCOMPARE(Control<QTableView>(w, "SG")->verticalHeader()->logicalIndex(1),
                 1); // the header itself stays put
        Control<QTableView>(w, "SG")->horizontalHeader()->moveSection(5, 3);
        QCOMPARE(CellText(w, 3, 0), QString("3"));
        QCOMPARE(CellText(w, 4, 0), QString("1"));
        // A sort goes by the place a column is shown at.
        ClickCell(w, Qt::RightButton, 3, 0);
        QCOMPARE(ColumnTexts(w, 3), QStringList({"0.5", "0.6", "0.75"}));
    }
};

ZENTROPE_GUI_TEST_MAIN(ResultsPageTest)
#include "results_page_test.moc"
