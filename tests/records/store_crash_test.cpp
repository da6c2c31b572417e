// A program killed at any moment while it writes records leaves an index that opens, passes
// SQLite's own check and shows only whole records, each with its folder and result copy; what
// it left half made is gone once the folders are settled, as at the next start.
#include "records/folder_reindex.h"
#include "records/run_folder.h"
#include "records/run_store.h"
#include "tests/records/record_samples.h"

#include <QDir>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

constexpr int InputsPerRecord = 300;
constexpr int Rounds = 6;

QString IntegrityCheck(const QString& databaseFile) {
    QString verdict;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
        db.setDatabaseName(databaseFile);
        QSqlQuery query(db);
        if (db.open() && query.exec("PRAGMA integrity_check") && query.next())
            verdict = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase("check");
    return verdict;
}

// Starts the writer and kills it `delayMs` after its `records`-th record; the ids it
// reported as written.
QList<qint64> KillWriterDuringARecord(const QString& root, const QString& result, int records,
                                      int delayMs) {
    QProcess writer;
    writer.start(RECORD_WRITER_PROBE_PATH, {root, result, QString::number(InputsPerRecord)});
    QList<qint64> written;
    while (written.size() < records && writer.waitForReadyRead(30000)) {
        while (writer.canReadLine())
            written << writer.readLine().trimmed().toLongLong();
    }
    QTest::qSleep(delayMs);
    writer.kill();
    writer.waitForFinished();
    for (const QByteArray& line : writer.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            written << line.toLongLong();
    return written;
}

// Folders holding more than a maker's lock: a writer killed just as it locked a new folder
// leaves it to the grace an empty folder gets.
qsizetype FilledFolders(const QString& root) {
    qsizetype filled = 0;
    for (const QFileInfo& folder :
         QDir(RunsFolderOf(root)).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        filled += !FolderBeingMade(folder.absoluteFilePath()) &&
                  !QDir(folder.absoluteFilePath())
                       .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    return filled;
}

} // namespace

class StoreCrashTest : public QObject {
    Q_OBJECT
private slots:
    void AKilledWriterLeavesOnlyWholeRecords() {
        QTemporaryDir root;
        const QString result = root.filePath("result.txt");
        const QByteArray resultBytes(200000, '5');
        QVERIFY(WriteFile(result, resultBytes));
        QList<qint64> reported;
        for (int round = 0; round < Rounds; ++round) {
            reported << KillWriterDuringARecord(root.path(), result, 2, round * 3);
            QCOMPARE(IntegrityCheck(root.filePath("runs.sqlite")), QString("ok"));
            std::unique_ptr<RunStore> store = RunStore::Open(root.path()).store;
            QVERIFY(store);
            const QList<RunRecord> records = store->List();
            QList<qint64> ids;
            for (const RunRecord& record : records) {
                ids << record.id;
                QVERIFY(record.folderPresent);
                QCOMPARE(record.enabledTests.size(), SampleTestCount);
                QCOMPARE(record.inputs.size(), InputsPerRecord);
                QCOMPARE(QFileInfo(QDir(record.folder).filePath(ResultCopyName)).size(),
                         resultBytes.size());
            }
            for (qint64 id : reported)
                QVERIFY2(ids.contains(id), "a record reported as written is missing");
            // An empty folder may be one made an instant ago, and is left for a while.
            ReindexRunFolders(*store);
            QCOMPARE(FilledFolders(root.path()), store->List().size());
        }
        QVERIFY(reported.size() >= 2 * Rounds);
    }
};

QTEST_GUILESS_MAIN(StoreCrashTest)
#include "store_crash_test.moc"
