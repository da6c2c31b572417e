// Escape meant for a popup (an open combo box, a context menu) closes the popup alone; the
// window stays, and a second Escape closes it as always.
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace {

// Escape as the user presses it: to the popup on top, or to the window's focused control.
void PressEscape(TFIN& window) {
    QWidget* target = QApplication::activePopupWidget();
    if (!target)
        target = window.focusWidget() != nullptr ? window.focusWidget() : &window;
    QTest::keyClick(target, Qt::Key_Escape);
}

} // namespace

class PopupEscapeTest : public QObject {
    Q_OBJECT
private slots:
    void AnOpenComboBoxClosesAlone();
    void AContextMenuClosesAlone();
    void EscapeThatReachesTheWindowFirstClosesOnlyThePopup();
};

void PopupEscapeTest::AnOpenComboBoxClosesAlone() {
    WindowFixture fixture;
    TFIN& w = fixture.Open();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* unit = Control<QComboBox>(w, "CBnUM");
    unit->setFocus();
    unit->showPopup();
    QTRY_VERIFY(unit->view()->isVisible());

    PressEscape(w);
    QTRY_VERIFY(!unit->view()->isVisible());
    QTest::qWait(50);
    QVERIFY(w.isVisible());

    // The window is active again once the popup has gone.
    QApplication::setActiveWindow(&w);
    PressEscape(w);
    QTRY_VERIFY(!w.isVisible());
}

void PopupEscapeTest::AContextMenuClosesAlone() {
    WindowFixture fixture;
    TFIN& w = fixture.Open();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (const char* name : {"Editn", "EditInFile"}) {
        auto* edit = Control<QLineEdit>(w, name);
        edit->setFocus();
        bool menuSeen = false;
        QTimer::singleShot(100, [&] {
            menuSeen = qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr;
            PressEscape(w);
        });
        QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(2, 2),
                               edit->mapToGlobal(QPoint(2, 2)));
        // Some menus run on their own, others return at once and stay open.
        QApplication::sendEvent(edit, &open);
        QTRY_VERIFY2(menuSeen, name);
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        QTest::qWait(50);
        QVERIFY2(w.isVisible(), name);
    }
}

// Under a window manager a popup does not take the keyboard focus from the window: Escape
// comes to the window's focused control, and its shortcuts, with the popup still open.
void PopupEscapeTest::EscapeThatReachesTheWindowFirstClosesOnlyThePopup() {
    WindowFixture fixture;
    TFIN& w = fixture.Open();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* unit = Control<QComboBox>(w, "CBnUM");
    unit->setFocus();
    unit->showPopup();
    QTRY_VERIFY(unit->view()->isVisible());
    QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
    QTRY_VERIFY(!unit->view()->isVisible());
    QTest::qWait(50);
    QVERIFY(w.isVisible());

    auto* edit = Control<QLineEdit>(w, "Editn");
    edit->setFocus();
    bool menuSeen = false;
    QTimer::singleShot(100, [&] {
        menuSeen = qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr;
        QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
    });
    QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(2, 2),
                           edit->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(edit, &open);
    QTRY_VERIFY(menuSeen);
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    QTest::qWait(50);
    QVERIFY(w.isVisible());

    // With no popup left, Escape closes the window as always.
    QApplication::setActiveWindow(&w);
    QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
    QTRY_VERIFY(!w.isVisible());
}

ZENTROPE_GUI_TEST_MAIN(PopupEscapeTest)
#include "popup_escape_test.moc"
