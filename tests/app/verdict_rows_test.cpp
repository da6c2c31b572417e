// After a load the table lands on the answer: scrolled to the top-left with the worst row
// current; failing rows and rows without a result are marked beside the table with their
// reasons, and the whole list opens from the verdict line.
#include "app/pages/table_page.h"
#include "app/table/failing_rows_list.h"
#include "app/table/result_table_commands.h"
#include "app/table/result_table_model.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/results/result_file_text.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <cmath>

using zentrope::testing::ResultFile;

namespace {

constexpr int Rows = 60;
constexpr int Sequences = 12;
// Rows 10, 20, ... 60 hold values near 0 (row 30 the lowest, 0.0001 to 0.0012, the worst KS);
// row 55 has no value and row 57 one -1 among its values; the rest spread evenly.
std::string ManyRows(bool withReasons) {
    std::vector<std::string> names;
    for (int r = 1; r <= Rows; ++r)
        names.push_back(r == 55 ? "AMLS kbits=32768" : "T" + std::to_string(r));
    std::vector<std::vector<std::string>> sections(Sequences);
    for (int s = 0; s < Sequences; ++s)
        for (int r = 1; r <= Rows; ++r) {
            std::string p = std::to_string((s + 0.5 + r % 7 * 0.01) / Sequences);
            if (r % 10 == 0)
                p = std::to_string((s + 1) * (r == 30 ? 0.0001 : 0.001 * r / 10));
            if (r == 55 || (r == 57 && s == 4))
                p = "-1";
            sections[size_t(s)].push_back(p);
        }
    std::string text = ResultFile(names, sections);
    if (withReasons)
        text += "No result: line 55 \"AMLS kbits=32768\": needs 268,435,456 bits, a sequence "
                "holds 2,000,000\nNo result: line 57 \"T57\", sequence 5: value out of domain\n";
    return text;
}

TFIN& Load(WindowFixture& f, bool sortByKs, bool withReasons = true) {
    TFIN& w = f.Open();
    w.resize(900, 700);
    w.show();
    QApplication::setActiveWindow(&w);
    Control<QCheckBox>(w, "cbSortKS")->setChecked(sortByKs);
    Control<QCheckBox>(w, "cbSortAD")->setChecked(false);
    Control<QCheckBox>(w, "cbSortSL")->setChecked(false);
    Control<QLineEdit>(w, "EditKSmin")->setText("0.0005");
    Control<QLineEdit>(w, "EditADmin")->setText("0");
    Control<QLineEdit>(w, "EditSLmax")->setText("100");
    f.Write("run.txt", QByteArray::fromStdString(ManyRows(withReasons)));
    w.LoadResultFile(f.Path("run.txt"));
    return w;
}

QString NameOfCurrentRow(TFIN& w) {
    const int row = Control<QTableView>(w, "SG")->currentIndex().row();
    return QString::fromUtf8(w.Table().Model().Cell(1, row));
}

int ModelRowNamed(TFIN& w, std::string_view name) {
    for (int row = 1; row < w.Table().Model().rowCount(); ++row)
        if (w.Table().Model().Cell(1, row) == name)
            return row;
    return -1;
}

QVariant Mark(TFIN& w, std::string_view name, int role) {
    return w.Table().Model().headerData(ModelRowNamed(w, name), Qt::Vertical, role);
}

} // namespace

class VerdictRowsTest : public QObject {
    Q_OBJECT

private slots:
    void EveryLoadLandsTopLeftOnTheWorstRow() {
        WindowFixture f;
        TFIN& w = Load(f, true);
        auto* view = Control<QTableView>(w, "SG");
        // Sorted by KS ascending, the row without figures ("- error -", -1) comes first, then
        // the worst.
        QCOMPARE(NameOfCurrentRow(w), QStringLiteral("T30"));
        QCOMPARE(view->currentIndex().row(), 2);
        QCOMPARE(view->currentIndex().column(), 3);
        QVERIFY(Control<QLabel>(w, "LabDetailRow")->text().contains("T30"));
        QCOMPARE(QApplication::focusWidget(), view);
        // Tab leaves the table for the controls around it (the arrows move between cells).
        QTest::keyClick(view, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != view);
        QCOMPARE(view->currentIndex().column(), 3);
        view->setFocus();

        // Scrolled far away, and the next load lands at the top-left again.
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(view->verticalScrollBar()->value() > 0);
        QVERIFY(view->horizontalScrollBar()->value() > 0);
        Control<QCheckBox>(w, "cbSortKS")->setChecked(true);
        w.LoadResultFile(f.Path("run.txt"));
        QCOMPARE(view->verticalScrollBar()->value(), 0);
        QCOMPARE(view->horizontalScrollBar()->value(), 0);
        QCOMPARE(NameOfCurrentRow(w), QStringLiteral("T30"));

        // That load sorted descending (the same column again): the worst row is current near
        // the bottom, among the rows whose rounded KS reads 0, the view still at the top.
        QVERIFY(view->currentIndex().row() > Rows - 10);
        // Unsorted, the worst row is still the current one, wherever the file put it.
        Control<QCheckBox>(w, "cbSortKS")->setChecked(false);
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        w.LoadResultFile(f.Path("run.txt"));
        QCOMPARE(view->currentIndex().row(), 30);
        QCOMPARE(view->verticalScrollBar()->value(), 0);
        QCOMPARE(view->horizontalScrollBar()->value(), 0);
        QVERIFY(Control<QLabel>(w, "LabDetailRow")->text().contains("T30"));
    }

    void FailingRowsAndRowsWithoutAResultAreMarkedWithTheirReasons() {
        WindowFixture f;
        TFIN& w = Load(f, false);
        using M = ResultTableModel;
        for (const char* name : {"T10", "T20", "T30", "T40", "T50", "T60"})
            QCOMPARE(Mark(w, name, M::RowMarkRole).toInt(), int(M::FailingMark));
        for (const char* name : {"T1", "T31", "T57"})
            QCOMPARE(Mark(w, name, M::RowMarkRole).toInt(), int(M::NoMark));
        QCOMPARE(Mark(w, "AMLS kbits=32768", M::RowMarkRole).toInt(), int(M::NoResultMark));
        const QString failing = Mark(w, "T30", Qt::ToolTipRole).toString();
        QVERIFY2(failing.contains("KS below KSmin: ") && failing.contains("(threshold 0.0005)") &&
                     failing.contains("Holm-adjusted KS p"),
                 qPrintable(failing));
        QCOMPARE(Mark(w, "AMLS kbits=32768", Qt::ToolTipRole).toString(),
                 QStringLiteral("No result: needs 268,435,456 bits, a sequence holds 2,000,000"));
        QVERIFY(Mark(w, "T57", Qt::ToolTipRole).toString().contains("value out of domain"));
        // The "Test name" cell says why too; it keeps naming only the thresholds a row crosses.
        const auto nameTip = [&](std::string_view name) {
            return w.Table()
                .Model()
                .index(ModelRowNamed(w, name), 1)
                .data(Qt::ToolTipRole)
                .toString();
        };
        QCOMPARE(nameTip("AMLS kbits=32768"),
                 Mark(w, "AMLS kbits=32768", Qt::ToolTipRole).toString());
        QVERIFY(nameTip("T30").startsWith("Flagged\nKS below KSmin: "));
        // The marks keep to their rows through a sort.
        w.Table().SGMouseUp(Qt::LeftButton, zentrope::SortMarker, 1);
        QCOMPARE(Mark(w, "T30", M::RowMarkRole).toInt(), int(M::FailingMark));
        QCOMPARE(Mark(w, "T31", M::RowMarkRole).toInt(), int(M::NoMark));

        // The verdict names the row without a result and its reason; the pane says it too.
        const QString verdict = Control<QLabel>(w, "LabVerdict")->text();
        QVERIFY2(verdict.contains("1 row without a result: AMLS kbits=32768 needs 268,435,456 "
                                  "bits, a sequence holds 2,000,000."),
                 qPrintable(verdict));
        auto* view = Control<QTableView>(w, "SG");
        view->setCurrentIndex(w.Table().Model().index(ModelRowNamed(w, "AMLS kbits=32768"), 5));
        QVERIFY2(Control<QLabel>(w, "LabDetailFigures")->text().contains("needs 268,435,456 bits"),
                 qPrintable(Control<QLabel>(w, "LabDetailFigures")->text()));

        // The marks stand outside the described cells: the fixed columns keep their place.
        auto* header = static_cast<QHeaderView*>(view->verticalHeader());
        QVERIFY(header->width() > 0);
        QCOMPARE(w.Table().Model().Cell(0, 0), "N");
    }

    void AFileWithoutReasonsSaysNoReasonGiven() {
        WindowFixture f;
        TFIN& w = Load(f, false, false);
        QCOMPARE(Mark(w, "AMLS kbits=32768", Qt::ToolTipRole).toString(),
                 QStringLiteral("No result: no reason given"));
        QVERIFY(
            Control<QLabel>(w, "LabVerdict")->text().contains("AMLS kbits=32768 no reason given."));
        QVERIFY(Mark(w, "T57", Qt::ToolTipRole).toString().isEmpty());
        Control<QTableView>(w, "SG")->setCurrentIndex(
            w.Table().Model().index(ModelRowNamed(w, "T57"), 5));
        QVERIFY(Control<QLabel>(w, "LabDetailFigures")->text().contains("no reason given"));
    }

    void TheWholeListOpensFromTheVerdictAndSelectsRows() {
        WindowFixture f;
        TFIN& w = Load(f, true);
        const QString verdict = Control<QLabel>(w, "LabVerdict")->text();
        // Six failing rows fit the line; the button opens the list all the same.
        QVERIFY2(!verdict.contains("href=\"more\""), qPrintable(verdict));
        Control<QPushButton>(w, "ButtFailingRows")->click();
        FailingRowsList& list = w.Table().FailingList();
        QVERIFY(list.isVisible());
        // The list opens as large as its rows need, within the screen: it is cut only where
        // the screen is too small.
        auto* browser = list.findChild<QTextBrowser*>("FailingRowsText");
        QTest::qWait(100);
        const QSize room = list.screen()->availableGeometry().size() * 9 / 10;
        const QSizeF rows = browser->document()->size();
        QVERIFY(list.width() <= room.width() && list.height() <= room.height());
        QVERIFY(browser->viewport()->width() >= rows.width() || list.width() == room.width());
        QVERIFY(browser->viewport()->height() >= rows.height() || list.height() == room.height());
        const QString text = list.PlainText();
        for (const char* name : {"T20", "T30", "T40", "T50"})
            QVERIFY2(text.contains(QStringLiteral("\"%1\": KS ").arg(name)), qPrintable(text));
        QVERIFY(text.contains("row 55 \"AMLS kbits=32768\": needs 268,435,456 bits"));
        // T30's KS in full: 12 values from 0.0001 to 0.0012 give D = 1 - 0.0012 = 0.9988, far
        // in the tail where Q(lambda) = 2 exp(-2 lambda^2) to many digits.
        const double n = Sequences;
        const double lambda = (std::sqrt(n) + 0.12 + 0.11 / std::sqrt(n)) * 0.9988;
        const double ks = 2 * std::exp(-2 * lambda * lambda);
        const qsizetype at = text.indexOf("\"T30\": KS ") + 10;
        const double shown = text.mid(at, text.indexOf(',', at) - at).toDouble();
        QVERIFY2(std::abs(shown / ks - 1) < 1e-9, qPrintable(text.mid(at, 30)));
        QVERIFY(!text.contains("0.0000000"));
        // Copied as text, the same lines.
        list.findChild<QPushButton*>("ButtCopyFailingRows")->click();
        QCOMPARE(QApplication::clipboard()->text(), text);
        // A row's link selects it in the table.
        emit browser->anchorClicked(QUrl("row:39"));
        QCOMPARE(NameOfCurrentRow(w), QStringLiteral("T40"));
    }

    void ALongListIsCutInTheLineAndOpensWhole() {
        WindowFixture f;
        TFIN& w = Load(f, true);
        // SLmax 0.0001 makes every row with figures fail: none lies on the line exactly.
        Control<QLineEdit>(w, "EditSLmax")->setText("0.0001");
        w.LoadResultFile(f.Path("run.txt"));
        const QString verdict = Control<QLabel>(w, "LabVerdict")->text();
        QVERIFY2(verdict.contains("<a href=\"more\">and "), qPrintable(verdict));
        w.Table().FailingList().hide();
        emit Control<QLabel>(w, "LabVerdict")->linkActivated("more");
        QVERIFY(w.Table().FailingList().isVisible());
        int marked = 0;
        for (int row = 1; row < w.Table().Model().rowCount(); ++row)
            marked += w.Table()
                          .Model()
                          .headerData(row, Qt::Vertical, ResultTableModel::RowMarkRole)
                          .toInt() == ResultTableModel::FailingMark;
        const QString text = w.Table().FailingList().PlainText();
        QVERIFY2(text.contains(QStringLiteral("Failing rows: %1\n").arg(marked)), qPrintable(text));
        QCOMPARE(text.count("; crosses: "), marked);
        QCOMPARE(marked, Rows - 1);
    }

    void FiguresExportGoesThroughTheDialogInFull() {
        WindowFixture f;
        TFIN& w = Load(f, true);
        f.dialogs.answers << f.Path("figures.csv");
        auto* action = Control<QTableView>(w, "SG")->findChild<QAction*>("actExportFigures");
        QVERIFY(action != nullptr);
        QSignalSpy exported(w.Table().findChild<ResultTableCommands*>(),
                            &ResultTableCommands::FiguresExported);
        action->trigger();
        QCOMPARE(f.dialogs.opened.last().dialog, QString("SDcsv"));
        QVERIFY(exported.wait(10000));
        QFile file(f.Path("figures.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QVERIFY(lines[0].startsWith("N,Test name,pvals,1,"));
        QVERIFY(lines[0].contains(",KS,AD,SL,exact KS p,Holm KS p,mark,crosses,no result\r"));
        // Rows as the table shows them: sorted by KS, the row without a result first.
        QVERIFY2(lines[1].startsWith("55,AMLS kbits=32768,0,-1,-1,"), lines[1].constData());
        QVERIFY(lines[1].contains(",no result,,\"needs 268,435,456 bits, a sequence holds "
                                  "2,000,000\"\r"));
        QVERIFY2(lines[2].startsWith("30,T30,12,"), lines[2].constData());
        QVERIFY(lines[2].contains(",fails,"));
    }

    void AnUnderflowedExactPReadsAsABound() {
        WindowFixture f;
        TFIN& w = f.Open();
        std::vector<std::vector<std::string>> sections;
        for (int s = 0; s < 400; ++s)
            sections.push_back({"0", std::to_string((s + 0.5) / 400)});
        f.Write("zero.txt", QByteArray::fromStdString(ResultFile({"Zero", "Even"}, sections)));
        w.LoadResultFile(f.Path("zero.txt"));
        // The worst row is current, so the pane describes Zero.
        const QString figures = Control<QLabel>(w, "LabDetailFigures")->text();
        QVERIFY(Control<QLabel>(w, "LabDetailRow")->text().contains("Zero"));
        QVERIFY2(figures.contains("Exact KS p (n = 400)</td><td>&lt; 1e-300"), qPrintable(figures));
        QVERIFY2(!figures.contains("0.0000<"), qPrintable(figures));
        QVERIFY2(!figures.contains("KS 0.0000"), qPrintable(figures));
    }
};

ZENTROPE_GUI_TEST_MAIN(VerdictRowsTest)
#include "verdict_rows_test.moc"
