// Reading and writing the rows of run records; the caller holds any transaction.
#pragma once

#include "records/run_record.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace zentrope {

// The records (all, or the one of `only`), newest start first, with their folders under
// `runsFolder` and whether those folders are still there.
QList<RunRecord> ReadRecords(QSqlDatabase& db, const QString& runsFolder,
                             std::optional<qint64> only = std::nullopt);

// Inserts the record's rows with its folder's name; sets `id`. Returns an empty text, or
// the database's reason.
QString InsertRecord(QSqlDatabase& db, const RunRecord& record, const QString& folderName,
                     qint64& id);

// Sets how the run of `id` ended.
QString UpdateEnd(QSqlDatabase& db, qint64 id, const RunEnd& end);

// Sets how the started tester of the run of `id` is found again and where it writes its result.
QString UpdateStart(QSqlDatabase& db, qint64 id, const RunStart& start);

// Sets the judged verdict of the kept result of the run of `id`.
QString UpdateVerdict(QSqlDatabase& db, qint64 id, const BriefVerdict& verdict);

// Sets the size and hash of the tester of the run of `id`.
QString UpdateTester(QSqlDatabase& db, qint64 id, qint64 size, const QString& sha256);

// Puts `inputs` in place of the input files recorded for the run of `id`.
QString ReplaceInputs(QSqlDatabase& db, qint64 id, const QList<InputFileFacts>& inputs);

} // namespace zentrope
