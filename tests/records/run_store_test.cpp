// The run store on a real SQLite file: records come back whole and in order, are found by
// text, deleted with their folders, survive a folder that has gone, refuse a folder that is
// not theirs, and a full disk leaves no half record.
#include "records/run_store.h"
#include "records/schema.h"
#include "tests/records/record_samples.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

const QDateTime Noon = QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0, 250), Qt::UTC);

struct OpenStore {
    QTemporaryDir root;
    std::unique_ptr<RunStore> store = RunStore::Open(root.path()).store;
};

// A record of a run started at `start`, in a new folder of the store.
RunRecord NewRecord(RunStore& store, const QDateTime& start, int inputs = 2) {
    return SampleRecord(MakeRunFolder(store.Root(), start).path, start, inputs);
}

QStringList RunFolders(const QString& root) {
    return QDir(RunsFolderOf(root)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

// A file size limit below what a write needs makes it fail as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

int UserVersion(const QString& databaseFile) {
    int version = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "inspect");
        db.setDatabaseName(databaseFile);
        QSqlQuery query(db);
        if (db.open() && query.exec("PRAGMA user_version") && query.next())
            version = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase("inspect");
    return version;
}

void SetUserVersion(const QString& databaseFile, int version) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "inspect");
        db.setDatabaseName(databaseFile);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = %1").arg(version)));
    }
    QSqlDatabase::removeDatabase("inspect");
}

} // namespace

class RunStoreTest : public QObject {
    Q_OBJECT
private slots:
    void RecordsComeBackWholeNewestFirstAfterReopening() {
        QTemporaryDir root;
        RunRecord early, late, imported;
        qint64 importedId = 0;
        const QByteArray result = "Sequence #1\n0.5\tDFT\n";
        {
            std::unique_ptr<RunStore> store = RunStore::Open(root.path()).store;
            QVERIFY(store);
            late = NewRecord(*store, Noon.addSecs(3600));
            late.end.exitCode.reset();
            late.end.endSignal = 9;
            late.end.cancelled = true;
            early = NewRecord(*store, Noon.addSecs(-3600), 0);
            early.end.endedAt = QDateTime(); // left running on its own
            imported.kind = RunKind::Imported;
            imported.startedAt = Noon;
            imported.folder = MakeRunFolder(store->Root(), Noon).path;
            imported.source = root.filePath("outside.txt");
            QVERIFY(WriteFile(root.filePath("outside.txt"), result));
            QVERIFY(store->Add(late, root.filePath("no result written")).id > 0);
            QVERIFY(store->Add(early).id > 0);
            const RecordWriting writing = store->Add(imported, root.filePath("outside.txt"));
            QVERIFY2(writing.id > 0, qPrintable(writing.error));
            importedId = writing.id;
        }
        std::unique_ptr<RunStore> store = RunStore::Open(root.path()).store;
        QVERIFY(store);
        const QList<RunRecord> records = store->List();
        QCOMPARE(records.size(), 3);
        CompareRecords(records[0], late);
        CompareRecords(records[1], imported);
        CompareRecords(records[2], early);
        QVERIFY(records[0].folderPresent);
        QVERIFY(!QFile::exists(QDir(late.folder).filePath(ResultCopyName)));
        QFile copy(QDir(imported.folder).filePath(ResultCopyName));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), result);
        const std::optional<RunRecord> one = store->Get(importedId);
        QVERIFY(one);
        CompareRecords(*one, imported);
        QVERIFY(!store->Get(importedId + 100));
    }

    void FilterWantsEveryWordSomewhereIgnoringCase() {
        OpenStore fixture;
        QVERIFY(fixture.store);
        RunRecord first = NewRecord(*fixture.store, Noon, 3);
        first.enabledTests = {"DFT", "Runs"};
        RunRecord second = NewRecord(*fixture.store, Noon.addSecs(60), 1);
        second.testerPath = "/home/me/other tester";
        second.end.exitCode = 3;
        second.verdict->outcome = BriefOutcome::Passes;
        const qint64 firstId = fixture.store->Add(first).id;
        const qint64 secondId = fixture.store->Add(second).id;
        const auto ids = [&fixture](const QString& text) {
            QList<qint64> found;
            for (const RunRecord& record : fixture.store->Filter(text))
                found << record.id;
            return found;
        };
        QCOMPARE(ids(""), (QList<qint64>{secondId, firstId}));
        QCOMPARE(ids("dft PART2"), QList<qint64>{firstId}); // a test and an input
        QCOMPARE(ids("  OTHER   part0 "), QList<qint64>{secondId});
        QCOMPARE(ids("2026-12-07T12:01:00"), QList<qint64>{secondId});
        QCOMPARE(ids("dft other"), QList<qint64>{}); // in different records only
        QCOMPARE(ids("imported"), QList<qint64>{});
        // How they came out, and what the list says they tested, as the list shows them.
        QCOMPARE(ids("FAILS"), QList<qint64>{firstId});
        QCOMPARE(ids("failed"), QList<qint64>{secondId}); // exit 3 outweighs its passing rows
        QCOMPARE(ids("passes"), QList<qint64>{});
        QCOMPARE(ids("and 2 more"), QList<qint64>{firstId});
    }

    void DeleteTakesTheFolderAndAGoneFolderIsNoError() {
        OpenStore fixture;
        QVERIFY(fixture.store);
        const RunRecord kept = NewRecord(*fixture.store, Noon);
        const RunRecord deleted = NewRecord(*fixture.store, Noon.addSecs(1));
        const RunRecord gone = NewRecord(*fixture.store, Noon.addSecs(2));
        const qint64 keptId = fixture.store->Add(kept).id;
        const qint64 deletedId = fixture.store->Add(deleted).id;
        const qint64 goneId = fixture.store->Add(gone).id;
        QVERIFY(WriteFile(QDir(deleted.folder).filePath(LogName), "log\n"));

        QVERIFY(QDir(gone.folder).removeRecursively());
        const std::optional<RunRecord> withoutFolder = fixture.store->Get(goneId);
        QVERIFY(withoutFolder && !withoutFolder->folderPresent);
        QCOMPARE(fixture.store->List().size(), 3);

        QCOMPARE(fixture.store->Remove(deletedId), QString());
        QCOMPARE(fixture.store->Remove(goneId), QString());
        QVERIFY(!QFileInfo::exists(deleted.folder));
        QCOMPARE(fixture.store->List().size(), 1);
        QCOMPARE(fixture.store->List()[0].id, keptId);
        QCOMPARE(RunFolders(fixture.root.path()), QStringList(QFileInfo(kept.folder).fileName()));
    }

    // An index edited by hand, or a caller's mistake, must never make the store record or
    // delete a folder that is not one of its runs.
    void OnlyRunFoldersOfTheRootAreTouched() {
        OpenStore fixture;
        QVERIFY(fixture.store);
        QTemporaryDir elsewhere;
        QVERIFY(WriteFile(elsewhere.filePath("precious"), "keep"));
        RunRecord record = SampleRecord(elsewhere.path(), Noon, 1);
        const RecordWriting writing = fixture.store->Add(record);
        QCOMPARE(writing.id, 0);
        QVERIFY(writing.error.contains(elsewhere.path()));
        QVERIFY(fixture.store->List().isEmpty());
        QVERIFY(QFile::exists(elsewhere.filePath("precious")));

        record = NewRecord(*fixture.store, Noon);
        const qint64 id = fixture.store->Add(record).id;
        QSqlQuery edit(QSqlDatabase::database(QSqlDatabase::connectionNames().first()));
        QVERIFY(edit.exec(QStringLiteral("UPDATE runs SET folder = '../../%1' WHERE id = %2")
                              .arg(QFileInfo(elsewhere.path()).fileName())
                              .arg(id)));
        fixture.store->Remove(id);
        QVERIFY(QFile::exists(elsewhere.filePath("precious")));
        QVERIFY(fixture.store->List().isEmpty());
    }

    void SchemaIsMadeOnceAndANewerIndexIsLeftAlone() {
        QTemporaryDir root;
        const QString index = root.filePath("runs.sqlite");
        QVERIFY(RunStore::Open(root.path()).store);
        QCOMPARE(UserVersion(index), CurrentSchemaVersion());
        QVERIFY(RunStore::Open(root.path()).store); // and opens again

        SetUserVersion(index, CurrentSchemaVersion() + 1);
        const StoreOpening newer = RunStore::Open(root.path());
        QVERIFY(!newer.store);
        QVERIFY(newer.error.contains("newer version"));
        QCOMPARE(UserVersion(index), CurrentSchemaVersion() + 1);
    }

    // An index of the first schema, whose records knew no source, is brought up to date.
    void AnIndexOfTheFirstSchemaIsMigratedKeepingItsRecords() {
        QTemporaryDir root;
        const QString index = root.filePath("runs.sqlite");
        RunRecord old;
        {
            std::unique_ptr<RunStore> store = RunStore::Open(root.path()).store;
            QVERIFY(store);
            old = NewRecord(*store, Noon);
            QVERIFY(store->Add(old).id > 0);
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "inspect");
            db.setDatabaseName(index);
            QVERIFY(db.open());
            for (const char* column : {"source", "result_path", "tester_pid", "backend",
                                       "backend_id", "verdict", "failing_rows", "verdict_alpha"})
                QVERIFY(QSqlQuery(db).exec(
                    QStringLiteral("ALTER TABLE runs DROP COLUMN %1").arg(QLatin1String(column))));
            QVERIFY(QSqlQuery(db).exec("PRAGMA user_version = 1"));
        }
        QSqlDatabase::removeDatabase("inspect");
        std::unique_ptr<RunStore> store = RunStore::Open(root.path()).store;
        QVERIFY(store);
        QCOMPARE(UserVersion(index), CurrentSchemaVersion());
        QCOMPARE(store->List().size(), 1);
        old.verdict.reset(); // to be judged again from its result
        CompareRecords(store->List()[0], old);
        RunRecord imported = NewRecord(*store, Noon.addSecs(60));
        imported.kind = RunKind::Imported;
        imported.source = root.filePath("elsewhere.txt");
        imported.resultPath = root.filePath("out.txt");
        imported.testerPid = 99;
        QVERIFY(store->Add(imported).id > 0);
        CompareRecords(store->List()[0], imported);
    }

    void AFullDiskWhileCopyingTheResultLeavesNoHalfRecord() {
        OpenStore fixture;
        QVERIFY(fixture.store);
        const QString result = fixture.root.filePath("big result.txt");
        QVERIFY(WriteFile(result, QByteArray(1 << 20, '7')));
        const RunRecord record = NewRecord(*fixture.store, Noon);
        RecordWriting writing;
        {
            FileSizeLimit limit(256 * 1024);
            writing = fixture.store->Add(record, result);
        }
        QCOMPARE(writing.id, 0);
        QVERIFY2(writing.error.contains("\"" + result + "\"") &&
                     writing.error.endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))),
                 qPrintable(writing.error));
        QVERIFY(fixture.store->List().isEmpty());
        QVERIFY(RunFolders(fixture.root.path()).isEmpty());
    }

    // Recorded as it starts, hashed meanwhile, ended later; a full disk at the end leaves the
    // record as it was.
    void ARunAddedAtItsStartIsCompletedLater() {
        OpenStore fixture;
        QVERIFY(fixture.store);
        RunRecord run = NewRecord(*fixture.store, Noon, 1);
        const RunEnd end = run.end;
        run.end = RunEnd();
        run.inputs[0].sha256.clear();
        const qint64 id = fixture.store->Add(run).id;
        QVERIFY(id > 0);
        run.inputs[0].sha256 = QString(64, u'b');
        QCOMPARE(fixture.store->SetInputs(id, run.inputs), QString());
        run.testerSize = 77;
        run.testerSha256 = QString(64, u'c');
        QCOMPARE(fixture.store->SetTester(id, run.testerSize, run.testerSha256), QString());
        run.testerPid = 4321;
        run.resultPath = fixture.root.filePath("out.txt");
        QCOMPARE(fixture.store->SetStart(id, *run.testerPid, run.resultPath), QString());
        run.verdict = BriefVerdict{BriefOutcome::Incomplete, 0, 0.05};
        QCOMPARE(fixture.store->SetVerdict(id, *run.verdict), QString());
        QVERIFY(!fixture.store->SetVerdict(id + 1, *run.verdict).isEmpty());

        const QString result = fixture.root.filePath("result.txt");
        QVERIFY(WriteFile(result, QByteArray(1 << 20, '3')));
        QString failure;
        {
            FileSizeLimit limit(256 * 1024);
            failure = fixture.store->Finish(id, end, result);
        }
        QVERIFY(failure.contains(QString::fromLocal8Bit(std::strerror(EFBIG))));
        CompareRecords(*fixture.store->Get(id), run);
        QVERIFY(!QFile::exists(QDir(run.folder).filePath(ResultCopyName)));

        QCOMPARE(fixture.store->Finish(id, end, result), QString());
        run.end = end;
        CompareRecords(*fixture.store->Get(id), run);
        QCOMPARE(QFileInfo(QDir(run.folder).filePath(ResultCopyName)).size(), 1 << 20);
        QVERIFY(!fixture.store->Finish(id + 1, end).isEmpty());
    }

    void AFullDiskWhileWritingTheIndexLeavesNoHalfRecord() {
        OpenStore fixture;
        QVERIFY(fixture.store);
        const RunRecord small = NewRecord(*fixture.store, Noon);
        QVERIFY(fixture.store->Add(small).id > 0);
        const RunRecord large = NewRecord(*fixture.store, Noon.addSecs(1), 20000);
        const qint64 indexSize = QFileInfo(fixture.root.filePath("runs.sqlite")).size();
        RecordWriting writing;
        {
            FileSizeLimit limit(indexSize + 64 * 1024);
            writing = fixture.store->Add(large);
        }
        QCOMPARE(writing.id, 0);
        QVERIFY(!writing.error.isEmpty());
        std::unique_ptr<RunStore> reopened = RunStore::Open(fixture.root.path()).store;
        QVERIFY(reopened);
        const QList<RunRecord> records = reopened->List();
        QCOMPARE(records.size(), 1);
        CompareRecords(records[0], small);
        QCOMPARE(RunFolders(fixture.root.path()), QStringList(QFileInfo(small.folder).fileName()));
    }

    // A large result loaded from elsewhere costs neither its size again nor the time to copy
    // it, and keeps its content when the tester replaces the file.
    void ALargeFileIsKeptAsASecondNameOfItself() {
        QTemporaryDir folder;
        const QString source = folder.filePath("large result.txt");
        QVERIFY(WriteFile(source, "0.5\tlarge\n"));
        QVERIFY(QFile::resize(source, LinkFromBytes)); // sparse: nothing written
        QVERIFY(KeepFileAt(source, folder.filePath("kept.txt")).isEmpty());
        QVERIFY(std::filesystem::equivalent(
            QFile::encodeName(source).toStdString(),
            QFile::encodeName(folder.filePath("kept.txt")).toStdString()));
        QVERIFY(WriteFile(folder.filePath("next"), "next run\n"));
        QVERIFY(std::rename(QFile::encodeName(folder.filePath("next")).constData(),
                            QFile::encodeName(source).constData()) == 0);
        QFile kept(folder.filePath("kept.txt"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.size(), LinkFromBytes);
        QCOMPARE(kept.read(10), QByteArray("0.5\tlarge\n"));
    }

    // A copy stopped as the program quits leaves neither the copy nor its temporary.
    void AStoppedCopyLeavesNothing() {
        QTemporaryDir folder;
        const QString source = folder.filePath("result.txt");
        QVERIFY(WriteFile(source, QByteArray(3 << 20, '4')));
        QVERIFY(QDir(folder.path()).mkdir("copy"));
        int chunks = 0;
        const QString failure =
            CopyWholeFile(source, folder.filePath("copy/result.txt"), [&] { return ++chunks > 1; });
        QVERIFY(failure.contains("stopped"));
        QCOMPARE(chunks, 2);
        QVERIFY(QDir(folder.filePath("copy"))
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }
};

QTEST_GUILESS_MAIN(RunStoreTest)
#include "run_store_test.moc"
