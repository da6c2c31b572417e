// Save, Load, Load new and Save as, driven through the window with real files.
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <sys/stat.h>

namespace {

QString NotFound(const QString& path) {
    return "Parameter file\n\"" + path + "\"\nnot found.";
}

const QByteArray SmallFile = "[General]\nNT 7\nInFile \"\"\n[Enable]\n1 gcd\n1 dft\n";

QByteArray GoldenDefaults() {
    QFile file(QStringLiteral(PARAMFILE_TEST_DATA "/defaults.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing golden file");
}

// Changes a control of every kind that the file holds.
void ChangeEverything(TFIN& w) {
    Control<QLineEdit>(w, "Editn")->setText("12");
    Control<QComboBox>(w, "CBnUM")->setCurrentIndex(4); // byte units come back as bit units
    Control<QLineEdit>(w, "EditNT")->setText("3");
    Control<QComboBox>(w, "CBsaveFormat")->setCurrentIndex(1);
    Control<UpDown>(w, "UDpvalDGT")->SetPosition(12);
    Control<QCheckBox>(w, "cbAutoN")->setChecked(true);
    Control<QRadioButton>(w, "RBpriNorm")->setChecked(true);
    Control<QCheckBox>(w, "cbSortKS")->setChecked(true);
    Control<QLineEdit>(w, "EditKSmin")->setText("0.25");
    Control<QLineEdit>(w, "EditInFile")->setText("in file.bin");
    Control<QLineEdit>(w, "EditOutFile")->setText("out.txt");
    Control<UpDown>(w, "uAMLSmin")->ClickUp();
    Control<UpDown>(w, "uAMLSstp")->ClickDown();
    Control<UpDown>(w, "uRUNrmax")->SetPosition(3);
    Control<QLineEdit>(w, "eDFTmax")->setText("5");
    Control<QComboBox>(w, "CBdftMax")->setCurrentIndex(4);
    Control<QCheckBox>(w, "cbDFTm0")->setChecked(false);
    Control<QLineEdit>(w, "eMAU_n")->setText("77");
    Control<QLineEdit>(w, "eSBLKdstp")->setText("-9");
    Control<QCheckBox>(w, "CheckBox1")->setChecked(false);
    Control<QCheckBox>(w, "CheckBox1")->setChecked(true); // DFT moves to the end of the order
    Control<QCheckBox>(w, "CheckBox19")->setChecked(false);
}

} // namespace

class ParameterFileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void LoadNeedsAnExistingFile() {
        WindowFixture f;
        TFIN& w = f.Open();
        Control<QLineEdit>(w, "EditNT")->setText("5");
        w.ButtParaReloadClick();
        QCOMPARE(f.MessageTexts(), QStringList{NotFound("")});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Warning);
        f.dialogs.messages.clear();
        Control<QLineEdit>(w, "EditParaFile")->setText(f.Path("gone.par"));
        w.ButtParaReloadClick();
        QCOMPARE(f.MessageTexts(), QStringList{NotFound(f.Path("gone.par"))});
        QCOMPARE(Control<QLineEdit>(w, "EditNT")->text(), QString("5"));
        f.dialogs.messages.clear();
        QDir().mkpath(f.Path("folder.par"));
        Control<QLineEdit>(w, "EditParaFile")->setText(f.Path("folder.par"));
        w.ButtParaReloadClick();
        QCOMPARE(f.MessageTexts(), QStringList{NotFound(f.Path("folder.par"))});
    }

    void LoadReadsTheNamedFile() {
        WindowFixture f;
        TFIN& w = f.Open();
        f.Write("small.par", SmallFile);
        Control<QLineEdit>(w, "EditParaFile")->setText("small.par");
        w.ButtParaReloadClick();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(Control<QLineEdit>(w, "EditNT")->text(), QString("7"));
        QCOMPARE(Control<OrderListBox>(w, "LBorder")->count(), 2);
        // A reader failure leaves the controls alone.
        f.Write("small.par", "[General]\nNT 9\nOutFile x\n");
        w.ButtParaReloadClick();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.MessageTexts()[0].contains("OutFile file name must be always enclosed"));
        QCOMPARE(Control<QLineEdit>(w, "EditNT")->text(), QString("7"));
    }

    // A million faults would be a million boxes: the first few and then one that counts.
    void ManyFaultsShowAFewBoxesAndACount() {
        QByteArray bogus;
        for (int i = 0; i < 20000; ++i)
            bogus += "[bogus section]\n";
        WindowFixture f;
        f.Write("bogus.par", bogus);
        f.Write("prefs.ini", "para_file=bogus.par\n");
        TFIN& w = f.Open(); // the start-up load
        for (int load = 0; load < 2; ++load) {
            const QStringList texts = f.MessageTexts();
            QCOMPARE(texts.size(), 6);
            QVERIFY2(texts[0].contains("bogus section"), qPrintable(texts[0]));
            QCOMPARE(texts[4], texts[0]);
            QCOMPARE(texts[5], QString("19995 more messages were about the parameter file "
                                       "bogus.par not shown."));
            f.dialogs.messages.clear();
            w.ButtParaReloadClick();
        }
        // Five faults or fewer need no count.
        f.dialogs.messages.clear();
        f.Write("bogus.par", bogus.left(5 * 16));
        w.ButtParaReloadClick();
        QCOMPARE(f.MessageTexts().size(), 5);
        QVERIFY(!f.MessageTexts().last().contains("not shown"));
    }

    void APipeIsNoParameterFile() {
        WindowFixture f;
        TFIN& w = f.Open();
        const QString pipe = f.Path("pipe.par");
        QVERIFY(mkfifo(pipe.toLocal8Bit().constData(), 0600) == 0);
        Control<QLineEdit>(w, "EditParaFile")->setText(pipe);
        w.ButtParaReloadClick(); // without the check, this waits for a writer for ever
        QCOMPARE(f.MessageTexts(),
                 QStringList(pipe + " is not a regular file (a pipe, a device or a socket) and "
                                    "cannot be loaded."));
    }

    void LoadNewThroughTheOpenDialog() {
        WindowFixture f;
        TFIN& w = f.Open();
        f.Write("runs/chosen.par", SmallFile);
        QVERIFY(QDir().mkpath(f.Path("old")));
        Control<QLineEdit>(w, "EditParaFile")->setText(f.Path("old/a.par"));
        w.ButtParaLoadClick(); // cancelled
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), f.Path("old/a.par"));
        QCOMPARE(Control<QLineEdit>(w, "EditNT")->text(), QString("50"));
        QCOMPARE(f.dialogs.opened[0].dialog, QString("OD"));
        QCOMPARE(f.dialogs.opened[0].folder, f.Path("old"));
        QVERIFY(!f.dialogs.opened[0].mustExist);
        f.dialogs.answers = {f.Path("runs/chosen.par"), f.Path("runs/new.par")};
        w.ButtParaLoadClick();
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), f.Path("runs/chosen.par"));
        QCOMPARE(Control<QLineEdit>(w, "EditNT")->text(), QString("7"));
        QVERIFY(f.dialogs.messages.isEmpty());
        // A name that does not exist is taken and then reported by the load.
        w.ButtParaLoadClick();
        QCOMPARE(f.dialogs.opened[2].folder, f.Path("runs"));
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), f.Path("runs/new.par"));
        QCOMPARE(f.MessageTexts(), QStringList{NotFound(f.Path("runs/new.par"))});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Information);
    }

    void SaveAsThroughTheSaveDialog() {
        WindowFixture f;
        TFIN& w = f.Open();
        QVERIFY(QDir().mkpath(f.Path("runs")));
        QVERIFY(QDir().mkpath(f.Path("other")));
        Control<QLineEdit>(w, "EditParaFile")->setText(f.Path("runs/a.par"));
        w.ButtParaSaveAsClick(); // cancelled: no file, no new name
        QCOMPARE(f.dialogs.opened[0].dialog, QString("SD"));
        QCOMPARE(f.dialogs.opened[0].folder, f.Path("runs"));
        QCOMPARE(f.dialogs.opened[0].fileName, QString("a.par"));
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), f.Path("runs/a.par"));
        QVERIFY(!QFile::exists(f.Path("runs/a.par")));
        f.Write("other/b", "old content");
        f.dialogs.answers = {f.Path("other/b")};
        w.ButtParaSaveAsClick();
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), f.Path("other/b"));
        QCOMPARE(f.Read("other/b"), GoldenDefaults()); // replaced without a question
        // The output file button opens where the parameter file went.
        w.General().ButtOutFileClick();
        QCOMPARE(f.dialogs.opened[2].folder, f.Path("other"));
        QCOMPARE(f.dialogs.opened[2].fileName, QString("b"));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void SaveWithoutANameUsesTheDefaultName() {
        WindowFixture f;
        TFIN& w = f.Open();
        QVERIFY(w.ButtParaSaveClick());
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), QString("Zentrope_GUI_para"));
        QCOMPARE(f.Read("Zentrope_GUI_para"), GoldenDefaults());
    }

    void FailedSavesAreReported() {
        WindowFixture f;
        TFIN& w = f.Open();
        f.Write("kept.par", "old content");
        Control<QLineEdit>(w, "EditParaFile")->setText(f.Path("kept.par"));
        Control<QLineEdit>(w, "eSERstp")->setText("-");
        QVERIFY(!w.ButtParaSaveClick());
        QCOMPARE(f.MessageTexts(), QStringList{"'-' is not a valid integer value"});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Error);
        QCOMPARE(f.Read("kept.par"), QByteArray("old content"));
        f.dialogs.messages.clear();
        Control<QLineEdit>(w, "eSERstp")->setText("-1");
        Control<QLineEdit>(w, "EditParaFile")->setText(f.Path("no folder/x.par"));
        QVERIFY(!w.ButtParaSaveClick());
        QCOMPARE(f.MessageTexts(), QStringList{"Parameter file not saved."});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Warning);
    }

    // Of some forty fields, the refused one is shown with the focus and its text selected.
    void ARefusedFieldGetsTheFocus() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Control<QLineEdit>(w, "EditParaFile")->setText(f.Path("x.par"));
        Control<QLineEdit>(w, "eRUNrstp")->setText("-");
        Control<QLineEdit>(w, "EditKSmin")->setFocus();
        QVERIFY(!w.ButtParaSaveClick());
        QCOMPARE(Control<QTabWidget>(w, "PC")->currentWidget(), Control<QWidget>(w, "TSparam"));
        QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(w, "eRUNrstp"));
        QCOMPARE(Control<QLineEdit>(w, "eRUNrstp")->selectedText(), QString("-"));
    }

    void SaveLoadSaveIsByteIdentical() {
        WindowFixture f;
        TFIN& w = f.Open();
        ChangeEverything(w);
        Control<QLineEdit>(w, "EditParaFile")->setText("first.par");
        QVERIFY(w.ButtParaSaveClick());
        const QByteArray first = f.Read("first.par");
        QVERIFY(first.contains("n 12 kb "));
        QVERIFY(first.contains("[Enable] # 1= test enabled, 0= test disabled\n1 maurer\n"));
        QVERIFY(first.contains("1 collision\n1 dft\n"));
        QVERIFY(!first.contains("1 gcd"));
        // Back to the defaults, then the file brings every change back.
        w.params = {};
        zentrope::ApplyDefaults(w.params);
        w.ApplyParameterSet();
        w.ButtParaReloadClick();
        QVERIFY(f.dialogs.messages.isEmpty());
        Control<QLineEdit>(w, "EditParaFile")->setText("second.par");
        QVERIFY(w.ButtParaSaveClick());
        QCOMPARE(f.Read("second.par"), first);
    }
};

ZENTROPE_GUI_TEST_MAIN(ParameterFileCommandsTest)
#include "parameter_file_commands_test.moc"
