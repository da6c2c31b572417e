// The General page live: summaries, leaving-field warnings and the Change buttons.
#include "gui_test_main.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
    void inputSummaryFollowsThePattern() {
        WindowFixture f;
        MakeThreeFiles(f);
        TFIN& w = f.Open();
        w.EditInFile->setText(f.Path("in/*.bin"));
        QCOMPARE(w.LabTOTlen->text(), ThreeFiles);
        QCOMPARE(w.InputBits, uint64_t{24000000});
        w.EditInFile->setText(f.Path("in/a.bin"));
        QCOMPARE(w.LabTOTlen->text(), QString("1 file, 8 mbits, 7.6 Mb"));
        w.EditInFile->setText(f.Path("in"));
        QCOMPARE(w.LabTOTlen->text(), QString("(No file)"));
        QCOMPARE(w.InputBits, uint64_t{0});
    }

    void computedLengthFollowsLengthCountAndInput() {
        WindowFixture f;
        MakeThreeFiles(f);
        TFIN& w = f.Open();
        w.cbAutoN->setChecked(false);
        w.EditInFile->setText(f.Path("in/*"));
        w.EditNT->setText("50");
        w.Editn->setText("0");
        QCOMPARE(w.LabSeqLen->text(), QString("The sequence length will be 480 kbits, 468.8 Kb"));
        QCOMPARE(w.Params.NT, 50);
        w.CBnUM->setCurrentIndex(3); // the unit alone changes nothing
        QCOMPARE(w.LabSeqLen->text(), QString("The sequence length will be 480 kbits, 468.8 Kb"));
        w.EditNT->setText("30000000"); // more sequences than bits
        QCOMPARE(w.LabSeqLen->text(), QString("The sequence length will be 0 bits"));
        w.EditNT->setText("0");
        QCOMPARE(w.LabSeqLen->text(), QString());
        QCOMPARE(w.Params.NT, 30000000);
        w.EditNT->setText("50");
        w.Editn->setText("1");
        QCOMPARE(w.LabSeqLen->text(), QString());
        QCOMPARE(w.Params.n, 1u);
        w.Editn->setText("0");
        w.EditInFile->setText(f.Path("in/none*"));
        QCOMPARE(w.LabSeqLen->text(), QString());
    }

    void automaticLengthKeepsItsText() {
        WindowFixture f;
        MakeThreeFiles(f);
        TFIN& w = f.Open();
        const QString automatic = "The sequence length will be calculated by Zentrope";
        w.Editn->setText("0");
        w.cbAutoN->setChecked(true);
        QCOMPARE(w.LabSeqLen->text(), automatic);
        w.EditInFile->setText(f.Path("in/*"));
        w.EditNT->setText("50");
        w.Editn->setText("00");
        QCOMPARE(w.LabSeqLen->text(), automatic);
        w.cbAutoN->setChecked(false);
        QCOMPARE(w.LabSeqLen->text(), QString("The sequence length will be 480 kbits, 468.8 Kb"));
    }

    void leavingAZeroLengthWithoutInput() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        w.EditInFile->setText("");
        w.EditNT->setText("5");
        w.Editn->setText("0");
        TabTo(w, w.Editn);
        TabTo(w, w.EditNT);
        QCOMPARE(f.MessageTexts(), QStringList{ZeroLength});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(QApplication::focusWidget(), w.Editn);
        QCOMPARE(w.Editn->text(), QString("0"));
        // Leaving the input file sends the user to the length, not back to the file.
        f.dialogs.messages.clear();
        w.Editn->setText("8");
        TabTo(w, w.EditInFile);
        w.Editn->setText("0");
        TabTo(w, w.EditOutFile);
        QCOMPARE(f.MessageTexts(), QStringList{ZeroLength});
        QCOMPARE(QApplication::focusWidget(), w.Editn);
    }

    void leavingAZeroCount() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        w.Editn->setText("8");
        w.EditNT->setText("0");
        TabTo(w, w.EditNT);
        TabTo(w, w.Editn);
        QCOMPARE(f.MessageTexts(), QStringList{ZeroCount});
        QCOMPARE(QApplication::focusWidget(), w.EditNT);
        // Both wrong: leaving one raises its own box only; returning the focus raises none.
        f.dialogs.messages.clear();
        w.EditNT->setText("1");
        TabTo(w, w.Editn);
        w.EditNT->setText("0");
        w.Editn->setText("0");
        TabTo(w, w.EditNT);
        QCOMPARE(f.MessageTexts(), QStringList{ZeroLength});
        QCOMPARE(QApplication::focusWidget(), w.Editn);
    }

    // The press that leaves the field raises the box before it reaches the button, and a real
    // box takes the release: the press is dropped, so the button neither sticks down nor clicks.
    void pressLeavingAWrongFieldIsDropped() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        w.EditInFile->setText("");
        w.Editn->setText("0");
        TabTo(w, w.Editn);
        const QPoint onSave = w.ButtParaSave->mapTo(&w, w.ButtParaSave->rect().center());
        QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, onSave);
        QCOMPARE(f.MessageTexts(), QStringList{ZeroLength});
        QCOMPARE(QApplication::focusWidget(), w.Editn);
        QVERIFY(!w.ButtParaSave->isDown());
        QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, onSave);
        QCOMPARE(w.EditParaFile->text(), QString());
        // The next press is the user's own again.
        w.Editn->setText("8");
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, onSave);
        QCOMPARE(w.EditParaFile->text(), QString("Zentrope_GUI_para"));
        QCOMPARE(f.MessageTexts(), QStringList{ZeroLength});
    }

    // A real box takes the focus from the field just entered, and closing it gives the focus
    // back: neither may raise another box.
    void realBoxFromLeavingAFieldShowsOnce() {
        WindowFixture f;
        TFIN w(WindowSetup{f.programDir.path(), f.currentDir.path(), nullptr});
        w.show();
        w.Editn->setText("8");
        w.EditNT->setText("0");
        TabTo(w, w.EditNT);
        w.Editn->setText("0");
        int boxes = 0;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ++boxes;
                box->close();
            }
        });
        closer.start(50);
        TabTo(w, w.Editn);
        QTest::qWait(300);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::qWait(300);
        QCOMPARE(boxes, 1);
        QCOMPARE(QApplication::focusWidget(), w.EditNT);
    }

    void leavingValidFieldsIsQuiet() {
        WindowFixture f;
        MakeThreeFiles(f);
        TFIN& w = f.Open();
        w.show();
        w.EditInFile->setText(f.Path("in/*"));
        w.Editn->setText("0");
        w.EditNT->setText("3");
        for (QWidget* field : {w.Editn, w.EditNT, w.EditInFile, w.Editn})
            TabTo(w, field);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void inputFileButton() {
        WindowFixture f;
        MakeThreeFiles(f);
        TFIN& w = f.Open();
        w.EditInFile->setText(f.Path("in/old.bin"));
        f.dialogs.answers = {f.Path("in/*.bin")};
        w.ButtInFileClick();
        QCOMPARE(f.dialogs.opened.size(), 1);
        QCOMPARE(f.dialogs.opened[0].dialog, QString("OD"));
        QCOMPARE(f.dialogs.opened[0].folder, f.Path("in"));
        QVERIFY(!f.dialogs.opened[0].mustExist); // a pattern names no file
        QCOMPARE(w.EditInFile->text(), f.Path("in/*.bin"));
        QCOMPARE(w.LabTOTlen->text(), ThreeFiles);
        w.ButtInFileClick(); // cancelled
        QCOMPARE(w.EditInFile->text(), f.Path("in/*.bin"));
    }

    void testerButtonWantsAnExistingFile() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.EditZTRPexe->setText("Zentrope.exe"); // no folder: the current one
        f.dialogs.answers = {f.Path("bin/tester")};
        w.ButtZTRPexeClick();
        QCOMPARE(f.dialogs.opened[0].folder, QDir::currentPath());
        QVERIFY(f.dialogs.opened[0].mustExist);
        QCOMPARE(w.EditZTRPexe->text(), f.Path("bin/tester"));
        // The option stays as the last button left it.
        w.ButtInFileClick();
        w.ButtZTRPexeClick();
        QCOMPARE(w.OD->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(w.EditZTRPexe->text(), f.Path("bin/tester"));
    }

    void outputFileButtonKeepsTheDialogsState() {
        WindowFixture f;
        TFIN& w = f.Open();
        const QString before = w.EditOutFile->text();
        w.ButtOutFileClick(); // cancelled
        QCOMPARE(w.EditOutFile->text(), before);
        QCOMPARE(f.dialogs.opened[0].dialog, QString("SD"));
        QCOMPARE(f.dialogs.opened[0].fileName, QString("_Zentrope.txt"));
        f.dialogs.answers = {f.Path("out/result.txt")};
        QVERIFY(QDir().mkpath(f.Path("out")));
        w.ButtOutFileClick();
        QCOMPARE(w.EditOutFile->text(), f.Path("out/result.txt"));
        w.ButtOutFileClick();
        QCOMPARE(f.dialogs.opened[2].folder, f.Path("out"));
        QCOMPARE(f.dialogs.opened[2].fileName, QString("result.txt"));
    }
};

ZENTROPE_GUI_TEST_MAIN(GeneralPageTest)
#include "general_page_test.moc"
