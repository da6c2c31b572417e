#include "records/run_store.h"

#include "records/record_filter.h"
#include "records/run_folder.h"
#include "records/run_rows.h"
#include "records/schema.h"
#include "records/write_transaction.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

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

StoreOpening RunStore::open(const QString& root) {
    const QString absoluteRoot = QDir(root).absolutePath();
    if (!QDir().mkpath(absoluteRoot))
        return {nullptr, QStringLiteral("The folder \"%1\" could not be made.")
                             .arg(QDir::toNativeSeparators(absoluteRoot))};
    std::unique_ptr<RunStore> store(new RunStore(absoluteRoot, NewConnectionName()));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), store->connection_);
    db.setDatabaseName(QDir(absoluteRoot).filePath(QStringLiteral("runs.sqlite")));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!db.open())
        return {nullptr,
                QStringLiteral("The run index could not be opened: %1").arg(db.lastError().text())};
    QSqlQuery(db).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    if (QString failure = MigrateSchema(db); !failure.isEmpty())
        return {nullptr, failure};
    return {std::move(store), QString()};
}

QSqlDatabase RunStore::db() const {
    return QSqlDatabase::database(connection_, false);
}

// Only a folder directly in this root's runs folder is ever recorded or removed, so that
// an index edited by hand cannot make the store delete anything else.
QString RunStore::folderName(const QString& folder) const {
    const QFileInfo info(folder);
    const bool inRuns =
        QDir::cleanPath(info.absolutePath()) == QDir::cleanPath(RunsFolderOf(root_));
    return info.isDir() && inRuns ? info.fileName() : QString();
}

RecordWriting RunStore::add(const RunRecord& record, const QString& result) {
    const QString name = folderName(record.folder);
    if (name.isEmpty())
        return {0, RecordFailure(QStringLiteral("its folder \"%1\" is not a run folder of \"%2\".")
                                     .arg(record.folder, root_))};
    QString failure;
    qint64 id = 0;
    if (!result.isEmpty() && QFileInfo(result).isFile())
        failure = CopyWholeFile(result, QDir(record.folder).filePath(ResultCopyName));
    if (failure.isEmpty())
        failure = RecordFailure(write(
            [&](QSqlDatabase& database) { return InsertRecord(database, record, name, id); }));
    if (failure.isEmpty())
        return {id, QString()};
    QDir(record.folder).removeRecursively();
    return {0, failure};
}

QString RunStore::finish(qint64 id, const RunEnd& end, const QString& result) {
    const std::optional<RunRecord> record = get(id);
    if (!record || !record->folderPresent || folderName(record->folder).isEmpty())
        return RecordFailure(QStringLiteral("its record or its folder has gone."));
    const QString copy = QDir(record->folder).filePath(ResultCopyName);
    const bool copied = !result.isEmpty() && QFileInfo(result).isFile();
    if (copied) {
        if (QString failure = CopyWholeFile(result, copy); !failure.isEmpty())
            return failure;
    }
    QString failure =
        RecordFailure(write([&](QSqlDatabase& database) { return UpdateEnd(database, id, end); }));
    if (!failure.isEmpty() && copied)
        QFile::remove(copy);
    return failure;
}

QString RunStore::setStart(qint64 id, const RunStart& start) {
    return RecordFailure(
        write([&](QSqlDatabase& database) { return UpdateStart(database, id, start); }));
}

QString RunStore::setTester(qint64 id, qint64 size, const QString& sha256) {
    return RecordFailure(
        write([&](QSqlDatabase& database) { return UpdateTester(database, id, size, sha256); }));
}

QString RunStore::setInputs(qint64 id, const QList<InputFileFacts>& inputs) {
    return RecordFailure(
        write([&](QSqlDatabase& database) { return ReplaceInputs(database, id, inputs); }));
}

QString RunStore::write(const std::function<QString(QSqlDatabase&)>& change) {
    QSqlDatabase database = db();
    WriteTransaction transaction(database);
    if (!transaction.begun())
        return transaction.error().text();
    if (QString failure = change(database); !failure.isEmpty())
        return failure;
    return transaction.commit() ? QString() : transaction.error().text();
}

QList<RunRecord> RunStore::list() const {
    QSqlDatabase database = db();
    return ReadRecords(database, RunsFolderOf(root_));
}

QList<RunRecord> RunStore::filter(const QString& text) const {
    QList<RunRecord> records = list();
    records.removeIf([&text](const RunRecord& record) { return !RecordMatches(record, text); });
    return records;
}

std::optional<RunRecord> RunStore::get(qint64 id) const {
    QSqlDatabase database = db();
    const QList<RunRecord> records = ReadRecords(database, RunsFolderOf(root_), id);
    return records.isEmpty() ? std::nullopt : std::optional<RunRecord>(records.first());
}

QString RunStore::remove(qint64 id) {
    const std::optional<RunRecord> record = get(id);
    if (!record)
        return QString();
    if (QString failure = write([id](QSqlDatabase& database) { return DeleteRow(database, id); });
        !failure.isEmpty())
        return QStringLiteral("The run could not be deleted: %1").arg(failure);
    // A folder that is already gone, or is no run folder of this root, is left alone.
    if (!record->folderPresent || folderName(record->folder).isEmpty() ||
        QDir(record->folder).removeRecursively())
        return QString();
    return QStringLiteral("The run's folder \"%1\" could not be removed entirely.")
        .arg(QDir::toNativeSeparators(record->folder));
}

} // namespace zentrope
