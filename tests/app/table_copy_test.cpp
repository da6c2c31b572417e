// Taking the table elsewhere: Ctrl+C as tab-separated text, the whole grid after Ctrl+A,
// the context menu's copies, and a CSV export read back by the CSV reader.
#include "app/table/result_table_commands.h"
#include "app/table/result_table_model.h"
#include "results/grid/csv.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/results/result_file_text.h"

#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>
#include <QTest>

using zentrope::testing::ResultFile;

namespace {

// Names that CSV must quote and one that is not ASCII.
const std::vector<std::string> Names = {"DFT", "Rank, 32x32", "Say \"hi\"", "Lempel-Ziv \xC3\xA9"};

TFIN& LoadTable(WindowFixture& f) {
    TFIN& w = f.Open();
    for (const char* box : {"cbSortKS", "cbSortAD", "cbSortSL"})
        Control<QCheckBox>(w, box)->setChecked(false);
    f.Write("run.txt",
            QByteArray::fromStdString(ResultFile(Names, {{"0.11", "0.21", "0.31", "-1"},
                                                         {"0.12", "0.22", "0.32", "0.42"},
                                                         {"0.13", "0.23", "0.33", "0.43"}})));
    w.LoadResultFile(f.Path("run.txt"));
    return w;
}

void SelectBlock(TFIN& w, int top, int left, int bottom, int right) {
    auto* view = Control<QTableView>(w, "SG");
    view->setCurrentIndex(w.Table().Model().index(top, left));
    view->selectionModel()->select(
        QItemSelection(w.Table().Model().index(top, left), w.Table().Model().index(bottom, right)),
        QItemSelectionModel::ClearAndSelect);
}

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

ResultTableCommands& Commands(TFIN& w) {
    return *w.findChild<ResultTableCommands*>();
}

} // namespace

class TableCopyTest : public QObject {
    Q_OBJECT

private slots:
    void ctrlCCopiesTheSelectedBlock() {
        WindowFixture f;
        TFIN& w = LoadTable(f);
        auto* view = Control<QTableView>(w, "SG");
        // Sequences 2 and 3 of the second and third tests.
        SelectBlock(w, 2, 4, 3, 5);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard(), QString("0.22\t0.23\n0.32\t0.33\n"));
        Commands(w).CopyWithHeaders();
        QCOMPARE(Clipboard(), QString("N\tTest name\tpvals\t2\t3\n"
                                      "2\tRank, 32x32\t3\t0.22\t0.23\n"
                                      "3\tSay \"hi\"\t3\t0.32\t0.33\n"));
        // The current row's p-values, one per line, as the cells show them.
        view->setCurrentIndex(w.Table().Model().index(4, 7));
        Commands(w).CopyPValues();
        QCOMPARE(Clipboard(), QString("- error -\n0.42\n0.43\n"));
    }

    void ctrlACopiesTheWholeGridAsShown() {
        WindowFixture f;
        TFIN& w = LoadTable(f);
        auto* view = Control<QTableView>(w, "SG");
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = Clipboard().split('\n');
        QCOMPARE(lines.size(), w.Table().Model().rowCount() + 1); // the last line ends too
        for (int row = 0; row < w.Table().Model().rowCount(); ++row) {
            QStringList cells;
            for (int col = 0; col < w.Table().Model().columnCount(); ++col)
                cells << QString::fromUtf8(w.Table().Model().Cell(col, row));
            QCOMPARE(lines[row], cells.join('\t'));
        }
        // Hidden sequence columns are not copied.
        Control<QCheckBox>(w, "cbSequenceColumns")->setChecked(false);
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QVERIFY2(Clipboard().startsWith("N\tTest name\tpvals\t\tKS\tAD\tSL\n1\tDFT\t3\t\t"),
                 qPrintable(Clipboard()));
    }

    void menuOpensOnCellsButNotOnTheSortingHeader() {
        WindowFixture f;
        TFIN& w = LoadTable(f);
        auto* view = Control<QTableView>(w, "SG");
        const auto request = [](QWidget* target) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    target->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(target, &event);
        };
        request(view->horizontalHeader()->viewport());
        QVERIFY(!Commands(w).Menu()->isVisible());
        request(view->viewport());
        QVERIFY(Commands(w).Menu()->isVisible());
        Commands(w).Menu()->hide();
    }

    void csvExportReadsBackAsTheTable() {
        WindowFixture f;
        TFIN& w = LoadTable(f);
        // Sorted by name, descending: the export follows the table's current order.
        w.Table().SGMouseUp(Qt::LeftButton, zentrope::SortMarker, -1);
        f.dialogs.answers << f.Path("table.csv");
        Commands(w).ExportCsv();
        QCOMPARE(f.dialogs.opened.last().dialog, QString("SDcsv"));
        QFile file(f.Path("table.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("\"Rank, 32x32\"") && bytes.contains("\"Say \"\"hi\"\"\""));
        const std::optional<zentrope::CsvTable> table = zentrope::ReadCsv(bytes.toStdString());
        QVERIFY(table.has_value());
        QCOMPARE(int(table->size()), w.Table().Model().rowCount());
        for (int row = 0; row < w.Table().Model().rowCount(); ++row) {
            QCOMPARE(int((*table)[size_t(row)].size()), w.Table().Model().columnCount());
            for (int col = 0; col < w.Table().Model().columnCount(); ++col) {
                // A spreadsheet would run "- error -" as a formula: it is marked as text.
                const std::string cell(w.Table().Model().Cell(col, row));
                QCOMPARE((*table)[size_t(row)][size_t(col)],
                         cell == "- error -" ? "'" + cell : cell);
            }
        }
        QVERIFY(bytes.contains(",\"'- error -\","));
        // Byte order descending: Say, Rank, Lempel-Ziv, DFT.
        QCOMPARE((*table)[1][1], Names[2]);
        QCOMPARE((*table)[3][1], Names[3]);
        QVERIFY(f.dialogs.messages.isEmpty());
    }
};

ZENTROPE_GUI_TEST_MAIN(TableCopyTest)
#include "table_copy_test.moc"
