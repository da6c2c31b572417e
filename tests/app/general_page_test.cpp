// The General page live: summaries, leaving-field warnings and the Change buttons.
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include "app/widgets/elided_label.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace {

const QString ZeroLength = "The sequence length can be 0 only when there is a valid input file.";
const QString ZeroCount = "The number of tests can't be 0.";
const QString ThreeFiles = "3 files, 24 mbits, 22.9 Mb";

void MakeThreeFiles(const WindowFixture& f) {
    for (const char* name : {"in/a.bin", "in/b.bin", "in/c.bin"})
        f.Write(name, QByteArray(1000000, 'x'));
}

// Moves the focus the way Tab does, so the field left gets its focus-out.
void TabTo(TFIN& w, QWidget* to) {
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    to->setFocus(Qt::TabFocusReason);
}

} // namespace

class GeneralPageTest : public QObject {
    Q_OBJECT

private slots:
    void InputSummaryFollowsThePattern() {
        WindowFixture f;
        MakeThreeFiles(f);
        TFIN& w = f.Open();
        Control<QLineEdit>(w, "EditInFile")->setText(f.Path("in/*.bin"));
        QCOMPARE(Control<QLabel>(w, "LabTOTlen")->text(), ThreeFiles);
        QCOMPARE(w.General().InputBits, uint64_t{24000000});
        Control<QLineEdit>(w, "EditInFile")->setText(f.Path("in/a.bin"));
        QCOMPARE(Control<QLabel>(w, "LabTOTlen")->text(), QString("1 file, 8 mbits, 7.6 Mb"));
        Control<QLineEdit>(w, "EditInFile")->setText(f.Path("in"));
        QCOMPARE(Control<QLabel>(w, "LabTOTlen")->text(), QString("(No file)"));
        QCOMPARE(w.General().InputBits, uint64_t{0});
    }

    void ComputedLengthFollowsLengthCountAndInput() {
        WindowFixture f;
        MakeThreeFiles(f);
        TFIN& w = f.Open();
        Control<QCheckBox>(w, "cbAutoN")->setChecked(false);
        Control<QLineEdit>(w, "EditInFile")->setText(f.Path("in/*"));
        Control<QLineEdit>(w, "EditNT")->setText("50");
        Control<QLineEdit>(w, "Editn")->setText("0");
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(),
                 QString("The sequence length will be 480 kbits, 468.8 Kb"));
        QCOMPARE(w.params.NT, 50);
        Control<QComboBox>(w, "CBnUM")->setCurrentIndex(3); // the unit alone changes nothing
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(),
                 QString("The sequence length will be 480 kbits, 468.8 Kb"));
        Control<QLineEdit>(w, "EditNT")->setText("30000000"); // more sequences than bits
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(),
                 QString("The sequence length will be 0 bits"));
        Control<QLineEdit>(w, "EditNT")->setText("0");
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(), QString());
        QCOMPARE(w.params.NT, 30000000);
        Control<QLineEdit>(w, "EditNT")->setText("50");
        Control<QLineEdit>(w, "Editn")->setText("1");
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(), QString());
        QCOMPARE(w.params.n, 1u);
        Control<QLineEdit>(w, "Editn")->setText("0");
        Control<QLineEdit>(w, "EditInFile")->setText(f.Path("in/none*"));
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(), QString());
    }

    void AutomaticLengthKeepsItsText() {
        WindowFixture f;
        MakeThreeFiles(f);
        TFIN& w = f.Open();
        const QString automatic = "The sequence length will be calculated by Zentrope";
        Control<QLineEdit>(w, "Editn")->setText("0");
        Control<QCheckBox>(w, "cbAutoN")->setChecked(true);
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(), automatic);
        Control<QLineEdit>(w, "EditInFile")->setText(f.Path("in/*"));
        Control<QLineEdit>(w, "EditNT")->setText("50");
        Control<QLineEdit>(w, "Editn")->setText("00");
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(), automatic);
        Control<QCheckBox>(w, "cbAutoN")->setChecked(false);
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(),
                 QString("The sequence length will be 480 kbits, 468.8 Kb"));
    }

    void LeavingAZeroLengthWithoutInput() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        Control<QLineEdit>(w, "EditInFile")->setText("");
        Control<QLineEdit>(w, "EditNT")->setText("5");
        Control<QLineEdit>(w, "Editn")->setText("0");
        TabTo(w, Control<QLineEdit>(w, "Editn"));
        TabTo(w, Control<QLineEdit>(w, "EditNT"));
        QCOMPARE(f.MessageTexts(), QStringList{ZeroLength});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(w, "Editn"));
        QCOMPARE(Control<QLineEdit>(w, "Editn")->text(), QString("0"));
        // Leaving the input file sends the user to the length, not back to the file.
        f.dialogs.messages.clear();
        Control<QLineEdit>(w, "Editn")->setText("8");
        TabTo(w, Control<QLineEdit>(w, "EditInFile"));
        Control<QLineEdit>(w, "Editn")->setText("0");
        TabTo(w, Control<QLineEdit>(w, "EditOutFile"));
        QCOMPARE(f.MessageTexts(), QStringList{ZeroLength});
        QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(w, "Editn"));
    }

    void LeavingAZeroCount() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        Control<QLineEdit>(w, "Editn")->setText("8");
        Control<QLineEdit>(w, "EditNT")->setText("0");
        TabTo(w, Control<QLineEdit>(w, "EditNT"));
        TabTo(w, Control<QLineEdit>(w, "Editn"));
        QCOMPARE(f.MessageTexts(), QStringList{ZeroCount});
        QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(w, "EditNT"));
        // Both wrong: leaving one raises its own box only; returning the focus raises none.
        f.dialogs.messages.clear();
        Control<QLineEdit>(w, "EditNT")->setText("1");
        TabTo(w, Control<QLineEdit>(w, "Editn"));
        Control<QLineEdit>(w, "EditNT")->setText("0");
        Control<QLineEdit>(w, "Editn")->setText("0");
        TabTo(w, Control<QLineEdit>(w, "EditNT"));
        QCOMPARE(f.MessageTexts(), QStringList{ZeroLength});
        QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(w, "Editn"));
    }

    // The press that leaves the field raises the box before it reaches the button, and a real
    // box takes the release: the press is dropped, so the button neither sticks down nor clicks.
    void PressLeavingAWrongFieldIsDropped() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        Control<QLineEdit>(w, "EditInFile")->setText("");
        Control<QLineEdit>(w, "Editn")->setText("0");
        TabTo(w, Control<QLineEdit>(w, "Editn"));
        const QPoint onSave =
            Control<QPushButton>(w, "ButtParaSave")
                ->mapTo(&w, Control<QPushButton>(w, "ButtParaSave")->rect().center());
        QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, onSave);
        QCOMPARE(f.MessageTexts(), QStringList{ZeroLength});
        QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(w, "Editn"));
        QVERIFY(!Control<QPushButton>(w, "ButtParaSave")->isDown());
        QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, onSave);
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), QString());
        // The next press is the user's own again.
        Control<QLineEdit>(w, "Editn")->setText("8");
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, onSave);
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), QString("Zentrope_GUI_para"));
        QCOMPARE(f.MessageTexts(), QStringList{ZeroLength});
    }

    // A real box takes the focus from the field just entered, and closing it gives the focus
    // back: neither may raise another box.
    void RealBoxFromLeavingAFieldShowsOnce() {
        WindowFixture f;
        TFIN w(WindowSetup{f.programDir.path(), f.currentDir.path(), nullptr});
        w.show();
        Control<QLineEdit>(w, "Editn")->setText("8");
        Control<QLineEdit>(w, "EditNT")->setText("0");
        TabTo(w, Control<QLineEdit>(w, "EditNT"));
        Control<QLineEdit>(w, "Editn")->setText("0");
        int boxes = 0;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ++boxes;
                box->close();
            }
        });
        closer.start(50);
        TabTo(w, Control<QLineEdit>(w, "Editn"));
        QTest::qWait(300);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::qWait(300);
        QCOMPARE(boxes, 1);
        QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(w, "EditNT"));
    }

    void LeavingValidFieldsIsQuiet() {
        WindowFixture f;
        MakeThreeFiles(f);
        TFIN& w = f.Open();
        w.show();
        Control<QLineEdit>(w, "EditInFile")->setText(f.Path("in/*"));
        Control<QLineEdit>(w, "Editn")->setText("0");
        Control<QLineEdit>(w, "EditNT")->setText("3");
        for (QWidget* field : {Control<QLineEdit>(w, "Editn"), Control<QLineEdit>(w, "EditNT"),
                               Control<QLineEdit>(w, "EditInFile"), Control<QLineEdit>(w, "Editn")})
            TabTo(w, field);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    // A caption longer than the window is cut, whole in its tooltip, and the page never scrolls
    // sideways for it.
    void LongCaptionsAreElidedNotWidening() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QString caption = "1 file, 20 Mbits, 20.0 Mb " + QString(200, u'w') + " end";
        auto* scroller = qobject_cast<QScrollArea*>(w.centralWidget());
        QApplication::processEvents();
        const int sideways = scroller->horizontalScrollBar()->maximum();
        for (const char* name : {"LabTOTlen", "LabSeqLen"}) {
            auto* label = Control<ElidedLabel>(w, name);
            label->setText(caption);
            QApplication::processEvents();
            QCOMPARE(scroller->horizontalScrollBar()->maximum(), sideways);
            QVERIFY(label->geometry().right() < Control<QWidget>(w, "TSgeneral")->width());
            QCOMPARE(label->text(), caption);
            const QString shown = label->ShownText();
            QVERIFY(shown.startsWith("1 file") && shown.endsWith("end") &&
                    shown.contains(u'\u2026'));
            QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width());
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(label, &help);
            QCOMPARE(QToolTip::text(), caption);
            QToolTip::hideText();
        }
        Control<ElidedLabel>(w, "LabTOTlen")->setText("(No file)");
        QCOMPARE(Control<ElidedLabel>(w, "LabTOTlen")->ShownText(), QString("(No file)"));
    }

    void InputFileButton() {
        WindowFixture f;
        MakeThreeFiles(f);
        TFIN& w = f.Open();
        Control<QLineEdit>(w, "EditInFile")->setText(f.Path("in/old.bin"));
        f.dialogs.answers = {f.Path("in/*.bin")};
        w.General().ButtInFileClick();
        QCOMPARE(f.dialogs.opened.size(), 1);
        QCOMPARE(f.dialogs.opened[0].dialog, QString("OD"));
        QCOMPARE(f.dialogs.opened[0].folder, f.Path("in"));
        QVERIFY(!f.dialogs.opened[0].mustExist); // a pattern names no file
        QCOMPARE(Control<QLineEdit>(w, "EditInFile")->text(), f.Path("in/*.bin"));
        QCOMPARE(Control<QLabel>(w, "LabTOTlen")->text(), ThreeFiles);
        w.General().ButtInFileClick(); // cancelled
        QCOMPARE(Control<QLineEdit>(w, "EditInFile")->text(), f.Path("in/*.bin"));
    }

    void TesterButtonWantsAnExistingFile() {
        WindowFixture f;
        TFIN& w = f.Open();
        Control<QLineEdit>(w, "EditZTRPexe")->setText("Zentrope.exe"); // no folder: the current one
        f.dialogs.answers = {f.Path("bin/tester")};
        w.General().ButtZTRPexeClick();
        QCOMPARE(f.dialogs.opened[0].folder, QDir::currentPath());
        QVERIFY(f.dialogs.opened[0].mustExist);
        QCOMPARE(Control<QLineEdit>(w, "EditZTRPexe")->text(), f.Path("bin/tester"));
        // The option stays as the last button left it.
        w.General().ButtInFileClick();
        w.General().ButtZTRPexeClick();
        QCOMPARE(Control<QFileDialog>(w, "OD")->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(Control<QLineEdit>(w, "EditZTRPexe")->text(), f.Path("bin/tester"));
    }

    void OutputFileButtonKeepsTheDialogsState() {
        WindowFixture f;
        TFIN& w = f.Open();
        const QString before = Control<QLineEdit>(w, "EditOutFile")->text();
        w.General().ButtOutFileClick(); // cancelled
        QCOMPARE(Control<QLineEdit>(w, "EditOutFile")->text(), before);
        QCOMPARE(f.dialogs.opened[0].dialog, QString("SD"));
        QCOMPARE(f.dialogs.opened[0].fileName, QString("_Zentrope.txt"));
        f.dialogs.answers = {f.Path("out/result.txt")};
        QVERIFY(QDir().mkpath(f.Path("out")));
        w.General().ButtOutFileClick();
        QCOMPARE(Control<QLineEdit>(w, "EditOutFile")->text(), f.Path("out/result.txt"));
        w.General().ButtOutFileClick();
        QCOMPARE(f.dialogs.opened[2].folder, f.Path("out"));
        QCOMPARE(f.dialogs.opened[2].fileName, QString("result.txt"));
    }
};

ZENTROPE_GUI_TEST_MAIN(GeneralPageTest)
#include "general_page_test.moc"
