// A run left to run on its own is completed once its tester has gone: its result is copied into
// its folder only when the tester wrote it during the run, and only once.
#include "app/runs/late_results.h"
#include "records/run_folder.h"
#include "records/run_store.h"
#include "runner/local_backend.h"
#include "tests/app/gui_test_main.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace zentrope;

namespace {

// A record of a run started a minute ago whose tester is gone: the identity names this
// process with another start time, as a reused process id would.
qint64 AddLeftRun(RunStore& store, const QString& resultPath) {
    const QDateTime started = QDateTime::currentDateTime().addSecs(-60);
    RunRecord record;
    record.folder = MakeRunFolder(store.Root(), started).path;
    record.testerPath = "Zentrope.exe";
    record.startedAt = started;
    const qint64 id = store.Add(record).id;
    const qint64 self = ::getpid();
    store.SetStart(
        id, RunStart{self,
                     resultPath,
                     {LocalBackendName, LocalIdentityText(self, *ProcessStartTime(self) + 1)}});
    return id;
}

void WriteResult(const QString& path, const QDateTime& modified) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Sequence #1\n0.5\tDFT\n\n");
    file.flush(); // before the time is set, which the write would otherwise change
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

} // namespace

class LateResultsTest : public QObject {
    Q_OBJECT
private slots:
    void OnlyAResultWrittenDuringTheRunIsCollectedOnce();
    void ARunStillGoingIsLeftAlone();
};

void LateResultsTest::OnlyAResultWrittenDuringTheRunIsCollectedOnce() {
    QTemporaryDir root;
    StoreOpening opening = RunStore::Open(root.path());
    QVERIFY(opening.store);
    RunStore& store = *opening.store;
    const QString result = root.filePath("out.txt");
    const qint64 id = AddLeftRun(store, result);
    const QString copy = store.Get(id)->folder + '/' + ResultCopyName;
    QVERIFY(!RunStillGoing(*store.Get(id)));

    // An hour older than the run: another run's file.
    WriteResult(result, QDateTime::currentDateTime().addSecs(-3600));
    CollectLateResults(store);
    QVERIFY(!QFile::exists(copy));

    // Written during the run: copied, then never again.
    WriteResult(result, QDateTime::currentDateTime().addSecs(-30));
    CollectLateResults(store);
    QVERIFY(QFile::exists(copy));
    WriteResult(result, QDateTime::currentDateTime());
    QFile(result).open(QIODevice::Append);
    QVERIFY(!CollectLateResult(store, *store.Get(id)));
    QFile kept(copy);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("Sequence #1\n0.5\tDFT\n\n"));
}

void LateResultsTest::ARunStillGoingIsLeftAlone() {
    QTemporaryDir root;
    StoreOpening opening = RunStore::Open(root.path());
    QVERIFY(opening.store);
    RunStore& store = *opening.store;
    const QString result = root.filePath("out.txt");
    const qint64 id = AddLeftRun(store, result);
    const qint64 self = ::getpid();
    // This very process, with its true start time, stands for a tester still going.
    store.SetStart(
        id, RunStart{
                self, result, {LocalBackendName, LocalIdentityText(self, ProcessStartTime(self))}});
    WriteResult(result, QDateTime::currentDateTime());
    QVERIFY(RunStillGoing(*store.Get(id)));
    QVERIFY(!CollectLateResult(store, *store.Get(id)));
    QVERIFY(!QFile::exists(store.Get(id)->folder + '/' + ResultCopyName));
}

ZENTROPE_GUI_TEST_MAIN(LateResultsTest)
#include "late_results_test.moc"
