// Long paths never widen the General page: the path edits keep their minimum width, stretch
// with the window and scroll their text inside.
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

namespace {

const char* const PathEdits[] = {"EditInFile", "EditOutFile", "EditZTRPexe", "EditParaFile"};

} // namespace

class PathEditsFitTest : public QObject {
    Q_OBJECT

private slots:
    void LongPathsNeverWidenThePage() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* scroller = qobject_cast<QScrollArea*>(w.centralWidget());
        auto* page = Control<QWidget>(w, "TSgeneral");
        const QSize wanted = page->minimumSizeHint();
        // The size the window takes when no prefs.ini gives one and the screen is large enough.
        const QSize layout = Control<QTabWidget>(w, "PC")->sizeHint();
        const int defaultWidth = layout.width();
        w.resize(layout);
        QApplication::processEvents();
        QCOMPARE(scroller->horizontalScrollBar()->maximum(), 0);

        const QString folder = "/" + QString("very long folder name ").repeated(30);
        for (const char* name : PathEdits)
            Control<QLineEdit>(w, name)->setText(folder + name);
        QApplication::processEvents();
        QCOMPARE(page->minimumSizeHint().width(), wanted.width());
        QCOMPARE(scroller->horizontalScrollBar()->maximum(), 0);
        for (const char* name : PathEdits) {
            auto* edit = Control<QLineEdit>(w, name);
            QVERIFY2(edit->mapTo(page, QPoint(edit->width(), 0)).x() <= page->width(), name);
        }

        // A wider window gives the edits the room, a narrower one takes it back down to their
        // minimum widths before the page scrolls.
        const int before = Control<QLineEdit>(w, "EditInFile")->width();
        w.resize(defaultWidth + 300, w.height());
        QApplication::processEvents();
        for (const char* name : PathEdits)
            QVERIFY2(Control<QLineEdit>(w, name)->width() > before, name);
        w.resize(defaultWidth, w.height());
        QApplication::processEvents();
        QCOMPARE(Control<QLineEdit>(w, "EditInFile")->width(), before);
        QCOMPARE(scroller->horizontalScrollBar()->maximum(), 0);
    }
};

ZENTROPE_GUI_TEST_MAIN(PathEditsFitTest)
#include "path_edits_fit_test.moc"
