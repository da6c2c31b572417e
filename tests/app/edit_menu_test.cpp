// The context menus of the window's edits offer only the shortcuts the edit takes from the
// keyboard; the entries themselves keep working.
#include "app/widgets/edit_bindings.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace {

// The entries of the edit's context menu as it shows them; the one named `choose`, if any, is
// chosen.
QStringList MenuTexts(QLineEdit* edit, const QString& choose = QString()) {
    QStringList texts;
    QTimer::singleShot(0, edit, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text();
            if (!choose.isEmpty() && action->text().startsWith(choose))
                action->trigger();
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            edit->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(edit, &event);
    return texts;
}

QStringList Shortcuts(const QStringList& texts) {
    QStringList shortcuts;
    for (const QString& text : texts)
        if (text.contains(u'\t'))
            shortcuts << text.section(u'\t', 1);
    return shortcuts;
}

} // namespace

class EditMenuTest : public QObject {
    Q_OBJECT

private slots:
    // Ctrl+V, Ctrl+Z and the like are discarded by the numeric fields' key filters, so their
    // menus name no shortcut; Paste from the menu still pastes.
    void numericFieldsShowNoDiscardedShortcut_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("integer on the Parameters page") << "eMAU_n";
        QTest::newRow("step that takes a minus") << "eSERstp";
        QTest::newRow("number on the General page") << "EditKSmin";
        QTest::newRow("sequence length") << "Editn";
    }
    void numericFieldsShowNoDiscardedShortcut() {
        QFETCH(QString, name);
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* edit = Control<QLineEdit>(w, name.toLatin1().constData());
        edit->setText("5");
        edit->setFocus();
        QGuiApplication::clipboard()->setText("12");
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("5")); // the key filter discards Ctrl+V

        const QStringList texts = MenuTexts(edit, "&Paste");
        QVERIFY2(texts.size() >= 5, qPrintable(texts.join('|')));
        QVERIFY(texts.contains("&Paste"));
        QVERIFY(texts.contains("&Undo"));
        QVERIFY2(Shortcuts(texts).isEmpty(), qPrintable(texts.join('|')));
        QCOMPARE(edit->text(), QString("512"));
    }

    // An edit that only limits its length takes Ctrl+V and keeps the shortcut in its menu.
    void anEditWithoutKeyFilterKeepsItsShortcuts() {
        QWidget window;
        auto* edit = new QLineEdit(&window);
        LimitTyping(edit, 4);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->setFocus();
        QGuiApplication::clipboard()->setText("123456");
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("1234"));
        const QStringList shortcuts = Shortcuts(MenuTexts(edit));
        QVERIFY2(shortcuts.contains(
                     QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText)),
                 qPrintable(shortcuts.join('|')));
    }
};

ZENTROPE_GUI_TEST_MAIN(EditMenuTest)
#include "edit_menu_test.moc"
