// An index that is damaged, of a newer version or lost: the first two are told once with
// their path and never written; a lost one is built again from the run folders, which also
// lose what a stopped program left half made.
#include "records/folder_reindex.h"
#include "records/run_store.h"
#include "records/store_notices.h"
#include "tests/records/record_samples.h"

#include <QDir>
#include <QLockFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>
#include <utime.h>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

constexpr int StoredRuns = 30;
constexpr int PageSize = 4096;

QString IndexOf(const QTemporaryDir& root) {
    return root.filePath("runs.sqlite");
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A store of `runs` finished runs, each folder with its result copy; their records.
QList<RunRecord> FillStore(const QString& root, int runs, const QString& result) {
    std::unique_ptr<RunStore> store = RunStore::Open(root).store;
    QList<RunRecord> records;
    const QDateTime first(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    for (int i = 0; i < runs; ++i) {
        RunRecord record =
            SampleRecord(MakeRunFolder(root, first.addSecs(i)).path, first.addSecs(i), 30);
        if (!store->Add(record, result).id)
            return {};
        records.prepend(record); // newest first, as the store lists them
    }
    return records;
}

void Overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(offset);
    file.write(bytes);
}

void SetUserVersion(const QString& path, int version) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "edit");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = %1").arg(version)));
    }
    QSqlDatabase::removeDatabase("edit");
}

void SetModified(const QString& path, const QDateTime& time) {
    const utimbuf times{time.toSecsSinceEpoch(), time.toSecsSinceEpoch()};
    QCOMPARE(utime(QFile::encodeName(path).constData(), &times), 0);
}

QStringList RunFolders(const QString& root) {
    return QDir(RunsFolderOf(root)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace

class StoreHealthTest : public QObject {
    Q_OBJECT
private slots:
    void AnUnsoundIndexIsToldOnceAndNeverWritten_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("told");
        QTest::newRow("cut to half") << "truncate"
                                     << "is damaged";
        QTest::newRow("garbage header") << "header"
                                        << "is damaged";
        QTest::newRow("two pages overwritten") << "pages"
                                               << "is damaged";
        QTest::newRow("newer schema") << "version"
                                      << "newer version";
    }
    void AnUnsoundIndexIsToldOnceAndNeverWritten() {
        QFETCH(QString, damage);
        QFETCH(QString, told);
        QTemporaryDir root;
        QVERIFY(WriteFile(root.filePath("result"), "0.5\tTest\n"));
        QCOMPARE(FillStore(root.path(), StoredRuns, root.filePath("result")).size(), StoredRuns);
        const QString index = IndexOf(root);
        if (damage == "truncate")
            QVERIFY(QFile::resize(index, QFileInfo(index).size() / 2));
        else if (damage == "header")
            Overwrite(index, 0, QByteArray(100, '\x5a'));
        else if (damage == "pages")
            for (int page : {4, 9})
                Overwrite(index, qint64(page) * PageSize, QByteArray(PageSize, '\xab'));
        else
            SetUserVersion(index, 99);
        const QByteArray damaged = Bytes(index);
        QSignalSpy notices(&StoreNotices::Instance(), &StoreNotices::Told);

        const StoreOpening first = RunStore::Open(root.path());
        QVERIFY(!first.store);
        QVERIFY2(first.error.contains(told), qPrintable(first.error));
        QVERIFY(first.error.contains(QDir::toNativeSeparators(index)));
        QCOMPARE(notices.size(), 1);
        QCOMPARE(notices[0][0].toString(), first.error);
        // Opened again, by the next run or import: nothing more is told, nothing written.
        QVERIFY(!RunStore::Open(root.path()).store);
        QCOMPARE(notices.size(), 1);
        QCOMPARE(Bytes(index), damaged);
        QCOMPARE(RunFolders(root.path()).size(), StoredRuns);
    }

    void AFolderThatCannotBeWrittenIsToldOnceAndOnlyRead() {
        if (geteuid() == 0)
            QSKIP("file permissions do not bind the superuser");
        QTemporaryDir root;
        QCOMPARE(FillStore(root.path(), 2, QString()).size(), 2);
        const QByteArray before = Bytes(IndexOf(root));
        QVERIFY(QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::ExeOwner));
        QSignalSpy notices(&StoreNotices::Instance(), &StoreNotices::Told);

        const StoreOpening opening = RunStore::Open(root.path());
        QVERIFY(opening.store);
        QVERIFY(opening.store->ReadOnly());
        QVERIFY(opening.error.contains(QDir::toNativeSeparators(root.path())));
        QCOMPARE(opening.store->List().size(), 2);
        QVERIFY(!opening.store->SetStart(opening.store->List()[0].id, 5, "out").isEmpty());
        QVERIFY(RunStore::Open(root.path()).store);
        QCOMPARE(notices.size(), 1);
        QCOMPARE(Bytes(IndexOf(root)), before);
        QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void ALostIndexIsBuiltAgainFromTheRunFolders_data() {
        QTest::addColumn<bool>("emptied");
        QTest::newRow("zero length") << true;
        QTest::newRow("removed") << false;
    }
    void ALostIndexIsBuiltAgainFromTheRunFolders() {
        QFETCH(bool, emptied);
        QTemporaryDir root;
        QVERIFY(WriteFile(root.filePath("result"), "0.5\tTest\n"));
        QList<RunRecord> records = FillStore(root.path(), 5, root.filePath("result"));
        QCOMPARE(records.size(), 5);
        {
            // What is noted after a run's start reaches its folder's record too.
            std::unique_ptr<RunStore> store = RunStore::Open(root.path()).store;
            const qint64 id = store->List()[0].id;
            RunEnd end{records[0].startedAt.addSecs(3), std::nullopt, 9, false};
            QVERIFY(store->Finish(id, end).isEmpty());
            const BackendIdentity runner{"local", "4321 at 99"};
            QVERIFY(store->SetStart(id, RunStart{4321, "/data/out.txt", runner}).isEmpty());
            records[0].runner = runner;
            QVERIFY(store->SetTester(id, 77, QString(64, u'f')).isEmpty());
            records[0].end = end;
            records[0].testerPid = 4321;
            records[0].resultPath = "/data/out.txt";
            records[0].testerSize = 77;
            records[0].testerSha256 = QString(64, u'f');
        }
        if (emptied)
            QVERIFY(QFile::resize(IndexOf(root), 0));
        else
            QVERIFY(QFile::remove(IndexOf(root)));

        std::unique_ptr<RunStore> store = RunStore::Open(root.path()).store;
        QVERIFY(store);
        const FolderReindexing done = ReindexRunFolders(*store);
        QCOMPARE(done.indexed, 5);
        QCOMPARE(done.removed, 0);
        const QList<RunRecord> rebuilt = store->List();
        QCOMPARE(rebuilt.size(), records.size());
        for (qsizetype i = 0; i < rebuilt.size(); ++i)
            CompareRecords(rebuilt[i], records[i]);
        QCOMPARE(ReindexRunFolders(*store).indexed, 0); // once only
    }

    void HalfMadeFoldersGoAndFoldersStillBeingMadeStay() {
        QTemporaryDir root;
        std::unique_ptr<RunStore> store = RunStore::Open(root.path()).store;
        const QDateTime start(QDate(2026, 5, 1), QTime(8, 0), Qt::UTC);
        const RunRecord kept = SampleRecord(MakeRunFolder(root.path(), start).path, start, 1);
        QVERIFY(store->Add(kept).id);
        // A copy whose program stopped before its record: no record, its lock gone with it.
        const QString stopped = MakeRunFolder(root.path(), start.addSecs(1)).path;
        QVERIFY(WriteFile(stopped + "/result.txt", QByteArray(5000, '7')));
        // A folder another import is still filling.
        const RunFolder filling = MakeRunFolder(root.path(), start.addSecs(2));
        QVERIFY(WriteFile(filling.path + "/result.txt", QByteArray(5000, '7')));
        // Empty folders: one made an instant ago, one long ago.
        QVERIFY(QDir(RunsFolderOf(root.path())).mkdir("just-made"));
        QVERIFY(QDir(RunsFolderOf(root.path())).mkdir("long-ago"));
        SetModified(RunsFolderOf(root.path()) + "/long-ago", start);
        // Makers killed as they locked: a lock that names no owner holds for a while only.
        const QString lockName = QFileInfo(filling.creating->fileName()).fileName();
        for (const QString name : {"locked-just-now", "locked-long-ago"}) {
            QVERIFY(QDir(RunsFolderOf(root.path())).mkdir(name));
            QVERIFY(WriteFile(RunsFolderOf(root.path()) + "/" + name + "/" + lockName, {}));
        }
        SetModified(RunsFolderOf(root.path()) + "/locked-long-ago/" + lockName, start);

        const FolderReindexing done = ReindexRunFolders(*store);
        QCOMPARE(done.removed, 3);
        QCOMPARE(done.indexed, 0);
        QStringList expected{QFileInfo(kept.folder).fileName(), QFileInfo(filling.path).fileName(),
                             "just-made", "locked-just-now"};
        expected.sort();
        QCOMPARE(RunFolders(root.path()), expected);
        QCOMPARE(store->List().size(), 1);
    }

    void ARemovedRunIsNotIndexedAgain() {
        QTemporaryDir root;
        std::unique_ptr<RunStore> store = RunStore::Open(root.path()).store;
        const QDateTime start(QDate(2026, 5, 1), QTime(8, 0), Qt::UTC);
        const qint64 id =
            store->Add(SampleRecord(MakeRunFolder(root.path(), start).path, start, 1)).id;
        QVERIFY(id);
        QVERIFY(store->Remove(id).isEmpty());
        QCOMPARE(ReindexRunFolders(*store).indexed, 0);
        QVERIFY(store->List().isEmpty());
    }
};

QTEST_GUILESS_MAIN(StoreHealthTest)
#include "store_health_test.moc"
