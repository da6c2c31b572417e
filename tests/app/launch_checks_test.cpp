// The checks before a run, what the tester receives, and the failures of a
// start, through both run buttons.
#include "app/widgets/up_down.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QTabWidget>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <functional>

namespace {

using Handler = std::function<void(TFIN&)>;

const QString NoExecutableText =
    "To run Zentrope you must indicate the executable with the full path in "
    "the edit box "
    "\"Zentrope executable\" (on page \"General\").";

// Every failure must leave both run buttons alike.
void BothHandlers() {
    QTest::addColumn<Handler>("handler");
    QTest::newRow("exit") << Handler(&TFIN::ButtRunExitClick);
    QTest::newRow("wait") << Handler(&TFIN::ButtRunWaitClick);
}

QString Canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

class LaunchChecksTest : public QObject {
    Q_OBJECT
private slots:
    void ExecutableChecksComeBeforeTheSave_data();
    void ExecutableChecksComeBeforeTheSave();
    void FailedSaveStopsTheRun_data();
    void FailedSaveStopsTheRun();
    void RefusedStartShowsTheSystemsText_data();
    void RefusedStartShowsTheSystemsText();
    void ParameterPathArrivesIntactInTheTestersFolder_data();
    void ParameterPathArrivesIntactInTheTestersFolder();
    void EmptyParameterFileNameBecomesTheDefault();
    void SizesBeyondThirtyTwoBitsStopTheSaveAndTheRun_data();
    void SizesBeyondThirtyTwoBitsStopTheSaveAndTheRun();
    void ARangeWithMinAboveMaxAsksBeforeTheRun_data();
    void ARangeWithMinAboveMaxAsksBeforeTheRun();
};

void LaunchChecksTest::ExecutableChecksComeBeforeTheSave_data() {
    BothHandlers();
}

void LaunchChecksTest::ExecutableChecksComeBeforeTheSave() {
    QFETCH(Handler, handler);
    const QList<std::pair<QString, QString>> cases = {
        {"", NoExecutableText},
        {"no such tester", "Zentrope executable not found."},
        {".", "Zentrope executable not found."},
    };
    for (const auto& [executable, box] : cases) {
        LaunchFixture fixture;
        QVERIFY(fixture.IsValid());
        fixture.window->show();
        Control<QLineEdit>(*fixture.window, "EditZTRPexe")->setText(executable);

        handler(*fixture.window);
        QCOMPARE(fixture.dialogs.messages, (QList<ShownMessage>{{box, MessageIcon::Error}}));
        QVERIFY(!QFile::exists(fixture.currentDir.filePath("para")));
        QVERIFY(fixture.window->isVisible());
    }
}

void LaunchChecksTest::FailedSaveStopsTheRun_data() {
    BothHandlers();
}

// Without a file there is box 3; with a file left by an earlier save the run
// stops too, since that file does not hold what the window shows. A field that is not a
// whole number stops it at its own box.
void LaunchChecksTest::FailedSaveStopsTheRun() {
    QFETCH(Handler, handler);
    LaunchFixture fixture;
    fixture.window->show();
    const QString missing = fixture.currentDir.filePath("no folder/para");
    Control<QLineEdit>(*fixture.window, "EditParaFile")->setText(missing);
    handler(*fixture.window);
    QCOMPARE(fixture.dialogs.messages.size(), 2);
    QCOMPARE(fixture.dialogs.messages[0],
             (ShownMessage{"Parameter file not saved.", MessageIcon::Warning}));
    QCOMPARE(fixture.dialogs.messages[1],
             (ShownMessage{"Parameter file\n\"" + missing + "\"\nnot found.", MessageIcon::Error}));

    fixture.dialogs.messages.clear();
    const QString earlier = fixture.currentDir.filePath("para");
    QFile(earlier).open(QIODevice::WriteOnly);
    Control<QLineEdit>(*fixture.window, "EditParaFile")->setText(earlier);
    Control<QLineEdit>(*fixture.window, "eDFTdstp")->setText("-");
    handler(*fixture.window);
    QCOMPARE(fixture.dialogs.messages.size(), 1);
    QCOMPARE(fixture.dialogs.messages[0].icon, MessageIcon::Error);
    QVERIFY(!fixture.TesterStarted());
    QVERIFY(fixture.window->isVisible());

    // That field's box ends the click on its own, with or without a file there.
    fixture.dialogs.messages.clear();
    const QString fresh = fixture.currentDir.filePath("fresh");
    Control<QLineEdit>(*fixture.window, "EditParaFile")->setText(fresh);
    Control<QLineEdit>(*fixture.window, "EditOutFile")->clear();
    handler(*fixture.window);
    QCOMPARE(fixture.MessageTexts(), QStringList{"'-' is not a valid integer value"});
    QVERIFY(!QFile::exists(fresh));
    QCOMPARE(Control<QLineEdit>(*fixture.window, "EditOutFile")->text(), QString());
    QVERIFY(!fixture.TesterStarted());
}

void LaunchChecksTest::RefusedStartShowsTheSystemsText_data() {
    BothHandlers();
}

void LaunchChecksTest::RefusedStartShowsTheSystemsText() {
    QFETCH(Handler, handler);
    const QString box = QString::fromLocal8Bit(std::strerror(EACCES));
    LaunchFixture fixture;
    fixture.window->show();
    const int page = Control<QTabWidget>(*fixture.window, "PC")->currentIndex();
    const QString notAProgram = fixture.currentDir.filePath("tester.txt");
    fixture.Write(notAProgram, "not a program\n");
    Control<QLineEdit>(*fixture.window, "EditZTRPexe")->setText(notAProgram);

    handler(*fixture.window);
    QCOMPARE(fixture.dialogs.messages, (QList<ShownMessage>{{box, MessageIcon::Warning}}));
    QVERIFY(fixture.window->isVisible());
    // A run that never started leaves no record.
    QVERIFY(fixture.Runs().isEmpty());
    QCOMPARE(Control<QTabWidget>(*fixture.window, "PC")->currentIndex(), page);
}

void LaunchChecksTest::ParameterPathArrivesIntactInTheTestersFolder_data() {
    QTest::addColumn<QString>("testerFolder");
    QTest::addColumn<QString>("parameterName");
    QTest::newRow("plain") << ""
                           << "para";
    QTest::newRow("spaces") << "my tester"
                            << "my para file";
    QTest::newRow("quotes") << "say \"hi\""
                            << "it's \"quoted\" ";
}

void LaunchChecksTest::ParameterPathArrivesIntactInTheTestersFolder() {
    QFETCH(QString, testerFolder);
    QFETCH(QString, parameterName);
    LaunchFixture fixture(testerFolder);
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl("silent");
    const QString parameterFile = fixture.currentDir.filePath(parameterName);
    Control<QLineEdit>(*fixture.window, "EditParaFile")->setText(parameterFile);

    fixture.window->ButtRunExitClick();
    QVERIFY(fixture.dialogs.messages.isEmpty());
    const auto record = fixture.tester.WaitForRecord();
    QCOMPARE(record.arguments, QStringList{parameterFile});
    QCOMPARE(record.workingFolder, Canonical(fixture.tester.Folder()));
}

// The default name is relative, so here the tester's folder is the current one.
void LaunchChecksTest::EmptyParameterFileNameBecomesTheDefault() {
    LaunchFixture fixture;
    fixture.tester.SetControl("silent");
    QDir::setCurrent(fixture.tester.Folder());
    Control<QLineEdit>(*fixture.window, "EditParaFile")->clear();

    fixture.window->ButtRunExitClick();
    QCOMPARE(Control<QLineEdit>(*fixture.window, "EditParaFile")->text(),
             QString("Zentrope_GUI_para"));
    QCOMPARE(fixture.tester.WaitForRecord().arguments, QStringList{"Zentrope_GUI_para"});
    QVERIFY(QFile::exists(fixture.tester.FilePath("Zentrope_GUI_para")));
}

void LaunchChecksTest::SizesBeyondThirtyTwoBitsStopTheSaveAndTheRun_data() {
    BothHandlers();
    QTest::newRow("save") << Handler([](TFIN& w) { w.ButtParaSaveClick(); });
}

void LaunchChecksTest::SizesBeyondThirtyTwoBitsStopTheSaveAndTheRun() {
    QFETCH(Handler, handler);
    LaunchFixture fixture;
    TFIN& w = *fixture.window;
    w.show();
    Control<QCheckBox>(w, "CheckBox10")->setChecked(true);
    Control<QLineEdit>(w, "Editn")->setText("9999999999");
    Control<QComboBox>(w, "CBnUM")->setCurrentText("kBytes");
    Control<QLineEdit>(w, "eDFTmax")->setText("512");
    Control<QComboBox>(w, "CBdftMax")->setCurrentText("MBytes"); // 2^32 bits
    Control<QTabWidget>(w, "PC")->setCurrentWidget(Control<QWidget>(w, "TSparam"));

    handler(w);
    QCOMPARE(fixture.dialogs.messages,
             (QList<ShownMessage>{{"The sequence length 9999999999 kBytes is out of range: the "
                                   "tester takes sizes from 0 to 4294967295 bits (512 MBytes "
                                   "less one bit).",
                                   MessageIcon::Warning}}));
    QCOMPARE(Control<QTabWidget>(w, "PC")->currentWidget(), Control<QWidget>(w, "TSgeneral"));
    QCOMPARE(w.focusWidget(), Control<QLineEdit>(w, "Editn"));
    QVERIFY(!QFile::exists(fixture.Path("para")));
    QVERIFY(!fixture.TesterStarted());
    QVERIFY(w.isVisible());

    fixture.dialogs.messages.clear();
    Control<QLineEdit>(w, "Editn")->setText("1");
    handler(w);
    QCOMPARE(fixture.MessageTexts(),
             QStringList("The DFT max n 512 MBytes is out of range: the tester takes sizes from 0 "
                         "to 4294967295 bits (512 MBytes less one bit)."));
    QCOMPARE(Control<QTabWidget>(w, "PC")->currentWidget(), Control<QWidget>(w, "TSparam"));
    QCOMPARE(w.focusWidget(), Control<QLineEdit>(w, "eDFTmax"));
    QVERIFY(!QFile::exists(fixture.Path("para")));
    QVERIFY(!fixture.TesterStarted());
}

void LaunchChecksTest::ARangeWithMinAboveMaxAsksBeforeTheRun_data() {
    BothHandlers();
}

void LaunchChecksTest::ARangeWithMinAboveMaxAsksBeforeTheRun() {
    QFETCH(Handler, handler);
    LaunchFixture fixture;
    fixture.tester.SetControl("silent");
    TFIN& w = *fixture.window;
    w.show();
    Control<QCheckBox>(w, "CheckBox10")->setChecked(true); // Serial
    Control<QLineEdit>(w, "eSERmin")->setText("5");
    Control<QLineEdit>(w, "eSERmax")->setText("3");
    Control<QCheckBox>(w, "CheckBox21")
        ->setChecked(false); // Collision, not ticked: its range is not asked about
    Control<UpDown>(w, "uCOLLsmin")->SetPosition(30);
    Control<UpDown>(w, "uCOLLsmax")->SetPosition(20);

    handler(w); // "Go back"
    QCOMPARE(fixture.dialogs.questions,
             QStringList("Serial: the block size range has min 5 greater than max 3.\n\n"
                         "Zentrope will not run these tests with such a range. Go on without "
                         "them, or go back to correct the range?"));
    QVERIFY(fixture.dialogs.messages.isEmpty());
    QVERIFY(!QFile::exists(fixture.Path("para")));
    QVERIFY(!fixture.TesterStarted());
    QVERIFY(w.isVisible());

    fixture.dialogs.goOnAnswers = {true};
    handler(w);
    QCOMPARE(fixture.dialogs.questions.size(), 2);
    QVERIFY(fixture.tester.WaitForRecord().arguments.size() == 1);
}

ZENTROPE_GUI_TEST_MAIN(LaunchChecksTest)
#include "launch_checks_test.moc"
