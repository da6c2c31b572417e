// The Parameters page: the execution order kept by the test check boxes and the enable
// buttons, live reordering by dragging, the keystroke filters and typing limits, the spinners.
#include "app/widgets/edit_bindings.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

namespace {

// TestId of the test shown by CheckBoxN, in screen order N = 1 to 21.
const int BoxTest[] = {1, 17, 3, 18, 19, 10, 2, 4, 20, 9, 11, 5, 6, 7, 8, 14, 12, 13, 15, 16, 21};

QList<int> BoxTests(std::initializer_list<int> boxes) {
    QList<int> ids;
    for (int n : boxes)
        ids << BoxTest[n - 1];
    return ids;
}

void SendMouse(QWidget* target, QEvent::Type type, int y, Qt::MouseButtons buttons) {
    const QPoint local(10, y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

QString Typed(QLineEdit* edit, const QString& start, const QString& keys) {
    edit->setText(start);
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, keys);
    return edit->text();
}

// Chooses Paste in the edit's context menu.
void PasteFromMenu(QLineEdit* edit) {
    QTimer::singleShot(0, edit, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* action : menu->actions())
            if (action->text().startsWith("&Paste"))
                action->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            edit->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(edit, &event);
}

} // namespace

class ParametersPageTest : public QObject {
    Q_OBJECT

    WindowFixture fixture_;
    TFIN* w_ = nullptr;

    void CheckOnly(std::initializer_list<int> boxes) {
        Control<ParametersPage>(*w_, "TSparam")->BBenableNoneClick();
        for (int n : boxes)
            Control<ParametersPage>(*w_, "TSparam")->TestCheckBox(n)->setChecked(true);
    }

    // Entries are exactly the checked tests, each once, with the TestId of their text.
    void VerifyOrderMatchesBoxes() {
        QList<int> ids = OrderIds(*w_);
        for (int row = 0; row < Control<OrderListBox>(*w_, "LBorder")->count(); ++row) {
            const QString text = Control<OrderListBox>(*w_, "LBorder")->item(row)->text();
            bool found = false;
            for (int n = 1; n <= 21; ++n)
                if (Control<ParametersPage>(*w_, "TSparam")->TestCheckBox(n)->text() == text) {
                    QCOMPARE(ids[row], BoxTest[n - 1]);
                    QVERIFY(Control<ParametersPage>(*w_, "TSparam")->TestCheckBox(n)->isChecked());
                    found = true;
                }
            QVERIFY(found);
        }
        std::sort(ids.begin(), ids.end());
        QVERIFY(std::adjacent_find(ids.begin(), ids.end()) == ids.end());
        int checked = 0;
        for (int n = 1; n <= 21; ++n)
            checked += Control<ParametersPage>(*w_, "TSparam")->TestCheckBox(n)->isChecked();
        QCOMPARE(ids.size(), checked);
    }

    void StartDrag(int row) {
        const int rowHeight = Control<OrderListBox>(*w_, "LBorder")->RowHeight();
        QWidget* view = Control<OrderListBox>(*w_, "LBorder")->viewport();
        SendMouse(view, QEvent::MouseButtonPress, row * rowHeight + rowHeight / 2, Qt::LeftButton);
    }
    void DragTo(int row) {
        const int rowHeight = Control<OrderListBox>(*w_, "LBorder")->RowHeight();
        SendMouse(Control<OrderListBox>(*w_, "LBorder")->viewport(), QEvent::MouseMove,
                  row * rowHeight + rowHeight / 2, Qt::LeftButton);
    }
    void Drop(int row) {
        const int rowHeight = Control<OrderListBox>(*w_, "LBorder")->RowHeight();
        SendMouse(Control<OrderListBox>(*w_, "LBorder")->viewport(), QEvent::MouseButtonRelease,
                  row * rowHeight + rowHeight / 2, Qt::NoButton);
    }

private slots:
    void initTestCase() {
        w_ = &fixture_.Open();
        Control<QTabWidget>(*w_, "PC")->setCurrentWidget(Control<QWidget>(*w_, "TSparam"));
        w_->show();
        QApplication::setActiveWindow(w_);
        QVERIFY(QTest::qWaitForWindowActive(w_));
    }

    void TickingAppendsAndUntickingRemoves() {
        CheckOnly({});
        QVERIFY(Control<OrderListBox>(*w_, "LBorder")->count() == 0);
        for (QCheckBox* box :
             {Control<QCheckBox>(*w_, "CheckBox6"), Control<QCheckBox>(*w_, "CheckBox1")})
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 8, box->height() / 2));
        Control<QCheckBox>(*w_, "CheckBox12")->setChecked(true);
        QCOMPARE(OrderTexts(*w_), (QStringList{"NOTM", "DFT", "Serial two-bit"}));
        QCOMPARE(OrderIds(*w_), (QList<int>{10, 1, 5}));
        Control<QCheckBox>(*w_, "CheckBox6")->setChecked(false);
        QCOMPARE(OrderIds(*w_), (QList<int>{1, 5}));
        // Checking again moves a test to the end.
        Control<QCheckBox>(*w_, "CheckBox1")->setChecked(false);
        Control<QCheckBox>(*w_, "CheckBox1")->setChecked(true);
        QCOMPARE(OrderIds(*w_), (QList<int>{5, 1}));
    }

    void ACaptionOfNoTestChangesNothing() {
        CheckOnly({3});
        Control<QCheckBox>(*w_, "CheckBox1")->setText("dft");
        Control<QCheckBox>(*w_, "CheckBox1")->setChecked(true);
        Control<QCheckBox>(*w_, "CheckBox1")->setText("DFT");
        QCOMPARE(OrderIds(*w_), BoxTests({3}));
        Control<QCheckBox>(*w_, "CheckBox1")->setChecked(false);
    }

    void AllKeepsTheCheckedAndAppendsTheRestByNumber() {
        CheckOnly({5, 1, 3});
        QTest::mouseClick(Control<QPushButton>(*w_, "BBenableAll"), Qt::LeftButton);
        QCOMPARE(OrderIds(*w_), BoxTests({5,  1,  3,  2,  4,  6,  7,  8,  9,  10, 11,
                                          12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
        VerifyOrderMatchesBoxes();
        // All 21 entries are in sight without scrolling.
        const QRect last = Control<OrderListBox>(*w_, "LBorder")
                               ->visualItemRect(Control<OrderListBox>(*w_, "LBorder")->item(20));
        QVERIFY(Control<OrderListBox>(*w_, "LBorder")->viewport()->rect().contains(last));
    }

    void NoneEmptiesAndToggleInverts() {
        QTest::mouseClick(Control<QPushButton>(*w_, "BBenableNone"), Qt::LeftButton);
        QCOMPARE(Control<OrderListBox>(*w_, "LBorder")->count(), 0);
        for (int n = 1; n <= 21; ++n)
            QVERIFY(!Control<ParametersPage>(*w_, "TSparam")->TestCheckBox(n)->isChecked());
        QTest::mouseClick(Control<QPushButton>(*w_, "BBenableToggle"), Qt::LeftButton);
        QCOMPARE(OrderIds(*w_), BoxTests({1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                          12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
        CheckOnly({20, 2});
        Control<ParametersPage>(*w_, "TSparam")->BBenableToggleClick();
        QCOMPARE(OrderIds(*w_),
                 BoxTests({1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 21}));
    }

    // Whatever the user does with boxes and buttons, the list mirrors the checked boxes.
    void AnySequenceKeepsTheOrderInStep() {
        QRandomGenerator random(20260711);
        for (int step = 0; step < 400; ++step) {
            const int choice = random.bounded(24);
            if (choice == 21)
                Control<ParametersPage>(*w_, "TSparam")->BBenableAllClick();
            else if (choice == 22)
                Control<ParametersPage>(*w_, "TSparam")->BBenableNoneClick();
            else if (choice == 23)
                Control<ParametersPage>(*w_, "TSparam")->BBenableToggleClick();
            else
                Control<ParametersPage>(*w_, "TSparam")->TestCheckBox(choice + 1)->toggle();
            VerifyOrderMatchesBoxes();
        }
    }

    void DraggingReordersLive() {
        CheckOnly({1, 2, 3, 4, 5});
        StartDrag(0);
        QCOMPARE(Control<ParametersPage>(*w_, "TSparam")->DragIndex, 0);
        DragTo(1);
        QCOMPARE(OrderIds(*w_), BoxTests({2, 1, 3, 4, 5}));
        DragTo(2);
        DragTo(3);
        QCOMPARE(OrderIds(*w_), BoxTests({2, 3, 4, 1, 5}));
        QCOMPARE(Control<ParametersPage>(*w_, "TSparam")->DragIndex, 3);
        // Below the last entry the drop is refused and nothing moves.
        DragTo(7);
        QCOMPARE(OrderIds(*w_), BoxTests({2, 3, 4, 1, 5}));
        QCOMPARE(Control<OrderListBox>(*w_, "LBorder")->viewport()->cursor().shape(),
                 Qt::ForbiddenCursor);
        DragTo(0);
        Drop(0);
        QCOMPARE(OrderIds(*w_), BoxTests({1, 2, 3, 4, 5}));
        QCOMPARE(Control<OrderListBox>(*w_, "LBorder")->viewport()->cursor().shape(),
                 Qt::SizeVerCursor);
        // Releasing added nothing; the boxes still match.
        VerifyOrderMatchesBoxes();
    }

    void AStaleDragIndexMovesNothing() {
        CheckOnly({1, 2, 3});
        Control<ParametersPage>(*w_, "TSparam")->DragIndex = -1;
        QVERIFY(Control<ParametersPage>(*w_, "TSparam")
                    ->LBorderDragOver(Control<OrderListBox>(*w_, "LBorder")->RowHeight() + 1));
        Control<ParametersPage>(*w_, "TSparam")->DragIndex = 9;
        Control<ParametersPage>(*w_, "TSparam")->LBorderDragOver(1);
        QCOMPARE(OrderIds(*w_), BoxTests({1, 2, 3}));
        CheckOnly({});
        Control<ParametersPage>(*w_, "TSparam")->DragIndex = 0;
        QVERIFY(!Control<ParametersPage>(*w_, "TSparam")
                     ->LBorderDragOver(Control<OrderListBox>(*w_, "LBorder")->RowHeight() + 1));
    }

    void ASmallWindowScrolls() {
        const QSize before = w_->size();
        auto* scroller = qobject_cast<QScrollArea*>(w_->centralWidget());
        QVERIFY(scroller);
        w_->resize(300, 200);
        QApplication::processEvents();
        QVERIFY(scroller->verticalScrollBar()->isVisible());
        QVERIFY(scroller->horizontalScrollBar()->isVisible());
        w_->resize(before);
    }

    void KeyFiltersByEditKind_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("result");
        QTest::newRow("step takes minus") << "ePERMtstp"
                                          << "-1-"
                                          << "-1-";
        QTest::newRow("min refuses minus") << "ePERMsmin"
                                           << "-12"
                                           << "12";
        QTest::newRow("digits only") << "eMAU_n"
                                     << "1 2.3+4a"
                                     << "1234";
        QTest::newRow("length") << "Editn"
                                << "-5e3"
                                << "53";
        QTest::newRow("threshold point") << "EditKSmin"
                                         << "0.05"
                                         << "0.05";
        QTest::newRow("threshold no minus") << "EditSLmax"
                                            << "-1e5"
                                            << "15";
    }
    void KeyFiltersByEditKind() {
        QFETCH(QString, edit);
        QFETCH(QString, keys);
        QFETCH(QString, result);
        QLineEdit* control = w_->findChild<QLineEdit*>(edit);
        QCOMPARE(Typed(control, "", keys), result);
    }

    void EditingKeysStillWork() {
        QLineEdit* edit = Control<QLineEdit>(*w_, "eNOTMtemp");
        edit->setText("12345");
        edit->setFocus();
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClick(edit, Qt::Key_Right);
        QTest::keyClick(edit, Qt::Key_9);
        QCOMPARE(edit->text(), QString("2934"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), QString("2934"));
    }

    // Ctrl+V keeps what typing would let in; the menu's Paste inserts the text as it is.
    void ClipboardShortcutPastesFilteredAndTheMenuAsIs() {
        QGuiApplication::clipboard()->setText("7-7");
        QLineEdit* edit = Control<QLineEdit>(*w_, "eDFTdmax");
        edit->setText("1");
        edit->setFocus();
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("177"));
        edit->setText("1");
        PasteFromMenu(edit);
        QCOMPARE(edit->text(), QString("17-7"));
    }

    // Ctrl+A then typing replaces the number (it used to be appended to); copy, cut, paste and
    // undo work in every numeric field, the paste filtered as typing is and cut to the limit.
    void EditingShortcutsWorkInEveryNumericField() {
        QStringList fields;
        for (QLineEdit* edit : w_->findChildren<QLineEdit*>())
            if (edit->objectName().startsWith('e') ||
                QStringList{"Editn", "EditNT", "EditPVdgt", "EditKSmin", "EditADmin", "EditSLmax"}
                    .contains(edit->objectName()))
                fields << edit->objectName();
        QCOMPARE(fields.size(), 44); // the 41 integer fields and the 3 thresholds
        for (const QString& name : fields) {
            auto* edit = Control<QLineEdit>(*w_, name.toLatin1().constData());
            const bool decimal = QStringList{"EditKSmin", "EditADmin", "EditSLmax"}.contains(name);
            const bool minus = name.contains("stp");
            edit->setFocus();
            edit->setText("1");
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, "2");
            QCOMPARE(edit->text(), QString("2"));

            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->text(), QString("2"));
            QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
            QCOMPARE(edit->text(), QString());
            QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(edit->text(), QString("2"));

            QGuiApplication::clipboard()->setText(" 3-4.5x\t");
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            const QString kept = decimal ? "34.5" : minus ? "3-45" : "345";
            const int limit = TypingLimit(edit);
            QVERIFY2(edit->text() == (limit > 0 ? kept.left(limit) : kept),
                     qPrintable(name + ": " + edit->text()));
        }
    }

    void LimitsBindTypingAndPastingOnly() {
        QLineEdit* edit = Control<QLineEdit>(*w_, "eSERmin");
        QCOMPARE(Typed(edit, "16", "7"), QString("16"));
        edit->selectAll();
        QTest::keyClicks(edit, "423");
        QCOMPARE(edit->text(), QString("42"));
        // Pasting keeps what fits.
        QGuiApplication::clipboard()->setText("98765");
        edit->setText("");
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(edit->text(), QString("98"));
        edit->setText("1");
        PasteFromMenu(edit);
        QCOMPARE(edit->text(), QString("19"));
        // The program's texts are never cut; the user can only shorten them.
        Control<QLineEdit>(*w_, "EditKSmin")->setText("0.0001234");
        Control<QLineEdit>(*w_, "eMAU_n")->setText("1000000");
        QCOMPARE(Control<QLineEdit>(*w_, "EditKSmin")->text(), QString("0.0001234"));
        QCOMPARE(Typed(Control<QLineEdit>(*w_, "eMAU_n"), "1000000", "5"), QString("1000000"));
        PasteFromMenu(Control<QLineEdit>(*w_, "eMAU_n"));
        QCOMPARE(Control<QLineEdit>(*w_, "eMAU_n")->text(), QString("1000000"));
        QTest::keyClick(Control<QLineEdit>(*w_, "eMAU_n"), Qt::Key_Backspace);
        QCOMPARE(Control<QLineEdit>(*w_, "eMAU_n")->text(), QString("100000"));
    }

    void AmlsArrowsRewriteTheirLabels() {
        Control<UpDown>(*w_, "uAMLSmin")->SetPosition(14);
        Control<UpDown>(*w_, "uAMLSmax")->SetPosition(2);
        Control<QLabel>(*w_, "LabAMLSmin")->setText("3");
        QCOMPARE(Control<QLabel>(*w_, "LabAMLSmin")->text(), QString("3"));
        QTest::mouseClick(Control<UpDown>(*w_, "uAMLSmin")->UpArrow(), Qt::LeftButton);
        QCOMPARE(Control<QLabel>(*w_, "LabAMLSmin")->text(), QString("32768"));
        QTest::mouseClick(Control<UpDown>(*w_, "uAMLSmin")->UpArrow(), Qt::LeftButton);
        QCOMPARE(Control<UpDown>(*w_, "uAMLSmin")->Position(), 15);
        QTest::mouseClick(Control<UpDown>(*w_, "uAMLSmax")->DownArrow(), Qt::LeftButton);
        QTest::mouseClick(Control<UpDown>(*w_, "uAMLSmax")->DownArrow(), Qt::LeftButton);
        QCOMPARE(Control<UpDown>(*w_, "uAMLSmax")->Position(), 1);
        QCOMPARE(Control<QLabel>(*w_, "LabAMLSmax")->text(), QString("2"));
        Control<UpDown>(*w_, "uAMLSstp")->SetPosition(-31);
        QTest::mouseClick(Control<UpDown>(*w_, "uAMLSstp")->DownArrow(), Qt::LeftButton);
        QCOMPARE(Control<UpDown>(*w_, "uAMLSstp")->Position(), -1);
        QCOMPARE(Control<QLabel>(*w_, "LabAMLSstp")->text(), QString("-1"));
        Control<UpDown>(*w_, "uAMLSstp")->ClickUp();
        QCOMPARE(Control<QLabel>(*w_, "LabAMLSstp")->text(), QString("-31"));
    }

    void SpinnersShowTheirPosition() {
        Control<UpDown>(*w_, "uRUNsmax")->SetPosition(40);
        QCOMPARE(Control<QLabel>(*w_, "STrunSmax")->text(), QString("32"));
        Control<UpDown>(*w_, "uRUNsmax")->SetPosition(65536 + 5);
        QCOMPARE(Control<UpDown>(*w_, "uRUNsmax")->Position(), 5);
        Control<UpDown>(*w_, "uCOLLsmin")->SetPosition(31);
        Control<UpDown>(*w_, "uCOLLsmin")->ClickUp();
        QCOMPARE(Control<QLabel>(*w_, "STcollsMin")->text(), QString("10"));
        // The digits spinner takes a number typed into its edit, and refuses one out of range.
        QCOMPARE(Typed(Control<QLineEdit>(*w_, "EditPVdgt"), "", "12"), QString("12"));
        QCOMPARE(Control<UpDown>(*w_, "UDpvalDGT")->Position(), 12);
        Typed(Control<QLineEdit>(*w_, "EditPVdgt"), "", "25");
        QCOMPARE(Control<UpDown>(*w_, "UDpvalDGT")->Position(), 12);
        Typed(Control<QLineEdit>(*w_, "EditPVdgt"), "", "20");
        QTest::mouseClick(Control<UpDown>(*w_, "UDpvalDGT")->UpArrow(), Qt::LeftButton);
        QCOMPARE(Control<QLineEdit>(*w_, "EditPVdgt")->text(), QString("20"));
        Control<UpDown>(*w_, "UDpvalDGT")->ClickDown();
        QCOMPARE(Control<QLineEdit>(*w_, "EditPVdgt")->text(), QString("19"));
    }

    // Keys and the wheel raise the same handler as the arrows: the AMLS label is rewritten.
    void SpinnersStepFromTheKeyboardAndWheel() {
        UpDown* spinner = Control<UpDown>(*w_, "uAMLSmin");
        QLabel* label = Control<QLabel>(*w_, "LabAMLSmin");
        spinner->SetPosition(3);
        QApplication::setActiveWindow(w_);
        spinner->setFocus();
        QVERIFY(spinner->hasFocus());
        QTest::keyClick(spinner, Qt::Key_Up);
        QCOMPARE(label->text(), QString("16"));
        QTest::keyClick(spinner, Qt::Key_Down);
        QTest::keyClick(spinner, Qt::Key_Down);
        QCOMPARE(label->text(), QString("4"));
        // Page keys stop at the ends even on a wrapping spinner.
        QTest::keyClick(spinner, Qt::Key_PageDown);
        QCOMPARE(label->text(), QString("2"));
        QTest::keyClick(spinner, Qt::Key_PageUp);
        QTest::keyClick(spinner, Qt::Key_PageUp);
        QCOMPARE(label->text(), QString("32768"));
        Control<UpDown>(*w_, "uCOLLsmin")->SetPosition(12);
        QTest::keyClick(Control<UpDown>(*w_, "uCOLLsmin"), Qt::Key_PageUp);
        QTest::keyClick(Control<UpDown>(*w_, "uCOLLsmin"), Qt::Key_PageUp);
        QCOMPARE(Control<QLabel>(*w_, "STcollsMin")->text(), QString("31"));

        spinner->SetPosition(5);
        const QPoint centre = spinner->rect().center();
        auto turn = [&](int angle) {
            QWheelEvent wheel(centre, spinner->mapToGlobal(centre), {}, QPoint(0, angle),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(spinner, &wheel);
        };
        turn(120);
        QCOMPARE(label->text(), QString("64"));
        turn(60); // half a notch does nothing until the other half comes
        QCOMPARE(label->text(), QString("64"));
        turn(60);
        turn(-360);
        QCOMPARE(label->text(), QString("16"));
    }

    // Ctrl+Up/Down move the current entry as dragging it one place would.
    void OrderEntriesMoveWithTheKeyboard() {
        CheckOnly({1, 2, 3, 4});
        auto* list = Control<OrderListBox>(*w_, "LBorder");
        const QList<int> before = OrderIds(*w_);
        list->setFocus();
        list->setCurrentRow(1);
        QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(OrderIds(*w_), (QList<int>{before[0], before[2], before[3], before[1]}));
        QCOMPARE(list->currentRow(), 3);
        QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier); // already last
        QCOMPARE(OrderIds(*w_), (QList<int>{before[0], before[2], before[3], before[1]}));
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier); // already first
        QTest::keyClick(list, Qt::Key_Down);                    // plain arrows only select
        QCOMPARE(list->currentRow(), 1);
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(OrderIds(*w_), (QList<int>{before[2], before[0], before[3], before[1]}));
        VerifyOrderMatchesBoxes();
    }

    // Tab walks the rows from the top, min, max and step in each, then the order and the runs.
    void TabFollowsTheScreen() {
        const QStringList expected = {
            "CheckBox1", "eDFTmax",    "eDFTdmin",   "eDFTdmax",   "eDFTdstp",    "eDFToptimize",
            "CheckBox2", "eAUTWmmin",  "eAUTWmmax",  "eAUTWmstp",  "eAUTWdmin",   "eAUTWdmax",
            "eAUTWdstp", "CheckBox3",  "eSBLKsmin",  "CheckBox14", "uRUNsmin",    "uRUNsmax",
            "eRUNsstp",  "uRUNrmin",   "uRUNrmax",   "eRUNrstp",   "uAMLSmin",    "uAMLSmax",
            "uAMLSstp",  "CheckBox12", "CheckBox13", "LBorder",    "ButtRunWait", "ButtRunExit"};
        QStringList walked;
        QWidget* widget = Control<QWidget>(*w_, "CheckBox1");
        for (int i = 0; i < 500 && walked.size() < expected.size(); ++i) {
            if (expected.contains(widget->objectName()) && !walked.contains(widget->objectName()))
                walked << widget->objectName();
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(walked, expected);
    }
};

ZENTROPE_GUI_TEST_MAIN(ParametersPageTest)
#include "parameters_page_test.moc"
