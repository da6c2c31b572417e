// The result text viewer: its line index, tab stops, selection, copying, keys and scrolling.
#include "app/widgets/result_text_view.h"
#include "tests/app/gui_test_main.h"

#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <numeric>
#include <random>

namespace {

// A viewer of a fixed size, shown, holding the given bytes.
struct ShownView {
    ResultTextView view;
    explicit ShownView(const QByteArray& bytes) {
        view.resize(400, 200);
        view.SetBytes(bytes);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
};

QByteArray NumberedLines(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "line " + QByteArray::number(i) + "\n";
    return bytes;
}

} // namespace

class ResultTextViewTest : public QObject {
    Q_OBJECT

private slots:
    void LinesEndAtLineFeedsWithOrWithoutCarriageReturns() {
        const TextLines lf(QByteArray("a\tb\nsecond\n"));
        QCOMPARE(lf.Count(), 3);
        QCOMPARE(lf.Text(0), QString("a\tb"));
        QCOMPARE(lf.Text(1), QString("second"));
        QCOMPARE(lf.Text(2), QString());

        const TextLines crlf(QByteArray("one\r\ntwo\r\n\r\nlast"));
        QCOMPARE(crlf.Count(), 4);
        QCOMPARE(crlf.Text(0), QString("one"));
        QCOMPARE(crlf.Text(2), QString());
        QCOMPARE(crlf.Text(3), QString("last")); // no line feed after it
        QCOMPARE(crlf.Text(0, 3), QString("one\ntwo\n\nlast"));

        // A carriage return elsewhere is text, not a line break.
        const TextLines lone(QByteArray("x\ry\r"));
        QCOMPARE(lone.Count(), 1);
        QCOMPARE(lone.Text(0), QString("x\ry\r"));
    }

    // Lines are found from a mark every few lines or from the line found last: any order of
    // asking gives each line its own text.
    void EveryLineOfALongTextInAnyOrder() {
        QByteArray bytes;
        QStringList expected;
        for (int i = 0; i < 1000; ++i) {
            const QString line = QString(i % 7, QChar('a' + i % 26)) + QString::number(i);
            expected << line;
            bytes += line.toLatin1() + (i % 3 == 0 ? "\r\n" : "\n");
        }
        expected << QString(); // after the last line feed
        const TextLines lines(bytes);
        QCOMPARE(lines.Count(), 1001);
        std::vector<int> order(1001);
        std::iota(order.begin(), order.end(), 0);
        std::mt19937 random(5);
        std::shuffle(order.begin(), order.end(), random);
        order.insert(order.end(), {63, 64, 65, 127, 128, 64, 63, 1000, 0, 999});
        for (const int line : order)
            QCOMPARE(lines.Text(line), expected[line]);
        QCOMPARE(lines.Text(60, 130), expected.mid(60, 71).join('\n'));
        QCOMPARE(lines.Text(0, 1000), expected.join('\n'));
        // And back from a byte to its line, at each line's first byte and its last.
        for (const int line : order) {
            QCOMPARE(lines.LineAt(lines.Start(line)), qsizetype(line));
            QCOMPARE(lines.LineAt(lines.Start(line) + lines.Bytes(line).size()), qsizetype(line));
        }
    }

    void EmptyFileIsOneEmptyLine() {
        QTemporaryDir dir;
        const QString path = dir.filePath("empty.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        ResultTextView view;
        QVERIFY(view.LoadFile(path));
        QCOMPARE(view.Lines().Count(), 1);
        view.SelectLastCharacter();
        QCOMPARE(view.Caret(), TextPos{});
        QVERIFY(!view.HasSelection());
        view.SelectAll();
        QCOMPARE(view.SelectedText(), QString());
    }

    void MissingFileLeavesTheTextAlone() {
        ResultTextView view;
        view.SetBytes("kept");
        QVERIFY(!view.LoadFile(QTemporaryDir().filePath("none.txt")));
        QCOMPARE(view.Lines().Text(0), QString("kept"));
    }

    void BytesThatAreNotUtf8ShowAsLatin1() {
        const TextLines lines(QByteArray("p\xff"
                                         "q\n\xc3\xa9"));
        QCOMPARE(lines.Text(0), QStringView(u"p\u00ffq").toString());
        QCOMPARE(lines.Text(1), QStringView(u"\u00e9").toString());
    }

    void TabsAlignAtTheStopsInPoints() {
        ShownView shown("a\tb\tc\n\tx\n");
        ResultTextView& view = shown.view;
        view.SetTabStopsInPoints({0, 100, 200, 300, 400});
        const qreal dpi = view.logicalDpiX();
        const QList<qreal> stops = view.TabStopsInPixels();
        QCOMPARE(stops.size(), 5);
        QCOMPARE(stops[1], 100 * dpi / 72);
        QCOMPARE(stops[4], 400 * dpi / 72);
        // "b" starts at the stop at 100 points, "c" at 200; a leading tab also goes to 100.
        // Layout positions are kept in 1/64 pixel.
        const auto at = [&](TextPos pos, qreal stop) {
            return qAbs(view.ColumnX(pos) - stop) < 0.05;
        };
        QVERIFY(at({0, 2}, stops[1]));
        QVERIFY(at({0, 4}, stops[2]));
        QVERIFY(at({1, 1}, stops[1]));
    }

    void SelectionAcrossLinesIsCopiedWithLineFeeds() {
        ShownView shown("first line\r\nsecond\r\nthird line\r\n");
        ResultTextView& view = shown.view;
        view.SetSelection({0, 6}, {2, 5});
        QCOMPARE(view.SelectedText(), QString("line\nsecond\nthird"));
        view.Copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("line\nsecond\nthird"));
        // Backwards selections give the same text.
        view.SetSelection({2, 5}, {0, 6});
        QCOMPARE(view.SelectedText(), QString("line\nsecond\nthird"));
    }

    void CtrlASelectsAllAndCtrlCCopiesIt() {
        ShownView shown("0.5\tDFT\n0.25\tSOB\n");
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&shown.view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&shown.view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("0.5\tDFT\n0.25\tSOB\n"));
    }

    void ContextMenuOffersCopyOnlyWithASelection() {
        ShownView shown("alpha beta\n");
        std::unique_ptr<QMenu> menu(shown.view.CreateStandardContextMenu());
        QList<QAction*> actions = menu->actions();
        QVERIFY(!actions.first()->isEnabled());
        actions.last()->trigger(); // Select All
        QVERIFY(shown.view.HasSelection());
        menu.reset(shown.view.CreateStandardContextMenu());
        QVERIFY(menu->actions().first()->isEnabled());
        menu->actions().first()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("alpha beta\n"));
    }

    void LastCharacterIsSelectedAndTheEndShown() {
        ShownView shown(NumberedLines(500));
        ResultTextView& view = shown.view;
        view.SelectLastCharacter();
        // The text ends with a line feed: that is the last character.
        QCOMPARE(view.Anchor(), (TextPos{499, 8}));
        QCOMPARE(view.Caret(), (TextPos{500, 0}));
        QCOMPARE(view.SelectedText(), QString("\n"));
        QVERIFY(view.FirstVisibleLine() + view.PageLineCount() > 500);

        ShownView unterminated("abc\nxyz");
        unterminated.view.SelectLastCharacter();
        QCOMPARE(unterminated.view.SelectedText(), QString("z"));
    }

    void ScrollingToTheEndShowsTheLastLine() {
        ShownView shown(NumberedLines(1000));
        ResultTextView& view = shown.view;
        QScrollBar* bar = view.verticalScrollBar();
        bar->setValue(bar->maximum());
        QCOMPARE(view.FirstVisibleLine() + view.PageLineCount() - 1, view.Lines().Count() - 1);
        // The last line lies inside the viewport.
        const QPoint last = view.ViewportPointOf({view.Lines().Count() - 1, 0});
        QVERIFY(view.viewport()->rect().contains(last));
        // The wheel scrolls back up.
        QWheelEvent wheel(QPointF(50, 50), view.mapToGlobal(QPoint(50, 50)), {}, QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
        QVERIFY(bar->value() < bar->maximum());
    }

    void KeysMoveTheCaretAndShiftExtends() {
        ShownView shown(NumberedLines(100));
        ResultTextView& view = shown.view;
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(view.Caret(), (TextPos{100, 0}));
        QCOMPARE(view.FirstVisibleLine(), view.verticalScrollBar()->maximum());
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(view.Caret(), TextPos{});
        QCOMPARE(view.FirstVisibleLine(), 0);

        QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(view.SelectedText(), QString("line 0\nl"));
        QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(view.Caret(), (TextPos{1, 6}));
        // Left without Shift drops the selection at its start.
        QTest::keyClick(&view, Qt::Key_Left);
        QCOMPARE(view.Caret(), TextPos{});
        QVERIFY(!view.HasSelection());
        // Left at a line's start goes to the end of the line before.
        QTest::keyClick(&view, Qt::Key_Down);
        QTest::keyClick(&view, Qt::Key_Left);
        QCOMPARE(view.Caret(), (TextPos{0, 6}));

        const qsizetype page = view.PageLineCount();
        QTest::keyClick(&view, Qt::Key_PageDown);
        QCOMPARE(view.Caret().line, page);
        QVERIFY(view.FirstVisibleLine() <= page && page < view.FirstVisibleLine() + page);
        QTest::keyClick(&view, Qt::Key_PageUp);
        QCOMPARE(view.Caret().line, 0);
    }

    void UpAndDownKeepTheColumn() {
        ShownView shown("a long line\nab\nanother long line\n");
        ResultTextView& view = shown.view;
        view.SetSelection({0, 8}, {0, 8});
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.Caret(), (TextPos{1, 2}));
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.Caret(), (TextPos{2, 8}));
    }

    void MouseDragSelectsAndDoubleClickTakesAWord() {
        ShownView shown("0.123\tDFT\n0.456\tSOB\n");
        ResultTextView& view = shown.view;
        QWidget* area = view.viewport();
        QTest::mousePress(area, Qt::LeftButton, {}, view.ViewportPointOf({0, 2}));
        QTest::mouseMove(area, view.ViewportPointOf({1, 3}));
        QTest::mouseRelease(area, Qt::LeftButton, {}, view.ViewportPointOf({1, 3}));
        QCOMPARE(view.SelectedText(), QString("123\tDFT\n0.4"));

        QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, view.ViewportPointOf({1, 5}));
        QCOMPARE(view.SelectedText(), QString("123\tDFT\n0.456"));

        QTest::mouseDClick(area, Qt::LeftButton, {}, view.ViewportPointOf({1, 7}));
        QCOMPARE(view.SelectedText(), QString("SOB"));
    }

    void AHugeLineIsShownInPartButCopiedWhole() {
        const QByteArray huge(4 << 20, 'x');
        ShownView shown(huge + "\nnext");
        ResultTextView& view = shown.view;
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_End);
        QVERIFY(view.Caret().column > 0 && view.Caret().column < huge.size());
        view.viewport()->repaint();
        QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(view.SelectedText(), QString("\nnext"));
        QTest::keyClick(&view, Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(view.SelectedText(), QString::fromLatin1(huge));
        view.SelectAll();
        QCOMPARE(view.SelectedText(), QString::fromLatin1(huge + "\nnext"));
    }

    void LongLinesGetAHorizontalBar() {
        ShownView shown("short\n" + QByteArray(300, 'y') + "\n");
        ResultTextView& view = shown.view;
        QTRY_VERIFY(view.horizontalScrollBar()->isVisible());
        const int lineWidth = view.fontMetrics().horizontalAdvance(QString(300, 'y'));
        QVERIFY(view.horizontalScrollBar()->maximum() >= lineWidth - view.viewport()->width());
        // Scrolled to the end, the line's last character is under the right edge.
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
        const QPoint end(view.viewport()->width() - 6, view.ViewportPointOf(TextPos{1, 0}).y());
        QCOMPARE(view.PositionAt(end).line, 1);
        QVERIFY2(view.PositionAt(end).column >= 298,
                 qPrintable(QString::number(view.PositionAt(end).column)));
        view.SetBytes("short\n");
        QTRY_VERIFY(!view.horizontalScrollBar()->isVisible());
    }

    void NewTextStartsAtTheTop() {
        ShownView shown(NumberedLines(300));
        ResultTextView& view = shown.view;
        view.SelectLastCharacter();
        view.SetBytes("short\n");
        QCOMPARE(view.FirstVisibleLine(), 0);
        QCOMPARE(view.Caret(), TextPos{});
        QCOMPARE(view.verticalScrollBar()->maximum(), 0);
    }
};

ZENTROPE_GUI_TEST_MAIN(ResultTextViewTest)
#include "result_text_view_test.moc"
