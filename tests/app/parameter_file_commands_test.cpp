// Save, Load, Load new and Save as, driven through the window with real files.
#include "gui_test_main.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

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
    w.Editn->setText("12");
    w.CBnUM->setCurrentIndex(4); // byte units come back as bit units
    w.EditNT->setText("3");
    w.CBsaveFormat->setCurrentIndex(1);
    w.UDpvalDGT->SetPosition(12);
    w.cbAutoN->setChecked(true);
    w.RBpriNorm->setChecked(true);
    w.cbSortKS->setChecked(true);
    w.EditKSmin->setText("0.25");
    w.EditInFile->setText("in file.bin");
    w.EditOutFile->setText("out.txt");
    w.uAMLSmin->ClickUp();
    w.uAMLSstp->ClickDown();
    w.uRUNrmax->SetPosition(3);
    w.eDFTmax->setText("5");
    w.CBdftMax->setCurrentIndex(4);
    w.cbDFTm0->setChecked(false);
    w.eMAU_n->setText("77");
    w.eSBLKdstp->setText("-9");
    w.CheckBox1->setChecked(false);
    w.CheckBox1->setChecked(true); // DFT moves to the end of the order
    w.CheckBox19->setChecked(false);
}

} // namespace

class ParameterFileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void loadNeedsAnExistingFile() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.EditNT->setText("5");
        w.ButtParaReloadClick();
        QCOMPARE(f.MessageTexts(), QStringList{NotFound("")});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Warning);
        f.dialogs.messages.clear();
        w.EditParaFile->setText(f.Path("gone.par"));
        w.ButtParaReloadClick();
        QCOMPARE(f.MessageTexts(), QStringList{NotFound(f.Path("gone.par"))});
        QCOMPARE(w.EditNT->text(), QString("5"));
        f.dialogs.messages.clear();
        QDir().mkpath(f.Path("folder.par"));
        w.EditParaFile->setText(f.Path("folder.par"));
        w.ButtParaReloadClick();
        QCOMPARE(f.MessageTexts(), QStringList{NotFound(f.Path("folder.par"))});
    }

    void loadReadsTheNamedFile() {
        WindowFixture f;
        TFIN& w = f.Open();
        f.Write("small.par", SmallFile);
        w.EditParaFile->setText("small.par");
        w.ButtParaReloadClick();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(w.EditNT->text(), QString("7"));
        QCOMPARE(w.LBorder->count(), 2);
        // A reader failure leaves the controls alone.
        f.Write("small.par", "[General]\nNT 9\nOutFile x\n");
        w.ButtParaReloadClick();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.MessageTexts()[0].contains("OutFile file name must be always enclosed"));
        QCOMPARE(w.EditNT->text(), QString("7"));
    }

    void loadNewThroughTheOpenDialog() {
        WindowFixture f;
        TFIN& w = f.Open();
        f.Write("runs/chosen.par", SmallFile);
        QVERIFY(QDir().mkpath(f.Path("old")));
        w.EditParaFile->setText(f.Path("old/a.par"));
        w.ButtParaLoadClick(); // cancelled
        QCOMPARE(w.EditParaFile->text(), f.Path("old/a.par"));
        QCOMPARE(w.EditNT->text(), QString("50"));
        QCOMPARE(f.dialogs.opened[0].dialog, QString("OD"));
        QCOMPARE(f.dialogs.opened[0].folder, f.Path("old"));
        QVERIFY(!f.dialogs.opened[0].mustExist);
        f.dialogs.answers = {f.Path("runs/chosen.par"), f.Path("runs/new.par")};
        w.ButtParaLoadClick();
        QCOMPARE(w.EditParaFile->text(), f.Path("runs/chosen.par"));
        QCOMPARE(w.EditNT->text(), QString("7"));
        QVERIFY(f.dialogs.messages.isEmpty());
        // A name that does not exist is taken and then reported by the load.
        w.ButtParaLoadClick();
        QCOMPARE(f.dialogs.opened[2].folder, f.Path("runs"));
        QCOMPARE(w.EditParaFile->text(), f.Path("runs/new.par"));
        QCOMPARE(f.MessageTexts(), QStringList{NotFound(f.Path("runs/new.par"))});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Information);
    }

    void saveAsThroughTheSaveDialog() {
        WindowFixture f;
        TFIN& w = f.Open();
        QVERIFY(QDir().mkpath(f.Path("runs")));
        QVERIFY(QDir().mkpath(f.Path("other")));
        w.EditParaFile->setText(f.Path("runs/a.par"));
        w.ButtParaSaveAsClick(); // cancelled: no file, no new name
        QCOMPARE(f.dialogs.opened[0].dialog, QString("SD"));
        QCOMPARE(f.dialogs.opened[0].folder, f.Path("runs"));
        QCOMPARE(f.dialogs.opened[0].fileName, QString("a.par"));
        QCOMPARE(w.EditParaFile->text(), f.Path("runs/a.par"));
        QVERIFY(!QFile::exists(f.Path("runs/a.par")));
        f.Write("other/b", "old content");
        f.dialogs.answers = {f.Path("other/b")};
        w.ButtParaSaveAsClick();
        QCOMPARE(w.EditParaFile->text(), f.Path("other/b"));
        QCOMPARE(f.Read("other/b"), GoldenDefaults()); // replaced without a question
        // The output file button opens where the parameter file went.
        w.ButtOutFileClick();
        QCOMPARE(f.dialogs.opened[2].folder, f.Path("other"));
        QCOMPARE(f.dialogs.opened[2].fileName, QString("b"));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void saveWithoutANameUsesTheDefaultName() {
        WindowFixture f;
        TFIN& w = f.Open();
        QVERIFY(w.ButtParaSaveClick());
        QCOMPARE(w.EditParaFile->text(), QString("Zentrope_GUI_para"));
        QCOMPARE(f.Read("Zentrope_GUI_para"), GoldenDefaults());
    }

    void failedSavesAreReported() {
        WindowFixture f;
        TFIN& w = f.Open();
        f.Write("kept.par", "old content");
        w.EditParaFile->setText(f.Path("kept.par"));
        w.eSERstp->setText("-");
        QVERIFY(!w.ButtParaSaveClick());
        QCOMPARE(f.MessageTexts(), QStringList{"'-' is not a valid integer value"});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Error);
        QCOMPARE(f.Read("kept.par"), QByteArray("old content"));
        f.dialogs.messages.clear();
        w.eSERstp->setText("-1");
        w.EditParaFile->setText(f.Path("no folder/x.par"));
        QVERIFY(!w.ButtParaSaveClick());
        QCOMPARE(f.MessageTexts(), QStringList{"Parameter file not saved."});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Warning);
    }

    void saveLoadSaveIsByteIdentical() {
        WindowFixture f;
        TFIN& w = f.Open();
        ChangeEverything(w);
        w.EditParaFile->setText("first.par");
        QVERIFY(w.ButtParaSaveClick());
        const QByteArray first = f.Read("first.par");
        QVERIFY(first.contains("n 12 kb "));
        QVERIFY(first.contains("[Enable] # 1= test enabled, 0= test disabled\n1 maurer\n"));
        QVERIFY(first.contains("1 collision\n1 dft\n"));
        QVERIFY(!first.contains("1 gcd"));
        // Back to the defaults, then the file brings every change back.
        w.Params = {};
        zentrope::ApplyDefaults(w.Params);
        w.ApplyParameterSet();
        w.ButtParaReloadClick();
        QVERIFY(f.dialogs.messages.isEmpty());
        w.EditParaFile->setText("second.par");
        QVERIFY(w.ButtParaSaveClick());
        QCOMPARE(f.Read("second.par"), first);
    }
};

ZENTROPE_GUI_TEST_MAIN(ParameterFileCommandsTest)
#include "parameter_file_commands_test.moc"
