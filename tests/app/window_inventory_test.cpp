// Every control other parts of the program address by name exists with its kind, caption,
// limits, items, ranges and hint.
#include "app/widgets/edit_bindings.h"
#include "app/widgets/order_list_box.h"
#include "app/widgets/result_text_view.h"
#include "app/widgets/up_down.h"
#include "model/parameter_fields.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

namespace {

const char* const ThresholdHint =
    "While Zentrope is running, when the partial test-name p-value is worst than this, the "
    "p-value is showed to indicate a possibly weak generator.";
const char* const UnitHint = "K, M, G: x1024 - k, m, g: x1000";

struct EditRow {
    const char* name;
    int limit;
    const char* hint;
};

const EditRow EditRows[] = {
    {"Editn", 10,
     "When a valid input file is specified, this can be 0 to automatically test all the bits."},
    {"EditNT", 10, "The enabled tests are executed this number of times (sequences to test)."},
    {"EditPVdgt", 2, "The p-values will be saved with these digits."},
    {"EditInFile", 0,
     "The file(s) with the bits to test. If no file is specified, the hard coded generator (in "
     "the module RBG) will be used."},
    {"EditOutFile", 0, "Zentrope saves the results in this file."},
    {"EditKSmin", 7, ThresholdHint},
    {"EditADmin", 7, ThresholdHint},
    {"EditSLmax", 7,
     "While Zentrope is running, when the partial test-name value is worst than this, the value "
     "is showed to indicate a possibly weak generator."},
    {"EditZTRPexe", 0, "Full path of the Zentrope executable."},
    {"EditParaFile", 0, "The parameters file used by Zentrope."},
    {"eDFTmax", 10, ""},
    {"eDFToptimize", 10, ""},
    {"eDFTdmin", 10, ""},
    {"eDFTdmax", 10, ""},
    {"eDFTdstp", 3, ""},
    {"eAUTWmmin", 2, ""},
    {"eAUTWmmax", 2, ""},
    {"eAUTWmstp", 3, ""},
    {"eAUTWdmin", 10, ""},
    {"eAUTWdmax", 10, ""},
    {"eAUTWdstp", 3, ""},
    {"eSBLKsmin", 2, ""},
    {"eSBLKsmax", 2, ""},
    {"eSBLKsstp", 3, ""},
    {"eSBLKdmin", 10, ""},
    {"eSBLKdmax", 10, ""},
    {"eSBLKdstp", 3, ""},
    {"eRUNsstp", 3, ""},
    {"eRUNrstp", 3, ""},
    {"ePERMsmin", 2, ""},
    {"ePERMsmax", 2, ""},
    {"ePERMsstp", 3, ""},
    {"ePERMtstp", 3, ""},
    {"eNOTMmin", 2, ""},
    {"eNOTMmax", 2, ""},
    {"eNOTMstp", 3, ""},
    {"eNOTMtemp", 10, ""},
    {"eMAUstp", 3, ""},
    {"eMAU_n", 6, ""},
    {"eCOUstp", 3, ""},
    {"eLBLKmin", 10, ""},
    {"eLBLKmax", 10, ""},
    {"eLBLKstp", 10, ""},
    {"eSERmin", 2, ""},
    {"eSERmax", 2, ""},
    {"eSERstp", 3, ""},
    {"eCOLLsstp", 3, ""},
    {"eRNKstp", 3, ""},
};

struct CaptionRow {
    const char* name;
    const char* className;
    const char* caption;
    const char* hint;
};

const CaptionRow CaptionRows[] = {
    {"ButtInFile", "QPushButton", "&Change", ""},
    {"ButtOutFile", "QPushButton", "C&hange", ""},
    {"ButtLoadResult", "QPushButton", "Load a &result file", ""},
    {"ButtZTRPexe", "QPushButton", "Ch&ange", ""},
    {"ButtParaReload", "QPushButton", "&Load", "Load the parameters file in the edit box."},
    {"ButtParaLoad", "QPushButton", "Load &new", "Load the parameters file using the load dialog."},
    {"ButtParaSave", "QPushButton", "&Save", "Save the parameters file."},
    {"ButtParaSaveAs", "QPushButton", "Save &as",
     "Save the parameters file using the save dialog."},
    {"ButtRunWait", "QPushButton", "... &WAIT for the output file and load it",
     "Well suited for short running times"},
    {"ButtRunExit", "QPushButton", "... &EXIT Zentrope GUI immediately",
     "Well suited for long running times with Zentrope in idle priority"},
    {"BBenableAll", "QPushButton", "&All", ""},
    {"BBenableNone", "QPushButton", "&None", ""},
    {"BBenableToggle", "QPushButton", "&Toggle", ""},
    {"cbAutoN", "QCheckBox", "Automatic length",
     "If checked, Zentrope may change the sequence length to run all the enabled tests."},
    {"cbShowPvals", "QCheckBox", "Show p-values",
     "If checked the p-values will be showed while the test is running."},
    {"cbOTnumber", "QCheckBox", "Overall test #",
     "If checked the overall p-value for the test# will be showed (really useless)."},
    {"cbSortKS", "QCheckBox", "KS", "The overall test-name p-values will be sorted by KS."},
    {"cbSortAD", "QCheckBox", "AD", "The overall test-name p-values will be sorted by AD."},
    {"cbSortSL", "QCheckBox", "SL", "The overall test-name p-values will be sorted by SL."},
    {"cbDFTm0", "QCheckBox", "Mode 0", ""},
    {"cbDFTm1", "QCheckBox", "Mode 1", ""},
    {"RBpriIdle", "QRadioButton", "Idle", ""},
    {"RBpriNorm", "QRadioButton", "Normal", ""},
    {"Panel5", "QGroupBox", "Sort the overall test-name values", ""},
    {"Panel4", "QGroupBox", "Threshold values for the partial result", ""},
    {"Panel1", "QGroupBox", "Execution order", ""},
    {"Panel2", "QGroupBox", "Save parameters, run Zentrope and...", ""},
    {"StaticText3", "QLabel",
     "Don't change neither the name nor the caption of the check boxes from 1 to 21", ""},
};

// Screen numbering of the test check boxes and the test each shows.
const char* const TestBoxCaptions[] = {"DFT",
                                       "Windowed autocorrelation",
                                       "Short blocks",
                                       "Permutation",
                                       "Coupon collector",
                                       "NOTM",
                                       "Maurer",
                                       "Long blocks",
                                       "AMLS",
                                       "Serial",
                                       "Rank 6x8",
                                       "Serial two-bit",
                                       "Blocks'n'gaps",
                                       "Runs",
                                       "Cumulative sum",
                                       "SOB",
                                       "Rank 31x31",
                                       "Rank 32x32",
                                       "GCD",
                                       "Tough birthday spacings",
                                       "Collision"};

struct SpinnerRow {
    const char* name;
    int min;
    int max;
    bool wrap;
    const char* shownIn; // the associated label or edit, empty for the AMLS spinners
};

const SpinnerRow SpinnerRows[] = {
    {"UDpvalDGT", 1, 20, false, "EditPVdgt"},
    {"uRUNsmin", 2, 32, true, "STrunSmin"},
    {"uRUNsmax", 2, 32, true, "STrunSmax"},
    {"uRUNrmin", 2, 10, true, "STrunRmin"},
    {"uRUNrmax", 2, 10, true, "STrunRmax"},
    {"uPERMtmin", 2, 12, true, "STPermGSmin"},
    {"uPERMtmax", 2, 12, true, "STPermGSmax"},
    {"uMAUmin", 2, 16, true, "STmauMin"},
    {"uMAUmax", 2, 16, true, "STmauMax"},
    {"uCOUmin", 2, 9, true, "STcouMin"},
    {"uCOUmax", 2, 9, true, "STcouMax"},
    {"uCOLLsmin", 10, 31, true, "STcollsMin"},
    {"uCOLLsmax", 10, 31, true, "STcollsMax"},
    {"uRNKmin", 0, 24, true, "STrnkMin"},
    {"uRNKmax", 0, 24, true, "STrnkMax"},
    {"uAMLSmin", 1, 15, false, ""},
    {"uAMLSmax", 1, 15, false, ""},
    {"uAMLSstp", -31, -1, true, ""},
};

QStringList UnitItems() {
    return {"bits",  "Kbits",  "Mbits",  "Gbits",  "kbits",  "mbits",  "gbits",
            "Bytes", "KBytes", "MBytes", "GBytes", "kBytes", "mBytes", "gBytes"};
}

QStringList LabelTexts(QWidget* page) {
    QStringList texts;
    for (QLabel* label : page->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

} // namespace

class WindowInventoryTest : public QObject {
    Q_OBJECT

    WindowFixture fixture_;
    TFIN* w_ = nullptr;

    template <typename T> T* Control(const char* name) {
        T* control = w_->findChild<T*>(QLatin1String(name));
        if (!control)
            qWarning("no %s named %s", T::staticMetaObject.className(), name);
        return control;
    }

private slots:
    void initTestCase() { w_ = &fixture_.Open(); }

    void WindowAndPages() {
        QCOMPARE(w_->objectName(), QString("FIN"));
        QCOMPARE(FIN, w_);
        QVERIFY(w_->windowTitle().startsWith("Zentrope GUI v050711"));
        QTabWidget* pages = Control<QTabWidget>("PC");
        QVERIFY(pages);
        QCOMPARE(pages->tabPosition(), QTabWidget::West);
        const char* const names[] = {"TSgeneral", "TSparam", "TSresults", "TStable", "TSruns"};
        const QStringList captions = {"General", "Parameters", "Results", "Table", "Runs"};
        QCOMPARE(pages->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(pages->widget(i)->objectName(), QString(names[i]));
            QCOMPARE(pages->tabText(i), captions[i]);
        }
        QVERIFY(qobject_cast<ResultTextView*>(Control<QWidget>("RE")));
        QVERIFY(Control<QWidget>("TSresults")->isAncestorOf(Control<ResultTextView>("RE")));
        QTableView* grid = Control<QTableView>("SG");
        QVERIFY(grid && Control<QWidget>("TStable")->isAncestorOf(grid));
        QVERIFY(grid->toolTip().startsWith("Right click the first row to sort the values."));
    }

    void Edits_data() {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("limit");
        for (const EditRow& row : EditRows)
            QTest::newRow(row.name) << QString(row.hint) << row.limit;
    }
    void Edits() {
        QFETCH(QString, hint);
        QFETCH(int, limit);
        QLineEdit* edit = Control<QLineEdit>(QTest::currentDataTag());
        QVERIFY(edit);
        QCOMPARE(TypingLimit(edit), limit);
        QCOMPARE(edit->toolTip(), hint);
        if (!hint.isEmpty())
            QCOMPARE(edit->toolTipDuration(), 10000);
    }

    void Captions_data() {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        for (const CaptionRow& row : CaptionRows)
            QTest::newRow(row.name)
                << QString(row.className) << QString(row.caption) << QString(row.hint);
    }
    void Captions() {
        QFETCH(QString, className);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QWidget* control = Control<QWidget>(QTest::currentDataTag());
        QVERIFY(control);
        QCOMPARE(QString(control->metaObject()->className()), className);
        const QVariant text =
            control->property(qobject_cast<QGroupBox*>(control) ? "title" : "text");
        QCOMPARE(text.toString(), caption);
        QCOMPARE(control->toolTip(), hint);
    }

    void TestCheckBoxes() {
        for (int n = 1; n <= 21; ++n) {
            QCheckBox* box = Control<ParametersPage>("TSparam")->TestCheckBox(n);
            QVERIFY(box);
            QCOMPARE(box->objectName(), QString("CheckBox%1").arg(n));
            QCOMPARE(box->text(), QString(TestBoxCaptions[n - 1]));
            QVERIFY(Control<QWidget>("TSparam")->isAncestorOf(box));
        }
        QCOMPARE(Control<QCheckBox>("CheckBox9"),
                 Control<ParametersPage>("TSparam")->TestCheckBox(9));
        // Captions stand to the left of their boxes.
        QCOMPARE(Control<QCheckBox>("CheckBox1")->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(Control<QCheckBox>("cbAutoN")->layoutDirection(), Qt::RightToLeft);
        QVERIFY(Control<QLabel>("StaticText3")->isHidden());
    }

    // Every control the parameter field table names stands on the page of its section, of the
    // class its place in the field's kind asks for.
    void ParameterFieldControls() {
        using zentrope::FieldKind;
        for (const zentrope::ParameterField& field : zentrope::ParameterFields()) {
            QWidget* page = Control<QWidget>(field.section == zentrope::GeneralSection ? "TSgeneral"
                                                                                       : "TSparam");
            for (size_t i = 0; i < field.controls.size(); ++i) {
                if (field.controls[i].empty())
                    continue;
                const QString name = QString::fromLatin1(field.controls[i].data(),
                                                         qsizetype(field.controls[i].size()));
                QWidget* control = page->findChild<QWidget*>(name);
                QVERIFY2(control, qPrintable(name));
                const char* expected = "QLineEdit";
                switch (field.kind) {
                case FieldKind::Size:
                    expected = i == 0 ? "QLineEdit" : "QComboBox";
                    break;
                case FieldKind::Position:
                    expected = i == 0 ? "UpDown" : "QLineEdit";
                    break;
                case FieldKind::Choice:
                    expected = "QComboBox";
                    break;
                case FieldKind::Flag:
                    expected = "QAbstractButton";
                    break;
                case FieldKind::SpinnerRange:
                    expected = i < 2 ? "UpDown" : "QLineEdit";
                    break;
                case FieldKind::PowerRange:
                    expected = i < 3 ? "QLabel" : "UpDown";
                    break;
                default:
                    break;
                }
                QVERIFY2(control->inherits(expected), qPrintable(name + " is no " + expected));
            }
        }
    }

    void ComboBoxes() {
        QComboBox* unit = Control<QComboBox>("CBnUM");
        QVERIFY(unit && !unit->isEditable());
        QCOMPARE(unit->maxVisibleItems(), 20);
        for (const char* name : {"CBnUM", "CBdftMax", "CBdftOptimize"}) {
            QComboBox* combo = Control<QComboBox>(name);
            QVERIFY(combo);
            QCOMPARE(combo->toolTip(), QString(UnitHint));
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            QCOMPARE(items, UnitItems());
        }
        QComboBox* format = Control<QComboBox>("CBsaveFormat");
        QVERIFY(format && !format->isEditable());
        QCOMPARE(format->count(), 2);
        QCOMPARE(format->itemText(0), QString("p-value[TAB]test_name"));
        QCOMPARE(format->itemText(1), QString("test_name[TAB]p-value"));
    }

    void Spinners_data() {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<QString>("shownIn");
        for (const SpinnerRow& row : SpinnerRows)
            QTest::newRow(row.name) << row.min << row.max << row.wrap << QString(row.shownIn);
    }
    void Spinners() {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(bool, wrap);
        QFETCH(QString, shownIn);
        UpDown* spinner = Control<UpDown>(QTest::currentDataTag());
        QVERIFY(spinner);
        QCOMPARE(spinner->Min(), min);
        QCOMPARE(spinner->Max(), max);
        QCOMPARE(spinner->Wrap(), wrap);
        if (shownIn.isEmpty())
            return;
        QWidget* associate = Control<QWidget>(shownIn.toLatin1().constData());
        QVERIFY(associate);
        QCOMPARE(associate->property("text").toString(), QString::number(spinner->Position()));
    }

    void OrderListAndLabels() {
        OrderListBox* order = Control<OrderListBox>("LBorder");
        QVERIFY(order && Control<QGroupBox>("Panel1")->isAncestorOf(order));
        QCOMPARE(order->toolTip(), QString("Drag the tests to change the order"));
        for (const char* name : {"LabSeqLen", "LabTOTlen", "LabAMLSmin", "LabAMLSmax", "LabAMLSstp",
                                 "STrunSmin", "STcollsMax"})
            QVERIFY(Control<QLabel>(name));
        QVERIFY(Control<QLabel>("LabAMLSmin")->alignment() & Qt::AlignRight);
        const QStringList general = LabelTexts(Control<QWidget>("TSgeneral"));
        for (const char* caption :
             {"Sequence length", "Number of seqs", "Save format", "P-value digits",
              "Input file name", "Output file name", "Zentrope running priority",
              "Zentrope executable", "Parameter file name", "KSmin", "ADmin", "SLmax"})
            QVERIFY2(general.contains(caption), caption);
        const QStringList params = LabelTexts(Control<QWidget>("TSparam"));
        for (const char* caption :
             {"max", "optimize", "Rows:", "Block size:", "Block dist:", "Run length:",
              "Group size:", "templates", "Q+K", "Byte order:", "Blk length:", "min", "step"})
            QVERIFY2(params.contains(caption), caption);
    }

    void FileDialogs() {
        QCOMPARE(Control<QFileDialog>("OD")->objectName(), QString("OD"));
        QCOMPARE(Control<QFileDialog>("OD")->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(Control<QFileDialog>("OD")->nameFilters(), QStringList{"Any file (*)"});
        QCOMPARE(Control<QFileDialog>("SD")->objectName(), QString("SD"));
        QCOMPARE(Control<QFileDialog>("SD")->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(Control<QFileDialog>("SD")->testOption(QFileDialog::DontConfirmOverwrite));
    }

    // Start-up replaces every placeholder of the layout.
    void NoPlaceholderAfterStartUp() {
        for (const char* name : {"Editn", "EditNT", "EditInFile", "EditKSmin", "EditADmin",
                                 "EditSLmax", "EditZTRPexe", "EditParaFile"})
            QVERIFY2(Control<QLineEdit>(name)->text() != name, name);
        for (QLabel* label : {Control<QLabel>("LabAMLSmin"), Control<QLabel>("LabAMLSmax"),
                              Control<QLabel>("LabAMLSstp"), Control<QLabel>("LabTOTlen")})
            QVERIFY2(label->text() != "999999" && label->text() != "-15" &&
                         label->text() != "(Total size xxx)",
                     qPrintable(label->objectName()));
        QCOMPARE(Control<QLineEdit>("EditZTRPexe")->text(), QString("Zentrope.exe"));
        QCOMPARE(Control<QLineEdit>("EditParaFile")->text(), QString());
    }
};

ZENTROPE_GUI_TEST_MAIN(WindowInventoryTest)
#include "window_inventory_test.moc"
