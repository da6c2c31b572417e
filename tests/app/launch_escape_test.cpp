// An Escape pressed while a run's result is being loaded reaches the window but never closes
// it; pressed afterwards it closes the window as always.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTabWidget>

namespace {

// Queues an Escape for the window's focused control, as a key pressed now and delivered when
// the window next reads its input.
void PressEscapeLater(TFIN& window) {
    QWidget* target = window.focusWidget() != nullptr ? window.focusWidget() : &window;
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
}

// Presses Escape the moment the run panel hides, that is just before the result loads, with
// the window active again as the window manager makes it.
class EscapeWhenNoticeCloses : public QObject {
public:
    explicit EscapeWhenNoticeCloses(TFIN& window) : window_(window) {}
    bool pressed = false;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!pressed && event->type() == QEvent::Hide && watched->objectName() == "RunPanel") {
            pressed = true;
            QApplication::setActiveWindow(&window_);
            PressEscapeLater(window_);
        }
        return false;
    }

private:
    TFIN& window_;
};

QShortcut* EscapeShortcut(const TFIN& window) {
    for (QShortcut* shortcut : window.findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(Qt::Key_Escape))
            return shortcut;
    qFatal("no Escape shortcut");
}

} // namespace

class LaunchEscapeTest : public QObject {
    Q_OBJECT

private slots:
    void EscapeDuringAResultLoadKeepsTheWindow() {
        LaunchFixture fixture;
        QVERIFY(fixture.IsValid());
        TFIN& w = *fixture.window;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QSignalSpy escapes(EscapeShortcut(w), &QShortcut::activated);

        EscapeWhenNoticeCloses press(w);
        qApp->installEventFilter(&press);
        fixture.RunWaitToEnd();
        qApp->removeEventFilter(&press);
        QApplication::processEvents();
        QVERIFY(press.pressed);
        QVERIFY(fixture.dialogs.messages.isEmpty());
        QCOMPARE(Control<QTabWidget>(w, "PC")->currentWidget(), Control<QWidget>(w, "TStable"));
        QCOMPARE(escapes.count(), 1);
        QVERIFY(w.isVisible());

        // The result file button holds Escape too while it loads.
        fixture.dialogs.answers = {fixture.tester.FilePath("_Zentrope.txt")};
        PressEscapeLater(w);
        Control<QPushButton>(w, "ButtLoadResult")->click();
        QApplication::processEvents();
        QCOMPARE(fixture.dialogs.opened.size(), 1);
        QCOMPARE(escapes.count(), 2);
        QVERIFY(w.isVisible());

        PressEscapeLater(w);
        QApplication::processEvents();
        QCOMPARE(escapes.count(), 3);
        QVERIFY(!w.isVisible());
    }
};

ZENTROPE_GUI_TEST_MAIN(LaunchEscapeTest)
#include "launch_escape_test.moc"
