// The checks before a run, what the tester receives, and the failures of a
// start, through both run buttons.
#include "gui_test_main.h"
#include "launch_fixture.h"

#include <QFileInfo>
#include <QTest>
#include <cerrno>
#include <cstring>

namespace {

using Handler = void (TFIN::*)();

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
    void executableChecksComeBeforeTheSave_data();
    void executableChecksComeBeforeTheSave();
    void failedSaveStopsTheRun_data();
    void failedSaveStopsTheRun();
    void refusedStartShowsTheSystemsText_data();
    void refusedStartShowsTheSystemsText();
    void parameterPathArrivesIntactInTheTestersFolder_data();
    void parameterPathArrivesIntactInTheTestersFolder();
    void emptyParameterFileNameBecomesTheDefault();
};

void LaunchChecksTest::executableChecksComeBeforeTheSave_data() {
    BothHandlers();
}

void LaunchChecksTest::executableChecksComeBeforeTheSave() {
    QFETCH(Handler, handler);
    const QList<std::pair<QString, QString>> cases = {
        {"", NoExecutableText},
        {"no such tester", "Zentrope executable not found."},
        {".", "Zentrope executable not found."},
    };
    for (const auto& [executable, box] : cases) {
        LaunchFixture fixture;
        QVERIFY(fixture.isValid());
        fixture.window->show();
        Control<QLineEdit>(*fixture.window, "EditZTRPexe")->setText(executable);

        (fixture.window.get()->*handler)();
        QCOMPARE(fixture.dialogs.messages, (QList<ShownMessage>{{box, MessageIcon::Error}}));
        QVERIFY(!QFile::exists(fixture.currentDir.filePath("para")));
        QVERIFY(fixture.window->isVisible());
    }
}

void LaunchChecksTest::failedSaveStopsTheRun_data() {
    BothHandlers();
}

// Without a file there is box 3; with a file left by an earlier save the run
// stops too, since that file does not hold what the window shows. A field that is not a
// whole number stops it at its own box.
void LaunchChecksTest::failedSaveStopsTheRun() {
    QFETCH(Handler, handler);
    LaunchFixture fixture;
    fixture.window->show();
    const QString missing = fixture.currentDir.filePath("no folder/para");
    Control<QLineEdit>(*fixture.window, "EditParaFile")->setText(missing);
    (fixture.window.get()->*handler)();
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
    (fixture.window.get()->*handler)();
    QCOMPARE(fixture.dialogs.messages.size(), 1);
    QCOMPARE(fixture.dialogs.messages[0].icon, MessageIcon::Error);
    QVERIFY(!fixture.testerStarted());
    QVERIFY(fixture.window->isVisible());

    // That field's box ends the click on its own, with or without a file there.
    fixture.dialogs.messages.clear();
    const QString fresh = fixture.currentDir.filePath("fresh");
    Control<QLineEdit>(*fixture.window, "EditParaFile")->setText(fresh);
    Control<QLineEdit>(*fixture.window, "EditOutFile")->clear();
    (fixture.window.get()->*handler)();
    QCOMPARE(fixture.MessageTexts(), QStringList{"'-' is not a valid integer value"});
    QVERIFY(!QFile::exists(fresh));
    QCOMPARE(Control<QLineEdit>(*fixture.window, "EditOutFile")->text(), QString());
    QVERIFY(!fixture.testerStarted());
}

void LaunchChecksTest::refusedStartShowsTheSystemsText_data() {
    BothHandlers();
}

void LaunchChecksTest::refusedStartShowsTheSystemsText() {
    QFETCH(Handler, handler);
    const QString box = QString::fromLocal8Bit(std::strerror(EACCES));
    LaunchFixture fixture;
    fixture.window->show();
    const int page = Control<QTabWidget>(*fixture.window, "PC")->currentIndex();
    const QString notAProgram = fixture.currentDir.filePath("tester.txt");
    fixture.Write(notAProgram, "not a program\n");
    Control<QLineEdit>(*fixture.window, "EditZTRPexe")->setText(notAProgram);

    (fixture.window.get()->*handler)();
    QCOMPARE(fixture.dialogs.messages, (QList<ShownMessage>{{box, MessageIcon::Warning}}));
    QVERIFY(fixture.window->isVisible());
    QCOMPARE(Control<QTabWidget>(*fixture.window, "PC")->currentIndex(), page);
}

void LaunchChecksTest::parameterPathArrivesIntactInTheTestersFolder_data() {
    QTest::addColumn<QString>("testerFolder");
    QTest::addColumn<QString>("parameterName");
    QTest::newRow("plain") << ""
                           << "para";
    QTest::newRow("spaces") << "my tester"
                            << "my para file";
    QTest::newRow("quotes") << "say \"hi\""
                            << "it's \"quoted\" ";
}

void LaunchChecksTest::parameterPathArrivesIntactInTheTestersFolder() {
    QFETCH(QString, testerFolder);
    QFETCH(QString, parameterName);
    LaunchFixture fixture(testerFolder);
    QVERIFY(fixture.isValid());
    fixture.tester.setControl("silent");
    const QString parameterFile = fixture.currentDir.filePath(parameterName);
    Control<QLineEdit>(*fixture.window, "EditParaFile")->setText(parameterFile);

    fixture.window->ButtRunExitClick();
    QVERIFY(fixture.dialogs.messages.isEmpty());
    const auto record = fixture.tester.waitForRecord();
    QCOMPARE(record.arguments, QStringList{parameterFile});
    QCOMPARE(record.workingFolder, Canonical(fixture.tester.folder()));
}

// The default name is relative, so here the tester's folder is the current one.
void LaunchChecksTest::emptyParameterFileNameBecomesTheDefault() {
    LaunchFixture fixture;
    fixture.tester.setControl("silent");
    QDir::setCurrent(fixture.tester.folder());
    Control<QLineEdit>(*fixture.window, "EditParaFile")->clear();

    fixture.window->ButtRunExitClick();
    QCOMPARE(Control<QLineEdit>(*fixture.window, "EditParaFile")->text(),
             QString("Zentrope_GUI_para"));
    QCOMPARE(fixture.tester.waitForRecord().arguments, QStringList{"Zentrope_GUI_para"});
    QVERIFY(QFile::exists(fixture.tester.filePath("Zentrope_GUI_para")));
}

ZENTROPE_GUI_TEST_MAIN(LaunchChecksTest)
#include "launch_checks_test.moc"
