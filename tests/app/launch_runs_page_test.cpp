// The Runs page: recorded runs listed newest first and filtered by text, a run's result and
// parameters brought back into the window, and a run deleted with its folder.
#include "gui_test_main.h"
#include "launch_fixture.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

using zentrope::RunRecord;

class RunsPageTest : public QObject {
    Q_OBJECT
private slots:
    void listsOpensAndDeletesRuns();
};

void RunsPageTest::listsOpensAndDeletesRuns() {
    LaunchFixture fixture;
    QVERIFY(fixture.isValid());
    TFIN& window = *fixture.window;
    window.show();
    Control<QLineEdit>(window, "EditNT")->setText("7");
    window.ButtRunWaitClick();
    // Runs are told apart, and sorted, by their start to the second.
    QTest::qWait(1100);
    Control<QLineEdit>(window, "EditNT")->setText("9");
    fixture.tester.setControl("silent\nexit 2");
    window.ButtRunWaitClick();
    QCOMPARE(fixture.Runs().size(), 2);
    const RunRecord older = fixture.Runs()[1];

    auto* pages = Control<QTabWidget>(window, "PC");
    QCOMPARE(pages->indexOf(Control<QWidget>(window, "TSruns")),
             pages->indexOf(Control<QWidget>(window, "TStable")) + 1);
    pages->setCurrentWidget(Control<QWidget>(window, "TSruns"));
    auto* list = Control<QTableView>(window, "RunsList");
    QCOMPARE(list->model()->rowCount(), 2);
    // Newest first: the failed run's exit code heads the list.
    QCOMPARE(list->model()->index(0, 2).data().toString(), QString("2"));
    Control<QLineEdit>(window, "RunsFilter")->setText(older.startedAt.toString(Qt::ISODate));
    QCOMPARE(list->model()->rowCount(), 1);
    list->setCurrentIndex(list->model()->index(0, 0));
    QVERIFY(Control<QPlainTextEdit>(window, "RunRecord")->toPlainText().contains("NT: 7"));

    Control<QPushButton>(window, "RunsOpenResult")->click();
    QCOMPARE(CellText(window, 3, RowOf(window, "DFT")), QString("0.5"));
    const QString ownFile = Control<QLineEdit>(window, "EditParaFile")->text();
    Control<QPushButton>(window, "RunsLoadParameters")->click();
    QCOMPARE(Control<QLineEdit>(window, "EditNT")->text(), QString("7"));
    QCOMPARE(Control<QLineEdit>(window, "EditParaFile")->text(), ownFile);

    fixture.dialogs.goOnAnswers = {true};
    Control<QPushButton>(window, "RunsDelete")->click();
    QCOMPARE(list->model()->rowCount(), 0);
    QCOMPARE(fixture.Runs().size(), 1);
    QVERIFY(!QFileInfo::exists(older.folder));
}

ZENTROPE_GUI_TEST_MAIN(RunsPageTest)
#include "launch_runs_page_test.moc"
