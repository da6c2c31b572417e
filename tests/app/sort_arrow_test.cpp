// The header cell of the last sort shows its direction, and only that cell changes its look.
#include "app/pages/table_page.h"
#include "app/table/result_table_control.h"
#include "app/table/result_table_headers.h"
#include "app/table/result_table_model.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/results/result_file_text.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QTableView>

namespace {

TFIN& OpenLoaded(WindowFixture& f) {
    TFIN& w = f.Open();
    for (const char* name : {"cbSortKS", "cbSortAD", "cbSortSL"})
        Control<QCheckBox>(w, name)->setChecked(false);
    w.resize(900, 700);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        qWarning("window not exposed");
    f.Write("results.txt",
            QByteArray::fromStdString(zentrope::testing::ResultFile(
                {"DFT", "SOB", "Serial"},
                {{"0.5", "0.0012", "-1"}, {"0.25", "0.987", "0.3"}, {"0.75", "0.5", "0.6"}})));
    w.LoadResultFile(f.Path("results.txt"));
    QApplication::processEvents();
    return w;
}

void RightClickHeader(TFIN& w, int col) {
    QApplication::processEvents();
    auto* grid = Control<QTableView>(w, "SG");
    const QPoint at = w.Table().GridControl().CellCentre({col, 0});
    QWidget* target = grid->childAt(at);
    QVERIFY(target != nullptr);
    QTest::mouseClick(target, Qt::RightButton, {}, target->mapFrom(grid, at));
    QApplication::processEvents();
}

// The header cells as drawn: columns 0 to 2 in the corner, the others in the header row.
struct HeaderPicture {
    QImage corner;
    QImage row;
};

HeaderPicture Picture(const TFIN& w) {
    auto* grid = Control<QTableView>(w, "SG");
    auto* corner = grid->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    return {corner->grab().toImage(), grid->horizontalHeader()->viewport()->grab().toImage()};
}

QImage Cell(const TFIN& w, const HeaderPicture& picture, int col) {
    auto* grid = Control<QTableView>(w, "SG");
    if (col < FixedColumnsHeader::Count) {
        const auto* fixed = static_cast<const FixedColumnsHeader*>(grid->verticalHeader());
        return picture.corner.copy(fixed->ColumnLeft(col), 0, fixed->ColumnWidth(col),
                                   picture.corner.height());
    }
    const QHeaderView* header = grid->horizontalHeader();
    return picture.row.copy(header->sectionViewportPosition(col), 0, header->sectionSize(col),
                            picture.row.height());
}

// The columns whose header cell looks different in the two pictures.
QList<int> ChangedCells(const TFIN& w, const HeaderPicture& a, const HeaderPicture& b) {
    QList<int> changed;
    for (int col = 0; col < Control<QTableView>(w, "SG")->model()->columnCount(); ++col)
        if (Cell(w, a, col) != Cell(w, b, col))
            changed << col;
    return changed;
}

} // namespace

class SortArrowTest : public QObject {
    Q_OBJECT

private slots:
    void TheLastSortedHeaderCellShowsTheDirection() {
        WindowFixture f;
        TFIN& w = OpenLoaded(f);
        const HeaderPicture unsorted = Picture(w);

        RightClickHeader(w, 4);
        QCOMPARE(ColumnTexts(w, 4), QStringList({"0.25", "0.3", "0.987"}));
        const HeaderPicture up = Picture(w);
        QCOMPARE(ChangedCells(w, unsorted, up), QList<int>{4});

        RightClickHeader(w, 4);
        QCOMPARE(ColumnTexts(w, 4), QStringList({"0.987", "0.3", "0.25"}));
        const HeaderPicture down = Picture(w);
        QCOMPARE(ChangedCells(w, up, down), QList<int>{4});
        QCOMPARE(ChangedCells(w, unsorted, down), QList<int>{4});

        // A fixed column's header cell, in the corner, takes the arrow over.
        RightClickHeader(w, 1);
        QCOMPARE(ColumnTexts(w, 1), QStringList({"DFT", "SOB", "Serial"}));
        QCOMPARE(ChangedCells(w, unsorted, Picture(w)), QList<int>{1});
        // Only the header cells change: the cells read as any sort leaves them.
        for (int col = 0; col < Control<QTableView>(w, "SG")->model()->columnCount(); ++col)
            QCOMPARE(CellText(w, col, 0),
                     w.Table().Model().headerData(col, Qt::Horizontal).toString());
    }

    // The cells' menu sorts by the current cell's column as a right click on its header does,
    // reversing on a second use, so the keyboard reaches every sort.
    void TheMenuSortsByTheCurrentColumn() {
        WindowFixture f;
        TFIN& w = OpenLoaded(f);
        auto* grid = Control<QTableView>(w, "SG");
        grid->setCurrentIndex(grid->model()->index(2, 4));
        QAction* sort = w.findChild<QAction*>("actSortByColumn");
        QVERIFY(sort != nullptr);
        sort->trigger();
        QCOMPARE(ColumnTexts(w, 4), QStringList({"0.25", "0.3", "0.987"}));
        sort->trigger();
        QCOMPARE(ColumnTexts(w, 4), QStringList({"0.987", "0.3", "0.25"}));
        QVERIFY(!w.Table().Model().SortedColumn()->ascending);
        grid->setCurrentIndex(grid->model()->index(1, 1));
        sort->trigger();
        QCOMPARE(ColumnTexts(w, 1), QStringList({"DFT", "SOB", "Serial"}));
    }

    // The arrow goes with its column when columns are dragged, and goes when rows are dragged
    // out of the sorted order or another file is loaded.
    void TheArrowFollowsItsColumnUntilTheOrderEnds() {
        WindowFixture f;
        TFIN& w = OpenLoaded(f);
        RightClickHeader(w, 5);
        RightClickHeader(w, 5);
        QVERIFY(w.Table().Model().SortedColumn());
        QCOMPARE(w.Table().Model().SortedColumn()->column, 5);
        QVERIFY(!w.Table().Model().SortedColumn()->ascending);

        const QImage sortedCell = Cell(w, Picture(w), 5);
        Control<QTableView>(w, "SG")->horizontalHeader()->moveSection(5, 3);
        QApplication::processEvents();
        QCOMPARE(w.Table().Model().SortedColumn()->column, 3);
        QCOMPARE(Cell(w, Picture(w), 3), sortedCell);

        Control<QTableView>(w, "SG")->verticalHeader()->moveSection(3, 1);
        QVERIFY(!w.Table().Model().SortedColumn());

        RightClickHeader(w, 4);
        QVERIFY(w.Table().Model().SortedColumn());
        w.LoadResultFile(f.Path("results.txt"));
        QVERIFY(!w.Table().Model().SortedColumn());
    }
};

ZENTROPE_GUI_TEST_MAIN(SortArrowTest)
#include "sort_arrow_test.moc"
