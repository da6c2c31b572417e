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
    // The numeric fields take the editing shortcuts, so their menus name them; Paste from the
    // menu still pastes.
    void NumericFieldsShowTheirEditingShortcuts_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("integer on the Parameters page") << "eMAU_n";
        QTest::newRow("step that takes a minus") << "eSERstp";
        QTest::newRow("number on the General page") << "EditKSmin";
        QTest::newRow("sequence length") << "Editn";
    }
    void NumericFieldsShowTheirEditingShortcuts() {
        QFETCH(QString, name);
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* edit = Control<QLineEdit>(w, name.toLatin1().constData());
        edit->setText("5");
        edit->setFocus();
        QGuiApplication::clipboard()->setText("12");
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("512"));

        edit->setText("5");
        const QStringList texts = MenuTexts(edit, "&Paste");
        QVERIFY2(texts.size() >= 5, qPrintable(texts.join('|')));
        const QStringList shortcuts = Shortcuts(texts);
        for (const QKeySequence::StandardKey key :
             {QKeySequence::Paste, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Undo,
              QKeySequence::SelectAll})
            QVERIFY2(shortcuts.contains(QKeySequence(key).toString(QKeySequence::NativeText)),
                     qPrintable(texts.join('|')));
        QCOMPARE(edit->text(), QString("512"));
    }

    // An edit that only limits its length takes Ctrl+V and keeps the shortcut in its menu.
    void AnEditWithoutKeyFilterKeepsItsShortcuts() {
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
