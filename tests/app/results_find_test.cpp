// Find on the Results page: Ctrl+F opens the bar, Enter and F3 go to the next match and
// Shift+F3 to the previous one, round the end of the text, each scrolled into view; matches in
// sight are highlighted; Escape closes the bar and leaves the window open.
#include "app/pages/results_page.h"
#include "app/widgets/result_text_view.h"
#include "app/widgets/text_search.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

namespace {

// 2,000 lines; "Needle" on lines 300, 302 and 1500 (from 0), "Größe" on line 1000.
QByteArray LongText() {
    QByteArray text;
    for (int line = 0; line < 2000; ++line) {
        text += "0.5000000\tline " + QByteArray::number(line);
        if (line == 300 || line == 302 || line == 1500)
            text += " a Needle here";
        if (line == 1000)
            text += " Größe";
        text += '\n';
    }
    return text;
}

bool InSight(ResultTextView* view, qsizetype line) {
    return line >= view->FirstVisibleLine() &&
           line < view->FirstVisibleLine() + view->PageLineCount();
}

bool ShowsHighlight(ResultTextView* view) {
    const QImage image = view->viewport()->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(255, 230, 0))
                return true;
    return false;
}

} // namespace

class ResultsFindTest : public QObject {
    Q_OBJECT

private slots:
    void FindGoesRoundTheTextAndScrollsToEachMatch() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.resize(800, 600);
        w.show();
        QApplication::setActiveWindow(&w);
        f.Write("run.txt", LongText());
        w.LoadResultFile(f.Path("run.txt"));
        auto* pages = Control<QTabWidget>(w, "PC");
        pages->setCurrentWidget(Control<QWidget>(w, "TSresults"));
        auto* view = Control<ResultTextView>(w, "RE");
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
        auto* edit = Control<QLineEdit>(w, "EditFind");
        QVERIFY(Control<QWidget>(w, "FindBar")->isVisible());
        QCOMPARE(QApplication::focusWidget(), edit);

        // The load left the caret at the end: the first match is found round the end.
        QTest::keyClicks(edit, "needle");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(view->SelectedText(), QStringLiteral("Needle"));
        QCOMPARE(view->Caret().line, 300);
        QVERIFY(InSight(view, 300));
        QVERIFY(Control<QLabel>(w, "LabFind")->text().contains("round"));
        QVERIFY(ShowsHighlight(view)); // line 302's match; line 300's is selected

        QTest::keyClick(edit, Qt::Key_F3);
        QCOMPARE(view->Caret().line, 302);
        QTest::keyClick(edit, Qt::Key_F3);
        QCOMPARE(view->Caret().line, 1500);
        QVERIFY(InSight(view, 1500));
        QVERIFY(Control<QLabel>(w, "LabFind")->text().isEmpty());
        QTest::keyClick(view, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(view->Caret().line, 302);
        QCOMPARE(view->Anchor().column, QByteArray("0.5000000\tline 302 a ").size());
        QVERIFY(InSight(view, 302));

        // UTF-8 text: found at its characters, not its bytes.
        edit->setText(QStringLiteral("größe"));
        QTest::keyClick(edit, Qt::Key_F3);
        QCOMPARE(view->SelectedText(), QStringLiteral("Größe"));
        QCOMPARE(view->Caret().line, 1000);
        Control<QCheckBox>(w, "cbFindCase")->setChecked(true);
        QTest::keyClick(edit, Qt::Key_F3);
        QCOMPARE(Control<QLabel>(w, "LabFind")->text(), QStringLiteral("Not found"));

        // Escape closes the bar only.
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!Control<QWidget>(w, "FindBar")->isVisible());
        QVERIFY(w.isVisible());
        QVERIFY(!ShowsHighlight(view));
    }

    void SearchFindsEveryPlaceOnceInEitherDirection() {
        const std::string_view text = "abcABCabc";
        QCOMPARE(FindInText(text, "ABC", 0, false, true).at, size_t(3));
        QCOMPARE(FindInText(text, "ABC", 1, false, false).at, size_t(3));
        const TextMatch round = FindInText(text, "abc", 7, false, true);
        QCOMPARE(round.at, size_t(0));
        QVERIFY(round.wrapped);
        QCOMPARE(FindInText(text, "abc", 6, true, false).at, size_t(3));
        QCOMPARE(FindInText(text, "abc", 0, true, false).at, size_t(6));
        QVERIFY(FindInText(text, "abc", 0, true, false).wrapped);
        QCOMPARE(FindInText(text, "abd", 0, false, false).at, std::string_view::npos);
        QCOMPARE(FindInText(text, "abcABCabcX", 0, false, false).at, std::string_view::npos);
        // A match at the very end, and a needle of one byte.
        QCOMPARE(FindInText("xxxxy", "y", 0, false, true).at, size_t(4));
        QCOMPARE(FindInText("xxxxy", "xy", 4, true, true).at, size_t(3));
    }
};

ZENTROPE_GUI_TEST_MAIN(ResultsFindTest)
#include "results_find_test.moc"
