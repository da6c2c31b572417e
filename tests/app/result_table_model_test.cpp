// The result table model's numbers behind the texts: a cell's number and its whole row.
#include "app/table/result_table_model.h"
#include "results/grid/result_loader.h"
#include "tests/app/gui_test_main.h"

#include <sstream>

using namespace zentrope;

class ResultTableModelTest : public QObject {
    Q_OBJECT

private slots:
    void numbersAndRowsFollowTheShownPlaces() {
        ResultTableModel model;
        std::istringstream file("Sequence #1\n0.5\tDFT\n-1\tSOB\n0.25\tRuns\n\n"
                                "Sequence #2\n0.75\tDFT\n0.125\tSOB\n0.5\tRuns\n\n"
                                "Sequence #3\n0.875\tDFT\n0.0625\tSOB\n1e-3\tRuns\n\n");
        model.Reload([&](ResultGrid& grid) { LoadResultStream(file, {}, grid); });
        const auto number = [&](int row, int col) {
            return model.data(model.index(row, col), ResultTableModel::NumberRole);
        };
        QCOMPARE(number(2, 3).toDouble(), -1.0);
        QCOMPARE(number(3, 5).toDouble(), 0.001);
        QCOMPARE(number(1, 0).toDouble(), 1.0);
        QVERIFY(!number(0, 3).isValid()); // the header row holds no numbers

        // Moved, a column keeps its numbers; sorted, a row keeps its whole record.
        model.MoveColumn(5, 3);
        QCOMPARE(number(3, 3).toDouble(), 0.001);
        model.Sort(DecideHeaderSort(SortState{}, 1)); // names: DFT, Runs, SOB
        const auto row =
            model.data(model.index(3, 7), ResultTableModel::RowRole).value<zentrope::ResultRow>();
        QCOMPARE(QByteArray(row.name.data(), qsizetype(row.name.size())), QByteArray("SOB"));
        QCOMPARE(row.count, 2);
        QCOMPARE(row.pvalues[2], 0.0625);
        QCOMPARE(row.marks[0], PValueMark::Error);
        QVERIFY(!row.figures);
        const auto runs =
            model.data(model.index(2, 0), ResultTableModel::RowRole).value<zentrope::ResultRow>();
        QCOMPARE(runs.count, 3);
        QVERIFY(runs.figures.has_value());
    }
};

ZENTROPE_GUI_TEST_MAIN(ResultTableModelTest)
#include "result_table_model_test.moc"
