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
        view.setBytes(bytes);
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
    void linesEndAtLineFeedsWithOrWithoutCarriageReturns() {
        const TextLines lf(QByteArray("a\tb\nsecond\n"));
        QCOMPARE(lf.count(), 3);
        QCOMPARE(lf.text(0), QString("a\tb"));
        QCOMPARE(lf.text(1), QString("second"));
        QCOMPARE(lf.text(2), QString());

        const TextLines crlf(QByteArray("one\r\ntwo\r\n\r\nlast"));
        QCOMPARE(crlf.count(), 4);
        QCOMPARE(crlf.text(0), QString("one"));
        QCOMPARE(crlf.text(2), QString());
        QCOMPARE(crlf.text(3), QString("last")); // no line feed after it
        QCOMPARE(crlf.text(0, 3), QString("one\ntwo\n\nlast"));

        // A carriage return elsewhere is text, not a line break.
        const TextLines lone(QByteArray("x\ry\r"));
        QCOMPARE(lone.count(), 1);
        QCOMPARE(lone.text(0), QString("x\ry\r"));
    }

    // Lines are found from a mark every few lines or from the line found last: any order of
    // asking gives each line its own text.
    void everyLineOfALongTextInAnyOrder() {
        QByteArray bytes;
        QStringList expected;
        for (int i = 0; i < 1000; ++i) {
            const QString line = QString(i % 7, QChar('a' + i % 26)) + QString::number(i);
            expected << line;
            bytes += line.toLatin1() + (i % 3 == 0 ? "\r\n" : "\n");
        }
        expected << QString(); // after the last line feed
        const TextLines lines(bytes);
        QCOMPARE(lines.count(), 1001);
        std::vector<int> order(1001);
        std::iota(order.begin(), order.end(), 0);
        std::mt19937 random(5);
        std::shuffle(order.begin(), order.end(), random);
        order.insert(order.end(), {63, 64, 65, 127, 128, 64, 63, 1000, 0, 999});
        for (const int line : order)
            QCOMPARE(lines.text(line), expected[line]);
        QCOMPARE(lines.text(60, 130), expected.mid(60, 71).join('\n'));
        QCOMPARE(lines.text(0, 1000), expected.join('\n'));
        // And back from a byte to its line, at each line's first byte and its last.
        for (const int line : order) {
            QCOMPARE(lines.lineAt(lines.start(line)), qsizetype(line));
            QCOMPARE(lines.lineAt(lines.start(line) + lines.bytes(line).size()), qsizetype(line));
        }
    }

    void emptyFileIsOneEmptyLine() {
        QTemporaryDir dir;
        const QString path = dir.filePath("empty.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        ResultTextView view;
        QVERIFY(view.loadFile(path));
        QCOMPARE(view.lines().count(), 1);
        view.selectLastCharacter();
        QCOMPARE(view.caret(), TextPos{});
        QVERIFY(!view.hasSelection());
        view.selectAll();
        QCOMPARE(view.selectedText(), QString());
    }

    void missingFileLeavesTheTextAlone() {
        ResultTextView view;
        view.setBytes("kept");
        QVERIFY(!view.loadFile(QTemporaryDir().filePath("none.txt")));
        QCOMPARE(view.lines().text(0), QString("kept"));
    }

    void bytesThatAreNotUtf8ShowAsLatin1() {
        const TextLines lines(QByteArray("p\xff"
                                         "q\n\xc3\xa9"));
        QCOMPARE(lines.text(0), QStringView(u"p\u00ffq").toString());
        QCOMPARE(lines.text(1), QStringView(u"\u00e9").toString());
    }

    void tabsAlignAtTheStopsInPoints() {
        ShownView shown("a\tb\tc\n\tx\n");
        ResultTextView& view = shown.view;
        view.setTabStopsInPoints({0, 100, 200, 300, 400});
        const qreal dpi = view.logicalDpiX();
        const QList<qreal> stops = view.tabStopsInPixels();
        QCOMPARE(stops.size(), 5);
        QCOMPARE(stops[1], 100 * dpi / 72);
        QCOMPARE(stops[4], 400 * dpi / 72);
        // "b" starts at the stop at 100 points, "c" at 200; a leading tab also goes to 100.
        // Layout positions are kept in 1/64 pixel.
        const auto at = [&](TextPos pos, qreal stop) {
            return qAbs(view.columnX(pos) - stop) < 0.05;
        };
        QVERIFY(at({0, 2}, stops[1]));
        QVERIFY(at({0, 4}, stops[2]));
        QVERIFY(at({1, 1}, stops[1]));
    }

    void selectionAcrossLinesIsCopiedWithLineFeeds() {
        ShownView shown("first line\r\nsecond\r\nthird line\r\n");
        ResultTextView& view = shown.view;
        view.setSelection({0, 6}, {2, 5});
        QCOMPARE(view.selectedText(), QString("line\nsecond\nthird"));
        view.copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("line\nsecond\nthird"));
        // Backwards selections give the same text.
        view.setSelection({2, 5}, {0, 6});
        QCOMPARE(view.selectedText(), QString("line\nsecond\nthird"));
    }

    void ctrlASelectsAllAndCtrlCCopiesIt() {
        ShownView shown("0.5\tDFT\n0.25\tSOB\n");
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&shown.view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&shown.view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("0.5\tDFT\n0.25\tSOB\n"));
    }

    void contextMenuOffersCopyOnlyWithASelection() {
        ShownView shown("alpha beta\n");
        std::unique_ptr<QMenu> menu(shown.view.createStandardContextMenu());
        QList<QAction*> actions = menu->actions();
        QVERIFY(!actions.first()->isEnabled());
        actions.last()->trigger(); // Select All
        QVERIFY(shown.view.hasSelection());
        menu.reset(shown.view.createStandardContextMenu());
        QVERIFY(menu->actions().first()->isEnabled());
        menu->actions().first()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("alpha beta\n"));
    }

    void lastCharacterIsSelectedAndTheEndShown() {
        ShownView shown(NumberedLines(500));
        ResultTextView& view = shown.view;
        view.selectLastCharacter();
        // The text ends with a line feed: that is the last character.
        QCOMPARE(view.anchor(), (TextPos{499, 8}));
        QCOMPARE(view.caret(), (TextPos{500, 0}));
        QCOMPARE(view.selectedText(), QString("\n"));
        QVERIFY(view.firstVisibleLine() + view.pageLineCount() > 500);

        ShownView unterminated("abc\nxyz");
        unterminated.view.selectLastCharacter();
        QCOMPARE(unterminated.view.selectedText(), QString("z"));
    }

    void scrollingToTheEndShowsTheLastLine() {
        ShownView shown(NumberedLines(1000));
        ResultTextView& view = shown.view;
        QScrollBar* bar = view.verticalScrollBar();
        bar->setValue(bar->maximum());
        QCOMPARE(view.firstVisibleLine() + view.pageLineCount() - 1, view.lines().count() - 1);
        // The last line lies inside the viewport.
        const QPoint last = view.viewportPointOf({view.lines().count() - 1, 0});
        QVERIFY(view.viewport()->rect().contains(last));
        // The wheel scrolls back up.
        QWheelEvent wheel(QPointF(50, 50), view.mapToGlobal(QPoint(50, 50)), {}, QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
        QVERIFY(bar->value() < bar->maximum());
    }

    void keysMoveTheCaretAndShiftExtends() {
        ShownView shown(NumberedLines(100));
        ResultTextView& view = shown.view;
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(view.caret(), (TextPos{100, 0}));
        QCOMPARE(view.firstVisibleLine(), view.verticalScrollBar()->maximum());
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(view.caret(), TextPos{});
        QCOMPARE(view.firstVisibleLine(), 0);

        QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(view.selectedText(), QString("line 0\nl"));
        QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(view.caret(), (TextPos{1, 6}));
        // Left without Shift drops the selection at its start.
        QTest::keyClick(&view, Qt::Key_Left);
        QCOMPARE(view.caret(), TextPos{});
        QVERIFY(!view.hasSelection());
        // Left at a line's start goes to the end of the line before.
        QTest::keyClick(&view, Qt::Key_Down);
        QTest::keyClick(&view, Qt::Key_Left);
        QCOMPARE(view.caret(), (TextPos{0, 6}));

        const qsizetype page = view.pageLineCount();
        QTest::keyClick(&view, Qt::Key_PageDown);
        QCOMPARE(view.caret().line, page);
        QVERIFY(view.firstVisibleLine() <= page && page < view.firstVisibleLine() + page);
        QTest::keyClick(&view, Qt::Key_PageUp);
        QCOMPARE(view.caret().line, 0);
    }

    void upAndDownKeepTheColumn() {
        ShownView shown("a long line\nab\nanother long line\n");
        ResultTextView& view = shown.view;
        view.setSelection({0, 8}, {0, 8});
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.caret(), (TextPos{1, 2}));
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.caret(), (TextPos{2, 8}));
    }

    void mouseDragSelectsAndDoubleClickTakesAWord() {
        ShownView shown("0.123\tDFT\n0.456\tSOB\n");
        ResultTextView& view = shown.view;
        QWidget* area = view.viewport();
        QTest::mousePress(area, Qt::LeftButton, {}, view.viewportPointOf({0, 2}));
        QTest::mouseMove(area, view.viewportPointOf({1, 3}));
        QTest::mouseRelease(area, Qt::LeftButton, {}, view.viewportPointOf({1, 3}));
        QCOMPARE(view.selectedText(), QString("123\tDFT\n0.4"));

        QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, view.viewportPointOf({1, 5}));
        QCOMPARE(view.selectedText(), QString("123\tDFT\n0.456"));

        QTest::mouseDClick(area, Qt::LeftButton, {}, view.viewportPointOf({1, 7}));
        QCOMPARE(view.selectedText(), QString("SOB"));
    }

    void aHugeLineIsShownInPartButCopiedWhole() {
        const QByteArray huge(4 << 20, 'x');
        ShownView shown(huge + "\nnext");
        ResultTextView& view = shown.view;
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_End);
        QVERIFY(view.caret().column > 0 && view.caret().column < huge.size());
        view.viewport()->repaint();
        QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(view.selectedText(), QString("\nnext"));
        QTest::keyClick(&view, Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(view.selectedText(), QString::fromLatin1(huge));
        view.selectAll();
        QCOMPARE(view.selectedText(), QString::fromLatin1(huge + "\nnext"));
    }

    void longLinesGetAHorizontalBar() {
        ShownView shown("short\n" + QByteArray(300, 'y') + "\n");
        ResultTextView& view = shown.view;
        QTRY_VERIFY(view.horizontalScrollBar()->isVisible());
        const int lineWidth = view.fontMetrics().horizontalAdvance(QString(300, 'y'));
        QVERIFY(view.horizontalScrollBar()->maximum() >= lineWidth - view.viewport()->width());
        // Scrolled to the end, the line's last character is under the right edge.
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
        const QPoint end(view.viewport()->width() - 6, view.viewportPointOf(TextPos{1, 0}).y());
        QCOMPARE(view.positionAt(end).line, 1);
        QVERIFY2(view.positionAt(end).column >= 298,
                 qPrintable(QString::number(view.positionAt(end).column)));
        view.setBytes("short\n");
        QTRY_VERIFY(!view.horizontalScrollBar()->isVisible());
    }

    void newTextStartsAtTheTop() {
        ShownView shown(NumberedLines(300));
        ResultTextView& view = shown.view;
        view.selectLastCharacter();
        view.setBytes("short\n");
        QCOMPARE(view.firstVisibleLine(), 0);
        QCOMPARE(view.caret(), TextPos{});
        QCOMPARE(view.verticalScrollBar()->maximum(), 0);
    }
};

ZENTROPE_GUI_TEST_MAIN(ResultTextViewTest)
#include "result_text_view_test.moc"
