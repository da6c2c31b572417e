#include "records/run_store.h"

#include "records/record_file.h"
#include "records/record_filter.h"
#include "records/run_folder.h"
#include "records/run_rows.h"
#include "records/schema.h"
#include "records/store_notices.h"
#include "records/write_transaction.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

namespace zentrope {
namespace {

// Another program writing the index is waited for this long before a write gives up.
constexpr int BusyTimeoutMs = 10000;

QString NewConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("zentrope-runs-%1").arg(++counter);
}

// Empty when there is no reason.
QString RecordFailure(const QString& reason) {
    return reason.isEmpty() ? reason
                            : QStringLiteral("The run could not be recorded: %1").arg(reason);
}

QString Damaged(const QString& file, const QString& problem) {
    return QStringLiteral("The run index \"%1\" is damaged (%2). Zentrope GUI leaves it as it "
                          "is: runs are logged but not recorded. To record runs again, close "
                          "Zentrope GUI and move the file elsewhere; the next start builds a new "
                          "index from the run folders.")
        .arg(QDir::toNativeSeparators(file), problem);
}

QString UnwritableFolder(const QString& root) {
    return QStringLiteral("The records folder \"%1\" cannot be written, so runs are logged but "
                          "not recorded. Make it writable and start Zentrope GUI again to "
                          "record them.")
        .arg(QDir::toNativeSeparators(root));
}

bool FolderWritable(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("probe-XXXXXX")));
    return probe.open();
}

// Empty when SQLite finds the file sound; a header that is no database's fails the query.
QString QuickCheck(QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return query.lastError().text();
    QStringList problems;
    while (query.next())
        problems << query.value(0).toString();
    return problems == QStringList{QStringLiteral("ok")} ? QString() : problems.join("; ");
}

QString DeleteRow(QSqlDatabase& database, qint64 id) {
    QSqlQuery query(database);
    query.prepare(QStringLiteral("DELETE FROM runs WHERE id = ?"));
    query.bindValue(0, id);
    return query.exec() ? QString() : query.lastError().text();
}

} // namespace

RunStore::RunStore(QString root, QString connection)
    : root_(std::move(root)), connection_(std::move(connection)) {}

RunStore::~RunStore() {
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

StoreOpening RunStore::Open(const QString& root) {
    StoreOpening opening = OpenChecked(root);
    StoreNotices::Instance().TellOnce(opening.error);
    return opening;
}

StoreOpening RunStore::OpenChecked(const QString& root) {
    const QString absoluteRoot = QDir(root).absolutePath();
    if (!QDir().mkpath(absoluteRoot))
        return {nullptr, QStringLiteral("The records folder \"%1\" could not be made, so runs "
                                        "are logged but not recorded.")
                             .arg(QDir::toNativeSeparators(absoluteRoot))};
    const QString file = QDir(absoluteRoot).filePath(QStringLiteral("runs.sqlite"));
    const bool writable =
        FolderWritable(absoluteRoot) && (!QFileInfo::exists(file) || QFileInfo(file).isWritable());
    if (!writable && !QFileInfo::exists(file))
        return {nullptr, UnwritableFolder(absoluteRoot)};
    std::unique_ptr<RunStore> store(new RunStore(absoluteRoot, NewConnectionName()));
    store->readOnly_ = !writable;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), store->connection_);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1%2")
                             .arg(BusyTimeoutMs)
                             .arg(writable ? "" : ";QSQLITE_OPEN_READONLY"));
    if (!db.open())
        return {nullptr, Damaged(file, db.lastError().text())};
    if (QString damage = QuickCheck(db); !damage.isEmpty())
        return {nullptr, Damaged(file, damage)};
    QSqlQuery(db).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    if (!writable) {
        if (QString newer = CheckSchemaVersion(db); !newer.isEmpty())
            return {nullptr, newer};
        if (StoredSchemaVersion(db) != CurrentSchemaVersion())
            return {nullptr, UnwritableFolder(absoluteRoot)};
        return {std::move(store), UnwritableFolder(absoluteRoot)};
    }
    if (QString failure = MigrateSchema(db); !failure.isEmpty())
        return {nullptr, failure};
    return {std::move(store), QString()};
}

QSqlDatabase RunStore::Db() const {
    return QSqlDatabase::database(connection_, false);
}

// Only a folder directly in this root's runs folder is ever recorded or removed, so that
// an index edited by hand cannot make the store delete anything else.
QString RunStore::FolderName(const QString& folder) const {
    const QFileInfo info(folder);
    const bool inRuns =
        QDir::cleanPath(info.absolutePath()) == QDir::cleanPath(RunsFolderOf(root_));
    return info.isDir() && inRuns ? info.fileName() : QString();
}

RecordWriting RunStore::Add(const RunRecord& record, const QString& result) {
    const QString name = FolderName(record.folder);
    if (name.isEmpty())
        return {0, RecordFailure(QStringLiteral("its folder \"%1\" is not a run folder of \"%2\".")
                                     .arg(record.folder, root_))};
    QString failure;
    qint64 id = 0;
    if (!result.isEmpty() && QFileInfo(result).isFile())
        failure = CopyWholeFile(result, QDir(record.folder).filePath(ResultCopyName));
    if (failure.isEmpty())
        failure = RecordFailure(Write(
            [&](QSqlDatabase& database) { return InsertRecord(database, record, name, id); }));
    // The folder keeps its own record, so that a lost index can be built again; one that
    // cannot be written now is written at the next start (folder_reindex.h).
    if (failure.isEmpty()) {
        WriteRecordFile(record);
        return {id, QString()};
    }
    QDir(record.folder).removeRecursively();
    return {0, Told(failure)};
}

RecordWriting RunStore::Adopt(const RunRecord& record) {
    const QString name = FolderName(record.folder);
    qint64 id = 0;
    const QString failure = name.isEmpty() ? RecordFailure(QStringLiteral("it has no run folder."))
                                           : RecordFailure(Write([&](QSqlDatabase& database) {
                                                 return InsertRecord(database, record, name, id);
                                             }));
    return {failure.isEmpty() ? id : 0, failure};
}

QString RunStore::Finish(qint64 id, const RunEnd& end, const QString& result) {
    const std::optional<RunRecord> record = Get(id);
    if (!record || !record->folderPresent || FolderName(record->folder).isEmpty())
        return RecordFailure(QStringLiteral("its record or its folder has gone."));
    const QString copy = QDir(record->folder).filePath(ResultCopyName);
    const bool copied = !result.isEmpty() && QFileInfo(result).isFile();
    if (copied) {
        if (QString failure = CopyWholeFile(result, copy); !failure.isEmpty())
            return Told(failure);
    }
    QString failure =
        Update(id, [&](QSqlDatabase& database) { return UpdateEnd(database, id, end); });
    if (!failure.isEmpty() && copied)
        QFile::remove(copy);
    return failure;
}

QString RunStore::SetStart(qint64 id, const RunStart& start) {
    return Update(id, [&](QSqlDatabase& database) { return UpdateStart(database, id, start); });
}

QString RunStore::SetTester(qint64 id, qint64 size, const QString& sha256) {
    return Update(id,
                  [&](QSqlDatabase& database) { return UpdateTester(database, id, size, sha256); });
}

QString RunStore::SetVerdict(qint64 id, const BriefVerdict& verdict) {
    return Update(id, [&](QSqlDatabase& database) { return UpdateVerdict(database, id, verdict); });
}

QString RunStore::SetInputs(qint64 id, const QList<InputFileFacts>& inputs) {
    return Update(id, [&](QSqlDatabase& database) { return ReplaceInputs(database, id, inputs); });
}

QString RunStore::Write(const std::function<QString(QSqlDatabase&)>& change) {
    if (readOnly_)
        return UnwritableFolder(root_);
    QSqlDatabase database = Db();
    WriteTransaction transaction(database);
    if (!transaction.Begun())
        return transaction.Error().text();
    if (QString failure = change(database); !failure.isEmpty())
        return failure;
    return transaction.Commit() ? QString() : transaction.Error().text();
}

QString RunStore::Update(qint64 id, const std::function<QString(QSqlDatabase&)>& change) {
    QString failure = RecordFailure(Write(change));
    if (failure.isEmpty()) {
        if (const std::optional<RunRecord> record = Get(id); record && record->folderPresent)
            WriteRecordFile(*record);
    }
    return Told(failure);
}

QString RunStore::Told(const QString& failure) const {
    // A folder that cannot be written was told of once, when the store was opened.
    if (!readOnly_)
        StoreNotices::Instance().TellOnce(failure);
    return failure;
}

QList<RunRecord> RunStore::List() const {
    QSqlDatabase database = Db();
    return ReadRecords(database, RunsFolderOf(root_));
}

QList<RunRecord> RunStore::Filter(const QString& text) const {
    QList<RunRecord> records = List();
    records.removeIf([&text](const RunRecord& record) { return !RecordMatches(record, text); });
    return records;
}

std::optional<RunRecord> RunStore::Get(qint64 id) const {
    QSqlDatabase database = Db();
    const QList<RunRecord> records = ReadRecords(database, RunsFolderOf(root_), id);
    return records.isEmpty() ? std::nullopt : std::optional<RunRecord>(records.first());
}

QString RunStore::Remove(qint64 id) {
    const std::optional<RunRecord> record = Get(id);
    if (!record)
        return QString();
    // Its record file goes first, so that a folder left by a stopped removal is not indexed
    // again; a removal stopped before the row went leaves a run that is deleted once more.
    if (record->folderPresent && !FolderName(record->folder).isEmpty())
        QFile::remove(QDir(record->folder).filePath(RecordFileName));
    if (QString failure = Write([id](QSqlDatabase& database) { return DeleteRow(database, id); });
        !failure.isEmpty())
        return QStringLiteral("The run could not be deleted: %1").arg(failure);
    // A folder that is already gone, or is no run folder of this root, is left alone.
    if (!record->folderPresent || FolderName(record->folder).isEmpty() ||
        QDir(record->folder).removeRecursively())
        return QString();
    return QStringLiteral("The run's folder \"%1\" could not be removed entirely.")
        .arg(QDir::toNativeSeparators(record->folder));
}

} // namespace zentrope
