#include "records/schema.h"

#include "records/write_transaction.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace zentrope {
namespace {

// Step k brings version k to version k + 1. Steps are only ever appended: an index in the
// user's data folder may be of any earlier version.
const QList<QStringList>& Migrations() {
    static const QList<QStringList> steps = {
        {QStringLiteral("CREATE TABLE runs ("
                        " id INTEGER PRIMARY KEY,"
                        " kind TEXT NOT NULL CHECK (kind IN ('run', 'imported')),"
                        " folder TEXT NOT NULL,"
                        " tester_path TEXT NOT NULL, tester_size INTEGER NOT NULL,"
                        " tester_sha256 TEXT NOT NULL,"
                        " front_end_version TEXT NOT NULL,"
                        " started_at TEXT NOT NULL, ended_at TEXT,"
                        " exit_code INTEGER, end_signal INTEGER,"
                        " cancelled INTEGER NOT NULL,"
                        " n INTEGER, nt INTEGER)"),
         QStringLiteral("CREATE INDEX runs_by_start ON runs (started_at)"),
         QStringLiteral("CREATE TABLE run_tests ("
                        " run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,"
                        " position INTEGER NOT NULL, test TEXT NOT NULL,"
                        " PRIMARY KEY (run_id, position))"),
         QStringLiteral("CREATE TABLE run_inputs ("
                        " run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,"
                        " position INTEGER NOT NULL, path TEXT NOT NULL,"
                        " size INTEGER NOT NULL, modified TEXT, sha256 TEXT NOT NULL,"
                        " PRIMARY KEY (run_id, position))")},
        {QStringLiteral("ALTER TABLE runs ADD COLUMN source TEXT NOT NULL DEFAULT ''")},
        {QStringLiteral("ALTER TABLE runs ADD COLUMN result_path TEXT NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE runs ADD COLUMN tester_pid INTEGER")},
        {QStringLiteral("ALTER TABLE runs ADD COLUMN backend TEXT NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE runs ADD COLUMN backend_id TEXT NOT NULL DEFAULT ''")},
        // NULL until the kept result has been judged.
        {QStringLiteral("ALTER TABLE runs ADD COLUMN verdict TEXT"),
         QStringLiteral("ALTER TABLE runs ADD COLUMN failing_rows INTEGER"),
         QStringLiteral("ALTER TABLE runs ADD COLUMN verdict_alpha REAL")},
    };
    return steps;
}

QString Failure(const QSqlError& error) {
    return QStringLiteral("The run index could not be prepared: %1").arg(error.text());
}

QString NewerIndex(const QSqlDatabase& db, int version) {
    return QStringLiteral("The run index \"%1\" was written by a newer version of Zentrope GUI "
                          "(schema %2; this version knows up to %3) and is left as it is: runs "
                          "are logged but not recorded. Use that version to see them, or move "
                          "the file elsewhere and start again to build a new index from the "
                          "run folders.")
        .arg(QDir::toNativeSeparators(db.databaseName()))
        .arg(version)
        .arg(CurrentSchemaVersion());
}

} // namespace

int StoredSchemaVersion(QSqlDatabase& db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("PRAGMA user_version")) && query.next()
               ? query.value(0).toInt()
               : -1;
}

namespace {

// Applies the next step, unless another program did so meanwhile. Sets `upToDate` when no
// step is left.
QString ApplyNextStep(QSqlDatabase& db, bool& upToDate) {
    WriteTransaction transaction(db);
    if (!transaction.Begun())
        return Failure(transaction.Error());
    const int version = StoredSchemaVersion(db);
    if (version < 0)
        return Failure(db.lastError());
    if (version > CurrentSchemaVersion())
        return NewerIndex(db, version);
    upToDate = version == CurrentSchemaVersion();
    if (upToDate)
        return QString();
    QSqlQuery query(db);
    for (const QString& statement : Migrations()[version]) {
        if (!query.exec(statement))
            return Failure(query.lastError());
    }
    // The version lives in the file's header and changes with the transaction.
    if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version + 1)))
        return Failure(query.lastError());
    return transaction.Commit() ? QString() : Failure(transaction.Error());
}

} // namespace

int CurrentSchemaVersion() {
    return static_cast<int>(Migrations().size());
}

QString CheckSchemaVersion(QSqlDatabase& db) {
    const int version = StoredSchemaVersion(db);
    if (version < 0)
        return Failure(db.lastError());
    return version > CurrentSchemaVersion() ? NewerIndex(db, version) : QString();
}

QString MigrateSchema(QSqlDatabase& db) {
    if (QString newer = CheckSchemaVersion(db); !newer.isEmpty())
        return newer;
    for (bool upToDate = false; !upToDate;) {
        if (QString failure = ApplyNextStep(db, upToDate); !failure.isEmpty())
            return failure;
    }
    return QString();
}

} // namespace zentrope
