// The detail pane below the result table: selecting a cell shows its row's figures, the level
// alpha re-judges the pane and the run, and a chart is saved through the file dialog.
#include "app/pages/table_page.h"
#include "app/table/result_table_control.h"
#include "app/table/result_table_model.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/results/result_file_text.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <cmath>

using zentrope::testing::ResultFile;

namespace {

// Twenty p-values with ten-bin counts 6 2 2 2 2 1 1 1 1 2 (chi-square 10 against 2 per bin),
// two of them below 0.01 and three below 0.05; the EDF is furthest from the diagonal at 0.12
// (7/20 - 0.12 = 0.23).
const std::vector<std::string> Skewed = {"0.001", "0.004", "0.02", "0.05", "0.07", "0.09", "0.12",
                                         "0.18",  "0.25",  "0.29", "0.35", "0.39", "0.45", "0.49",
                                         "0.55",  "0.65",  "0.75", "0.85", "0.95", "0.98"};

// 22 sequences: "Skewed" holds the values above in sequences 1-20 (0.001 in sequence 8), the
// tester's -1 in sequence 21 and nothing in sequence 22, whose section holds "Even" only.
// "Bad" holds values near 0, "Even" values spread evenly.
std::string ThreeTests() {
    std::vector<std::vector<std::string>> sections;
    for (int s = 0; s < 22; ++s) {
        const std::string even = std::to_string((s + 0.5) / 22);
        if (s == 21) {
            sections.push_back({even});
            break;
        }
        const std::string skewed = s < 20 ? Skewed[size_t((s + 13) % 20)] : "-1";
        sections.push_back({even, skewed, "0.000" + std::to_string(s % 9 + 1)});
    }
    return ResultFile({"Even", "Skewed", "Bad"}, sections);
}

TFIN& LoadThreeTests(WindowFixture& f) {
    TFIN& w = f.Open();
    for (const char* box : {"cbSortKS", "cbSortAD", "cbSortSL"})
        Control<QCheckBox>(w, box)->setChecked(false);
    Control<QLineEdit>(w, "EditKSmin")->setText("0.01");
    Control<QLineEdit>(w, "EditADmin")->setText("0");
    Control<QLineEdit>(w, "EditSLmax")->setText("100");
    f.Write("run.txt", QByteArray::fromStdString(ThreeTests()));
    w.LoadResultFile(f.Path("run.txt"));
    f.dialogs.messages.clear(); // the warning that sequence 22 holds 1 line of 3
    w.show();
    return w;
}

QString PlainText(const TFIN& w, const char* label) {
    return QTextDocumentFragment::fromHtml(Control<QLabel>(w, label)->text()).toPlainText();
}

void ClickCell(TFIN& w, int col, int row) {
    auto* view = Control<QTableView>(w, "SG");
    view->scrollTo(view->model()->index(row, col));
    QApplication::processEvents();
    const QPoint at = w.Table().GridControl().CellCentre({col, row});
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->viewport()->mapFrom(view, at));
}

// The number that follows `caption` in `text`.
double NumberAfter(const QString& text, const QString& caption) {
    const qsizetype at = text.indexOf(caption);
    if (at < 0)
        return std::nan("");
    const QString rest = text.mid(at + caption.size()).trimmed();
    return rest.section(QRegularExpression("[\\s,;()]"), 0, 0).toDouble();
}

} // namespace

class RowDetailPaneTest : public QObject {
    Q_OBJECT

private slots:
    void SelectedRowShowsItsFiguresAndAlphaRejudges() {
        WindowFixture f;
        TFIN& w = LoadThreeTests(f);
        QCOMPARE(CellText(w, 1, 2), "Skewed");
        ClickCell(w, 5, 2);
        QString figures = PlainText(w, "LabDetailFigures");
        QVERIFY2(PlainText(w, "LabDetailRow").startsWith("Skewed"), qPrintable(figures));
        QVERIFY2(
            figures.contains("20 of 22 sequences, left out: 1 \u201c- error -\u201d (\u22121): no reason given, "
                             "1 empty"),
            qPrintable(figures));
        // Chi-square on 9 degrees of freedom: P = Q(9/2, 5) = erfc(sqrt 5) + e^-5 sum_k
        // 5^(k - 1/2) / Gamma(k + 1/2), k = 1..4, = 0.350485; 20 values are too few to trust it.
        QVERIFY2(figures.contains("\u03c7\u00b2 = 10.00, P = 0.3505"), qPrintable(figures));
        QVERIFY2(figures.contains("unreliable: m = 20 < 55"), qPrintable(figures));
        // 18 of 20 at or above 0.01; 0.99 -/+ 3 sqrt(0.01 * 0.99 / 20) = 0.923254 .. 1.056746.
        QVERIFY2(figures.contains("18 of 20 = 0.9000; 3\u03c3 interval 0.9233 \u2013 1.0567 "
                                  "outside"),
                 qPrintable(figures));
        QVERIFY2(figures.contains("0.2300 at p = 0.12"), qPrintable(figures));
        // Massey's table puts the 20% point of D for 20 values at 0.232 (for 22 at 0.221).
        const double exact = NumberAfter(figures, "Exact KS p (n = 20)");
        QVERIFY2(exact > 0.2 && exact < 0.25, qPrintable(figures));
        QVERIFY2(figures.contains("1.00e-03 (\u2212log10 p = 3.00), sequence 8"),
                 qPrintable(figures));
        // sqrt(ln(2 / 0.01) / 40)
        QVERIFY2(figures.contains("\u00b1 0.3639"), qPrintable(figures));

        // The keyboard moves to "Bad", the run's worst row: Benjamini-Yekutieli over three
        // rows gives the smallest p-value 3 (1 + 1/2 + 1/3) times its value.
        QTest::keyClick(Control<QTableView>(w, "SG"), Qt::Key_Down);
        figures = PlainText(w, "LabDetailFigures");
        QVERIFY2(PlainText(w, "LabDetailRow").startsWith("Bad Flagged: KS below KSmin"),
                 qPrintable(PlainText(w, "LabDetailRow")));
        const int ks = w.Table().Model().SequenceColumnEnd() + 1;
        const double badKs =
            w.Table().Model().index(3, ks).data(Qt::ToolTipRole).toString().toDouble();
        const double q = NumberAfter(figures, "BY q-values\nKS");
        QVERIFY2(std::abs(q / (5.5 * badKs) - 1) < 0.01, qPrintable(figures));

        // A wider alpha: 17 of 20 at or above 0.05, inside 0.95 -/+ 0.146202; the run is
        // judged again at the new level.
        ClickCell(w, 5, 2);
        Control<QDoubleSpinBox>(w, "eAlpha")->setValue(0.05);
        figures = PlainText(w, "LabDetailFigures");
        QVERIFY2(figures.contains("17 of 20 = 0.8500; 3\u03c3 interval 0.8038 \u2013 1.0962"),
                 qPrintable(figures));
        QVERIFY2(!figures.contains("outside"), qPrintable(figures));
        QVERIFY2(Control<QLabel>(w, "LabVerdict")->text().contains("Holm over 3 rows at 0.05"),
                 qPrintable(Control<QLabel>(w, "LabVerdict")->text()));
    }

    void ChartsAreSavedAsPngOrSvg() {
        WindowFixture f;
        TFIN& w = LoadThreeTests(f);
        ClickCell(w, 4, 2);
        f.dialogs.answers << f.Path("edf.png") << f.Path("bins.SVG")
                          << f.Path("no such folder/edf.png");
        Control<QPushButton>(w, "ButtSaveEdfChart")->click();
        Control<QPushButton>(w, "ButtSaveHistogram")->click();
        Control<QPushButton>(w, "ButtSaveEdfChart")->click();
        QCOMPARE(f.dialogs.opened.size(), 3);
        QCOMPARE(f.dialogs.opened[0].dialog, "SDchart");
        const QImage png(f.Path("edf.png"), "PNG");
        QVERIFY(!png.isNull() && png.width() >= 200);
        QCOMPARE(png.size(), Control<QWidget>(w, "EdfChart")->size() * 2);
        const QByteArray svg = f.Read("bins.SVG");
        QVERIFY2(svg.contains("<svg") && svg.contains("</svg>"), svg.left(200).constData());
        QCOMPARE(f.MessageTexts(),
                 QStringList{"Cannot write file " + f.Path("no such folder/edf.png")});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Error);
    }

    // The proposal names the row's test and the loaded file (which stands for the run, and
    // its time), with nothing a file name cannot hold.
    void ASavedChartIsNamedAfterTheTestAndTheRun() {
        WindowFixture f;
        TFIN& w = f.Open();
        const QString file = "bias 0.51: run?.txt";
        std::vector<std::vector<std::string>> sections;
        for (int s = 0; s < 5; ++s)
            sections.push_back({"0." + std::to_string(s + 1), "0.5" + std::to_string(s)});
        f.Write(file,
                QByteArray::fromStdString(ResultFile({"Serial m=16 k:4/8", "Runs"}, sections)));
        QFile written(f.Path(file));
        QVERIFY(written.open(QIODevice::ReadWrite));
        QVERIFY(written.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 5)),
                                    QFileDevice::FileModificationTime));
        written.close();
        w.LoadResultFile(f.Path(file));
        w.show();
        const int row = RowOf(w, "Serial m=16 k:4/8");
        QVERIFY(row > 0);
        ClickCell(w, 4, row);
        Control<QPushButton>(w, "ButtSaveEdfChart")->click();
        Control<QPushButton>(w, "ButtSaveHistogram")->click();
        QCOMPARE(f.dialogs.opened.size(), 2);
        QCOMPARE(f.dialogs.opened[0].fileName,
                 "Serial_m=16_k_4_8_bias_0.51_run_.txt_20261207-120005_distribution.png");
        QVERIFY2(f.dialogs.opened[1].fileName.startsWith("Serial_m=16_k_4_8_bias_0.51_run_.txt_"),
                 qPrintable(f.dialogs.opened[1].fileName));
        QVERIFY(f.dialogs.opened[1].fileName != f.dialogs.opened[0].fileName);
    }
};

ZENTROPE_GUI_TEST_MAIN(RowDetailPaneTest)
#include "row_detail_pane_test.moc"
