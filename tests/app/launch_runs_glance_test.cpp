// The Runs page at a glance: what it keeps, what it asks before replacing the window's
// parameters, and the log shown in the window where the desktop cannot open it.
#include "tests/app/gui_test_main.h"
#include "tests/app/launch_fixture.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QThreadPool>

namespace {

// The Runs page shown, the newest run current.
QTableView* ShowRuns(TFIN& window) {
    Control<QTabWidget>(window, "PC")->setCurrentWidget(Control<QWidget>(window, "TSruns"));
    auto* list = Control<QTableView>(window, "RunsList");
    list->setCurrentIndex(list->model()->index(0, 0));
    return list;
}

} // namespace

class RunsGlanceTest : public QObject {
    Q_OBJECT
private slots:
    void OnlyALoadThatGaveATableIsKeptAsImported();
    void LoadingARunsParametersAsksBeforeDroppingChanges();
    void TheLogIsShownInTheWindowWithoutADesktopHandler();
};

void RunsGlanceTest::OnlyALoadThatGaveATableIsKeptAsImported() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.Write("empty.txt", "");
    fixture.Write("garbage.txt", "not a result\nof any tester\n");
    fixture.Write("good.txt", "Sequence #1\n0.5\tDFT\n\n");
    fixture.dialogs.answers = {fixture.Path("empty.txt"), fixture.Path("garbage.txt"),
                               fixture.Path("missing.txt"), fixture.Path("good.txt")};
    for (int load = 0; load < 4; ++load)
        fixture.window->ButtLoadResultClick();
    QThreadPool::globalInstance()->waitForDone();
    const QList<zentrope::RunRecord> runs = fixture.Runs();
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs[0].source, fixture.Path("good.txt"));
}

void RunsGlanceTest::LoadingARunsParametersAsksBeforeDroppingChanges() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    TFIN& window = *fixture.window;
    window.show();
    Control<QLineEdit>(window, "EditNT")->setText("7");
    fixture.RunWaitToEnd();
    Control<QLineEdit>(window, "EditNT")->setText("3");
    ShowRuns(window);

    fixture.dialogs.saveAnswers = {SaveChoice::Cancel};
    Control<QPushButton>(window, "RunsLoadParameters")->click();
    QCOMPARE(fixture.dialogs.saveQuestions.size(), 1);
    QCOMPARE(Control<QLineEdit>(window, "EditNT")->text(), QString("3"));

    fixture.dialogs.saveAnswers = {SaveChoice::Discard};
    Control<QPushButton>(window, "RunsLoadParameters")->click();
    QCOMPARE(fixture.dialogs.saveQuestions.size(), 2);
    QCOMPARE(Control<QLineEdit>(window, "EditNT")->text(), QString("7"));

    // Unchanged since that load, nothing is asked.
    Control<QPushButton>(window, "RunsLoadParameters")->click();
    QCOMPARE(fixture.dialogs.saveQuestions.size(), 2);
}

// The offscreen platform has no desktop handler.
void RunsGlanceTest::TheLogIsShownInTheWindowWithoutADesktopHandler() {
    LaunchFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.tester.SetControl("say first line of the tester\nsay second line");
    TFIN& window = *fixture.window;
    window.show();
    fixture.RunWaitToEnd();
    ShowRuns(window);
    Control<QPushButton>(window, "RunsOpenLog")->click();
    auto* log = Control<QPlainTextEdit>(window, "RunLog");
    QVERIFY2(log->toPlainText().contains("first line of the tester\nsecond line"),
             qPrintable(log->toPlainText()));
    QVERIFY(log->isVisible());
}

ZENTROPE_GUI_TEST_MAIN(RunsGlanceTest)
#include "launch_runs_glance_test.moc"
