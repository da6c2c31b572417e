// Applying a parameter set to the window, and the load made when the window opens.
#include "model/parameter_set.h"
#include "model/test_catalogue.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <climits>

using namespace zentrope;

namespace {

// The list holds exactly the tests whose boxes are checked, each once.
void VerifySelectionMatchesList(const TFIN& w) {
    QStringList checked;
    for (int n = 1; n <= TestCount; ++n)
        if (Control<ParametersPage>(w, "TSparam")->TestCheckBox(n)->isChecked())
            checked << Control<ParametersPage>(w, "TSparam")->TestCheckBox(n)->text();
    QStringList listed = OrderTexts(w);
    QCOMPARE(QSet<QString>(listed.begin(), listed.end()).size(), listed.size());
    checked.sort();
    listed.sort();
    QCOMPARE(listed, checked);
}

ParameterSet Defaults() {
    ParameterSet set;
    ApplyDefaults(set);
    return set;
}

void SetOrder(ParameterSet& set, std::initializer_list<int> order) {
    set.ExecutionOrder.fill(-1);
    int i = 0;
    for (int slot : order)
        set.ExecutionOrder[i++] = static_cast<int8_t>(slot);
}

const QByteArray GoodFile = "[General]\nn 3 mb\nNT 7\nInFile \"\"\n[Enable]\n1 gcd\n";

} // namespace

class ApplyParameterSetTest : public QObject {
    Q_OBJECT

private slots:
    void SizesAndNumbers() {
        WindowFixture f;
        TFIN& w = f.Open();
        struct Case {
            uint32_t n;
            const char* text;
            const char* unit;
        };
        for (Case c :
             {Case{1048576, "1", "Mbits"}, Case{3000000, "3", "mbits"}, Case{0, "0", "bits"}}) {
            w.params = Defaults();
            w.params.n = c.n;
            w.ApplyParameterSet();
            QCOMPARE(Control<QLineEdit>(w, "Editn")->text(), QString(c.text));
            QCOMPARE(Control<QComboBox>(w, "CBnUM")->currentText(), QString(c.unit));
        }
        w.params.KSmin = 0.00001;
        w.ApplyParameterSet();
        QCOMPARE(Control<QLineEdit>(w, "EditKSmin")->text(), QString("1e-05"));
        QCOMPARE(Control<QLineEdit>(w, "EditSLmax")->text(), QString("100"));
        QCOMPARE(Control<QLineEdit>(w, "EditADmin")->text(), QString("0"));
    }

    void WideValuesAreShownWhole() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.params.KSmin = 0.0001234;
        w.params.NT = INT_MIN;
        w.params.Maurer_N = 1000000;
        w.params.Runs_block_size.step = -1000;
        w.ApplyParameterSet();
        QCOMPARE(Control<QLineEdit>(w, "EditKSmin")->text(), QString("0.0001234"));
        QCOMPARE(Control<QLineEdit>(w, "EditNT")->text(), QString("-2147483648"));
        QCOMPARE(Control<QLineEdit>(w, "eMAU_n")->text(), QString("1000000"));
        QCOMPARE(Control<QLineEdit>(w, "eRUNsstp")->text(), QString("-1000"));
    }

    void SpinnersStayInTheirRange() {
        WindowFixture f;
        TFIN& w = f.Open();
        w.params.Runs_block_size = {1, 40, 1};
        w.params.Collision_block_size = {20, 28, 1};
        w.params.pval_digits = 65536 + 9; // a 16-bit position: the low bits count
        w.ApplyParameterSet();
        QCOMPARE(Control<UpDown>(w, "uRUNsmax")->Position(), 32);
        QCOMPARE(Control<QLabel>(w, "STrunSmax")->text(), QString("32"));
        QCOMPARE(Control<UpDown>(w, "uRUNsmin")->Position(), 2);
        QCOMPARE(Control<QLabel>(w, "STcollsMin")->text(), QString("20"));
        QCOMPARE(Control<UpDown>(w, "UDpvalDGT")->Position(), 9);
        QCOMPARE(Control<QLineEdit>(w, "EditPVdgt")->text(), QString("9"));
    }

    void AmlsSpinnersCountPowersOfTwo() {
        WindowFixture f;
        TFIN& w = f.Open();
        struct Case {
            int32_t value;
            int position;
        };
        for (Case c : {Case{3, 2}, Case{32768, 15}, Case{1, 1}, Case{0, 1}, Case{-8, 1}, Case{6, 3},
                       Case{5, 2}, Case{1 << 20, 15}}) {
            w.params.AMLS_block_length = {c.value, c.value, -40};
            w.ApplyParameterSet();
            QCOMPARE(Control<UpDown>(w, "uAMLSmin")->Position(), c.position);
            QCOMPARE(Control<UpDown>(w, "uAMLSmax")->Position(), c.position);
            QCOMPARE(Control<QLabel>(w, "LabAMLSmin")->text(), QString::number(c.value));
            QCOMPARE(Control<QLabel>(w, "LabAMLSmax")->text(), QString::number(c.value));
        }
        QCOMPARE(Control<UpDown>(w, "uAMLSstp")->Position(), -31);
        QCOMPARE(Control<QLabel>(w, "LabAMLSstp")->text(), QString("-40"));
    }

    void SelectionFollowsEnableAndOrder() {
        WindowFixture f;
        TFIN& w = f.Open();
        // "1 runs", "0 dft": DFT holds a slot but stays off.
        w.params.Enable.fill(1);
        w.params.Enable[0] = 0;
        SetOrder(w.params, {6, 0});
        w.ApplyParameterSet();
        QCOMPARE(OrderTexts(w), QStringList{"Runs"});
        QCOMPARE(OrderIds(w), QList<int>{7});
        QVERIFY(Control<QCheckBox>(w, "CheckBox14")->isChecked());
        QVERIFY(!Control<QCheckBox>(w, "CheckBox1")->isChecked());
        VerifySelectionMatchesList(w);
        // A test in two slots is listed once, where it first stands.
        SetOrder(w.params, {14, 1, 14, 20, 1});
        w.ApplyParameterSet();
        QCOMPARE(OrderTexts(w), (QStringList{"GCD", "Maurer", "Collision"}));
        QCOMPARE(OrderIds(w), (QList<int>{15, 2, 21}));
        VerifySelectionMatchesList(w);
        SetOrder(w.params, {});
        w.ApplyParameterSet();
        QVERIFY(OrderTexts(w).isEmpty());
        VerifySelectionMatchesList(w);
    }

    void DefaultsAtStartWithoutPreferences() {
        WindowFixture f;
        TFIN& w = f.Open();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(Control<QLineEdit>(w, "EditNT")->text(), QString("50"));
        QCOMPARE(Control<QLineEdit>(w, "Editn")->text(), QString("1"));
        QCOMPARE(Control<QComboBox>(w, "CBnUM")->currentText(), QString("Mbits"));
        QCOMPARE(Control<QLineEdit>(w, "EditInFile")->text(), QString());
        QCOMPARE(Control<QLineEdit>(w, "EditOutFile")->text(), QString("_Zentrope.txt"));
        QCOMPARE(Control<QLabel>(w, "LabTOTlen")->text(), QString("(No file)"));
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(), QString());
        QCOMPARE(Control<QLabel>(w, "LabAMLSmin")->text(), QString("2"));
        QCOMPARE(Control<QLabel>(w, "LabAMLSmax")->text(), QString("32768"));
        QCOMPARE(Control<QLabel>(w, "LabAMLSstp")->text(), QString("-1"));
        QList<int> catalogueOrder;
        for (int id = 1; id <= TestCount; ++id)
            catalogueOrder << id;
        QCOMPARE(OrderIds(w), catalogueOrder);
        VerifySelectionMatchesList(w);
    }

    void StartWithAMissingFile() {
        WindowFixture f;
        f.Write("prefs.ini", "para_file=" + f.Path("gone.par").toUtf8() + "\n");
        TFIN& w = f.Open();
        QCOMPARE(f.MessageTexts(),
                 QStringList{"Parameter file\n\"" + f.Path("gone.par") + "\"\nnot found."});
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Information);
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), f.Path("gone.par"));
        QCOMPARE(Control<QLineEdit>(w, "EditNT")->text(), QString("50"));
        QCOMPARE(Control<OrderListBox>(w, "LBorder")->count(), TestCount);
    }

    void StartWithABrokenFile() {
        WindowFixture f;
        // The reader stores InFile and NT before it meets the unknown key; only InFile,
        // which the defaults leave alone, reaches the window.
        f.Write("in.bin", QByteArray(100, 'x'));
        f.Write("broken.par",
                "[General]\nInFile \"" + f.Path("in.bin").toUtf8() + "\"\nNT 9\nbogus 1\n");
        f.Write("prefs.ini", "para_file=broken.par\n");
        TFIN& w = f.Open();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.MessageTexts()[0].startsWith("ERROR while parsing the parameter file:\n"));
        QVERIFY(f.MessageTexts()[0].contains("bogus"));
        QCOMPARE(Control<QLineEdit>(w, "EditNT")->text(), QString("50"));
        QCOMPARE(Control<QLineEdit>(w, "EditInFile")->text(), f.Path("in.bin"));
        QCOMPARE(Control<QLabel>(w, "LabTOTlen")->text(), QString("1 file, 800 bits"));
    }

    void StartWithAGoodFile() {
        WindowFixture f;
        f.Write("good.par", GoodFile);
        f.Write("prefs.ini", "para_file=good.par\n");
        TFIN& w = f.Open();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(Control<QLineEdit>(w, "EditNT")->text(), QString("7"));
        QCOMPARE(Control<QLineEdit>(w, "Editn")->text(), QString("3"));
        QCOMPARE(Control<QComboBox>(w, "CBnUM")->currentText(), QString("mbits"));
        QCOMPARE(OrderTexts(w), QStringList{"GCD"});
        // No OutFile line: the layout's name stays.
        QCOMPARE(Control<QLineEdit>(w, "EditOutFile")->text(), QString("_Zentrope.txt"));
    }

    void HandlersRunOnlyOnRealChanges() {
        WindowFixture f;
        f.Write("in.bin", QByteArray(100, 'x'));
        TFIN& w = f.Open();
        w.params.InFile = f.Path("in.bin").toStdString();
        w.ApplyParameterSet();
        QCOMPARE(Control<QLabel>(w, "LabTOTlen")->text(), QString("1 file, 800 bits"));
        f.Write("in.bin", QByteArray(200, 'x'));
        w.ApplyParameterSet(); // same text: the input is not counted again
        QCOMPARE(Control<QLabel>(w, "LabTOTlen")->text(), QString("1 file, 800 bits"));
        // The input is applied before the length, so n = 0 sees the new input size.
        w.params.InFile = f.Path("*.bin").toStdString();
        w.params.n = 0;
        w.params.NT = 4;
        w.ApplyParameterSet();
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(),
                 QString("The sequence length will be 400 bits"));
        w.params.auto_n = 1;
        w.ApplyParameterSet();
        QCOMPARE(Control<QLabel>(w, "LabSeqLen")->text(),
                 QString("The sequence length will be calculated by Zentrope"));
    }
};

ZENTROPE_GUI_TEST_MAIN(ApplyParameterSetTest)
#include "apply_parameter_set_test.moc"
