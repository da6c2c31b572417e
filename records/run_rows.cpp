#include "records/run_rows.h"

#include "records/verdict_words.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace zentrope {
namespace {

const QString RunKindText[] = {QStringLiteral("run"), QStringLiteral("imported")};

QVariant TimeValue(const QDateTime& time) {
    return time.isValid() ? QVariant(time.toUTC().toString(Qt::ISODateWithMs)) : QVariant();
}

QDateTime TimeOf(const QVariant& value) {
    return value.isNull() ? QDateTime()
                          : QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

// A text that is empty, never NULL, for the columns that always hold one.
QVariant Text(const QString& text) {
    return QVariant(text.isNull() ? QStringLiteral("") : text);
}

template <typename T> QVariant Optional(const std::optional<T>& value) {
    return value ? QVariant::fromValue(*value) : QVariant();
}

template <typename T> std::optional<T> OptionalOf(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<T>(value.value<T>());
}

QVariant VerdictValue(const std::optional<BriefVerdict>& verdict) {
    return verdict ? QVariant(OutcomeWord(verdict->outcome)) : QVariant();
}

template <typename T>
QVariant VerdictNumber(const std::optional<BriefVerdict>& verdict, T BriefVerdict::*field) {
    return verdict ? QVariant::fromValue((*verdict).*field) : QVariant();
}

std::optional<BriefVerdict> VerdictOf(const QVariant& outcome, const QVariant& failingRows,
                                      const QVariant& alpha) {
    const std::optional<BriefOutcome> known =
        outcome.isNull() ? std::nullopt : OutcomeOfWord(outcome.toString());
    return known ? std::optional(BriefVerdict{*known, failingRows.toInt(), alpha.toDouble()})
                 : std::nullopt;
}

const QString RunColumns = QStringLiteral(
    "id, kind, folder, tester_path, tester_size, tester_sha256, front_end_version, started_at, "
    "n, nt, ended_at, exit_code, end_signal, cancelled, source, result_path, tester_pid, "
    "backend, backend_id, verdict, failing_rows, verdict_alpha");

RunRecord RunOf(const QSqlQuery& row, const QDir& runs) {
    RunRecord record;
    record.id = row.value(0).toLongLong();
    record.kind = row.value(1).toString() == RunKindText[1] ? RunKind::Imported : RunKind::Run;
    record.folder = runs.absoluteFilePath(row.value(2).toString());
    record.folderPresent = QFileInfo(record.folder).isDir();
    record.testerPath = row.value(3).toString();
    record.testerSize = row.value(4).toLongLong();
    record.testerSha256 = row.value(5).toString();
    record.frontEndVersion = row.value(6).toString();
    record.startedAt = TimeOf(row.value(7));
    record.n = OptionalOf<quint32>(row.value(8));
    record.NT = OptionalOf<qint32>(row.value(9));
    record.end = RunEnd{TimeOf(row.value(10)), OptionalOf<int>(row.value(11)),
                        OptionalOf<int>(row.value(12)), row.value(13).toBool()};
    record.source = row.value(14).toString();
    record.resultPath = row.value(15).toString();
    record.testerPid = OptionalOf<qint64>(row.value(16));
    record.runner = BackendIdentity{row.value(17).toString(), row.value(18).toString()};
    record.verdict = VerdictOf(row.value(19), row.value(20), row.value(21));
    return record;
}

// Runs a query over the rows of `table` that belong to the chosen runs, calling `take` with
// each row's record and the row, in the order of their positions.
template <typename Take>
bool ReadChildren(QSqlDatabase& db, const QString& table, const QString& columns,
                  std::optional<qint64> only, QHash<qint64, RunRecord*>& byId, Take take) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT run_id, %1 FROM %2 %3 ORDER BY run_id, position")
            .arg(columns, table, only ? QStringLiteral("WHERE run_id = :id") : QString()));
    if (only)
        query.bindValue(QStringLiteral(":id"), *only);
    if (!query.exec())
        return false;
    while (query.next()) {
        if (RunRecord* record = byId.value(query.value(0).toLongLong()))
            take(*record, query);
    }
    return true;
}

// Runs a prepared statement with the values for its placeholders, in their order.
bool ExecWith(QSqlQuery& query, std::initializer_list<QVariant> values) {
    int position = 0;
    for (const QVariant& value : values)
        query.bindValue(position++, value);
    return query.exec();
}

// One UPDATE of one run's row, its id bound last; an empty text, or why that row was not
// changed.
QString UpdateRun(QSqlDatabase& db, const QString& update, std::initializer_list<QVariant> values) {
    QSqlQuery run(db);
    run.prepare(update);
    if (!ExecWith(run, values))
        return run.lastError().text();
    return run.numRowsAffected() == 1 ? QString() : QStringLiteral("the record has gone");
}

} // namespace

QList<RunRecord> ReadRecords(QSqlDatabase& db, const QString& runsFolder,
                             std::optional<qint64> only) {
    QList<RunRecord> records;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM runs %2 ORDER BY started_at DESC, id DESC")
                      .arg(RunColumns, only ? QStringLiteral("WHERE id = :id") : QString()));
    if (only)
        query.bindValue(QStringLiteral(":id"), *only);
    if (!query.exec())
        return records;
    const QDir runs(runsFolder);
    while (query.next())
        records << RunOf(query, runs);
    QHash<qint64, RunRecord*> byId;
    for (RunRecord& record : records)
        byId.insert(record.id, &record);
    ReadChildren(db, QStringLiteral("run_tests"), QStringLiteral("test"), only, byId,
                 [](RunRecord& record, const QSqlQuery& row) {
                     record.enabledTests << row.value(1).toString();
                 });
    ReadChildren(db, QStringLiteral("run_inputs"), QStringLiteral("path, size, modified, sha256"),
                 only, byId, [](RunRecord& record, const QSqlQuery& row) {
                     record.inputs
                         << InputFileFacts{row.value(1).toString(), row.value(2).toLongLong(),
                                           TimeOf(row.value(3)), row.value(4).toString()};
                 });
    return records;
}

QString InsertRecord(QSqlDatabase& db, const RunRecord& record, const QString& folderName,
                     qint64& id) {
    QSqlQuery run(db);
    run.prepare(QStringLiteral("INSERT INTO runs (kind, folder, tester_path, tester_size, "
                               "tester_sha256, front_end_version, started_at, n, nt, ended_at, "
                               "exit_code, end_signal, cancelled, source, result_path, tester_pid, "
                               "backend, backend_id, verdict, failing_rows, verdict_alpha) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                               "?, ?)"));
    const RunEnd& end = record.end;
    if (!ExecWith(run, {QVariant(RunKindText[static_cast<int>(record.kind)]),
                        Text(folderName),
                        Text(record.testerPath),
                        QVariant(record.testerSize),
                        Text(record.testerSha256),
                        Text(record.frontEndVersion),
                        TimeValue(record.startedAt),
                        Optional(record.n),
                        Optional(record.NT),
                        TimeValue(end.endedAt),
                        Optional(end.exitCode),
                        Optional(end.endSignal),
                        QVariant(end.cancelled),
                        Text(record.source),
                        Text(record.resultPath),
                        Optional(record.testerPid),
                        Text(record.runner.backend),
                        Text(record.runner.id),
                        VerdictValue(record.verdict),
                        VerdictNumber(record.verdict, &BriefVerdict::failingRows),
                        VerdictNumber(record.verdict, &BriefVerdict::alpha)}))
        return run.lastError().text();
    id = run.lastInsertId().toLongLong();
    QSqlQuery test(db);
    test.prepare(QStringLiteral("INSERT INTO run_tests (run_id, position, test) VALUES (?, ?, ?)"));
    for (qsizetype i = 0; i < record.enabledTests.size(); ++i) {
        if (!ExecWith(test, {QVariant(id), QVariant(i), Text(record.enabledTests[i])}))
            return test.lastError().text();
    }
    return ReplaceInputs(db, id, record.inputs);
}

QString UpdateEnd(QSqlDatabase& db, qint64 id, const RunEnd& end) {
    return UpdateRun(db,
                     QStringLiteral("UPDATE runs SET ended_at = ?, exit_code = ?, "
                                    "end_signal = ?, cancelled = ? WHERE id = ?"),
                     {TimeValue(end.endedAt), Optional(end.exitCode), Optional(end.endSignal),
                      QVariant(end.cancelled), QVariant(id)});
}

QString UpdateStart(QSqlDatabase& db, qint64 id, const RunStart& start) {
    return UpdateRun(db,
                     QStringLiteral("UPDATE runs SET tester_pid = ?, result_path = ?, backend = ?, "
                                    "backend_id = ? WHERE id = ?"),
                     {Optional(start.pid), Text(start.resultPath), Text(start.runner.backend),
                      Text(start.runner.id), QVariant(id)});
}

QString UpdateVerdict(QSqlDatabase& db, qint64 id, const BriefVerdict& verdict) {
    return UpdateRun(
        db,
        QStringLiteral("UPDATE runs SET verdict = ?, failing_rows = ?, verdict_alpha = ? "
                       "WHERE id = ?"),
        {VerdictValue(verdict), QVariant(verdict.failingRows), QVariant(verdict.alpha),
         QVariant(id)});
}

QString UpdateTester(QSqlDatabase& db, qint64 id, qint64 size, const QString& sha256) {
    return UpdateRun(
        db, QStringLiteral("UPDATE runs SET tester_size = ?, tester_sha256 = ? WHERE id = ?"),
        {QVariant(size), Text(sha256), QVariant(id)});
}

QString ReplaceInputs(QSqlDatabase& db, qint64 id, const QList<InputFileFacts>& inputs) {
    QSqlQuery input(db);
    input.prepare(QStringLiteral("DELETE FROM run_inputs WHERE run_id = ?"));
    if (!ExecWith(input, {QVariant(id)}))
        return input.lastError().text();
    input.prepare(QStringLiteral("INSERT INTO run_inputs (run_id, position, path, size, "
                                 "modified, sha256) VALUES (?, ?, ?, ?, ?, ?)"));
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const InputFileFacts& file = inputs[i];
        if (!ExecWith(input, {QVariant(id), QVariant(i), Text(file.path), QVariant(file.size),
                              TimeValue(file.modified), Text(file.sha256)}))
            return input.lastError().text();
    }
    return QString();
}

} // namespace zentrope
