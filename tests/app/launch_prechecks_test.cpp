// What the window knows before a run stops the run before anything is written or started,
// with a box that names the field, its value and the way out; the described boxes keep their
// texts and gain the reason beneath.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include <QComboBox>
#include <QTabWidget>
#include <functional>

namespace {

using Handler = std::function<void(TFIN&)>;

void BothHandlers() {
    QTest::addColumn<Handler>("handler");
    QTest::newRow("exit") << Handler(&TFIN::ButtRunExitClick);
    QTest::newRow("wait") << Handler(&TFIN::ButtRunWaitClick);
}

struct Planned {
    QString length;
    QString unit;
    QString sequences;
    QString input; // a name in the current folder, or a pattern
};

void Plan(LaunchFixture& fixture, const Planned& plan) {
    TFIN& w = *fixture.window;
    Control<QLineEdit>(w, "Editn")->setText(plan.length);
    Control<QComboBox>(w, "CBnUM")->setCurrentText(plan.unit);
    Control<QLineEdit>(w, "EditNT")->setText(plan.sequences);
    Control<QLineEdit>(w, "EditInFile")
        ->setText(plan.input.isEmpty() ? QString() : fixture.Path(plan.input));
}

bool NothingWrittenOrStarted(const LaunchFixture& fixture) {
    return !QFile::exists(fixture.Path("para")) && !fixture.TesterStarted() &&
           fixture.Runs().isEmpty();
}

} // namespace

class LaunchPrechecksTest : public QObject {
    Q_OBJECT
private slots:
    void ARunThatMustFailIsNeitherWrittenNorStarted_data();
    void ARunThatMustFailIsNeitherWrittenNorStarted();
    void ARunWithEnoughInputStarts();
    void AMissingTesterKeepsItsBoxAndSaysWhichPath_data();
    void AMissingTesterKeepsItsBoxAndSaysWhichPath();
    void AMissingParameterFolderIsNamedUnderTheDescribedBoxes();
};

void LaunchPrechecksTest::ARunThatMustFailIsNeitherWrittenNorStarted_data() {
    BothHandlers();
}

void LaunchPrechecksTest::ARunThatMustFailIsNeitherWrittenNorStarted() {
    QFETCH(Handler, handler);
    struct Case {
        Planned plan;
        const char* field;
        QStringList said; // each part must be in the box
    };
    // in.bin holds 100 bytes: 800 bits.
    const QList<Case> cases = {
        {{"1024", "bits", "0", ""}, "EditNT", {"\"Number of seqs\" is 0"}},
        {{"1024", "bits", "2", "gen*.bin"}, "EditInFile", {"gen*.bin", "\"Input file name\""}},
        {{"1024", "bits", "1", "in.bin"}, "Editn", {"1,024 bits", "800 bits"}},
        {{"100", "bits", "9", "in.bin"}, "Editn", {"900 bits", "800 bits"}},
        {{"0", "bits", "801", "in.bin"}, "Editn", {"801 sequences", "800 bits"}},
        {{"0", "bits", "5", ""}, "Editn", {"\"Sequence length\" is 0"}},
    };
    for (const Case& c : cases) {
        LaunchFixture fixture;
        fixture.Write("in.bin", QByteArray(100, 'x'));
        TFIN& w = *fixture.window;
        w.show();
        Control<QTabWidget>(w, "PC")->setCurrentIndex(1);
        Plan(fixture, c.plan);
        fixture.dialogs.messages.clear();

        handler(w);
        QCOMPARE(fixture.dialogs.messages.size(), 1);
        for (const QString& part : c.said)
            QVERIFY2(fixture.dialogs.messages[0].text.contains(part),
                     qPrintable(fixture.dialogs.messages[0].text));
        QVERIFY(NothingWrittenOrStarted(fixture));
        QVERIFY(w.isVisible());
        // The page that holds the field is shown, the field's text selected.
        QCOMPARE(Control<QTabWidget>(w, "PC")->currentIndex(), 0);
        auto* field = Control<QLineEdit>(w, c.field);
        QCOMPARE(field->selectedText(), field->text());
    }
}

// The exact fit of 800 bits and the built-in generator both go ahead.
void LaunchPrechecksTest::ARunWithEnoughInputStarts() {
    for (const Planned& plan :
         {Planned{"100", "bits", "8", "in.bin"}, Planned{"0", "bits", "800", "in.bin"},
          Planned{"1", "Mbits", "3", ""}}) {
        LaunchFixture fixture;
        fixture.tester.SetControl("silent");
        fixture.Write("in.bin", QByteArray(100, 'x'));
        Plan(fixture, plan);
        fixture.window->ButtRunExitClick();
        QCOMPARE(fixture.MessageTexts(), QStringList());
        QVERIFY(fixture.tester.WaitForRecord().arguments.size() == 1);
    }
}

void LaunchPrechecksTest::AMissingTesterKeepsItsBoxAndSaysWhichPath_data() {
    BothHandlers();
}

void LaunchPrechecksTest::AMissingTesterKeepsItsBoxAndSaysWhichPath() {
    QFETCH(Handler, handler);
    for (const QString& name : {QString("gone/Zentrope.exe"), QString("a folder")}) {
        LaunchFixture fixture;
        QDir().mkpath(fixture.Path("a folder"));
        // A run that would fail for its input too shows the tester's box first.
        Plan(fixture, {"0", "bits", "0", ""});
        Control<QLineEdit>(*fixture.window, "EditZTRPexe")->setText(fixture.Path(name));
        handler(*fixture.window);
        QCOMPARE(fixture.dialogs.messages,
                 (QList<ShownMessage>{{"Zentrope executable not found.", MessageIcon::Error}}));
        const QString detail = fixture.dialogs.details.value(0);
        QVERIFY2(detail.contains(QDir::toNativeSeparators(fixture.Path(name))), qPrintable(detail));
        QVERIFY2(detail.contains("\"Zentrope executable\" on page \"General\""),
                 qPrintable(detail));
        QVERIFY(NothingWrittenOrStarted(fixture));
    }
}

// The writer's box and box 3 stay as they are; each says the folder is missing.
void LaunchPrechecksTest::AMissingParameterFolderIsNamedUnderTheDescribedBoxes() {
    LaunchFixture fixture;
    const QString para = fixture.Path("no folder/para");
    Control<QLineEdit>(*fixture.window, "EditParaFile")->setText(para);
    fixture.window->ButtRunWaitClick();
    QCOMPARE(fixture.MessageTexts(), (QStringList{"Parameter file not saved.",
                                                  "Parameter file\n\"" + para + "\"\nnot found."}));
    QCOMPARE(fixture.dialogs.details.size(), 2);
    for (const QString& detail : fixture.dialogs.details)
        QVERIFY2(detail.contains(QDir::toNativeSeparators(fixture.Path("no folder"))) &&
                     detail.contains("does not exist"),
                 qPrintable(detail));
    QVERIFY(!fixture.TesterStarted());

    // The Save button says it too.
    fixture.dialogs.messages.clear();
    fixture.dialogs.details.clear();
    fixture.window->ButtParaSaveClick();
    QCOMPARE(fixture.dialogs.details.size(), 1);
}

ZENTROPE_GUI_TEST_MAIN(LaunchPrechecksTest)
#include "launch_prechecks_test.moc"
